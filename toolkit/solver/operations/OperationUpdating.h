#pragma once
// What the interaction's current operation asks of the update pass above the solver: its
// update manager's edit (configured, started, cleared), the configure, the start mark and the
// two kinds of update, and the configure's persistent results that clearing an operation
// destroys. The update layer installs it while the library loads; the operation control
// reaches the update pass only through here.

#include "core/enums/Enums.h"

namespace QEL {

class Interaction;
class SolverOperation;

class OperationUpdating {
public:
    virtual ~OperationUpdating() = default;

    // The update manager holds a Solver.
    virtual bool IsConfigured(Interaction* interaction) = 0;
    // The update manager holds a start mark.
    virtual bool IsStarted(Interaction* interaction) = 0;
    // Clears the update manager, or makes it when there is none: the Solver, the
    // auto-constraint wrapper and the start mark go.
    virtual void ClearOrCreate(Interaction* interaction) = 0;
    // Clears the update manager when there is one.
    virtual void Clear(Interaction* interaction) = 0;
    // The configure step that initialises an edit; false when it fails.
    virtual bool Initialise(Interaction* interaction, SolverOperation* operation,
                            bool& solvable) = 0;
    // Takes the start mark; false when one is held.
    virtual bool CreateStartMark(Interaction* interaction) = 0;
    // 0 when none is held.
    virtual int GetStartMark(Interaction* interaction) = 0;
    // One whole update: configure when needed, mark, solve and apply.
    virtual UpdateStatus DoOperation(Interaction* interaction, SolverOperation* operation,
                                     ResultType& result) = 0;
    // One update of a configured, started edit.
    virtual UpdateStatus DoSolverOperationAndUpdateModel(Interaction* interaction,
                                                         SolverOperation* operation,
                                                         ResultType& result) = 0;
    // Destroys the interaction's found data, then its rules that the application did not
    // define, then the relations and virtual vertices relation finding made.
    virtual void DestroyConfigureResults(Interaction* interaction) = 0;
};

// Installed by the update layer while the library loads; always true, so that the
// installation can initialise a static flag. The object lives as long as the process.
bool InstallOperationUpdating(OperationUpdating* updating);

// The installed object; null while none is (the solver alone).
OperationUpdating* GetOperationUpdating();

}  // namespace QEL
