// The relations an operation drives: their drag values, what a reset puts back, and the seeds
// and entities their references give.
#include "../SolverFixture.h"

#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/operations/SolverOperation.h"

namespace QEL {
namespace testing {
namespace {

class RelationValuesTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        m_topRef = Reference::Create(m_interaction, m_top, nullptr);
        m_bottomRef = Reference::Create(m_interaction, m_bottom, nullptr);
        m_distance = Relation::CreateBinary(m_interaction, RelationTypeDistance, m_topRef, m_bottomRef);
        ASSERT_NE(m_distance, nullptr);
    }

    Reference* m_topRef = nullptr;
    Reference* m_bottomRef = nullptr;
    Relation* m_distance = nullptr;
};

// Only a relation entered with a value takes a new one; reset puts back the relation's own.
TEST_F(RelationValuesTest, DragValuesAreReplacedOnlyWhereEnteredAndResetToTheRelation)
{
    SolverEvaluate edit(m_interaction);
    edit.AddRelation(m_distance);
    EXPECT_FALSE(edit.SetRelationDragValue(m_distance, 40));
    EXPECT_TRUE(edit.GetDragValues().empty());

    edit.AddRelationWithValue(m_distance, 35);
    EXPECT_TRUE(edit.SetRelationDragValue(m_distance, 40));
    EXPECT_EQ(edit.GetDragValues().at(m_distance), 40);
    EXPECT_EQ(edit.GetRelations().size(), 1u);

    edit.ResetDragValues();
    EXPECT_DOUBLE_EQ(edit.GetDragValues().at(m_distance), m_distance->GetValue());
    EXPECT_NEAR(m_distance->GetValue(), 30, 1e-9);

    edit.SetRelationDragValue(m_distance, 44);
    edit.WriteBackDragValues();
    EXPECT_EQ(m_distance->GetValue(), 44);
}

// A value the Solver has no bond for is refused.
TEST_F(RelationValuesTest, PushingAValueWithoutItsBondFails)
{
    SolverEvaluate edit(m_interaction);
    edit.AddRelationWithValue(m_distance, 35);
    EXPECT_EQ(edit.PushDragValues(m_solver.get()), ResultTypeFail);
}

// Seeds: a drag's selection first, then every relation reference; affected bodies follow.
TEST_F(RelationValuesTest, SeedsAreTheSelectionThenTheRelationReferences)
{
    const double origin[3] = {0, 0, 0};
    const double z[3] = {0, 0, 1};
    Reference* side = Reference::Create(m_interaction, m_side, nullptr);
    m_interaction->AddSelectedReference(side);
    SolverDragLinear drag(m_interaction, origin, z, origin);
    drag.AddRelation(m_distance);
    SolverOperation::SeedList seeds;
    drag.GetConfigureSeeds(seeds);
    const SolverOperation::SeedList expected = {{side->GetEntityTag(), nullptr},
                                                {m_topRef->GetEntityTag(), nullptr},
                                                {m_bottomRef->GetEntityTag(), nullptr}};
    EXPECT_EQ(seeds, expected);

    std::set<std::pair<int, Instance*>> entities;
    drag.GetRelationEntities(entities);
    EXPECT_EQ(entities.size(), 2u);
    std::set<int> bodies;
    drag.GetAffectedBodies(bodies);
    EXPECT_EQ(bodies, std::set<int>{m_block});
}

}  // namespace
}  // namespace testing
}  // namespace QEL
