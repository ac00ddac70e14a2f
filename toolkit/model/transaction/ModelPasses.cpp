// The Model's passes after a successful call that turn the add-on's and the tracking
// attribute's records into reference records, report them to the application and apply them.
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceTrackingRecord.h"
#include "model/transaction/Model.h"

#include <algorithm>

namespace QEL {

void Model::ReportUpdateData(size_t firstRecord)
{
    TrackingManager* manager = GetTrackingManager();
    if (!manager || !manager->GetReportUpdateData())
        return;
    for (size_t i = firstRecord; i < m_referenceRecords.size(); ++i)
        m_referenceRecords[i]->CopyToTrackingData(
            *TrackingData::CreateQELUpdateData(manager, TrackingDataTypeNone));
}

bool Model::CollectReferenceRecordsFromTrackingData()
{
    TrackingManager* manager = GetTrackingManager();
    const size_t first = m_referenceRecords.size();
    // Records are made while the list is walked: walk a copy.
    const std::vector<TrackingData*> mapData =
        manager ? manager->GetBrennikMapData() : std::vector<TrackingData*>();
    for (TrackingData* data : mapData) {
        if (data->IsFromPartitionPass())
            continue;
        std::vector<int> tags;
        data->GetAllTags(tags);
        std::vector<Reference*> gathered;
        for (int tag : tags) {
            std::vector<Reference*> onTag;
            GetReferencesOfEntity(tag, onTag);
            for (Reference* reference : onTag)
                if (std::find(gathered.begin(), gathered.end(), reference) == gathered.end())
                    gathered.push_back(reference);
        }
        if (gathered.empty())
            continue;
        ReferenceTrackingRecord* record = new ReferenceTrackingRecord(this, data);
        for (Reference* reference : gathered)
            record->AddReference(reference);
        m_referenceRecords.push_back(record);
    }
    ReportUpdateData(first);
    return true;
}

bool Model::CollectReferenceGroupChanges()
{
    std::set<int> touched;
    for (ReferenceTrackingRecord* record : m_callbackRecords) {
        std::vector<int> tags;
        record->GetAllTags(tags);
        touched.insert(tags.begin(), tags.end());
    }
    const size_t first = m_referenceRecords.size();
    for (const auto& entry : m_referencesByEntity) {
        if (touched.count(entry.first) == 0 || entry.second.empty())
            continue;
        ReferenceTrackingRecord* record = new ReferenceTrackingRecord(this, TrackingDataTypeNone);
        if (!entry.second.front()->TrackGroupChanges(*record)) {
            delete record;
            return false;
        }
        if (record->GetKind() == TrackingDataTypeNone) {
            delete record;
            continue;
        }
        for (Reference* reference : entry.second)
            record->AddReference(reference);
        m_referenceRecords.push_back(record);
    }
    ReportUpdateData(first);
    return true;
}

bool Model::ReportMergedCallbackRecords()
{
    TrackingManager* manager = GetTrackingManager();
    if (!manager || !manager->GetTrackChanges())
        return true;
    std::map<int, ReferenceTrackingRecord*> byTag;
    for (ReferenceTrackingRecord* record : m_callbackRecords)
        if (!ReferenceTrackingRecord::MergeIntoTagMap(record, byTag))
            return false;
    std::set<ReferenceTrackingRecord*> reported;
    for (const auto& entry : byTag) {
        ReferenceTrackingRecord* record = entry.second;
        if (!reported.insert(record).second)
            continue;
        if (ReferenceTrackingRecord::NeedsReport(this, *record))
            record->SetTrackingData(
                *TrackingData::CreateBrennikMapData(manager, TrackingDataTypeNone));
    }
    return true;
}

bool Model::ReportReferenceRecords()
{
    TrackingManager* manager = GetTrackingManager();
    if (!manager || !manager->GetTrackChanges())
        return true;
    for (ReferenceTrackingRecord* record : m_referenceRecords) {
        ReferenceTrackingRecord copy(*record);
        if (ReferenceTrackingRecord::NeedsReport(this, copy))
            record->SetTrackingData(
                *TrackingData::CreateBrennikMapData(manager, TrackingDataTypeNone));
    }
    return true;
}

bool Model::ApplyReferenceRecords()
{
    ReferenceDestroySet toDestroy;
    bool applied = true;
    for (ReferenceTrackingRecord* record : m_referenceRecords) {
        applied = record->Apply(toDestroy);
        if (!applied)
            break;
    }
    for (Reference* reference : toDestroy)
        reference->Destroy();
    return applied;
}

bool Model::TrackPasteChanges()
{
    const bool collected = CollectReferenceRecordsFromTrackingData();
    std::vector<int> created = m_createdVertices;
    std::vector<int> deleted = m_deletedVertices;
    if (TrackingManager* manager = GetTrackingManager())
        for (TrackingData* data : manager->GetBrennikMapData()) {
            if (!data->IsFromPartitionPass())
                continue;
            if (data->GetType() == TrackingDataTypeCreate)
                created.insert(created.end(), data->GetNewTags().begin(), data->GetNewTags().end());
            else if (data->GetType() == TrackingDataTypeDelete)
                deleted.insert(deleted.end(), data->GetOldTags().begin(), data->GetOldTags().end());
        }
    const size_t first = m_referenceRecords.size();
    for (int tag : created) {
        ReferenceTrackingRecord* record = new ReferenceTrackingRecord(this, TrackingDataTypeCreate);
        record->AddAfterTag(tag);
        m_referenceRecords.push_back(record);
    }
    for (int tag : deleted) {
        std::vector<Reference*> onTag;
        if (!GetReferencesOfEntity(tag, onTag))
            continue;
        ReferenceTrackingRecord* record = new ReferenceTrackingRecord(this, TrackingDataTypeDelete);
        record->AddBeforeTag(tag);
        for (Reference* reference : onTag)
            record->AddReference(reference);
        m_referenceRecords.push_back(record);
    }
    ReportUpdateData(first);
    return collected;
}

bool Model::RemovePastedReferenceGroups(int target, int tool)
{
    std::vector<Reference*> onTool;
    Reference::FindInteractionReferencesForBody(m_interaction, tool, onTool);
    std::vector<int> groups;
    for (Reference* reference : onTool) {
        std::vector<int> attributes;
        Reference::FindReferenceAttributesOnBody(reference, target, attributes);
        for (int attribute : attributes)
            groups.push_back(GetAttributeOwner(attribute));
    }
    DeleteEntities(groups);
    return true;
}

}  // namespace QEL
