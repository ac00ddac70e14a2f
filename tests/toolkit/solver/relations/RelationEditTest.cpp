// Relations carried through edits on a real block: a relation-value edit moves the free face
// to the new value, and a drag takes related faces along as their relations demand.
#include "../SolverFixture.h"

#include "model/Reference.h"
#include "model/Relation.h"
#include "solver/SolverOperation.h"

namespace QEL {
namespace testing {
namespace {

const double kOrigin[3] = {0, 0, 0};
const double kZ[3] = {0, 0, 1};

class RelationEditTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_top = Reference::Create(m_interaction, BlockFace(m_block, 0, 0, 1), nullptr);
        m_bottom = Reference::Create(m_interaction, BlockFace(m_block, 0, 0, -1), nullptr);
        m_side = Reference::Create(m_interaction, BlockFace(m_block, 1, 0, 0), nullptr);
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
    Vec Moved(Reference* reference)
    {
        double matrix[4][4];
        GeometryBase* geometry = m_solver->FindGeometry(reference);
        if (!geometry || Change(geometry, matrix) == 0)
            return Vec(0, 0, 0);
        return Vec(matrix[0][3], matrix[1][3], matrix[2][3]);
    }

    int m_block = 0;
    Reference* m_top = nullptr;
    Reference* m_bottom = nullptr;
    Reference* m_side = nullptr;
};

TEST_F(RelationEditTest, ValueEditOfADistanceMovesTheFreeFaceToTheNewValue)
{
    Relation* distance = Relate(RelationTypeDistance, {m_top, m_bottom});
    Relation* fixed = Relate(RelationTypeFixed, {m_bottom});
    ASSERT_NEAR(distance->GetValue(), 30, 1e-9);
    SolverEvaluate edit(m_interaction);
    edit.AddRelation(fixed);
    edit.AddRelationWithValue(distance, 42);
    ASSERT_EQ(edit.AddToSolver(m_solver.get()), ResultTypeOk);

    ASSERT_EQ(edit.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(m_top), Vec(0, 0, 12)), 1e-9);
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 0)), 1e-9);
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
        m_interaction->RemoveSelectedReference(m_top);
        Select(m_top);
        const double start[3] = {3, 4, 30};
        SolverDragLinear drag(m_interaction, kOrigin, kZ, start);
        drag.AddRelation(Relate(RelationTypeParallel, {m_top, m_bottom}));
        drag.AddRelation(Relate(c.second, {m_top, m_bottom}));
        drag.AddToSolver(m_solver.get());
        ASSERT_NE(drag.GetDragGroup(), nullptr);
        const double to[3] = {3, 4, 37.5};
        drag.SetDragPosition(to);

        ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
        ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
        EXPECT_LT(Distance(Moved(m_top), Vec(0, 0, 7.5)), 1e-9);
        EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, c.bottomMoves)), 1e-9);
    }
}

// A rotation turns a face held parallel to the dragged one by the same angle.
TEST_F(RelationEditTest, RotateDragTurnsAParallelFaceAlong)
{
    Reference* left = Reference::Create(m_interaction, BlockFace(m_block, -1, 0, 0), nullptr);
    Select(m_side);
    const double corner[3] = {10, 0, 0};
    SolverDragRotate drag(m_interaction, corner, kZ);
    drag.AddRelation(Relate(RelationTypeParallel, {m_side, left}));
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
