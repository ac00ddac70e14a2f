// Relations carried through edits on a real block: a relation-value edit moves the free face
// to the new value, and a drag takes related faces along as their relations demand.
#include "../SolverFixture.h"

#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/operations/SolverOperation.h"

namespace QEL {
namespace testing {
namespace {

const double kOrigin[3] = {0, 0, 0};
const double kZ[3] = {0, 0, 1};

class RelationEditTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        m_topRef = Reference::Create(m_interaction, m_top, nullptr);
        m_bottomRef = Reference::Create(m_interaction, m_bottom, nullptr);
        m_sideRef = Reference::Create(m_interaction, m_side, nullptr);
    }
    // The selected face's geometry in the system, as the configure's seeds leave it before
    // the operation makes its drag group.
    void Select(Reference* reference)
    {
        m_solver->GetOrMakeGeometryToDrag(reference);
        ASSERT_TRUE(m_interaction->AddSelectedReference(reference));
    }
    Relation* Relate(RelationType type, std::vector<Reference*> references)
    {
        Relation* relation = Relation::Create(m_interaction, type, references);
        EXPECT_NE(relation, nullptr);
        return relation;
    }
    // The translation the last evaluation gave the reference's geometry, zero when unmoved.
    Vec Moved(Reference* reference) { return Translation(m_solver->FindGeometry(reference)); }

    Reference* m_topRef = nullptr;
    Reference* m_bottomRef = nullptr;
    Reference* m_sideRef = nullptr;
};

TEST_F(RelationEditTest, ValueEditOfADistanceMovesTheFreeFaceToTheNewValue)
{
    Relation* distance = Relate(RelationTypeDistance, {m_topRef, m_bottomRef});
    Relation* fixed = Relate(RelationTypeFixed, {m_bottomRef});
    ASSERT_NEAR(distance->GetValue(), 30, 1e-9);
    SolverEvaluate edit(m_interaction);
    edit.AddRelation(fixed);
    edit.AddRelationWithValue(distance, 42);
    ASSERT_EQ(edit.AddToSolver(m_solver.get()), ResultTypeOk);

    ASSERT_EQ(edit.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(m_topRef), Vec(0, 0, 12)), 1e-9);
    EXPECT_LT(Distance(Moved(m_bottomRef), Vec(0, 0, 0)), 1e-9);
    // The driven relation is free in the Solver and holds the value asked.
    double value = 0;
    ASSERT_TRUE(m_solver->GetRelationBonds(distance)->front()->GetValue(value));
    EXPECT_EQ(value, 42);
}

// Parallelism alone does not carry the opposite face along a translation; a distance does, and
// both faces then move by exactly the delta.
TEST_F(RelationEditTest, LinearDragCarriesTheOppositeFaceAsItsRelationsDemand)
{
    const struct {
        RelationType second;  // with parallel between top and bottom
        double bottomMoves;
    } cases[] = {{RelationTypeParallel, 0.0}, {RelationTypeDistance, 7.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        m_solver.reset(new Solver());
        m_interaction->RemoveSelectedReference(m_topRef);
        Select(m_topRef);
        const double start[3] = {3, 4, 30};
        SolverDragLinear drag(m_interaction, kOrigin, kZ, start);
        drag.AddRelation(Relate(RelationTypeParallel, {m_topRef, m_bottomRef}));
        drag.AddRelation(Relate(c.second, {m_topRef, m_bottomRef}));
        drag.AddToSolver(m_solver.get());
        ASSERT_NE(drag.GetDragGroup(), nullptr);
        const double to[3] = {3, 4, 37.5};
        drag.SetDragPosition(to);

        ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
        ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
        EXPECT_LT(Distance(Moved(m_topRef), Vec(0, 0, 7.5)), 1e-9);
        EXPECT_LT(Distance(Moved(m_bottomRef), Vec(0, 0, c.bottomMoves)), 1e-9);
    }
}

// A rotation turns a face held parallel to the dragged one by the same angle.
TEST_F(RelationEditTest, RotateDragTurnsAParallelFaceAlong)
{
    Reference* left = Reference::Create(m_interaction, BlockFace(m_block, -1, 0, 0), nullptr);
    Select(m_sideRef);
    const double corner[3] = {10, 0, 0};
    SolverDragRotate drag(m_interaction, corner, kZ);
    drag.AddRelation(Relate(RelationTypeParallel, {m_sideRef, left}));
    drag.AddToSolver(m_solver.get());
    drag.SetDragValue(0.3);

    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    double matrix[4][4];
    ASSERT_NE(Change(m_solver->FindGeometry(left), matrix), 0);
    EXPECT_NEAR(matrix[0][0], std::cos(0.3), 1e-9);
    EXPECT_NEAR(matrix[1][0], std::sin(0.3), 1e-9);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
