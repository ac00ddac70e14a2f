#include "core/frame/Array.h"

#include <gtest/gtest.h>

#include <stdexcept>

using QEL::Array;

namespace {

Array<int> Ints(std::initializer_list<int> values)
{
    return Array<int>(static_cast<int>(values.size()), values.begin());
}

std::vector<int> Contents(const Array<int>& array)
{
    return QEL::GetArrayVector(array);
}

TEST(Array, RangeTestedAccessThrowsOnBadIndexAndLeavesArrayAlone)
{
    Array<int> a = Ints({10, 20, 30});
    const Array<int>& c = a;
    for (int bad : {-1, 3, 100}) {
        EXPECT_THROW(a.GetAt(bad), std::out_of_range) << bad;
        EXPECT_THROW(a[bad], std::out_of_range) << bad;
        EXPECT_THROW(c[bad], std::out_of_range) << bad;
        EXPECT_THROW(a.SetAt(bad, 7), std::out_of_range) << bad;
    }
    EXPECT_EQ(Contents(a), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(a.GetAt(2), 30);
    a[0] = 11;
    a.SetAt(1, 21);
    EXPECT_EQ(Contents(a), (std::vector<int>{11, 21, 30}));
}

struct EditCase {
    const char* name;
    void (*edit)(Array<int>&);
    std::vector<int> expected;
};

const EditCase kEditCases[] = {
    {"InsertAtSizeAppends", [](Array<int>& a) { a.InsertAt(3, 9); }, {1, 2, 3, 9}},
    {"InsertAtZeroPrepends", [](Array<int>& a) { a.InsertAt(0, 9); }, {9, 1, 2, 3}},
    {"InsertAtMiddle", [](Array<int>& a) { a.InsertAt(1, 9); }, {1, 9, 2, 3}},
    {"InsertAtMinusOneIgnored", [](Array<int>& a) { a.InsertAt(-1, 9); }, {1, 2, 3}},
    {"InsertBeyondSizeIgnored", [](Array<int>& a) { a.InsertAt(4, 9); }, {1, 2, 3}},
    {"RemoveAtMiddleKeepsOrder", [](Array<int>& a) { a.RemoveAt(1); }, {1, 3}},
    {"RemoveAtMinusOneIgnored", [](Array<int>& a) { a.RemoveAt(-1); }, {1, 2, 3}},
    {"RemoveAtSizeIgnored", [](Array<int>& a) { a.RemoveAt(3); }, {1, 2, 3}},
    {"AddCountZeroWithNullChangesNothing", [](Array<int>& a) { EXPECT_EQ(a.Add(0, nullptr), 3); }, {1, 2, 3}},
    {"AddReturnsNewSize", [](Array<int>& a) { EXPECT_EQ(a.Add(4), 4); }, {1, 2, 3, 4}},
    {"AssignReplacesEverything", [](Array<int>& a) { a.Assign(2, 7); }, {7, 7}},
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }

class ArrayEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(ArrayEdit, GivesExpectedContents)
{
    Array<int> a = Ints({1, 2, 3});
    GetParam().edit(a);
    EXPECT_EQ(Contents(a), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArrayEdit, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Array, FindGivesFirstIndexOrMinusOne)
{
    EXPECT_EQ(Array<int>().Find(1), -1);
    Array<int> a = Ints({5, 7, 5, 7});
    EXPECT_EQ(a.Find(7), 1);
    EXPECT_EQ(a.Find(8), -1);
}

TEST(Array, EraseRemovesEveryMatchKeepingOrder)
{
    Array<int> a = Ints({4, 1, 4, 2, 4, 3});
    EXPECT_EQ(a.Erase(4), 3);
    EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.Erase(9), 0);
    EXPECT_EQ(a.GetSize(), 3);
}

TEST(Array, GetDataIsNullWhenEmptyEvenWithCapacity)
{
    Array<int> a;
    EXPECT_EQ(a.GetData(), nullptr);
    a.Reserve(10);
    a.Add(1);
    EXPECT_EQ(*a.GetData(), 1);
    a.RemoveAll();
    EXPECT_GE(a.Capacity(), 10);
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(Array, NegativeCountsFailAsTheVectorDoes)
{
    Array<int> a = Ints({1, 2});
    EXPECT_THROW(a.Reserve(-1), std::length_error);
    EXPECT_THROW(a.Assign(-1, 0), std::length_error);
    EXPECT_EQ(a.GetSize(), 0);  // Assign emptied it first
}

TEST(Array, CopiesAreIndependentAndAssignmentKeepsTheVector)
{
    Array<int> a = Ints({1, 2});
    Array<int> b(a);
    b.Add(3);
    EXPECT_EQ(a.GetSize(), 2);
    const std::vector<int>* vector = &QEL::GetArrayVector(a);
    a = b;
    EXPECT_EQ(&QEL::GetArrayVector(a), vector);
    EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3}));
    a = a;
    EXPECT_EQ(a.GetSize(), 3);
}

TEST(ArrayEquality, DoubleArraysAreTolerantOnlyUnderThePlainOperator)
{
    double one = 1.0, near = 1.0 + 5e-9;
    Array<double> a(1, &one), b(1, &near);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(QEL::operator==<double>(a, b));
    double two[] = {1.0, 2.0}, three[] = {1.0, 2.0, 3.0};
    Array<double> c(2, two), d(3, three);
    EXPECT_FALSE(c == d);
    EXPECT_FALSE(d == c);
    EXPECT_FALSE(QEL::operator==<double>(c, d));
    EXPECT_FALSE(QEL::operator==<double>(d, c));
}

TEST(ArrayEquality, PositionsCompareWithinTheLinearTolerance)
{
    QEL::Position p(1.0, 2.0, 3.0), q(1.0 + 1e-8, 2.0, 3.0 - 0.5e-8), far(1.0 + 2e-8, 2.0, 3.0);
    Array<QEL::Position> a(1, &p), b(1, &q), c(1, &far);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_EQ(a.Find(q), 0);
    EXPECT_EQ(a.Find(far), -1);
}

TEST(ArrayEquality, NestedTagListsCompareExactlyAndInOrder)
{
    Array<Array<int>> a, same, longer, swapped;
    a.Add(Ints({1, 2}));
    same.Add(Ints({1, 2}));
    longer.Add(Ints({1, 2, 3}));
    swapped.Add(Ints({2, 1}));
    EXPECT_TRUE(a == same);
    EXPECT_FALSE(a == longer);
    EXPECT_FALSE(a == swapped);
    // Copying copies the inner arrays into vectors of their own.
    Array<Array<int>> copy(a);
    copy[0].Add(9);
    EXPECT_EQ(a[0].GetSize(), 2);
}

TEST(ArrayEquality, BytesAndMatricesCompareExactly)
{
    unsigned char x[] = {1, 2}, y[] = {1, 3};
    EXPECT_TRUE((Array<unsigned char>(2, x) == Array<unsigned char>(2, x)));
    EXPECT_FALSE((Array<unsigned char>(2, x) == Array<unsigned char>(2, y)));
    QEL::Double4x4 m, n;
    n.m[1][2] = 1e-15;
    EXPECT_FALSE((Array<QEL::Double4x4>(1, &m) == Array<QEL::Double4x4>(1, &n)));
}

}  // namespace
