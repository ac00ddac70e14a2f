#include "update/Rule.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Rule::Rule(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeRule); }

Rule::~Rule() = default;

QEL_DEFINE_ENTITY_CASTS(Rule)

}  // namespace QEL
