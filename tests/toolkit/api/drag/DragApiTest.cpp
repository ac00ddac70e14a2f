// The drag calls as an application makes them on the block held by its relations: each step
// is an absolute position from the start, the end keeps the model, a step the relations
// forbid leaves the model as it was, and the drag slot refuses what does not belong to it.
#include "BlockDragFixture.h"

namespace QEL {
namespace testing {
namespace {

using DragApiTest = BlockDragTest;

TEST_F(DragApiTest, LinearDragStepsAreAbsoluteFromTheStartAndTheEndKeepsThem)
{
    StartLinearDrag();
    EXPECT_EQ(StepTo(35), UpdateApplied);
    EXPECT_NEAR(TopZ(), 35, 1e-6);
    EXPECT_EQ(StepTo(38), UpdateApplied);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_NEAR(TopZ(), 38, 1e-6);
    DragLinearEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeNone);
    EXPECT_NEAR(TopZ(), 38, 1e-6);
    EXPECT_NEAR(Height(), 30, 1e-6) << "the distance moved the bottom along";
    EXPECT_NEAR(Volume(), 10 * 20 * 30, 1e-6);
}

TEST_F(DragApiTest, AStepTheRelationsForbidFailsAndKeepsThePreviousModel)
{
    const int fixed[1] = {m_bottom};
    CreateRelation(m_tag, RelationTypeFixed, Array<int>(1, fixed), &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    StartLinearDrag();
    EXPECT_EQ(StepTo(35), UpdateSolveFailed);
    EXPECT_NEAR(TopZ(), 30, 1e-9);
    EXPECT_NEAR(Volume(), 10 * 20 * 30, 1e-6);
    DragLinearEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
}

// The end of another kind refuses and leaves the drag live: it can still be stepped and ended.
TEST_F(DragApiTest, AnEndOfAnotherKindLeavesTheDragLive)
{
    StartLinearDrag();
    DragPlanarEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeFail);
    DragByTransformEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_EQ(StepTo(33), UpdateApplied);
    EXPECT_NEAR(TopZ(), 33, 1e-6);
    DragLinearEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    DragLinearEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeDragInactive);
}

TEST_F(DragApiTest, TheSlotTakesOneDragAtATime)
{
    EXPECT_EQ(StepTo(35), UpdateUnknown);
    EXPECT_EQ(m_result, ResultTypeDragInactive);
    EXPECT_NEAR(TopZ(), 30, 1e-9);

    DragRelationValueStart(m_tag, m_distance, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    double point[3] = {0, 0, 0};
    DragLinearStart(m_tag, point, point, point, &m_result);
    EXPECT_EQ(m_result, ResultTypeDragActive);
    OptionSetExactDragging(m_tag, false, &m_result);
    EXPECT_EQ(m_result, ResultTypeDragActive);
    EXPECT_TRUE(OptionGetExactDragging(m_tag, &m_result));
    OperationSetDragByTransform(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOperationCombinationNotSupported);
    DragRelationValueEnd(m_tag, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);

    ClearSelections(m_tag, &m_result);
    DragPlanarStart(m_tag, point, point, point, &m_result);
    EXPECT_EQ(m_result, ResultTypeNoSelection);
}

TEST_F(DragApiTest, RelationValueDragMovesTheTopAndKeepsTheValue)
{
    DragRelationValueStart(m_tag, m_distance, &m_result);
    EXPECT_EQ(DragRelationValue(m_tag, 35, &m_result), UpdateApplied);
    EXPECT_EQ(m_result, ResultTypeOk);
    DragRelationValueEnd(m_tag, &m_result);
    EXPECT_NEAR(Height(), 35, 1e-6);
    EXPECT_NEAR(RelationGetValue(m_tag, m_distance, &m_result), 35, 1e-9);
    EXPECT_NEAR(Volume(), 10 * 20 * 35, 1e-6);
}

// A one-shot update in the middle of a drag refuses at once, before it touches the drag's
// update manager: the start mark stays, so the next step is still measured from the start.
TEST_F(DragApiTest, AnUpdateDuringADragLeavesItsStartMark)
{
    StartLinearDrag();
    ASSERT_EQ(StepTo(35), UpdateApplied);
    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    EXPECT_EQ(interaction->Update(nullptr), UpdateSolveFailed);
    EXPECT_EQ(StepTo(35), UpdateApplied);
    EXPECT_NEAR(TopZ(), 35, 1e-6);
    DragLinearEnd(m_tag, &m_result);
}

// With checks off, what the drag would read through or look up is still refused.
TEST_F(DragApiTest, NullArraysAndUnknownTagsAreRefusedWithChecksOff)
{
    OptionSetCheckArguments(m_tag, false, nullptr);
    double point[3] = {5, 10, 30};
    const struct {
        const char* name;
        std::function<void()> call;
    } cases[] = {
        {"linear start", [&] { DragLinearStart(m_tag, nullptr, point, point, &m_result); }},
        {"planar start", [&] { DragPlanarStart(m_tag, point, point, nullptr, &m_result); }},
        {"relation start", [&] { DragRelationValueStart(m_tag, m_top, &m_result); }},
        {"rotate start", [&] { DragByRotateTransformStart(m_tag, kUnknownTag, &m_result); }},
        {"linear step", [&] { DragLinearStep(m_tag, nullptr, &m_result); }},
        {"transform step", [&] { DragByTransformStep(m_tag, nullptr, &m_result); }},
        {"operation set", [&] { OperationSetDragRotate(m_tag, point, nullptr, &m_result); }},
        {"offset options", [&] {
             const int faces[1] = {m_topFace};
             OperationSetDragOffsetValues(m_tag, Array<int>(1, faces), kUnknownTag, &m_result);
         }},
        {"new relation", [&] { OperationSetNewRelation(m_tag, m_bottom, &m_result); }},
        {"relation step", [&] { OperationStepDragRelationValue(m_tag, 0, 1.0, &m_result); }},
        {"transform operation step", [&] { OperationStepDragByTransform(m_tag, nullptr, &m_result); }},
        {"offset values", [&] { OperationStepDragOffsetValues(m_tag, Array<double>(), &m_result); }},
        {"position query", [&] { OperationGetDragPosition(m_tag, nullptr, &m_result); }},
        {"transform query", [&] { OperationGetDragTransform(m_tag, nullptr, &m_result); }},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        m_result = ResultTypeOk;
        each.call();
        EXPECT_EQ(m_result, ResultTypeBadArgument);
        EXPECT_EQ(OperationGetType(m_tag, &m_result), OperationTypeNone);
    }
}

// Every step is in the journal with the update status it gave.
TEST_F(DragApiTest, TheJournalHoldsEveryStepWithItsStatus)
{
    OpenJournalFile();
    StartLinearDrag();
    StepTo(35);
    StepTo(38);
    DragLinearEnd(m_tag, &m_result);
    std::vector<std::string> steps;
    for (const XMLTreeNode& record : Records(ReadJournal()))
        if (Attribute(record, "name") == "DragLinearStep")
            steps.push_back(Attribute(record.GetChild("ReturnValue"), "value"));
    EXPECT_EQ(steps, (std::vector<std::string>{"UpdateApplied", "UpdateApplied"}));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
