#pragma once
// One complete one-shot edit of an interaction through its update manager: the manager is
// cleared, the operation becomes current for the span of one update, and the manager is
// cleared again, so that nothing of the edit outlives the call.

#include "core/enums/Enums.h"

namespace QEL {

class Interaction;
class SolverOperation;

class InteractionUpdate {
public:
    explicit InteractionUpdate(Interaction* interaction) : m_interaction(interaction) {}

    // UpdateSolveFailed at once while another operation is current. A null operation runs a
    // new relation evaluation, which this call deletes; an operation passed in stays the
    // caller's. The update's ResultType is handed back through result when it is given.
    UpdateStatus Update(SolverOperation* operation, ResultType* result = nullptr);

private:
    Interaction* m_interaction;
};

}  // namespace QEL
