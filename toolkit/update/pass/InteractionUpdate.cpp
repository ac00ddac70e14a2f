#include "update/pass/InteractionUpdate.h"

#include "core/objects/Interaction.h"
#include "solver/operations/SolverOperation.h"
#include "update/pass/UpdateManager.h"

#include <memory>

namespace QEL {

UpdateStatus InteractionUpdate::Update(SolverOperation* operation, ResultType* result)
{
    if (result)
        *result = ResultTypeFail;
    m_interaction->CreateUpdateManager();
    UpdateManager* manager = m_interaction->GetUpdateManager();
    manager->Clear();
    if (m_interaction->GetCurrentSolverOperation())
        return UpdateSolveFailed;
    std::unique_ptr<SolverOperation> made;
    if (!operation) {
        made.reset(new SolverEvaluate(m_interaction));
        operation = made.get();
    }
    // Current for the span of the update: rolling back the interaction then keeps the manager.
    m_interaction->SetCurrentSolverOperation(operation);
    ResultType outcome = ResultTypeFail;
    const UpdateStatus status = manager->DoOperation(operation, outcome);
    manager->Clear();
    m_interaction->SetCurrentSolverOperation(nullptr);
    if (result)
        *result = outcome;
    return status;
}

}  // namespace QEL
