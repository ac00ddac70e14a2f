// The container: import, lists, tables, design rules, wire models, progress and units.
#include <gtest/gtest.h>

#include <zyn/test_control.h>

#include "MeshFixtures.h"

TEST(Container, UnitNamesParseWithoutRegardToCase)
{
  struct Case
  {
    const char* name;
    DOV_Zyn_UNITS units;
  } cases[] = {{"um", DOV_Zyn_MICRONS},   {"Microns", DOV_Zyn_MICRONS}, {"MILLIMETRES", DOV_Zyn_MILLIMETERS},
               {"mm", DOV_Zyn_MILLIMETERS}, {"centimeter", DOV_Zyn_CENTIMETERS}, {"inches", DOV_Zyn_INCHES},
               {"IN", DOV_Zyn_INCHES},    {"mil", DOV_Zyn_MILS},        {"ML", DOV_Zyn_MILS},
               {"", DOV_Zyn_MICRONS},     {"furlong", DOV_Zyn_MICRONS}, {nullptr, DOV_Zyn_MICRONS}};
  for (const Case& c : cases)
    EXPECT_EQ(TestQel::StringToUnits(c.name), c.units) << (c.name ? c.name : "null");
  const char* names[] = {"um", "um", "mm", "cm", "mils", "in", "um", "um"};
  for (int code = 0; code <= 7; ++code)
    EXPECT_STREQ(TestQel::UnitsToString(static_cast<DOV_Zyn_UNITS>(code)), names[code]) << code;
}

TEST(Container, StartsEmptyWithDefaults)
{
  TestQel qel;
  EXPECT_STREQ(qel.GetUnitsAsString(), "um");
  EXPECT_EQ(qel.GetPrecision(), 2);
  EXPECT_EQ(qel.GetRenderMode(), 4);
  EXPECT_EQ(qel.GetPolyData(0), nullptr);
  EXPECT_EQ(qel.GetPolyData(-1), nullptr);
  EXPECT_EQ(qel.GetTable(0L), nullptr);
  EXPECT_EQ(qel.GetMaximumDRCIndex(), 0);
  EXPECT_EQ(qel.GetMaximumWireModelIndex(), 0);
  EXPECT_STREQ(qel.GetRuntimeClass()->m_lpszClassName, "dovCQel");
  EXPECT_EQ(vtkObject::GetGlobalWarningDisplay(), 0);
}

TEST(Container, ImportConvertsTheModelAndRecordsIds)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  EXPECT_STREQ(qel.GetUnitsAsString(), "mm");
  EXPECT_EQ(qel.GetPrecision(), 3);
  // Four geometries and one marker; the bare geometry is skipped.
  ASSERT_EQ(qel.GetPolyDataCount(), 5);
  const DOV_Zyn_OBJ types[] = {DOV_Zyn_OBJ_WIRE, DOV_Zyn_OBJ_EXTRUSION, DOV_Zyn_OBJ_SPHERE,
                               DOV_Zyn_OBJ_BARREL, DOV_Zyn_OBJ_SPHERE};
  for (long i = 0; i < 5; ++i)
    EXPECT_EQ(qel.Item(i)->GetObjectType(), types[i]);
  EXPECT_EQ(qel.GetPolyData(5), nullptr);
  // The second geometry with ID 10 wins; the skipped one adds no entry.
  EXPECT_EQ(qel.GetPolyDataByID(10), qel.Item(2));
  EXPECT_EQ(qel.GetPolyDataByID(11), qel.Item(1));
  EXPECT_EQ(qel.GetPolyDataByID(12), nullptr);
  EXPECT_EQ(qel.UpdatePolydata(99, qel.Item(0)), 0);
  EXPECT_EQ(qel.GetPolyDataByID(99), nullptr);
  EXPECT_EQ(qel.UpdatePolydata(11, qel.Item(3)), 1);
  EXPECT_EQ(qel.GetPolyDataByID(11), qel.Item(3));

  // Tables are copies: the poly data share the container's rows, not the model's.
  EXPECT_EQ(qel.GetTableCount(), 5); // the model's four and the layer-colour summary
  EXPECT_NE(qel.GetTable("LAYER"), model->GetTable("LAYER"));
  EXPECT_EQ(qel.Item(0)->GetAttribute("LAYER"), qel.GetTable("LAYER")->GetAttribute(1));
  // The model rows keep only the model's own users: its wire, extrusion and rule marker.
  EXPECT_EQ(model->GetTable("LAYER")->GetAttribute(1)->GetReferenceCount(), 3);
  EXPECT_EQ(qel.GetWireModelCount(), 1);
  EXPECT_EQ(qel.GetWireModel(0)->GetReferenceCount(), 1);
  EXPECT_EQ(qel.GetMaximumWireModelIndex(), 1);

  // The marker got the model's "DRC_ERROR" rows (object and layer).
  const dovCZyn_Geometry* marker = model->GetDRCMarker(0);
  EXPECT_STREQ(marker->GetAttribute("LAYER")->GetValue(), "DRC_ERROR");
  EXPECT_STREQ(marker->GetAttribute("OBJECT")->GetValue(), "DRC_ERROR");
  EXPECT_EQ(qel.Item(4)->GetAttribute("LAYER"), qel.GetTable("LAYER")->GetAttribute(2));
}

