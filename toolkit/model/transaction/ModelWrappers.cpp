// The static wrappers: the only road by which the toolkit changes body topology. Each makes
// one Model for its one kernel or add-on call.
#include "core/tracking/TrackingManager.h"
#include "model/transaction/Model.h"

namespace QEL {

// How one add-on wrapper differs from the others.
struct Model::AddOnCall {
    enum class References { None, Collect, Tag };
    enum class Passes { Copy, Paste, Change };

    int markEntity;
    References references;
    const char* operationName;
    Passes passes;
    // Paste reports created and deleted vertices too.
    bool keepVertices;
    // What a failed pass answers; the tracking result is freed with ModelErrorTrackingFailed
    // only, the sheet replacement leaves it to its caller.
    int trackingFailure;
    int pasteTarget;
    int pasteTool;
};

void Model::HandOutMarks(bool succeeded, std::vector<int>* marksOut)
{
    if (m_rollBackOnError)
        return;
    if (succeeded)
        DeletePartitionMarks();
    else if (marksOut)
        marksOut->insert(marksOut->end(), m_partitionMarks.begin(), m_partitionMarks.end());
}

bool Model::RunPasses(const AddOnCall& call, HXR_ENTITY_track_r_s* tracking)
{
    if (!RecordTrackResults(tracking))
        return false;
    switch (call.passes) {
        case AddOnCall::Passes::Copy:
            return CollectReferenceRecordsFromTrackingData() && ApplyReferenceRecords();
        case AddOnCall::Passes::Paste:
            return TrackPasteChanges() && ApplyReferenceRecords() &&
                   RemovePastedReferenceGroups(call.pasteTarget, call.pasteTool);
        case AddOnCall::Passes::Change: {
            TrackingManager* manager = GetTrackingManager();
            const bool merged = manager && manager->GetMergeCallbackData();
            return CollectReferenceGroupChanges() &&
                   (merged ? ReportMergedCallbackRecords() : ReportReferenceRecords()) &&
                   RemoveTrackingAttributes() && ApplyReferenceRecords();
        }
    }
    return false;
}

int Model::RunAddOnCall(const AddOnCall& call, HXR_ENTITY_track_r_s* tracking,
                        std::vector<int>* marksOut, const std::function<int()>& invoke)
{
    bool prepared = MakePartitionMark(1, &call.markEntity);
    if (prepared && call.references == AddOnCall::References::Collect)
        prepared = CollectReferences();
    else if (prepared && call.references == AddOnCall::References::Tag)
        prepared = TagReferencedEntities();
    if (!prepared) {
        HandOutMarks(false, marksOut);
        return ModelErrorNotMarked;
    }
    StartDebugReport(call.operationName);
    const int error = invoke();
    StopDebugReport();
    const bool checked = call.trackingFailure == ModelErrorSheetTrackingFailed
                             ? HandleKernelError(error)
                             : HandleError(error, call.keepVertices, call.keepVertices);
    const bool tracked = checked && RunPasses(call, tracking);
    // The tracking attributes are scratch marks of this call: none may stay in the model,
    // whichever way the call ended (after a roll-back there are none left to find).
    RemoveTrackingAttributes();
    HandOutMarks(tracked, marksOut);
    if (!checked)
        return error;
    if (!tracked) {
        if (call.trackingFailure == ModelErrorTrackingFailed && tracking)
            HXR_ENTITY_track_r_f(tracking);
        return call.trackingFailure;
    }
    return 0;
}

int Model::GeomTransform(Interaction* interaction, int geometry, int transform,
                         BQ_GEOM_transform_o_t* options, int* results, unsigned char* resultFlags,
                         bool rollBackOnError, std::vector<int>* marksOut)
{
    Model model(interaction, rollBackOnError);
    const bool marked = model.MakePartitionMark(1, &geometry);
    const int error = BQ_GEOM_transform_2(1, &geometry, transform, options, results, resultFlags);
    const bool succeeded = marked && model.HandleKernelError(error);
    model.HandOutMarks(succeeded, marksOut);
    return error;
}

int Model::BodyMakeSection(Interaction* interaction, int nBodies, int* bodies, int nSurfaces,
                           int* surfaces, const BQ_BODY_make_section_o_t* options,
                           BQ_TOPOL_track_r_t* tracking, BQ_BODY_make_section_r_t* results,
                           bool rollBackOnError, std::vector<int>* marksOut)
{
    Model model(interaction, rollBackOnError);
    std::vector<int> entities(bodies, bodies + nBodies);
    entities.insert(entities.end(), surfaces, surfaces + nSurfaces);
    if (!model.MakePartitionMark(static_cast<int>(entities.size()), entities.data()))
        return ModelErrorNotMarked;
    const int error = BQ_BODY_make_section_with_surfs(nBodies, bodies, nSurfaces, surfaces, options,
                                                      tracking, results);
    model.HandOutMarks(model.HandleKernelError(error), marksOut);
    return error;
}

int Model::FaceCut(Interaction* interaction, int nFaces, int* faces, HXR_FACE_cut_o_s* options,
                   int* result, HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                   std::vector<int>* marksOut)
{
    if (nFaces == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::Collect,
                         "HXR_FACE_cut",
                         AddOnCall::Passes::Copy,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_FACE_cut(nFaces, faces, options, result, tracking);
    });
}

