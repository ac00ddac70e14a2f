// A feature's procedure run reaches the solver and the update pass through what they installed.
#include "model/features/FeatureSolverServices.h"

namespace QEL {

namespace {

// Constant-initialised, so an installation from any other file's static initialisation
// finds them ready.
FeatureSolving* s_featureSolving = nullptr;
FeatureUpdating* s_featureUpdating = nullptr;

}  // namespace

bool InstallFeatureSolving(FeatureSolving* solving)
{
    s_featureSolving = solving;
    return true;
}

bool InstallFeatureUpdating(FeatureUpdating* updating)
{
    s_featureUpdating = updating;
    return true;
}

bool UpdateSolverGeometriesWithAltTopols(Solver* solver, MappingData* mapping)
{
    return s_featureSolving && s_featureSolving->UpdateSolverGeometriesWithAltTopols(solver, mapping);
}

bool GetSolverFeatureProfileXform(Solver* solver, Feature* feature, Xform& xform)
{
    return s_featureSolving && s_featureSolving->GetSolverFeatureProfileXform(solver, feature, xform);
}

bool GetSolvedReferenceTransform(Solver* solver, Reference* reference, double (*matrix)[4])
{
    return s_featureSolving && s_featureSolving->GetSolvedReferenceTransform(solver, reference, matrix);
}

bool MarkSolverFeatureMoved(Solver* solver, Feature* feature)
{
    return s_featureSolving && s_featureSolving->MarkSolverFeatureMoved(solver, feature);
}

bool UpdateInteractionSolverWithAltTopols(Interaction* interaction, MappingData* mapping)
{
    // Without the update pass there is no update manager, so no solver to point.
    return !s_featureUpdating ||
           s_featureUpdating->UpdateInteractionSolverWithAltTopols(interaction, mapping);
}

bool ApplySolvedFaceTransforms(Interaction* interaction,
                               const std::map<int, std::map<int, Xform>>& changes)
{
    return s_featureUpdating && s_featureUpdating->ApplySolvedFaceTransforms(interaction, changes);
}

}  // namespace QEL
