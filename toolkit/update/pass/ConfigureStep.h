#pragma once
// The configure step of an update as the update manager sees it: one configure of the edit over
// the edit's Solver and auto-constraint wrapper, and the reblend chains and shell clusters it
// met, which the apply step's face changes need.

#include "core/enums/Enums.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"

namespace QEL {

class Interaction;
class Solver;
class SolverOperation;
class YSKManager;

class ConfigureStep {
public:
    ConfigureStep(Interaction* interaction, Solver* solver, YSKManager* ysk, SolverOperation* operation)
        : m_interaction(interaction), m_solver(solver), m_ysk(ysk), m_operation(operation)
    {
    }
    ConfigureStep(const ConfigureStep&) = delete;
    ConfigureStep& operator=(const ConfigureStep&) = delete;

    // The full configure of an operation being initialised. status only ever becomes
    // UpdateSolveFailed: true with that status means the edit cannot be solved.
    bool Configure(UpdateStatus& status);
    // The configure without initialisation: every valid relation of the interaction enters
    // the Solver with the operation's own.
    bool ConfigureFromRelations(UpdateStatus& status);

    const ReblendChainArray& GetReblendChains() const { return m_reblendChains; }
    const ShellClusterDataArray& GetShellClusters() const { return m_shellClusters; }

private:
    Interaction* m_interaction;
    Solver* m_solver;
    YSKManager* m_ysk;
    SolverOperation* m_operation;
    ReblendChainArray m_reblendChains;
    ShellClusterDataArray m_shellClusters;
};

}  // namespace QEL
