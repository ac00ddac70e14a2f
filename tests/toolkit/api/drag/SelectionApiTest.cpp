// The selection and solution-data calls: the registry decides what may be selected, checks on
// or off, and a kept solution answers each moved face's transform.
#include "BlockDragFixture.h"

namespace QEL {
namespace testing {
namespace {

using SelectionApiTest = BlockDragTest;

// A tag that names no reference of this interaction is never selected: not one of another
// interaction's, not one that has gone.
TEST_F(SelectionApiTest, OnlyTheInteractionsOwnReferencesAreSelected)
{
    Interaction::SetAllowMultipleInteractions(true);
    const int other = NewInteraction();
    const int foreign = CreateReference(other, m_topFace, 0, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    for (bool checksOn : {true, false}) {
        SCOPED_TRACE(checksOn);
        OptionSetCheckArguments(m_tag, checksOn, nullptr);
        for (int tag : {foreign, kUnknownTag, 0}) {
            AddSelection(m_tag, tag, &m_result);
            EXPECT_EQ(m_result, ResultTypeBadArgument);
        }
        EXPECT_EQ(GetSelectionCount(m_tag, &m_result), 1);
    }
}

TEST_F(SelectionApiTest, SelectionKeepsEachReferenceOnceInOrder)
{
    AddSelection(m_tag, m_bottom, &m_result);
    AddSelection(m_tag, m_top, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(GetSelectionCount(m_tag, &m_result), 2);
    EXPECT_EQ(GetSelection(m_tag, 1, &m_result), m_bottom);
    for (int index : {-1, 2}) {
        EXPECT_EQ(GetSelection(m_tag, index, &m_result), 0);
        EXPECT_EQ(m_result, ResultTypeBadArgument);
    }
    RemoveSelection(m_tag, m_top, &m_result);
    EXPECT_EQ(GetSelection(m_tag, 0, &m_result), m_bottom);
    ClearSelections(m_tag, &m_result);
    EXPECT_EQ(GetSelectionCount(m_tag, &m_result), 0);
}

// With the mode on, the step's solution is kept and the top's transform read back; a null
// matrix is refused, not written.
TEST_F(SelectionApiTest, SolutionDataAnswersTheTransformOfTheLastStep)
{
    double matrix[4][4] = {{0}};
    EXPECT_FALSE(SolutionDataGetEntityTransform(m_tag, m_topFace, matrix, &m_result));
    OptionSetSolutionDataMode(m_tag, SolutionDataModeOn, &m_result);
    EXPECT_EQ(OptionGetSolutionDataMode(m_tag, &m_result), SolutionDataModeOn);
    StartLinearDrag();
    ASSERT_EQ(StepTo(34), UpdateApplied);
    EXPECT_TRUE(SolutionDataGetEntityTransform(m_tag, m_topFace, matrix, &m_result));
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_NEAR(matrix[2][3], 4, 1e-6);
    EXPECT_EQ(matrix[3][3], 1);
    EXPECT_FALSE(SolutionDataGetEntityTransform(m_tag, m_topFace, nullptr, &m_result));
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    DragLinearEnd(m_tag, &m_result);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
