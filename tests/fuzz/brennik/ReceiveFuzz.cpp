// Feeds arbitrary bytes to the kernel layer's receive, in both forms. The first byte chooses
// the form (bit 0: binary) and whether the rest is sealed with a valid header first (bit 1),
// so that fuzzing reaches both the container's check and everything behind it. Any input must
// end in bodies the layer accepts or in an error code that left the partition as it was;
// never in a crash, a hang, a sanitizer report or unbounded memory.
#include <brennik.h>
#include <brennik_test.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int BodiesInPartition() {
  int partition = 0;
  BQ_SESSION_ask_curr_partition(&partition);
  int n = 0;
  int* bodies = nullptr;
  BQ_PARTITION_ask_bodies(partition, &n, &bodies);
  BQ_MEMORY_free(bodies);
  return n;
}

// Every face, edge and vertex of a received body answers.
void Walk(int body) {
  for (auto ask : {BQ_BODY_ask_faces, BQ_BODY_ask_edges, BQ_BODY_ask_vertices}) {
    int n = 0;
    int* entities = nullptr;
    if (ask(body, &n, &entities) != 0) std::abort();
    for (int i = 0; i < n; ++i) {
      int identifier = 0;
      if (BQ_ENTITY_ask_identifier(entities[i], &identifier) != 0) std::abort();
    }
    BQ_MEMORY_free(entities);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool s_started = [] {
    brennik::test::RestartSession();
    return true;
  }();
  (void)s_started;
  if (size < 1) return 0;
  const bool binary = (data[0] & 1) != 0;
  const bool seal = (data[0] & 2) != 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string bytes = seal ? brennik::test::SealTransmitData(rest, binary) : rest;
  BQ_MEMORY_block_t block{bytes.size(), &bytes[0], nullptr};
  const BQ_PART_receive_o_t options{1, binary ? BQ_PART_format_binary : BQ_PART_format_text, true};
  int n = 0;
  int* parts = nullptr;
  if (BQ_PART_receive_b(&block, &options, &n, &parts) != 0) {
    if (n != 0 || parts != nullptr || BodiesInPartition() != 0) std::abort();
    return 0;
  }
  for (int i = 0; i < n; ++i) Walk(parts[i]);
  BQ_ENTITY_delete(n, parts);
  BQ_MEMORY_free(parts);
  return 0;
}
