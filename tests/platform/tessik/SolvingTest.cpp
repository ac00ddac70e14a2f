// Solving: what moves, what stays, and the statuses that say why.
#include "TestHost.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessik_host;

namespace {

void Fix(Host& h, Geometry* g) { h.System().fix(g->node); }

TEST(Solving, SatisfiedSystemMovesNothing)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({3, 1, 5}, {0, 0, 1});
    auto c = h.Cylinder({0, 0, 6.5}, {1, 0, 0}, 1.5);
    h.Dim(ZMR3_DISTANCE, a, b, 5.0);
    h.Dim(ZMR3_TANGENT, b, c);
    h.Radius(ZMR3_RADIUS, c, 1.5);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    for (auto& g : h.Geometries())
        EXPECT_EQ(h.Changed(g.get()), 0);
}

TEST(Solving, SatisfiedComponentIsUntouchedWhileAnotherIsSolved)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 5}, {0, 0, 1});
    h.Dim(ZMR3_DISTANCE, a, b, 5.0);
    auto c = h.Point({10, 0, 0});
    auto d = h.Point({13, 0, 0});
    Fix(h, c);
    h.Dim(ZMR3_DISTANCE, c, d, 4.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Changed(a), 0);
    EXPECT_EQ(h.Changed(b), 0);
    EXPECT_EQ(h.Changed(d), ZMR3_CHANGE_RIGID);
}

// Bonded planes with points outside every bond between them: each plane takes its own change,
// and the points, which nothing ties to anything, stay where they are.
TEST(Solving, GeometryOutsideEveryBondStaysWhileTheBondedGeometryBetweenItSolves)
{
    Host h;
    std::vector<Geometry*> planes, points;
    for (int i = 0; i < 4; ++i) {
        points.push_back(h.Point({100.0 + i, 0, 0}));
        planes.push_back(h.Plane({0, 0, 5.0 * i}, {0, 0, 1}));
    }
    Fix(h, planes[0]);
    for (size_t i = 0; i + 1 < planes.size(); ++i)
        h.Dim(ZMR3_DISTANCE, planes[i], planes[i + 1], 6.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    for (size_t i = 0; i < planes.size(); ++i)
        EXPECT_NEAR(planes[i]->p[2], 6.0 * static_cast<double>(i), 1e-9) << "plane " << i;
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(h.Changed(points[i]), 0) << "point " << i;
        EXPECT_EQ(h.Status(points[i]), ZMR3_G_STATUS_SOLVED) << "point " << i;
        EXPECT_EQ(points[i]->p[0], 100.0 + static_cast<double>(i)) << "point " << i;
    }
}

// Separate pairs, each a component of its own, solved one after another: each top plane
// takes its own pair's change and no other's.
TEST(Components, EachOfManyReachesItsOwnValue)
{
    Host h;
    std::vector<Geometry*> tops;
    for (int i = 0; i < 6; ++i) {
        Geometry* base = h.Plane({20.0 * i, 0, 0}, {0, 0, 1});
        tops.push_back(h.Plane({20.0 * i, 0, 10}, {0, 0, 1}));
        Fix(h, base);
        h.Dim(ZMR3_DISTANCE, base, tops.back(), 10.0 + i);
    }
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    for (size_t i = 0; i < tops.size(); ++i)
        EXPECT_NEAR(tops[i]->p[2], 10.0 + static_cast<double>(i), 1e-9) << "pair " << i;
}

TEST(Solving, FixedNodeNeverMoves)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 5}, {0.1, 0, 1});
    Fix(h, b);
    h.Dim(ZMR3_DISTANCE, a, b, 7.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Changed(b), 0);
    EXPECT_EQ(h.Status(b), ZMR3_G_STATUS_FIXED);
    h.Apply();
    EXPECT_NEAR(Dot(b->d, a->p - b->p), -7.0, 1e-8);
}

