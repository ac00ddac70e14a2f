// A find of geometric relations over a plate of 1,000 faces (a plate with 994 holes), from its
// top face into the whole plate, at two levels: planes parallel and perpendicular to the top,
// then the holes that are concentric with one another. Each round runs the find once through
// the exported call (the call frame, argument checks, the groups turned into find input) and
// once through the relation finder itself on the same input; the counters give both medians
// and the ratio of the exported call to the finder's own find.
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "update/finding/RelationFinder.h"
#include "update/finding/RelationFinderInputData.h"

#include <benchmark/benchmark.h>
#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <set>
#include <vector>

#include "BenchTiming.h"

namespace {

using namespace QEL;

constexpr int kHoles = 994;  // with the plate's six sides, 1,000 faces

struct Plate {
    Plate()
    {
        BQ_SESSION_start(nullptr);
        ResultType result = ResultTypeOk;
        tag = CreateInteraction(&result);
        interaction = TagManager::FindInteractionFromTag(tag);
        plate = brennik::build::PlateWithManyHoles(kHoles);
        std::set<int> faces;
        GetBodyFaces(plate, faces);
        faceCount = static_cast<int>(faces.size());
        for (int face : faces) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (GetGeometryClassOfTopology(face) == KernelClassPlane && normal.z > 0.5)
                top = face;
        }
        // Both sides search the same combinations and make no relations, so every round does
        // the same work.
        OptionSetFindCreateRelations(tag, false, &result);
        OptionSetFindRelationsData(tag, FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1,
                                   &result);
        OptionSetFindRelationsData(tag, FindRelationTypePerpendicular, FindGeometryTypePlane,
                                   FindGeometryTypeCylinderFull, 1, &result);
        OptionSetFindRelationsData(tag, FindRelationTypeConcentric, FindGeometryTypeCylinderFull,
                                   FindGeometryTypeCylinderFull, 2, &result);
    }
    ~Plate()
    {
        ResultType result = ResultTypeOk;
        DestroyInteraction(tag, &result);
        BQ_SESSION_stop();
    }

    int tag = 0;
    Interaction* interaction = nullptr;
    int plate = 0;
    int top = 0;
    int faceCount = 0;
};

void FindOverAThousandFaces(benchmark::State& state)
{
    Plate plate;
    RelationFinder* finder = RelationFinder::Of(plate.interaction);
    Array<Array<int>> from, to;
    Array<int> selected;
    selected.Add(plate.plate);
    selected.Add(plate.top);
    from.Add(selected);
    Array<int> whole;
    whole.Add(plate.plate);
    to.Add(whole);

    std::vector<double> exported, own;
    bool ok = plate.top && finder;
    for (auto _ : state) {
        ResultType result = ResultTypeOk;
        exported.push_back(WallMilliseconds([&] { FindGeometricRelations(plate.tag, from, to, &result); }));
        ok = ok && result == ResultTypeOk;
        RelationFinderInputData vary(plate.interaction), environment(plate.interaction);
        vary.AddBodyEntities(plate.plate, {plate.top});
        environment.AddBodyEntities(plate.plate, {});
        own.push_back(WallMilliseconds([&] { result = finder->FindGeometricRelations(&vary, &environment); }));
        ok = ok && result == ResultTypeOk;
    }
    const double exportedMedian = Median(exported), ownMedian = Median(own);
    state.counters["faces"] = plate.faceCount;
    state.counters["exported_ms"] = exportedMedian;
    state.counters["finder_ms"] = ownMedian;
    state.counters["ratio"] = ownMedian > 0.0 ? exportedMedian / ownMedian : 0.0;
    state.counters["ok"] = ok ? 1 : 0;
    std::printf("find over %d faces: exported call %.3f ms, finder %.3f ms, ratio %.3f%s\n", plate.faceCount,
                exportedMedian, ownMedian, ownMedian > 0.0 ? exportedMedian / ownMedian : 0.0,
                ok ? "" : " (a find failed)");
}
BENCHMARK(FindOverAThousandFaces)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
