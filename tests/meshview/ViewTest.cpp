// The modal view: window placement, background, one actor per poly data, and the loop
// ending when the window is closed.
#include <gtest/gtest.h>

#include <mfc/test_control.h>

#include <string>

#include <vtkActorCollection.h>
#include <vtkObjectFactory.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>
#include <vtkVersionMacros.h>
#include <vtkXRenderWindowInteractor.h>

#include "MeshFixtures.h"

namespace
{
// What the interactor saw when its loop started.
struct Seen
{
  bool closed = false;
  int position[2] = {-1, -1};
  int size[2] = {0, 0};
  double background[3] = {-1, -1, -1};
  int actors = -1;
  std::string title;
} s_seen;

// The display's interactor, which closes its window from a timer shortly after the loop
// starts, the way a user's close would.
class ClosingInteractor : public vtkXRenderWindowInteractor
{
public:
  static ClosingInteractor* New();
  vtkTypeMacro(ClosingInteractor, vtkXRenderWindowInteractor);

  void Start() override
  {
    vtkRenderWindow* window = GetRenderWindow();
    const int* position = window->GetPosition();
    const int* size = window->GetSize();
    s_seen.position[0] = position[0];
    s_seen.position[1] = position[1];
    s_seen.size[0] = size[0];
    s_seen.size[1] = size[1];
    s_seen.title = window->GetWindowName();
    vtkRenderer* renderer = window->GetRenderers()->GetFirstRenderer();
    renderer->GetBackground(s_seen.background);
    s_seen.actors = renderer->GetActors()->GetNumberOfItems();
    AddObserver(vtkCommand::TimerEvent, this, &ClosingInteractor::Close);
    CreateOneShotTimer(200);
    Superclass::Start();
  }

private:
  void Close()
  {
    s_seen.closed = true;
    ExitCallback();
  }
};
vtkStandardNewMacro(ClosingInteractor);

class ClosingFactory : public vtkObjectFactory
{
public:
  static ClosingFactory* New()
  {
    auto* factory = new ClosingFactory;
    factory->InitializeObjectBase();
    return factory;
  }
  vtkTypeMacro(ClosingFactory, vtkObjectFactory);
  const char* GetVTKSourceVersion() override { return VTK_SOURCE_VERSION; }
  const char* GetDescription() override { return "interactor that closes its window"; }

protected:
  ClosingFactory()
  {
    RegisterOverride("vtkRenderWindowInteractor", "ClosingInteractor", "closing", 1,
                     [] { return static_cast<vtkObject*>(ClosingInteractor::New()); });
  }
};

class View : public ::testing::Test
{
protected:
  void SetUp() override
  {
    vtkObjectFactory::RegisterFactory(m_factory);
    vtkObjectFactory::SetAllEnableFlags(0, "vtkRenderWindowInteractor");
    vtkObjectFactory::SetAllEnableFlags(1, "vtkRenderWindowInteractor", "ClosingInteractor");
    s_seen = Seen();
  }
  void TearDown() override
  {
    vtkObjectFactory::UnRegisterFactory(m_factory);
    vtkObjectFactory::SetAllEnableFlags(1, "vtkRenderWindowInteractor");
    mfcTestSetDesktopRect(CRect(0, 0, 1920, 1080));
  }

  vtkNew<ClosingFactory> m_factory;
};
} // namespace

TEST_F(View, ShowsEveryPolyDataCentredAndReturnsWhenClosed)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  mfcTestSetDesktopRect(CRect(0, 0, 1000, 800));

  qel.ViewPolyData("Small model", RGB(51, 102, 153));

  EXPECT_TRUE(s_seen.closed);
  EXPECT_EQ(s_seen.size[0], 600);
  EXPECT_EQ(s_seen.size[1], 600);
  EXPECT_EQ(s_seen.position[0], 200);
  EXPECT_EQ(s_seen.position[1], 100);
  EXPECT_EQ(s_seen.title, "Small model");
  EXPECT_NEAR(s_seen.background[0], 0.2, 1e-6);
  EXPECT_NEAR(s_seen.background[1], 0.4, 1e-6);
  EXPECT_NEAR(s_seen.background[2], 0.6, 1e-6);
  EXPECT_EQ(s_seen.actors, qel.GetPolyDataCount());
  // No actor or mapper outlives the view.
  for (long i = 0; i < qel.GetPolyDataCount(); ++i)
  {
    EXPECT_EQ(qel.Item(i)->GetActor(), nullptr);
    EXPECT_EQ(qel.Item(i)->GetMapper(), nullptr);
    EXPECT_EQ(qel.Item(i)->GetReferenceCount(), 1);
  }
}

TEST_F(View, EmptyContainerShowsAnEmptyWindow)
{
  TestQel qel;
  qel.ViewPolyData(nullptr, 0);
  EXPECT_TRUE(s_seen.closed);
  EXPECT_EQ(s_seen.actors, 0);
  EXPECT_EQ(s_seen.position[0], 660);
  EXPECT_EQ(s_seen.position[1], 240);
}
