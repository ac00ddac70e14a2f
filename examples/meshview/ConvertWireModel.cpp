// Converts a small wire model (a die pad, bond wires, ball bonds and a barrel), writes the
// legacy poly-data file and an enlarged picture of it.
#include <cstdio>
#include <filesystem>
#include <string>

#include <dovCQel.h>
#include <dovCQelRenderLargeImage.h>

#include <vtkActor.h>
#include <vtkCamera.h>
#include <vtkImageData.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>

namespace
{
dovCZyn_Wire* bondWire(double x, double y, double reach)
{
  auto* wire = new dovCZyn_Wire(0.6, 12);
  dovCZyn_3DPolyline path;
  path.AddPoint(x, y, 4);
  path.AddPoint(x, y, 14);
  path.AddPoint(x + reach * 0.4, y, 16);
  path.AddPoint(x + reach, y, 0);
  wire->Add3DPolyline(path);
  return wire;
}

void buildModel(dovCZyn& model)
{
  model.SetUnits(DOV_Zyn_MILS);
  dovCZyn_Table* layers = model.AddTable(new dovCZyn_Table("LAYER"));
  dovCZyn_Table* colours = model.AddTable(new dovCZyn_Table("COLOR"));
  layers->AddAttribute(1, "Die");
  layers->AddAttribute(2, "Wires");
  colours->AddAttribute(1, "120 120 130 255");
  colours->AddAttribute(2, "230 180 40 255");
  colours->AddAttribute(3, "200 60 60 255");
  model.AddWireModel(new dovCZyn_WireModel(1, "standard loop", 1, 0.6));

  // The die: a square with a square cavity, 4 high.
  auto* die = new dovCZyn_Extrusion(0, 4);
  dovCZyn_2DPolygon outer, cavity;
  for (auto [x, y] : {std::pair{-20.0, -20.0}, {20.0, -20.0}, {20.0, 20.0}, {-20.0, 20.0}})
    outer.AddPoint(x, y);
  for (auto [x, y] : {std::pair{-6.0, -6.0}, {-6.0, 6.0}, {6.0, 6.0}, {6.0, -6.0}})
    cavity.AddPoint(x, y);
  die->AddChild(outer);
  die->AddChild(cavity);
  die->AddAttribute(layers->GetAttribute(1));
  die->AddAttribute(colours->GetAttribute(1));
  model.AddGeometry(die);

  for (int i = 0; i < 5; ++i)
  {
    const double y = -16 + 8 * i;
    dovCZyn_Geometry* wire = model.AddGeometry(bondWire(14, y, 30));
    wire->AddAttribute(layers->GetAttribute(2));
    wire->AddAttribute(colours->GetAttribute(2));
    wire->AddAttribute(new dovCZyn_Attribute("ID", std::to_string(100 + i).c_str()));
    wire->AddAttribute(new dovCZyn_Attribute("WIRE_MODEL", "1"));
    dovCZyn_Geometry* ball = model.AddGeometry(new dovCZyn_Sphere({14, y, 4}, 1.2, 16));
    ball->AddAttribute(layers->GetAttribute(2));
    ball->AddAttribute(colours->GetAttribute(3));
  }
  dovCZyn_Geometry* barrel = model.AddGeometry(new dovCZyn_Barrel({-12, 12, 8}, 4, 16, 3, 2));
  barrel->AddAttribute(layers->GetAttribute(1));
  barrel->AddAttribute(colours->GetAttribute(3));
}

int writePicture(dovCQel& qel, const std::string& path)
{
  vtkNew<vtkRenderer> renderer;
  for (long i = 0; i < qel.GetPolyDataCount(); ++i)
  {
    auto* polyData = dovCQelPolyData::SafeDownCast(qel.GetPolyData(i));
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputData(polyData);
    vtkNew<vtkActor> actor;
    actor->SetMapper(mapper);
    int r, g, b, a;
    polyData->GetColor(r, g, b, a);
    actor->GetProperty()->SetColor(r / 255.0, g / 255.0, b / 255.0);
    renderer->AddActor(actor);
  }
  renderer->SetBackground(0.1, 0.12, 0.16);
  renderer->GetActiveCamera()->Elevation(-55);
  renderer->GetActiveCamera()->Azimuth(20);
  renderer->ResetCamera();
  vtkNew<vtkRenderWindow> window;
  window->AddRenderer(renderer);
  window->SetSize(320, 240);
  vtkNew<vtkRenderWindowInteractor> interactor;
  interactor->SetRenderWindow(window);
  interactor->Initialize();
  window->Render();

  vtkNew<dovCQelRenderLargeImage> large;
  large->SetInput(renderer);
  large->SetMagnification(3);
  vtkNew<vtkPNGWriter> png;
  png->SetInputConnection(large->GetOutputPort());
  png->SetFileName(path.c_str());
  png->Write();
  int dims[3];
  large->GetOutput()->GetDimensions(dims);
  std::printf("Rendered %d x %d window at magnification 3: %d x %d picture %s\n", 320, 240, dims[0],
              dims[1], path.c_str());
  return png->GetErrorCode() == 0;
}
} // namespace

int main(int argc, char** argv)
{
  const std::filesystem::path out = argc > 1 ? argv[1] : "examples-out";
  std::filesystem::create_directories(out);

  dovCZyn model;
  buildModel(model);
  dovCQel qel;
  qel.ImportData(&model);
  std::printf("Converted %ld geometries into %ld poly data (units %s)\n", model.GetGeometryCount(),
              qel.GetPolyDataCount(), qel.GetUnitsAsString());
  for (long i = 0; i < qel.GetPolyDataCount(); ++i)
  {
    auto* polyData = dovCQelPolyData::SafeDownCast(qel.GetPolyData(i));
    std::printf("  item %ld: type %d, %lld points, %lld cells\n", i, polyData->GetObjectType(),
                static_cast<long long>(polyData->GetNumberOfPoints()),
                static_cast<long long>(polyData->GetNumberOfCells()));
  }
  COLORREF colour = 0;
  int alpha = 0;
  qel.GetLayerColor(1, colour, alpha);
  std::printf("Layer 1 colour 0x%08X alpha %d (mixed)\n", colour, alpha);
  qel.GetLayerColor(2, colour, alpha);
  std::printf("Layer 2 colour 0x%08X alpha %d\n", colour, alpha);

  const std::string legacy = (out / "meshview-bond-wires.vtk").string();
  if (!qel.WriteQelFile(legacy.c_str(), "Bond wires over a die, converted from a wire model"))
  {
    std::printf("Writing %s failed\n", legacy.c_str());
    return 1;
  }
  std::printf("Wrote legacy poly-data file %s\n", legacy.c_str());
  return writePicture(qel, (out / "meshview-bond-wires.png").string()) ? 0 : 1;
}
