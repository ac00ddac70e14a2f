// Geometry calls: the geometry under topology, standard forms, creation, evaluation, ranges,
// coincidence, offsets and geometry transforms.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <ElSLib.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <GeomLib.hxx>
#include <Geom_CartesianPoint.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_OffsetSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Circ.hxx>
#include <gp_Cone.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Elips.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>
#include <gp_Sphere.hxx>
#include <gp_Torus.hxx>

#include <cmath>

using namespace brennik;

namespace {

BQ_VECTOR_t V(const gp_XYZ& p) { return BQ_VECTOR_t{{p.X(), p.Y(), p.Z()}}; }
gp_Pnt P(const BQ_VECTOR_t& v) { return gp_Pnt(v.coord[0], v.coord[1], v.coord[2]); }
gp_Vec Vec(const BQ_VECTOR_t& v) { return gp_Vec(v.coord[0], v.coord[1], v.coord[2]); }

BQ_AXIS2_sf_t Axis2(const gp_Ax3& ax) {
  return BQ_AXIS2_sf_t{V(ax.Location().XYZ()), V(ax.Direction().XYZ()), V(ax.XDirection().XYZ())};
}

// A right-handed placement from a standard form; a zero or parallel reference direction is
// replaced by one perpendicular to the axis.
bool MakeAx3(const BQ_AXIS2_sf_t& sf, gp_Ax3* out) {
  gp_Vec axis = Vec(sf.axis);
  if (axis.Magnitude() < 1e-12) return false;
  gp_Vec ref = Vec(sf.ref_direction);
  gp_Dir dir(axis);
  if (ref.Magnitude() < 1e-12 || ref.Crossed(gp_Vec(dir)).Magnitude() < 1e-12) {
    *out = gp_Ax3(P(sf.location), dir);
    return true;
  }
  gp_Vec perpendicular = ref - gp_Vec(dir) * ref.Dot(gp_Vec(dir));
  *out = gp_Ax3(P(sf.location), dir, gp_Dir(perpendicular));
  return true;
}

Handle(Geom_Surface) BasisSurface(Handle(Geom_Surface) s) {
  while (auto t = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) s = t->BasisSurface();
  return s;
}
Handle(Geom_Curve) BasisCurve(Handle(Geom_Curve) c) {
  while (auto t = Handle(Geom_TrimmedCurve)::DownCast(c)) c = t->BasisCurve();
  return c;
}

// Resolves a geometry tag of the class (or a subclass of it).
int ResolveGeom(int tag, int cls, const GeomData** data, Located* whereOut = nullptr) {
  Located where;
  if (int code = ResolveClass(tag, cls, &where)) return code;
  *data = GeomOf(where);
  if (!*data) return BQ_ERROR_wrong_class;
  if (whereOut) *whereOut = where;
  return 0;
}

// One shape for every standard-form enquiry.
template <class SF, class Fill>
int AskForm(const char* function, int tag, int cls, SF* sf, Fill fill) {
  return KernelRun(function, [&]() -> int {
    if (!sf) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(tag, cls, &data)) return code;
    fill(*data, sf);
    return 0;
  });
}

// One shape for every creation: a record of orphan geometry in the current partition.
template <class SF, class Make>
int CreateForm(const char* function, const SF* sf, int* tag, Make make) {
  return KernelRun(function, [&]() -> int {
    if (!sf || !tag) return BQ_ERROR_null_arg;
    GeomData data;
    if (!make(*sf, &data)) return BQ_ERROR_bad_value;
    Partition* p = CurrentPartition();
    FreeGeomRecord record;
    record.data = data;
    PartitionState& st = p->Change();
    record.identifier = st.nextFreeIdentifier++;
    *tag = CurrentSession()->NewTag();
    st.freeGeoms[*tag] = record;
    return 0;
  });
}

const BodyRecord* SubOf(int tag, int cls, Located* where) {
  if (ResolveClass(tag, cls, where) != 0 || where->kind != Kind::Sub) return nullptr;
  return where->body;
}

