#pragma once
// The faces re-blended by the last update, kept for the application to ask about.

#include <vector>

namespace QEL {

// The process-wide list, made on first use.
std::vector<int>* GetReblendedFaces();
// Frees the list; the next use makes a new one.
void ClearReblendedFaces();

}  // namespace QEL