// The weighting rule of the interface: the least total change, shared by cost.
TEST(WeightingRule, TwoLoosePlanesShareAGrowingDistance)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 10}, {0, 0, 1});
    h.Dim(ZMR3_DISTANCE, a, b, 12.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(a->p[2], -1.0, 1e-8);
    EXPECT_NEAR(b->p[2], 11.0, 1e-8);
}

TEST(WeightingRule, SetOfThreePaysForEachMember)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 10}, {0, 0, 1});
    auto b2 = h.Plane({0, 0, 11}, {0, 0, 1});
    auto b3 = h.Plane({0, 0, 12}, {0, 0, 1});
    h.Set({b, b2, b3});
    h.Dim(ZMR3_DISTANCE, a, b, 12.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(a->p[2], -1.5, 1e-8);
    EXPECT_NEAR(b->p[2], 10.5, 1e-8);
    EXPECT_NEAR(b3->p[2], 12.5, 1e-8);
}

TEST(WeightingRule, FixedPartnerLeavesTheWholeChangeToTheOther)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 10}, {0, 0, 1});
    Fix(h, a);
    h.Dim(ZMR3_DISTANCE, a, b, 12.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_EQ(a->p[2], 0.0);
    EXPECT_NEAR(b->p[2], 12.0, 1e-8);
}

TEST(WeightingRule, TurnsCostTheSizeSquaredPerRadian)
{
    // A point 5 along and 1 above a loose plane: sliding costs 1 per unit, tilting
    // 1000^2 per radian, so the plane slides L^2 / (L^2 + 25) and tilts the rest.
    Host h;
    auto plane = h.Plane({0, 0, 0}, {0, 0, 1});
    auto point = h.Point({5, 0, 1});
    Fix(h, point);
    h.Dim(ZMR3_COINCIDENT, point, plane);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    const double l2 = 1000.0 * 1000.0;
    EXPECT_NEAR(plane->p[2], l2 / (l2 + 25.0), 1e-8);
    EXPECT_NEAR(std::asin(plane->d[0]), -5.0 / (l2 + 25.0), 1e-11);
}

TEST(Solving, RigidSetMovesAsOne)
{
    Host h;
    auto ground = h.Plane({0, 0, 0}, {0, 0, 1});
    Fix(h, ground);
    auto face = h.Plane({0, 0, 4}, {0.05, 0, 1});
    auto edge = h.Line({1, 2, 4}, {1, 0, 0});
    auto corner = h.Point({3, 3, 3});
    auto set = h.Set({face, edge, corner});
    h.Dim(ZMR3_DISTANCE, ground, face, 6.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    double mf[4][4], me[4][4], mc[4][4], ms[4][4];
    ASSERT_EQ(h.System().transform(face->node, mf), ZMR3_CHANGE_RIGID);
    ASSERT_EQ(h.System().transform(edge->node, me), ZMR3_CHANGE_RIGID);
    ASSERT_EQ(h.System().transform(corner->node, mc), ZMR3_CHANGE_RIGID);
    ASSERT_EQ(h.System().transform(set->node, ms), ZMR3_CHANGE_RIGID);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            EXPECT_DOUBLE_EQ(mf[i][j], me[i][j]);
            EXPECT_DOUBLE_EQ(mf[i][j], mc[i][j]);
            EXPECT_DOUBLE_EQ(mf[i][j], ms[i][j]);
        }
    const double before = Norm(corner->p - edge->p);
    h.Apply();
    EXPECT_NEAR(Norm(corner->p - edge->p), before, 1e-9);
    EXPECT_NEAR(Dot(face->d, face->p), 6.0, 1e-8);
}

