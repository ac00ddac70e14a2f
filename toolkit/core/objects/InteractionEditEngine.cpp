// The one editing engine of the process, set while the library loads and read afterwards.
#include "core/objects/InteractionEditEngine.h"

namespace QEL {

namespace {

// Constant-initialised, so an installation from any other file's static initialisation
// finds it ready.
InteractionEditEngine* s_interactionEditEngine = nullptr;

}  // namespace

bool InstallInteractionEditEngine(InteractionEditEngine* engine)
{
    s_interactionEditEngine = engine;
    return true;
}

InteractionEditEngine* GetInteractionEditEngine() { return s_interactionEditEngine; }

}  // namespace QEL
