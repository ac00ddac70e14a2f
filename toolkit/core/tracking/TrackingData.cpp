#include "core/tracking/TrackingData.h"

#include "core/objects/Interaction.h"
#include "core/tracking/TrackingManager.h"

#include <brennik.h>
#include <hxr.h>

#include <algorithm>
#include <iterator>

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

void TrackingData::MarkCreated(int tag)
{
    m_type = TrackingDataTypeCreate;
    m_newTags.push_back(tag);
}

void TrackingData::MarkModified(int tag)
{
    m_type = TrackingDataTypeModify;
    m_newTags.push_back(tag);
}

void TrackingData::MarkDeleted(int tag)
{
    m_type = TrackingDataTypeDelete;
    AddOldTag(tag);
}

void TrackingData::AddHXRTrackRecord(const HXR_ENTITY_track_record_r_s& record)
{
    switch (record.track) {
        case HXR_TRACK_delete:
            m_type = TrackingDataTypeDelete;
            break;
        case HXR_TRACK_merge:
            m_type = TrackingDataTypeMerge;
            break;
        case HXR_TRACK_create:
            m_type = TrackingDataTypeCreate;
            break;
        case HXR_TRACK_split:
            m_type = TrackingDataTypeSplit;
            break;
        case HXR_TRACK_derive:
            m_type = TrackingDataTypeDerive;
            break;
        case HXR_TRACK_modify:
            m_type = TrackingDataTypeModify;
            break;
        default:
            break;
    }
    for (int i = 0; record.originals && i < record.n_originals; ++i)
        AddOldTag(record.originals[i]);
    for (int i = 0; record.products && i < record.n_products; ++i)
        AddNewTag(record.products[i]);
}

void TrackingData::AddBQTrackRecord(const BQ_TOPOL_track_record_r_t& record)
{
    // The kernel has no modify code of its own.
    switch (record.track) {
        case BQ_TOPOL_track_delete:
            m_type = TrackingDataTypeDelete;
            break;
        case BQ_TOPOL_track_merge:
            m_type = TrackingDataTypeMerge;
            break;
        case BQ_TOPOL_track_create:
            m_type = TrackingDataTypeCreate;
            break;
        case BQ_TOPOL_track_split:
            m_type = TrackingDataTypeSplit;
            break;
        case BQ_TOPOL_track_derive:
            m_type = TrackingDataTypeDerive;
            break;
        default:
            break;
    }
    for (int i = 0; record.original_topols && i < record.n_original_topols; ++i)
        AddOldTag(record.original_topols[i]);
    for (int i = 0; record.product_topols && i < record.n_product_topols; ++i)
        AddNewTag(record.product_topols[i]);
}

void TrackingData::GetAllTags(std::vector<int>& out)
{
    std::sort(m_oldTags.begin(), m_oldTags.end());
    std::sort(m_newTags.begin(), m_newTags.end());
    std::vector<int> all;
    std::set_union(m_oldTags.begin(), m_oldTags.end(), m_newTags.begin(), m_newTags.end(),
                   std::back_inserter(all));
    // Either list may repeat a tag; the union keeps such repeats.
    all.erase(std::unique(all.begin(), all.end()), all.end());
    out.swap(all);
}

}  // namespace QEL
