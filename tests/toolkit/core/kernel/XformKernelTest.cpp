#include "core/maths/Xform.h"

#include <brennik.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

namespace {

class XformKernel : public ::testing::Test {
protected:
    void SetUp() override { brennik::test::RestartSession(); }
    void TearDown() override
    {
        brennik::test::Reset();
        BQ_SESSION_stop();
    }
};

TEST_F(XformKernel, KernelTransformRoundTripKeepsTheMatrix)
{
    Xform placement;
    placement.SetRotationAboutAxis(Vec(1, 2, 3), MakeDir(Vec(0, 1, 1)), 0.6, 0.8);
    placement.translation = placement.translation + Vec(4, 5, 6);
    const int tag = placement.CreateKernelTransf();
    ASSERT_NE(tag, 0);
    const Xform back(tag);
    EXPECT_TRUE(back.IsEqual(placement));
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(back.rotation.m[i], placement.rotation.m[i], 1e-15);
}

TEST_F(XformKernel, TagThatIsNoTransformGivesTheIdentity)
{
    EXPECT_TRUE(Xform(0).IsIdentity());
    EXPECT_TRUE(Xform(987654).IsIdentity());
}

TEST_F(XformKernel, CreateGivesZeroWhenTheKernelMakesNone)
{
    Xform skewed;
    skewed.rotation.m[1] = 0.5;  // not a rotation
    EXPECT_EQ(skewed.CreateKernelTransf(), 0);
    BQ_SESSION_stop();
    EXPECT_EQ(Xform().CreateKernelTransf(), 0);
}

}  // namespace
