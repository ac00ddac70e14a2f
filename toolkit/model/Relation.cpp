#include "model/Relation.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Relation::Relation(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeRelation); }

Relation::~Relation() = default;

QEL_DEFINE_ENTITY_CASTS(Relation)

// Relations hold no references yet: there is nothing to replace.
void Relation::ReplaceReference(Reference*, Reference*) {}

}  // namespace QEL
