// Test control: forced failures, bulletin board, fatal errors and aborts inside the next call.
#include "brennik_test.h"

#include "EntityOps.h"
#include "KernelCall.h"
#include "TransmitData.h"

#include <BinTools.hxx>

#include <sstream>

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

std::size_t PlainShapeRoundTrip(int body) {
  Located where;
  if (ResolveClass(body, BQ_CLASS_body, &where) != 0) return 0;
  std::ostringstream out;
  BinTools::Write(where.body->shape, out, Standard_False, Standard_False, BinTools_FormatVersion_CURRENT);
  const std::string bytes = out.str();
  std::istringstream in(bytes);
  TopoDS_Shape read;
  BinTools::Read(read, in);
  return read.IsNull() ? 0 : bytes.size();
}

void RestartSession() {
  Reset();
  BQ_SESSION_tidy();
  if (BQ_SESSION_is_running()) BQ_SESSION_stop();
  BQ_SESSION_start_o_t options{1, true, true};
  BQ_SESSION_start(&options);
}

bool BodiesEqual(int first, int second) {
  // Shape and geometry in traversal order; identifiers and attributes are not looked at.
  BQ_DEBUG_BODY_compare_o_t options{};
  options.o_t_version = 1;
  options.compare_body_type = options.compare_counts = options.compare_faces = true;
  options.compare_edges = options.compare_vertices = options.compare_geometry = true;
  options.compare_face_senses = true;
  BQ_DEBUG_BODY_compare_r_t results{};
  const bool equal = BQ_DEBUG_BODY_compare(first, second, &options, &results) == BQ_ERROR_no_errors &&
                     results.topology_result == BQ_DEBUG_topology_same &&
                     results.geometry_result == BQ_DEBUG_geometry_same;
  BQ_DEBUG_BODY_compare_r_f(&results);
  return equal;
}

}  // namespace test
}  // namespace brennik
