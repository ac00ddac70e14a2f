#include "update/pass/UpdateManager.h"

#include "core/journal/DebugJournalSwitches.h"
#include "core/objects/Interaction.h"
#include "solver/Solver.h"
#include "update/autoconstraint/YSKManager.h"
#include "solver/operations/SolverOperation.h"
#include "update/pass/ReblendedFaces.h"

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

bool UpdateManager::ApplyFaceChanges(Interaction* interaction, SolverOperation* operation,
                                     const std::map<int, SolvedFaceChangeMap>& changes,
                                     SolutionChangeData* solutionData)
{
    const bool record = interaction->GetPreviewMode() != PreviewModeOff ||
                        interaction->GetSolutionDataMode() == SolutionDataModeOn;
    const bool stepFaces = operation && interaction->GetStepFaceType() != StepFaceOff &&
                           interaction->GetExactDragging() && operation->MovesWithStepFaces();
    const int stepFaceType = stepFaces ? interaction->GetStepFaceType() : 0;
    for (const auto& body : changes) {
        FaceChangeBuilder builder(interaction, record, solutionData, &m_reblendChains,
                                  &m_shellClusters, stepFaceType);
        builder.AddSolverChanges(body.second, operation, body.first);
        const int error =
            interaction->GetPreviewMode() == PreviewModeAlways ? 0 : builder.Apply(nullptr);
        std::vector<int>* reblended = GetReblendedFaces();
        reblended->insert(reblended->end(), builder.GetReblendedFaces().begin(),
                          builder.GetReblendedFaces().end());
        if (error != 0)
            return false;
    }
    return true;
}


}  // namespace QEL
