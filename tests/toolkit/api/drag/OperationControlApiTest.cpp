// The operation calls as an application makes them on the block held by its relations: every
// call in every state of the operation, and the edits an operation carries through configure,
// start, steps, updates and its end, abort or clear.
#include "BlockDragFixture.h"

#include "model/relations/Relation.h"

namespace QEL {
namespace testing {
namespace {

enum State { None, Set, Configured, Started };

class OperationControlApiTest : public BlockDragTest {
protected:
    // Brings the fresh interaction into the state with a linear drag of the top.
    void Enter(State state)
    {
        if (state >= Set)
            SetLinearOperation();
        if (state >= Configured) {
            EXPECT_TRUE(OperationConfigure(m_tag, &m_result));
        }
        if (state >= Started)
            OperationStart(m_tag, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
        ASSERT_EQ(Now(), state);
    }
    State Now()
    {
        ResultType result = ResultTypeOk;
        if (OperationStarted(m_tag, &result))
            return Started;
        if (OperationConfigured(m_tag, &result))
            return Configured;
        return OperationGetType(m_tag, &result) == OperationTypeNone ? None : Set;
    }
};

struct Outcome {
    ResultType result;
    State after;
};

// Each call in each of the four states: the result it gives and the state it leaves.
TEST_F(OperationControlApiTest, EveryCallInEveryState)
{
    const struct {
        const char* call;
        std::function<void()> make;
        Outcome outcomes[4];
    } rows[] = {
        {"a drag set call",
         [this] {
             double point[3] = {0, 0, 30};
             OperationSetDragPlanar(m_tag, point, point, point, &m_result);
         },
         {{ResultTypeOk, Set},
          {ResultTypeOperationCombinationNotSupported, Set},
          {ResultTypeOperationCombinationNotSupported, Configured},
          {ResultTypeOperationCombinationNotSupported, Started}}},
        {"OperationSetNewRelation",
         [this] { OperationSetNewRelation(m_tag, m_parallel, &m_result); },
         {{ResultTypeOk, Set}, {ResultTypeOk, Set}, {ResultTypeOk, Set}, {ResultTypeOperationStarted, Started}}},
        {"a step call",
         [this] { StepOperationTo(33); },
         {{ResultTypeOperationNotSet, None},
          {ResultTypeOperationNotConfigured, Set},
          {ResultTypeOperationNotStarted, Configured},
          {ResultTypeOk, Started}}},
        {"OperationConfigure",
         [this] { OperationConfigure(m_tag, &m_result); },
         {{ResultTypeOperationNotSet, None},
          {ResultTypeOk, Configured},
          {ResultTypeOk, Configured},
          {ResultTypeOperationStarted, Started}}},
        {"OperationStart",
         [this] { OperationStart(m_tag, &m_result); },
         {{ResultTypeOperationNotSet, None},
          {ResultTypeOperationNotConfigured, Set},
          {ResultTypeOk, Started},
          {ResultTypeOperationStarted, Started}}},
        {"OperationUpdate",
         [this] { OperationUpdate(m_tag, &m_result); },
         {{ResultTypeOperationNotSet, None},
          {ResultTypeOperationNotConfigured, Set},
          {ResultTypeOperationNotStarted, Configured},
          {ResultTypeOk, Started}}},
        {"OperationEnd",
         [this] { OperationEnd(m_tag, &m_result); },
         {{ResultTypeOk, None}, {ResultTypeOk, Set}, {ResultTypeOk, Set}, {ResultTypeOk, Set}}},
        {"OperationAbort",
         [this] { OperationAbort(m_tag, &m_result); },
         {{ResultTypeOperationNotSet, None},
          {ResultTypeOperationNotConfigured, Set},
          {ResultTypeOperationNotStarted, Configured},
          {ResultTypeOk, Set}}},
        {"OperationClear",
         [this] { OperationClear(m_tag, &m_result); },
         {{ResultTypeOk, None}, {ResultTypeOk, None}, {ResultTypeOk, None}, {ResultTypeOperationStarted, Started}}},
    };
    for (const auto& row : rows)
        for (State state : {None, Set, Configured, Started}) {
            SCOPED_TRACE(std::string(row.call) + " in state " + std::to_string(state));
            TearDown();
            SetUp();
            Enter(state);
            row.make();
            EXPECT_EQ(m_result, row.outcomes[state].result);
            EXPECT_EQ(Now(), row.outcomes[state].after);
        }
}

TEST_F(OperationControlApiTest, LinearOperationUpdatesToAbsolutePositionsAndEndsWithThem)
{
    Enter(Started);
    for (double z : {35.0, 38.0}) {
        ASSERT_EQ(StepOperationTo(z), ResultTypeOk);
        EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
        EXPECT_NEAR(TopZ(), z, 1e-6);
    }
    double position[3];
    OperationGetDragPosition(m_tag, position, &m_result);
    EXPECT_EQ(position[2], 38);
    OperationEnd(m_tag, &m_result);
    EXPECT_NEAR(TopZ(), 38, 1e-6);
    OperationGetDragPosition(m_tag, position, &m_result);
    EXPECT_EQ(position[2], 30) << "the end puts the drag back at its start";
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeDragLinear);
}

// The abort rolls the model and the relations back to the start, whatever the updates did.
TEST_F(OperationControlApiTest, AbortRestoresTheModelAndTheRelationValues)
{
    SetLinearOperation();
    OperationSetDragRelationValue(m_tag, m_distance, &m_result);
    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    OperationStart(m_tag, &m_result);
    StepOperationTo(33);
    OperationStepDragRelationValue(m_tag, m_distance, 34, &m_result);
    ASSERT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    ASSERT_NEAR(RelationGetValue(m_tag, m_distance, &m_result), 34, 1e-9);
    ASSERT_GT(std::abs(Volume() - 6000), 1);

    OperationAbort(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_NEAR(TopZ(), 30, 1e-9);
    EXPECT_NEAR(Volume(), 6000, 1e-6);
    EXPECT_NEAR(RelationGetValue(m_tag, m_distance, &m_result), 30, 1e-9);
    EXPECT_NEAR(OperationGetDragValue(m_tag, m_distance, &m_result), 30, 1e-9);
    EXPECT_EQ(m_result, ResultTypeOk);
}

// A value stepped before the start is kept (though the step reports the state) and is the
// value the first update drives the relation to.
TEST_F(OperationControlApiTest, RelationValueSteppedBeforeTheStartIsKept)
{
    OperationSetDragRelationValue(m_tag, m_distance, &m_result);
    ASSERT_EQ(OperationGetType(m_tag, &m_result), OperationTypeEvaluate);
    OperationStepDragRelationValue(m_tag, m_distance, 35, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationNotConfigured);
    EXPECT_EQ(OperationGetDragValue(m_tag, m_distance, &m_result), 35);
    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    OperationStart(m_tag, &m_result);
    EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    EXPECT_NEAR(Height(), 35, 1e-6);
    EXPECT_NEAR(RelationGetValue(m_tag, m_distance, &m_result), 35, 1e-9);

    OperationStepDragRelationValue(m_tag, m_parallel, 1, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationNotSet) << "a relation entered without a value";
}

// Clearing a configured operation drops its configuration with it: a drag set afterwards is
// not started on the Solver of the one that went.
TEST_F(OperationControlApiTest, ClearOfAConfiguredOperationDropsItsConfiguration)
{
    Enter(Configured);
    OperationClear(m_tag, &m_result);
    EXPECT_FALSE(OperationConfigured(m_tag, &m_result));
    SetLinearOperation();
    OperationStart(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationNotConfigured);
    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    OperationStart(m_tag, &m_result);
    StepOperationTo(36);
    EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    EXPECT_NEAR(TopZ(), 36, 1e-6);
}

// Configured again, an operation enters a new Solver with nothing left of the old one.
TEST_F(OperationControlApiTest, ConfiguredTwiceThenStartedAndStepped)
{
    double point[3] = {5, 10, 30};
    double normal[3] = {1, 0, 0};
    OperationSetDragPlanar(m_tag, point, normal, point, &m_result);
    OperationSetNewRelation(m_tag, m_parallel, &m_result);
    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    ASSERT_TRUE(OperationConfigure(m_tag, &m_result));
    OperationStart(m_tag, &m_result);
    double to[3] = {5, 10, 34};
    OperationStepDragPlanar(m_tag, to, &m_result);
    EXPECT_EQ(OperationUpdate(m_tag, &m_result), UpdateApplied);
    EXPECT_NEAR(TopZ(), 34, 1e-6);
    OperationEnd(m_tag, &m_result);
    OperationClear(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeNone);
}

TEST_F(OperationControlApiTest, QueriesAnswerTheOperationsValues)
{
    double point[3] = {1, 1, 0};
    double longX[3] = {4, 0, 0};
    double off[3] = {5, 9, -3};
    OperationSetDragLinear(m_tag, point, longX, off, &m_result);
    OperationSetNewRelation(m_tag, m_parallel, &m_result);
    OperationSetDragRelationValue(m_tag, m_distance, &m_result);
    double out[3] = {0, 0, 0};
    OperationGetStartPosition(m_tag, out, &m_result);
    EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{5, 1, 0}));
    OperationGetDirection(m_tag, out, &m_result);
    EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{1, 0, 0}));
    double matrix[4][4] = {{7}};
    OperationGetDragTransform(m_tag, matrix, &m_result);
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_EQ(matrix[0][0], 7);
    EXPECT_EQ(OperationGetDragValue(m_tag, 0, &m_result), 0.0);
    EXPECT_EQ(m_result, ResultTypeFail) << "a linear drag has no value of its own";
    EXPECT_EQ(OperationGetDragValue(m_tag, m_parallel, &m_result), 0.0);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "a relation without a drag value";

    Array<int> objects;
    EXPECT_EQ(OperationGetObjects(m_tag, &objects, &m_result), 2);
    EXPECT_EQ(GetArrayVector(objects), (std::vector<int>{std::min(m_distance, m_parallel), std::max(m_distance, m_parallel)}));
    EXPECT_EQ(OperationGetObjects(m_tag, nullptr, &m_result), 2);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
