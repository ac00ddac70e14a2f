// What the toolkit adds to a one-shot operation: deleting a blend face through the exported
// call (frame, partition marks, reference tracking and change records) against the add-on
// call made directly on the same kind of body. Each round deletes the blend of fresh bodies
// both ways; the medians of the rounds and their ratio are printed.
#include "BenchTiming.h"

#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"

#include <benchmark/benchmark.h>
#include <brennik.h>
#include <brennik_build.h>
#include <hxr.h>

#include <chrono>
#include <set>
#include <vector>

namespace {

// The blend faces of `count` new blended blocks.
std::vector<int> NewBlends(int count)
{
    std::vector<int> blends;
    for (int i = 0; i < count; ++i) {
        std::set<int> faces;
        QEL::GetBodyFaces(brennik::build::BlockWithBlend(2.0), faces);
        for (int face : faces)
            if (QEL::GetGeometryClassOfTopology(face) == QEL::KernelClassCylinder)
                blends.push_back(face);
    }
    return blends;
}

template <typename Delete>
double MillisecondsPerDelete(const std::vector<int>& blends, Delete remove)
{
    const auto start = std::chrono::steady_clock::now();
    for (int blend : blends)
        remove(blend);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / static_cast<double>(blends.size());
}

void DeleteBlendThroughTheExportedCall(benchmark::State& state)
{
    BQ_SESSION_start(nullptr);
    auto* interaction = new QEL::Interaction(QEL::CreateTypeLive);
    const int tag = interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    const int options = QEL::CreateDeleteFacesOptions(tag, &result);
    const HXR_FACE_delete_o_s block = {1};
    constexpr int kBodies = 5;
    for (auto _ : state) {
        std::vector<double> direct, exported;
        for (int round = 0; round < 5; ++round) {
            const std::vector<int> plain = NewBlends(kBodies);
            direct.push_back(MillisecondsPerDelete(plain, [&](int blend) {
                HXR_ENTITY_track_r_s tracking = {0, nullptr};
                HXR_FACE_delete(1, &blend, &block, &tracking);
                HXR_ENTITY_track_r_f(&tracking);
            }));
            const std::vector<int> framed = NewBlends(kBodies);
            exported.push_back(MillisecondsPerDelete(framed, [&](int blend) {
                QEL::Array<int> faces;
                faces.Add(blend);
                QEL::DeleteFaces(tag, faces, options, &result);
            }));
        }
        state.counters["direct_ms"] = Median(direct);
        state.counters["exported_ms"] = Median(exported);
        state.counters["ratio"] = Median(exported) / Median(direct);
    }
    interaction->Destroy();
    BQ_SESSION_stop();
}
BENCHMARK(DeleteBlendThroughTheExportedCall)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