int AskSubGeom(const char* function, int tag, int cls, int* geom, bool* orientation) {
  return KernelRun(function, [&]() -> int {
    if (!geom) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(tag, cls, &where)) return code;
    if (where.kind != Kind::Sub) return BQ_ERROR_wrong_class;
    const SubEntity& sub = SubEntityOf(where);
    *geom = sub.geom;
    if (orientation)
      *orientation = cls != BQ_CLASS_face || FaceAgreesWithSurface(sub.shape, where.body->geoms.at(sub.geom).data.surface);
    return 0;
  });
}

int AskPart(const char* function, int tag, int cls, int* part) {
  return KernelRun(function, [&]() -> int {
    if (!part) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(tag, cls, &where)) return code;
    if (where.kind == Kind::BodyGeom) *part = where.body->tag;
    else if (where.kind == Kind::FreeGeom) *part = where.partition->state.freeGeoms.at(tag).part;
    else return BQ_ERROR_wrong_class;
    return 0;
  });
}

TopoDS_Shape ShapeOfTopol(const Located& where) {
  if (where.kind == Kind::Sub) return SubEntityOf(where).shape;
  if (where.kind == Kind::Body) return where.body->shape;
  return TopoDS_Shape();
}

void FillEnd(BQ_range_end_t* end, int entity, const gp_Pnt& p) {
  end->entity = entity;
  end->vector = V(p.XYZ());
  end->parameters[0] = end->parameters[1] = 0.0;
}

int RangeShapes(const TopoDS_Shape& a, const TopoDS_Shape& b, int tagA, int tagB, BQ_range_r_t* result) {
  BRepExtrema_DistShapeShape dist(a, b);
  if (!dist.IsDone() || dist.NbSolution() < 1) {
    result->result = BQ_range_result_not_found;
    return 0;
  }
  result->result = BQ_range_result_found;
  result->distance = dist.Value();
  FillEnd(&result->end[0], tagA, dist.PointOnShape1(1));
  FillEnd(&result->end[1], tagB, dist.PointOnShape2(1));
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Geometry under topology

int BQ_VERTEX_ask_point(int vertex, int* point) {
  return AskSubGeom("BQ_VERTEX_ask_point", vertex, BQ_CLASS_vertex, point, nullptr);
}
int BQ_EDGE_ask_curve(int edge, int* curve) {
  return AskSubGeom("BQ_EDGE_ask_curve", edge, BQ_CLASS_edge, curve, nullptr);
}
int BQ_EDGE_ask_geometry(int edge, int* curve) {
  return AskSubGeom("BQ_EDGE_ask_geometry", edge, BQ_CLASS_edge, curve, nullptr);
}
int BQ_EDGE_ask_oriented_curve(int edge, int* curve, bool* orientation) {
  if (!orientation) return KernelRun("BQ_EDGE_ask_oriented_curve", [] { return int(BQ_ERROR_null_arg); });
  return AskSubGeom("BQ_EDGE_ask_oriented_curve", edge, BQ_CLASS_edge, curve, orientation);
}
int BQ_FACE_ask_surf(int face, int* surf) {
  return AskSubGeom("BQ_FACE_ask_surf", face, BQ_CLASS_face, surf, nullptr);
}
int BQ_FACE_ask_oriented_surf(int face, int* surf, bool* orientation) {
  if (!orientation) return KernelRun("BQ_FACE_ask_oriented_surf", [] { return int(BQ_ERROR_null_arg); });
  return AskSubGeom("BQ_FACE_ask_oriented_surf", face, BQ_CLASS_face, surf, orientation);
}

int BQ_SURF_ask_faces(int surf, int* n, int** faces) {
  if (n) *n = 0;
  if (faces) *faces = nullptr;
  return KernelRun("BQ_SURF_ask_faces", [&]() -> int {
    if (!n || !faces) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(surf, BQ_CLASS_surf, &where)) return code;
    std::vector<int> list;
    if (where.kind == Kind::BodyGeom)
      for (int face : where.body->faces)
        if (where.body->subs.at(face).geom == surf) list.push_back(face);
    OutArray(list, n, faces);
    return 0;
  });
}

