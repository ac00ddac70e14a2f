// Replaying a journal against making its calls directly, in one run: the session is the
// relation-finding example's (an interaction over a plate with holes, the finding options and
// an accept callback, a find from the plate's top face, every relation found read back, a
// checkpoint), the longest by records of the examples' journals that replay. Each round makes
// the session afresh on one side and replays its journal, rebuilding the plate from it, on the
// other. The counters give the medians and their ratio; the goal is a replay at most 1.5 times
// the direct run.
//
// The direct run builds its plate by modelling (the application's own work, outside the
// exported calls), which the replay reads back from the journal instead; that modelling is
// timed within each direct run too, so that the replay can also be set against the direct
// run's calls alone.
#include "api/debug/QelDebugApi.h"
#include "api/debug/QelJournalReplayApi.h"
#include "core/calls/QelSystemApi.h"
#include "relation-finding/RelationFindingSession.h"

#include <brennik.h>
#include <brennik_build.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

using namespace QEL;

// The processor time spent modelling plates since it was last set to 0.
double s_plateMilliseconds = 0.0;

int TimedPlate()
{
    const double start = ThreadMilliseconds();
    const int plate = brennik::build::PlateWithHoles();
    s_plateMilliseconds += ThreadMilliseconds() - start;
    return plate;
}

// The example's calls and its closing checkpoint; false when the run found nothing.
bool Session()
{
    const RelationFinding::Run run = RelationFinding::FindPlateRelations(&TimedPlate);
    ResultType result = ResultTypeOk;
    DebugJournalCheckpoint(run.interaction, "end", false, &result);
    return run.interaction && run.findResult == ResultTypeOk && !run.found.empty();
}

// Replays the journal to its end; false when a record neither succeeded nor was ignored. What
// the replay made stays, as what the direct run makes does.
bool Replay(const std::string& journal)
{
    ResultType result = ResultTypeOk;
    DebugJournalReplayStart(journal.c_str(), nullptr, &result);
    bool ok = result == ResultTypeOk;
    for (ReplayStatus status = ReplaySuccess; ok && status != ReplayEndOfJournal;) {
        status = DebugJournalReplayStep(nullptr, nullptr, nullptr, nullptr, &result);
        ok = status == ReplaySuccess || status == ReplayIgnored || status == ReplayEndOfJournal;
    }
    DebugJournalReplayEnd(&result);
    return ok;
}

void ReplayAgainstDirectRun(benchmark::State& state)
{
    BQ_SESSION_start(nullptr);
    const std::string folder = "/tmp/";
    const std::string name = "qel_journal_replay_bench_" + std::to_string(::getpid()) + ".xml";
    ResultType result = ResultTypeOk;
    StartJournalling(folder.c_str(), name.c_str(), false, false, &result);
    bool ok = Session();
    StopJournalling(&result);
    Reset(&result);
    const std::string journal = folder + name;
    BQ_SESSION_stop();
    // Each side starts every round from a fresh kernel session, so that neither pays for what
    // the rounds before it left in the session.
    std::vector<double> direct, replayed, calls;
    for (auto _ : state) {
        for (int round = 0; ok && round < 15; ++round) {
            BQ_SESSION_start(nullptr);
            s_plateMilliseconds = 0.0;
            double start = ThreadMilliseconds();
            ok = Session();
            direct.push_back(ThreadMilliseconds() - start);
            calls.push_back(direct.back() - s_plateMilliseconds);
            Reset(&result);
            BQ_SESSION_stop();
            BQ_SESSION_start(nullptr);
            start = ThreadMilliseconds();
            ok = ok && Replay(journal);
            replayed.push_back(ThreadMilliseconds() - start);
            Reset(&result);
            BQ_SESSION_stop();
        }
    }
    std::remove(journal.c_str());
    if (!ok) {
        state.SkipWithError("a session or its replay failed");
        return;
    }
    const double ratio = Median(replayed) / Median(direct);
    state.counters["direct_ms"] = Median(direct);
    state.counters["replay_ms"] = Median(replayed);
    state.counters["replay_over_direct"] = ratio;
    state.counters["calls_ms"] = Median(calls);
    state.counters["replay_over_calls"] = Median(replayed) / Median(calls);
    std::printf("journal replay: %.2f ms, direct run: %.2f ms, ratio %.2f (goal at most 1.5)\n", Median(replayed),
                Median(direct), ratio);
    std::printf("the direct run without the plate's modelling: %.2f ms, the replay %.2f times that\n", Median(calls),
                Median(replayed) / Median(calls));
}

BENCHMARK(ReplayAgainstDirectRun)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
