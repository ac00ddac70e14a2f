#pragma once
// The per-interaction driver that configures, solves and applies a solver operation.

namespace QEL {

class Interaction;
class Solver;

class UpdateManager {
public:
    explicit UpdateManager(Interaction* interaction);
    UpdateManager(const UpdateManager&) = delete;
    UpdateManager& operator=(const UpdateManager&) = delete;
    ~UpdateManager();

    Interaction* GetInteraction() const { return m_interaction; }
    // Null until the first configuration.
    Solver* GetSolver() const { return m_solver; }

private:
    Interaction* m_interaction;
    Solver* m_solver = nullptr;
};

}  // namespace QEL
