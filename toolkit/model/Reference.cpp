#include "model/Reference.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

Reference::Reference(Interaction* interaction, int entity, Instance* instance)
    : SerializableObject(interaction), m_entity(entity), m_instance(instance)
{
    SetType(ObjectTypeReference);
}

Reference::~Reference() = default;

QEL_DEFINE_ENTITY_CASTS(Reference)

int GetReferenceEntityTag(Reference* reference) { return reference ? reference->GetEntityTag() : 0; }

Instance* GetReferenceInstance(Reference* reference)
{
    return reference ? reference->GetInstance() : nullptr;
}

// References keep no kernel groups yet, so a body has none of them to hand back.
void FindInteractionReferencesGroupsForBody(Interaction*, int, std::vector<int>&) {}

}  // namespace QEL
