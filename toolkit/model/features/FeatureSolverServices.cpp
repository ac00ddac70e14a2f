// A feature's procedure run reaches the solver and the update pass through what they installed.
#include "model/features/FeatureSolverServices.h"

namespace QEL {

namespace {

FeatureSolving* GetFeatureSolving() { return InstalledSeam<FeatureSolving>::Get(); }
FeatureUpdating* GetFeatureUpdating() { return InstalledSeam<FeatureUpdating>::Get(); }

}  // namespace

bool UpdateSolverGeometriesWithAltTopols(Solver* solver, MappingData* mapping)
{
    return GetFeatureSolving() &&
           GetFeatureSolving()->UpdateSolverGeometriesWithAltTopols(solver, mapping);
}

bool GetSolverFeatureProfileXform(Solver* solver, Feature* feature, Xform& xform)
{
    return GetFeatureSolving() &&
           GetFeatureSolving()->GetSolverFeatureProfileXform(solver, feature, xform);
}

bool GetSolvedReferenceTransform(Solver* solver, Reference* reference, double (*matrix)[4])
{
    return GetFeatureSolving() &&
           GetFeatureSolving()->GetSolvedReferenceTransform(solver, reference, matrix);
}

bool MarkSolverFeatureMoved(Solver* solver, Feature* feature)
{
    return GetFeatureSolving() && GetFeatureSolving()->MarkSolverFeatureMoved(solver, feature);
}

bool UpdateInteractionSolverWithAltTopols(Interaction* interaction, MappingData* mapping)
{
    // Without the update pass there is no update manager, so no solver to point.
    return !GetFeatureUpdating() ||
           GetFeatureUpdating()->UpdateInteractionSolverWithAltTopols(interaction, mapping);
}

bool ApplySolvedFaceTransforms(Interaction* interaction,
                               const std::map<int, std::map<int, Xform>>& changes)
{
    return GetFeatureUpdating() &&
           GetFeatureUpdating()->ApplySolvedFaceTransforms(interaction, changes);
}

}  // namespace QEL