TEST(Container, ImportSteps250GeometriesAtZero100And200)
{
  dovCZyn model;
  for (int i = 0; i < 250; ++i)
    model.AddGeometry(new dovCZyn_Sphere({static_cast<double>(i), 0, 0}, 0.4, 4));
  CProgressCtrl progress;
  TestQel qel;
  qel.SetProgressBar(&progress);
  qel.ImportData(&model);
  EXPECT_EQ(qel.GetPolyDataCount(), 250);
  const std::vector<CProgressCtrl::Message> expected = {
    {PBM_SETRANGE32, 0, 3}, {PBM_SETPOS, 0, 0}, {PBM_SETSTEP, 1, 0},
    {PBM_STEPIT, 0, 0},     {PBM_STEPIT, 0, 0}, {PBM_STEPIT, 0, 0}};
  EXPECT_EQ(progress.GetMessages(), expected);
  EXPECT_EQ(progress.GetPos(), 3);

  progress.ClearMessages();
  DovQelProgress(&qel);
  qel.SetProgressBar(nullptr);
  qel.DoProgress();
  qel.ResetProgress(4);
  EXPECT_EQ(progress.GetMessages().size(), 1u);
}

TEST(Container, ImportReplacesEverythingOfTheLastImport)
{
  const long liveBefore = zynTestLiveAttributeCount();
  {
    auto model = makeSmallModel();
    TestQel qel;
    qel.ImportData(model.get());
    qel.ImportData(model.get());
    EXPECT_EQ(qel.GetPolyDataCount(), 5);
    EXPECT_EQ(qel.GetWireModelCount(), 1);
    EXPECT_EQ(qel.GetWireModel(0)->GetReferenceCount(), 1); // only the new wire
    EXPECT_EQ(qel.GetDRCRuleCount(), 1);
    EXPECT_EQ(qel.GetTableCount(), 5);
    EXPECT_EQ(qel.GetTable("LAYER")->GetAttribute(1)->GetReferenceCount(), 3); // wire, extrusion, rule marker
  }
  EXPECT_EQ(zynTestLiveAttributeCount(), liveBefore);
}

