// Tables, attributes and their referrers, wire models, design rules, and the small
// path, colour and string helpers.
#include <gtest/gtest.h>

#include <zyn/dovCZyn.h>
#include <zyn/dovColor.h>
#include <zyn/dovPath.h>
#include <zyn/dovString.h>
#include <zyn/test_control.h>

#include <cstdio>
#include <memory>

namespace
{
struct Referrer : dovCZyn_Referrer
{
};
} // namespace

TEST(ZynTable, AddAttributeMakesARowOrUpdatesTheSameRowKeepingItsReferrers)
{
  dovCZyn_Table table("LAYER");
  Referrer user;
  dovCZyn_Attribute* row = table.AddAttribute(3, "Top");
  row->AddReference(&user);
  EXPECT_EQ(table.AddAttribute(3, "Bottom"), row);
  EXPECT_STREQ(row->GetValue(), "Bottom");
  EXPECT_STREQ(row->GetName(), "LAYER");
  EXPECT_EQ(row->GetTable(), &table);
  EXPECT_EQ(row->GetReferenceCount(), 1);
  EXPECT_EQ(table.GetAttribute(4), nullptr);
  EXPECT_EQ(table.FindValue("Bottom"), row);
  EXPECT_EQ(table.FindValue("bottom"), nullptr);
  row->RemoveReference(&user);
}

TEST(ZynTable, RemovesOnlyUnreferencedRows)
{
  dovCZyn_Table table("COLOR");
  Referrer user;
  table.AddAttribute(1, "1 2 3 4")->AddReference(&user);
  table.AddAttribute(7, "5 6 7 8");
  EXPECT_EQ(table.GetMaximumIndex(), 7);
  EXPECT_EQ(table.RemoveAttribute(1), 0); // still referenced: its users hold pointers
  EXPECT_EQ(table.RemoveAttribute(2), 0);
  EXPECT_EQ(table.RemoveAttribute(7), 1);
  EXPECT_EQ(table.GetAttributeCount(), 1);
  table.GetAttribute(1)->RemoveReference(&user);
  EXPECT_EQ(table.RemoveAttribute(1), 1);
  EXPECT_EQ(table.GetMaximumIndex(), 0);
}

TEST(ZynTable, CopyHasSameRowsWithoutReferrers)
{
  dovCZyn_Table table("LAYER");
  Referrer user;
  table.AddAttribute(2, "Top")->AddReference(&user);
  dovCZyn_Table copy(table);
  ASSERT_EQ(copy.GetAttributeCount(), 1);
  EXPECT_STREQ(copy.GetAttribute(2)->GetValue(), "Top");
  EXPECT_EQ(copy.GetAttribute(2)->GetTable(), &copy);
  EXPECT_EQ(copy.GetAttribute(2)->GetReferenceCount(), 0);
  table.GetAttribute(2)->RemoveReference(&user);
}

TEST(ZynGeometry, SharesRowsOwnsFreeAttributesAndCopiesAlike)
{
  const long liveBefore = zynTestLiveAttributeCount();
  dovCZyn_Table layers("LAYER");
  dovCZyn_Attribute* layer = layers.AddAttribute(1, "Top");
  {
    dovCZyn_Sphere sphere(dovCZyn_3DPoint(0, 0, 0), 1, 8);
    sphere.AddAttribute(layer);
    sphere.AddAttribute(new dovCZyn_Attribute("ID", "7"));
    std::unique_ptr<dovCZyn_Geometry> copy(sphere.Copy());
    EXPECT_EQ(copy->GetObjectType(), DOV_Zyn_OBJ_SPHERE);
    EXPECT_STREQ(copy->GetGeometryName(), "SPHE");
    EXPECT_EQ(layer->GetReferenceCount(), 2);
    EXPECT_EQ(copy->GetAttribute(0L), layer);
    EXPECT_NE(copy->GetAttribute(1L), sphere.GetAttribute(1L));
    EXPECT_STREQ(copy->GetAttribute("ID")->GetValue(), "7");

    dovCZyn_Attribute* other = layers.AddAttribute(2, "Bottom");
    copy->ReplaceAttribute(layer, other);
    EXPECT_EQ(layer->GetReferenceCount(), 1);
    EXPECT_EQ(other->GetReferenceCount(), 1);
    copy->ReplaceAttribute(layer, nullptr); // not held: nothing
    EXPECT_EQ(copy->GetAttributeCount(), 2);
  }
  EXPECT_EQ(layer->GetReferenceCount(), 0);
  EXPECT_EQ(layers.GetAttribute(2)->GetReferenceCount(), 0);
  EXPECT_EQ(zynTestLiveAttributeCount() - liveBefore, 2); // just the two rows
}

