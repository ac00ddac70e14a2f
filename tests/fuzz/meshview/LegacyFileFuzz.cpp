// Feeds arbitrary bytes to the mesh library's legacy-file reader. Beyond crashes, hangs and
// sanitizer reports it traps when the reader breaks a promise: a refused file changes the
// container, or a file that was read names points it does not have or does not write back
// into a file that reads again alike. Its corpus is tests/fuzz/meshview/corpus.
#include <cstddef>
#include <cstdint>

#include "LegacyFileInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (readLegacyFileInput(data, size) < 0)
    __builtin_trap();
  return 0;
}
