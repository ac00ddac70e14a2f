#include "core/maths/LinesAndPlanes.h"
#include "core/maths/RotationMatrix.h"
#include "core/maths/Xform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectNear(const Vec& actual, const Vec& expected, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Xform Rotation(const Vec& point, const Vec& axis, double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    Xform x;
    x.SetRotationAboutAxis(point, axis, std::sin(radians), std::cos(radians));
    return x;
}

Xform Translation(double x, double y, double z)
{
    Xform t;
    t.SetToTranslation(Vec(x, y, z));
    return t;
}

TEST(RotationMatrix, ReverseRotationIsRightHandedAndNormalisesTheAnglePair)
{
    RotationMatrix r;
    r.SetReverseRotation(GetZAxis(), 1.0, 0.0);
    ExpectNear(RotateVec(r, Vec(1, 0, 0)), Vec(0, 1, 0));
    RotationMatrix unnormalised;
    unnormalised.SetReverseRotation(GetZAxis(), 2.0, 0.0);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(unnormalised.m[i], r.m[i], 1e-15);
}

TEST(RotationMatrix, ZeroSineAndCosineGiveTheIdentityNotNonFiniteEntries)
{
    RotationMatrix r;
    r.m[1] = 0.25;
    r.SetReverseRotation(GetZAxis(), 0.0, 0.0);
    EXPECT_TRUE(r.IsIdentity(true));
}