int BQ_CURVE_ask_part(int curve, int* part) { return AskPart("BQ_CURVE_ask_part", curve, BQ_CLASS_curve, part); }
int BQ_SURF_ask_part(int surf, int* part) { return AskPart("BQ_SURF_ask_part", surf, BQ_CLASS_surf, part); }
int BQ_POINT_ask_part(int point, int* part) { return AskPart("BQ_POINT_ask_part", point, BQ_CLASS_point, part); }

// ---------------------------------------------------------------------------------------------
// Standard forms

int BQ_POINT_ask(int point, BQ_POINT_sf_t* sf) {
  return AskForm("BQ_POINT_ask", point, BQ_CLASS_point, sf,
                 [](const GeomData& g, BQ_POINT_sf_t* out) { out->position = V(g.point.XYZ()); });
}

int BQ_LINE_ask(int line, BQ_LINE_sf_t* sf) {
  return AskForm("BQ_LINE_ask", line, BQ_CLASS_line, sf, [](const GeomData& g, BQ_LINE_sf_t* out) {
    gp_Lin l = Handle(Geom_Line)::DownCast(BasisCurve(g.curve))->Lin();
    out->basis_set = BQ_AXIS1_sf_t{V(l.Location().XYZ()), V(l.Direction().XYZ())};
  });
}

int BQ_CIRCLE_ask(int circle, BQ_CIRCLE_sf_t* sf) {
  return AskForm("BQ_CIRCLE_ask", circle, BQ_CLASS_circle, sf, [](const GeomData& g, BQ_CIRCLE_sf_t* out) {
    gp_Circ c = Handle(Geom_Circle)::DownCast(BasisCurve(g.curve))->Circ();
    out->basis_set = Axis2(gp_Ax3(c.Position()));
    out->radius = c.Radius();
  });
}

int BQ_ELLIPSE_ask(int ellipse, BQ_ELLIPSE_sf_t* sf) {
  return AskForm("BQ_ELLIPSE_ask", ellipse, BQ_CLASS_ellipse, sf, [](const GeomData& g, BQ_ELLIPSE_sf_t* out) {
    gp_Elips e = Handle(Geom_Ellipse)::DownCast(BasisCurve(g.curve))->Elips();
    out->basis_set = Axis2(gp_Ax3(e.Position()));
    out->R1 = e.MajorRadius();
    out->R2 = e.MinorRadius();
  });
}

int BQ_PLANE_ask(int plane, BQ_PLANE_sf_t* sf) {
  return AskForm("BQ_PLANE_ask", plane, BQ_CLASS_plane, sf, [](const GeomData& g, BQ_PLANE_sf_t* out) {
    out->basis_set = Axis2(Handle(Geom_Plane)::DownCast(BasisSurface(g.surface))->Position());
  });
}

int BQ_CYL_ask(int cyl, BQ_CYL_sf_t* sf) {
  return AskForm("BQ_CYL_ask", cyl, BQ_CLASS_cyl, sf, [](const GeomData& g, BQ_CYL_sf_t* out) {
    gp_Cylinder c = Handle(Geom_CylindricalSurface)::DownCast(BasisSurface(g.surface))->Cylinder();
    out->basis_set = Axis2(c.Position());
    out->radius = c.Radius();
  });
}

int BQ_CONE_ask(int cone, BQ_CONE_sf_t* sf) {
  return AskForm("BQ_CONE_ask", cone, BQ_CLASS_cone, sf, [](const GeomData& g, BQ_CONE_sf_t* out) {
    gp_Cone c = Handle(Geom_ConicalSurface)::DownCast(BasisSurface(g.surface))->Cone();
    gp_Ax3 pos = c.Position();
    double angle = c.SemiAngle();
    // The standard form opens along its axis: a cone that narrows along its placement is
    // given with the axis reversed.
    if (angle < 0) {
      pos = gp_Ax3(pos.Location(), pos.Direction().Reversed(), pos.XDirection());
      angle = -angle;
    }
    out->basis_set = Axis2(pos);
    out->radius = c.RefRadius();
    out->half_angle = angle;
  });
}

