#include "EngineFixtures.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepFilletAPI_MakeFillet.hxx>
#include <BRepGProp_Face.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pln.hxx>

#include <cmath>

namespace hxr::engine::fixtures {
namespace {

// The edge of the body whose end points are `a` and `b`.
TopoDS_Edge EdgeBetween(const TopoDS_Shape& body, const gp_Pnt& a, const gp_Pnt& b) {
  for (TopExp_Explorer it(body, TopAbs_EDGE); it.More(); it.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(it.Current());
    const gp_Pnt p = BRep_Tool::Pnt(TopExp::FirstVertex(edge));
    const gp_Pnt q = BRep_Tool::Pnt(TopExp::LastVertex(edge));
    if ((p.Distance(a) < 1e-9 && q.Distance(b) < 1e-9) || (p.Distance(b) < 1e-9 && q.Distance(a) < 1e-9)) {
      return edge;
    }
  }
  return TopoDS_Edge();
}

}  // namespace

TopoDS_Shape Box(double dx, double dy, double dz, const gp_Pnt& corner) {
  return BRepPrimAPI_MakeBox(corner, dx, dy, dz).Shape();
}

TopoDS_Shape LPrism() {
  BRepBuilderAPI_MakePolygon profile;
  for (auto [x, z] : {std::pair{0.0, 0.0}, {10.0, 0.0}, {10.0, 4.0}, {4.0, 4.0}, {4.0, 10.0}, {0.0, 10.0}}) {
    profile.Add(gp_Pnt(x, 0.0, z));
  }
  profile.Close();
  const TopoDS_Face face = BRepBuilderAPI_MakeFace(profile.Wire(), true).Face();
  return BRepPrimAPI_MakePrism(face, gp_Vec(0.0, 5.0, 0.0)).Shape();
}

TopoDS_Shape BlendedBlock(double radius) {
  const TopoDS_Shape box = Box(10, 10, 10);
  BRepFilletAPI_MakeFillet fillet(box);
  fillet.Add(radius, EdgeBetween(box, gp_Pnt(0, 0, 10), gp_Pnt(10, 0, 10)));
  return fillet.Shape();
}

TopoDS_Shape TwoBlendBlock(double first, double second) {
  const TopoDS_Shape box = Box(10, 10, 10);
  BRepFilletAPI_MakeFillet fillet(box);
  fillet.Add(first, EdgeBetween(box, gp_Pnt(0, 0, 10), gp_Pnt(10, 0, 10)));
  fillet.Add(second, EdgeBetween(box, gp_Pnt(0, 0, 0), gp_Pnt(0, 0, 10)));
  return fillet.Shape();
}

TopoDS_Shape OppositeBlendBlock(double first, double second) {
  const TopoDS_Shape box = Box(10, 10, 10);
  BRepFilletAPI_MakeFillet fillet(box);
  fillet.Add(first, EdgeBetween(box, gp_Pnt(0, 0, 10), gp_Pnt(10, 0, 10)));
  fillet.Add(second, EdgeBetween(box, gp_Pnt(0, 10, 0), gp_Pnt(10, 10, 0)));
  return fillet.Shape();
}

TopoDS_Shape HolePlate(int perSide, double size, double thickness, double radius) {
  BRep_Builder builder;
  TopoDS_Compound tools;
  builder.MakeCompound(tools);
  const double pitch = size / perSide;
  for (int i = 0; i < perSide; ++i) {
    for (int j = 0; j < perSide; ++j) {
      const gp_Ax2 axis(gp_Pnt((i + 0.5) * pitch, (j + 0.5) * pitch, -1.0), gp_Dir(0, 0, 1));
      builder.Add(tools, BRepPrimAPI_MakeCylinder(axis, radius, thickness + 2.0).Shape());
    }
  }
  return BRepAlgoAPI_Cut(Box(size, size, thickness), tools).Shape();
}

gp_Dir OutwardNormal(const TopoDS_Face& face) {
  double u1, u2, v1, v2;
  BRepTools::UVBounds(face, u1, u2, v1, v2);
  BRepGProp_Face props(face);
  gp_Pnt point;
  gp_Vec normal;
  props.Normal(0.5 * (u1 + u2), 0.5 * (v1 + v2), point, normal);
  return gp_Dir(normal);
}

double PlaneOffset(const TopoDS_Face& face) {
  const gp_Pln plane = BRepAdaptor_Surface(face).Plane();
  const gp_Dir normal = OutwardNormal(face);
  return gp_Vec(plane.Location().XYZ()).Dot(gp_Vec(normal));
}

TopoDS_Face PlanarFace(const TopoDS_Shape& body, const gp_Dir& normal, const gp_Pnt& point) {
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More(); it.Next()) {
    const TopoDS_Face& face = TopoDS::Face(it.Current());
    BRepAdaptor_Surface surface(face);
    if (surface.GetType() != GeomAbs_Plane) continue;
    if (OutwardNormal(face).Angle(normal) > 1e-9) continue;
    if (surface.Plane().Distance(point) < 1e-9) return face;
  }
  return TopoDS_Face();
}

std::vector<TopoDS_Face> CurvedFaces(const TopoDS_Shape& body) {
  std::vector<TopoDS_Face> faces;
  for (TopExp_Explorer it(body, TopAbs_FACE); it.More(); it.Next()) {
    const GeomAbs_SurfaceType type = BRepAdaptor_Surface(TopoDS::Face(it.Current())).GetType();
    if (type == GeomAbs_Cylinder || type == GeomAbs_Torus) faces.push_back(TopoDS::Face(it.Current()));
  }
  return faces;
}

double CylinderRadius(const TopoDS_Shape& face) {
  BRepAdaptor_Surface surface(TopoDS::Face(face));
  return surface.GetType() == GeomAbs_Cylinder ? surface.Cylinder().Radius() : -1.0;
}

TopoDS_Face ProductFace(const History& history, const TopoDS_Shape& source) {
  const EntityOutcome* outcome = history.Find(source);
  if (outcome == nullptr || outcome->products.size() != 1) return TopoDS_Face();
  return TopoDS::Face(outcome->products.front());
}

}  // namespace hxr::engine::fixtures
