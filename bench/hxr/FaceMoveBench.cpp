// One face-move step of the engine (the face moved, its neighbours re-intersected, the
// result checked and its history recorded) against OCCT's own per-face offset of the same
// face on the same body. Each body's two runs are registered next to each other so that
// the report shows them side by side.
#include "engine/FaceChange.h"
#include "engine/ShapeChecks.h"
#include "fixtures/EngineFixtures.h"

#include <BRepCheck_Analyzer.hxx>
#include <BRepOffset_MakeOffset.hxx>

#include <benchmark/benchmark.h>

namespace {

using namespace hxr::engine;

constexpr double kStep = 0.5;

struct Body {
  TopoDS_Shape shape;
  TopoDS_Face face;  // the face that moves
};

const Body& LPrismBody() {
  static const Body body = [] {
    const TopoDS_Shape prism = fixtures::LPrism();
    return Body{prism, fixtures::PlanarFace(prism, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4))};
  }();
  return body;
}

const Body& HolePlateBody() {
  static const Body body = [] {
    const TopoDS_Shape plate = fixtures::HolePlate(10, 100.0, 5.0, 2.0);
    return Body{plate, fixtures::PlanarFace(plate, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 5))};
  }();
  return body;
}

void EngineFaceMove(benchmark::State& state, const Body& (*body)()) {
  const Body& b = body();
  FaceChange change;
  change.face = b.face;
  change.kind = FaceChangeKind::FaceChangeTransform;
  change.motion.SetTranslation(gp_Vec(0, 0, kStep));
  for (auto _ : state) {
    Result result = ChangeFaces(b.shape, {change});
    if (!result.ok) {
      state.SkipWithError(result.detail.c_str());
      return;
    }
    benchmark::DoNotOptimize(result.shape);
  }
}

void OcctFaceOffset(benchmark::State& state, const Body& (*body)()) {
  const Body& b = body();
  for (auto _ : state) {
    BRepOffset_MakeOffset offset;
    offset.Initialize(b.shape, 0.0, 1e-6, BRepOffset_Skin, false, false, GeomAbs_Intersection);
    offset.SetOffsetOnFace(b.face, kStep);
    offset.MakeOffsetShape();
    if (!offset.IsDone()) {
      state.SkipWithError("OCCT's per-face offset failed");
      return;
    }
    // The engine checks what it made; check OCCT's result the same way.
    benchmark::DoNotOptimize(BRepCheck_Analyzer(offset.Shape()).IsValid());
  }
}

BENCHMARK_CAPTURE(EngineFaceMove, LPrism, &LPrismBody)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OcctFaceOffset, LPrism, &LPrismBody)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EngineFaceMove, HolePlate100, &HolePlateBody)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OcctFaceOffset, HolePlate100, &HolePlateBody)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
