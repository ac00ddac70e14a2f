// The drags on real bodies: the selection moves as one body by what the drag asks, an empty
// selection gives no drag, and a drag put back to its start forgets where it was dragged.
#include "../SolverFixture.h"

#include "model/references/Reference.h"
#include "solver/RigidGroup.h"
#include "solver/operations/SolverOperation.h"

#include <memory>

namespace QEL {
namespace testing {
namespace {

const double kOrigin[3] = {0, 0, 0};
const double kZ[3] = {0, 0, 1};

class DragTest : public BlockSolverTest {
protected:
    // The faces' geometry in the system, as configure leaves it, and the first one selected.
    void Prepare(std::vector<int> faces)
    {
        for (int face : faces)
            Geom(face)->AddToZMR();
        ASSERT_TRUE(m_interaction->AddSelectedReference(Reference::Create(m_interaction, faces[0], nullptr)));
    }
    Vec Moved(int face) { return Translation(Geom(face)); }
};

TEST_F(DragTest, LinearDragMovesTheSelectedFaceByExactlyTheDelta)
{
    Prepare({m_top, m_bottom});
    const double start[3] = {3, 4, 30};
    SolverDragLinear drag(m_interaction, kOrigin, kZ, start);
    drag.AddToSolver(m_solver.get());
    ASSERT_NE(drag.GetDragGroup(), nullptr);
    const double to[3] = {7, -2, 37.5};
    ASSERT_EQ(drag.SetDragPosition(to), ResultTypeOk);

    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(m_top), Vec(0, 0, 7.5)), 1e-9);
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 0)), 1e-9);
}

// Start and drag position are the feet of the perpendiculars on the line, and the direction
// is answered as unit, whatever length it was given with.
TEST_F(DragTest, LinearAndPlanarDragsProjectTheirPositions)
{
    const double point[3] = {1, 1, 0};
    const double longX[3] = {4, 0, 0};
    const double off[3] = {5, 9, -3};
    double out[3] = {0, 0, 0};

    SolverDragLinear line(m_interaction, point, longX, off);
    line.GetStartPosition(out);
    EXPECT_LT(Distance(Vec(out[0], out[1], out[2]), Vec(5, 1, 0)), 1e-12);
    const double elsewhere[3] = {-2, 7, 7};
    line.SetDragPosition(elsewhere);
    line.GetDragPosition(out);
    EXPECT_LT(Distance(Vec(out[0], out[1], out[2]), Vec(-2, 1, 0)), 1e-12);
    line.GetDirection(out);
    EXPECT_LT(Distance(Vec(out[0], out[1], out[2]), Vec(1, 0, 0)), 1e-12);

    const double zero[3] = {0, 0, 0};
    SolverDragPlanar plane(m_interaction, point, zero, off);  // a zero normal is Z
    plane.GetStartPosition(out);
    EXPECT_LT(Distance(Vec(out[0], out[1], out[2]), Vec(5, 9, 0)), 1e-12);
    plane.GetDirection(out);
    EXPECT_LT(Distance(Vec(out[0], out[1], out[2]), Vec(0, 0, 1)), 1e-12);
}

// Without a selection no drag has a group: stating the desired change does nothing and the
// solve fails with ResultTypeFail, for every kind of drag.
TEST_F(DragTest, EmptySelectionGivesNoDrag)
{
    std::vector<std::unique_ptr<SolverDragOperation>> drags;
    drags.emplace_back(new SolverDragLinear(m_interaction, kOrigin, kZ, kOrigin));
    drags.emplace_back(new SolverDragPlanar(m_interaction, kOrigin, kZ, kOrigin));
    drags.emplace_back(new SolverDragRotate(m_interaction, kOrigin, kZ));
    drags.emplace_back(new SolverDragByTransform(m_interaction, 0, nullptr));
    for (auto& drag : drags) {
        SCOPED_TRACE(&drag - &drags[0]);
        EXPECT_EQ(drag->AddToSolver(m_solver.get()), ResultTypeOk);
        EXPECT_EQ(drag->GetDragGroup(), nullptr);
        UpdateStatus status = UpdateUnknown;
        EXPECT_TRUE(drag->AddDesiredChange(m_solver.get(), nullptr, status));
        EXPECT_EQ(drag->Solve(m_solver.get()), ResultTypeFail);
        EXPECT_EQ(m_solver->GetSolveStatus(), SolveStatusNotEvaluated);
    }
}

TEST_F(DragTest, RotateDragTurnsTheSelectionAboutItsFixedAxis)
{
    Prepare({m_side, m_bottom});
    // The axis along Z through the block's corner edge at x = 10, y = 0.
    const double corner[3] = {10, 0, 0};
    SolverDragRotate drag(m_interaction, corner, kZ);
    drag.AddToSolver(m_solver.get());
    ASSERT_NE(drag.GetAxisLine(), nullptr);
    EXPECT_TRUE(drag.GetAxisLine()->IsFixed());
    drag.SetDragValue(M_PI / 2);

    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    // A quarter turn about the axis: x goes to y, and the axis point stays.
    double matrix[4][4];
    ASSERT_NE(Change(Geom(m_side), matrix), 0);
    EXPECT_LT(Distance(Vec(matrix[0][0], matrix[1][0], matrix[2][0]), Vec(0, 1, 0)), 1e-9);
    EXPECT_LT(Distance(Vec(matrix[0][3], matrix[1][3], matrix[2][3]), Vec(10, -10, 0)), 1e-9);
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 0)), 1e-9);
}

