// Rebuilding wires when their wire model changes.
#include <gtest/gtest.h>

#include <zyn/test_control.h>

#include <vtkActor.h>
#include <vtkNew.h>
#include <vtkPolyDataMapper.h>

#include "MeshFixtures.h"

namespace
{
using Path = std::vector<dovCZyn_3DPoint>;

// A container holding one wire from S = (0, 0, 0) to E = (100, 0, 0), radius 1, 8 sides,
// following wire model index 1 (radius 1), with ID 42 and layer row 1; and a design rule.
class WireModelUpdate : public ::testing::Test
{
protected:
  void SetUp() override
  {
    dovCZyn model;
    dovCZyn_Table* layers = model.AddTable(new dovCZyn_Table("LAYER"));
    layers->AddAttribute(1, "Top");
    model.AddWireModel(new dovCZyn_WireModel(1, "standard", 1, 1));
    model.AddDRCRule(new dovCZyn_DRCRule(1, 1, "rule"));
    dovCZyn_Geometry* wire = model.AddGeometry(makeWire(1, 8, {{0, 0, 0}, {100, 0, 0}}));
    wire->AddAttribute(layers->GetAttribute(1));
    wire->AddAttribute(freeAttribute("ID", "42"));
    wire->AddAttribute(freeAttribute("WIRE_MODEL", "1"));
    m_qel.ImportData(&model);
  }

  dovCQelPolyData* AddWire(std::initializer_list<dovCZyn_3DPoint> path, double radius, long sides,
                           const char* id)
  {
    dovCZyn_Table layers("LAYER");
    std::unique_ptr<dovCZyn_Wire> wire(makeWire(radius, sides, path));
    wire->AddAttribute(layers.AddAttribute(1, "Top"));
    wire->AddAttribute(freeAttribute("ID", id));
    wire->AddAttribute(freeAttribute("WIRE_MODEL", "1"));
    m_qel.AddPolyData(wire.get());
    return m_qel.Last();
  }

  dovCZyn_WireModel* Model() { return m_qel.GetWireModel(0); }

  static void ExpectPath(vtkPolyData* wire, const Path& expected)
  {
    const auto centres = ringCentres(wire);
    ASSERT_EQ(centres.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
      EXPECT_NEAR(centres[i].m_x, expected[i].m_x, 1e-6) << "point " << i;
      EXPECT_NEAR(centres[i].m_y, expected[i].m_y, 1e-6) << "point " << i;
      EXPECT_NEAR(centres[i].m_z, expected[i].m_z, 1e-6) << "point " << i;
    }
  }

  TestQel m_qel;
};
} // namespace

TEST_F(WireModelUpdate, StepsRebuildTheWireAndItKeepsEverythingElse)
{
  dovCQelPolyData* old = m_qel.Item(0);
  old->SetUpdate(2, 1);
  dovCZyn_Attribute* layer = m_qel.GetTable("LAYER")->GetAttribute(1);
  const std::string endPoints = valueOf(old, "Zyn_INT_END_POINTS");
  Model()->AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));

  ASSERT_EQ(m_qel.UpdateWireModel(0), 1);
  ASSERT_EQ(m_qel.GetPolyDataCount(), 1);
  dovCQelPolyData* rebuilt = m_qel.Item(0);
  ASSERT_NE(rebuilt, nullptr);
  ExpectPath(rebuilt, {{0, 0, 0}, {10, 0, 5}, {100, 0, 0}});
  EXPECT_EQ(rebuilt->GetObjectType(), DOV_Zyn_OBJ_WIRE);
  EXPECT_EQ(valueOf(rebuilt, "Zyn_INT_VERTEX_COUNT"), "3");
  EXPECT_EQ(valueOf(rebuilt, "Zyn_INT_END_POINTS"), endPoints);
  EXPECT_EQ(rebuilt->GetAttribute("LAYER"), layer);
  EXPECT_EQ(layer->GetReferenceCount(), 1);
  EXPECT_EQ(layer->GetReference(0), static_cast<dovCZyn_Referrer*>(rebuilt));
  EXPECT_EQ(m_qel.GetPolyDataByID(42), rebuilt);
  EXPECT_EQ(Model()->GetReferenceCount(), 1);
  EXPECT_EQ(Model()->GetReference(0), static_cast<dovCZyn_Referrer*>(rebuilt));
  EXPECT_EQ(rebuilt->GetUpdate(), 2);
  EXPECT_EQ(m_qel.GetDRCRule(0L)->GetCurrent(), 0);
  EXPECT_EQ(m_qel.UpdateWireModel(1), 0);
  EXPECT_EQ(m_qel.UpdateWireModel(-1), 0);
}

