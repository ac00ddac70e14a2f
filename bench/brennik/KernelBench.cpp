// Kernel layer costs on a plate with 100 holes: making and visiting partition marks (with and
// without change lists), and the topology queries the toolkit makes per face.
#include "brennik.h"
#include "brennik_build.h"
#include "brennik_test.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Plate {
  int partition = 0;
  int body = 0;
  std::vector<int> faces;
  Plate() {
    brennik::test::RestartSession();
    BQ_SESSION_ask_curr_partition(&partition);
    body = brennik::build::PlateWithManyHoles(100);
    int n = 0;
    int* array = nullptr;
    BQ_BODY_ask_faces(body, &n, &array);
    faces.assign(array, array + n);
    BQ_MEMORY_free(array);
  }
};

void MarkAndGoto(benchmark::State& state) {
  Plate plate;
  int first = 0;
  BQ_PARTITION_make_pmark(plate.partition, &first);
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 1}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  int transf = 0;
  BQ_TRANSF_create(&shift, &transf);
  BQ_BODY_transform_2(plate.body, transf, 1e-8, nullptr, nullptr, nullptr);
  int second = 0;
  BQ_PARTITION_make_pmark(plate.partition, &second);
  BQ_PMARK_goto_o_t options{3, false, false, false, false};
  for (auto _ : state) {
    BQ_PMARK_goto_2(first, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    BQ_PMARK_goto_2(second, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  state.counters["faces"] = static_cast<double>(plate.faces.size());
}
BENCHMARK(MarkAndGoto);

void MakeAndDeleteMark(benchmark::State& state) {
  Plate plate;
  for (auto _ : state) {
    int mark = 0;
    BQ_PARTITION_make_pmark(plate.partition, &mark);
    int n = 0;
    int* failed = nullptr;
    BQ_PMARK_delete(1, &mark, &n, &failed);
  }
}
BENCHMARK(MakeAndDeleteMark);

// The change lists after a move of every entity: the geometric comparison of the whole body.
void MarkWithChangesAfterMove(benchmark::State& state) {
  Plate plate;
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 1}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  int transf = 0;
  BQ_TRANSF_create(&shift, &transf);
  BQ_PARTITION_make_pmark_o_t options{1, true, true, true};
  for (auto _ : state) {
    state.PauseTiming();
    int base = 0;
    BQ_PARTITION_make_pmark(plate.partition, &base);
    BQ_BODY_transform_2(plate.body, transf, 1e-8, nullptr, nullptr, nullptr);
    state.ResumeTiming();
    int mark = 0, nn = 0, nm = 0, nd = 0;
    int *created = nullptr, *modified = nullptr, *deleted = nullptr;
    BQ_PARTITION_make_pmark_2(plate.partition, &options, &mark, &nn, &created, &nm, &modified, &nd, &deleted);
    BQ_MEMORY_free(created);
    BQ_MEMORY_free(modified);
    BQ_MEMORY_free(deleted);
    benchmark::DoNotOptimize(nm);
  }
}
BENCHMARK(MarkWithChangesAfterMove)->Unit(benchmark::kMillisecond);

// Per face: its edges, each edge's faces, its surface with sense, its uv box.
void TopologyQueriesPerFace(benchmark::State& state) {
  Plate plate;
  for (auto _ : state) {
    for (int face : plate.faces) {
      int n = 0;
      int* edges = nullptr;
      BQ_FACE_ask_edges(face, &n, &edges);
      for (int i = 0; i < n; ++i) {
        int m = 0;
        int* faces = nullptr;
        BQ_EDGE_ask_faces(edges[i], &m, &faces);
        BQ_MEMORY_free(faces);
      }
      BQ_MEMORY_free(edges);
      int surf = 0;
      bool sense = true;
      BQ_FACE_ask_oriented_surf(face, &surf, &sense);
      BQ_UVBOX_t box{};
      BQ_FACE_find_uvbox(face, &box);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(plate.faces.size()));
}
BENCHMARK(TopologyQueriesPerFace);

}  // namespace

BENCHMARK_MAIN();