TEST(Solving, ConflictingDimensionsFailAndMoveNothing)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 5}, {0, 0, 1});
    Fix(h, a);
    auto ten = h.Dim(ZMR3_DISTANCE, a, b, 10.0);
    auto twelve = h.Dim(ZMR3_DISTANCE, a, b, 12.0);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(ten), ZMR3_D_STATUS_OVER_DEFINED);
    EXPECT_EQ(h.Status(twelve), ZMR3_D_STATUS_OVER_DEFINED);
    EXPECT_EQ(h.Status(b), ZMR3_G_STATUS_OVER_DEFINED);
    EXPECT_EQ(h.Changed(b), 0);
}

TEST(Solving, DimensionBetweenFixedGeometryThatDoesNotHoldIsOverDefined)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({0, 0, 5});
    Fix(h, a);
    Fix(h, b);
    auto d = h.Dim(ZMR3_DISTANCE, a, b, 4.0);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(d), ZMR3_D_STATUS_OVER_DEFINED);
}

TEST(Solving, MismatchWithinTheResolutionStillHolds)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 10.000000005}, {0, 0, 1});
    Fix(h, a);
    Fix(h, b);
    auto d = h.Dim(ZMR3_DISTANCE, a, b, 10.0);
    EXPECT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Status(d), ZMR3_D_STATUS_SATISFIED);
}

TEST(Solving, NonRigidDimensionIsDrivenAndGivesWayToRigidOnes)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 5}, {0, 0, 1});
    Fix(h, a);
    auto driven = h.Dim(ZMR3_DISTANCE, a, b, 8.0);
    driven->rigid = false;
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Status(driven), ZMR3_D_STATUS_SATISFIED);

    auto held = h.Dim(ZMR3_DISTANCE, a, b, 5.0);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(held), ZMR3_D_STATUS_SATISFIED);
    EXPECT_EQ(h.Status(driven), ZMR3_D_STATUS_NOT_REACHED);
    EXPECT_EQ(h.Changed(b), 0);
}

struct BadInputCase {
    const char* name;
    std::function<Bond*(Host&, Geometry*&)> build;  // the bond, and the geometry that must not move
    int dimensionStatus;
};

class BadInput : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, GivesAStatusThatSaysSoAndMovesNothing)
{
    Host h;
    Geometry* stays = nullptr;
    Bond* bond = GetParam().build(h, stays);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(bond), GetParam().dimensionStatus);
    EXPECT_EQ(h.Changed(stays), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        BadInputCase{"UnsupportedPair",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Point({0, 0, 1});
                         return h.Dim(ZMR3_TANGENT, h.Point({0, 0, 0}), stays, 0.0);
                     },
                     ZMR3_D_STATUS_UNSUPPORTED},
        BadInputCase{"UnsupportedType",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Point({0, 0, 1});
                         return h.Dim(ZMR3_MIDPOINT, h.Point({0, 0, 0}), stays, 0.0);
                     },
                     ZMR3_D_STATUS_UNSUPPORTED},
        BadInputCase{"ZeroDirection",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Point({0, 0, 3});
                         Geometry flat;
                         flat.type = ZMR3_G_PLANE;
                         flat.d = {0, 0, 0};
                         return h.Dim(ZMR3_DISTANCE, h.Add(flat), stays, 5.0);
                     },
                     ZMR3_D_STATUS_BAD_GEOMETRY},
        BadInputCase{"NegativeRadiusGeometry",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Plane({0, 0, 0}, {0, 0, 1});
                         return h.Dim(ZMR3_TANGENT, stays, h.Cylinder({0, 0, 3}, {1, 0, 0}, -1.0));
                     },
                     ZMR3_D_STATUS_BAD_GEOMETRY},
        BadInputCase{"NegativeDistanceValue",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Plane({0, 0, 3}, {0, 0, 1});
                         return h.Dim(ZMR3_DISTANCE, h.Plane({0, 0, 0}, {0, 0, 1}), stays, -2.0);
                     },
                     ZMR3_D_STATUS_BAD_VALUE},
        BadInputCase{"NegativeRadiusValue",
                     [](Host& h, Geometry*& stays) {
                         stays = h.Cylinder({0, 0, 0}, {0, 0, 1}, 2.0);
                         return h.Radius(ZMR3_RADIUS, stays, -1.0);
                     },
                     ZMR3_D_STATUS_BAD_VALUE}),
    [](const ::testing::TestParamInfo<BadInputCase>& info) { return info.param.name; });