TEST(Container, RulesAreCopiedOntoTheContainerRows)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  ASSERT_EQ(qel.GetDRCRuleCount(), 1);
  const dovCZyn_DRCRule* rule = qel.GetDRCRule("spacing");
  ASSERT_NE(rule, nullptr);
  EXPECT_EQ(qel.GetDRCRule("Spacing"), nullptr);
  EXPECT_EQ(rule->GetIndex(), 5);
  EXPECT_EQ(rule->GetRule(), 2);
  EXPECT_EQ(rule->GetParameter(0), 0.5);
  EXPECT_EQ(qel.GetMaximumDRCIndex(), 5);
  const dovCZyn_Attribute* inputLayer = rule->GetInput(0)->GetAttribute("LAYER");
  EXPECT_EQ(inputLayer, qel.GetTable("LAYER")->GetAttribute(2));
  EXPECT_STREQ(rule->GetInput(0)->GetAttribute("NOTE")->GetValue(), "input");
  EXPECT_EQ(rule->GetMarker()->GetAttribute("LAYER"), qel.GetTable("LAYER")->GetAttribute(1));

  // The row a rule input uses survives a purge, so the rule never points at a deleted row.
  qel.PurgeAllTables();
  ASSERT_NE(qel.GetTable("LAYER"), nullptr);
  EXPECT_EQ(qel.GetTable("LAYER")->GetAttribute(2), inputLayer);
  model.reset();
  qel.DeleteDRCRule(3);
  EXPECT_EQ(qel.GetDRCRuleCount(), 1);
  dovCZyn_DRCRule own(9, 1, "width");
  qel.AddDRCRule(&own);
  EXPECT_NE(qel.GetDRCRule(1), &own);
  EXPECT_EQ(qel.GetMaximumDRCIndex(), 9);
  qel.DeleteDRCRule(0);
  EXPECT_STREQ(qel.GetDRCRule(0L)->GetName(), "width");
}

TEST(Container, MarkerImportAddsRowsEvenWhenPresentAndSkipsWithoutDrcRows)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  qel.ImportDRCMarkers(model.get());
  EXPECT_EQ(qel.GetPolyDataCount(), 6);
  EXPECT_EQ(model->GetDRCMarker(0)->GetAttributeCount(), 4); // the rows twice over

  dovCZyn bare;
  bare.AddTable(new dovCZyn_Table("LAYER"))->AddAttribute(1, "Top");
  bare.AddDRCMarker(new dovCZyn_Sphere({}, 1, 8));
  qel.ImportDRCMarkers(&bare);
  EXPECT_EQ(bare.GetDRCMarker(0)->GetAttributeCount(), 0);
  EXPECT_EQ(qel.GetPolyDataCount(), 7);
}

TEST(Container, TablesAddRemoveCountAndPurge)
{
  TestQel qel;
  EXPECT_EQ(qel.RemoveAttribute("LAYER", 0), 0);
  qel.AddAttribute("LAYER", 0, "Default");
  qel.AddAttribute("LAYER", 1, "Top");
  qel.AddAttribute("LAYER", 2, "Bottom");
  qel.AddAttribute("COLOR", 0, "0 0 0 255");
  qel.AddAttribute("Zyn_INT_LAYER_COLOR", 5, "1 1 1 1");
  EXPECT_EQ(qel.GetTableCount(), 3);
  EXPECT_EQ(qel.AddAttribute("LAYER", 1, "Upper"), qel.GetTable("LAYER")->GetAttribute(1));

  dovCZyn_Table modelLayers("LAYER");
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  sphere->AddAttribute(modelLayers.AddAttribute(2, "Bottom"));
  qel.AddPolyData(sphere.get());
  EXPECT_EQ(qel.GetAttributeReferenceCount("LAYER", 2), 1);
  EXPECT_EQ(qel.GetAttributeReferenceCount("LAYER", 9), 0);
  EXPECT_EQ(qel.GetAttributeReferenceCount("NONE", 2), 0);
  EXPECT_EQ(qel.RemoveAttribute("LAYER", 2), 0); // still used

  qel.PurgeTable("LAYER"); // row 0 stays, row 2 is used
  EXPECT_EQ(qel.GetTable("LAYER")->GetAttributeCount(), 2);
  qel.PurgeTable("Zyn_INT_LAYER_COLOR");
  qel.PurgeTable("NONE");
  qel.PurgeAllTables(); // row 0 goes now; COLOR empties and goes; the summary stays
  EXPECT_EQ(qel.GetTable("LAYER")->GetAttributeCount(), 1);
  EXPECT_EQ(qel.GetTable("COLOR"), nullptr);
  EXPECT_NE(qel.GetTable("Zyn_INT_LAYER_COLOR"), nullptr);

  qel.AddTable(new dovCZyn_Table("EMPTY"));
  qel.AddAttribute("EMPTY", 3, "x");
  qel.PurgeTable("EMPTY");
  EXPECT_EQ(qel.GetTable("EMPTY"), nullptr);
}

