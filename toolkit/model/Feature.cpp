#include "model/Feature.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Feature::Feature(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeFeature); }

Feature::~Feature() = default;

QEL_DEFINE_ENTITY_CASTS(Feature)

// Features list no references yet, so there is nowhere further for a behaviour to go.
void SpreadBehaviourThroughFeatures(Reference*, const std::vector<Feature*>&, ReferenceBehaviour) {}

}  // namespace QEL
