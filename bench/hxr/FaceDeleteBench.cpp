// Deleting one through hole from plates of 10, 100 and 1,000 holes: the engine's delete
// (which takes a hole out locally, dropping its loops from the plate's top and bottom) against
// the whole-body healing by OCCT's defeaturing it used before, each with the engine's history
// and checks. Defeaturing the 1,000-hole plate takes some forty seconds, so that side is run
// on 10 and 100 holes only. The growth run takes both sides in one run, interleaved, and
// prints the medians, the local delete's fitted exponent over the three plates and the
// ratio on the 100-hole plate.
#include "engine/FaceDelete.h"
#include "engine/LocalFaceDelete.h"
#include "engine/ShapeChecks.h"
#include "fixtures/EngineFixtures.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Builder.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Ax2.hxx>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

using namespace hxr::engine;

struct Plate {
  TopoDS_Shape shape;
  TopoDS_Shape hole;  // the face of the hole that goes, in the middle of the plate
};

// A plate 2 thick with `count` holes of radius 1 on a 5 grid, as square as the count allows.
TopoDS_Shape PlateWithHoles(int count) {
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
  const int rows = (count + columns - 1) / columns;
  BRep_Builder builder;
  TopoDS_Compound tools;
  builder.MakeCompound(tools);
  for (int k = 0; k < count; ++k) {
    const gp_Ax2 axis(gp_Pnt(2.5 + 5.0 * (k % columns), 2.5 + 5.0 * (k / columns), -1.0), gp_Dir(0, 0, 1));
    builder.Add(tools, BRepPrimAPI_MakeCylinder(axis, 1.0, 4.0).Shape());
  }
  return BRepAlgoAPI_Cut(fixtures::Box(5.0 * columns, 5.0 * rows, 2.0), tools).Shape();
}

const Plate& PlateOf(int count) {
  static std::map<int, Plate> plates;
  auto found = plates.find(count);
  if (found != plates.end()) return found->second;
  Plate plate;
  plate.shape = PlateWithHoles(count);
  const std::vector<TopoDS_Face> holes = fixtures::CurvedFaces(plate.shape);
  plate.hole = holes[holes.size() / 2];
  return plates.emplace(count, plate).first->second;
}

// The engine's delete; false with the reason when it failed or did not go the local way.
bool DeleteLocally(const Plate& plate, std::string& why) {
  const Result result = DeleteFaces(plate.shape, {plate.hole});
  benchmark::DoNotOptimize(result.shape);
  why = result.ok ? std::string() : result.detail;
  return result.ok;
}

// The delete as it was: OCCT's defeaturing rebuilds the body, then the same history and checks.
bool DeleteByDefeaturing(const Plate& plate, std::string& why) {
  TopoDS_Shape healed;
  BRepTools_History history;
  if (RemoveFacesByHealing(plate.shape, {plate.hole}, healed, history, why) != ErrorNone) return false;
  const Result result = FinishOperation(plate.shape, healed, history);
  benchmark::DoNotOptimize(result.shape);
  if (!result.ok) why = result.detail;
  return result.ok;
}

bool GoesLocally(const Plate& plate) {
  LocalDelete local;
  return RemoveFacesLocally(plate.shape, {plate.hole}, local);
}

void EngineHoleDelete(benchmark::State& state) {
  const Plate& plate = PlateOf(static_cast<int>(state.range(0)));
  if (!GoesLocally(plate)) {
    state.SkipWithError("the hole is not taken out locally");
    return;
  }
  std::string why;
  for (auto _ : state) {
    if (!DeleteLocally(plate, why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
}

void DefeaturingHoleDelete(benchmark::State& state) {
  const Plate& plate = PlateOf(static_cast<int>(state.range(0)));
  std::string why;
  for (auto _ : state) {
    if (!DeleteByDefeaturing(plate, why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
}

// Both sides in one run, interleaved so that they share the machine's load: each iteration
// deletes the hole locally from every plate and by defeaturing from the 10- and 100-hole
// plates. The counters give each median in milliseconds, the local delete's exponent and the
// ratio of the medians on the 100-hole plate.
void FaceDeleteGrowth(benchmark::State& state) {
  const std::vector<int> counts = {10, 100, 1000};
  for (int count : counts) {
    if (!GoesLocally(PlateOf(count))) {
      state.SkipWithError("a hole is not taken out locally");
      return;
    }
  }
  std::map<int, std::vector<double>> local, defeaturing;
  std::string why;
  bool ok = true;
  for (auto _ : state) {
    for (int count : counts) {
      const Plate& plate = PlateOf(count);
      local[count].push_back(WallMilliseconds([&] { ok = DeleteLocally(plate, why) && ok; }));
      if (count <= 100) {
        defeaturing[count].push_back(WallMilliseconds([&] { ok = DeleteByDefeaturing(plate, why) && ok; }));
      }
    }
    if (!ok) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
  std::vector<double> medians;
  for (int count : counts) {
    medians.push_back(Median(local[count]));
    state.counters["local_ms_" + std::to_string(count)] = medians.back();
  }
  for (int count : {10, 100}) state.counters["defeaturing_ms_" + std::to_string(count)] = Median(defeaturing[count]);
  state.counters["local_exponent"] = FittedExponent(counts, medians);
  state.counters["ratio_100"] = Median(defeaturing[100]) / Median(local[100]);
}

BENCHMARK(EngineHoleDelete)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(DefeaturingHoleDelete)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
// Twenty defeaturings of the 100-hole plate take several seconds: enough for stable medians.
BENCHMARK(FaceDeleteGrowth)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
