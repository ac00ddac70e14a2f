// Session, error reporting and test control.
#include "KernelTestBase.h"

#include <stdexcept>

namespace {

class SessionTest : public KernelTest {};

TEST_F(SessionTest, SessionAnswersPrecisionAndRollback) {
  double precision = 0.0;
  EXPECT_EQ(BQ_SESSION_ask_precision(&precision), 0);
  EXPECT_DOUBLE_EQ(precision, 1e-8);
  bool on = false;
  EXPECT_EQ(BQ_SESSION_is_rollback_on(&on), 0);
  EXPECT_TRUE(on);
  int partition = 0;
  EXPECT_EQ(BQ_SESSION_ask_curr_partition(&partition), 0);
  EXPECT_NE(partition, 0);
}

TEST_F(SessionTest, WithoutSessionQueriesFailAndReport) {
  BQ_SESSION_stop();
  double precision = -1.0;
  EXPECT_EQ(BQ_SESSION_ask_precision(&precision), BQ_ERROR_no_session);
  EXPECT_EQ(precision, -1.0);
  ASSERT_FALSE(s_errors.empty());
  EXPECT_EQ(s_errors.back().function, "BQ_SESSION_ask_precision");
  EXPECT_EQ(s_errors.back().token, "BQ_ERROR_no_session");
}

TEST_F(SessionTest, NullOutputIsAnArgumentError) {
  EXPECT_EQ(BQ_SESSION_ask_precision(nullptr), BQ_ERROR_null_arg);
  EXPECT_EQ(s_errors.back().code, BQ_ERROR_null_arg);
}

TEST_F(SessionTest, CheckArgumentsCanBeSwitched) {
  bool on = false;
  BQ_SESSION_ask_check_arguments(&on);
  EXPECT_TRUE(on);
  BQ_SESSION_set_check_arguments(false);
  BQ_SESSION_ask_check_arguments(&on);
  EXPECT_FALSE(on);
}

TEST_F(SessionTest, FailNextCallFailsOnlyThatFunctionOnce) {
  brennik::test::FailNextCall("BQ_SESSION_ask_precision", BQ_ERROR_operation_failed);
  int partition = 0;
  EXPECT_EQ(BQ_SESSION_ask_curr_partition(&partition), 0);
  double precision = 0.0;
  EXPECT_EQ(BQ_SESSION_ask_precision(&precision), BQ_ERROR_operation_failed);
  EXPECT_EQ(BQ_SESSION_ask_precision(&precision), 0);
}

TEST_F(SessionTest, BulletinBoardFollowsTestControl) {
  int status = 0;
  EXPECT_EQ(BQ_BB_ask_status(0, &status), 0);
  EXPECT_EQ(status, BQ_BB_status_off);
  brennik::test::SetBulletinBoard(true);
  EXPECT_EQ(BQ_BB_ask_status(0, &status), 0);
  EXPECT_EQ(status, BQ_BB_status_on);
}

struct Unwound : std::runtime_error {
  Unwound() : std::runtime_error("unwound") {}
};

int ThrowOnFatal(const BQ_ERROR_report_t* report) {
  const char* running = nullptr;
  BQ_SESSION_ask_function(&running);
  if (report->severity == BQ_ERROR_fatal_severity && std::string(running) != "BQ_ERROR_raise")
    throw Unwound();
  return report->code;
}

TEST_F(SessionTest, FatalErrorReachesCallbackWhichMayUnwindTheCall) {
  BQ_ERROR_callbacks_t callbacks{&ThrowOnFatal};
  BQ_ERROR_register_callbacks(&callbacks);
  brennik::test::RaiseFatalInNextCall(BQ_ERROR_fatal);
  double precision = 0.0;
  EXPECT_THROW(BQ_SESSION_ask_precision(&precision), Unwound);
  bool inKernel = true;
  BQ_SESSION_is_in_kernel(&inKernel);
  EXPECT_FALSE(inKernel);
  // Raised by the application: the callback sees "BQ_ERROR_raise" and returns.
  EXPECT_EQ(BQ_ERROR_raise(BQ_ERROR_fatal, "APP_fatal", BQ_ERROR_fatal_severity), BQ_ERROR_fatal);
}

int s_abortCalls = 0;
void CountAbort(int*) { ++s_abortCalls; }

TEST_F(SessionTest, AbortInNextCallCallsFrustrumAbortEntry) {
  BQ_SESSION_frustrum_t frustrum{};
  BQ_SESSION_ask_frustrum(&frustrum);
  frustrum.fabort = &CountAbort;
  BQ_SESSION_register_frustrum(&frustrum);
  s_abortCalls = 0;
  brennik::test::AbortInNextCall();
  double precision = 0.0;
  EXPECT_EQ(BQ_SESSION_ask_precision(&precision), BQ_ERROR_aborted);
  EXPECT_EQ(s_abortCalls, 1);
  frustrum.fabort = nullptr;
  BQ_SESSION_register_frustrum(&frustrum);
}

TEST_F(SessionTest, AbortOutsideKernelIsRefused) {
  EXPECT_EQ(BQ_SESSION_abort(1), BQ_ERROR_not_in_kernel);
}

}  // namespace
