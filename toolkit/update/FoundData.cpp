#include "update/FoundData.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

FoundData::FoundData(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeFoundData); }

FoundData::~FoundData() = default;

QEL_DEFINE_ENTITY_CASTS(FoundData)

}  // namespace QEL
