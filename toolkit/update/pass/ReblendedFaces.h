#pragma once
// The faces re-blended by the last update, kept process-wide for the application to ask about.

#include <vector>

namespace QEL {

// The list, made on first use.
std::vector<int>* ReblendedFaceList();
// The list as it is: null when no update recorded one since it was last freed.
std::vector<int>* PeekReblendedFaces();
// Empties and frees the list; the next use makes a new one.
void FreeReblendedFaces();

}  // namespace QEL
