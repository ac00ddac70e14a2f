// Loading a journal whose records each carry the same body: N records at 125 and at 2,000,
// each load timed in a session already holding the bodies of the loads before it. The counters
// give the medians and the fitted exponent log(t2000 / t125) / log 16.
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"

#include <brennik.h>
#include <brennik_build.h>

#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

// A journal of n records, each with one argument carrying the body.
bool WriteJournal(int body, int n, const std::string& path)
{
  QEL::XMLIO journal("QELJournal", false);
  for (int i = 0; i < n; ++i) {
    int carried = body;
    if (!journal.BeginElement("Function") || !journal.BeginElement("Argument") || !journal.DoIOBody(carried, false))
      return false;
    journal.EndElement(true);
    journal.EndElement(true);
  }
  return journal.Save(path.c_str());
}

// The median time of loading the journal of n records; false when a load failed.
bool MedianLoad(int n, int rounds, double& median)
{
  BQ_SESSION_start(nullptr);
  QEL::Interaction::SetAllowMultipleInteractions(true);
  const std::string path = "/tmp/qel_journal_bodies_bench_" + std::to_string(::getpid()) + ".xml";
  bool ok = WriteJournal(brennik::build::BlockWithBlend(), n, path);
  std::vector<double> times;
  std::vector<QEL::Interaction*> loaded;
  for (int round = 0; ok && round < rounds; ++round) {
    const double start = ThreadSeconds();
    QEL::Interaction* interaction = QEL::Interaction::CreateFromFile(path.c_str());
    times.push_back(ThreadSeconds() - start);
    ok = interaction != nullptr;
    loaded.push_back(interaction);
  }
  for (QEL::Interaction* interaction : loaded)
    if (interaction) interaction->Destroy();
  std::remove(path.c_str());
  BQ_SESSION_stop();
  median = ok ? Median(times) : 0.0;
  return ok;
}

void JournalBodiesExponent(benchmark::State& state)
{
  double small = 0, large = 0;
  bool ok = true;
  for (auto _ : state) ok = MedianLoad(125, 5, small) && MedianLoad(2000, 3, large);
  if (!ok) state.SkipWithError("a journal load failed");
  state.counters["load_ms_125"] = small * 1e3;
  state.counters["load_ms_2000"] = large * 1e3;
  state.counters["exponent"] = std::log(large / small) / std::log(16.0);
}

BENCHMARK(JournalBodiesExponent)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
