// The configure's hand-over of a blend chain to the blend-radius edit that changes it.
#include "update/configure/ConfigureManager.h"

#include "solver/operations/BlendRadiusOp.h"

namespace QEL {

bool AddBlendChainOfOperation(SolverOperation* operation, Solver* solver, int face,
                              std::vector<int>& unders, ConfigureKeySet& fixedKeys)
{
    // Forced blend faces come from the operation's changed faces; only the blend-radius edit
    // owns the radius its chains are tied to.
    BlendRadiusOp* blendRadius = dynamic_cast<BlendRadiusOp*>(operation);
    if (!blendRadius || !solver)
        return false;
    std::set<std::pair<int, Instance*>> held;
    blendRadius->AddBlendChain(solver, face, unders, held);
    fixedKeys.insert(held.begin(), held.end());
    return true;
}

}  // namespace QEL
