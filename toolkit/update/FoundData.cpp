#include "update/FoundData.h"

#include "core/UpperLayerSeams.h"
#include "model/EngineSeams.h"

namespace QEL {

FoundData::FoundData(Interaction* interaction) : SerializableObject(interaction) { SetType(ObjectTypeFoundData); }

FoundData::~FoundData() = default;

QEL_DEFINE_ENTITY_CASTS(FoundData)

void FoundData::CopyTo(RollableEntity* destination)
{
    SerializableObject::CopyTo(destination);
    if (FoundData* target = dynamic_cast<FoundData*>(destination))
        target->m_object = m_object;
}

void FoundData::CopyFrom(RollableEntity* source)
{
    SerializableObject::CopyFrom(source);
    if (FoundData* from = dynamic_cast<FoundData*>(source))
        m_object = from->m_object;
}

void FoundData::ClearQELObject()
{
    if (!m_object)
        return;
    RecordModified();
    m_object = nullptr;
}

void ClearFoundDataObject(FoundData* foundData)
{
    if (foundData)
        foundData->ClearQELObject();
}

}  // namespace QEL
