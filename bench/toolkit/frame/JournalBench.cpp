// What the streamed journal costs an exported call: the cost of one journalled call and the
// process's resident memory early in a long journal and at its end (both flat when every
// finished record leaves memory), and a journalled option setter and getter against the same
// calls with the journal off, for the calling thread and for the whole process. Each benchmark
// prints both sides and their ratio.
#include "BenchSession.h"
#include "BenchTiming.h"
#include "core/journal/JournalWriter.h"
#include "core/calls/QelInteractionApi.h"

#include <benchmark/benchmark.h>
#include <os.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string JournalPath() { return "/tmp/journal_bench_" + std::to_string(getpid()) + ".xml"; }

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

// One journal of range(0) setter records: the cost per call over the records after the first
// 1,000 and over the last 1,000, and the resident memory at both points.
void JournalCostAlongItsLength(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    const int records = static_cast<int>(state.range(0));
    QEL::ResultType result = QEL::ResultTypeOk;
    auto setter = [&](int i) { QEL::OptionSetAdaptiveLiftMode(tag, (i & 1) != 0, &result); };
    const std::string path = JournalPath();
    for (auto _ : state) {
        QEL::OpenJournal(path.c_str());
        MicrosecondsPerCall(1000, setter);
        const double early = MicrosecondsPerCall(1000, setter);
        const double earlyMegabytes = ResidentMegabytes();
        MicrosecondsPerCall(records - 3000, setter);
        const double late = MicrosecondsPerCall(1000, setter);
        const double lateMegabytes = ResidentMegabytes();
        QEL::CloseJournal();
        std::remove(path.c_str());
        state.counters["us_per_call_at_2k"] = early;
        state.counters["us_per_call_at_end"] = late;
        state.counters["cost_ratio"] = late / early;
        state.counters["rss_MB_at_2k"] = earlyMegabytes;
        state.counters["rss_MB_at_end"] = lateMegabytes;
        state.counters["bytes_per_record"] = (lateMegabytes - earlyMegabytes) * 1e6 / (records - 2000);
    }
}
BENCHMARK(JournalCostAlongItsLength)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

// Rounds of the same calls with the journal off and on; the medians of the rounds and their
// ratio. Opening and closing the journal are outside the timed calls.
template <typename Call>
void JournalOnAgainstOff(benchmark::State& state, Call call)
{
    const std::string path = JournalPath();
    const int calls = 2000;
    for (auto _ : state) {
        std::vector<double> off, on;
        long offFaults = 0, onFaults = 0;
        for (int round = 0; round < 9; ++round) {
            const long beforeOff = ThreadPageFaults();
            off.push_back(MicrosecondsPerCall(calls, call));
            offFaults += ThreadPageFaults() - beforeOff;
            QEL::OpenJournal(path.c_str());
            const long beforeOn = ThreadPageFaults();
            on.push_back(MicrosecondsPerCall(calls, call));
            onFaults += ThreadPageFaults() - beforeOn;
            QEL::CloseJournal();
        }
        // A page fault costs the calling thread tens of microseconds on some virtual machines:
        // the journal's pages are to be made ready before the calls reach them.
        state.counters["off_faults_per_round"] = static_cast<double>(offFaults) / 9;
        state.counters["on_faults_per_round"] = static_cast<double>(onFaults) / 9;
        std::remove(path.c_str());
        state.counters["off_us"] = Median(off);
        state.counters["on_us"] = Median(on);
        state.counters["ratio"] = Median(on) / Median(off);
    }
}

void JournalledOptionSetterAgainstOff(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    JournalOnAgainstOff(state, [&](int i) { QEL::OptionSetAdaptiveLiftMode(tag, (i & 1) != 0, &result); });
}
BENCHMARK(JournalledOptionSetterAgainstOff)->Iterations(1)->Unit(benchmark::kMillisecond);

void JournalledOptionGetterAgainstOff(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    JournalOnAgainstOff(state, [&](int) { benchmark::DoNotOptimize(QEL::OptionGetAdaptiveLiftMode(tag, &result)); });
}
BENCHMARK(JournalledOptionGetterAgainstOff)->Iterations(1)->Unit(benchmark::kMillisecond);

