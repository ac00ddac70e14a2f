// The update pass's side of a feature's procedure run.
#include "core/objects/Interaction.h"
#include "core/objects/SolutionChangeData.h"
#include "model/features/FeatureSolverServices.h"
#include "update/pass/UpdateManager.h"

namespace QEL {

namespace {

class UpdateFeatureUpdating : public FeatureUpdating {
public:
    bool UpdateInteractionSolverWithAltTopols(Interaction* interaction,
                                              MappingData* mapping) override;
    bool ApplySolvedFaceTransforms(Interaction* interaction,
                                   const std::map<int, std::map<int, Xform>>& changes) override;
};

UpdateFeatureUpdating s_updateFeatureUpdating;

[[maybe_unused]] const bool s_updateFeatureUpdatingInstalled =
    InstallFeatureUpdating(&s_updateFeatureUpdating);

bool UpdateFeatureUpdating::UpdateInteractionSolverWithAltTopols(Interaction* interaction,
                                                                 MappingData* mapping)
{
    UpdateManager* manager = interaction ? interaction->GetUpdateManager() : nullptr;
    Solver* solver = manager ? manager->GetSolver() : nullptr;
    return !solver || QEL::UpdateSolverGeometriesWithAltTopols(solver, mapping);
}

// Each solved transform becomes a transform change of its face, applied body by body through
// the update pass's own face-change path; what that path records of the change goes into the
// interaction's cached solution data.
bool UpdateFeatureUpdating::ApplySolvedFaceTransforms(
    Interaction* interaction, const std::map<int, std::map<int, Xform>>& changes)
{
    if (changes.empty())
        return true;
    if (!interaction)
        return false;
    interaction->CreateUpdateManager();
    UpdateManager* manager = interaction->GetUpdateManager();
    std::map<int, SolvedFaceChangeMap> solved;
    for (const auto& body : changes)
        for (const auto& face : body.second) {
            SolvedFaceChange& change = solved[body.first][face.first];
            face.second.Get4x4(change.m_transform);
            change.m_mask = SolvedChangeTransform;
        }
    SolutionChangeData solutionData;
    interaction->GetCopyOfCachedSolutionChangeData(solutionData);
    const bool applied = manager->ApplyFaceChanges(interaction, nullptr, solved, &solutionData);
    interaction->SetCachedSolutionChangeData(solutionData);
    return applied;
}

}  // namespace

}  // namespace QEL