TEST(Solving, BadGeometryReportsItsOwnStatus)
{
    Host h;
    Geometry flat;
    flat.type = ZMR3_G_PLANE;
    flat.d = {0, 0, 0};
    auto bad = h.Add(flat);
    h.Dim(ZMR3_DISTANCE, bad, h.Point({0, 0, 1}), 5.0);
    h.Solve();
    EXPECT_EQ(h.Status(bad), ZMR3_G_STATUS_BAD_GEOMETRY);
}

TEST(Solving, UndoForgetsTheChanges)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    Fix(h, a);
    h.Dim(ZMR3_DISTANCE, a, b, 2.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    ASSERT_EQ(h.Changed(b), ZMR3_CHANGE_RIGID);
    h.System().undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    EXPECT_EQ(h.Changed(b), 0);
}

TEST(Solving, ShapeChangesAreReportedByMaskAndValue)
{
    Host h;
    auto torus = h.Torus({0, 0, 0}, {0, 0, 1}, 5.0, 1.0);
    auto cone = h.Cone({9, 0, 0}, {0, 0, 1}, 1.0, 0.3);
    Fix(h, torus);
    h.System().fix(torus->node);  // back to free: shapes may change
    h.Radius(ZMR3_MAJOR_RADIUS, torus, 6.0);
    h.Radius(ZMR3_MINOR_RADIUS, torus, 0.75);
    h.Radius(ZMR3_HALF_ANGLE, cone, 0.5);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    double m[4][4], first = 0, second = 0;
    EXPECT_EQ(h.System().transform(torus->node, m, &first, &second), ZMR3_CHANGE_RADIUS | ZMR3_CHANGE_MINOR_RADIUS);
    EXPECT_NEAR(first, 1.0, 1e-8);
    EXPECT_NEAR(second, -0.25, 1e-8);
    EXPECT_EQ(h.System().transform(cone->node, m, &first, &second), ZMR3_CHANGE_HALF_ANGLE);
    EXPECT_NEAR(first, 0.2, 1e-11);
}