int BQ_SPHERE_ask(int sphere, BQ_SPHERE_sf_t* sf) {
  return AskForm("BQ_SPHERE_ask", sphere, BQ_CLASS_sphere, sf, [](const GeomData& g, BQ_SPHERE_sf_t* out) {
    gp_Sphere s = Handle(Geom_SphericalSurface)::DownCast(BasisSurface(g.surface))->Sphere();
    out->basis_set = Axis2(s.Position());
    out->radius = s.Radius();
  });
}

int BQ_TORUS_ask(int torus, BQ_TORUS_sf_t* sf) {
  return AskForm("BQ_TORUS_ask", torus, BQ_CLASS_torus, sf, [](const GeomData& g, BQ_TORUS_sf_t* out) {
    gp_Torus t = Handle(Geom_ToroidalSurface)::DownCast(BasisSurface(g.surface))->Torus();
    out->basis_set = Axis2(t.Position());
    out->major_radius = t.MajorRadius();
    out->minor_radius = t.MinorRadius();
  });
}

int BQ_OFFSET_ask(int offset, BQ_OFFSET_sf_t* sf) {
  return KernelRun("BQ_OFFSET_ask", [&]() -> int {
    if (!sf) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    Located where;
    if (int code = ResolveGeom(offset, BQ_CLASS_offset, &data, &where)) return code;
    // The underlying surface is handed as a new orphan surface.
    auto off = Handle(Geom_OffsetSurface)::DownCast(BasisSurface(data->surface));
    FreeGeomRecord record;
    record.data.surface = off->BasisSurface();
    record.data.cls = ClassOfSurface(record.data.surface);
    PartitionState& st = where.partition->Change();
    record.identifier = st.nextFreeIdentifier++;
    int tag = CurrentSession()->NewTag();
    st.freeGeoms[tag] = record;
    sf->underlying_surface = tag;
    sf->offset_distance = StandardNormalSign(off) * off->Offset();
    return 0;
  });
}

int BQ_POINT_create(const BQ_POINT_sf_t* sf, int* point) {
  return CreateForm("BQ_POINT_create", sf, point, [](const BQ_POINT_sf_t& in, GeomData* out) {
    out->cls = BQ_CLASS_point;
    out->point = P(in.position);
    return true;
  });
}

int BQ_LINE_create(const BQ_LINE_sf_t* sf, int* line) {
  return CreateForm("BQ_LINE_create", sf, line, [](const BQ_LINE_sf_t& in, GeomData* out) {
    gp_Vec axis = Vec(in.basis_set.axis);
    if (axis.Magnitude() < 1e-12) return false;
    out->curve = new Geom_Line(P(in.basis_set.location), gp_Dir(axis));
    out->cls = BQ_CLASS_line;
    return true;
  });
}

int BQ_CIRCLE_create(const BQ_CIRCLE_sf_t* sf, int* circle) {
  return CreateForm("BQ_CIRCLE_create", sf, circle, [](const BQ_CIRCLE_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax) || !(in.radius > 0)) return false;
    out->curve = new Geom_Circle(ax.Ax2(), in.radius);
    out->cls = BQ_CLASS_circle;
    return true;
  });
}

int BQ_PLANE_create(const BQ_PLANE_sf_t* sf, int* plane) {
  return CreateForm("BQ_PLANE_create", sf, plane, [](const BQ_PLANE_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax)) return false;
    out->surface = new Geom_Plane(ax);
    out->cls = BQ_CLASS_plane;
    return true;
  });
}

int BQ_CYL_create(const BQ_CYL_sf_t* sf, int* cyl) {
  return CreateForm("BQ_CYL_create", sf, cyl, [](const BQ_CYL_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax) || !(in.radius > 0)) return false;
    out->surface = new Geom_CylindricalSurface(ax, in.radius);
    out->cls = BQ_CLASS_cyl;
    return true;
  });
}

