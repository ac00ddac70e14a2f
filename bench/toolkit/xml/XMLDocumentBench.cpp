// Parsing and writing journal-sized documents beside a fast outside parser on the same text,
// and base64 with a reused codec buffer against a fresh codec per chunk (the ratio of the two
// shows what the reuse saves).
#include "core/xml/Base64Codec.h"
#include "core/xml/XMLTreeNode.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using QEL::XMLTreeNode;

std::vector<unsigned char> BodyBytes(size_t size)
{
  std::vector<unsigned char> bytes(size);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
  return bytes;
}

// A document shaped like a journal: one record per call with a few typed arguments and, when
// asked for, a body in base64 every tenth record, 720 bytes to a text piece as the serializer
// writes them.
XMLTreeNode BuildJournal(int records, bool withBodies)
{
  std::vector<unsigned char> body = BodyBytes(720 * 4);
  QEL::Base64Codec codec;
  XMLTreeNode root = XMLTreeNode::CreateTop("QELJournal", false);
  for (int i = 0; i < records; ++i) {
    XMLTreeNode function = root.AddChild("Function");
    function.AddAttribute("index", std::to_string(i).c_str());
    function.AddAttribute("name", "OptionSetExactDragging");
    for (int a = 0; a < 3; ++a) {
      XMLTreeNode argument = function.AddChild("Argument");
      argument.AddAttribute("name", "interaction");
      argument.AddAttribute("type", "InteractionTag");
      argument.AddAttribute("value", std::to_string(a * 17 + i).c_str());
    }
    if (withBodies && i % 10 == 0) {
      XMLTreeNode element = function.AddChild("Body");
      element.AddAttribute("id", std::to_string(i).c_str());
      element.AddAttribute("index", "0");
      for (size_t start = 0; start < body.size(); start += 720)
        element.AddText(codec.Encode(body.data() + start, 720, true));
    }
    function.AddChild("ReturnValue").AddText("true & done");
  }
  return root;
}

double ThreadSeconds()
{
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The processor time of the calling thread, so that a loaded machine taking the processor
// away from the benchmark does not count against either side.
template <typename Run>
double Seconds(Run run)
{
  const double start = ThreadSeconds();
  run();
  return ThreadSeconds() - start;
}

struct StringWriter : pugi::xml_writer {
  void write(const void* data, size_t size) override { m_text.append(static_cast<const char*>(data), size); }
  std::string m_text;
};

// Rounds of parsing (or writing) the same document with the toolkit's parser, then with the
// outside one; the medians of the rounds as MB/s and the ratio of the times. Each side runs
// its rounds in a row, so neither pays for the memory the other left the allocator in.
template <typename Ours, typename Theirs>
void RunAgainstComparison(benchmark::State& state, size_t bytes, Ours runOurs, Theirs runTheirs)
{
  const int rounds = 21;
  std::vector<double> ours, theirs;
  for (auto _ : state) {
    for (int round = 0; round < rounds; ++round) ours.push_back(Seconds(runOurs));
    for (int round = 0; round < rounds; ++round) theirs.push_back(Seconds(runTheirs));
  }
  std::sort(ours.begin(), ours.end());
  std::sort(theirs.begin(), theirs.end());
  const double oursMedian = ours[ours.size() / 2], theirsMedian = theirs[theirs.size() / 2];
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["ours_MBps"] = static_cast<double>(bytes) / 1e6 / oursMedian;
  state.counters["comparison_MBps"] = static_cast<double>(bytes) / 1e6 / theirsMedian;
  state.counters["time_ratio"] = oursMedian / theirsMedian;
}

// The benchmark documents: journal records alone, and with bodies; the last two of about 50 MB.
void Documents(benchmark::internal::Benchmark* benchmark)
{
  benchmark->Args({10000, 0})->Args({10000, 1})->Args({170000, 0})->Args({72000, 1});
  benchmark->ArgNames({"records", "bodies"});
  benchmark->Iterations(1)->Unit(benchmark::kMillisecond);
}

void ParseAgainstComparison(benchmark::State& state)
{
  const std::string text = BuildJournal(static_cast<int>(state.range(0)), state.range(1) != 0).ToText(false);
  RunAgainstComparison(
    state, text.size(),
    [&] {
      QEL::XMLParseResult result;
      XMLTreeNode tree = XMLTreeNode::ParseText(text.c_str(), "QELJournal", &result);
      if (result.m_error != QEL::XMLParseErrorNone) state.SkipWithError("the document does not parse");
    },
    [&] {
      pugi::xml_document document;
      if (!document.load_buffer(text.data(), text.size())) state.SkipWithError("the comparison does not parse");
    });
}
BENCHMARK(ParseAgainstComparison)->Apply(Documents);

void WriteAgainstComparison(benchmark::State& state)
{
  const XMLTreeNode tree = BuildJournal(static_cast<int>(state.range(0)), state.range(1) != 0);
  const std::string text = tree.ToText(false);
  pugi::xml_document document;
  document.load_buffer(text.data(), text.size());
  RunAgainstComparison(
    state, text.size(), [&] { benchmark::DoNotOptimize(tree.ToText(false)); },
    [&] {
      StringWriter writer;
      writer.m_text.reserve(text.size());  // as our writer measures first, it gets one buffer
      document.save(writer, "", pugi::format_raw | pugi::format_no_declaration);
      benchmark::DoNotOptimize(writer.m_text);
    });
}
BENCHMARK(WriteAgainstComparison)->Apply(Documents);

// A body is encoded 720 bytes at a time, as the serializer does.
void BM_Base64ChunksReusedCodec(benchmark::State& state)
{
  std::vector<unsigned char> bytes = BodyBytes(720 * 200);
  QEL::Base64Codec codec;
  for (auto _ : state)
    for (size_t offset = 0; offset < bytes.size(); offset += 720)
      benchmark::DoNotOptimize(codec.Encode(bytes.data() + offset, 720, true));
}
BENCHMARK(BM_Base64ChunksReusedCodec);

void BM_Base64ChunksFreshCodec(benchmark::State& state)
{
  std::vector<unsigned char> bytes = BodyBytes(720 * 200);
  for (auto _ : state)
    for (size_t offset = 0; offset < bytes.size(); offset += 720) {
      QEL::Base64Codec codec;
      benchmark::DoNotOptimize(codec.Encode(bytes.data() + offset, 720, true));
    }
}
BENCHMARK(BM_Base64ChunksFreshCodec);

}  // namespace

// The heap keeps the memory a side gives back and hands out large blocks from itself, so that
// neither side's rounds pay for pages the other side's pattern of allocation made the heap
// return to the system (which otherwise swings the comparison's own speed several times over).
int main(int argc, char** argv)
{
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