TEST(Container, DeletingPolyDataReleasesItsAttributesIdsAndWireModel)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  dovCQelPolyData* wire = qel.Item(0);
  const long liveBefore = zynTestLiveAttributeCount();
  EXPECT_EQ(qel.DeleteWireModel(0), 0); // the wire still uses it
  EXPECT_EQ(qel.DeleteWireModel(1), 0);

  qel.UpdatePolydata(11, wire); // a second id-map entry for the same poly data
  qel.DeletePolyData(wire);
  EXPECT_EQ(qel.GetPolyDataCount(), 4);
  EXPECT_EQ(qel.GetPolyDataByID(11), nullptr);
  EXPECT_EQ(qel.GetAttributeReferenceCount("LAYER", 1), 2); // extrusion and rule marker
  EXPECT_EQ(qel.GetAttributeReferenceCount("COLOR", 1), 0);
  // Its own attributes (vertex count, ID, wire model, end points, radius) are gone.
  EXPECT_EQ(liveBefore - zynTestLiveAttributeCount(), 5);
  EXPECT_EQ(qel.DeleteWireModel(0), 1);
  EXPECT_EQ(qel.GetWireModelCount(), 0);

  qel.DeletePolyData(wire); // no longer held: nothing
  EXPECT_EQ(qel.GetPolyDataCount(), 4);
}

TEST(Container, ClearKeepsWireModelsWithoutReferencesToTheGonePolyData)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  vtkSmartPointer<vtkPolyData> held = qel.GetPolyData(0); // an application keeps one
  qel.Clear();
  EXPECT_EQ(qel.GetPolyDataCount(), 0);
  EXPECT_EQ(qel.GetTableCount(), 0);
  EXPECT_EQ(qel.GetDRCRuleCount(), 0);
  ASSERT_EQ(qel.GetWireModelCount(), 1);
  EXPECT_EQ(qel.GetWireModel(0)->GetReferenceCount(), 0);
  EXPECT_EQ(qel.UpdateWireModel(0), 1);
  // The kept poly data no longer points at the deleted rows.
  EXPECT_EQ(dovCQelPolyData::SafeDownCast(held)->GetAttribute("LAYER"), nullptr);
  EXPECT_NE(dovCQelPolyData::SafeDownCast(held)->GetAttribute("ID"), nullptr);
}

TEST(Container, WireModelsAreCopiedAndFlagged)
{
  TestQel qel;
  dovCZyn_WireModel model(7, "w", 1, 2);
  qel.AddWireModel(&model);
  EXPECT_NE(qel.GetWireModel(0), &model);
  EXPECT_EQ(qel.GetWireModel(0)->GetUpdate(), 8);
  EXPECT_EQ(model.GetUpdate(), 0);
  EXPECT_EQ(qel.GetMaximumWireModelIndex(), 7);
  EXPECT_EQ(qel.GetWireModel(1), nullptr);
  EXPECT_EQ(qel.DeleteWireModel(-1), 0);
  EXPECT_EQ(qel.DeleteWireModel(0), 1);
}
