#pragma once
// The transaction around every change the toolkit makes to kernel bodies. A static wrapper
// makes one Model on its stack for one kernel or add-on call: it marks the partitions the call
// touches, collects the references by entity (and tags their entities with the reference-
// tracking attribute, whose callbacks report what the add-on does to them), runs the call
// inside an optional add-on debug report, then either rolls back or turns the track records
// into change records for the application and moves the references onto the entities that
// replaced theirs. The wrappers answer the kernel's or add-on's error code (0 success).

#include "core/objects/EntityComparison.h"

#include <brennik.h>
#include <hxr.h>

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace QEL {

class Interaction;
class Reference;
class ReferenceTrackingRecord;
class TrackingManager;

// The add-on call succeeded but the references could not all be followed.
constexpr int ModelErrorTrackingFailed = HXR_ERROR_tracking_failed;
// The same for replacing faces with a sheet, whose tracking result stays with the caller.
constexpr int ModelErrorSheetTrackingFailed = HXR_ERROR_sheet_tracking_failed;
// The partitions the call would touch could not be marked, so it was not made: without a mark
// a failure could not be undone.
constexpr int ModelErrorNotMarked = 18019;

class QEL_API Model {
public:
    // Becomes the current Model.
    Model(Interaction* interaction, bool rollBackOnError);
    // Frees the records, switches the tracking callbacks off and leaves no current Model. Marks
    // and tracking attributes are the wrappers' to remove.
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // The Model whose call is running; null between calls.
    static Model* GetCurrent();

    // The wrappers. Each takes the call's own arguments, then whether a failed call is rolled
    // back; without it the marks of a call that did not succeed in full go to marksOut (which
    // may be null with rollBackOnError).
    static int GeomTransform(Interaction* interaction, int geometry, int transform,
                             BQ_GEOM_transform_o_t* options, int* results,
                             unsigned char* resultFlags, bool rollBackOnError,
                             std::vector<int>* marksOut);
    static int BodyMakeSection(Interaction* interaction, int nBodies, int* bodies, int nSurfaces,
                               int* surfaces, const BQ_BODY_make_section_o_t* options,
                               BQ_TOPOL_track_r_t* tracking, BQ_BODY_make_section_r_t* results,
                               bool rollBackOnError, std::vector<int>* marksOut);
    static int FaceCut(Interaction* interaction, int nFaces, int* faces, HXR_FACE_cut_o_s* options,
                       int* result, HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                       std::vector<int>* marksOut);
    static int FaceCopy(Interaction* interaction, int nFaces, int* faces,
                        HXR_FACE_copy_o_s* options, int* result, HXR_ENTITY_track_r_s* tracking,
                        bool rollBackOnError, std::vector<int>* marksOut);
    static int BodyPaste(Interaction* interaction, int target, int tool, int extra,
                         HXR_BODY_paste_o_s* options, HXR_ENTITY_track_r_s* tracking,
                         bool rollBackOnError, std::vector<int>* marksOut);
    static int FaceChange(Interaction* interaction, int nFaces, int* faces, int* changeIndices,
                          int nChanges, HXR_FACE_change_s* changes, double tolerance,
                          HXR_FACE_change_o_s* options, HXR_ENTITY_track_r_s* tracking,
                          bool rollBackOnError, std::vector<int>* marksOut);
    static int FaceDelete(Interaction* interaction, int nFaces, int* faces,
                          HXR_FACE_delete_o_s* options, HXR_ENTITY_track_r_s* tracking,
                          bool rollBackOnError, std::vector<int>* marksOut);
    static int FaceReorderBlends(Interaction* interaction, int nFaces, int* faces, int nOthers,
                                 int* others, HXR_FACE_reorder_blends_o_s* options,
                                 HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                                 std::vector<int>* marksOut);
    static int BodyHollow(Interaction* interaction, int body, double first, double second,
                          double third, HXR_BODY_hollow_o_s* options,
                          HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                          std::vector<int>* marksOut);
    static int ReplaceFaceWithSheet(Interaction* interaction, int nFaces, int* faces, int sheet,
                                    const HXR_FACE_replace_with_sheet_o_s* options,
                                    HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                                    std::vector<int>* marksOut);

    // The add-on debug report "<directory><operation>_<number>.xml", written only while its
    // switch is on; the add-on queries of other parts of the toolkit use them too.
    static void StartDebugReport(const char* operationName);
    static void StopDebugReport();

    // Test hooks on a constructed Model.
    int TestCreatePMarks(int n, int* entities);
    void TestRollPartitions();
    void TestRemovePMarks();
    bool TestHandleBQError(int error);
    bool TestHandleHXRError(int error);

    // Used by the records and the tracking callbacks.
    Interaction* GetInteraction() const { return m_interaction; }
    // The references the Model collected on the entity; false when none.
    bool GetReferencesOfEntity(int tag, std::vector<Reference*>& out) const;
    // Finds or makes "ORV/QEL_REFERENCE_TRACKING", registers its callbacks and switches the four
    // that report on.
    int DefineTrackingAttribute();
    void AddCallbackRecord(ReferenceTrackingRecord* record) { m_callbackRecords.push_back(record); }
    const std::vector<ReferenceTrackingRecord*>& GetCallbackRecords() const
    {
        return m_callbackRecords;
    }
    const std::vector<ReferenceTrackingRecord*>& GetReferenceRecords() const
    {
        return m_referenceRecords;
    }
    const std::vector<int>& GetPartitionMarks() const { return m_partitionMarks; }

    static void OnTrackingAttribSplit(int entity, int attribute, int otherAttribute, int other);
    static void OnTrackingAttribMerge(int entity, int attribute, int otherAttribute, int other);
    static void OnTrackingAttribDelete(int entity, int attribute, int otherAttribute, int other);
    static void OnTrackingAttribCopy(int entity, int attribute, int otherAttribute, int other);

private:
    // Marks the partitions of the entities, ascending; false (no marks kept) when one has no
    // partition or cannot be marked.
    bool MakePartitionMark(int n, const int* entities);
    bool RollBackToMark();
    bool DeletePartitionMarks();
    bool CollectReferences();
    bool TagReferencedEntities();
    bool RemoveTrackingAttributes();
    // The check after the call: rolls back or runs the post-operation pass.
    bool HandleError(int error, bool keepCreatedVertices, bool keepDeletedVertices);
    bool HandleKernelError(int error);
    // Reports every face and edge the call created, changed or deleted.
    bool RecordPartitionChanges(bool keepCreated, bool keepDeleted);
    bool RecordTrackResults(const HXR_ENTITY_track_r_s* tracking);
    bool CollectReferenceRecordsFromTrackingData();
    bool CollectReferenceGroupChanges();
    bool ReportMergedCallbackRecords();
    bool ReportReferenceRecords();
    bool ApplyReferenceRecords();
    bool TrackPasteChanges();
    bool RemovePastedReferenceGroups(int target, int tool);
    void ReportUpdateData(size_t firstRecord);
    TrackingManager* GetTrackingManager() const;
    // What all the add-on wrappers share around their call.
    struct AddOnCall;
    int RunAddOnCall(const AddOnCall& call, HXR_ENTITY_track_r_s* tracking,
                     std::vector<int>* marksOut, const std::function<int()>& invoke);
    bool RunPasses(const AddOnCall& call, HXR_ENTITY_track_r_s* tracking);
    // Without roll-back: the marks of a call that did not succeed in full go to the caller, those
    // of a successful one are deleted.
    void HandOutMarks(bool succeeded, std::vector<int>* marksOut);

    Interaction* m_interaction;
    int m_trackingAttDef = 0;
    std::set<int> m_taggedBodies;
    std::map<int, std::vector<Reference*>> m_referencesByEntity;
    std::vector<int> m_partitionMarks;
    std::vector<int> m_markedPartitions;
    bool m_rollBackOnError;
    std::vector<ReferenceTrackingRecord*> m_callbackRecords;
    std::vector<ReferenceTrackingRecord*> m_referenceRecords;
    std::vector<int> m_deletedVertices;
    std::vector<int> m_createdVertices;
};

}  // namespace QEL
