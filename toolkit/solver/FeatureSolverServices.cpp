// The solver's side of a feature's procedure run.
#include "model/features/FeatureSolverServices.h"

#include "core/objects/ReferenceQueries.h"
#include "solver/Solver.h"
#include "solver/SolverFeature.h"
#include "solver/SolverNodes.h"

namespace QEL {

namespace {

class SolverFeatureSolving : public FeatureSolving {
public:
    bool UpdateSolverGeometriesWithAltTopols(Solver* solver, MappingData* mapping) override
    {
        if (!solver)
            return false;
        solver->UpdateGeometriesWithAltTopols(mapping, false);
        return true;
    }

    bool GetSolverFeatureProfileXform(Solver* solver, Feature* feature, Xform& xform) override
    {
        SolverFeature* solverFeature = solver ? solver->FindSolverFeature(feature) : nullptr;
        if (!solverFeature)
            return false;
        xform = solverFeature->GetCurrentProfileToLocalFeatureXform(false);
        return true;
    }

    bool GetSolvedReferenceTransform(Solver* solver, Reference* reference,
                                     double (*matrix)[4]) override
    {
        if (!solver || !reference)
            return false;
        Geometry* geometry = solver->FindGeometry(reference);
        if (!geometry)
            geometry = solver->FindGeometry(GeometryKey(GetReferenceEntityTag(reference), nullptr));
        bool moved = false;
        if (!geometry || !geometry->GetZMRChange(moved, matrix, nullptr, nullptr) || !moved)
            return false;
        // The solve moves the geometry where its placement puts it, while the face moves in its
        // body's own frame: the change is taken into that frame.
        const Xform& placement = *geometry->GetXform();
        if (!placement.IsIdentity())
            MultiplyXforms(placement.GetInverse(), MultiplyXforms(Xform(matrix), placement))
                .Get4x4(matrix);
        return true;
    }

    bool MarkSolverFeatureMoved(Solver* solver, Feature* feature) override
    {
        SolverFeature* solverFeature = solver ? solver->FindSolverFeature(feature) : nullptr;
        if (!solverFeature)
            return false;
        solverFeature->SetMoved(true);
        return true;
    }
};

SolverFeatureSolving s_solverFeatureSolving;

[[maybe_unused]] const bool s_solverFeatureSolvingInstalled =
    InstallFeatureSolving(&s_solverFeatureSolving);

}  // namespace

}  // namespace QEL
