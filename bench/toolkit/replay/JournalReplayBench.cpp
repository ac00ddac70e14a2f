// Replaying a journal against making its calls directly, in one run, for two of the examples'
// sessions: the interaction example's (an interaction with its options, instances of a block, a
// mark and a roll back to it, references on a blended block, the blend face cut away, the
// change records and references read back, a roll back before the cut, an update, a checkpoint),
// the longest by records of the examples' journals, and the relation-finding example's (a plate
// with holes, the finding options and an accept callback, a find from the plate's top face,
// every relation found read back, a checkpoint). Each round makes the session afresh on one side
// and replays its journal, rebuilding the bodies from it, on the other. The counters give the
// medians and their ratio; the goal is a replay at most 1.5 times the direct run.
//
// The direct run builds its bodies by modelling (the application's own work, outside the
// exported calls), which the replay reads back from the journal instead; that modelling is
// timed within each direct run too, so that the replay can also be set against the direct
// run's calls alone.
#include "api/debug/QelDebugApi.h"
#include "api/debug/QelJournalReplayApi.h"
#include "core/calls/QelSystemApi.h"
#include "interaction/InteractionSession.h"
#include "relation-finding/RelationFindingSession.h"

#include <brennik.h>
#include <brennik_build.h>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

using namespace QEL;

// The processor time spent modelling bodies since it was last set to 0.
double s_modellingMilliseconds = 0.0;

template <int (*Make)()>
int Timed()
{
    const double start = ThreadMilliseconds();
    const int body = Make();
    s_modellingMilliseconds += ThreadMilliseconds() - start;
    return body;
}

// The interaction example's calls, its checkpoint among them; its report goes nowhere.
bool InteractionSession()
{
    ResultType result = ResultTypeOk;
    IsJournalling(&result);
    std::ostream nowhere(nullptr);
    return InteractionMarks::MarksAndCut(nowhere, &Timed<&InteractionMarks::Block>,
                                         &Timed<&InteractionMarks::BlendedBlock>);
}

// The relation-finding example's calls and its closing checkpoint; false when the run found
// nothing.
bool RelationFindingSession()
{
    const RelationFinding::Run run =
        RelationFinding::FindPlateRelations(&Timed<&brennik::build::PlateWithHoles>);
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

int CountRecords(const std::string& journal)
{
    std::ifstream in(journal, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int records = 0;
    for (size_t at = text.find("<Function"); at != std::string::npos;
         at = text.find("<Function", at + 1))
        ++records;
    return records;
}

void ReplayAgainstDirectRun(benchmark::State& state, bool (*session)(), const char* name)
{
    BQ_SESSION_start(nullptr);
    const std::string folder = "/tmp/";
    const std::string file = "qel_journal_replay_bench_" + std::to_string(::getpid()) + ".xml";
    ResultType result = ResultTypeOk;
    StartJournalling(folder.c_str(), file.c_str(), false, false, &result);
    bool ok = session();
    StopJournalling(&result);
    Reset(&result);
    const std::string journal = folder + file;
    BQ_SESSION_stop();
    const int records = CountRecords(journal);
    // Each side starts every round from a fresh kernel session, so that neither pays for what
    // the rounds before it left in the session.
    std::vector<double> direct, replayed, calls;
    for (auto _ : state) {
        for (int round = 0; ok && round < 15; ++round) {
            BQ_SESSION_start(nullptr);
            s_modellingMilliseconds = 0.0;
            double start = ThreadMilliseconds();
            ok = session();
            direct.push_back(ThreadMilliseconds() - start);
            calls.push_back(direct.back() - s_modellingMilliseconds);
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
    state.counters["records"] = records;
    state.counters["direct_ms"] = Median(direct);
    state.counters["replay_ms"] = Median(replayed);
    state.counters["replay_over_direct"] = ratio;
    state.counters["calls_ms"] = Median(calls);
    state.counters["replay_over_calls"] = Median(replayed) / Median(calls);
    std::printf(
        "%s journal (%d records): replay %.2f ms, direct run %.2f ms, ratio %.2f (goal at most "
        "1.5)\n",
        name, records, Median(replayed), Median(direct), ratio);
    std::printf(
        "%s: the direct run without the modelling of its bodies %.2f ms, the replay %.2f times "
        "that\n",
        name, Median(calls), Median(replayed) / Median(calls));
}

BENCHMARK_CAPTURE(ReplayAgainstDirectRun, interaction, &InteractionSession, "interaction")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReplayAgainstDirectRun, relation_finding, &RelationFindingSession,
                  "relation-finding")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
