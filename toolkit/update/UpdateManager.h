#pragma once
// The per-interaction driver that configures, solves and applies a solver operation.

#include "core/QelExport.h"

namespace QEL {

class Interaction;
class Solver;
class YSKManager;

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

private:
    Interaction* m_interaction;
    Solver* m_solver = nullptr;
    YSKManager* m_ysk = nullptr;
};

// Seconds spent in the auto-constraint manager during the current configure step.
QEL_API double GetYSKTime();
// Adds to that time and returns the new total.
QEL_API double IncrementYSKTime(double seconds);

}  // namespace QEL
