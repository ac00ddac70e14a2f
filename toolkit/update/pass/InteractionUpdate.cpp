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
    // A drag in progress keeps its update manager: clearing it would drop the drag's start mark,
    // and its next step would be measured from the model this step left.
    if (m_interaction->GetCurrentSolverOperation())
        return UpdateSolveFailed;
    m_interaction->CreateUpdateManager();
    UpdateManager* manager = m_interaction->GetUpdateManager();
    manager->Clear();
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
