#include "core/maths/Dir.h"
#include "core/maths/Tolerance.h"
#include "core/maths/Vec.h"

#include <gtest/gtest.h>

namespace {

TEST(Tolerance, SquaresAreComputedFromTheTolerances)
{
    EXPECT_EQ(s_linearTolerance, 1e-8);
    EXPECT_EQ(s_angularTolerance, 1e-11);
    EXPECT_DOUBLE_EQ(s_linearToleranceSquared, 1e-16);
    EXPECT_DOUBLE_EQ(s_angularToleranceSquared, 1e-22);
}

struct Boundary {
    double offset;
    bool within;
};

// The edges of the linear tolerance: at and inside 1e-8 is equal, beyond is not.
const Boundary kLinearBoundaries[] = {
    {0.0, true}, {0.5e-8, true}, {-0.5e-8, true}, {1e-8, true}, {-1e-8, true},
    {1.1e-8, false}, {-1.1e-8, false}, {2e-8, false}, {-2e-8, false},
};

TEST(Tolerance, NearlyZeroAndEqualWithinTolerance)
{
    for (const auto& b : kLinearBoundaries) {
        SCOPED_TRACE(b.offset);
        EXPECT_EQ(IsNearlyZero(b.offset), b.within);
    }
    EXPECT_TRUE(IsEqualWithinTolerance(2.0, 2.0 + 5e-9));
    EXPECT_FALSE(IsEqualWithinTolerance(2.0, 2.0 + 2e-8));
}

TEST(Tolerance, PointsCoincideWithinTheSquaredLinearTolerance)
{
    const struct {
        Vec offset;
        bool coincident;
    } cases[] = {
        {Vec(0.5e-8, 0, 0), true},  {Vec(0, -0.5e-8, 0), true}, {Vec(0, 0, 0.5e-8), true},
        {Vec(2e-8, 0, 0), false},   {Vec(0, 2e-8, 0), false},   {Vec(0, 0, -2e-8), false},
        {Vec(0.6e-8, 0.6e-8, 0.6e-8), false},  // each coordinate inside, the distance is not
    };
    const Vec base(3.0, -4.0, 5.0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset.x + c.offset.y + c.offset.z);
        EXPECT_EQ(ArePointsCoincident(base, base + c.offset), c.coincident);
    }
}

TEST(Directions, ParallelPerpendicularAndEqual)
{
    const Dir x = GetXAxis(), minusX(-1, 0, 0), y = GetYAxis();
    const Dir tilted = MakeDir(Vec(1, 1e-10, 0));
    EXPECT_TRUE(AreParallel(x, minusX));
    EXPECT_TRUE(AreParallel(x, x));
    // The dot product is within the tolerance but the difference (about 1e-20 squared) is not.
    EXPECT_FALSE(AreParallel(x, tilted));
    EXPECT_TRUE(AreParallel(x, MakeDir(Vec(1, 1e-12, 0))));
    EXPECT_TRUE(ArePerpendicular(x, y));
    EXPECT_FALSE(ArePerpendicular(x, MakeDir(Vec(1e-10, 1, 0))));
    EXPECT_TRUE(x.IsEqual(Dir(1, 0, 0)));
    EXPECT_FALSE(x.IsEqual(minusX));
    EXPECT_TRUE(IsAngleWithin45Degrees(x, MakeDir(Vec(1, 0.99, 0))));
    EXPECT_FALSE(IsAngleWithin45Degrees(x, MakeDir(Vec(1, 1.01, 0))));
}

TEST(Directions, ZeroVectorNormalisesToZAxis)
{
    Dir d(5, 5, 5, true);
    EXPECT_EQ(NormalizeVec(Vec(), d), 0.0);
    EXPECT_TRUE(d.IsEqual(GetZAxis()));
    EXPECT_TRUE(MakeDir(Vec()).IsEqual(GetZAxis()));
    EXPECT_TRUE(Dir(0, 0, 0).IsEqual(GetZAxis()));
    EXPECT_EQ(NormalizeVec(Vec(0, 3, 4), d), 5.0);
    EXPECT_TRUE(d.IsEqual(Dir(0, 0.6, 0.8, true)));
    // The unit flag keeps the values as they are.
    EXPECT_EQ(Dir(0, 2, 0, true).y, 2.0);
}

}  // namespace
