// Entity record operations shared by the kernel calls.
#include "EntityOps.h"

#include "BodyStore.h"

#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <gp_Circ.hxx>
#include <gp_Cone.hxx>
#include <gp_Cylinder.hxx>
#include <gp_Elips.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>
#include <gp_Sphere.hxx>
#include <gp_Torus.hxx>

#include <algorithm>
#include <cmath>

namespace brennik {

namespace {
int ParentClass(int cls) {
  if (cls >= 4001 && cls <= 4011) return BQ_CLASS_surf;
  if (cls >= 3001 && cls <= 3009) return BQ_CLASS_curve;
  if (cls == BQ_CLASS_surf || cls == BQ_CLASS_curve || cls == BQ_CLASS_point) return BQ_CLASS_geom;
  if (cls == BQ_CLASS_body || cls == BQ_CLASS_assembly) return BQ_CLASS_part;
  if (cls == BQ_CLASS_part || (cls >= 5001 && cls <= 5005) || cls == BQ_CLASS_fin ||
      cls == BQ_CLASS_region || cls == BQ_CLASS_instance)
    return BQ_CLASS_topol;
  return 0;
}
}  // namespace

bool IsSubclass(int cls, int super) {
  for (int c = cls; c != 0; c = ParentClass(c))
    if (c == super) return true;
  return false;
}

int Resolve(int tag, Located* where) {
  *where = Locate(tag);
  return where->kind == Kind::None ? BQ_ERROR_bad_tag : 0;
}

int ResolveClass(int tag, int cls, Located* where) {
  int code = Resolve(tag, where);
  if (code) return code;
  return IsSubclass(ClassOf(*where), cls) ? 0 : BQ_ERROR_wrong_class;
}

const GeomData* GeomOf(const Located& where) {
  if (where.geom) return where.geom;
  if (where.kind == Kind::BodyGeom) return &where.body->geoms.at(where.tag).data;
  if (where.kind == Kind::FreeGeom) return &where.partition->state.freeGeoms.at(where.tag).data;
  return nullptr;
}

const SubEntity& SubEntityOf(const Located& where) {
  return where.sub ? *where.sub : where.body->subs.at(where.tag);
}

int PartOf(const Located& where) {
  switch (where.kind) {
    case Kind::Body:
    case Kind::Sub:
    case Kind::Fin:
    case Kind::BodyGeom:
      return where.body->tag;
    case Kind::FreeGeom:
      return where.partition->state.freeGeoms.at(where.tag).part;
    case Kind::Group:
      return where.partition->state.groups.at(where.tag).part;
    case Kind::Attrib:
      return PartOf(Locate(where.partition->state.attribs.at(where.tag).owner));
    default:
      return 0;
  }
}

void FireAttribCallback(AttribEvent event, int attrib, int entity, int otherAttrib, int otherEntity) {
  Session* s = CurrentSession();
  Located where = Locate(attrib);
  int attdefTag = 0;
  if (where.kind == Kind::Attrib) attdefTag = where.partition->state.attribs.at(attrib).attdef;
  else if (otherAttrib) {
    Located other = Locate(otherAttrib);
    if (other.kind == Kind::Attrib) attdefTag = other.partition->state.attribs.at(otherAttrib).attdef;
  }
  auto it = s->attdefs.find(attdefTag);
  if (it == s->attdefs.end()) return;
  const AttdefRecord& def = it->second;
  BQ_ATTDEF_callback_f_t fn = nullptr;
  switch (event) {
    case AttribEvent::Split: if (def.flags.split_cb) fn = def.callbacks.split_fn; break;
    case AttribEvent::Merge: if (def.flags.merge_cb) fn = def.callbacks.merge_fn; break;
    case AttribEvent::Delete: if (def.flags.delete_cb) fn = def.callbacks.delete_fn; break;
    case AttribEvent::Copy: if (def.flags.copy_cb) fn = def.callbacks.copy_fn; break;
  }
  if (fn) fn(entity, attrib, otherAttrib, otherEntity);
}

void DeleteAttributesOf(Partition& partition, int owner, bool fireCallbacks) {
  auto it = partition.state.attribsOf.find(owner);
  if (it == partition.state.attribsOf.end()) return;
  std::vector<int> attribs = it->second;
  for (int attrib : attribs) {
    if (fireCallbacks) FireAttribCallback(AttribEvent::Delete, attrib, owner, 0, 0);
    PartitionState& st = partition.Change();
    st.attribs.erase(attrib);
  }
  partition.Change().attribsOf.erase(owner);
}

void RemoveFromGroups(PartitionState& state, int entity) {
  for (auto& group : state.groups) {
    auto& m = group.second.members;
    m.erase(std::remove(m.begin(), m.end(), entity), m.end());
  }
}

void DeleteGroup(Partition& partition, int group) {
  DeleteAttributesOf(partition, group, true);
  partition.Change().groups.erase(group);
}

void DeleteBody(Partition& partition, int bodyTag) {
  BodyPtr body = partition.state.bodies.at(bodyTag);
  for (int tag : body->faces) DeleteAttributesOf(partition, tag, true);
  for (int tag : body->edges) DeleteAttributesOf(partition, tag, true);
  for (int tag : body->vertices) DeleteAttributesOf(partition, tag, true);
  DeleteAttributesOf(partition, bodyTag, true);
  std::vector<int> groups;
  for (const auto& g : partition.state.groups)
    if (g.second.part == bodyTag) groups.push_back(g.first);
  for (int g : groups) DeleteGroup(partition, g);
  PartitionState& st = partition.Change();
  for (int geom : body->attachedGeoms) {
    DeleteAttributesOf(partition, geom, true);
    st.freeGeoms.erase(geom);
  }
  UninstallBody(st, bodyTag);
}

BodyHoldings HoldingsOf(const PartitionState& state, const BodyRecord& body) {
  BodyHoldings out;
  out.owners.push_back(body.tag);
  for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices})
    out.owners.insert(out.owners.end(), list->begin(), list->end());
  out.geoms = body.attachedGeoms;
  out.owners.insert(out.owners.end(), out.geoms.begin(), out.geoms.end());
  for (const auto& g : state.groups)
    if (g.second.part == body.tag) out.groups.push_back(g.first);
  out.owners.insert(out.owners.end(), out.groups.begin(), out.groups.end());
  return out;
}