int BQ_CONE_create(const BQ_CONE_sf_t* sf, int* cone) {
  return CreateForm("BQ_CONE_create", sf, cone, [](const BQ_CONE_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax) || !(in.radius >= 0) || !(in.half_angle > 1e-11) ||
        !(in.half_angle < M_PI / 2 - 1e-11))
      return false;
    out->surface = new Geom_ConicalSurface(ax, in.half_angle, in.radius);
    out->cls = BQ_CLASS_cone;
    return true;
  });
}

int BQ_SPHERE_create(const BQ_SPHERE_sf_t* sf, int* sphere) {
  return CreateForm("BQ_SPHERE_create", sf, sphere, [](const BQ_SPHERE_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax) || !(in.radius > 0)) return false;
    out->surface = new Geom_SphericalSurface(ax, in.radius);
    out->cls = BQ_CLASS_sphere;
    return true;
  });
}

int BQ_TORUS_create(const BQ_TORUS_sf_t* sf, int* torus) {
  return CreateForm("BQ_TORUS_create", sf, torus, [](const BQ_TORUS_sf_t& in, GeomData* out) {
    gp_Ax3 ax;
    if (!MakeAx3(in.basis_set, &ax) || !(in.minor_radius > 0) || !(in.major_radius > 0)) return false;
    out->surface = new Geom_ToroidalSurface(ax, in.major_radius, in.minor_radius);
    out->cls = BQ_CLASS_torus;
    return true;
  });
}

int BQ_POINT_make_minimum_body(int point, int* body) {
  return KernelRun("BQ_POINT_make_minimum_body", [&]() -> int {
    if (!body) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    Located where;
    if (int code = ResolveGeom(point, BQ_CLASS_point, &data, &where)) return code;
    TopoDS_Vertex vertex = BRepBuilderAPI_MakeVertex(data->point);
    int tag = CurrentSession()->NewTag();
    BodyPtr record = BuildBodyRecord(*CurrentSession(), tag, vertex, nullptr, nullptr);
    InstallBody(where.partition->Change(), record);
    *body = tag;
    return 0;
  });
}

// ---------------------------------------------------------------------------------------------
// Surfaces: offset, parameters, evaluation

int BQ_SURF_offset(int surf, double distance, int* offset_surf) {
  return KernelRun("BQ_SURF_offset", [&]() -> int {
    if (!offset_surf) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    Located where;
    if (int code = ResolveGeom(surf, BQ_CLASS_surf, &data, &where)) return code;
    if (distance == 0.0) return BQ_ERROR_offset_is_copy;
    GeomData result;
    Handle(Geom_Surface) basis = BasisSurface(data->surface);
    switch (data->cls) {
      case BQ_CLASS_plane: {
        gp_Pln pln = Handle(Geom_Plane)::DownCast(basis)->Pln();
        pln.Translate(gp_Vec(pln.Axis().Direction()) * distance);
        result.surface = new Geom_Plane(pln);
        break;
      }
      // Along the standard form's normal, which points away from the axis or centre.
      case BQ_CLASS_cyl: {
        gp_Cylinder c = Handle(Geom_CylindricalSurface)::DownCast(basis)->Cylinder();
        double r = c.Radius() + distance;
        if (!(r > 1e-8)) return BQ_ERROR_offset_failed;
        result.surface = new Geom_CylindricalSurface(c.Position(), r);
        break;
      }
      case BQ_CLASS_sphere: {
        gp_Sphere s = Handle(Geom_SphericalSurface)::DownCast(basis)->Sphere();
        double r = s.Radius() + distance;
        if (!(r > 1e-8)) return BQ_ERROR_offset_failed;
        result.surface = new Geom_SphericalSurface(s.Position(), r);
        break;
      }
      // A cone offset is a cone on the same axis with the same half angle: a point at the
      // location's radius moves by the distance along the normal, which leans off the radial
      // direction by the half angle, so the radius at the location grows by distance / cos.
      case BQ_CLASS_cone: {
        gp_Cone c = Handle(Geom_ConicalSurface)::DownCast(basis)->Cone();
        double r = c.RefRadius() + distance / std::cos(c.SemiAngle());
        if (!(r > 1e-8)) return BQ_ERROR_offset_failed;
        result.surface = new Geom_ConicalSurface(c.Position(), c.SemiAngle(), r);
        break;
      }
      case BQ_CLASS_torus: {
        gp_Torus t = Handle(Geom_ToroidalSurface)::DownCast(basis)->Torus();
        double r = t.MinorRadius() + distance;
        if (!(r > 1e-8) || r >= t.MajorRadius()) return BQ_ERROR_offset_failed;
        result.surface = new Geom_ToroidalSurface(t.Position(), t.MajorRadius(), r);
        break;
      }
      case BQ_CLASS_offset: {
        auto off = Handle(Geom_OffsetSurface)::DownCast(basis);
        result.surface =
            new Geom_OffsetSurface(off->BasisSurface(), off->Offset() + StandardNormalSign(off) * distance);
        break;
      }
      default:
        result.surface = new Geom_OffsetSurface(basis, StandardNormalSign(basis) * distance);
        break;
    }
    result.cls = ClassOfSurface(result.surface);
    FreeGeomRecord record;
    record.data = result;
    PartitionState& st = where.partition->Change();
    record.identifier = st.nextFreeIdentifier++;
    *offset_surf = CurrentSession()->NewTag();
    st.freeGeoms[*offset_surf] = record;
    return 0;
  });
}

