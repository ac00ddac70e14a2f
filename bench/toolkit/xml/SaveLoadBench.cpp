// Saving and loading an interaction of N instances, each placing a block of its own with a
// reference on one of its faces, beside the project's own XML write and read of the very same
// document. Per size the counters give the medians of save, load, tree write and tree read,
// the ratios of save to write and load to read, and the peak resident growth of a load against
// that of parsing the tree alone; the exponent run fits how save and load grow from the
// smallest to the largest size. Beside them, the kernel's own transmit and receive of the same
// bodies, one at a time as a save and a load do it, measured alone: the floor of save and load
// as long as every body goes through the kernel's codec.
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/xml/XMLParseResult.h"
#include "core/xml/XMLTreeNode.h"
#include "model/references/Reference.h"

#include <brennik.h>
#include <brennik_build.h>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>
#include "BenchTiming.h"

namespace {

template <typename Run>
double Seconds(Run run)
{
  const double start = ThreadSeconds();
  run();
  return ThreadSeconds() - start;
}

// Resident kilobytes now ("VmRSS") or at the peak since the last reset ("VmHWM").
long StatusKilobytes(const char* key)
{
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size() + 1);
  return 0;
}

// The peak resident growth of a run in kilobytes: freed memory goes back to the system first
// and the peak mark is reset, so each run is measured from where it starts.
template <typename Run>
long PeakGrowthKilobytes(Run run)
{
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKilobytes("VmRSS:");
  run();
  return StatusKilobytes("VmHWM:") - before;
}

