// What the frame costs an exported call: an option getter made through the frame, without and
// with a journal open, against reading the option directly.
#include "BenchSession.h"
#include "core/JournalWriter.h"
#include "core/QelInteractionApi.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

void DirectOptionRead(benchmark::State& state)
{
    BenchSession session;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.interaction->GetAdaptiveLiftMode());
}
BENCHMARK(DirectOptionRead);

void OptionReadThroughTheFrame(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    for (auto _ : state)
        benchmark::DoNotOptimize(QEL::OptionGetAdaptiveLiftMode(tag, &result));
}
BENCHMARK(OptionReadThroughTheFrame);

void JournalledOptionReadThroughTheFrame(benchmark::State& state)
{
    BenchSession session;
    const std::string path = "/tmp/api_call_bench_" + std::to_string(getpid()) + ".xml";
    QEL::OpenJournal(path.c_str());
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    for (auto _ : state)
        benchmark::DoNotOptimize(QEL::OptionGetAdaptiveLiftMode(tag, &result));
    QEL::CloseJournal();
    std::remove(path.c_str());
}
BENCHMARK(JournalledOptionReadThroughTheFrame);

}  // namespace

BENCHMARK_MAIN();
