// The state of a new live interaction, from the maker installed while the library loads.
#include "core/objects/RelationFinderState.h"

namespace QEL {

std::unique_ptr<RelationFinderState> MakeRelationFinderState(Interaction* interaction)
{
    RelationFinderStateMaker maker = InstalledSeam<RelationFinderStateMaking>::Get();
    return maker ? maker(interaction) : nullptr;
}

}  // namespace QEL
