#include "core/TrackingData.h"

#include "core/Interaction.h"
#include "core/TrackingManager.h"

#include <brennik.h>

namespace QEL {

TrackingData::TrackingData(TrackingManager* manager, TrackingDataType type)
    : m_manager(manager), m_type(type)
{
    if (manager && manager->GetInteraction())
        m_tag = manager->GetInteraction()->CreateTag(this);
}

TrackingData::~TrackingData()
{
    if (m_tag != 0)
        BQ_APPITEM_delete(1, &m_tag);
}

TrackingData* TrackingData::CreateBrennikLabelData(TrackingManager* manager, TrackingDataType type)
{
    TrackingData* data = new TrackingData(manager, type);
    manager->AddBrennikLabelData(data);
    return data;
}

TrackingData* TrackingData::CreateBrennikMapData(TrackingManager* manager, TrackingDataType type)
{
    TrackingData* data = new TrackingData(manager, type);
    manager->AddBrennikMapData(data);
    return data;
}

TrackingData* TrackingData::CreateQELData(TrackingManager* manager, TrackingDataType type)
{
    TrackingData* data = new TrackingData(manager, type);
    manager->AddQELData(data);
    return data;
}

TrackingData* TrackingData::CreateQELUpdateData(TrackingManager* manager, TrackingDataType type)
{
    TrackingData* data = new TrackingData(manager, type);
    manager->AddQELUpdateData(data);
    return data;
}

void TrackingData::AddOldTag(int tag)
{
    m_oldTags.push_back(tag);
    if (m_manager)
        m_manager->RegisterOldTag(tag, this);
}

}  // namespace QEL
