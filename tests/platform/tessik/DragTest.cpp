// Drags: exact ones land on their target or fail; non-exact ones come as close as allowed.
#include "TestHost.h"
#include "tessik_test.h"

#include <gtest/gtest.h>

#include <string>

using namespace tessik_host;

namespace {

const double kPi = 3.14159265358979323846;

void Fix(Host& h, Geometry* g) { h.System().fix(g->node); }

struct Matrix {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

Matrix Translation(V t)
{
    Matrix x;
    for (int i = 0; i < 3; ++i)
        x.m[i][3] = t[static_cast<size_t>(i)];
    return x;
}

// A turn by angle about the axis through point along z.
Matrix TurnAboutZ(V point, double angle)
{
    Matrix x;
    const double c = std::cos(angle), s = std::sin(angle);
    x.m[0][0] = c, x.m[0][1] = -s, x.m[1][0] = s, x.m[1][1] = c;
    x.m[0][3] = point[0] - (c * point[0] - s * point[1]);
    x.m[1][3] = point[1] - (s * point[0] + c * point[1]);
    return x;
}

int Drag(Host& h, std::vector<Geometry*> nodes, Matrix target, ZMR3_drag_transformation kind, bool exact,
         ZMR3_solve_type* solved = nullptr)
{
    std::vector<g_node*> handles;
    for (Geometry* g : nodes)
        handles.push_back(g->node);
    ZMR3_drag_result result = ZMR3_DRAG_BAD_INPUT;
    h.System().undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    const ZMR3_solve_type s =
        h.System().dynamic_evaluate(static_cast<int>(handles.size()), handles.data(), target.m, &result, kind,
                                    ZMR3_DRAG_MODE_MINIMUM_CHANGE, exact ? ZMR3_DRAG_EXACT : ZMR3_DRAG_APPROXIMATE);
    if (solved)
        *solved = s;
    return result;
}

TEST(Drag, ExactTranslationLandsOnTarget)
{
    Host h;
    auto p = h.Point({1, 2, 3});
    auto q = h.Point({4, 2, 3});
    h.Dim(ZMR3_DISTANCE, p, q, 3.0);
    ASSERT_EQ(Drag(h, {p}, Translation({0.5, -1, 2}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_OK);
    h.Apply();
    EXPECT_NEAR(Norm(p->p - V{1.5, 1, 5}), 0.0, 1e-8);
    EXPECT_NEAR(Norm(q->p - p->p), 3.0, 1e-8);
}

TEST(Drag, ExactDragThatRigidDimensionsForbidFailsAndMovesNothing)
{
    Host h;
    auto ground = h.Plane({0, 0, 0}, {0, 0, 1});
    Fix(h, ground);
    auto p = h.Point({1, 1, 5});
    h.Dim(ZMR3_DISTANCE, p, ground, 5.0);
    ASSERT_EQ(Drag(h, {p}, Translation({1, 1, 3}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_NOT_REACHED);
    EXPECT_EQ(h.Changed(p), 0);
}

TEST(Drag, ApproximateDragComesAsCloseAsAllowed)
{
    Host h;
    auto ground = h.Plane({0, 0, 0}, {0, 0, 1});
    Fix(h, ground);
    auto p = h.Point({1, 1, 5});
    h.Dim(ZMR3_DISTANCE, p, ground, 5.0);
    ZMR3_solve_type solved;
    ASSERT_EQ(Drag(h, {p}, Translation({1, 1, 3}), ZMR3_DT_TRANSLATION, false, &solved), ZMR3_DRAG_OK);
    EXPECT_EQ(solved, ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(Norm(p->p - V{2, 2, 5}), 0.0, 1e-8);
}

TEST(Drag, AxialRotationTurnsASetAboutTheAxis)
{
    Host h;
    auto edge = h.Line({2, 0, 0}, {0, 0, 1});
    auto corner = h.Point({3, 0, 1});
    auto set = h.Set({edge, corner});
    auto axis = h.Line({0, 0, 0}, {0, 0, 1});
    Fix(h, axis);
    ASSERT_EQ(Drag(h, {set, axis}, TurnAboutZ({0, 0, 0}, kPi / 2), ZMR3_DT_AXIAL_ROTATION, true), ZMR3_DRAG_OK);
    h.Apply();
    EXPECT_NEAR(Norm(corner->p - V{0, 3, 1}), 0.0, 1e-8);
    EXPECT_NEAR(Norm(Cross(edge->p, V{0, 1, 0})), 0.0, 1e-8);
}

TEST(Drag, GeneralTransformMovesARelativeTransformNode)
{
    Host h;
    const Matrix start = Translation({5, 0, 0});
    auto rt = h.RelativeTransform(start.m);
    Matrix target = TurnAboutZ({1, 1, 0}, 0.3);
    target.m[2][3] = 2.0;
    ASSERT_EQ(Drag(h, {rt}, target, ZMR3_DT_GENERAL, true), ZMR3_DRAG_OK);
    double m[4][4];
    ASSERT_EQ(h.System().transform(rt->node, m), ZMR3_CHANGE_RIGID);
    // The new absolute transform is the drag after the starting placement.
    const double c = std::cos(0.3), s = std::sin(0.3);
    EXPECT_NEAR(m[0][0], c, 1e-11);
    EXPECT_NEAR(m[1][0], s, 1e-11);
    EXPECT_NEAR(m[0][3], c * 5 + target.m[0][3], 1e-8);
    EXPECT_NEAR(m[1][3], s * 5 + target.m[1][3], 1e-8);
    EXPECT_NEAR(m[2][3], 2.0, 1e-8);
}

int RadiusDrag(Host& h, Geometry* g, double radius, bool exact)
{
    g_node* nodes[1] = {g->node};
    double values[1] = {radius};
    ZMR3_drag_transformation kinds[1] = {ZMR3_DT_RADIUS};
    ZMR3_drag_result result = ZMR3_DRAG_BAD_INPUT;
    h.System().undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    h.System().dynamic_evaluate(1, nodes, 0, nullptr, nullptr, values, &result, kinds, ZMR3_DRAG_MODE_MINIMUM_CHANGE,
                                exact ? ZMR3_DRAG_EXACT : ZMR3_DRAG_APPROXIMATE);
    return result;
}

TEST(Drag, RadiusDragLandsExactlyAndTangentGeometryFollows)
{
    Host h;
    auto cylinder = h.Cylinder({0, 0, 2}, {1, 0, 0}, 2.0);
    auto floor = h.Plane({0, 0, 0}, {0, 0, 1});
    Fix(h, floor);
    h.Dim(ZMR3_TANGENT, floor, cylinder);
    ASSERT_EQ(RadiusDrag(h, cylinder, 3.0, true), ZMR3_DRAG_OK);
    h.Apply();
    EXPECT_NEAR(cylinder->r1, 3.0, 1e-8);
    EXPECT_NEAR(cylinder->p[2], 3.0, 1e-8);
}

// Nested round shapes on one axis or centre, a rigid distance 1 between them: the inner one
// follows the outer one's radius, driven by a non-rigid radius or dragged.
struct NestedCase {
    const char* name;
    bool spheres;
    bool drag;  // a radius drag of the outer one, else a non-rigid radius on it
};

class NestedRounds : public ::testing::TestWithParam<NestedCase> {};

TEST_P(NestedRounds, InnerFollowsTheOuterRadius)
{
    const NestedCase& c = GetParam();
    Host h;
    Geometry* outer = c.spheres ? h.Sphere({1, 2, 3}, 10.0) : h.Cylinder({1, 2, 3}, {0, 0, 1}, 10.0);
    Geometry* inner = c.spheres ? h.Sphere({1, 2, 3}, 9.0) : h.Cylinder({1, 2, 3}, {0, 0, 1}, 9.0);
    h.Dim(ZMR3_CONCENTRIC, outer, inner);
    h.Dim(ZMR3_DISTANCE, outer, inner, 1.0);
    if (c.drag) {
        ASSERT_EQ(RadiusDrag(h, outer, 12.0, true), ZMR3_DRAG_OK);
    } else {
        h.Radius(ZMR3_RADIUS, outer, 12.0)->rigid = false;
        ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    }
    h.Apply();
    EXPECT_NEAR(outer->r1, 12.0, 1e-8);
    EXPECT_NEAR(inner->r1, 11.0, 1e-8);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(inner->p[i] - outer->p[i], 0.0, 1e-8);
}

INSTANTIATE_TEST_SUITE_P(Drag, NestedRounds,
                         ::testing::Values(NestedCase{"cylinders_radius", false, false},
                                           NestedCase{"spheres_radius", true, false},
                                           NestedCase{"cylinders_drag", false, true},
                                           NestedCase{"spheres_drag", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a concentric bond the radial form still keeps the shapes on one axis: the distance
// holds all round, not only at the nearest point.
TEST(Drag, DistanceBetweenCoaxialCylindersKeepsThemCoaxial)
{
    Host h;
    auto outer = h.Cylinder({0, 0, 0}, {0, 0, 1}, 10.0);
    auto inner = h.Cylinder({0, 0, 0}, {0, 0, 1}, 9.0);
    h.Dim(ZMR3_DISTANCE, outer, inner, 1.0);
    ASSERT_EQ(RadiusDrag(h, outer, 12.0, true), ZMR3_DRAG_OK);
    h.Apply();
    EXPECT_NEAR(inner->r1, 11.0, 1e-8);
    EXPECT_NEAR(Norm(Cross(inner->p - outer->p, outer->d)), 0.0, 1e-8);
}

TEST(Drag, ApproximateRadiusDragAgainstARigidRadiusStays)
{
    Host h;
    auto cylinder = h.Cylinder({0, 0, 2}, {1, 0, 0}, 2.0);
    h.Radius(ZMR3_RADIUS, cylinder, 2.0);
    EXPECT_EQ(RadiusDrag(h, cylinder, 3.0, false), ZMR3_DRAG_OK);
    EXPECT_EQ(h.Changed(cylinder), 0);
    EXPECT_EQ(RadiusDrag(h, cylinder, 3.0, true), ZMR3_DRAG_NOT_REACHED);
}

TEST(Drag, BadInputIsRefused)
{
    Host h;
    auto p = h.Point({0, 0, 0});
    EXPECT_EQ(Drag(h, {}, Translation({1, 0, 0}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_BAD_INPUT);
    Matrix sheared = Translation({1, 0, 0});
    sheared.m[0][1] = 0.5;
    EXPECT_EQ(Drag(h, {p}, sheared, ZMR3_DT_GENERAL, true), ZMR3_DRAG_BAD_INPUT);
    h.System().erase(p->node);
    EXPECT_EQ(Drag(h, {p}, Translation({1, 0, 0}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_BAD_INPUT);
    EXPECT_EQ(RadiusDrag(h, h.Point({1, 1, 1}), 2.0, true), ZMR3_DRAG_BAD_INPUT);
}

TEST(Drag, ForcedDragResultIsReportedOnceAndMovesNothing)
{
    Host h;
    auto p = h.Point({0, 0, 0});
    tessik_test::ForceDragResult(ZMR3_DRAG_NOT_REACHED);
    EXPECT_EQ(Drag(h, {p}, Translation({1, 0, 0}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_NOT_REACHED);
    EXPECT_EQ(h.Changed(p), 0);
    EXPECT_EQ(Drag(h, {p}, Translation({1, 0, 0}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_OK);
    EXPECT_EQ(h.Changed(p), ZMR3_CHANGE_RIGID);
}

}  // namespace

namespace {

TEST(Drag, ApproximateRotationAndGeneralTransformComeAsCloseAsAllowed)
{
    for (ZMR3_drag_transformation kind : {ZMR3_DT_AXIAL_ROTATION, ZMR3_DT_GENERAL}) {
        Host h;
        auto floor = h.Plane({0, 0, 1}, {0, 0, 1});
        Fix(h, floor);
        auto p = h.Point({1, 0, 1});
        h.Dim(ZMR3_COINCIDENT, p, floor);
        auto axis = h.Line({0, 0, 0}, {1, 0, 0});
        Fix(h, axis);
        // A quarter turn about x would take the point to (1, 1, 0); the floor keeps it at z = 1.
        Matrix turn;
        turn.m[1][1] = 0, turn.m[1][2] = 1, turn.m[2][1] = -1, turn.m[2][2] = 0;
        std::vector<Geometry*> nodes = {p};
        if (kind == ZMR3_DT_AXIAL_ROTATION)
            nodes.push_back(axis);
        ASSERT_EQ(Drag(h, nodes, turn, kind, false), ZMR3_DRAG_OK);
        h.Apply();
        EXPECT_NEAR(Norm(p->p - V{1, 1, 1}), 0.0, 1e-8);
        EXPECT_EQ(Drag(h, nodes, turn, kind, true), ZMR3_DRAG_NOT_REACHED);
    }
}

}  // namespace

namespace {

TEST(Drag, PlacedBodyDraggedThroughItsMainSetMovesItsRelativeTransformOnly)
{
    // A body placed once: the centre's frame in a fixed set, the placement's frame and
    // its positioning face in the placement's set, tied through the relative transform.
    Host h;
    const Matrix placement = TurnAboutZ({0, 0, 0}, 0.5);
    Matrix placed = placement;
    placed.m[0][3] = 4.0;
    auto rt = h.RelativeTransform(placed.m);
    auto cx = h.Line({0, 0, 0}, {1, 0, 0});
    auto cy = h.Line({0, 0, 0}, {0, 1, 0});
    Fix(h, h.Set({cx, cy}));
    const double c = std::cos(0.5), s = std::sin(0.5);
    auto ex = h.Line({4, 0, 0}, {c, s, 0});
    auto ey = h.Line({4, 0, 0}, {-s, c, 0});
    auto bodyFace = h.Plane({0, 0, 2}, {0, 0, 1});
    auto placedFace = h.Plane({4, 0, 2}, {0, 0, 1});
    auto main = h.Set({ex, ey, placedFace});
    h.RTConstraint(rt, cx, ex, true);
    h.RTConstraint(rt, cy, ey, true);
    h.RTConstraint(rt, bodyFace, placedFace, true);
    ASSERT_EQ(Drag(h, {main}, Translation({1, 2, 3}), ZMR3_DT_TRANSLATION, true), ZMR3_DRAG_OK);
    double m[4][4];
    ASSERT_EQ(h.System().transform(rt->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[0][3], 5.0, 1e-8);
    EXPECT_NEAR(m[1][3], 2.0, 1e-8);
    EXPECT_NEAR(m[2][3], 3.0, 1e-8);
    EXPECT_NEAR(m[1][0], s, 1e-11);
    EXPECT_EQ(h.Changed(bodyFace), 0);
    EXPECT_EQ(h.Changed(cx), 0);
    EXPECT_EQ(h.Changed(placedFace), ZMR3_CHANGE_RIGID);
}

}  // namespace
