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
