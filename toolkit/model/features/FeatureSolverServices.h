#pragma once
// What a feature's procedure run asks of the solver and the update pass that sit above it, as
// interfaces those layers install while the library loads. Each call answers false when the
// solver cannot give what is asked (or the layer is not installed), and the run then fails
// cleanly.

#include "core/support/InstalledSeam.h"

#include <map>

class Xform;

namespace QEL {

class Feature;
class Instance;
class Interaction;
class MappingData;
class Reference;
class Solver;

class FeatureSolving {
public:
    virtual ~FeatureSolving() = default;
    virtual bool UpdateSolverGeometriesWithAltTopols(Solver* solver, MappingData* mapping) = 0;
    virtual bool GetSolverFeatureProfileXform(Solver* solver, Feature* feature, Xform& xform) = 0;
    virtual bool GetSolvedReferenceTransform(Solver* solver, Reference* reference,
                                             double (*matrix)[4]) = 0;
    virtual bool MarkSolverFeatureMoved(Solver* solver, Feature* feature) = 0;
};

class FeatureUpdating {
public:
    virtual ~FeatureUpdating() = default;
    virtual bool UpdateInteractionSolverWithAltTopols(Interaction* interaction,
                                                      MappingData* mapping) = 0;
    virtual bool ApplySolvedFaceTransforms(Interaction* interaction,
                                           const std::map<int, std::map<int, Xform>>& changes) = 0;
};

// Each is installed once by its layer; always true, so that the installation can initialise a
// static flag. The installed object lives as long as the process.
inline bool InstallFeatureSolving(FeatureSolving* solving)
{
    return InstalledSeam<FeatureSolving>::Install(solving);
}
inline bool InstallFeatureUpdating(FeatureUpdating* updating)
{
    return InstalledSeam<FeatureUpdating>::Install(updating);
}

// Points the solver's geometries at the entities the mapping gives for theirs.
bool UpdateSolverGeometriesWithAltTopols(Solver* solver, MappingData* mapping);
// The same for the solver of the interaction's update manager, when it has one; true when
// there is none.
bool UpdateInteractionSolverWithAltTopols(Interaction* interaction, MappingData* mapping);
// The feature's profile-to-local transform after the solve.
bool GetSolverFeatureProfileXform(Solver* solver, Feature* feature, Xform& xform);
// The transform the last solve gave the reference's geometry (found by the reference, else by
// its entity alone); false when there is no such geometry or it did not move.
bool GetSolvedReferenceTransform(Solver* solver, Reference* reference, double (*matrix)[4]);
// Tells the solver's own record of the feature that the feature moved.
bool MarkSolverFeatureMoved(Solver* solver, Feature* feature);
// Moves faces by solved transforms: body tag to (face tag to 4x4 transform).
bool ApplySolvedFaceTransforms(Interaction* interaction,
                               const std::map<int, std::map<int, Xform>>& changes);

}  // namespace QEL
