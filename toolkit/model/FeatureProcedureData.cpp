#include "model/FeatureProcedureData.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

FeatureProcedureData::FeatureProcedureData(Interaction* interaction) : Object(interaction) { SetType(ObjectTypeFeatureProcedureData); }

FeatureProcedureData::~FeatureProcedureData() = default;

QEL_DEFINE_ENTITY_CASTS(FeatureProcedureData)

}  // namespace QEL
