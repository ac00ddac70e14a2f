// Fixture bodies: the exact fixture shapes wrapped as kernel bodies, and free geometry.
#include "brennik_build.h"

#include "BodyStore.h"
#include "fixtures/FixtureShapes.h"

#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <Standard_Failure.hxx>

namespace brennik {
namespace build {
namespace {
// A fixture that cannot be built gives 0, never an exception.
template <class Make>
int Wrap(Make make) {
  try {
    return store::CreateBody(make());
  } catch (const Standard_Failure&) {
    return 0;
  }
}
// The body's record rewritten by `change`, as the kernel would have kept the body itself.
template <class Change>
int Rewrite(int body, Change change) {
  const Located where = Locate(body);
  if (where.kind != Kind::Body) return 0;
  auto copy = std::make_shared<BodyRecord>(*where.body);
  change(*copy);
  InstallBody(where.partition->Change(), copy);
  return body;
}
}  // namespace

int Block(double dx, double dy, double dz) { return Wrap([&] { return shapes::Block(dx, dy, dz); }); }
int LPrism() { return Wrap([&] { return shapes::LPrism(); }); }
int BlockWithBlend(double radius) { return Wrap([&] { return shapes::BlockWithBlend(radius); }); }
int BlockWithBlendChain(double radius) { return Wrap([&] { return shapes::BlockWithBlendChain(radius); }); }
int BlockWithTwoBlends(double r1, double r2) { return Wrap([&] { return shapes::BlockWithTwoBlends(r1, r2); }); }
int BlockWithOppositeBlends(double r1, double r2) {
  return Wrap([&] { return shapes::BlockWithOppositeBlends(r1, r2); });
}
int BlockWithBlendedCorner(double radius) { return Wrap([&] { return shapes::BlockWithBlendedCorner(radius); }); }
int ThinWalledBox(double wall) { return Wrap([&] { return shapes::ThinWalledBox(wall); }); }
int TurnedPart() { return Wrap([&] { return shapes::TurnedPart(); }); }
int ThinWalledTube(double wall) { return Wrap([&] { return shapes::ThinWalledTube(wall); }); }
int PlateWithHoles() { return Wrap([&] { return shapes::PlateWithHoles(); }); }
int PlateWithHolePatterns() { return Wrap([&] { return shapes::PlateWithHolePatterns(); }); }
int PlateWithManyHoles(int count) { return Wrap([&] { return shapes::PlateWithManyHoles(count); }); }
int Sheet() { return Wrap([&] { return shapes::Sheet(); }); }
int PlanarSheet(double x, double y, double z, double nx, double ny, double nz, double half) {
  return Wrap([&] { return shapes::PlanarSheet(gp_Pnt(x, y, z), gp_Dir(nx, ny, nz), half); });
}

int BlockWithBlendSurface(double radius) {
  return Rewrite(BlockWithBlend(radius), [](BodyRecord& body) {
    for (auto& geom : body.geoms)
      if (geom.second.data.cls == BQ_CLASS_cyl) geom.second.data.cls = BQ_CLASS_blendsf;
  });
}

int BlockWithPointlessVertex() {
  return Rewrite(Block(), [](BodyRecord& body) { body.subs.at(body.vertices.front()).geom = 0; });
}

int FreePoint(double x, double y, double z) {
  BQ_POINT_sf_t sf{{{x, y, z}}};
  int point = 0;
  return BQ_POINT_create(&sf, &point) == 0 ? point : 0;
}

int FreeLine(double x, double y, double z, double dx, double dy, double dz) {
  BQ_LINE_sf_t sf{{{{x, y, z}}, {{dx, dy, dz}}}};
  int line = 0;
  return BQ_LINE_create(&sf, &line) == 0 ? line : 0;
}

int FreePlane(double x, double y, double z, double nx, double ny, double nz) {
  BQ_PLANE_sf_t sf{{{{x, y, z}}, {{nx, ny, nz}}, {{0, 0, 0}}}};
  int plane = 0;
  return BQ_PLANE_create(&sf, &plane) == 0 ? plane : 0;
}

double Volume(int body) {
  const auto* record = store::FindBody(body);
  if (record == nullptr || record->shape.IsNull()) return 0.0;
  try {
    GProp_GProps properties;
    BRepGProp::VolumeProperties(record->shape, properties);
    return properties.Mass();
  } catch (const Standard_Failure&) {
    return 0.0;
  }
}

}  // namespace build
}  // namespace brennik
