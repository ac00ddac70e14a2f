// The one maker of relation-finding state, set while the library loads and read afterwards.
#include "core/objects/RelationFinderState.h"

namespace QEL {

namespace {

// Constant-initialised, so an installation from any other file's static initialisation
// finds it ready.
RelationFinderStateMaker s_relationFinderStateMaker = nullptr;

}  // namespace

bool InstallRelationFinderStateMaker(RelationFinderStateMaker maker)
{
    s_relationFinderStateMaker = maker;
    return true;
}

std::unique_ptr<RelationFinderState> MakeRelationFinderState(Interaction* interaction)
{
    if (!s_relationFinderStateMaker)
        return nullptr;
    return s_relationFinderStateMaker(interaction);
}

}  // namespace QEL
