#pragma once
// What an interaction asks of the editing engine above the core: making and freeing its update
// manager, freeing its current solver operation, running an update pass, and emptying the
// process-wide lists that go with its work. The update layer installs the engine while the
// library loads; the interaction reaches it only through here.

#include "core/enums/Enums.h"
#include "core/support/InstalledSeam.h"

namespace QEL {

class Interaction;
class SolverOperation;
class UpdateManager;

class InteractionEditEngine {
public:
    virtual ~InteractionEditEngine() = default;

    // A new update manager for the interaction.
    virtual UpdateManager* CreateUpdateManager(Interaction* interaction) = 0;
    // Nothing for null.
    virtual void DeleteUpdateManager(UpdateManager* manager) = 0;
    virtual void DeleteSolverOperation(SolverOperation* operation) = 0;
    // One whole update pass with the operation (a new evaluation when null).
    virtual UpdateStatus Update(Interaction* interaction, SolverOperation* operation) = 0;
    // Empties the process-wide lists of the last interaction's edits.
    virtual void ClearProcessWideLists() = 0;
};

// Installed by the update layer while the library loads; always true, so that the
// installation can initialise a static flag. The engine lives as long as the process.
inline bool InstallInteractionEditEngine(InteractionEditEngine* engine)
{
    return InstalledSeam<InteractionEditEngine>::Install(engine);
}

// The installed engine; null while none is (the core alone).
inline InteractionEditEngine* GetInteractionEditEngine()
{
    return InstalledSeam<InteractionEditEngine>::Get();
}

}  // namespace QEL