TEST(ZynGeometry, OrderAttributesSortsByNameKeepingEqualNamesInOrder)
{
  dovCZyn_Sphere sphere(dovCZyn_3DPoint(), 1, 8);
  sphere.AddAttribute(new dovCZyn_Attribute("OBJECT", "a"));
  sphere.AddAttribute(new dovCZyn_Attribute("LAYER", "b"));
  sphere.AddAttribute(new dovCZyn_Attribute("COLOR", "c"));
  sphere.AddAttribute(new dovCZyn_Attribute("LAYER", "d"));
  sphere.OrderAttributes();
  std::string order;
  for (long i = 0; i < sphere.GetAttributeCount(); ++i)
    order += sphere.GetAttribute(i)->GetValue();
  EXPECT_EQ(order, "cbda");
}

TEST(ZynWireModel, CopyKeepsRecipeButNotReferrersAndCountsPathPoints)
{
  dovCZyn_WireModel model(4, "loop", 2, 12.5);
  model.AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));
  model.AddStep(dovCZyn_WMStep());
  model.AddStep(dovCZyn_WMStep(DOV_Zyn_WM_RATIO, 0.5, DOV_Zyn_WM_ANGLE, 30));
  Referrer user;
  model.AddReference(&user);
  dovCZyn_WireModel copy(model);
  EXPECT_EQ(copy.GetIndex(), 4);
  EXPECT_STREQ(copy.GetName(), "loop");
  EXPECT_EQ(copy.GetDirection(), 2);
  EXPECT_EQ(copy.GetStepCount(), 3);
  EXPECT_TRUE(copy.GetStep(1)->IsSwitch());
  EXPECT_EQ(copy.GetStep(3), nullptr);
  EXPECT_EQ(copy.GetReferenceCount(), 0);
  EXPECT_EQ(copy.GetPointCount(), 4);
  DOV_Zyn_WM_STEP kind;
  double amount;
  copy.GetStep(2)->GetVerStep(kind, amount);
  EXPECT_EQ(kind, DOV_Zyn_WM_ANGLE);
  EXPECT_EQ(amount, 30);
}

TEST(ZynWireModel, UpdateWordOrsTogglesAndClears)
{
  struct Case
  {
    long start, flags;
    int add;
    long expected;
  } cases[] = {{5, 0, 1, 0}, {0, 2, 1, 2}, {2, 2, 1, 2}, {2, 2, 0, 0}, {0, 2, 0, 2}, {8, 2, 1, 10}};
  for (const Case& c : cases)
  {
    dovCZyn_WireModel model(0, "", 1, 1);
    if (c.start)
      model.SetUpdate(c.start, 1);
    EXPECT_EQ(model.SetUpdate(c.flags, c.add), c.expected) << c.start << " " << c.flags << " " << c.add;
  }
}

TEST(ZynDRCRule, CopyDuplicatesInputsMarkerAndParameters)
{
  dovCZyn_Table layers("LAYER");
  dovCZyn_Attribute* layer = layers.AddAttribute(1, "DRC");
  {
    dovCZyn_DRCRule rule(3, 17, "spacing");
    auto* input = new dovCZyn_Sphere(dovCZyn_3DPoint(), 1, 8);
    input->AddAttribute(layer);
    rule.SetInput(1, input);
    rule.SetParameter(2, 0.25);
    rule.SetMarker(new dovCZyn_Sphere(dovCZyn_3DPoint(), 2, 8));
    dovCZyn_DRCRule copy(rule);
    EXPECT_EQ(copy.GetInputCount(), 2);
    EXPECT_EQ(copy.GetInput(0), nullptr);
    ASSERT_NE(copy.GetInput(1), nullptr);
    EXPECT_NE(copy.GetInput(1), input);
    EXPECT_EQ(layer->GetReferenceCount(), 2);
    EXPECT_EQ(copy.GetParameter(2), 0.25);
    EXPECT_EQ(copy.GetParameter(5), 0);
    EXPECT_NE(copy.GetMarker(), rule.GetMarker());
    EXPECT_EQ(copy.GetCurrent(), 1);
  }
  EXPECT_EQ(layer->GetReferenceCount(), 0);
}

