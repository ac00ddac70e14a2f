// Test control: forced failures, bulletin board, fatal errors and aborts inside the next call.
#include "brennik_test.h"

#include "KernelCall.h"
#include "TransmitData.h"

namespace brennik {
namespace test {

void FailNextCall(const char* function, int code) {
  Globals().test.failFunction = function ? function : "";
  Globals().test.failCode = code;
}

void SetBulletinBoard(bool on) { Globals().test.bulletinBoard = on; }

void RaiseFatalInNextCall(int code) { Globals().test.fatalCode = code; }

void AbortInNextCall() { Globals().test.abortNext = true; }

void Reset() {
  TestControl& t = Globals().test;
  t.failFunction.clear();
  t.failCode = 0;
  t.fatalCode = 0;
  t.abortNext = false;
  t.bulletinBoard = false;
  Globals().abortPending = false;
}

void EnableCallLog(bool on) { Globals().test.logCalls = on; }

const std::vector<std::string>& CallLog() { return Globals().test.callLog; }

void ClearCallLog() { Globals().test.callLog.clear(); }

std::string SealTransmitData(const std::string& payload, bool binary) {
  return brennik::SealTransmitData(payload, binary);
}

std::string TransmitPayload(const std::string& data) {
  const std::size_t newline = data.find('\n');
  return newline == std::string::npos ? std::string() : data.substr(newline + 1);
}

void RestartSession() {
  Reset();
  BQ_SESSION_tidy();
  if (BQ_SESSION_is_running()) BQ_SESSION_stop();
  BQ_SESSION_start_o_t options{1, true, true};
  BQ_SESSION_start(&options);
}

bool BodiesEqual(int first, int second) {
  const BQ_DEBUG_BODY_compare_o_t options{1, 0.0, false};
  BQ_DEBUG_BODY_compare_r_t results{};
  const bool equal =
      BQ_DEBUG_BODY_compare(first, second, &options, &results) == BQ_ERROR_no_errors && results.equal;
  BQ_DEBUG_BODY_compare_r_f(&results);
  return equal;
}

}  // namespace test
}  // namespace brennik
