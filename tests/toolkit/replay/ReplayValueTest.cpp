// Replay values: kinds, accessors and the equality the replay compares recorded and
// replayed values with.
#include "replay/ReplayValue.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace QEL {
namespace {

Array<int> Tags(std::vector<int> tags) { return Array<int>(static_cast<int>(tags.size()), tags.data()); }

ReplayValue Triple(double x, double y, double z)
{
  const double values[3] = {x, y, z};
  return ReplayValue().SetDoubleTriple(values);
}

ReplayValue Transform(double rotationOffset, double translationOffset)
{
  double m[4][4] = {{1, rotationOffset, 0, 10 + translationOffset}, {0, 1, 0, 20}, {0, 0, 1, 30}, {0, 0, 0, 1}};
  return ReplayValue().SetTransform(m);
}

ReplayValue WithDirection(ReplayValue value, ReplayDirection direction)
{
  value.SetDirection(direction);
  return value;
}

ReplayValue AsNull(ReplayValue value)
{
  value.SetNull(true);
  return value;
}

struct EqualityCase {
  const char* m_name;
  ReplayValue m_a;
  ReplayValue m_b;
  bool m_equal;
};

TEST(ReplayValueTest, EqualityTable)
{
  Array<Array<int>> inner12, inner21;
  inner12.Add(Tags({1}));
  inner12.Add(Tags({2}));
  inner21.Add(Tags({2}));
  inner21.Add(Tags({1}));
  Array<double> doubles;
  doubles.Add(1.0);
  Array<double> nearDoubles;
  nearDoubles.Add(1.0 + 5e-9);
  const EqualityCase cases[] = {
    {"triple within 5e-9", Triple(1, 2, 3), Triple(1, 2, 3 + 5e-9), true},
    {"triple off by 2e-8", Triple(1, 2, 3), Triple(1, 2, 3 + 2e-8), false},
    {"double within 5e-9", ReplayValue().SetDouble(1), ReplayValue().SetDouble(1 + 5e-9), true},
    {"double off by 2e-8", ReplayValue().SetDouble(1), ReplayValue().SetDouble(1 + 2e-8), false},
    {"tags in another order", ReplayValue().SetTagArray(Tags({3, 1, 2})), ReplayValue().SetTagArray(Tags({1, 2, 3})), true},
    {"tags counted differently", ReplayValue().SetTagArray(Tags({1, 1, 2})), ReplayValue().SetTagArray(Tags({1, 2, 2})), false},
    {"tags of other sizes", ReplayValue().SetTagArray(Tags({1, 2})), ReplayValue().SetTagArray(Tags({1, 2, 2})), false},
    {"tag arrays in another order", ReplayValue().SetTagArrayArray(inner12), ReplayValue().SetTagArrayArray(inner21), false},
    {"directions differ", WithDirection(ReplayValue().SetInt(4), ReplayDirectionInput),
     WithDirection(ReplayValue().SetInt(4), ReplayDirectionOutput), false},
    {"null flags differ", AsNull(ReplayValue().SetInt(4)), ReplayValue().SetInt(4), true},
    {"kinds differ", ReplayValue().SetInt(1), ReplayValue().SetBool(true), false},
    {"transform within tolerances", Transform(0, 0), Transform(1e-12, 5e-9), true},
    {"transform moved by 2e-8", Transform(0, 0), Transform(0, 2e-8), false},
    {"double arrays within 5e-9", ReplayValue().SetDoubleArray(doubles), ReplayValue().SetDoubleArray(nearDoubles), true},
    {"strings differ", ReplayValue().SetString("a"), ReplayValue().SetString("b"), false},
    {"positions within 5e-9", ReplayValue().SetPosition(Position(1, 2, 3)),
     ReplayValue().SetPosition(Position(1, 2, 3 + 5e-9)), true},
    {"cleared tags", [] { ReplayValue v = ReplayValue().SetTagArray(Tags({5})); v.Clear(); return v; }(),
     ReplayValue().SetTagArray(Array<int>()), true},
    // A setter leaves nothing of an earlier payload behind, the Position included.
    {"int after a position", ReplayValue().SetPosition(Position(1, 2, 3)).SetInt(7), ReplayValue().SetInt(7), true},
  };
  for (const EqualityCase& c : cases) EXPECT_EQ(c.m_a == c.m_b, c.m_equal) << c.m_name;
}

void ExpectThrowsWithText(const std::function<void()>& call, const std::string& text)
{
  try {
    call();
    ADD_FAILURE() << "no exception, expected " << text;
  } catch (const std::invalid_argument& error) {
    EXPECT_EQ(error.what(), text);
  }
}

TEST(ReplayValueTest, AccessorsCheckTheKindAndPointersHonourNull)
{
  ReplayValue null;
  null.SetNull(true);
  EXPECT_EQ(null.GetIntPointer(), nullptr);
  EXPECT_EQ(null.GetResultTypePointer(), nullptr);
  EXPECT_EQ(null.GetDoublePointer(), nullptr);
  EXPECT_EQ(null.GetBoolPointer(), nullptr);
  EXPECT_EQ(null.GetTagArrayPointer(), nullptr);
  EXPECT_EQ(null.GetString(), nullptr);
  ExpectThrowsWithText([&] { null.GetInt(); }, "Replay argument not expected type");

  ReplayValue integer = ReplayValue().SetInt(3);
  ExpectThrowsWithText([&] { integer.GetDoublePointer(); }, "Expected double* replay argument");
  ExpectThrowsWithText([&] { integer.GetTagArray(); }, "Replay argument not expected type");
  ExpectThrowsWithText([&] { integer.GetTransform(); }, "Replay argument not expected type");

  ReplayValue single = ReplayValue().SetDouble(2.5);
  double* pointer = single.GetDoublePointer();
  EXPECT_EQ(pointer[0], 2.5);
  EXPECT_EQ(pointer[1], 0.0);
  EXPECT_EQ(pointer[2], 0.0);
}

TEST(ReplayValueTest, WritesThroughAccessorsFillTheValue)
{
  ReplayValue result = ReplayValue().SetInt(0);
  *result.GetResultTypePointer() = ResultTypeFail;
  EXPECT_EQ(result.GetInt(), ResultTypeFail);

  ReplayValue tags = WithDirection(ReplayValue().SetTagArray(Array<int>()), ReplayDirectionOutput);
  tags.GetTagArray().Add(9);
  EXPECT_EQ(tags.GetTagArray().GetSize(), 1);
  EXPECT_EQ(tags.GetDirection(), ReplayDirectionOutput);

  ReplayValue matrix = Transform(0, 0);
  matrix.GetTransform()[2][3] = 31;
  EXPECT_EQ(matrix.GetScalarDoubles()[11], 31);

  // A setter starts over: direction unset, not null.
  tags.SetNull(true);
  tags.SetTagArray(Tags({1}));
  EXPECT_EQ(tags.GetDirection(), ReplayDirectionUnset);
  EXPECT_FALSE(tags.IsNull());
}

TEST(ReplayValueTest, CopiesAreIndependent)
{
  ReplayValue original = WithDirection(ReplayValue().SetTagArray(Tags({1, 2})), ReplayDirectionInput);
  ReplayValue copy = original;
  original.GetTagArray().Add(3);
  EXPECT_EQ(copy.GetTagArray().GetSize(), 2);
  EXPECT_EQ(copy.GetDirection(), ReplayDirectionInput);
  copy = original;
  EXPECT_TRUE(copy == original);
}

}  // namespace
}  // namespace QEL
