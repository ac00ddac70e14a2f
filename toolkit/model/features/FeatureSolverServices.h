#pragma once
// What a feature's procedure run asks of the solver and the update pass that sit above it.
// Each is defined in the solver layer; each answers false when the solver cannot give what is
// asked, and the run then fails cleanly.

#include <map>

class Xform;

namespace QEL {

class Feature;
class Instance;
class Interaction;
class MappingData;
class Reference;
class Solver;

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