TEST_F(WireModelUpdate, EachStepKindMovesThePathPoint)
{
  // From S = (0, 0, 0) to E = (100, 0, 20): span 100 along x, height difference 20.
  struct Case
  {
    DOV_Zyn_WM_STEP hk;
    double h;
    DOV_Zyn_WM_STEP vk;
    double v;
    Path path;
  } cases[] = {
    {DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5, {{0, 0, 0}, {10, 0, 5}, {100, 0, 20}}},
    {DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_RATIO, 0.5, {{0, 0, 0}, {10, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_ANGLE, 45, {{0, 0, 0}, {10, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_RATIO, 0.2, DOV_Zyn_WM_LENGTH, 5, {{0, 0, 0}, {20, 0, 5}, {100, 0, 20}}},
    {DOV_Zyn_WM_RATIO, 0.2, DOV_Zyn_WM_RATIO, 0.5, {{0, 0, 0}, {20, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_RATIO, 0.1, DOV_Zyn_WM_ANGLE, 45, {{0, 0, 0}, {10, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_ANGLE, 45, DOV_Zyn_WM_LENGTH, 10, {{0, 0, 0}, {10, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_ANGLE, 45, DOV_Zyn_WM_RATIO, 0.5, {{0, 0, 0}, {10, 0, 10}, {100, 0, 20}}},
    {DOV_Zyn_WM_ANGLE, 45, DOV_Zyn_WM_ANGLE, 10, {{0, 0, 0}, {100, 0, 20}}},  // no move
    {DOV_Zyn_WM_ANGLE, 0, DOV_Zyn_WM_LENGTH, 10, {{0, 0, 0}, {100, 0, 20}}},  // flat: no move
    {DOV_Zyn_WM_LENGTH, 10, static_cast<DOV_Zyn_WM_STEP>(9), 5, {{0, 0, 0}, {10, 0, 0}, {100, 0, 20}}},
    {static_cast<DOV_Zyn_WM_STEP>(9), 10, DOV_Zyn_WM_LENGTH, 5, {{0, 0, 0}, {100, 0, 20}}},
    // Within the wire's diameter of the last point: no point.
    {DOV_Zyn_WM_LENGTH, 1, DOV_Zyn_WM_LENGTH, 1, {{0, 0, 0}, {100, 0, 20}}},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.hk << " " << c.h << " " << c.vk << " " << c.v);
    TestQel qel;
    dovCZyn_WireModel model(1, "m", 1, 1);
    model.AddStep(dovCZyn_WMStep(c.hk, c.h, c.vk, c.v));
    qel.AddWireModel(&model);
    std::unique_ptr<dovCZyn_Wire> wire(makeWire(1, 8, {{0, 0, 0}, {100, 0, 20}}));
    wire->AddAttribute(freeAttribute("WIRE_MODEL", "1"));
    qel.AddPolyData(wire.get());
    ASSERT_EQ(qel.UpdateWireModel(0), 1);
    ExpectPath(qel.GetPolyData(0), c.path);
  }
}

TEST_F(WireModelUpdate, SwitchStepsBuildFromTheEndAndReversedModelsSwapEnds)
{
  Model()->AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));
  Model()->AddStep(dovCZyn_WMStep());
  Model()->AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));
  ASSERT_EQ(m_qel.UpdateWireModel(0), 1);
  ExpectPath(m_qel.GetPolyData(0), {{0, 0, 0}, {10, 0, 5}, {90, 0, 5}, {100, 0, 0}});
  EXPECT_EQ(valueOf(m_qel.Item(0), "Zyn_INT_VERTEX_COUNT"), "4");

  Model()->SetDirection(2);
  ASSERT_EQ(m_qel.UpdateWireModel(0), 1);
  ExpectPath(m_qel.GetPolyData(0), {{100, 0, 0}, {90, 0, 5}, {10, 0, 5}, {0, 0, 0}});
}

TEST_F(WireModelUpdate, APathWithALegShorterThanTheRadiusLeavesTheOldWire)
{
  dovCQelPolyData* old = m_qel.Item(0);
  const long attributes = old->GetAttributeCount();
  Model()->AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 99.5, DOV_Zyn_WM_LENGTH, 0));
  ASSERT_EQ(m_qel.UpdateWireModel(0), 1);
  EXPECT_EQ(m_qel.Item(0), old);
  EXPECT_EQ(old->GetAttributeCount(), attributes);
  EXPECT_EQ(m_qel.GetPolyDataByID(42), old);
  EXPECT_EQ(Model()->GetReference(0), static_cast<dovCZyn_Referrer*>(old));
  ExpectPath(old, {{0, 0, 0}, {100, 0, 0}});
}

TEST_F(WireModelUpdate, SpecRowsAreCheckedStoredAndRebuildTheirWires)
{
  dovCZyn_Table* table = new dovCZyn_Table("WIRE_MODEL");
  EXPECT_EQ(m_qel.UpdateWireModel(1, "4-point FORWARD 10 50"), 0); // no table yet
  m_qel.AddTable(table);
  // A new index only stores the row.
  EXPECT_EQ(m_qel.UpdateWireModel(1, "5-point FORWARD 10 30 20 40"), 1);
  EXPECT_STREQ(table->GetAttribute(1)->GetValue(), "5-point FORWARD 10 30 20 40");
  ExpectPath(m_qel.GetPolyData(0), {{0, 0, 0}, {100, 0, 0}});

  struct Refused
  {
    const char* spec;
  } refused[] = {{"5-point FORWARD 10 30 20"}, {"4-point FORWARD 10"}, {""}, {"weird FORWARD 1 2 3"}};
  for (const Refused& r : refused)
  {
    EXPECT_EQ(m_qel.UpdateWireModel(1, r.spec), 0) << r.spec;
    EXPECT_STREQ(table->GetAttribute(1)->GetValue(), "5-point FORWARD 10 30 20 40");
  }
  table->AddAttribute(2, "4-point FORWARD");
  EXPECT_EQ(m_qel.UpdateWireModel(2, "4-point FORWARD 10 50"), 0); // the old row is short
  EXPECT_STREQ(table->GetAttribute(2)->GetValue(), "4-point FORWARD");

  // The wire uses row 1 from now on.
  m_qel.Item(0)->AddAttribute(table->GetAttribute(1));
  ASSERT_EQ(m_qel.UpdateWireModel(1, "5-point FORWARD 10 30 20 40"), 1);
  ExpectPath(m_qel.GetPolyData(0), {{0, 0, 0}, {0, 0, 10}, {20, 0, 30}, {60, 0, 30}, {100, 0, 0}});
  EXPECT_EQ(valueOf(m_qel.Item(0), "Zyn_INT_VERTEX_COUNT"), "5");
  EXPECT_EQ(m_qel.GetPolyDataByID(42), m_qel.Item(0));

  ASSERT_EQ(m_qel.UpdateWireModel(1, "4-point FORWARD 20 30"), 1);
  ExpectPath(m_qel.GetPolyData(0), {{0, 0, 0}, {0, 0, 20}, {30, 0, 20}, {100, 0, 0}});
  EXPECT_EQ(valueOf(m_qel.Item(0), "Zyn_INT_VERTEX_COUNT"), "4");
  // Turning the direction word to REVERSE swaps start and end; keeping it does not.
  ASSERT_EQ(m_qel.UpdateWireModel(1, "4-point REVERSE 20 30"), 1);
  ExpectPath(m_qel.GetPolyData(0), {{100, 0, 0}, {100, 0, 20}, {70, 0, 20}, {0, 0, 0}});
  ASSERT_EQ(m_qel.UpdateWireModel(1, "4-point REVERSE 20 30"), 1);
  ExpectPath(m_qel.GetPolyData(0), {{100, 0, 0}, {100, 0, 20}, {70, 0, 20}, {0, 0, 0}});
  EXPECT_EQ(table->GetAttribute(1)->GetReferenceCount(), 1);
}

TEST_F(WireModelUpdate, SpecRebuildSkipsReferrersThatAreNotPolyData)
{
  dovCZyn_Table* table = new dovCZyn_Table("WIRE_MODEL");
  m_qel.AddTable(table);
  table->AddAttribute(1, "4-point FORWARD 10 50");
  // A design rule whose marker uses the row, as imported rule markers do.
  dovCZyn_DRCRule rule(2, 1, "marked");
  auto* marker = new dovCZyn_Sphere({}, 1, 8);
  marker->AddAttribute(table->GetAttribute(1));
  rule.SetMarker(marker);
  m_qel.AddDRCRule(&rule);
  rule.SetMarker(nullptr);
  m_qel.Item(0)->AddAttribute(table->GetAttribute(1));
  EXPECT_EQ(table->GetAttribute(1)->GetReferenceCount(), 2);
  ASSERT_EQ(m_qel.UpdateWireModel(1, "4-point FORWARD 20 30"), 1);
  ExpectPath(m_qel.GetPolyData(0), {{0, 0, 0}, {0, 0, 20}, {30, 0, 20}, {100, 0, 0}});
}

TEST_F(WireModelUpdate, SetWireModelRelabelsRadiiAllOrOnlyThoseOfTheOldRadius)
{
  AddWire({{0, 0, 50}, {100, 0, 50}}, 2, 8, "43"); // a radius of its own
  dovCZyn_WireModel source(9, "thick", 2, 1.5);
  source.AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));
  EXPECT_EQ(m_qel.SetWireModel(3, &source, 1), 0);

  ASSERT_EQ(m_qel.SetWireModel(0, &source, 0), 1);
  EXPECT_STREQ(Model()->GetName(), "thick");
  EXPECT_EQ(Model()->GetDirection(), 2);
  EXPECT_EQ(Model()->GetRadius(), 1.5);
  EXPECT_EQ(Model()->GetStepCount(), 1);
  EXPECT_EQ(Model()->GetIndex(), 1);
  EXPECT_EQ(Model()->GetUpdate(), 8);
  EXPECT_EQ(valueOf(m_qel.Item(0), "Zyn_INT_RADIUS"), "1.50");
  EXPECT_EQ(m_qel.Item(0)->GetUpdate(), 2);
  EXPECT_EQ(valueOf(m_qel.Item(1), "Zyn_INT_RADIUS"), "2.00");
  EXPECT_EQ(m_qel.Item(1)->GetUpdate(), 0);

  ASSERT_EQ(m_qel.SetWireModel(0, &source, 1), 1);
  EXPECT_EQ(valueOf(m_qel.Item(1), "Zyn_INT_RADIUS"), "1.50");
  EXPECT_EQ(m_qel.Item(1)->GetUpdate(), 2);
  ASSERT_EQ(m_qel.SetWireModel(0, Model(), 1), 1); // onto itself: steps survive
  EXPECT_EQ(Model()->GetStepCount(), 1);
}

TEST_F(WireModelUpdate, SpecialWiresAreThoseWhoseRingRadiusDiffersFromTheModel)
{
  EXPECT_EQ(m_qel.GetSpecialWireCount(0), 0);
  EXPECT_EQ(m_qel.GetSpecialWireCount(5), 0);
  AddWire({{0, 10, 0}, {100, 10, 0}}, 1, 5, "44");  // odd sides, model radius
  AddWire({{0, 20, 0}, {100, 20, 0}}, 1, 7, "45");
  EXPECT_EQ(m_qel.GetSpecialWireCount(0), 0);
  AddWire({{0, 30, 0}, {100, 30, 0}}, 2, 6, "46");
  AddWire({{0, 40, 0}, {100, 40, 0}}, 1.25, 9, "47");
  EXPECT_EQ(m_qel.GetSpecialWireCount(0), 2);
}

TEST_F(WireModelUpdate, AShownWireIsSwappedIntoItsMapper)
{
  vtkNew<vtkPolyDataMapper> mapper;
  vtkNew<vtkActor> actor;
  actor->SetMapper(mapper);
  mapper->SetInputData(m_qel.GetPolyData(0));
  m_qel.Item(0)->SetView(mapper, actor);
  Model()->AddStep(dovCZyn_WMStep(DOV_Zyn_WM_LENGTH, 10, DOV_Zyn_WM_LENGTH, 5));
  ASSERT_EQ(m_qel.UpdateWireModel(0), 1);
  EXPECT_EQ(mapper->GetInput(), m_qel.GetPolyData(0));
  EXPECT_EQ(m_qel.Item(0)->GetMapper(), mapper.Get());
  EXPECT_EQ(m_qel.Item(0)->GetActor(), actor.Get());
}
