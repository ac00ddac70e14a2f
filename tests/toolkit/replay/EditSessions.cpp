// Sessions of the edit calls on a block 10 x 20 x 30 whose top is held to its bottom by a
// distance and a parallel relation: drags of every kind with their previews and solution data,
// operations driven step by step, the drag and configure-lock options, and the selection.
#include "ReplayedSession.h"

#include "api/debug/QelDebugApi.h"
#include "api/edits/QelConfigureLockApi.h"
#include "api/edits/QelDragApi.h"
#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/edits/QelSelectionApi.h"
#include "api/edits/QelUpdateApi.h"
#include "api/model/QelRelationApi.h"

namespace QEL {
namespace testing {
namespace {

struct HeldBlock {
    int body = 0;
    int topFace = 0;
    int bottomFace = 0;
    int top = 0;
    int bottom = 0;
    int side = 0;
    int edgeLine = 0;
    int distance = 0;
    int parallel = 0;
};

HeldBlock MakeHeldBlock(SessionContext& s)
{
    HeldBlock block;
    block.body = brennik::build::Block(10, 20, 30);
    // A line along the top's far edge, added before any call names the block.
    const int line = brennik::build::FreeLine(0, 20, 30, 1, 0, 0);
    BQ_PART_add_geoms(block.body, 1, &line);
    block.topFace = FaceAt(block.body, 0, 0, 1, 30);
    block.bottomFace = FaceAt(block.body, 0, 0, -1, 0);
    block.top = s.Ref(block.topFace);
    block.bottom = s.Ref(block.bottomFace);
    block.side = s.Ref(FaceAt(block.body, 1, 0, 0, 10));
    block.edgeLine = s.Ref(line);
    block.distance = CreateRelation(s.tag, RelationTypeDistance, s.Tags({block.top, block.bottom}), &s.result);
    block.parallel = CreateRelation(s.tag, RelationTypeParallel, s.Tags({block.top, block.bottom}), &s.result);
    AddSelection(s.tag, block.top, &s.result);
    return block;
}

void Translation(double matrix[4][4], double x, double y, double z)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            matrix[i][j] = i == j ? 1 : 0;
    matrix[0][3] = x;
    matrix[1][3] = y;
    matrix[2][3] = z;
}

// Planar, transform and rotation drags of the top, each with the preview and the solution data
// it leaves.
void Drags(SessionContext& s)
{
    const HeldBlock block = MakeHeldBlock(s);
    OptionSetExactDragging(s.tag, true, &s.result);
    OptionGetExactDragging(s.tag, &s.result);
    OptionSetStepFaceTypeDragging(s.tag, StepFaceOnSmoothEdges, &s.result);
    OptionGetStepFaceTypeDragging(s.tag, &s.result);
    OptionSetAdaptiveLiftMode(s.tag, true, &s.result);
    OptionGetAdaptiveLiftMode(s.tag, &s.result);
    OptionSetIncludeMutuallyDependentBlends(s.tag, true, &s.result);
    OptionGetIncludeMutuallyDependentBlends(s.tag, &s.result);
    OptionSetDimensionAnimationForDrag(s.tag, true, &s.result);
    OptionGetDimensionAnimationForDrag(s.tag, &s.result);
    OptionSetDelayAddDCalls(s.tag, false, &s.result);
    OptionGetCheckArguments(s.tag, &s.result);
    OptionSetSolutionDataMode(s.tag, SolutionDataModeOn, &s.result);
    OptionGetSolutionDataMode(s.tag, &s.result);

    double point[3] = {5, 10, 30};
    double across[3] = {1, 0, 0};
    DragPlanarStart(s.tag, point, across, point, &s.result);
    double up[3] = {5, 10, 34};
    DragPlanarStep(s.tag, up, &s.result);
    double matrix[4][4];
    SolutionDataGetEntityTransform(s.tag, block.topFace, matrix, &s.result);
    DragPlanarEnd(s.tag, &s.result);

    DragByTranslateTransformStart(s.tag, &s.result);
    Translation(matrix, 0, 0, 2);
    DragByTransformStep(s.tag, matrix, &s.result);
    DragByTransformEnd(s.tag, &s.result);

    DragByGeneralTransformStart(s.tag, &s.result);
    Translation(matrix, 0, 0, -3);
    DragByTransformStep(s.tag, matrix, &s.result);
    DragByTransformEnd(s.tag, &s.result);

    // Turning the top about the line along its far edge: the parallel relation refuses the step.
    DragByRotateTransformStart(s.tag, block.edgeLine, &s.result);
    double turn[4][4] = {{1, 0, 0, 0}, {0, 0.8, -0.6, 0}, {0, 0.6, 0.8, 0}, {0, 0, 0, 1}};
    DragByTransformStep(s.tag, turn, &s.result);
    DragByTransformEnd(s.tag, &s.result);

    // The preview of a linear drag: which faces it would move, and how.
    OptionSetPreviewMode(s.tag, PreviewModeAlways, &s.result);
    double down[3] = {0, 0, -1};
    DragLinearStart(s.tag, point, down, point, &s.result);
    double lower[3] = {5, 10, 25};
    DragLinearStep(s.tag, lower, &s.result);
    Array<int> previewed;
    DebugGetPreviewEntities(s.tag, &previewed, &s.result);
    DebugGetEntityPreviewTransform(s.tag, block.topFace, matrix, &s.result);
    bool majorChanged = false, minorChanged = false;
    double major = 0, minor = 0, radius = 0, halfAngle = 0;
    DebugGetEntityPreviewRadius(s.tag, block.topFace, &majorChanged, &major, &minorChanged, &minor, &s.result);
    DebugGetEntityPreviewReblend(s.tag, block.topFace, &radius, &s.result);
    DebugGetEntityPreviewHalfAngle(s.tag, block.topFace, &halfAngle, &s.result);
    DragLinearEnd(s.tag, &s.result);
    OptionSetPreviewMode(s.tag, PreviewModeOff, &s.result);
}

// Operations set, configured, started, stepped, updated and ended, one of each drag kind.
void Operations(SessionContext& s)
{
    const HeldBlock block = MakeHeldBlock(s);
    double point[3] = {5, 10, 30};
    double across[3] = {1, 0, 0};
    OperationSetDragPlanar(s.tag, point, across, point, &s.result);
    OperationSetNewRelation(s.tag, block.parallel, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    double to[3] = {5, 10, 34};
    OperationStepDragPlanar(s.tag, to, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);

    OperationSetDragByTransform(s.tag, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    double matrix[4][4];
    Translation(matrix, 0, 0, 2);
    OperationStepDragByTransform(s.tag, matrix, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);

    double axis[3] = {0, 1, 0};
    double corner[3] = {0, 0, 36};
    OperationSetDragRotate(s.tag, corner, axis, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    OperationStepDragRotate(s.tag, 0.1, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationAbort(s.tag, &s.result);
    OperationClear(s.tag, &s.result);

    OperationSetDragRelationValue(s.tag, block.distance, &s.result);
    OperationConfigure(s.tag, &s.result);
    OperationStart(s.tag, &s.result);
    OperationStepDragRelationValue(s.tag, block.distance, 40, &s.result);
    OperationUpdate(s.tag, &s.result);
    OperationEnd(s.tag, &s.result);
    OperationClear(s.tag, &s.result);
}

// The configure locks of every surface kind set and read back, an update after them and the
// update times read after a reset, and the selection emptied one way and another.
void LocksAndSelection(SessionContext& s)
{
    const HeldBlock block = MakeHeldBlock(s);
    const struct {
        void (*set)(int, bool, ResultType*);
        bool (*get)(int, ResultType*);
    } locks[] = {
        {OptionSetConfigureLockCylinderRadius, OptionGetConfigureLockCylinderRadius},
        {OptionSetConfigureLockSphereRadius, OptionGetConfigureLockSphereRadius},
        {OptionSetConfigureLockTorusRadius, OptionGetConfigureLockTorusRadius},
        {OptionSetConfigureLockTorusMinorRadius, OptionGetConfigureLockTorusMinorRadius},
        {OptionSetConfigureLockConeHalfAngle, OptionGetConfigureLockConeHalfAngle},
    };
    for (const auto& lock : locks) {
        lock.set(s.tag, false, &s.result);
        lock.get(s.tag, &s.result);
    }
    RelationSetValue(s.tag, block.distance, 32, &s.result);
    Update(s.tag, &s.result);
    ClearReblendedFaces(&s.result);
    // Times are read only after a reset: a replay takes its own time.
    ResetUpdateTimes(&s.result);
    GetBuildTime(&s.result);
    GetSolveTime(&s.result);
    GetApplyTime(&s.result);
    GetFaceChangeTime(&s.result);

    AddSelection(s.tag, block.bottom, &s.result);
    AddSelection(s.tag, block.side, &s.result);
    GetSelectionCount(s.tag, &s.result);
    GetSelection(s.tag, 1, &s.result);
    RemoveSelection(s.tag, block.bottom, &s.result);
    GetSelection(s.tag, 1, &s.result);
    ClearSelections(s.tag, &s.result);
    GetSelectionCount(s.tag, &s.result);
}

}  // namespace

std::vector<ReplaySession> EditSessions()
{
    return {{"drags", Drags}, {"operations", Operations}, {"locks-and-selection", LocksAndSelection}};
}

}  // namespace testing
}  // namespace QEL
