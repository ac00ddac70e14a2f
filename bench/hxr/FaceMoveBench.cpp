// One face-move step of the engine (the face moved, its neighbours re-intersected, the
// result checked and its history recorded) against OCCT's own per-face offset of the same
// face on the same body. Each body's two runs are registered next to each other so that
// the report shows them side by side; the ratio runs take both in one run and print the
// medians and their ratio. The growth run moves one hole sideways on plates of 9, 100 and
// 1,024 holes: the cost should follow the faces changed, not the plate. The engine is handed
// the body's adjacency, measured once per body, as the kernel's body record keeps it beside
// the body.
#include "engine/FaceChange.h"
#include "engine/FaceRegion.h"
#include "engine/ShapeChecks.h"
#include "fixtures/EngineFixtures.h"

#include <BRepCheck_Analyzer.hxx>
#include <BRepOffset_MakeOffset.hxx>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

using namespace hxr::engine;

constexpr double kStep = 0.5;

struct Body {
  Body(const TopoDS_Shape& body, const TopoDS_Face& moving)
      : shape(body), face(moving), neighbours(std::make_shared<ShapeNeighbours>(body)) {}
  TopoDS_Shape shape;
  TopoDS_Face face;  // the face that moves
  std::shared_ptr<const ShapeNeighbours> neighbours;
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

// A 2 thick plate of perSide x perSide holes of radius 1 on a 5 grid; the hole that moves is
// the middle one.
const Body& HoleGridOf(int perSide) {
  static std::map<int, Body> plates;
  auto found = plates.find(perSide);
  if (found != plates.end()) return found->second;
  const TopoDS_Shape plate = fixtures::HolePlate(perSide, 5.0 * perSide, 2.0, 1.0);
  const std::vector<TopoDS_Face> holes = fixtures::CurvedFaces(plate);
  return plates.emplace(perSide, Body{plate, holes[holes.size() / 2]}).first->second;
}

// The middle hole of a plate moved sideways by 0.5; false with the reason when it failed.
bool MoveHole(const Body& b, std::string& why) {
  FaceChange change;
  change.face = b.face;
  change.kind = FaceChangeKind::FaceChangeTransform;
  change.motion.SetTranslation(gp_Vec(kStep, 0, 0));
  Result result = ChangeFaces(b.shape, {change}, b.neighbours.get());
  benchmark::DoNotOptimize(result.shape);
  why = result.detail;
  return result.ok;
}

void EngineHoleMove(benchmark::State& state) {
  const Body& b = HoleGridOf(static_cast<int>(state.range(0)));
  std::string why;
  for (auto _ : state) {
    if (!MoveHole(b, why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
}

// The hole moved on every plate in one run, interleaved so that the plates share the
// machine's load, each move timed by the processor time of the measuring thread (the
// engine runs on it alone). The counters give each median in milliseconds, the fitted exponent over
// the three plates (by hole count) and the ratio of the 1,024-hole plate to the 9-hole one.
void HoleMoveGrowth(benchmark::State& state) {
  const std::vector<int> sides = {3, 10, 32};
  std::vector<int> counts;
  for (int side : sides) counts.push_back(side * side);
  std::map<int, std::vector<double>> times;
  std::string why;
  bool ok = true;
  for (auto _ : state) {
    for (int side : sides) {
      const Body& b = HoleGridOf(side);
      const double start = ThreadMilliseconds();
      ok = MoveHole(b, why) && ok;
      times[side].push_back(ThreadMilliseconds() - start);
    }
    if (!ok) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
  std::vector<double> medians;
  for (size_t i = 0; i < sides.size(); ++i) {
    medians.push_back(Median(times[sides[i]]));
    state.counters["move_ms_" + std::to_string(counts[i])] = medians.back();
  }
  state.counters["exponent"] = FittedExponent(counts, medians);
  state.counters["ratio_1024_to_9"] = medians.back() / medians.front();
}

// One engine face move; false with the reason when it failed.
bool MoveWithEngine(const Body& b, std::string& why) {
  FaceChange change;
  change.face = b.face;
  change.kind = FaceChangeKind::FaceChangeTransform;
  change.motion.SetTranslation(gp_Vec(0, 0, kStep));
  Result result = ChangeFaces(b.shape, {change}, b.neighbours.get());
  benchmark::DoNotOptimize(result.shape);
  why = result.detail;
  return result.ok;
}

// OCCT's per-face offset of the same face; the engine checks what it made, so OCCT's
// result is checked the same way.
bool OffsetWithOcct(const Body& b) {
  BRepOffset_MakeOffset offset;
  offset.Initialize(b.shape, 0.0, 1e-6, BRepOffset_Skin, false, false, GeomAbs_Intersection);
  offset.SetOffsetOnFace(b.face, kStep);
  offset.MakeOffsetShape();
  if (!offset.IsDone()) return false;
  benchmark::DoNotOptimize(BRepCheck_Analyzer(offset.Shape()).IsValid());
  return true;
}

void EngineFaceMove(benchmark::State& state, const Body& (*body)()) {
  const Body& b = body();
  std::string why;
  for (auto _ : state) {
    if (!MoveWithEngine(b, why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
}

void OcctFaceOffset(benchmark::State& state, const Body& (*body)()) {
  const Body& b = body();
  for (auto _ : state) {
    if (!OffsetWithOcct(b)) {
      state.SkipWithError("OCCT's per-face offset failed");
      return;
    }
  }
}

// Both sides in one run, interleaved so that they share the machine's load: each
// iteration offsets once with OCCT and moves several times with the engine. The counters
// give each side's median in milliseconds and the ratio of the medians.
void FaceMoveRatio(benchmark::State& state, const Body& (*body)()) {
  constexpr int kEngineRunsPerOffset = 5;
  const Body& b = body();
  std::vector<double> engine, occt;
  std::string why;
  bool ok = true;
  for (auto _ : state) {
    occt.push_back(WallMilliseconds([&] { ok = OffsetWithOcct(b) && ok; }));
    for (int i = 0; i < kEngineRunsPerOffset; ++i) {
      engine.push_back(WallMilliseconds([&] { ok = MoveWithEngine(b, why) && ok; }));
    }
    if (!ok) {
      state.SkipWithError("a face move failed");
      return;
    }
  }
  state.counters["engine_ms"] = Median(engine);
  state.counters["offset_ms"] = Median(occt);
  state.counters["ratio"] = Median(occt) / Median(engine);
}

BENCHMARK_CAPTURE(EngineFaceMove, LPrism, &LPrismBody)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OcctFaceOffset, LPrism, &LPrismBody)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EngineFaceMove, HolePlate100, &HolePlateBody)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OcctFaceOffset, HolePlate100, &HolePlateBody)->Unit(benchmark::kMillisecond);
// Twenty offsets of the plate take several seconds: enough for stable medians on both sides.
BENCHMARK_CAPTURE(FaceMoveRatio, LPrism, &LPrismBody)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FaceMoveRatio, HolePlate100, &HolePlateBody)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineHoleMove)->Arg(3)->Arg(10)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(HoleMoveGrowth)->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