int BQ_SURF_ask_params(int surf, BQ_PARAM_sf_t params[2]) {
  return KernelRun("BQ_SURF_ask_params", [&]() -> int {
    if (!params) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(surf, BQ_CLASS_surf, &data)) return code;
    double u1, u2, v1, v2;
    data->surface->Bounds(u1, u2, v1, v2);
    params[0].range = BQ_INTERVAL_t{{u1, u2}};
    params[1].range = BQ_INTERVAL_t{{v1, v2}};
    params[0].periodic = data->surface->IsUPeriodic() ? BQ_PARAM_periodic_yes : BQ_PARAM_periodic_no;
    params[1].periodic = data->surface->IsVPeriodic() ? BQ_PARAM_periodic_yes : BQ_PARAM_periodic_no;
    params[0].period = data->surface->IsUPeriodic() ? data->surface->UPeriod() : 0.0;
    params[1].period = data->surface->IsVPeriodic() ? data->surface->VPeriod() : 0.0;
    return 0;
  });
}

namespace {
int EvalSurface(const GeomData& g, BQ_UV_t uv, int nu, int nv, bool triangular, BQ_VECTOR_t* p) {
  if (nu < 0 || nv < 0 || nu > 2 || nv > 2) return BQ_ERROR_bad_value;
  double u = uv.param[0], v = uv.param[1];
  int k = 0;
  for (int j = 0; j <= nv; ++j) {
    int top = triangular ? nu - j : nu;
    for (int i = 0; i <= top; ++i) {
      if (i == 0 && j == 0) p[k++] = V(g.surface->Value(u, v).XYZ());
      else p[k++] = V(g.surface->DN(u, v, i, j).XYZ());
    }
  }
  return 0;
}
}  // namespace

int BQ_SURF_eval(int surf, BQ_UV_t uv, int n_u_derivs, int n_v_derivs, bool triangular, BQ_VECTOR_t* p) {
  return KernelRun("BQ_SURF_eval", [&]() -> int {
    if (!p) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(surf, BQ_CLASS_surf, &data)) return code;
    return EvalSurface(*data, uv, n_u_derivs, n_v_derivs, triangular, p);
  });
}

int BQ_SURF_eval_with_normal(int surf, BQ_UV_t uv, int n_u_derivs, int n_v_derivs, bool triangular,
                             BQ_VECTOR_t* p, BQ_VECTOR_t* normal) {
  return KernelRun("BQ_SURF_eval_with_normal", [&]() -> int {
    if (!p || !normal) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(surf, BQ_CLASS_surf, &data)) return code;
    if (int code = EvalSurface(*data, uv, n_u_derivs, n_v_derivs, triangular, p)) return code;
    gp_Dir n;
    if (GeomLib::NormEstim(data->surface, gp_Pnt2d(uv.param[0], uv.param[1]), 1e-9, n) > 1)
      return BQ_ERROR_bad_value;
    *normal = V(n.XYZ() * StandardNormalSign(data->surface));
    return 0;
  });
}