void MoveBody(PartitionState& from, PartitionState* to, int bodyTag) {
  BodyPtr record = from.bodies.at(bodyTag);
  BodyHoldings holdings = HoldingsOf(from, *record);
  for (int g : holdings.geoms) {
    auto it = from.freeGeoms.find(g);
    if (it == from.freeGeoms.end()) continue;
    if (to) to->freeGeoms[g] = it->second;
    from.freeGeoms.erase(it);
  }
  for (int g : holdings.groups) {
    if (to) to->groups[g] = from.groups.at(g);
    from.groups.erase(g);
  }
  for (int owner : holdings.owners) {
    auto it = from.attribsOf.find(owner);
    if (it == from.attribsOf.end()) continue;
    for (int a : it->second) {
      if (to) to->attribs[a] = from.attribs.at(a);
      from.attribs.erase(a);
    }
    if (to) to->attribsOf[owner] = it->second;
    from.attribsOf.erase(it);
  }
  UninstallBody(from, bodyTag);
  if (to) InstallBody(*to, record);
}

void CopyAttributes(Partition& partition, int from, int to, AttribEvent event) {
  auto it = partition.state.attribsOf.find(from);
  if (it == partition.state.attribsOf.end()) return;
  std::vector<int> attribs = it->second;
  for (int attrib : attribs) {
    PartitionState& st = partition.Change();
    AttribRecord copy = st.attribs.at(attrib);
    copy.owner = to;
    int tag = CurrentSession()->NewTag();
    st.attribs[tag] = copy;
    st.attribsOf[to].push_back(tag);
    FireAttribCallback(event, attrib, from, tag, to);
  }
}

