// Layer colours: the summary table, the layer's colours, and recolouring a layer.
#include <gtest/gtest.h>

#include <vtkActor.h>
#include <vtkNew.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>

#include <zyn/test_control.h>

#include "MeshFixtures.h"

namespace
{
// A container with layers 1 and 2 and a "COLOR" table; each sphere goes on a layer with a
// colour text (made a "COLOR" row) or none (null).
class LayerColor : public ::testing::Test
{
protected:
  void Build(std::initializer_list<std::pair<long, const char*>> spheres)
  {
    dovCZyn model;
    dovCZyn_Table* layers = model.AddTable(new dovCZyn_Table("LAYER"));
    dovCZyn_Table* colours = model.AddTable(new dovCZyn_Table("COLOR"));
    layers->AddAttribute(1, "One");
    layers->AddAttribute(2, "Two");
    double x = 0;
    for (auto [layer, colour] : spheres)
    {
      dovCZyn_Geometry* sphere = model.AddGeometry(new dovCZyn_Sphere({x += 3, 0, 0}, 1, 8));
      sphere->AddAttribute(layers->GetAttribute(layer));
      if (colour)
      {
        dovCZyn_Attribute* row = colours->FindValue(colour);
        sphere->AddAttribute(row ? row : colours->AddAttribute(colours->GetMaximumIndex() + 1, colour));
      }
    }
    m_qel.ImportData(&model);
  }

  std::string Summary(long layer) const
  {
    const dovCZyn_Attribute* row = m_qel.GetTable("Zyn_INT_LAYER_COLOR")->GetAttribute(layer);
    return row ? row->GetValue() : "<none>";
  }

  TestQel m_qel;
};
} // namespace

TEST_F(LayerColor, SummaryRowsTellUniformColoursAndAlphas)
{
  struct Case
  {
    const char* first;
    const char* second;
    const char* summary;
  } cases[] = {
    {"255 0 0 255", "255 0 0 255", "255 0 0 255"},
    {"255 0 0 255", "0 0 255 255", "-1 -1 -1 255"},
    {"255 255 255 255", "255 0 0 255", "255 0 0 255"}, // white counts as not yet seen
    {"255 255 255 255", "255 255 255 128", "255 255 255 128"},
    {"9 9 9 128", "9 9 9 64", "9 9 9 -1"},
    {nullptr, "0 255 0 255", "0 255 0 255"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.summary);
    m_qel.~TestQel();
    new (&m_qel) TestQel;
    Build({{1, c.first}, {1, c.second}});
    EXPECT_EQ(Summary(1), c.summary);
    EXPECT_EQ(Summary(2), "255 255 255 255");
  }
}

TEST_F(LayerColor, SummaryTableIsRebuiltAndEmptyWithoutLayersOrColours)
{
  Build({{1, "1 2 3 4"}});
  m_qel.BuildLayerColorTable();
  m_qel.BuildLayerColorTable();
  int summaries = 0;
  for (long i = 0; i < m_qel.GetTableCount(); ++i)
    summaries += CString(m_qel.GetTable(i)->GetName()) == "Zyn_INT_LAYER_COLOR";
  EXPECT_EQ(summaries, 1);
  EXPECT_STREQ(m_qel.GetTable(m_qel.GetTableCount() - 1)->GetName(), "Zyn_INT_LAYER_COLOR");

  TestQel bare;
  bare.AddAttribute("LAYER", 1, "x");
  bare.BuildLayerColorTable();
  EXPECT_EQ(bare.GetTable("Zyn_INT_LAYER_COLOR")->GetAttributeCount(), 0);
}

TEST_F(LayerColor, LayerColourIsAColorrefOrAllOnesWhenMixed)
{
  Build({{1, "255 0 0 200"}, {2, "255 0 0 255"}, {2, "0 0 255 255"}});
  COLORREF colour = 0;
  int alpha = 0;
  m_qel.GetLayerColor(1, colour, alpha);
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(alpha, 200);
  m_qel.GetLayerColor(2, colour, alpha);
  EXPECT_EQ(colour, 0xFFFFFFFFu);
  EXPECT_EQ(alpha, 255);
  m_qel.GetLayerColor(7, colour, alpha);
  EXPECT_EQ(colour, 0xFFFFFFu);
  EXPECT_EQ(alpha, 255);
}

TEST_F(LayerColor, LayerColoursAreDistinctRowsInOrderOfFirstUse)
{
  Build({{1, "0 0 255 255"}, {1, "255 0 0 255"}, {1, "0 0 255 255"}, {1, nullptr}, {2, "1 1 1 1"}});
  dovCArray<dovCZyn_Attribute*> colours;
  m_qel.GetLayerColors(1, &colours);
  ASSERT_EQ(colours.GetSize(), 2);
  EXPECT_STREQ(colours[0]->GetValue(), "0 0 255 255");
  EXPECT_STREQ(colours[1]->GetValue(), "255 0 0 255");
  m_qel.GetLayerColors(9, &colours); // no such layer: unchanged
  EXPECT_EQ(colours.GetSize(), 2);
}

