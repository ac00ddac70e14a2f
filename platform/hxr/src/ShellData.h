// Shell partners recorded on a body: pairs of faces across a wall made by hollowing.
#pragma once

#include <vector>

namespace hxr::wired {

struct ShellPair {
  int side = 0;     // face tag on one side of the wall
  int partner = 0;  // face tag across the wall
  double thickness = 0.0;
};

// Adds the pairs to the body's add-on data (a pair already recorded is not repeated).
void RecordShellPairs(int body, const std::vector<ShellPair>& pairs);

}  // namespace hxr::wired
