#pragma once
// The process-wide lists of adaptive lift that go with the last interaction's edits: tipping
// points with their faces, and pairs of neighbouring faces. Nothing fills them; they stay
// absent until something does.

#include "core/maths/Vec.h"

#include <utility>
#include <vector>

namespace QEL {

// Null while the list does not exist.
std::vector<std::pair<Vec, int>>* s_getAdaptiveLiftTippingPoints();
std::vector<std::pair<int, int>>* s_getAdaptiveLiftNeighbours();

// Free the list; true only when the freed list held an entry.
bool s_clearAdaptiveLiftTippingPoints();
bool s_clearAdaptiveLiftNeighbours();

}  // namespace QEL
