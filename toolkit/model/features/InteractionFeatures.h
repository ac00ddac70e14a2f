#pragma once
// The interaction's side of feature procedures, kept with the features rather than in the
// interaction: which entities the interaction's features use, following a mapping from old to
// new kernel entities, and putting a tool body built for an add-on feature back into the model.

#include "core/enums/Enums.h"

class Xform;

namespace QEL {

class Interaction;
class MappingData;

// Whether a feature of the interaction refers to the entity through its references, its
// profile references or its dependents.
bool IsUsedByFeatureReference(const Interaction& interaction, int entity);
bool IsUsedByFeatureProfileReference(const Interaction& interaction, int entity);
bool IsUsedByFeatureParentReference(const Interaction& interaction, int entity);
// Whether the interaction's mapping of the tag makes no entity appear or vanish (true for
// none).
bool IsFeatureProcedureMappingOneToOne(Interaction& interaction, int mappingDataTag);
// The interaction's instances and references follow the mapping from old to new kernel
// entities; its features take up the further entities one old entity became.
void ApplyMappingData(Interaction& interaction, MappingData* mapping);
// Puts a tool body built for an add-on feature into the feature's faces: ResultTypeOk (also
// for no tool body), Fail, ReplaceWithSheetFailed or ReplaceWithSurfaceFailed.
ResultType Reintegrate(Interaction& interaction, int addOnFeature, int toolBody, Xform& transform,
                       int mappingData);

}  // namespace QEL
