#include "core/TrackingManager.h"

#include "core/TagManager.h"
#include "core/TrackingData.h"

namespace QEL {

TrackingManager* TrackingManager::Create(Interaction* interaction)
{
    return new TrackingManager(interaction);
}

TrackingManager::TrackingManager(Interaction* interaction) : m_interaction(interaction) {}

TrackingManager::~TrackingManager() = default;

void TrackingManager::Destroy()
{
    ClearData();
    delete this;
}

void TrackingManager::ClearData()
{
    for (TrackingData* data : m_allData)
        delete data;
    m_allData.clear();
    m_labelData.clear();
    m_mapData.clear();
    m_qelData.clear();
    m_qelUpdateData.clear();
    m_dataByOldTag.clear();
}

TrackingData* TrackingManager::GetTrackingDataFromTag(int tag) const
{
    return static_cast<TrackingData*>(GetObjectFromApplicationItem(tag));
}

TrackingData* TrackingManager::FindTrackingDataFromTag(int tag) const
{
    void* pointer = GetObjectFromApplicationItem(tag);
    return IsTrackingData(pointer) ? static_cast<TrackingData*>(pointer) : nullptr;
}

bool TrackingManager::IsTrackingData(const void* pointer) const
{
    // Compared as addresses: the pointer may be no record at all.
    for (const TrackingData* data : m_allData)
        if (data == pointer)
            return pointer != nullptr;
    return false;
}

void TrackingManager::Add(std::vector<TrackingData*>& list, TrackingData* data)
{
    list.push_back(data);
    m_allData.insert(data);
}

void TrackingManager::AddBrennikLabelData(TrackingData* data) { Add(m_labelData, data); }
void TrackingManager::AddBrennikMapData(TrackingData* data) { Add(m_mapData, data); }
void TrackingManager::AddQELData(TrackingData* data) { Add(m_qelData, data); }
void TrackingManager::AddQELUpdateData(TrackingData* data) { Add(m_qelUpdateData, data); }

}  // namespace QEL
