#include "core/maths/Double4x4.h"
#include "core/maths/Position.h"

#include <gtest/gtest.h>

namespace {

using QEL::Double4x4;
using QEL::Position;

TEST(Position, EqualWithinTheLinearTolerancePerCoordinate)
{
    EXPECT_TRUE(Position(0, 0, 0) == Position(1e-8, 0, 0));
    EXPECT_FALSE(Position(0, 0, 0) == Position(2e-8, 0, 0));
    EXPECT_FALSE(Position(0, 0, 0) == Position(0, 0, -2e-8));
    double xyz[] = {1.5, -2.5, 3.5};
    Position p(xyz);
    EXPECT_EQ(p.x, 1.5);
    EXPECT_EQ(p.y, -2.5);
    EXPECT_EQ(p.z, 3.5);
    Position d;
    EXPECT_EQ(d.x + d.y + d.z, 0.0);
}

TEST(Double4x4, DefaultIsTheIdentityAndEqualityIsExact)
{
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    EXPECT_TRUE(Double4x4() == Double4x4(identity));
    Double4x4 nudged;
    nudged.m[2][3] += 1e-15;
    EXPECT_FALSE(Double4x4() == nudged);
    Double4x4 copy;
    copy = nudged;
    EXPECT_TRUE(copy == nudged);
}

}  // namespace
