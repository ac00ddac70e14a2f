#include "model/VirtualVertex.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

VirtualVertex::VirtualVertex(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeVirtualVertex); }

VirtualVertex::~VirtualVertex() = default;

QEL_DEFINE_ENTITY_CASTS(VirtualVertex)

}  // namespace QEL
