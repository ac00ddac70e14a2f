// The poly-data class with attributes, and the factory creators.
#include <gtest/gtest.h>

#include <dovCQelRenderLargeImage.h>
#include <zyn/dovCZyn_Table.h>
#include <zyn/test_control.h>

#include <memory>

#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkVersionMacros.h>
#include <vtkSmartPointer.h>

#include "MeshFixtures.h"

TEST(PolyData, FactoryCreatorsMakeTheLibraryClasses)
{
  vtkSmartPointer<dovCQelPolyData> polyData = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
  EXPECT_STREQ(polyData->GetClassName(), "dovCQelPolyData");
  EXPECT_TRUE(polyData->IsA("vtkPolyData"));
  EXPECT_EQ(polyData->GetObjectType(), DOV_Zyn_OBJ_OBJECT);
  auto collection = vtkSmartPointer<dovCQelPolyDataCollection>::Take(dovCQelPolyDataCollection::New());
  EXPECT_STREQ(collection->GetClassName(), "dovCQelPolyDataCollection");
  auto large = vtkSmartPointer<dovCQelRenderLargeImage>::Take(dovCQelRenderLargeImage::New());
  EXPECT_STREQ(large->GetClassName(), "dovCQelRenderLargeImage");
  EXPECT_TRUE(large->IsA("vtkRenderLargeImage"));
}

namespace
{
class TracedPolyData : public dovCQelPolyData
{
public:
  static TracedPolyData* New();
  vtkTypeMacro(TracedPolyData, dovCQelPolyData);
};
vtkStandardNewMacro(TracedPolyData);

class TracedFactory : public vtkObjectFactory
{
public:
  static TracedFactory* New()
  {
    auto* factory = new TracedFactory;
    factory->InitializeObjectBase();
    return factory;
  }
  vtkTypeMacro(TracedFactory, vtkObjectFactory);
  const char* GetVTKSourceVersion() override { return VTK_SOURCE_VERSION; }
  const char* GetDescription() override { return "traced poly data"; }

protected:
  TracedFactory()
  {
    RegisterOverride("dovCQelPolyData", "TracedPolyData", "traced", 1,
                     [] { return static_cast<vtkObject*>(TracedPolyData::New()); });
  }
};
} // namespace

TEST(PolyData, FactoryOverridesAreHonoured)
{
  vtkNew<TracedFactory> factory;
  vtkObjectFactory::RegisterFactory(factory);
  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  vtkObjectFactory::UnRegisterFactory(factory);
  EXPECT_STREQ(qel.GetPolyData(0)->GetClassName(), "TracedPolyData");
  auto plain = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
  EXPECT_STREQ(plain->GetClassName(), "dovCQelPolyData");
}

TEST(PolyData, UpdateWordOrsTogglesAndClears)
{
  struct Case
  {
    long start, flags;
    int add;
    long expected;
  } cases[] = {{2, 0, 1, 0}, {2, 2, 1, 2}, {2, 2, 0, 0}, {0, 2, 0, 2}, {8, 2, 1, 10}};
  for (const Case& c : cases)
  {
    auto polyData = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
    polyData->SetUpdate(c.start, 1);
    EXPECT_EQ(polyData->SetUpdate(c.flags, c.add), c.expected);
    EXPECT_EQ(polyData->GetUpdate(), c.expected);
  }
}

TEST(PolyData, AttributesKeepOrderAndReferrers)
{
  dovCZyn_Table layers("LAYER");
  dovCZyn_Attribute* top = layers.AddAttribute(4, "Top");
  dovCZyn_Attribute* bottom = layers.AddAttribute(0, "Bottom");
  auto polyData = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
  dovCZyn_Attribute* id = freeAttribute("ID", "1");
  polyData->AddAttribute(id);
  polyData->AddAttribute(top);
  EXPECT_EQ(polyData->EnumAttribute(1), top);
  EXPECT_EQ(polyData->EnumAttribute(2), nullptr);
  EXPECT_EQ(polyData->EnumAttribute(-1), nullptr);
  EXPECT_EQ(polyData->GetAttribute("layer"), nullptr);
  EXPECT_EQ(polyData->GetAttributeIndex("LAYER"), 4);
  EXPECT_EQ(polyData->GetAttributeIndex("ABSENT"), 0);
  EXPECT_EQ(top->GetReferenceCount(), 1);

  polyData->ReplaceAttribute(bottom, nullptr); // not held: no effect, no reference removed
  EXPECT_EQ(polyData->GetAttributeCount(), 2);
  polyData->ReplaceAttribute(top, bottom);
  EXPECT_EQ(polyData->EnumAttribute(1), bottom);
  EXPECT_EQ(top->GetReferenceCount(), 0);
  EXPECT_EQ(bottom->GetReferenceCount(), 1);
  EXPECT_EQ(polyData->GetAttributeIndex("LAYER"), 0);
  polyData->ReplaceAttribute(id, nullptr);
  EXPECT_EQ(polyData->EnumAttribute(0), bottom);
  delete id; // detached: no longer the poly data's
  polyData->ReplaceAttribute(bottom, nullptr);
  EXPECT_EQ(bottom->GetReferenceCount(), 0);
}

TEST(PolyData, ColourIsTheFirstColourAttributeOrWhite)
{
  auto polyData = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
  int r = 0, g = 0, b = 0, a = 0;
  polyData->GetColor(r, g, b, a);
  EXPECT_EQ(r + g + b + a, 4 * 255);
  polyData->AddAttribute(freeAttribute("COLOR", "10 20 30"));
  polyData->AddAttribute(freeAttribute("COLOR", "1 1 1 1"));
  polyData->GetColor(r, g, b, a);
  EXPECT_EQ(r, 10);
  EXPECT_EQ(b, 30);
  EXPECT_EQ(a, 255);
}

TEST(PolyData, DeletingItDeletesOwnedAttributesOnly)
{
  dovCZyn_Table layers("LAYER");
  dovCZyn_Attribute* top = layers.AddAttribute(1, "Top");
  const long liveBefore = zynTestLiveAttributeCount();
  {
    auto polyData = vtkSmartPointer<dovCQelPolyData>::Take(dovCQelPolyData::New());
    polyData->AddAttribute(freeAttribute("ID", "1"));
    polyData->AddAttribute(freeAttribute("NAME", "x"));
    polyData->AddAttribute(top);
    EXPECT_EQ(zynTestLiveAttributeCount() - liveBefore, 2);
    polyData->ReplaceAttribute(top, nullptr);
  }
  EXPECT_EQ(zynTestLiveAttributeCount(), liveBefore);
  EXPECT_STREQ(top->GetValue(), "Top");
}