TEST(RelativeTransforms, NodeAnswersItsNewAbsoluteTransform)
{
    Host h;
    const double placement[4][4] = {{0, -1, 0, 10}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    auto rt = h.RelativeTransform(placement);
    auto bodyFace = h.Plane({0, 0, 1}, {0, 0, 1});       // in the body's own frame
    auto placedFace = h.Plane({10, 0, 1}, {0, 0, 1});    // the same face as placed
    Fix(h, bodyFace);
    h.RTConstraint(rt, bodyFace, placedFace, true);
    auto ground = h.Plane({0, 0, 0}, {0, 0, 1});
    Fix(h, ground);
    h.Dim(ZMR3_DISTANCE, ground, placedFace, 3.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    double m[4][4];
    ASSERT_EQ(h.System().transform(rt->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[0][1], -1.0, 1e-11);
    EXPECT_NEAR(m[1][0], 1.0, 1e-11);
    EXPECT_NEAR(m[0][3], 10.0, 1e-8);
    EXPECT_NEAR(m[2][3], 2.0, 1e-8);
    EXPECT_EQ(h.Changed(bodyFace), 0);
}

TEST(Patterns, FourOccurrencesKeepTheirSpacingWhileTheSpacingIsDriven)
{
    Host h;
    auto direction = h.Line({0, 0, 0}, {1, 0, 0});
    Fix(h, direction);
    auto pattern = h.Pattern(direction, JUN_PATTERN_LINEAR, 2.0);
    std::vector<Geometry*> occurrences;
    for (int i = 0; i < 4; ++i)
        occurrences.push_back(h.Point({2.0 * i, 1, 0}));
    Fix(h, occurrences[0]);
    for (int i = 1; i < 4; ++i)
        h.PatternConstraint(pattern, occurrences[static_cast<size_t>(i - 1)], occurrences[static_cast<size_t>(i)], 1);
    auto spacing = h.Spacing(pattern, 3.0, false);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Status(spacing), ZMR3_D_STATUS_SATISFIED);
    double value = 0.0;
    ASSERT_EQ(h.System().extended_dimension_system()->enquire_pattern_value(pattern->node, &value), 1);
    EXPECT_NEAR(value, 3.0, 1e-8);
    h.Apply();
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(occurrences[static_cast<size_t>(i)]->p[0], 3.0 * i, 1e-8);
        EXPECT_NEAR(occurrences[static_cast<size_t>(i)]->p[1], 1.0, 1e-8);
    }
}

TEST(Patterns, AngularPatternTurnsEachOccurrenceOnToThePrevious)
{
    Host h;
    const double kPi = 3.14159265358979323846;
    auto axis = h.Line({0, 0, 0}, {0, 0, 1});
    Fix(h, axis);
    auto pattern = h.Pattern(axis, JUN_PATTERN_ANGULAR, kPi / 2);
    auto first = h.Point({1, 0, 0});
    auto second = h.Point({0, 1, 0});
    Fix(h, first);
    h.PatternConstraint(pattern, first, second, -1);
    h.Spacing(pattern, kPi / 3, false);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(second->p[0], std::cos(kPi / 3), 1e-8);
    EXPECT_NEAR(second->p[1], std::sin(kPi / 3), 1e-8);
}

TEST(ProceduralFeatures, RegeneratedGeometryIsHeldAndTiedGeometryFollows)
{
    Host h;
    auto wall = h.Plane({0, 0, 0}, {0, 0, 1});
    h.System().procedural_feature_manager()->add_procedural_g(wall, KEV_SOLVE_BY_REGENERATION, 1, &wall->type);
    auto feature = h.Feature({wall});
    Fix(h, feature);
    // The application offsets the wall by 1 when asked to regenerate.
    feature->onRegenerate = [wall] { wall->p = V{0, 0, 1}; };
    auto other = h.Plane({0, 0, 4}, {0, 0, 1});
    h.Dim(ZMR3_DISTANCE, wall, other, 4.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    double m[4][4];
    ASSERT_EQ(h.System().transform(other->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[2][3], 1.0, 1e-8);
    ASSERT_EQ(h.System().transform(wall->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[2][3], 1.0, 1e-8);
}

TEST(ProceduralFeatures, FailedRegenerationGivesTheFailureStatus)
{
    Host h;
    auto wall = h.Plane({0, 0, 0}, {0, 0, 1});
    auto feature = h.Feature({wall});
    feature->regeneration = KEV_REGENERATION_FAILED;
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(feature), ZMR3_G_STATUS_REGENERATION_FAILED);
    EXPECT_EQ(h.Status(wall), ZMR3_G_STATUS_REGENERATION_FAILED);
}

TEST(ProceduralFeatures, RelatedGeometryMovesWithTheFeature)
{
    Host h;
    auto procedural = h.Plane({0, 0, 0}, {0, 0, 1});
    auto feature = h.Feature({procedural});
    auto follower = h.Point({1, 1, 1});
    h.System().procedural_feature_manager()->add_procedural_relationship(nullptr, procedural->node, follower->node);
    auto ground = h.Plane({0, 0, -2}, {0, 0, 1});
    Fix(h, ground);
    h.Dim(ZMR3_DISTANCE, ground, procedural, 3.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(procedural->p[2], 1.0, 1e-8);
    EXPECT_NEAR(follower->p[2], 2.0, 1e-8);
    (void)feature;
}

}  // namespace

namespace {

struct ChainCase {
    int planes;
    bool parallel;   // each distance also has a parallel bond beside it
    int iterations;  // the limit the solve is given (0: the default)
};

class LargeChain : public ::testing::TestWithParam<ChainCase> {};

// Past the dense limit the component is solved through the sparse factorisation: a chain of
// planes is close to linear, so a few iterations reach the exact values whatever its length.
TEST_P(LargeChain, IsSolvedToTheExactValuesInAFewIterations)
{
    const ChainCase c = GetParam();
    Host h;
    std::vector<Geometry*> planes;
    for (int i = 0; i < c.planes; ++i)
        planes.push_back(h.Plane({0, 0, 10.0 * i + (i ? 0.01 * std::sin(i) : 0.0)}, {i ? 0.005 * std::cos(i) : 0.0, 0, 1}));
    h.System().fix(planes[0]->node);
    for (size_t i = 1; i < planes.size(); ++i) {
        h.Dim(ZMR3_DISTANCE, planes[i - 1], planes[i], 10.0);
        if (c.parallel)
            h.Dim(ZMR3_PARALLEL, planes[i - 1], planes[i]);
    }
    h.System().undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    ASSERT_EQ(h.System().re_evaluate(c.iterations, ZMR3_EVALUATE_FULL), ZMR3_SOLVED);
    h.Apply();
    for (size_t i = 1; i < planes.size(); ++i) {
        EXPECT_NEAR(Dot(planes[i - 1]->d, planes[i]->p - planes[i - 1]->p), 10.0, 1e-8);
        EXPECT_NEAR(Norm(Cross(planes[i - 1]->d, planes[i]->d)), 0.0, 1e-11);
    }
}

INSTANTIATE_TEST_SUITE_P(Solving, LargeChain,
                         ::testing::Values(ChainCase{150, false, 0}, ChainCase{1000, false, 5},
                                           ChainCase{1000, true, 5}));

// A chain of planes past the dense limit, each tied to the one before by a distance of 10 and
// a parallel bond, the first fixed.
struct PlaneChain {
    Host h;
    std::vector<Geometry*> planes;
    std::vector<Bond*> distances, parallels;

    explicit PlaneChain(int count)
    {
        for (int i = 0; i < count; ++i)
            planes.push_back(h.Plane({0, 0, 10.0 * i + (i ? 0.01 * std::sin(i) : 0.0)}, {i ? 0.005 * std::cos(i) : 0.0, 0, 1}));
        h.System().fix(planes[0]->node);
        for (size_t i = 1; i < planes.size(); ++i) {
            distances.push_back(h.Dim(ZMR3_DISTANCE, planes[i - 1], planes[i], 10.0));
            parallels.push_back(h.Dim(ZMR3_PARALLEL, planes[i - 1], planes[i]));
        }
    }

    std::vector<double> Transforms()
    {
        std::vector<double> all;
        for (Geometry* g : planes) {
            double m[4][4] = {};
            h.System().transform(g->node, m);
            all.insert(all.end(), &m[0][0], &m[0][0] + 16);
        }
        return all;
    }

    void ExpectGaps(const std::vector<double>& gaps)
    {
        for (size_t i = 1; i < planes.size(); ++i) {
            EXPECT_NEAR(Dot(planes[i - 1]->d, planes[i]->p - planes[i - 1]->p), gaps[i - 1], 1e-8) << i;
            EXPECT_NEAR(Norm(Cross(planes[i - 1]->d, planes[i]->d)), 0.0, 1e-11) << i;
        }
    }
};

// A system solved again keeps what it worked out about its equations' layout: the same start
// gives the very same answer, and a changed value or a changed set of bonds is followed.
TEST(Solving, LargeComponentSolvedAgainFollowsItsValuesAndBonds)
{
    PlaneChain c(70);
    ASSERT_EQ(c.h.Solve(), ZMR3_SOLVED);
    const std::vector<double> first = c.Transforms();
    ASSERT_EQ(c.h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(c.Transforms(), first);

    std::vector<double> gaps(c.distances.size(), 10.0);
    c.distances[20]->value = gaps[20] = 12.5;
    ASSERT_EQ(c.h.Solve(), ZMR3_SOLVED);
    c.h.Apply();
    c.ExpectGaps(gaps);

    for (size_t i = 0; i < c.parallels.size(); i += 2)
        c.h.System().erase(c.parallels[i]->node);
    c.distances[40]->value = gaps[40] = 7.0;
    ASSERT_EQ(c.h.Solve(), ZMR3_SOLVED);
    c.h.Apply();
    for (size_t i = 1; i < c.planes.size(); ++i)
        EXPECT_NEAR(Dot(c.planes[i - 1]->d, c.planes[i]->p - c.planes[i - 1]->p), gaps[i - 1], 1e-8) << i;
}

// The sparse factorisation takes the driven (non-rigid) equations too: a driven distance across
// the whole chain is met through the one gap that no rigid distance holds.
TEST(Solving, LargeComponentMeetsADrivenDimensionWhereTheRigidOnesLeaveRoom)
{
    PlaneChain c(70);
    c.h.System().erase(c.distances[30]->node);
    Bond* across = c.h.Dim(ZMR3_DISTANCE, c.planes.front(), c.planes.back(), 700.0);
    across->rigid = false;
    ASSERT_EQ(c.h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(c.h.Status(across), ZMR3_D_STATUS_SATISFIED);
    c.h.Apply();
    std::vector<double> gaps(c.distances.size(), 10.0);
    gaps[30] = 700.0 - 10.0 * 68;
    c.ExpectGaps(gaps);
}

// Through the sparse factorisation too, the step is the least change: of a row of points tied
// by distances only the last one moves along the row (sideways the forward differences leave a
// drift far below the change).
TEST(Solving, LargeUnderdefinedComponentMovesOnlyWhatItMust)
{
    Host h;
    std::vector<Geometry*> points;
    for (int i = 0; i < 80; ++i)
        points.push_back(h.Point({i < 79 ? 10.0 * i : 10.0 * i + 2.0, 0, 0}));
    h.System().fix(points[0]->node);
    for (size_t i = 1; i < points.size(); ++i)
        h.Dim(ZMR3_DISTANCE, points[i - 1], points[i], 10.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(points[i]->p[0], 10.0 * static_cast<double>(i), 1e-8) << i;
        EXPECT_NEAR(points[i]->p[1], 0.0, 1e-4) << i;
        EXPECT_NEAR(points[i]->p[2], 0.0, 1e-4) << i;
    }
}

TEST(Solving, IterationLimitGivesNotConvergedAndMovesNothing)
{
    Host h;
    auto a = h.Line({0, 0, 0}, {1, 0, 0});
    auto b = h.Line({0, 0, 0}, {1, 1, 0});
    h.System().fix(a->node);
    auto angle = h.Dim(ZMR3_ANGLE, a, b, 2.5);
    h.System().undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    EXPECT_EQ(h.System().re_evaluate(1, ZMR3_EVALUATE_FULL), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(angle), ZMR3_D_STATUS_NOT_CONVERGED);
    EXPECT_EQ(h.Status(b), ZMR3_G_STATUS_NOT_CONVERGED);
    EXPECT_EQ(h.Changed(b), 0);
    EXPECT_EQ(h.Solve(), ZMR3_SOLVED);
}

}  // namespace

namespace {

TEST(ProceduralFeatures, DependentRemadeByRegenerationIsHeldWhereTheApplicationPutIt)
{
    Host h;
    auto procedural = h.Plane({0, 0, 0}, {0, 0, 1});
    auto feature = h.Feature({procedural});
    h.System().fix(feature->node);
    auto dependent = h.Plane({0, 0, 2}, {0, 0, 1});
    h.System().procedural_feature_manager()->add_procedural_relationship(nullptr, procedural->node, dependent->node);
    feature->onRegenerate = [dependent] { dependent->p = V{0, 0, 3}; };
    auto follower = h.Point({0, 0, 7});
    h.Dim(ZMR3_DISTANCE, dependent, follower, 5.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    double m[4][4];
    ASSERT_EQ(h.System().transform(dependent->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[2][3], 1.0, 1e-8);
    ASSERT_EQ(h.System().transform(follower->node, m), ZMR3_CHANGE_RIGID);
    EXPECT_NEAR(m[2][3], 1.0, 1e-8);
}

}  // namespace

namespace {

// A dimension the system cannot take fails on its own nodes only: the component beside it is
// solved as if it were not there, and a failing one-geometry dimension shows on its geometry.
TEST(Components, AFailingDimensionLeavesTheOtherComponentsSolved)
{
    Host h;
    Geometry* fixed = h.Plane({0, 0, 0}, {0, 0, 1});
    h.System().fix(fixed->node);
    Geometry* moved = h.Plane({0, 0, 3}, {0, 0, 1});
    Bond* distance = h.Dim(ZMR3_DISTANCE, fixed, moved, 5.0);
    Bond* refused = h.Dim(ZMR3_TANGENT, h.Point({9, 9, 9}), h.Point({9, 9, 8}), 0.0);
    Geometry* flat = h.Plane({0, 9, 0}, {0, 1, 0});
    Bond* radius = h.Radius(ZMR3_RADIUS, flat, 2.0);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(distance), ZMR3_D_STATUS_SATISFIED);
    EXPECT_EQ(h.Changed(moved), ZMR3_CHANGE_RIGID);
    EXPECT_EQ(h.Status(moved), ZMR3_G_STATUS_SOLVED);
    EXPECT_EQ(h.Status(refused), ZMR3_D_STATUS_UNSUPPORTED);
    EXPECT_EQ(h.Status(radius), ZMR3_D_STATUS_UNSUPPORTED);
    EXPECT_EQ(h.Status(flat), ZMR3_G_STATUS_UNSUPPORTED_DIMENSION);
}

}  // namespace

namespace {

// One free plane held by many others (a hub with 70 spokes, each at its distance and parallel):
// past the dense limit, with the hub's unknowns in every spoke's equations.
TEST(Solving, LargeComponentWithOneGeometryInEveryBondTakesTheLeastChange)
{
    Host h;
    Geometry* hub = h.Plane({0, 0, 0}, {0, 0, 1});
    std::vector<Geometry*> spokes;
    std::vector<Bond*> distances;
    for (int i = 0; i < 70; ++i) {
        spokes.push_back(h.Plane({0, 0, 5.0 + i}, {0, 0, 1}));
        distances.push_back(h.Dim(ZMR3_DISTANCE, hub, spokes.back(), 5.0 + i));
        h.Dim(ZMR3_PARALLEL, hub, spokes.back());
    }
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    // A longer spoke: the hub and every other spoke give way together by a 71st of the change,
    // the spoke itself by the rest, which costs less than any other way of meeting the values.
    distances[20]->value = 30.0;
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    const double shift = -5.0 / 71.0;
    EXPECT_NEAR(hub->p[2], shift, 1e-8);
    for (size_t i = 0; i < spokes.size(); ++i) {
        EXPECT_NEAR(spokes[i]->p[2] - hub->p[2], distances[i]->value, 1e-8) << i;
        EXPECT_NEAR(Norm(Cross(hub->d, spokes[i]->d)), 0.0, 1e-11) << i;
    }
    EXPECT_NEAR(spokes[7]->p[2], 12.0 + shift, 1e-8);
}

}  // namespace
