// The solver-driven edits through the exported calls: how they read their values, which faces
// they refuse before anything runs, and that each one runs one update of the interaction.
#include "../../core/frame/ApiTestFixture.h"

#include "api/operations/QelOptionObjectsApi.h"
#include "api/edits/QelDragApi.h"
#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/edits/QelSelectionApi.h"
#include "api/edits/QelSolverEditApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "solver/operations/SolverOperation.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace QEL {
namespace testing {
namespace {

Array<int> Tags(const std::vector<int>& tags) { return Array<int>(static_cast<int>(tags.size()), tags.data()); }

Array<double> Values(const std::vector<double>& values)
{
    Array<double> out;
    for (double value : values)
        out.Add(value);
    return out;
}

// A face on a wall of the box.
int WallFace(int box)
{
    std::set<int> faces;
    GetBodyFaces(box, faces);
    for (int face : faces) {
        std::vector<int> side, partners;
        double thickness = 0.0;
        if (FindShellCluster(face, &side, &partners, &thickness) && !partners.empty() && side.size() == 1)
            return face;
    }
    return 0;
}

class SolverEditApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_block = brennik::build::Block(10, 20, 30);
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_blockFaces.assign(faces.begin(), faces.end());
    }
    // While another operation is current an update refuses to run and answers
    // UpdateSolveFailed: an edit that reaches the update fails with ResultTypeFail.
    void HoldAnOperation() { m_interaction->SetCurrentSolverOperation(m_held = new SolverEvaluate(m_interaction)); }
    void TearDown() override
    {
        if (m_held) {
            m_interaction->SetCurrentSolverOperation(nullptr);
            delete m_held;
        }
        ApiTest::TearDown();
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    int m_block = 0;
    std::vector<int> m_blockFaces;
    SolverOperation* m_held = nullptr;
    ResultType m_result = ResultTypeOk;
};

// One value for every face or one each; any other count is refused before the update, checks
// on or off, and the interaction lives on.
TEST_F(SolverEditApiTest, OffsetValuesAreOneForAllOrOneEach)
{
    const Array<int> three = Tags({m_blockFaces[0], m_blockFaces[1], m_blockFaces[2]});
    const int options = CreateOffsetFacesOptions(m_tag, &m_result);
    HoldAnOperation();
    for (const bool checks : {true, false}) {
        SCOPED_TRACE(checks);
        OptionSetCheckArguments(m_tag, checks, &m_result);
        struct Case {
            std::vector<double> values;
            UpdateStatus status;
            ResultType result;
        };
        for (const Case& c : {Case{{2.0}, UpdateSolveFailed, ResultTypeFail},
                              Case{{1.0, 2.0, 3.0}, UpdateSolveFailed, ResultTypeFail},
                              Case{{1.0, 2.0}, UpdateUnknown, ResultTypeBadArgument},
                              Case{{1.0, 2.0, 3.0, 4.0}, UpdateUnknown, ResultTypeBadArgument}}) {
            SCOPED_TRACE(c.values.size());
            EXPECT_EQ(OffsetFaces(m_tag, three, Values(c.values), options, &m_result), c.status);
            EXPECT_EQ(m_result, c.result);
            EXPECT_EQ(TagManager::FindInteractionFromTag(m_tag), m_interaction);
        }
        EXPECT_EQ(OffsetFaces(m_tag, Array<int>(), Values({1.0}), options, &m_result), UpdateUnknown);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
    }
}

// Every face must name a wall; the edit is skipped only when every wall already has the new
// thickness, not just the last face's.
TEST_F(SolverEditApiTest, AShellEditIsSkippedOnlyWhenEveryWallHasTheThickness)
{
    const int thin = WallFace(brennik::build::ThinWalledBox(2.0));
    const int thick = WallFace(brennik::build::ThinWalledBox(3.0));
    ASSERT_TRUE(thin && thick);
    HoldAnOperation();
    struct Case {
        const char* what;
        std::vector<int> faces;
        bool symmetric;
        UpdateStatus status;
        ResultType result;
    };
    for (const Case& c : {Case{"every wall there already", {thick}, false, UpdateApplied, ResultTypeOk},
                          Case{"one wall to change", {thin, thick}, false, UpdateSolveFailed, ResultTypeFail},
                          Case{"the last wall to change", {thick, thin}, true, UpdateSolveFailed, ResultTypeFail},
                          Case{"a face on no wall", {thick, m_blockFaces[0]}, false, UpdateUnknown,
                               ResultTypeBadArgument}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EditShellThickness(m_tag, Tags(c.faces), 3.0, c.symmetric, &m_result), c.status);
        EXPECT_EQ(m_result, c.result);
    }
    OptionSetCheckArguments(m_tag, false, &m_result);
    EXPECT_EQ(EditShellThickness(m_tag, Array<int>(), 3.0, false, &m_result), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

TEST_F(SolverEditApiTest, ABlendEditRefusesFacesThatAreNoBlendsAndAnEmptyList)
{
    const int blended = brennik::build::BlockWithBlend(2.0);
    std::set<int> faces;
    GetBodyFaces(blended, faces);
    int blend = 0, plane = 0;
    for (int face : faces)
        (IdentifyBlendFace(face, 1e-6, true, nullptr) ? blend : plane) = face;
    EXPECT_EQ(EditBlendRadius(m_tag, Tags({blend, plane}), 4.0, &m_result), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    OptionSetCheckArguments(m_tag, false, &m_result);
    EXPECT_EQ(EditBlendRadius(m_tag, Array<int>(), 4.0, &m_result), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    HoldAnOperation();
    EXPECT_EQ(EditBlendRadius(m_tag, Tags({blend}), 4.0, &m_result), UpdateSolveFailed);
    EXPECT_EQ(m_result, ResultTypeFail);
}

// The blend-radius edit driven step by step: configured twice (the second configure on a new
// Solver), started and stepped to 4, it reaches radius 4.
TEST_F(SolverEditApiTest, ABlendRadiusDragConfiguredTwiceStepsToItsRadius)
{
    const int blended = brennik::build::BlockWithBlend(2.0);
    std::set<int> faces;
    GetBodyFaces(blended, faces);
    int blend = 0;
    for (int face : faces)
        if (IdentifyBlendFace(face, 1e-6, true, nullptr))
            blend = face;
    OperationSetDragBlendRadius(m_tag, Tags({blend}), &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    for (int configure = 0; configure < 2; ++configure) {
        EXPECT_TRUE(OperationConfigure(m_tag, &m_result));
        EXPECT_EQ(m_result, ResultTypeOk);
    }
    OperationStart(m_tag, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    OperationStepDragBlendRadius(m_tag, 4.0, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    OperationEnd(m_tag, &m_result);
    double radius = 0.0;
    ASSERT_TRUE(IdentifyBlendFace(blend, 1e-6, true, &radius));
    EXPECT_NEAR(radius, 4.0, 1e-9);
}

// With adaptive lift on, the sides of a 10 x 20 x 30 block whose top is dragged 3 along X in its
// plane turn about their bottom edges; with it off they stay upright.
TEST_F(SolverEditApiTest, AdaptiveLiftTiltsTheSidesOfADraggedTop)
{
    for (const bool lift : {true, false}) {
        SCOPED_TRACE(lift);
        const int block = brennik::build::Block(10, 20, 30);
        std::set<int> faces;
        GetBodyFaces(block, faces);
        int top = 0, side = 0;
        for (int face : faces) {
            Position at, normal;
            GetStandardGeometry(face, nullptr, nullptr, &at, &normal, nullptr, nullptr, nullptr);
            if (std::abs(at.z - 30) < 1e-9 && std::abs(normal.z) > 0.5)
                top = face;
            if (std::abs(at.x - 10) < 1e-9 && std::abs(normal.x) > 0.5)
                side = face;
        }
        OptionSetAdaptiveLiftMode(m_tag, lift, &m_result);
        AddSelection(m_tag, CreateReference(m_tag, top, 0, &m_result), &m_result);
        double point[3] = {5, 10, 30}, normal[3] = {0, 0, 1}, to[3] = {8, 10, 30};
        DragPlanarStart(m_tag, point, normal, point, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
        EXPECT_EQ(DragPlanarStep(m_tag, to, &m_result), UpdateApplied);
        DragPlanarEnd(m_tag, &m_result);
        ClearSelections(m_tag, &m_result);
        Position axis;
        GetStandardGeometry(side, nullptr, nullptr, nullptr, &axis, nullptr, nullptr, nullptr);
        const double tilt = std::acos(std::min(1.0, std::abs(axis.x)));
        EXPECT_NEAR(tilt, lift ? std::atan(3.0 / 30.0) : 0.0, 1e-9);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
