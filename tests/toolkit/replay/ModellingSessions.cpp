// Sessions of the one-shot modelling calls and their option setters, with the change tracking
// they leave: faces deleted, copied, tapered and replaced on blocks, a thin-walled box's shell
// found and its thickness driven, a blend's radius and an offset driven as operations, and the
// body's persistent data taken off and put back.
#include "ReplayedSession.h"

#include "api/debug/QelDebugApi.h"
#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/finding/QelRelationFindingApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelObjectApi.h"
#include "api/model/QelTrackingApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "api/operations/QelShellApi.h"

#include "core/maths/Xform.h"

#include <hxr.h>

#include <filesystem>

namespace QEL {
namespace testing {
namespace {

const double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// One body of two 10-unit blocks 20 apart along X, made by the kernel's add-on.
int TwoBlocksApart()
{
    const int body = brennik::build::Block(10, 10, 10);
    const int tool = brennik::build::Block(10, 10, 10);
    const double matrix[4][4] = {{1, 0, 0, 30}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const int transform = Xform(matrix).CreateKernelTransf();
    const HXR_BODY_paste_o_s options{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    HXR_BODY_paste(body, tool, transform, &options, &tracking);
    HXR_ENTITY_track_r_f(&tracking);
    BQ_ENTITY_delete(1, &transform);
    BQ_ENTITY_delete(1, &tool);
    return body;
}

// A blend deleted with the changes tracked, and every kind of change record read back.
void DeleteAndTrack(SessionContext& s)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    CreateInstance(s.tag, body, s_identity, &s.result);
    OptionSetTrackChanges(s.tag, true, &s.result);
    OptionGetTrackChanges(s.tag, &s.result);
    OptionSetTrackingMergeCallbackData(s.tag, true, &s.result);
    OptionGetTrackingMergeCallbackData(s.tag, &s.result);
    OptionSetTrackingReportUpdateData(s.tag, true, &s.result);
    OptionGetTrackingReportUpdateData(s.tag, &s.result);
    const std::vector<int> blends = FacesOfClass(body, KernelClassCylinder);
    const int options = CreateDeleteFacesOptions(s.tag, &s.result);
    DeleteFaces(s.tag, s.Tags({blends.empty() ? 0 : blends.front()}), options, &s.result);
    // Each list is read into an array of its own: a call adds to what the array holds.
    Array<int> mapData, labelData, updateData, qelData;
    TrackingGetBrennikMapData(s.tag, &mapData, &s.result);
    TrackingGetBrennikLabelData(s.tag, &labelData, &s.result);
    TrackingGetQELUpdateData(s.tag, &updateData, &s.result);
    TrackingGetQELData(s.tag, &qelData, &s.result);
    for (const Array<int>* list : {&mapData, &labelData, &updateData, &qelData}) {
        for (int i = 0; i < list->GetSize() && i < 3; ++i) {
            TrackingDataGetType(s.tag, (*list)[i], &s.result);
            Array<int> oldTags, newTags;
            TrackingDataGetOldTags(s.tag, (*list)[i], &oldTags, &s.result);
            TrackingDataGetNewTags(s.tag, (*list)[i], &newTags, &s.result);
        }
    }
}

// Copies, tapers and replaces faces of blocks, each through its options.
void CopyTaperReplace(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = FaceAt(block, 0, 0, 1, 30);
    const int side = FaceAt(block, 1, 0, 0, 10);
    const int front = FaceAt(block, 0, -1, 0, 0);
    CreateInstance(s.tag, block, s_identity, &s.result);
    const int copyOptions = CreateCopyOptions(s.tag, &s.result);
    Copy(s.tag, s.Tags({top}), GetCurrentPartition(), copyOptions, &s.result);

    // Options objects given every setting, then destroyed before the faces they name change:
    // the operations run with plain ones.
    const int tuned = CreateTaperOptions(s.tag, &s.result);
    TaperOptionsSetTaperMethodType(s.tag, tuned, TaperMethodTypeSurface, &s.result);
    TaperOptionsSetTaperLaminarEdgeType(s.tag, tuned, TaperLaminarEdgeTypeNormal, &s.result);
    TaperOptionsSetMaintainShell(s.tag, tuned, false, &s.result);
    const int bottomEdge = FindCommonEdge(side, FaceAt(block, 0, 0, -1, 0));
    TaperOptionsSetReblends(s.tag, tuned, s.Tags({front}), &s.result);
    TaperOptionsSetTaperEdges(s.tag, tuned, s.Tags({bottomEdge}), &s.result);
    TaperOptionsSetNormalEdges(s.tag, tuned, s.Tags({bottomEdge}), &s.result);
    DestroyObject(s.tag, tuned, &s.result);

    const int replaceTuned = CreateReplaceOptions(s.tag, &s.result);
    // The edges and corners of the top, with their own curves and points as what they become.
    std::vector<int> edges, corners;
    GetFaceEdges(top, &edges);
    GetFaceVertices(top, &corners);
    Array<int> edgeTags, curves, cornerTags;
    Array<double> tolerances, cornerTolerances;
    Array<Position> onEdges, atCorners;
    for (int edge : edges) {
        edgeTags.Add(edge);
        curves.Add(GetGeometryOfTopology(edge));
        tolerances.Add(1e-5);
        Position middle;
        Dir normal;
        EvaluateFaceMidpoint(top, &middle, &normal);
        onEdges.Add(middle);
    }
    for (int corner : corners) {
        cornerTags.Add(corner);
        Position at;
        GetVertexPosition(&corner, &at);
        atCorners.Add(at);
        cornerTolerances.Add(1e-5);
    }
    ReplaceOptionsSetEdgeData(s.tag, replaceTuned, edgeTags, curves, tolerances, ReplaceEdgesUseTypeAttempt,
                              &s.result);
    ReplaceOptionsSetVertexData(s.tag, replaceTuned, cornerTags, atCorners, cornerTolerances, &s.result);
    ReplaceOptionsSetEdgeHelp(s.tag, replaceTuned, edgeTags, onEdges, &s.result);
    ReplaceOptionsSetVertexHelp(s.tag, replaceTuned, cornerTags, atCorners, &s.result);
    ReplaceOptionsSetReplaceMergeType(s.tag, replaceTuned, ReplaceMergeTypeIn, &s.result);
    ReplaceOptionsSetMaintainShell(s.tag, replaceTuned, true, &s.result);
    ReplaceOptionsSetReblends(s.tag, replaceTuned, s.Tags({front}), &s.result);
    DestroyObject(s.tag, replaceTuned, &s.result);

    // The side tapers about its edge on the bottom.
    Array<Array<int>> references;
    references.Add(s.Tags({bottomEdge}));
    double up[3] = {0, 0, 1};
    TaperFaces(s.tag, s.Tags({side}), up, 0.05, references, CreateTaperOptions(s.tag, &s.result), &s.result);

    const int replaceOptions = CreateReplaceOptions(s.tag, &s.result);
    const int higher = brennik::build::FreePlane(0, 0, 34, 0, 0, 1);
    ReplaceFaces(s.tag, s.Tags({top}), s.Tags({higher}), s.Tags({1}), replaceOptions, &s.result);

    const int sheet = brennik::build::PlanarSheet(5, -2, 15, 0, -1, 0);
    const int sheetOptions = CreateReplaceFacesWithSheetOptions(s.tag, &s.result);
    ReplaceFacesWithSheet(s.tag, s.Tags({front}), sheet, sheetOptions, &s.result);

    // The corner the bottom, the side and the back meet at.
    Array<int> corner = s.Tags({FaceAt(block, 0, 0, -1, 0), side, FaceAt(block, 0, 1, 0, 20)});
    double near[3] = {9, 19, 1};
    double at[3] = {0, 0, 0};
    GeomUtilsGetIntersectionPointOf3Faces(corner, near, at, &s.result);
    DebugCheckInteractionRelations(s.tag, &s.result);
    const std::string saved = (std::filesystem::temp_directory_path() / ("bodies-" + std::to_string(getpid()))).string();
    DebugSaveBodiesWithoutQELAttributes(s.Tags({block}), saved.c_str(), &s.result);
    std::filesystem::remove(saved);
}

// A thin-walled box's shell found from a wall, its thickness driven as an operation, and its
// persistent data taken off and restored.
void Shells(SessionContext& s)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    CreateInstance(s.tag, box, s_identity, &s.result);
    std::set<int> faces;
    GetBodyFaces(box, faces);
    const int wall = faces.empty() ? 0 : *faces.begin();
    DebugCheckShelledBody(s.tag, box, &s.result);
    DebugCheckShelledFace(s.tag, wall, &s.result);
    Array<int> sameSide, otherSide;
    double thickness = 0;
    FindSidesOfShell(s.tag, wall, sameSide, otherSide, &thickness, &s.result);
    Array<int> cluster, opposite;
    FindClusterOfShell(s.tag, wall, cluster, opposite, &thickness, &s.result);

    const int shellOptions = CreateShellOptions(s.tag, &s.result);
    Array<double> offsets;
    offsets.Add(0.5);
    ShellOptionsSetOffsetOutFaces(s.tag, shellOptions, s.Tags({wall}), offsets, &s.result);
    const int pasteOptions = CreatePasteOptions(s.tag, &s.result);
    PasteOptionsSetReblend(s.tag, pasteOptions, true, &s.result);
    const int toolOptions = CreateBodyIsPasteToolOptions(s.tag, &s.result);
    BodyIsPasteTool(s.tag, box, toolOptions, &s.result);

    OperationSetDragShellThickness(s.tag, sameSide, false, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    OperationStepDragShellThickness(s.tag, 1.5, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);

    const int extract = CreateExtractBodyPersistentDataOptions(s.tag, &s.result);
    ExtractBodyPersistentDataOptionsSetStore(s.tag, extract, true, &s.result);
    ExtractBodyPersistentData(s.tag, box, extract, &s.result);
    const int restore = CreateRestoreBodyPersistentDataOptions(s.tag, &s.result);
    RestoreBodyPersistentData(s.tag, box, restore, &s.result);
    const int remove = CreateRemoveFaceShellPersistentDataOptions(s.tag, &s.result);
    RemoveFaceShellPersistentData(s.tag, wall, remove, &s.result);

    // A body of two blocks apart, split into its pieces and joined again.
    const int pair = TwoBlocksApart();
    Array<int> parts;
    DisjoinBody(s.tag, pair, nullptr, parts, &s.result);
    RejoinBody(s.tag, parts, &s.result);
}

// A blend's radius and the top's offset driven as operations.
void BlendAndOffset(SessionContext& s)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    CreateInstance(s.tag, body, s_identity, &s.result);
    const std::vector<int> blends = FacesOfClass(body, KernelClassCylinder);
    OperationSetDragBlendRadius(s.tag, s.Tags({blends.empty() ? 0 : blends.front()}), &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    OperationStepDragBlendRadius(s.tag, 3.0, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);

    std::set<int> faces;
    GetBodyFaces(body, faces);
    int top = 0;
    for (int face : faces) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        if (std::fabs(normal.z - 1) < 1e-9)
            top = face;
    }
    const int offsetOptions = CreateOffsetFacesOptions(s.tag, &s.result);
    OperationSetDragOffsetValues(s.tag, s.Tags({top}), offsetOptions, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    Array<double> values;
    values.Add(1.5);
    OperationStepDragOffsetValues(s.tag, values, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);
}

}  // namespace

std::vector<ReplaySession> ModellingSessions()
{
    return {{"delete-and-track", DeleteAndTrack},
            {"copy-taper-replace", CopyTaperReplace},
            {"shells", Shells},
            {"blend-and-offset", BlendAndOffset}};
}

}  // namespace testing
}  // namespace QEL