namespace {

bool SamePoint(const gp_Pnt& a, const gp_Pnt& b, double tol) { return a.Distance(b) <= tol; }
bool SameLineDir(const gp_Dir& a, const gp_Dir& b) { return a.IsParallel(b, 1e-11); }
bool PointOnAxis(const gp_Pnt& p, const gp_Ax1& axis, double tol) {
  gp_Vec v(axis.Location(), p);
  return v.Crossed(gp_Vec(axis.Direction())).Magnitude() <= tol;
}

Handle(Geom_Surface) Basis(Handle(Geom_Surface) s) {
  while (auto t = Handle(Geom_RectangularTrimmedSurface)::DownCast(s)) s = t->BasisSurface();
  return s;
}
Handle(Geom_Curve) Basis(Handle(Geom_Curve) c) {
  while (auto t = Handle(Geom_TrimmedCurve)::DownCast(c)) c = t->BasisCurve();
  return c;
}

// Free-form geometry: the same parameter range and the same points across it (what a copy or a
// transmitted copy of the geometry gives).
bool SameSamples(const GeomData& a, const GeomData& b, double tol) {
  const double big = 1e50;
  if (!a.curve.IsNull() && !b.curve.IsNull()) {
    double f = a.curve->FirstParameter(), l = a.curve->LastParameter();
    if (std::abs(f) > big || std::abs(l) > big) return false;
    if (std::abs(f - b.curve->FirstParameter()) > 1e-9 || std::abs(l - b.curve->LastParameter()) > 1e-9) return false;
    for (int i = 0; i <= 8; ++i) {
      double t = f + (l - f) * i / 8.0;
      if (a.curve->Value(t).Distance(b.curve->Value(t)) > tol) return false;
    }
    return true;
  }
  if (!a.surface.IsNull() && !b.surface.IsNull()) {
    double u1, u2, v1, v2, p1, p2, q1, q2;
    a.surface->Bounds(u1, u2, v1, v2);
    b.surface->Bounds(p1, p2, q1, q2);
    for (double x : {u1, u2, v1, v2})
      if (std::abs(x) > big) return false;
    if (std::abs(u1 - p1) > 1e-9 || std::abs(u2 - p2) > 1e-9 || std::abs(v1 - q1) > 1e-9 || std::abs(v2 - q2) > 1e-9)
      return false;
    for (int i = 0; i <= 4; ++i)
      for (int j = 0; j <= 4; ++j) {
        double u = u1 + (u2 - u1) * i / 4.0, v = v1 + (v2 - v1) * j / 4.0;
        if (a.surface->Value(u, v).Distance(b.surface->Value(u, v)) > tol) return false;
      }
    return true;
  }
  return false;
}

}  // namespace

