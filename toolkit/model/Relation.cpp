#include "model/Relation.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Relation::Relation(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeRelation); }

Relation::~Relation() = default;

QEL_DEFINE_ENTITY_CASTS(Relation)

}  // namespace QEL
