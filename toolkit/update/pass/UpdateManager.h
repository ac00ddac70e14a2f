#pragma once
// The per-interaction driver that configures, solves and applies a solver operation.

#include "core/frame/QelExport.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"
#include "model/operations/FaceChangeBuilder.h"

#include <map>

namespace QEL {

class Interaction;
class SolutionChangeData;
class Solver;
class YSKManager;
class SolverOperation;

class UpdateManager {
public:
    explicit UpdateManager(Interaction* interaction);
    UpdateManager(const UpdateManager&) = delete;
    UpdateManager& operator=(const UpdateManager&) = delete;
    ~UpdateManager();

    Interaction* GetInteraction() const { return m_interaction; }
    // Null until the first configuration.
    Solver* GetSolver() const { return m_solver; }
    // The auto-constraint wrapper over the Solver; it exists exactly when the Solver does.
    YSKManager* GetYSKManager() const { return m_ysk; }

    // Makes the Solver of an edit and the wrapper over it, both journalling into the update's
    // solver journal while solver journalling is on. Callers test for an existing Solver.
    void EnsureSolverCreated();
    // Ends the edit: the wrapper, then the Solver, then the update's solver journal.
    void Clear();

    // The chains and clusters the configure step found; the apply step's builders read them.
    ReblendChainArray& GetReblendChainArray() { return m_reblendChains; }
    ShellClusterDataArray& GetShellClusterDataArray() { return m_shellClusters; }

    // Turns the solved changes of each body (in body tag order) into one face-change call per
    // body; the first body whose call fails ends the walk with false, bodies changed before it
    // staying changed. Without an operation no seeds are added and no step faces are made.
    bool ApplyFaceChanges(Interaction* interaction, SolverOperation* operation,
                          const std::map<int, SolvedFaceChangeMap>& changes,
                          SolutionChangeData* solutionData);

private:
    Interaction* m_interaction;
    Solver* m_solver = nullptr;
    YSKManager* m_ysk = nullptr;
    ReblendChainArray m_reblendChains;
    ShellClusterDataArray m_shellClusters;
};

// Seconds spent in the auto-constraint manager during the current configure step.
QEL_API double GetYSKTime();
// Adds to that time and returns the new total.
QEL_API double IncrementYSKTime(double seconds);

}  // namespace QEL
