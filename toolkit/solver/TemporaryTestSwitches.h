#pragma once
// Switches the application may set to try an alternative way of building the solve.

#include "core/frame/QelExport.h"

namespace QEL {

struct QEL_API TemporaryTestSwitches {
    // Topological tangencies go to the auto-constraint manager as tangent-at-edge
    // relationships instead of tangency bonds. False at load.
    static bool m_useTangentAtEdgeForTopologicalConstraints;
};

}  // namespace QEL
