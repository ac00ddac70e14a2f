// Enlarged rendering: the picture grows by the magnification and matches the plain one.
#include <gtest/gtest.h>

#include <dovCQelRenderLargeImage.h>

#include <cmath>
#include <cstdlib>

#include <vtkActor.h>
#include <vtkImageData.h>
#include <vtkNew.h>
#include <vtkPolyDataMapper.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkWindowToImageFilter.h>

#include "MeshFixtures.h"

TEST(LargeImage, MagnifiesTheWindowAndShrinksBackToThePlainPicture)
{
  auto model = makeSmallModel();
  TestQel qel;
  qel.ImportData(model.get());
  vtkNew<vtkRenderer> renderer;
  for (long i = 0; i < qel.GetPolyDataCount(); ++i)
  {
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputData(qel.GetPolyData(i));
    vtkNew<vtkActor> actor;
    actor->SetMapper(mapper);
    renderer->AddActor(actor);
  }
  renderer->SetBackground(0.1, 0.2, 0.3);
  vtkNew<vtkRenderWindow> window;
  window->AddRenderer(renderer);
  window->SetSize(200, 150);
  // Rendering under an interactor, as the view does: the display and its GL driver then
  // stay loaded until exit, so the driver's own allocations are reported against it (and
  // suppressed) instead of against an unloaded library.
  vtkNew<vtkRenderWindowInteractor> interactor;
  interactor->SetRenderWindow(window);
  interactor->Initialize();
  window->Render();

  vtkNew<vtkWindowToImageFilter> plain;
  plain->SetInput(window);
  plain->Update();
  vtkImageData* small = plain->GetOutput();

  vtkNew<dovCQelRenderLargeImage> large;
  large->SetInput(renderer);
  large->SetMagnification(3);
  large->Update();
  vtkImageData* big = large->GetOutput();
  int dims[3];
  big->GetDimensions(dims);
  EXPECT_EQ(dims[0], 600);
  EXPECT_EQ(dims[1], 450);
  ASSERT_EQ(big->GetNumberOfScalarComponents(), small->GetNumberOfScalarComponents());

  // Each 3 x 3 block averaged back down matches the plain pixel closely.
  const int components = small->GetNumberOfScalarComponents();
  double difference = 0;
  long foreground = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 200; ++x)
      for (int c = 0; c < components; ++c)
      {
        double sum = 0;
        for (int dy = 0; dy < 3; ++dy)
          for (int dx = 0; dx < 3; ++dx)
            sum += big->GetScalarComponentAsDouble(3 * x + dx, 3 * y + dy, 0, c);
        const double value = small->GetScalarComponentAsDouble(x, y, 0, c);
        difference += std::fabs(sum / 9 - value);
        if (c == 0 && std::fabs(value - 0.1 * 255) > 3)
          ++foreground;
      }
  EXPECT_GT(foreground, 200); // the model is in the picture
  EXPECT_LT(difference / (150.0 * 200 * components), 6.0);
}
