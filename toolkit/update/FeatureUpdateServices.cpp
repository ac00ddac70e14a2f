// The update pass's side of a feature's procedure run.
#include "core/Interaction.h"
#include "model/FeatureSolverServices.h"
#include "update/UpdateManager.h"

namespace QEL {

bool UpdateInteractionSolverWithAltTopols(Interaction* interaction, MappingData* mapping)
{
    UpdateManager* manager = interaction ? interaction->GetUpdateManager() : nullptr;
    Solver* solver = manager ? manager->GetSolver() : nullptr;
    return !solver || UpdateSolverGeometriesWithAltTopols(solver, mapping);
}

// The update pass applies no solved face changes yet: only an empty change succeeds.
bool ApplySolvedFaceTransforms(Interaction*, const std::map<int, std::map<int, Xform>>& changes)
{
    return changes.empty();
}

}  // namespace QEL
