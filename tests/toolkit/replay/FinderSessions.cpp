// Sessions of the relation finder: its options set and read back, the records a configure of a
// drag finds on a free block and the rules it applies, an application's own rules, and the
// interaction reset at the end of a run.
#include "ReplayedSession.h"

#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/edits/QelSelectionApi.h"
#include "api/finding/QelFoundDataApi.h"
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "api/finding/QelRuleApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelObjectApi.h"

#include <iterator>

namespace QEL {
namespace testing {
namespace {

void FinderOptions(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    s.Ref(FaceAt(block, 0, 0, -1, 0));
    const int line = s.Ref(brennik::build::FreeLine(5, 10, 0, 0, 0, 1));
    OptionSetFindRelationsData(s.tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 2,
                               &s.result);
    OptionGetFindRelationsData(s.tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane,
                               &s.result);
    OptionResetAllFindRelationsData(s.tag, &s.result);
    OptionGetFindRelationsData(s.tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane,
                               &s.result);
    OptionSetFindSimilarGeometryMatchAxes(s.tag, true, &s.result);
    OptionGetFindSimilarGeometryMatchAxes(s.tag, &s.result);
    OptionSetFindSymmetryMatchExact(s.tag, true, &s.result);
    OptionGetFindSymmetryMatchExact(s.tag, &s.result);
    OptionSetFindCreateRelations(s.tag, true, &s.result);
    OptionGetFindCreateRelations(s.tag, &s.result);
    Array<int> planes = s.Tags({s.Ref(brennik::build::FreePlane(5, 0, 0, 1, 0, 0)),
                                s.Ref(brennik::build::FreePlane(0, 10, 0, 0, 1, 0))});
    OptionSetFindSymmetryPlanes(s.tag, planes, &s.result);
    Array<int> symmetry, coPlaxis, principle;
    OptionGetFindSymmetryPlanes(s.tag, &symmetry, &s.result);
    Array<int> axes = s.Tags({line});
    OptionSetFindCoPlaxisReferences(s.tag, axes, &s.result);
    OptionGetFindCoPlaxisReferences(s.tag, &coPlaxis, &s.result);
    OptionSetFindPrinciplePlanes(s.tag, planes, &s.result);
    OptionGetFindPrinciplePlanes(s.tag, &principle, &s.result);
    ClearFoundRelations(s.tag, true, &s.result);
}

// A configure of a drag of a wall of a thin-walled box finds the wall's shell and what holds
// its faces; each record found is read and relaxed, and each rule read; an application's rule
// is made and relaxed.
void FoundRecordsAndRules(SessionContext& s)
{
    const int box = brennik::build::ThinWalledBox(1.0);
    std::set<int> faces;
    GetBodyFaces(box, faces);
    const int wall = faces.empty() ? 0 : *faces.begin();
    const int held = s.Ref(wall);
    const int side = s.Ref(faces.size() > 1 ? *std::next(faces.begin()) : 0);
    AddSelection(s.tag, held, &s.result);
    for (FindRelationType type : {FindRelationTypeParallel, FindRelationTypePerpendicular, FindRelationTypeCoPlanar})
        OptionSetFindRelationsData(s.tag, type, FindGeometryTypePlane, FindGeometryTypePlane, 2, &s.result);
    Position middle;
    Dir normal;
    EvaluateFaceMidpoint(wall, &middle, &normal);
    double point[3] = {middle.x, middle.y, middle.z};
    double up[3] = {normal.x, normal.y, normal.z};
    OperationSetDragLinear(s.tag, point, up, point, &s.result);
    OperationConfigure(s.tag, &s.result);
    Array<int> found;
    GetObjects(s.tag, ObjectTypeFoundData, &found, &s.result);
    for (int i = 0; i < found.GetSize(); ++i) {
        FoundDataGetType(s.tag, found[i], &s.result);
        FoundDataGetState(s.tag, found[i], &s.result);
        FoundDataGetWasFound(s.tag, found[i], &s.result);
        FoundDataGetObject(s.tag, found[i], &s.result);
        FoundDataGetLevel(s.tag, found[i], &s.result);
        Array<int> side1, side2;
        double thickness = 0;
        FoundDataGetShellData(s.tag, found[i], side1, side2, thickness, &s.result);
        FoundDataSetState(s.tag, found[i], FoundDataStateRelax, &s.result);
    }
    OperationClear(s.tag, &s.result);

    double across[3] = {1, 0, 0};
    const int rule = CreateRule(s.tag, RuleTypeTranslateInDir, side, across, &s.result);
    RuleSetState(s.tag, rule, RuleStateRelax, &s.result);
    RuleGetState(s.tag, rule, &s.result);
    RuleGetReference(s.tag, rule, &s.result);
    RuleGetType(s.tag, rule, &s.result);
    double direction[3] = {0, 0, 0};
    RuleGetTranslateDirection(s.tag, rule, direction, &s.result);
    RuleGetWasFound(s.tag, rule, &s.result);
    RuleGetWasApplied(s.tag, rule, &s.result);
    Array<int> rules;
    ReferenceGetRules(s.tag, side, rules, &s.result);
}

// A run that ends its interaction and starts another, then resets the toolkit and starts again.
void ResetAndStartAgain(SessionContext& s)
{
    const int block = brennik::build::Block(10, 20, 30);
    s.Ref(FaceAt(block, 0, 0, 1, 30));
    DestroyInteraction(s.tag, &s.result);
    s.tag = CreateInteraction(&s.result);
    s.Ref(FaceAt(block, 1, 0, 0, 10));
    GetMarkCount(s.tag, &s.result);
    Reset(&s.result);
    s.tag = CreateInteraction(&s.result);
    s.Ref(FaceAt(block, 0, 0, -1, 0));
}

}  // namespace

std::vector<ReplaySession> FinderSessions()
{
    return {{"finder-options", FinderOptions},
            {"found-records-and-rules", FoundRecordsAndRules},
            {"reset-and-start-again", ResetAndStartAgain}};
}

}  // namespace testing
}  // namespace QEL
