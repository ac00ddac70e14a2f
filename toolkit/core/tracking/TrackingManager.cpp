#include "core/tracking/TrackingManager.h"

#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/objects/TaggedEntity.h"
#include "core/rollback/RollbackAction.h"
#include "core/tracking/TrackingData.h"

#include <map>

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

void TrackingManager::BeginCall(bool clearData, bool track)
{
    // A call made from inside another call of this interaction (an application callback
    // during a drag step or a feature edit) is part of the outer call: its changes are
    // collected under the outer call's mark, and it must not drop what the outer call reports.
    if (m_callDepth > 0) {
        if (track)
            ++m_callDepth;
        return;
    }
    if (clearData)
        ClearData();
    m_trackingThisCall = track;
    m_callMark = 0;
    if (!track)
        return;
    m_callDepth = 1;
    m_callMark = m_interaction ? m_interaction->CreateMark() : 0;
}

void TrackingManager::EndCall()
{
    if (m_callDepth == 0 || --m_callDepth > 0)
        return;
    if (!m_trackingThisCall)
        return;
    CollectChanges();
    // The mark only served this call; deleting it folds its changes into the open state so
    // rollback still sees them.
    if (m_interaction && m_callMark != 0)
        m_interaction->DeleteMark(m_callMark);
    m_callMark = 0;
}

namespace {

// Option objects, mapping data and procedure records are scratch the application never asks
// about; taper, replace and make-feature options are reported like model objects.
bool IsReportedType(ObjectType type)
{
    switch (type) {
        case ObjectTypeUnknown:
        case ObjectTypeInteraction:
        case ObjectTypeMappingData:
        case ObjectTypeFeatureProcedureData:
            return false;
        default:
            break;
    }
    if (type >= ObjectTypeReorderBlendsOptions && type <= ObjectTypeOffsetFacesOptions)
        return false;
    if (type >= ObjectTypeReplaceFacesWithSheetOptions && type <= ObjectTypeBodyIsPasteToolOptions)
        return false;
    return true;
}

}  // namespace

void TrackingManager::CollectChanges()
{
    // Without a mark (rollback disabled) the interaction knows of no changes to report.
    if (!m_interaction || m_callMark == 0)
        return;
    std::map<RollableEntity*, RollbackAction*> changes;
    m_interaction->GetChangesAfterMark(m_callMark, changes);
    for (const auto& change : changes) {
        TaggedEntity* object = dynamic_cast<TaggedEntity*>(change.first);
        if (!object || !IsReportedType(object->GetType()))
            continue;
        const int tag = object->GetTag();
        switch (change.second->GetActionType()) {
            case ActionTypeCreated:
                TrackingData::CreateQELData(this, TrackingDataTypeCreate)->MarkCreated(tag);
                break;
            case ActionTypeModified: {
                TrackingData* data = TrackingData::CreateQELData(this, TrackingDataTypeModify);
                data->AddOldTag(tag);
                data->MarkModified(tag);
                break;
            }
            case ActionTypeDeleted:
                TrackingData::CreateQELData(this, TrackingDataTypeDelete)->MarkDeleted(tag);
                break;
        }
    }
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
