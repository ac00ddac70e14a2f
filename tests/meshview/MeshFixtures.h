#pragma once
// Small wire models and checks shared by the mesh library's suites.
#include <dovCQel.h>
#include <zyn/dovCZyn.h>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>
#include <string>

#include <vtkPolyData.h>

// A container that opens its protected members to the tests.
class TestQel : public dovCQel
{
public:
  using dovCQel::BuildLayerColorTable;
  using dovCQel::Clear;
  using dovCQel::StringToUnits;
  using dovCQel::UnitsToString;

  dovCQelPolyData* Item(long i) const { return dovCQelPolyData::SafeDownCast(GetPolyData(i)); }
  dovCQelPolyData* Last() const { return Item(GetPolyDataCount() - 1); }
};

inline dovCZyn_Wire* makeWire(double radius, long sides, std::initializer_list<dovCZyn_3DPoint> path)
{
  auto* wire = new dovCZyn_Wire(radius, sides);
  dovCZyn_3DPolyline line;
  for (const dovCZyn_3DPoint& p : path)
    line.AddPoint(p);
  wire->Add3DPolyline(line);
  return wire;
}

// A square of side `size` with its lower left corner at (x, y).
inline dovCZyn_2DPolygon square(double x, double y, double size, bool clockwise)
{
  dovCZyn_2DPolygon polygon;
  if (clockwise)
    for (auto [px, py] : {std::pair{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}})
      polygon.AddPoint(px, py);
  else
    for (auto [px, py] : {std::pair{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}})
      polygon.AddPoint(px, py);
  return polygon;
}

inline dovCZyn_Attribute* freeAttribute(const char* name, const char* value)
{
  return new dovCZyn_Attribute(name, value);
}

inline std::string valueOf(const dovCQelPolyData* polyData, const char* name)
{
  const dovCZyn_Attribute* attribute = polyData ? polyData->GetAttribute(name) : nullptr;
  return attribute ? attribute->GetValue() : "<none>";
}

// Mean of the points of one cell.
inline dovCZyn_3DPoint cellCentre(vtkPolyData* polyData, vtkIdType cell)
{
  vtkIdType count = 0;
  const vtkIdType* ids = nullptr;
  polyData->GetCellPoints(cell, count, ids);
  double sum[3] = {0, 0, 0};
  for (vtkIdType k = 0; k < count; ++k)
  {
    double p[3];
    polyData->GetPoint(ids[k], p);
    for (int c = 0; c < 3; ++c)
      sum[c] += p[c];
  }
  return {sum[0] / count, sum[1] / count, sum[2] / count};
}

inline vtkIdType cellSize(vtkPolyData* polyData, vtkIdType cell)
{
  vtkIdType count = 0;
  const vtkIdType* ids = nullptr;
  polyData->GetCellPoints(cell, count, ids);
  return count;
}

inline long cellsOfSize(vtkPolyData* polyData, vtkIdType size)
{
  long count = 0;
  for (vtkIdType c = 0; c < polyData->GetNumberOfCells(); ++c)
    count += cellSize(polyData, c) == size;
  return count;
}

// Centres of the ring cells of a wire: cells 0 .. points/ring - 1.
inline std::vector<dovCZyn_3DPoint> ringCentres(vtkPolyData* wire)
{
  std::vector<dovCZyn_3DPoint> centres;
  const vtkIdType ring = cellSize(wire, 0);
  for (vtkIdType c = 0; c < wire->GetNumberOfPoints() / ring; ++c)
    centres.push_back(cellCentre(wire, c));
  return centres;
}

// A small wire model: tables LAYER (0 "Default", 1 "Top", 2 "DRC_ERROR"), COLOR (1 red,
// 2 blue), OBJECT (1 "PAD", 2 "DRC_ERROR") and WIRE_MODEL (1 "4-point FORWARD 10 50");
// geometries: a wire (layer 1, red, ID 10, wire model 1), an extrusion (layer 1, ID 11),
// a sphere (layer 0, blue, ID 10 again), a barrel (no ID) and a bare geometry of a kind
// that is not converted (ID 12); wire model 1 of radius 1; a design rule with a wire
// input on layer 2 and a sphere marker on layer 1; one design-rule marker (a sphere).
inline std::unique_ptr<dovCZyn> makeSmallModel()
{
  auto model = std::make_unique<dovCZyn>();
  model->SetUnits(DOV_Zyn_MILLIMETERS);
  model->SetPrecision(3);
  dovCZyn_Table* layers = model->AddTable(new dovCZyn_Table("LAYER"));
  dovCZyn_Table* colours = model->AddTable(new dovCZyn_Table("COLOR"));
  dovCZyn_Table* objects = model->AddTable(new dovCZyn_Table("OBJECT"));
  dovCZyn_Table* wireModels = model->AddTable(new dovCZyn_Table("WIRE_MODEL"));
  layers->AddAttribute(0, "Default");
  layers->AddAttribute(1, "Top");
  layers->AddAttribute(2, "DRC_ERROR");
  colours->AddAttribute(1, "255 0 0 255");
  colours->AddAttribute(2, "0 0 255 255");
  objects->AddAttribute(1, "PAD");
  objects->AddAttribute(2, "DRC_ERROR");
  wireModels->AddAttribute(1, "4-point FORWARD 10 50");

  dovCZyn_Geometry* wire = model->AddGeometry(makeWire(1, 8, {{0, 0, 0}, {0, 0, 10}, {100, 0, 10}, {100, 0, 0}}));
  wire->AddAttribute(layers->GetAttribute(1));
  wire->AddAttribute(colours->GetAttribute(1));
  wire->AddAttribute(freeAttribute("ID", "10"));
  wire->AddAttribute(freeAttribute("WIRE_MODEL", "1"));

  auto* extrusion = new dovCZyn_Extrusion(0, 5);
  extrusion->AddChild(square(-20, -20, 10, false));
  extrusion->AddChild(dovCZyn_2DCircle(40, 40, 8, 24));
  extrusion->AddAttribute(layers->GetAttribute(1));
  extrusion->AddAttribute(freeAttribute("ID", "11"));
  model->AddGeometry(extrusion);

  dovCZyn_Geometry* sphere = model->AddGeometry(new dovCZyn_Sphere({50, 50, 20}, 5, 12));
  sphere->AddAttribute(layers->GetAttribute(0));
  sphere->AddAttribute(colours->GetAttribute(2));
  sphere->AddAttribute(freeAttribute("ID", "10"));
  model->AddGeometry(new dovCZyn_Barrel({-40, 40, 10}, 6, 16, 3, 4));
  model->AddGeometry(new dovCZyn_Geometry)->AddAttribute(freeAttribute("ID", "12"));

  model->AddWireModel(new dovCZyn_WireModel(1, "standard", 1, 1));

  auto* rule = model->AddDRCRule(new dovCZyn_DRCRule(5, 2, "spacing"));
  dovCZyn_Geometry* input = makeWire(1, 8, {{0, 0, 0}, {10, 0, 0}});
  input->AddAttribute(layers->GetAttribute(2));
  input->AddAttribute(freeAttribute("NOTE", "input"));
  rule->SetInput(0, input);
  rule->SetParameter(0, 0.5);
  auto* marker = new dovCZyn_Sphere({5, 0, 0}, 1, 8);
  marker->AddAttribute(layers->GetAttribute(1));
  rule->SetMarker(marker);

  model->AddDRCMarker(new dovCZyn_Sphere({5, 5, 5}, 1, 8));
  return model;
}
