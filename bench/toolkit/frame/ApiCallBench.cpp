// What the frame costs an exported call: an option getter made through the frame, without and
// with a journal open, against reading the option directly. Each benchmark prints both sides,
// the frame's own cost per call and the ratio.
#include "BenchSession.h"
#include "BenchTiming.h"
#include "core/journal/JournalWriter.h"
#include "core/calls/QelInteractionApi.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Rounds of direct reads and of reads through the frame in a row; the medians of the rounds.
void FrameAgainstDirectCall(benchmark::State& state, bool journalled)
{
    BenchSession session;
    QEL::Interaction* interaction = session.interaction;
    const int tag = interaction->GetTag();
    const std::string path = "/tmp/api_call_bench_" + std::to_string(getpid()) + ".xml";
    if (journalled)
        QEL::OpenJournal(path.c_str());
    QEL::ResultType result = QEL::ResultTypeOk;
    for (auto _ : state) {
        std::vector<double> direct, frame;
        for (int round = 0; round < 9; ++round) {
            direct.push_back(MicrosecondsPerCall(1000000, [&](int) {
                benchmark::DoNotOptimize(interaction->GetAdaptiveLiftMode());
                benchmark::ClobberMemory();
            }));
            frame.push_back(MicrosecondsPerCall(5000, [&](int) {
                benchmark::DoNotOptimize(QEL::OptionGetAdaptiveLiftMode(tag, &result));
            }));
        }
        state.counters["direct_us"] = Median(direct);
        state.counters["frame_us"] = Median(frame);
        state.counters["frame_cost_us"] = Median(frame) - Median(direct);
        state.counters["ratio"] = Median(frame) / Median(direct);
    }
    if (journalled) {
        QEL::CloseJournal();
        std::remove(path.c_str());
    }
}

void OptionReadThroughTheFrame(benchmark::State& state) { FrameAgainstDirectCall(state, false); }
BENCHMARK(OptionReadThroughTheFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

void JournalledOptionReadThroughTheFrame(benchmark::State& state) { FrameAgainstDirectCall(state, true); }
BENCHMARK(JournalledOptionReadThroughTheFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