int BQ_SURF_parameterise_vector(int surf, BQ_VECTOR_t vector, BQ_UV_t* uv) {
  return KernelRun("BQ_SURF_parameterise_vector", [&]() -> int {
    if (!uv) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(surf, BQ_CLASS_surf, &data)) return code;
    GeomAPI_ProjectPointOnSurf projector(P(vector), data->surface);
    if (!projector.IsDone() || projector.NbPoints() == 0 || projector.LowerDistance() > 1e-7)
      return BQ_ERROR_bad_value;
    projector.LowerDistanceParameters(uv->param[0], uv->param[1]);
    return 0;
  });
}

int BQ_CURVE_ask_interval(int curve, BQ_INTERVAL_t* interval) {
  return KernelRun("BQ_CURVE_ask_interval", [&]() -> int {
    if (!interval) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(curve, BQ_CLASS_curve, &data)) return code;
    interval->value[0] = data->curve->FirstParameter();
    interval->value[1] = data->curve->LastParameter();
    return 0;
  });
}

int BQ_CURVE_eval(int curve, double t, int n_derivs, BQ_VECTOR_t* p) {
  return KernelRun("BQ_CURVE_eval", [&]() -> int {
    if (!p) return BQ_ERROR_null_arg;
    if (n_derivs < 0 || n_derivs > 2) return BQ_ERROR_bad_value;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(curve, BQ_CLASS_curve, &data)) return code;
    p[0] = V(data->curve->Value(t).XYZ());
    for (int i = 1; i <= n_derivs; ++i) p[i] = V(data->curve->DN(t, i).XYZ());
    return 0;
  });
}

int BQ_FACE_find_uvbox(int face, BQ_UVBOX_t* uvbox) {
  return KernelRun("BQ_FACE_find_uvbox", [&]() -> int {
    if (!uvbox) return BQ_ERROR_null_arg;
    Located where;
    if (!SubOf(face, BQ_CLASS_face, &where)) return where.kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    double u1, u2, v1, v2;
    BRepTools::UVBounds(TopoDS::Face(where.body->subs.at(face).shape), u1, u2, v1, v2);
    *uvbox = BQ_UVBOX_t{{u1, v1, u2, v2}};
    return 0;
  });
}

int BQ_GEOM_is_coincident(int geom1, int geom2, bool* coincident) {
  return KernelRun("BQ_GEOM_is_coincident", [&]() -> int {
    if (!coincident) return BQ_ERROR_null_arg;
    const GeomData *a = nullptr, *b = nullptr;
    if (int code = ResolveGeom(geom1, BQ_CLASS_geom, &a)) return code;
    if (int code = ResolveGeom(geom2, BQ_CLASS_geom, &b)) return code;
    *coincident = Coincident(*a, *b, 1e-8);
    return 0;
  });
}

int BQ_GEOM_range_vector(int geom, BQ_VECTOR_t vector, const BQ_TOPOL_range_o_t* /*options*/,
                         BQ_range_r_t* result) {
  return KernelRun("BQ_GEOM_range_vector", [&]() -> int {
    if (!result) return BQ_ERROR_null_arg;
    const GeomData* data = nullptr;
    if (int code = ResolveGeom(geom, BQ_CLASS_geom, &data)) return code;
    gp_Pnt target = P(vector);
    *result = BQ_range_r_t{};
    result->result = BQ_range_result_not_found;
    gp_Pnt nearest;
    double params[2] = {0.0, 0.0};
    if (data->cls == BQ_CLASS_point) {
      nearest = data->point;
    } else if (!data->curve.IsNull()) {
      GeomAPI_ProjectPointOnCurve projector(target, data->curve);
      if (projector.NbPoints() == 0) return 0;
      nearest = projector.NearestPoint();
      params[0] = projector.LowerDistanceParameter();
    } else {
      GeomAPI_ProjectPointOnSurf projector(target, data->surface);
      if (!projector.IsDone() || projector.NbPoints() == 0) return 0;
      nearest = projector.NearestPoint();
      projector.LowerDistanceParameters(params[0], params[1]);
    }
    result->result = BQ_range_result_found;
    result->distance = nearest.Distance(target);
    FillEnd(&result->end[0], geom, nearest);
    result->end[0].parameters[0] = params[0];
    result->end[0].parameters[1] = params[1];
    FillEnd(&result->end[1], 0, target);
    return 0;
  });
}

