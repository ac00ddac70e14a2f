#include "core/enums/EnumNames.h"

#include <gtest/gtest.h>

namespace {

using namespace QEL;

TEST(KernelClassNames, TableHoldsFortyFiveClassesClosedByTheNullClass)
{
    int count = 0;
    const KernelClassName* entry = GetBqClassNames();
    for (; entry->name; ++entry)
        ++count;
    EXPECT_EQ(count, 45);
    EXPECT_EQ(entry->code, 500);
    EXPECT_EQ(GetBqClassNames()[0].code, 1003);
    EXPECT_STREQ(GetBqClassNames()[0].name, "BQ_CLASS_attrib");
}

TEST(KernelClassNames, EveryNameRoundTripsWithAndWithoutItsPrefix)
{
    for (const KernelClassName* entry = GetBqClassNames(); entry->name; ++entry) {
        SCOPED_TRACE(entry->name);
        EXPECT_STREQ(KernelClassToString(entry->code), entry->name);
        EXPECT_EQ(KernelClassFromString(entry->name), entry->code);
        std::string bare = std::string(entry->name).substr(9);
        EXPECT_EQ(KernelClassFromString(bare), entry->code);
        for (char& c : bare)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(KernelClassFromString(bare), entry->code);
    }
}

TEST(KernelClassNames, UnknownCodesAndNames)
{
    EXPECT_STREQ(KernelClassToString(4999), "");
    EXPECT_EQ(KernelClassFromString("BQ_CLASS_widget"), 500);
    EXPECT_EQ(KernelClassFromString(nullptr), 500);
    EXPECT_STREQ(KernelClassToString(5004), "BQ_CLASS_face");
    EXPECT_EQ(KernelClassFromString("bq_class_CYL"), 4002);
}

TEST(DimensionKindNames, NamedValuesAndGaps)
{
    const struct {
        int value;
        const char* name;
    } cases[] = {
        {0, "ZMR3_DISTANCE"}, {7, "ZMR3_TANGENT"}, {8, ""},  {13, ""},
        {25, "ZMR3_CURVE_LENGTH"}, {50, "ZMR3_SYMMETRIC"}, {56, "ZMR3_EQUAL_HALF_ANGLE"},
        {57, ""}, {-1, ""}, {1000, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DTypeToString(c.value), c.name) << c.value;
    int named = 0;
    for (int v = -5; v < 100; ++v)
        named += !DTypeToString(v).empty();
    EXPECT_EQ(named, 24);
}

}  // namespace