bool Coincident(const GeomData& a, const GeomData& b, double tol) {
  if (a.cls != b.cls) return false;
  if (a.cls == BQ_CLASS_point) return SamePoint(a.point, b.point, tol);
  if (!a.surface.IsNull() && a.surface == b.surface) return true;
  if (!a.curve.IsNull() && a.curve == b.curve) return true;
  switch (a.cls) {
    case BQ_CLASS_plane: {
      gp_Pln pa = Handle(Geom_Plane)::DownCast(Basis(a.surface))->Pln();
      gp_Pln pb = Handle(Geom_Plane)::DownCast(Basis(b.surface))->Pln();
      return SameLineDir(pa.Axis().Direction(), pb.Axis().Direction()) &&
             pa.Distance(pb.Location()) <= tol;
    }
    case BQ_CLASS_cyl: {
      gp_Cylinder ca = Handle(Geom_CylindricalSurface)::DownCast(Basis(a.surface))->Cylinder();
      gp_Cylinder cb = Handle(Geom_CylindricalSurface)::DownCast(Basis(b.surface))->Cylinder();
      return std::abs(ca.Radius() - cb.Radius()) <= tol &&
             SameLineDir(ca.Axis().Direction(), cb.Axis().Direction()) &&
             PointOnAxis(cb.Location(), ca.Axis(), tol);
    }
    case BQ_CLASS_cone: {
      gp_Cone ca = Handle(Geom_ConicalSurface)::DownCast(Basis(a.surface))->Cone();
      gp_Cone cb = Handle(Geom_ConicalSurface)::DownCast(Basis(b.surface))->Cone();
      double sa = ca.SemiAngle(), sb = cb.SemiAngle();
      bool sameSense = ca.Axis().Direction().IsEqual(cb.Axis().Direction(), 1e-11);
      if (!sameSense) sb = -sb;
      return SameLineDir(ca.Axis().Direction(), cb.Axis().Direction()) &&
             std::abs(std::abs(sa) - std::abs(sb)) <= 1e-11 && SamePoint(ca.Apex(), cb.Apex(), tol) &&
             ((sa > 0) == (sb > 0));
    }
    case BQ_CLASS_sphere: {
      gp_Sphere sa = Handle(Geom_SphericalSurface)::DownCast(Basis(a.surface))->Sphere();
      gp_Sphere sb = Handle(Geom_SphericalSurface)::DownCast(Basis(b.surface))->Sphere();
      return std::abs(sa.Radius() - sb.Radius()) <= tol && SamePoint(sa.Location(), sb.Location(), tol);
    }
    case BQ_CLASS_torus: {
      gp_Torus ta = Handle(Geom_ToroidalSurface)::DownCast(Basis(a.surface))->Torus();
      gp_Torus tb = Handle(Geom_ToroidalSurface)::DownCast(Basis(b.surface))->Torus();
      return std::abs(ta.MajorRadius() - tb.MajorRadius()) <= tol &&
             std::abs(ta.MinorRadius() - tb.MinorRadius()) <= tol &&
             SameLineDir(ta.Axis().Direction(), tb.Axis().Direction()) &&
             SamePoint(ta.Location(), tb.Location(), tol);
    }
    case BQ_CLASS_line: {
      gp_Lin la = Handle(Geom_Line)::DownCast(Basis(a.curve))->Lin();
      gp_Lin lb = Handle(Geom_Line)::DownCast(Basis(b.curve))->Lin();
      return SameLineDir(la.Direction(), lb.Direction()) && la.Distance(lb.Location()) <= tol;
    }
    case BQ_CLASS_circle: {
      gp_Circ ca = Handle(Geom_Circle)::DownCast(Basis(a.curve))->Circ();
      gp_Circ cb = Handle(Geom_Circle)::DownCast(Basis(b.curve))->Circ();
      return std::abs(ca.Radius() - cb.Radius()) <= tol && SamePoint(ca.Location(), cb.Location(), tol) &&
             SameLineDir(ca.Axis().Direction(), cb.Axis().Direction());
    }
    case BQ_CLASS_ellipse: {
      gp_Elips ea = Handle(Geom_Ellipse)::DownCast(Basis(a.curve))->Elips();
      gp_Elips eb = Handle(Geom_Ellipse)::DownCast(Basis(b.curve))->Elips();
      return std::abs(ea.MajorRadius() - eb.MajorRadius()) <= tol &&
             std::abs(ea.MinorRadius() - eb.MinorRadius()) <= tol &&
             SamePoint(ea.Location(), eb.Location(), tol) &&
             SameLineDir(ea.Axis().Direction(), eb.Axis().Direction()) &&
             SameLineDir(ea.XAxis().Direction(), eb.XAxis().Direction());
    }
    default:
      return SameSamples(a, b, tol);
  }
}

}  // namespace brennik