TEST(RotationMatrix, AngleAxisOfSpecialRotations)
{
    struct Case {
        const char* name;
        RotationMatrix rotation;
        Vec axis;
        double sine;
        double cosine;
    };
    RotationMatrix halfTurnX;
    halfTurnX.m[4] = -1.0;
    halfTurnX.m[8] = -1.0;
    RotationMatrix quarterZ;
    quarterZ.SetReverseRotation(GetZAxis(), 1.0, 0.0);
    RotationMatrix nearHalfTurnY;
    nearHalfTurnY.SetReverseRotation(GetYAxis(), 1e-4, -1.0);
    const double s = 1e-4 / std::sqrt(1.0 + 1e-8);
    const Case cases[] = {
        {"Identity", RotationMatrix(), Vec(0, 0, 1), 0.0, 1.0},
        {"HalfTurnAboutX", halfTurnX, Vec(1, 0, 0), 0.0, -1.0},
        {"QuarterTurnGivesNegatedAxis", quarterZ, Vec(0, 0, -1), 1.0, 0.0},
        {"NearHalfTurnKeepsTheSignOfW", nearHalfTurnY, Vec(0, -1, 0), s, -std::sqrt(1.0 - s * s)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dir axis;
        double sine = -5, cosine = -5;
        c.rotation.GetAngleAxis(axis, sine, cosine);
        ExpectNear(axis, c.axis, 1e-9);
        EXPECT_NEAR(sine, c.sine, 1e-12);
        EXPECT_NEAR(cosine, c.cosine, 1e-12);
    }
}

TEST(RotationMatrix, IdentityTestRejectsHalfTurnsAndHonoursTightness)
{
    RotationMatrix halfTurn;
    halfTurn.m[4] = -1.0;
    halfTurn.m[8] = -1.0;
    EXPECT_FALSE(halfTurn.IsIdentity(false));
    RotationMatrix nearly;
    nearly.m[1] = 1e-13;
    EXPECT_TRUE(nearly.IsIdentity(false));
    EXPECT_FALSE(nearly.IsIdentity(true));
    EXPECT_TRUE(RotationMatrix().IsIdentity(true));
}

TEST(Xform, EqualityUsesTheSquaredLinearTolerance)
{
    EXPECT_TRUE(GetIdentityXform() == Translation(0.9e-8, 0, 0));
    EXPECT_FALSE(GetIdentityXform() == Translation(1e-8, 0, 0));
    EXPECT_TRUE(Translation(0.9e-8, 0, 0).IsTranslationZero());
    EXPECT_FALSE(AreXformsEqual(Rotation(Vec(), GetZAxis(), 1e-6), GetIdentityXform()));
}

TEST(Xform, Double4x4RoundTripKeepsEveryEntry)
{
    const Xform x = MultiplyXforms(Translation(1, -2, 3), Rotation(Vec(1, 1, 0), MakeDir(Vec(1, 2, 3)), 37));
    const QEL::Double4x4 matrix = x.GetDouble4x4();
    EXPECT_EQ(matrix.m[3][0], 0.0);
    EXPECT_EQ(matrix.m[3][3], 1.0);
    const Xform back(matrix);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(back.rotation.m[i], x.rotation.m[i]);
    EXPECT_EQ(back.translation.x, x.translation.x);
    EXPECT_EQ(back.translation.z, x.translation.z);
    EXPECT_TRUE(back.GetDouble4x4() == matrix);
}

TEST(Xform, ComposedWithItsInverseIsTheIdentity)
{
    const Xform cases[] = {
        Translation(5, 6, 7),
        Rotation(Vec(1, 2, 3), MakeDir(Vec(0, 1, 1)), 120),
        MultiplyXforms(Rotation(Vec(), GetXAxis(), 180), Translation(0, 0, 4)),
    };
    for (const Xform& x : cases) {
        EXPECT_TRUE(MultiplyXforms(x, x.GetInverse()).IsIdentity());
        EXPECT_TRUE(MultiplyXforms(x.GetInverse(), x).IsIdentity());
        Vec p(0.5, -1.5, 2.5);
        x.TransformPoint(p);
        x.GetInverse().TransformPoint(p);
        ExpectNear(p, Vec(0.5, -1.5, 2.5));
    }
}

TEST(Xform, CompositionAppliesTheRightOperandFirst)
{
    const Xform turn = Rotation(Vec(), GetZAxis(), 90);
    const Xform shift = Translation(1, 0, 0);
    Vec p(1, 0, 0);
    MultiplyXforms(turn, shift).TransformPoint(p);  // shift, then turn
    ExpectNear(p, Vec(0, 2, 0));
    Vec q(1, 0, 0);
    MultiplyXforms(shift, turn).TransformPoint(q);  // turn, then shift
    ExpectNear(q, Vec(1, 1, 0));
}

TEST(Xform, RotationAboutAnAxisKeepsTheAxisFixed)
{
    const Xform x = Rotation(Vec(2, 3, 0), GetZAxis(), 90);
    Vec onAxis(2, 3, 7), off(3, 3, 0);
    x.TransformPoint(onAxis);
    x.TransformPoint(off);
    ExpectNear(onAxis, Vec(2, 3, 7));
    ExpectNear(off, Vec(2, 4, 0));
}

TEST(Xform, IsCloseComparesAngleAndDistanceStrictly)
{
    const Xform a = Translation(1, 0, 0);
    const Xform b = MultiplyXforms(Translation(1.05, 0, 0), Rotation(Vec(), GetZAxis(), 0.01));
    EXPECT_TRUE(a.IsClose(b, 0.1, 0.001));
    EXPECT_FALSE(a.IsClose(b, 0.01, 0.001));
    EXPECT_FALSE(a.IsClose(b, 0.1, 1e-5));
    EXPECT_FALSE(a.IsClose(Rotation(Vec(), GetZAxis(), 180), 10, 0.5));
}

TEST(LinesAndPlanes, IntersectPlanesGivesTheCrossProductDirection)
{
    Vec point(9, 9, 9);
    Dir direction;
    ASSERT_TRUE(IntersectPlanes(Vec(), GetZAxis(), Vec(), GetXAxis(), &point, &direction));
    EXPECT_TRUE(direction.IsEqual(GetYAxis()));
    ExpectNear(point, Vec(0, 0, 0));
    ASSERT_TRUE(IntersectPlanes(Vec(0, 0, 2), GetZAxis(), Vec(3, 0, 0), GetXAxis(), &point, nullptr));
    ExpectNear(point, Vec(3, 0, 2));
    // Parallel planes: false, outputs untouched.
    Vec untouched(7, 7, 7);
    EXPECT_FALSE(IntersectPlanes(Vec(), GetZAxis(), Vec(0, 0, 1), Dir(0, 0, -1), &untouched, &direction));
    ExpectNear(untouched, Vec(7, 7, 7));
}

TEST(LinesAndPlanes, IntersectLinePlaneRefusesParallelLines)
{
    Vec point(7, 7, 7);
    EXPECT_FALSE(IntersectLinePlane(Vec(0, 0, 0), GetXAxis(), Vec(), GetZAxis(), &point));
    EXPECT_FALSE(IntersectLinePlane(Vec(0, 0, 5), GetYAxis(), Vec(), GetZAxis(), &point));
    ExpectNear(point, Vec(7, 7, 7));
    ASSERT_TRUE(IntersectLinePlane(Vec(1, 2, 5), Dir(0, 0, -1), Vec(0, 0, 1), GetZAxis(), &point));
    ExpectNear(point, Vec(1, 2, 1));
}

TEST(LinesAndPlanes, ClosestPointsOfSkewAndParallelLines)
{
    Vec c1, c2;
    EXPECT_TRUE(GetClosestPointsOfLines(Vec(0, 0, 0), GetXAxis(), Vec(3, 5, 2), GetYAxis(), &c1, &c2));
    ExpectNear(c1, Vec(3, 0, 0));
    ExpectNear(c2, Vec(3, 0, 2));
    EXPECT_NEAR(GetLineLineDistance(Vec(0, 0, 0), GetXAxis(), Vec(3, 5, 2), GetYAxis()), 2.0, 1e-12);
    EXPECT_FALSE(GetClosestPointsOfLines(Vec(1, 0, 0), GetXAxis(), Vec(0, 4, 0), Dir(-1, 0, 0), &c1, &c2));
    ExpectNear(c1, Vec(1, 0, 0));
    ExpectNear(c2, Vec(1, 4, 0));
    EXPECT_TRUE(AreLinesIntersecting(Vec(), GetXAxis(), Vec(2, -1, 0), GetYAxis()));
    EXPECT_FALSE(AreLinesIntersecting(Vec(), GetXAxis(), Vec(2, -1, 2e-8), GetYAxis()));
}

TEST(LinesAndPlanes, PointTestsAndDistances)
{
    EXPECT_TRUE(IsPointOnLine(Vec(5, 0.5e-8, 0), Vec(), GetXAxis()));
    EXPECT_FALSE(IsPointOnLine(Vec(5, 2e-8, 0), Vec(), GetXAxis()));
    EXPECT_TRUE(IsPointOnPlane(Vec(5, 6, -0.5e-8), Vec(), GetZAxis()));
    EXPECT_FALSE(IsPointOnPlane(Vec(5, 6, -2e-8), Vec(), GetZAxis()));
    EXPECT_NEAR(GetPointPlaneDistance(Vec(1, 1, -3), Vec(), GetZAxis()), 3.0, 1e-15);
    EXPECT_NEAR(GetPointLineDistance(Vec(1, 4, 0), Vec(), GetXAxis()), 4.0, 1e-15);
    EXPECT_TRUE(AreLinesCoincident(Vec(2, 0, 0), Dir(-1, 0, 0), Vec(), GetXAxis()));
    EXPECT_TRUE(ArePlanesCoincident(Vec(4, 4, 0), Dir(0, 0, -1), Vec(), GetZAxis()));
    EXPECT_FALSE(ArePlanesCoincident(Vec(4, 4, 1), GetZAxis(), Vec(), GetZAxis()));
}

}  // namespace