// What journalling range(0) records costs the whole process, its helper threads included:
// the processor time of opening the journal, range(0) calls and closing it, against the same
// calls with the journal off, per call; the medians of the rounds and their ratio.
template <typename Call>
void ProcessCostOnAgainstOff(benchmark::State& state, Call call)
{
    const std::string path = JournalPath();
    const int calls = static_cast<int>(state.range(0));
    const int rounds = calls >= 1000000 ? 3 : 9;
    for (auto _ : state) {
        std::vector<double> off, on;
        for (int round = 0; round < rounds; ++round) {
            double start = ProcessMicroseconds();
            for (int i = 0; i < calls; ++i)
                call(i);
            off.push_back((ProcessMicroseconds() - start) / calls);
            start = ProcessMicroseconds();
            QEL::OpenJournal(path.c_str());
            for (int i = 0; i < calls; ++i)
                call(i);
            QEL::CloseJournal();
            on.push_back((ProcessMicroseconds() - start) / calls);
            std::remove(path.c_str());
        }
        state.counters["off_process_us"] = Median(off);
        state.counters["on_process_us"] = Median(on);
        state.counters["ratio"] = Median(on) / Median(off);
    }
}

void JournalledSetterProcessCost(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    ProcessCostOnAgainstOff(state, [&](int i) { QEL::OptionSetAdaptiveLiftMode(tag, (i & 1) != 0, &result); });
}
BENCHMARK(JournalledSetterProcessCost)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

void JournalledGetterProcessCost(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    ProcessCostOnAgainstOff(state, [&](int) { benchmark::DoNotOptimize(QEL::OptionGetAdaptiveLiftMode(tag, &result)); });
}
BENCHMARK(JournalledGetterProcessCost)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

// The floor under the journal's cost: the processor time of the whole process for landing the
// bytes of range(0) setter records in the journal's file (opening it, appending each record as
// it stands, closing it), with nothing formatted, against the same setter calls with the journal
// off, per call; "floor_ratio" is what the journalled calls would cost against journal-off if
// writing a record cost nothing beyond putting its bytes in the file.
void JournalFileFloor(benchmark::State& state)
{
    BenchSession session;
    const int tag = session.interaction->GetTag();
    QEL::ResultType result = QEL::ResultTypeOk;
    const std::string path = JournalPath();
    const std::string record =
        "<Function index=\"1000\" name=\"OptionSetAdaptiveLiftMode\">\n"
        "  <Argument argType=\"input\" name=\"interaction\" type=\"InteractionTag\" tag=\"3\"/>\n"
        "  <Argument argType=\"input\" name=\"adaptiveLiftMode\" type=\"bool\" value=\"false\"/>\n"
        "  <Argument name=\"result\" type=\"ResultType\" value=\"ResultTypeOk\"/>\n"
        "</Function>\n\n";
    const int calls = static_cast<int>(state.range(0));
    const int rounds = calls >= 1000000 ? 3 : 9;
    for (auto _ : state) {
        std::vector<double> off, bytes;
        for (int round = 0; round < rounds; ++round) {
            double start = ProcessMicroseconds();
            for (int i = 0; i < calls; ++i)
                QEL::OptionSetAdaptiveLiftMode(tag, (i & 1) != 0, &result);
            off.push_back((ProcessMicroseconds() - start) / calls);
            start = ProcessMicroseconds();
            {
                os::AppendFile file;
                file.Open(path.c_str());
                for (int i = 0; i < calls; ++i)
                    file.Append(record.data(), record.size());
                file.Close();
            }
            bytes.push_back((ProcessMicroseconds() - start) / calls);
            std::remove(path.c_str());
        }
        state.counters["off_process_us"] = Median(off);
        state.counters["bytes_process_us"] = Median(bytes);
        state.counters["bytes_per_record"] = static_cast<double>(record.size());
        state.counters["floor_ratio"] = (Median(off) + Median(bytes)) / Median(off);
    }
}
BENCHMARK(JournalFileFloor)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
