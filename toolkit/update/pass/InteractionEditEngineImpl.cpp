// The update layer's side of the interaction's editing engine: the update manager and the
// pass, the solver operations below it, and the process-wide lists of the update and of
// adaptive lift. Installed while the library loads.
#include "core/objects/Interaction.h"
#include "core/objects/InteractionEditEngine.h"
#include "solver/operations/AdaptiveLiftLists.h"
#include "solver/operations/SolverOperation.h"
#include "update/pass/InteractionUpdate.h"
#include "update/pass/ReblendedFaces.h"
#include "update/pass/UpdateManager.h"

namespace QEL {

namespace {

class UpdateEditEngine : public InteractionEditEngine {
public:
    UpdateManager* CreateUpdateManager(Interaction* interaction) override
    {
        return new UpdateManager(interaction);
    }

    void DeleteUpdateManager(UpdateManager* manager) override { delete manager; }

    void DeleteSolverOperation(SolverOperation* operation) override { delete operation; }

    UpdateStatus Update(Interaction* interaction, SolverOperation* operation) override
    {
        return InteractionUpdate(interaction).Update(operation);
    }

    void ClearProcessWideLists() override
    {
        FreeReblendedFaces();
        s_clearAdaptiveLiftTippingPoints();
        s_clearAdaptiveLiftNeighbours();
    }
};

UpdateEditEngine s_updateEditEngine;

[[maybe_unused]] const bool s_updateEditEngineInstalled =
    InstallInteractionEditEngine(&s_updateEditEngine);

}  // namespace

}  // namespace QEL
