// Shared set-up of the kernel layer's contract tests: a fresh session per test and an error
// callback that records what the kernel reported.
#pragma once

#include "brennik.h"
#include "brennik_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ReportedError {
  std::string function;
  int code;
  std::string token;
  int severity;
};

class KernelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    brennik::test::RestartSession();
    s_errors.clear();
    BQ_ERROR_callbacks_t callbacks{&KernelTest::Record};
    BQ_ERROR_register_callbacks(&callbacks);
  }
  void TearDown() override {
    BQ_ERROR_callbacks_t none{nullptr};
    BQ_ERROR_register_callbacks(&none);
    brennik::test::Reset();
  }
  static int Record(const BQ_ERROR_report_t* report) {
    s_errors.push_back({report->function, report->code, report->token, report->severity});
    return report->code;
  }
  static inline std::vector<ReportedError> s_errors;
};

// Kernel arrays as vectors (the kernel's array is freed).
template <class T>
std::vector<T> Take(int n, T* array) {
  std::vector<T> out(array, array + n);
  BQ_MEMORY_free(array);
  return out;
}

using ListCall = int (*)(int, int*, int**);

inline std::vector<int> List(ListCall call, int tag) {
  int n = 0;
  int* array = nullptr;
  if (call(tag, &n, &array) != 0) return {};
  return Take(n, array);
}

inline int ClassOf(int tag) {
  int cls = BQ_CLASS_null;
  bool live = false;
  if (BQ_ENTITY_is(tag, &live) != 0 || !live) return BQ_CLASS_null;
  BQ_ENTITY_ask_class(tag, &cls);
  return cls;
}

inline int CurrentPartition() {
  int partition = 0;
  BQ_SESSION_ask_curr_partition(&partition);
  return partition;
}
