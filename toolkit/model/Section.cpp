#include "model/Section.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Section::Section(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeSection); }

Section::~Section() = default;

QEL_DEFINE_ENTITY_CASTS(Section)

}  // namespace QEL