int BQ_TOPOL_range(int topol1, int topol2, const BQ_TOPOL_range_o_t* /*options*/, BQ_range_r_t* result) {
  return KernelRun("BQ_TOPOL_range", [&]() -> int {
    if (!result) return BQ_ERROR_null_arg;
    Located a, b;
    if (int code = ResolveClass(topol1, BQ_CLASS_topol, &a)) return code;
    if (int code = ResolveClass(topol2, BQ_CLASS_topol, &b)) return code;
    TopoDS_Shape sa = ShapeOfTopol(a), sb = ShapeOfTopol(b);
    if (sa.IsNull() || sb.IsNull()) return BQ_ERROR_wrong_class;
    *result = BQ_range_r_t{};
    return RangeShapes(sa, sb, topol1, topol2, result);
  });
}

int BQ_TOPOL_range_vector(int topol, BQ_VECTOR_t vector, const BQ_TOPOL_range_o_t* /*options*/,
                          BQ_range_r_t* result) {
  return KernelRun("BQ_TOPOL_range_vector", [&]() -> int {
    if (!result) return BQ_ERROR_null_arg;
    Located a;
    if (int code = ResolveClass(topol, BQ_CLASS_topol, &a)) return code;
    TopoDS_Shape sa = ShapeOfTopol(a);
    if (sa.IsNull()) return BQ_ERROR_wrong_class;
    *result = BQ_range_r_t{};
    return RangeShapes(sa, BRepBuilderAPI_MakeVertex(P(vector)), topol, 0, result);
  });
}

int BQ_GEOM_transform_2(int n, const int* geoms, int transf, const BQ_GEOM_transform_o_t* options,
                        int* results, unsigned char* result_flags) {
  return KernelRun("BQ_GEOM_transform_2", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && (!geoms || !results)) return BQ_ERROR_null_arg;
    Located t;
    if (int code = ResolveClass(transf, BQ_CLASS_transf, &t)) return code;
    const gp_Trsf trsf = t.partition->state.transfs.at(transf).trsf;
    bool copy = options && options->transform_mode == BQ_GEOM_transform_copy;
    std::vector<Located> where(n);
    for (int i = 0; i < n; ++i) {
      if (int code = ResolveClass(geoms[i], BQ_CLASS_geom, &where[i])) return code;
      if (where[i].kind != Kind::FreeGeom && !copy) return BQ_ERROR_wrong_class;
    }
    for (int i = 0; i < n; ++i) {
      GeomData data = *GeomOf(where[i]);
      if (data.cls == BQ_CLASS_point) data.point.Transform(trsf);
      else if (!data.curve.IsNull()) data.curve = Handle(Geom_Curve)::DownCast(data.curve->Transformed(trsf));
      else data.surface = Handle(Geom_Surface)::DownCast(data.surface->Transformed(trsf));
      PartitionState& st = where[i].partition->Change();
      if (copy) {
        FreeGeomRecord record;
        record.data = data;
        record.identifier = st.nextFreeIdentifier++;
        results[i] = CurrentSession()->NewTag();
        st.freeGeoms[results[i]] = record;
      } else {
        st.freeGeoms.at(geoms[i]).data = data;
        results[i] = geoms[i];
      }
      if (result_flags) result_flags[i] = 1;
    }
    return 0;
  });
}
