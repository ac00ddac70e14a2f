// The configure's hand-over of a blend chain to the blend-radius edit that changes it.
#include "update/configure/ConfigureManager.h"

#include "solver/operations/SolverOperation.h"

namespace QEL {

bool AddBlendChainOfOperation(SolverOperation* operation, Solver* solver, int face, std::vector<int>& unders,
                              ConfigureKeySet& fixedKeys)
{
    // Forced blend faces come from the operation's changed faces; only the blend-radius edit
    // owns the radius its chains are tied to.
    BlendRadiusOp* blendRadius = dynamic_cast<BlendRadiusOp*>(operation);
    if (!blendRadius || !solver)
        return false;
    (void)face;
    (void)unders;
    (void)fixedKeys;
    return false;
}

}  // namespace QEL