TEST(ZynModel, OwnsEverythingAndFindsTablesByExactName)
{
  const long liveBefore = zynTestLiveAttributeCount();
  {
    dovCZyn model;
    dovCZyn_Table* layers = model.AddTable(new dovCZyn_Table("LAYER"));
    auto* wire = new dovCZyn_Wire(1, 8);
    wire->AddAttribute(layers->AddAttribute(1, "Top"));
    wire->AddAttribute(new dovCZyn_Attribute("ID", "1"));
    model.AddGeometry(wire);
    model.AddDRCMarker(new dovCZyn_Sphere(dovCZyn_3DPoint(), 1, 8));
    model.AddWireModel(new dovCZyn_WireModel(1, "w", 1, 1));
    EXPECT_EQ(model.GetTable("LAYER"), layers);
    EXPECT_EQ(model.GetTable("layer"), nullptr);
    EXPECT_EQ(model.GetGeometry(1), nullptr);
    EXPECT_EQ(model.GetUnits(), DOV_Zyn_MICRONS);
    EXPECT_EQ(model.GetPrecision(), 2);
  }
  EXPECT_EQ(zynTestLiveAttributeCount(), liveBefore);
}

TEST(ZynHelpers, ParseStringSplitsAtAnySeparatorWithoutEmptyTokens)
{
  struct Case
  {
    const char* text;
    const char* separators;
    std::vector<std::string> tokens;
  } cases[] = {
    {"5-point  REVERSE\t1\r\n2", " \t\r\n", {"5-point", "REVERSE", "1", "2"}},
    {"", " ", {}},
    {"   ", " ", {}},
    {"a,b;;c", ",;", {"a", "b", "c"}},
    {nullptr, " ", {}},
  };
  for (const Case& c : cases)
  {
    dovCStringArray tokens;
    tokens.Add("stale");
    ASSERT_EQ(dovParseString(c.text, c.separators, tokens), static_cast<int>(c.tokens.size()));
    for (size_t i = 0; i < c.tokens.size(); ++i)
      EXPECT_EQ(tokens[static_cast<int>(i)].str(), c.tokens[i]);
  }
}

TEST(ZynHelpers, ColourTextsAndColorrefs)
{
  int r = 255, g = 255, b = 255, a = 255;
  EXPECT_EQ(dovStringToRgba("-1 -1 -1 128", r, g, b, a), 4);
  EXPECT_EQ(r + g + b, -3);
  EXPECT_EQ(a, 128);
  r = g = b = a = 255;
  EXPECT_EQ(dovStringToRgba("10 20", r, g, b, a), 2);
  EXPECT_EQ(r, 10);
  EXPECT_EQ(b, 255); // missing components stay
  EXPECT_EQ(dovStringToRgba("red", r, g, b, a), 0);
  EXPECT_EQ(dovStringToRgba(nullptr, r, g, b, a), 0);
  dovColorrefToRgb(0x00336699, r, g, b);
  EXPECT_EQ(r, 0x99);
  EXPECT_EQ(g, 0x66);
  EXPECT_EQ(b, 0x33);
}

TEST(ZynHelpers, PathExistsOnlyForSomethingThere)
{
  dovCFile file;
  file.SetPath("/nonexistent/zyn/file.vtk");
  EXPECT_FALSE(file.Exists());
  file.SetPath("");
  EXPECT_FALSE(file.Exists());
  file.SetPath("/");
  EXPECT_TRUE(file.Exists());
}