// A re-configure builds a new axis line; the old one leaves the system instead of staying
// there fixed (and unowned).
TEST_F(DragTest, RotateDragReconfiguredErasesItsOldAxisLine)
{
    Prepare({m_side});
    SolverDragRotate drag(m_interaction, kOrigin, kZ);
    drag.AddToSolver(m_solver.get());
    tessik_test::EnableCallLog(true);
    tessik_test::ClearCallLog();
    drag.AddToSolver(m_solver.get());
    tessik_test::EnableCallLog(false);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::erase"), 1);
    drag.SetDragValue(0.25);
    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    EXPECT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
}

TEST_F(DragTest, TransformDragFailsWithoutItsAxisOrAKnownKind)
{
    Prepare({m_top});
    for (int kind : {2, 3}) {
        SCOPED_TRACE(kind);
        SolverDragByTransform drag(m_interaction, kind, nullptr);
        drag.AddToSolver(m_solver.get());
        ASSERT_NE(drag.GetDragGroup(), nullptr);
        EXPECT_EQ(drag.Solve(m_solver.get()), ResultTypeFail);
    }
    SolverDragByTransform drag(m_interaction, 1, nullptr);
    drag.AddToSolver(m_solver.get());
    double shift[4][4];
    Xform xform;
    xform.SetToTranslation(Vec(0, 0, -4));
    xform.Get4x4(shift);
    drag.SetDragTransform(shift);
    ASSERT_EQ(drag.Solve(m_solver.get()), ResultTypeOk);
    ASSERT_EQ(m_solver->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(m_top), Vec(0, 0, -4)), 1e-9);
}

// Slots a drag does not answer fail and leave their outputs alone; the rest answer.
TEST_F(DragTest, UnansweredSlotsFailAndChangeNothing)
{
    SolverDragLinear line(m_interaction, kOrigin, kZ, kOrigin);
    SolverDragRotate rotate(m_interaction, kOrigin, kZ);
    SolverDragByTransform transform(m_interaction, 0, nullptr);
    double value = 42;
    double position[3] = {7, 7, 7};
    double matrix[4][4] = {{9}};
    EXPECT_EQ(line.SetDragValue(1.0), ResultTypeFail);
    EXPECT_EQ(line.GetDragValue(value), ResultTypeFail);
    EXPECT_EQ(line.GetDragTransform(matrix), ResultTypeFail);
    EXPECT_EQ(rotate.GetDragPosition(position), ResultTypeFail);
    EXPECT_EQ(rotate.GetStartPosition(position), ResultTypeFail);
    EXPECT_EQ(transform.SetDragValue(1.0), ResultTypeFail);
    EXPECT_EQ(transform.GetDirection(position), ResultTypeFail);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(position[0], 7);
    EXPECT_EQ(matrix[0][0], 9);
    EXPECT_FALSE(transform.EnableDimensionAnimation());
    EXPECT_TRUE(line.EnableDimensionAnimation());
}

// Reset puts every drag back to its start: position, angle and transform, and drops what
// belonged to the Solver, so a drag with dimension animation then fails for want of its bond.
TEST_F(DragTest, ResetDragValuesRestoresTheStart)
{
    Prepare({m_top});
    const double start[3] = {0, 0, 30};
    SolverDragLinear line(m_interaction, kOrigin, kZ, start);
    line.AddToSolver(m_solver.get());
    const double to[3] = {0, 0, 33};
    line.SetDragPosition(to);
    line.ResetDragValues();
    double out[3];
    line.GetDragPosition(out);
    EXPECT_EQ(out[2], 30);
    EXPECT_EQ(line.GetDragGroup(), nullptr);
    EXPECT_EQ(line.Solve(m_solver.get()), ResultTypeFail);

    SolverDragRotate rotate(m_interaction, kOrigin, kZ);
    rotate.AddToSolver(m_solver.get());
    rotate.SetDragValue(7.5);  // kept as given, no wrapping
    double angle = 0;
    rotate.GetDragValue(angle);
    EXPECT_EQ(angle, 7.5);
    rotate.ResetDragValues();
    rotate.GetDragValue(angle);
    EXPECT_EQ(angle, 0);
    EXPECT_EQ(rotate.GetAxisLine(), nullptr);

    SolverDragByTransform transform(m_interaction, 0, nullptr);
    double shift[4][4];
    Xform xform;
    xform.SetToTranslation(Vec(1, 2, 3));
    xform.Get4x4(shift);
    transform.SetDragTransform(shift);
    transform.ResetDragValues();
    transform.GetDragTransform(shift);
    EXPECT_TRUE(Xform(shift).IsIdentity());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
