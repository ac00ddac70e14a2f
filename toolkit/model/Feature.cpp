#include "model/Feature.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Feature::Feature(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeFeature); }

Feature::~Feature() = default;

QEL_DEFINE_ENTITY_CASTS(Feature)

}  // namespace QEL
