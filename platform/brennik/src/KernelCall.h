// The frame every kernel call runs in: running-function name and in-kernel flag, the test
// control's forced failures, errors reported through the registered callback, and every
// OpenCASCADE exception turned into a kernel error.
#pragma once

#include "Session.h"

#include <Standard_Failure.hxx>

#include <new>
#include <utility>

namespace brennik {

// Reports an error of the running call through the error callback (which may throw to unwind
// the call) and returns the code.
int ReportError(int code, int severity = BQ_ERROR_serious);

// Sets the running function for one call and restores the previous one however it ends.
class CallScope {
 public:
  explicit CallScope(const char* function);
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  // Test control and pending aborts before the body runs; non-zero means fail with that code.
  int Enter(bool needsSession);
  // Aborts asked for while the body ran.
  int Leave(int code);

 private:
  const char* m_previous;
};

// Runs one kernel call. `body` returns an error code; a non-zero code is reported.
template <class Body>
int KernelRun(const char* function, Body&& body, bool needsSession = true) {
  CallScope scope(function);
  int code = scope.Enter(needsSession);
  if (code != 0) return code;
  try {
    code = body();
  } catch (const Standard_Failure&) {
    code = BQ_ERROR_geometry_failure;
  } catch (const std::bad_alloc&) {
    code = BQ_ERROR_memory_full;
  }
  if (code != 0) ReportError(code);
  return scope.Leave(code);
}

int NotImplemented(const char* function);

// Copies a vector into a kernel array (null when empty) freed with BQ_MEMORY_free.
template <class T>
T* KernelArray(const std::vector<T>& values) {
  if (values.empty()) return nullptr;
  T* out = static_cast<T*>(::operator new[](values.size() * sizeof(T)));
  for (std::size_t i = 0; i < values.size(); ++i) out[i] = values[i];
  return out;
}
template <class T>
void OutArray(const std::vector<T>& values, int* n, T** array) {
  *n = static_cast<int>(values.size());
  *array = KernelArray(values);
}

}  // namespace brennik