// A session holding an interaction of n placed blocks, each with a reference on a face.
struct PlacedBlocks {
  explicit PlacedBlocks(int n)
  {
    BQ_SESSION_start(nullptr);
    // Each load makes a second interaction beside the saved one.
    QEL::Interaction::SetAllowMultipleInteractions(true);
    interaction = new QEL::Interaction(QEL::CreateTypeLive);
    for (int i = 0; i < n; ++i) {
      const int block = brennik::build::Block(10, 20, 30);
      double matrix[4][4] = {{1, 0, 0, 20.0 * i}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
      QEL::Instance* instance = QEL::Instance::Create(interaction, block, matrix);
      std::set<int> faces;
      QEL::GetBodyFaces(block, faces);
      QEL::Reference::Create(interaction, *faces.begin(), instance);
    }
  }
  ~PlacedBlocks()
  {
    interaction->Destroy();
    BQ_SESSION_stop();
  }
  QEL::Interaction* interaction;
};

std::string FileFor(int n)
{
  return "/tmp/qel_save_load_bench_" + std::to_string(::getpid()) + "_" + std::to_string(n) + ".xml";
}

struct Figures {
  double save = 0, load = 0, write = 0, read = 0, transmit = 0, receive = 0;
  long loadPeak = 0, readPeak = 0;
  bool ok = true;
};

// Rounds of saving and loading the interaction (the session still holding the saved bodies),
// then rounds of the tree's read and write of the saved file.
Figures Measure(int n, int rounds)
{
  PlacedBlocks model(n);
  const std::string path = FileFor(n);
  std::vector<double> save, load, write, read;
  Figures figures;
  for (int round = 0; round < rounds; ++round) {
    save.push_back(Seconds([&] { figures.ok = model.interaction->SaveToFile(path.c_str()) && figures.ok; }));
    QEL::Interaction* loaded = nullptr;
    load.push_back(Seconds([&] { loaded = QEL::Interaction::CreateFromFile(path.c_str()); }));
    figures.ok = figures.ok && loaded;
    if (loaded) loaded->Destroy();
  }
  // The kernel alone: each body transmitted to memory, and each received back and deleted.
  std::vector<int> bodies;
  model.interaction->GetSeenBodies(bodies, false);
  std::vector<std::string> data(bodies.size());
  std::vector<double> transmit, receive;
  const BQ_PART_transmit_o_t sendOptions{3, BQ_PART_format_binary, true, 0, nullptr};
  const BQ_PART_receive_o_t receiveOptions{1, BQ_PART_format_binary, true};
  for (int round = 0; round < rounds; ++round) {
    transmit.push_back(Seconds([&] {
      for (size_t i = 0; i < bodies.size(); ++i) {
        BQ_MEMORY_block_t* blocks = nullptr;
        figures.ok = BQ_PART_transmit_b(1, &bodies[i], &sendOptions, &blocks) == BQ_ERROR_no_errors && figures.ok;
        data[i].clear();
        for (const BQ_MEMORY_block_t* block = blocks; block; block = block->next) data[i].append(block->bytes, block->n_bytes);
        BQ_MEMORY_block_f(blocks);
      }
    }));
    std::vector<int> received;
    receive.push_back(Seconds([&] {
      for (const std::string& bytes : data) {
        BQ_MEMORY_block_t block{bytes.size(), const_cast<char*>(bytes.data()), nullptr};
        int count = 0;
        int* parts = nullptr;
        figures.ok = BQ_PART_receive_b(&block, &receiveOptions, &count, &parts) == BQ_ERROR_no_errors && figures.ok;
        received.insert(received.end(), parts, parts + count);
        BQ_MEMORY_free(parts);
      }
    }));
    BQ_ENTITY_delete(static_cast<int>(received.size()), received.data());
  }
  const std::string copy = path + ".tree";
  for (int round = 0; round < rounds; ++round) {
    QEL::XMLParseResult result;
    QEL::XMLTreeNode tree;
    read.push_back(Seconds([&] { tree = QEL::XMLTreeNode::ParseFile(path.c_str(), nullptr, &result); }));
    figures.ok = figures.ok && result.m_error == QEL::XMLParseErrorNone;
    write.push_back(Seconds([&] { figures.ok = tree.WriteFile(copy.c_str(), nullptr, false) == 0 && figures.ok; }));
  }
  figures.readPeak = PeakGrowthKilobytes([&] {
    QEL::XMLParseResult result;
    QEL::XMLTreeNode tree = QEL::XMLTreeNode::ParseFile(path.c_str(), nullptr, &result);
    benchmark::DoNotOptimize(tree);
  });
  figures.loadPeak = PeakGrowthKilobytes([&] {
    QEL::Interaction* loaded = QEL::Interaction::CreateFromFile(path.c_str());
    if (loaded) loaded->Destroy();
  });
  std::remove(path.c_str());
  std::remove(copy.c_str());
  figures.save = Median(save);
  figures.load = Median(load);
  figures.write = Median(write);
  figures.read = Median(read);
  figures.transmit = Median(transmit);
  figures.receive = Median(receive);
  return figures;
}

void SaveLoadAgainstTree(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  Figures f;
  for (auto _ : state) f = Measure(n, 5);
  if (!f.ok) state.SkipWithError("a save, load or tree read failed");
  state.counters["save_ms"] = f.save * 1e3;
  state.counters["load_ms"] = f.load * 1e3;
  state.counters["write_ms"] = f.write * 1e3;
  state.counters["read_ms"] = f.read * 1e3;
  state.counters["save_per_write"] = f.save / f.write;
  state.counters["load_per_read"] = f.load / f.read;
  state.counters["transmit_ms"] = f.transmit * 1e3;
  state.counters["receive_ms"] = f.receive * 1e3;
  state.counters["transmit_per_write"] = f.transmit / f.write;
  state.counters["receive_per_read"] = f.receive / f.read;
  state.counters["load_peak_per_tree"] = static_cast<double>(f.loadPeak) / static_cast<double>(std::max(1L, f.readPeak));
}

BENCHMARK(SaveLoadAgainstTree)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The growth exponents of save and load from 100 to 1,000 bodies: log(t1000 / t100) / log 10.
void SaveLoadExponent(benchmark::State& state)
{
  Figures small, large;
  for (auto _ : state) {
    small = Measure(100, 5);
    large = Measure(1000, 5);
  }
  if (!small.ok || !large.ok) state.SkipWithError("a save or load failed");
  state.counters["save_exponent"] = std::log(large.save / small.save) / std::log(10.0);
  state.counters["load_exponent"] = std::log(large.load / small.load) / std::log(10.0);
}

BENCHMARK(SaveLoadExponent)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
