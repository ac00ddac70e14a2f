#include "model/MappingData.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

MappingData::MappingData(Interaction* interaction) : Object(interaction) { SetType(ObjectTypeMappingData); }

MappingData::~MappingData() = default;

QEL_DEFINE_ENTITY_CASTS(MappingData)

}  // namespace QEL
