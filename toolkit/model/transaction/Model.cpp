// The Model transaction: partition marks, reference collection and tagging, the debug report,
// error handling and the post-operation pass. The reference passes are in ModelPasses.cpp and
// the static wrappers in ModelWrappers.cpp.
#include "model/transaction/Model.h"

#include "core/journal/DebugJournalSwitches.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/Interaction.h"
#include "core/support/Environment.h"
#include "core/support/TextUtils.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceTrackingRecord.h"

namespace QEL {

namespace {

Model* s_currentModel = nullptr;
bool s_reportRunning = false;

const char* const s_trackingAttDefName = "ORV/QEL_REFERENCE_TRACKING";

void SetTrackingCallbacks(int definition, bool on)
{
    const BQ_ATTDEF_callback_flags_t flags{on, on, on, on, false, false};
    BQ_ATTDEF_set_callback_flags(definition, &flags);
}

void AppendCallbackRecord(int kind, std::initializer_list<int> before,
                          std::initializer_list<int> after)
{
    if (!s_currentModel)
        return;
    ReferenceTrackingRecord* record = new ReferenceTrackingRecord(s_currentModel, kind);
    for (int tag : before)
        record->AddBeforeTag(tag);
    for (int tag : after)
        record->AddAfterTag(tag);
    s_currentModel->AddCallbackRecord(record);
}

}  // namespace

Model::Model(Interaction* interaction, bool rollBackOnError)
    : m_interaction(interaction), m_rollBackOnError(rollBackOnError)
{
    s_currentModel = this;
}

Model::~Model()
{
    for (ReferenceTrackingRecord* record : m_callbackRecords)
        delete record;
    for (ReferenceTrackingRecord* record : m_referenceRecords)
        delete record;
    s_currentModel = nullptr;
    if (m_trackingAttDef != 0)
        SetTrackingCallbacks(m_trackingAttDef, false);
}

Model* Model::GetCurrent() { return s_currentModel; }

TrackingManager* Model::GetTrackingManager() const
{
    return m_interaction ? m_interaction->GetTrackingManager() : nullptr;
}

bool Model::MakePartitionMark(int n, const int* entities)
{
    std::set<int> partitions;
    for (int i = 0; i < n; ++i) {
        const int partition = GetEntityPartition(entities[i]);
        if (partition == 0)
            return false;
        partitions.insert(partition);
    }
    for (int partition : partitions) {
        m_markedPartitions.push_back(partition);
        int mark = 0;
        if (BQ_PARTITION_make_pmark(partition, &mark) != BQ_ERROR_no_errors) {
            DeletePartitionMarks();
            m_markedPartitions.clear();
            return false;
        }
        if (mark != 0)
            m_partitionMarks.push_back(mark);
    }
    return true;
}

bool Model::RollBackToMark()
{
    bool rolled = true;
    for (int mark : m_partitionMarks) {
        const BQ_PMARK_goto_o_t options{3, false, false, false, false};
        KernelArray<int> created;
        KernelArray<int> modified;
        KernelArray<int> deleted;
        if (BQ_PMARK_goto_2(mark, &options, created.Count(), created.Slot(), modified.Count(),
                            modified.Slot(), deleted.Count(), deleted.Slot()) != BQ_ERROR_no_errors)
            rolled = false;
    }
    return rolled;
}

bool Model::DeletePartitionMarks()
{
    if (m_partitionMarks.empty())
        return true;
    KernelArray<int> failed;
    const int error = BQ_PMARK_delete(static_cast<int>(m_partitionMarks.size()),
                                      m_partitionMarks.data(), failed.Count(), failed.Slot());
    m_partitionMarks.clear();
    return error == BQ_ERROR_no_errors && failed.Size() == 0;
}

bool Model::CollectReferences()
{
    std::set<Reference*, TaggedEntityPtrLessThan> references;
    if (m_interaction)
        m_interaction->GetAllReferences(references);
    for (Reference* reference : references)
        m_referencesByEntity[reference->GetEntityTag()].push_back(reference);
    return true;
}

bool Model::TagReferencedEntities()
{
    const bool collected = CollectReferences();
    const int definition = DefineTrackingAttribute();
    for (const auto& entry : m_referencesByEntity) {
        bool isTopology = false;
        if (!IsEntity(entry.first) ||
            BQ_ENTITY_is_topol(entry.first, &isTopology) != BQ_ERROR_no_errors || !isTopology)
            continue;
        int attribute = 0;
        BQ_ATTRIB_create_empty(entry.first, definition, &attribute);
        m_taggedBodies.insert(GetOwningBody(attribute));
    }
    return collected;
}

bool Model::RemoveTrackingAttributes()
{
    for (int body : m_taggedBodies) {
        std::vector<int> attributes;
        GetPartAttributes(body, m_trackingAttDef, &attributes);
        DeleteEntities(attributes);
    }
    return true;
}

int Model::DefineTrackingAttribute()
{
    if (m_trackingAttDef == 0) {
        int definition = 0;
        if (BQ_ATTDEF_find(s_trackingAttDefName, &definition) != BQ_ERROR_no_errors)
            definition = 0;
        if (definition == 0) {
            static const int ownerTypes[] = {KernelClassFace, KernelClassEdge, KernelClassVertex};
            const BQ_ATTDEF_sf_t form = {
                s_trackingAttDefName, BQ_ATTDEF_class_normal, 3, ownerTypes, 0, nullptr, nullptr};
            if (BQ_ATTDEF_create_2(&form, &definition) != BQ_ERROR_no_errors)
                definition = 0;
        }
        m_trackingAttDef = definition;
        const BQ_ATTDEF_callback_fns_t callbacks{
            &Model::OnTrackingAttribSplit, &Model::OnTrackingAttribMerge,
            &Model::OnTrackingAttribDelete, &Model::OnTrackingAttribCopy};
        BQ_ATTDEF_register_cb(m_trackingAttDef, &callbacks);
    }
    SetTrackingCallbacks(m_trackingAttDef, true);
    return m_trackingAttDef;
}

void Model::OnTrackingAttribSplit(int entity, int, int, int other)
{
    AppendCallbackRecord(TrackingDataTypeSplit, {entity}, {other});
}

void Model::OnTrackingAttribMerge(int entity, int, int, int other)
{
    AppendCallbackRecord(TrackingDataTypeMerge, {other, entity}, {entity});
}

void Model::OnTrackingAttribDelete(int entity, int, int, int)
{
    AppendCallbackRecord(TrackingDataTypeDelete, {entity}, {});
}

void Model::OnTrackingAttribCopy(int entity, int, int, int other)
{
    AppendCallbackRecord(TrackingDataTypeCreate, {entity}, {other});
}

bool Model::GetReferencesOfEntity(int tag, std::vector<Reference*>& out) const
{
    auto found = m_referencesByEntity.find(tag);
    if (found == m_referencesByEntity.end())
        return false;
    out = found->second;
    return true;
}

void Model::StartDebugReport(const char* operationName)
{
    DebugJournalSwitch& reportSwitch = GetAddOnReportSwitch();
    if (!reportSwitch.IsOn())
        return;
    std::string fileName = FormatString("%s%s_%04d.xml", reportSwitch.GetPrefix(), operationName,
                                        reportSwitch.TakeNumber());
    if (!IsJournalOpen())
        fileName = MakeTempFilePath(fileName);
    StartAddOnDebugReport(fileName.c_str());
    s_reportRunning = true;
}

void Model::StopDebugReport()
{
    if (!s_reportRunning)
        return;
    StopAddOnDebugReport();
    s_reportRunning = false;
}

bool Model::HandleError(int error, bool keepCreatedVertices, bool keepDeletedVertices)
{
    if (error != 0) {
        if (m_rollBackOnError) {
            RollBackToMark();
            DeletePartitionMarks();
        }
        return false;
    }
    const bool recorded = RecordPartitionChanges(keepCreatedVertices, keepDeletedVertices);
    if (m_rollBackOnError)
        DeletePartitionMarks();
    return recorded;
}

bool Model::HandleKernelError(int error)
{
    if (m_rollBackOnError && error != 0)
        RollBackToMark();
    // Without roll-back the marks of a failed call go to the caller, who may still want them.
    if (m_rollBackOnError || error == 0)
        DeletePartitionMarks();
    return error == 0;
}

bool Model::RecordPartitionChanges(bool keepCreated, bool keepDeleted)
{
    TrackingManager* manager = GetTrackingManager();
    // The pass's records are change tracking, there for the application to read: with tracking
    // switched off nobody reads them, and only the vertex lists of a paste are still wanted.
    if ((!manager || !manager->GetTrackChanges()) && !keepCreated && !keepDeleted)
        return true;
    // The records' tags are made in the interaction's partition: made current once for all of
    // them (going to a mark leaves the current partition as it was).
    const CurrentPartitionScope scope(manager && m_interaction ? m_interaction->GetQELPartition()
                                                               : 0);
    auto report = [&](int tag, void (TrackingData::*mark)(int)) {
        if (!manager)
            return;
        TrackingData* data = TrackingData::CreateBrennikMapData(manager, TrackingDataTypeNone);
        (data->*mark)(tag);
        data->SetFromPartitionPass(true);
    };
    auto isFaceOrEdge = [](int cls) { return cls == KernelClassFace || cls == KernelClassEdge; };
    for (int partition : m_markedPartitions) {
        std::vector<int> created;
        std::vector<int> modified;
        std::vector<int> deleted;
        const int mark = MakePartitionMarkWithChanges(partition, &created, &modified, &deleted);
        if (mark == 0)
            continue;
        for (int tag : created) {
            const int cls = GetEntityClass(tag);
            if (isFaceOrEdge(cls))
                report(tag, &TrackingData::MarkCreated);
            else if (cls == KernelClassVertex && keepCreated)
                m_createdVertices.push_back(tag);
        }
        for (int tag : modified)
            if (isFaceOrEdge(GetEntityClass(tag)))
                report(tag, &TrackingData::MarkModified);
        // Back to the state before the call, where the deleted entities can still be classified;
        // with none deleted the model stays where it is.
        if (!deleted.empty()) {
            GoToPartitionMark(GetPrecedingPartitionMark(mark));
            for (int tag : deleted) {
                const int cls = GetEntityClass(tag);
                if (isFaceOrEdge(cls))
                    report(tag, &TrackingData::MarkDeleted);
                else if (cls == KernelClassVertex && keepDeleted)
                    m_deletedVertices.push_back(tag);
            }
            GoToPartitionMark(mark);
        }
        DeletePartitionMark(mark);
    }
    return true;
}

bool Model::RecordTrackResults(const HXR_ENTITY_track_r_s* tracking)
{
    TrackingManager* manager = GetTrackingManager();
    if (!manager || !manager->GetTrackChanges() || !tracking)
        return true;
    // Each record's tag is made in the interaction's partition: made current once for all of
    // them rather than once for each.
    const CurrentPartitionScope scope(
        tracking->n_track_records > 1 && m_interaction ? m_interaction->GetQELPartition() : 0);
    for (int i = 0; i < tracking->n_track_records; ++i) {
        const HXR_ENTITY_track_record_r_s& record = tracking->track_records[i];
        TrackingData* data = nullptr;
        if (record.form == HXR_TRACK_FORM_label)
            data = TrackingData::CreateBrennikLabelData(manager, TrackingDataTypeNone);
        else if (record.form == HXR_TRACK_FORM_map)
            data = TrackingData::CreateBrennikMapData(manager, TrackingDataTypeNone);
        if (data)
            data->AddHXRTrackRecord(record);
    }
    return true;
}

int Model::TestCreatePMarks(int n, int* entities)
{
    MakePartitionMark(n, entities);
    return static_cast<int>(m_partitionMarks.size());
}

void Model::TestRollPartitions() { RollBackToMark(); }

void Model::TestRemovePMarks() { DeletePartitionMarks(); }

bool Model::TestHandleBQError(int error) { return HandleKernelError(error); }

bool Model::TestHandleHXRError(int error) { return HandleError(error, false, false); }

}  // namespace QEL
