#include "model/FacePattern.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

FacePattern::FacePattern(Interaction* interaction, ObjectType type) : SerializableObject(interaction)
{
    SetType(type);
}

FacePattern::~FacePattern() = default;

QEL_DEFINE_ENTITY_CASTS(FacePattern)

}  // namespace QEL
