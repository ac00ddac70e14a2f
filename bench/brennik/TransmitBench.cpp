// What transmitting and receiving a body costs against OCCT's own binary write and read of
// its shape: a plate with 100 holes (106 faces) sent to memory in the binary form and received
// back with every check of a received body, in rounds alternating with the plain round trip.
// Prints both sides' medians and their ratio.
#include "brennik.h"
#include "brennik_build.h"
#include "brennik_test.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>
#include "BenchTiming.h"

namespace {

// The processor time of the measuring thread, so that a loaded machine taking the processor
// away counts against neither side.
template <class Step>
double Milliseconds(Step step) {
  const double start = ThreadMilliseconds();
  step();
  return ThreadMilliseconds() - start;
}

void TransmitAndReceiveAgainstPlainShapeRoundTrip(benchmark::State& state) {
  brennik::test::RestartSession();
  const int body = brennik::build::PlateWithManyHoles(100);
  int nFaces = 0;
  int* faces = nullptr;
  BQ_BODY_ask_faces(body, &nFaces, &faces);
  BQ_MEMORY_free(faces);
  const BQ_PART_transmit_o_t transmitOptions{1, BQ_PART_format_binary, true};
  const BQ_PART_receive_o_t receiveOptions{1, BQ_PART_format_binary, true};
  for (auto _ : state) {
    std::vector<double> kernel, plain;
    for (int round = 0; round < 15; ++round) {
      bool ok = true;
      kernel.push_back(Milliseconds([&] {
        BQ_MEMORY_block_t* block = nullptr;
        ok = BQ_PART_transmit_b(1, &body, &transmitOptions, &block) == 0;
        int n = 0;
        int* parts = nullptr;
        ok = ok && BQ_PART_receive_b(block, &receiveOptions, &n, &parts) == 0 && n == 1;
        if (ok) BQ_ENTITY_delete(n, parts);
        BQ_MEMORY_free(parts);
        BQ_MEMORY_block_f(block);
      }));
      plain.push_back(Milliseconds([&] { ok = ok && brennik::test::PlainShapeRoundTrip(body) > 0; }));
      if (!ok) {
        state.SkipWithError("transmit or receive failed");
        return;
      }
    }
    state.counters["faces"] = nFaces;
    state.counters["kernel_ms"] = Median(kernel);
    state.counters["plain_ms"] = Median(plain);
    state.counters["ratio"] = Median(kernel) / Median(plain);
  }
}

BENCHMARK(TransmitAndReceiveAgainstPlainShapeRoundTrip)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
