#pragma once
// The process-wide lists of adaptive lift that go with the last interaction's edits.

namespace QEL {

// Empty the lists; true once done.
bool s_clearAdaptiveLiftTippingPoints();
bool s_clearAdaptiveLiftNeighbours();

}  // namespace QEL
