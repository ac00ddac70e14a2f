// Checks of plain values and enumeration ranges: no interaction and no kernel involved.
#include "core/frame/ArgumentChecks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace QEL {
namespace {

struct RangeCase {
    const char* name;
    ResultType (*check)(int);
    int low;
    int high;
};

const RangeCase s_ranges[] = {
    {"CheckArgBlendIdentifyType", CheckArgBlendIdentifyType, 0, 4},
    {"CheckArgStepFaceType", CheckArgStepFaceType, 0, 3},
    {"CheckArgTaperMethodType", CheckArgTaperMethodType, 1, 5},
    {"CheckArgTaperLaminarEdgeType", CheckArgTaperLaminarEdgeType, 1, 2},
    {"CheckArgEnumIn1To3", CheckArgEnumIn1To3, 1, 3},
    {"CheckArgEnumIn0To2", CheckArgEnumIn0To2, 0, 2},
    {"CheckArgSolutionDataMode", CheckArgSolutionDataMode, 0, 1},
};

TEST(EnumerationRangeCheckTest, AcceptsExactlyTheValuesOfItsRange)
{
    for (const RangeCase& c : s_ranges) {
        for (int value = c.low; value <= c.high; ++value)
            EXPECT_EQ(c.check(value), ResultTypeOk) << c.name << " " << value;
        for (int value : {c.low - 1, c.high + 1, INT_MIN, INT_MAX})
            EXPECT_EQ(c.check(value), ResultTypeBadArgument) << c.name << " " << value;
    }
}

TEST(EnumerationRangeCheckTest, SharedRangesServeTheirEnumerations)
{
    EXPECT_EQ(CheckArgEnumIn1To3(FeatureTypeNone), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgEnumIn1To3(FeatureTypeComplexRecreate), ResultTypeOk);
    EXPECT_EQ(CheckArgEnumIn1To3(ShellTypeSymmetric), ResultTypeOk);
    EXPECT_EQ(CheckArgEnumIn0To2(PreviewModeAlways), ResultTypeOk);
    EXPECT_EQ(CheckArgEnumIn0To2(PasteTypeSubtract), ResultTypeOk);
}

TEST(PlainValueCheckTest, PositiveLengthMustExceedTheLinearTolerance)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        ResultType expected;
    } const cases[] = {
        {1e-8, ResultTypeBadArgument},
        {std::nextafter(1e-8, 1.0), ResultTypeOk},
        {0.0, ResultTypeBadArgument},
        {-5.0, ResultTypeBadArgument},
        {2.5, ResultTypeOk},
        {nan, ResultTypeBadArgument},
        {inf, ResultTypeOk},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckArgPositiveLength(c.value), c.expected) << c.value;
}

TEST(PlainValueCheckTest, DoubleArrayNeedsValuesAndALength)
{
    const double point[3] = {1, 2, 3};
    EXPECT_EQ(CheckArgDoubleArray(nullptr, 3), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgDoubleArray(point, 3), ResultTypeOk);
    EXPECT_EQ(CheckArgDoubleArray(point, 1), ResultTypeOk);
    EXPECT_EQ(CheckArgDoubleArray(point, 0), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgDoubleArray(point, -3), ResultTypeBadArgument);
}

void Callback(int, int, double[4][4], ResultType&) {}

TEST(PlainValueCheckTest, PointersMustNotBeNull)
{
    int value = 0;
    EXPECT_EQ(CheckArgPointer(&value), ResultTypeOk);
    EXPECT_EQ(CheckArgPointer(nullptr), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgFunctionPointer(&Callback), ResultTypeOk);
    void (*none)(int, int, double[4][4], ResultType&) = nullptr;
    EXPECT_EQ(CheckArgFunctionPointer(none), ResultTypeBadArgument);
}

TEST(PlainValueCheckTest, AnyNumberIsAnAcceptableDoubleOrInt)
{
    for (double value : {0.0, -1e300, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(CheckArgDouble(value), ResultTypeOk);
    for (int value : {0, INT_MIN, INT_MAX})
        EXPECT_EQ(CheckArgInt(value), ResultTypeOk);
}

TEST(PlainValueCheckTest, TransformCountMustMatchExactly)
{
    const Double4x4 identity;
    Array<Double4x4> transforms;
    EXPECT_EQ(CheckArgTransformCount(transforms, 0), ResultTypeOk);
    transforms.Add(identity);
    transforms.Add(identity);
    EXPECT_EQ(CheckArgTransformCount(transforms, 2), ResultTypeOk);
    EXPECT_EQ(CheckArgTransformCount(transforms, 1), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgTransformCount(transforms, 3), ResultTypeBadArgument);
}

TEST(ArrayPredicateTest, EmptyAndNonEmptyAreOpposites)
{
    const int tag = 7;
    EXPECT_TRUE(IsArrayEmpty(Array<int>()));
    EXPECT_FALSE(IsArrayNonEmpty(Array<int>()));
    EXPECT_FALSE(IsArrayEmpty(Array<int>(1, &tag)));
    EXPECT_TRUE(IsArrayNonEmpty(Array<int>(1, &tag)));
}

}  // namespace
}  // namespace QEL
