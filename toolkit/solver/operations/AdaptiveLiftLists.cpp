// The process-wide lists of adaptive lift. Adaptive lift keeps no tipping points or
// neighbours yet, so there is nothing to empty.
#include "solver/operations/AdaptiveLiftLists.h"

namespace QEL {

bool s_clearAdaptiveLiftTippingPoints() { return true; }

bool s_clearAdaptiveLiftNeighbours() { return true; }

}  // namespace QEL
