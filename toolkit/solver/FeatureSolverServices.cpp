// The solver's side of a feature's procedure run. The solver keeps no record of features and
// no alternative entities yet: those requests answer false, and the run reports failure
// instead of going on without them.
#include "model/FeatureSolverServices.h"

#include "core/UpperLayerSeams.h"
#include "solver/Solver.h"
#include "solver/SolverNodes.h"

namespace QEL {

bool UpdateSolverGeometriesWithAltTopols(Solver*, MappingData*) { return false; }

bool GetSolverFeatureProfileXform(Solver*, Feature*, Xform&) { return false; }

bool GetSolvedReferenceTransform(Solver* solver, Reference* reference, double (*matrix)[4])
{
    if (!solver || !reference)
        return false;
    Geometry* geometry = solver->FindGeometry(reference);
    if (!geometry)
        geometry = solver->FindGeometry(GeometryKey(GetReferenceEntityTag(reference), nullptr));
    bool moved = false;
    return geometry && geometry->GetZMRChange(moved, matrix, nullptr, nullptr) && moved;
}

bool MarkSolverFeatureMoved(Solver*, Feature*) { return false; }

}  // namespace QEL
