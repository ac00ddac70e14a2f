// Test control of the add-on layer; tests only, never production code.
#pragma once

namespace hxr {
namespace test {

// The next call of the named add-on function (e.g. "HXR_FACE_delete") fails with the code
// before it changes anything.
void FailNextCall(const char* function, int code);
// Forgets a failure that has not happened yet.
void Reset();

}  // namespace test
}  // namespace hxr
