// find_relationships over the faces of a plate with a grid of holes (1,000 faces at the
// largest size), every face against the whole plate, every relationship offered but
// similar (equal holes are all similar: a quadratic answer whatever the method), and a
// mirror plane across the plate. Against it: the same faces read the same way (one reader,
// asking each face only what the offer needs), every pair tested. The ratio counter of the
// naive run is its time over the binned find's.
#include "RelationshipFinder.h"
#include "brennik.h"
#include "brennik_build.h"
#include "brennik_test.h"
#include "ysk.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

struct Plate {
    std::vector<YSK_pointer_s> faces;
    YSK_pointer_s body, mirror;
    explicit Plate(int faceCount)
    {
        brennik::test::RestartSession();
        body.entity = brennik::build::PlateWithManyHoles(faceCount - 6);
        int n = 0;
        int* array = nullptr;
        BQ_BODY_ask_faces(body.entity, &n, &array);
        for (int i = 0; i < n; ++i) {
            YSK_pointer_s p;
            p.entity = array[i];
            faces.push_back(p);
        }
        BQ_MEMORY_free(array);
        mirror.entity = brennik::build::FreePlane(40, 0, 0, 1, 0, 0);
    }
};

bool Offered(int relation) { return relation != YSK_OPTION_SIMILAR; }

void Found(YSK_dnode_data_s*) {}

double FindOnce(YSK_autoconstrain_manager& manager, const Plate& plate, int& reported)
{
    YSK_fr_option_s options;
    options.symmetry_planes = &plate.mirror;
    options.symmetry_plane_count = 1;
    int counts[3] = {0, 0, 0};
    const auto start = std::chrono::steady_clock::now();
    manager.find_relationships(1e-8, 1e-11, &options, plate.faces.data(), static_cast<int>(plate.faces.size()),
                               &plate.body, 1, nullptr, 0, &counts[0], &counts[1], &counts[2]);
    reported = counts[2];
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double NaiveOnce(const Plate& plate, int& reported)
{
    using namespace tessik;
    static bool offered[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT];
    for (int r = 0; r < YSK_OPTION_RELATION_COUNT; ++r)
        for (int f = 0; f < YSK_OPTION_GEOM_COUNT; ++f)
            for (int t = 0; t < YSK_OPTION_GEOM_COUNT; ++t)
                offered[r][f][t] = Offered(r);
    const auto start = std::chrono::steady_clock::now();
    InstancePlacement place = [](const YSK_pointer_s&) { return Rigid(); };
    FindSettings settings;
    settings.offered = offered;
    std::vector<FindItem> from, to;
    ItemReader reader(settings, place);
    reader.Read(&plate.mirror, 1, settings.symmetryPlanes);
    reader.Read(plate.faces.data(), static_cast<int>(plate.faces.size()), from);
    reader.Read(&plate.body, 1, to);
    FindCounts counts;
    FindRelationships(settings, from, to, {}, PairChoice::AllPairs, [](const FoundRelationship&) {}, counts);
    reported = counts.reported;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Binned(benchmark::State& state)
{
    Plate plate(static_cast<int>(state.range(0)));
    YSK_autoconstrain_manager manager(nullptr, nullptr, nullptr, 1);
    YSK_frustum_functions table;
    manager.enquire_frustum_functions(&table);
    table.entries[YSK_FR_RELATIONSHIP_FOUND] = YSK_frustum_entry(&Found);
    manager.register_frustum_functions(&table);
    for (int r = 0; r < YSK_OPTION_RELATION_COUNT; ++r)
        for (int f = 0; f < YSK_OPTION_GEOM_COUNT; ++f)
            for (int t = 0; t < YSK_OPTION_GEOM_COUNT; ++t)
                manager.set_fr_option(static_cast<YSK_option_relation_type>(r), static_cast<YSK_option_geom_type>(f),
                                      static_cast<YSK_option_geom_type>(t), Offered(r));
    int reported = 0;
    for (auto _ : state)
        state.SetIterationTime(FindOnce(manager, plate, reported));
    int naiveReported = 0;
    const double naive = NaiveOnce(plate, naiveReported);
    const double binned = FindOnce(manager, plate, reported);
    state.counters["faces"] = static_cast<double>(plate.faces.size());
    state.counters["relationships"] = reported;
    state.counters["same_as_naive"] = reported == naiveReported;
    state.counters["speedup"] = naive / binned;
}

void Naive(benchmark::State& state)
{
    Plate plate(static_cast<int>(state.range(0)));
    int reported = 0;
    for (auto _ : state)
        state.SetIterationTime(NaiveOnce(plate, reported));
    state.counters["faces"] = static_cast<double>(plate.faces.size());
    state.counters["relationships"] = reported;
}

}  // namespace

BENCHMARK(Binned)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Naive)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
