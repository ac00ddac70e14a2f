// The modal interactive view.
#include <vector>

#include <vtkActor.h>
#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkInteractorStyleTrackballCamera.h>
#include <vtkPolyDataMapper.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <zyn/dovColor.h>

#include "dovCQel.h"

namespace
{
constexpr int s_windowSize = 600;
constexpr double s_colourScale = 0.003921569; // 1/255

// Closing the window (or the exit key) ends the loop by marking the interactor done;
// asking the interactor to terminate the application would crash on the way out.
void onExit(vtkObject* caller, unsigned long, void*, void*)
{
  static_cast<vtkRenderWindowInteractor*>(caller)->SetDone(true);
}
} // namespace

void dovCQel::ViewPolyData(const char* title, COLORREF background)
{
  auto renderer = vtkSmartPointer<vtkRenderer>::New();
  std::vector<vtkSmartPointer<vtkActor>> actors;
  m_polyData->ForEachItem([&](vtkPolyData* item) {
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(item);
    auto actor = vtkSmartPointer<vtkActor>::New();
    actor->SetMapper(mapper);
    renderer->AddActor(actor);
    actors.push_back(actor);
    if (auto* polyData = dovCQelPolyData::SafeDownCast(item))
      polyData->SetView(mapper, actor);
  });

  int r = 0, g = 0, b = 0;
  dovColorrefToRgb(background, r, g, b);
  renderer->SetBackground(r * s_colourScale, g * s_colourScale, b * s_colourScale);

  auto window = vtkSmartPointer<vtkRenderWindow>::New();
  window->SetSize(s_windowSize, s_windowSize);
  window->AddRenderer(renderer);
  CRect desktop;
  CWnd::GetDesktopWindow()->GetWindowRect(&desktop);
  window->SetPosition((desktop.Width() - s_windowSize) / 2, (desktop.Height() - s_windowSize) / 2);

  auto interactor = vtkSmartPointer<vtkRenderWindowInteractor>::New();
  auto style = vtkSmartPointer<vtkInteractorStyleTrackballCamera>::New();
  interactor->SetRenderWindow(window);
  interactor->SetInteractorStyle(style);
  auto exit = vtkSmartPointer<vtkCallbackCommand>::New();
  exit->SetCallback(onExit);
  interactor->AddObserver(vtkCommand::ExitEvent, exit);

  interactor->Initialize();
  window->SetWindowName(title ? title : "");
  interactor->Start();

  for (const vtkSmartPointer<vtkActor>& actor : actors)
    renderer->RemoveActor(actor);
  actors.clear();
  interactor->RemoveObservers(vtkCommand::ExitEvent);
  window->Finalize();
}
