#include "update/UpdateManager.h"

#include "core/DebugJournalSwitches.h"
#include "core/Interaction.h"
#include "core/UpperLayerSeams.h"
#include "solver/Solver.h"
#include "update/YSKManager.h"

namespace QEL {

namespace {

double s_yskTime = 0.0;
// The solver journal of the edit in progress, shared by its Solver and its wrapper.
FILE* s_updateSolverJournal = nullptr;

}  // namespace

double GetYSKTime() { return s_yskTime; }

double IncrementYSKTime(double seconds) { return s_yskTime += seconds; }

UpdateManager::UpdateManager(Interaction* interaction) : m_interaction(interaction) {}

UpdateManager::~UpdateManager() { Clear(); }

void UpdateManager::EnsureSolverCreated()
{
    if (GetSolverJournalSwitch().IsOn())
        OpenSolverJournalFile(&s_updateSolverJournal);
    m_solver = new Solver(s_updateSolverJournal, m_interaction && m_interaction->GetExactDragging(), false);
    m_ysk = new YSKManager(m_interaction, s_updateSolverJournal);
}

void UpdateManager::Clear()
{
    // The wrapper goes first: the manager's own nodes live in the Solver's system.
    delete m_ysk;
    m_ysk = nullptr;
    delete m_solver;
    m_solver = nullptr;
    CloseSolverJournalFile(&s_updateSolverJournal);
}

void DeleteUpdateManager(UpdateManager* manager) { delete manager; }

bool Interaction::CreateUpdateManager()
{
    if (!m_updateManager)
        m_updateManager = new UpdateManager(this);
    return true;
}

// The pass configures, solves and applies what the model holds. A model without relations and
// features gives it nothing to configure or solve, so the pass applies at once.
UpdateStatus Interaction::Update(SolverOperation*)
{
    if (m_currentSolverOperation)
        return UpdateSolveFailed;
    CreateUpdateManager();
    return UpdateApplied;
}

}  // namespace QEL
