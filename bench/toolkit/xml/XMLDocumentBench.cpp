// Parsing and writing journal-sized documents, and base64 with a reused codec buffer
// against a fresh codec per chunk (the ratio of the two shows what the reuse saves).
#include "core/Base64Codec.h"
#include "core/XMLTreeNode.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using QEL::XMLTreeNode;

// A document shaped like a journal: one record per call with a few typed arguments.
XMLTreeNode BuildJournal(int records)
{
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
    function.AddChild("ReturnValue").AddText("true & done");
  }
  return root;
}

void BM_ParseJournal(benchmark::State& state)
{
  std::string text = BuildJournal(static_cast<int>(state.range(0))).ToText(false);
  for (auto _ : state) {
    QEL::XMLParseResult result;
    benchmark::DoNotOptimize(XMLTreeNode::ParseText(text.c_str(), "QELJournal", &result));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseJournal)->Arg(100)->Arg(10000);

void BM_WriteJournal(benchmark::State& state)
{
  XMLTreeNode journal = BuildJournal(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(journal.ToText(false));
}
BENCHMARK(BM_WriteJournal)->Arg(100)->Arg(10000);

std::vector<unsigned char> BodyBytes()
{
  std::vector<unsigned char> bytes(720 * 200);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 31);
  return bytes;
}

// A body is encoded 720 bytes at a time, as the serializer does.
void BM_Base64ChunksReusedCodec(benchmark::State& state)
{
  std::vector<unsigned char> bytes = BodyBytes();
  QEL::Base64Codec codec;
  for (auto _ : state)
    for (size_t offset = 0; offset < bytes.size(); offset += 720)
      benchmark::DoNotOptimize(codec.Encode(bytes.data() + offset, 720, true));
}
BENCHMARK(BM_Base64ChunksReusedCodec);

void BM_Base64ChunksFreshCodec(benchmark::State& state)
{
  std::vector<unsigned char> bytes = BodyBytes();
  for (auto _ : state)
    for (size_t offset = 0; offset < bytes.size(); offset += 720) {
      QEL::Base64Codec codec;
      benchmark::DoNotOptimize(codec.Encode(bytes.data() + offset, 720, true));
    }
}
BENCHMARK(BM_Base64ChunksFreshCodec);

}  // namespace

BENCHMARK_MAIN();
