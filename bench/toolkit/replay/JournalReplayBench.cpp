// Replaying a journal against making its calls directly, in one run: the session is the
// relations example's (an interaction over a block, references on three faces, parallel,
// perpendicular and distance relations, the distance driven to a new value, a checkpoint),
// the longest of the examples' journals that replay. Each round makes the session afresh on
// one side and replays its journal, rebuilding the block from it, on the other. The counters
// give the medians and their ratio; the goal is a replay at most 1.5 times the direct run.
#include "api/debug/QelDebugApi.h"
#include "api/debug/QelJournalReplayApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"

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

// The relations example's calls; false when one of them failed where it should not.
bool Session()
{
    ResultType result = ResultTypeOk;
    const int tag = CreateInteraction(&result);
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(block, &count, &faces);
    const int first = CreateReference(tag, faces[0], 0, &result);
    const int second = CreateReference(tag, faces[1], 0, &result);
    const int third = CreateReference(tag, faces[2], 0, &result);
    BQ_MEMORY_free(faces);
    bool ok = result == ResultTypeOk;
    auto make = [&](RelationType type, int a, int b) {
        int references[] = {a, b};
        const int relation = CreateRelation(tag, type, Array<int>(2, references), &result);
        RelationGetType(tag, relation, &result);
        RelationGetValue(tag, relation, &result);
        return relation;
    };
    make(RelationTypeParallel, first, second);
    make(RelationTypeParallel, first, third);
    make(RelationTypePerpendicular, first, third);
    make(RelationTypePerpendicular, first, second);
    const int distance = make(RelationTypeDistance, second, first);
    RelationSetValue(tag, distance, 35.0, &result);
    RelationGetValue(tag, distance, &result);
    make(RelationTypeParallel, first, first);
    ok = ok && GetRelationCount(tag, &result) > 0;
    DebugJournalCheckpoint(tag, "end", false, &result);
    DestroyInteraction(tag, &result);
    return ok;
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
    const std::string journal = folder + name;
    BQ_SESSION_stop();
    // Each side starts every round from a fresh kernel session, so that neither pays for what
    // the rounds before it left in the session.
    std::vector<double> direct, replayed;
    for (auto _ : state) {
        for (int round = 0; ok && round < 15; ++round) {
            BQ_SESSION_start(nullptr);
            double start = ThreadMilliseconds();
            ok = Session();
            direct.push_back(ThreadMilliseconds() - start);
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
    std::printf("journal replay: %.2f ms, direct run: %.2f ms, ratio %.2f (goal at most 1.5)\n", Median(replayed),
                Median(direct), ratio);
}

BENCHMARK(ReplayAgainstDirectRun)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