int Model::FaceCopy(Interaction* interaction, int nFaces, int* faces, HXR_FACE_copy_o_s* options,
                    int* result, HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                    std::vector<int>* marksOut)
{
    if (nFaces == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::Collect,
                         "HXR_FACE_copy",
                         AddOnCall::Passes::Copy,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_FACE_copy(nFaces, faces, options, result, tracking);
    });
}

int Model::BodyPaste(Interaction* interaction, int target, int tool, int extra,
                     HXR_BODY_paste_o_s* options, HXR_ENTITY_track_r_s* tracking,
                     bool rollBackOnError, std::vector<int>* marksOut)
{
    Model model(interaction, rollBackOnError);
    const AddOnCall call{
        target, AddOnCall::References::Collect, "HXR_BODY_paste", AddOnCall::Passes::Paste,
        true,   ModelErrorTrackingFailed,       target,           tool};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_BODY_paste(target, tool, extra, options, tracking);
    });
}

int Model::FaceChange(Interaction* interaction, int nFaces, int* faces, int* changeIndices,
                      int nChanges, HXR_FACE_change_s* changes, double tolerance,
                      HXR_FACE_change_o_s* options, HXR_ENTITY_track_r_s* tracking,
                      bool rollBackOnError, std::vector<int>* marksOut)
{
    if (nFaces == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::Tag,
                         "HXR_FACE_change",
                         AddOnCall::Passes::Change,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_FACE_change(nFaces, faces, changeIndices, nChanges, changes, tolerance, options,
                               tracking);
    });
}

int Model::FaceDelete(Interaction* interaction, int nFaces, int* faces,
                      HXR_FACE_delete_o_s* options, HXR_ENTITY_track_r_s* tracking,
                      bool rollBackOnError, std::vector<int>* marksOut)
{
    if (nFaces == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::Tag,
                         "HXR_FACE_delete",
                         AddOnCall::Passes::Change,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut,
                              [&] { return HXR_FACE_delete(nFaces, faces, options, tracking); });
}

int Model::FaceReorderBlends(Interaction* interaction, int nFaces, int* faces, int nOthers,
                             int* others, HXR_FACE_reorder_blends_o_s* options,
                             HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                             std::vector<int>* marksOut)
{
    if (nFaces == 0 || nOthers == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::Tag,
                         "HXR_FACE_reorder_blends",
                         AddOnCall::Passes::Change,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_FACE_reorder_blends(nFaces, faces, nOthers, others, options, tracking);
    });
}

int Model::BodyHollow(Interaction* interaction, int body, double first, double second, double third,
                      HXR_BODY_hollow_o_s* options, HXR_ENTITY_track_r_s* tracking,
                      bool rollBackOnError, std::vector<int>* marksOut)
{
    Model model(interaction, rollBackOnError);
    const AddOnCall call{body,
                         AddOnCall::References::Tag,
                         "HXR_BODY_hollow",
                         AddOnCall::Passes::Change,
                         false,
                         ModelErrorTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_BODY_hollow(body, first, second, third, options, tracking);
    });
}

int Model::ReplaceFaceWithSheet(Interaction* interaction, int nFaces, int* faces, int sheet,
                                const HXR_FACE_replace_with_sheet_o_s* options,
                                HXR_ENTITY_track_r_s* tracking, bool rollBackOnError,
                                std::vector<int>* marksOut)
{
    if (nFaces == 0)
        return 0;
    Model model(interaction, rollBackOnError);
    const AddOnCall call{faces[0],
                         AddOnCall::References::None,
                         "HXR_FACE_replace_with_sheet",
                         AddOnCall::Passes::Change,
                         false,
                         ModelErrorSheetTrackingFailed,
                         0,
                         0};
    return model.RunAddOnCall(call, tracking, marksOut, [&] {
        return HXR_FACE_replace_with_sheet(nFaces, faces, sheet, options, tracking);
    });
}

}  // namespace QEL