TEST_F(LayerColor, SettingAlphaKeepsColoursAndSharesReplacementRows)
{
  Build({{1, "255 0 0 255"}, {1, "255 0 0 255"}, {1, "0 0 255 255"}, {2, "255 0 0 255"}});
  vtkNew<vtkPolyDataMapper> mapper;
  vtkNew<vtkActor> actor;
  actor->SetMapper(mapper);
  m_qel.Item(0)->SetView(mapper, actor);

  m_qel.SetLayerColor(1, 0xFFFFFFFF, 128);
  EXPECT_EQ(valueOf(m_qel.Item(0), "COLOR"), "255 0 0 128");
  EXPECT_EQ(m_qel.Item(0)->GetAttribute("COLOR"), m_qel.Item(1)->GetAttribute("COLOR"));
  EXPECT_EQ(valueOf(m_qel.Item(2), "COLOR"), "0 0 255 128");
  EXPECT_EQ(valueOf(m_qel.Item(3), "COLOR"), "255 0 0 255"); // other layer
  EXPECT_NEAR(actor->GetProperty()->GetOpacity(), 0.502, 1e-3);
  double rgb[3];
  actor->GetProperty()->GetColor(rgb);
  EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 3); // untouched
  EXPECT_EQ(Summary(1), "-1 -1 -1 128");

  // Setting the colour reuses the row that already has the text.
  m_qel.SetLayerColor(1, RGB(255, 0, 0), -1);
  EXPECT_EQ(m_qel.Item(2)->GetAttribute("COLOR"), m_qel.Item(0)->GetAttribute("COLOR"));
  EXPECT_EQ(Summary(1), "255 0 0 128");
  actor->GetProperty()->GetColor(rgb);
  EXPECT_NEAR(rgb[0], 1, 1e-6);
  EXPECT_NEAR(rgb[2], 0, 1e-6);
  COLORREF colour = 0;
  int alpha = 0;
  m_qel.GetLayerColor(1, colour, alpha);
  EXPECT_EQ(colour, 0x0000FFu);
  EXPECT_EQ(alpha, 128);
}

TEST_F(LayerColor, UncolouredPolyDataGetAColourRowTheyShare)
{
  Build({{1, nullptr}, {1, nullptr}, {2, "1 2 3 4"}});
  m_qel.SetLayerColor(1, RGB(0, 255, 0), -1);
  dovCZyn_Attribute* colour = m_qel.Item(0)->GetAttribute("COLOR");
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour, m_qel.Item(1)->GetAttribute("COLOR"));
  EXPECT_EQ(colour->GetTable(), m_qel.GetTable("COLOR"));
  EXPECT_STREQ(colour->GetValue(), "0 255 0 255");
  EXPECT_EQ(Summary(1), "0 255 0 255");
}

TEST_F(LayerColor, NothingHappensWithoutChangesLayersOrRow)
{
  Build({{1, "1 2 3 4"}});
  m_qel.SetLayerColor(1, 0xFFFFFFFF, -1);
  m_qel.SetLayerColor(5, RGB(1, 1, 1), 3);
  EXPECT_EQ(valueOf(m_qel.Item(0), "COLOR"), "1 2 3 4");

  TestQel noColours;
  noColours.AddAttribute("LAYER", 1, "x");
  noColours.SetLayerColor(2, RGB(1, 1, 1), 3);
  EXPECT_NE(noColours.GetTable("COLOR"), nullptr); // made, though the layer is absent
  TestQel noLayers;
  noLayers.SetLayerColor(1, RGB(1, 1, 1), 3);
  EXPECT_EQ(noLayers.GetTableCount(), 0);
}

TEST_F(LayerColor, WalksSkipDesignRuleMarkersAmongTheReferrers)
{
  auto model = makeSmallModel(); // its rule marker uses layer 1 like the wire and extrusion
  m_qel.ImportData(model.get());
  EXPECT_EQ(m_qel.GetTable("LAYER")->GetAttribute(1)->GetReferenceCount(), 3);
  EXPECT_EQ(Summary(1), "-1 -1 -1 255"); // red wire, then the uncoloured (white) extrusion
  dovCArray<dovCZyn_Attribute*> colours;
  m_qel.GetLayerColors(1, &colours);
  EXPECT_EQ(colours.GetSize(), 1);
  m_qel.SetLayerColor(1, RGB(0, 0, 0), 10);
  EXPECT_EQ(valueOf(m_qel.Item(0), "COLOR"), "0 0 0 10");
  EXPECT_EQ(valueOf(m_qel.Item(1), "COLOR"), "0 0 0 10");
  EXPECT_EQ(m_qel.GetDRCRule(0L)->GetMarker()->GetAttribute("COLOR"), nullptr);
}

TEST_F(LayerColor, AColourOfItsOwnIsReplacedByARowAndFreed)
{
  Build({{1, nullptr}});
  dovCZyn_Table layers("LAYER");
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  sphere->AddAttribute(layers.AddAttribute(1, "One"));
  sphere->AddAttribute(freeAttribute("COLOR", "1 2 3 4"));
  m_qel.AddPolyData(sphere.get());
  const long liveBefore = zynTestLiveAttributeCount();
  m_qel.SetLayerColor(1, 0xFFFFFFFF, 99);
  EXPECT_EQ(valueOf(m_qel.Item(1), "COLOR"), "1 2 3 99");
  EXPECT_EQ(m_qel.Item(1)->GetAttribute("COLOR")->GetTable(), m_qel.GetTable("COLOR"));
  EXPECT_EQ(valueOf(m_qel.Item(0), "COLOR"), "255 255 255 99");
  // Two rows added, the poly data's own colour deleted.
  EXPECT_EQ(zynTestLiveAttributeCount() - liveBefore, 1);
}
