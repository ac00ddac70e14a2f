#pragma once
// One object's change inside a rollback state: what happened to it and the snapshots that
// undo and redo it.

#include "core/objects/Entity.h"

namespace QEL {

enum ActionType {
    ActionTypeCreated = 0,
    ActionTypeModified = 1,
    ActionTypeDeleted = 2,
};

class QEL_API RollbackAction : public Entity {
public:
    // Takes a reference on the object; a modification or deletion snapshots it now.
    RollbackAction(ActionType type, RollableEntity* object);
    // Releases the snapshots and the object.
    ~RollbackAction() override;

    ActionType GetActionType() const { return m_type; }
    RollableEntity* GetActionObject() const { return m_object; }
    RollableEntity* GetRollbackObject() const { return m_rollbackObject; }
    RollableEntity* GetRollforwardObject() const { return m_rollforwardObject; }
    bool IsRolledBack() const { return m_rolledBack; }

    void Rollback();
    void Rollforward();
    // A modification followed by a deletion becomes a deletion.
    void AddActionType(ActionType type);
    // Called on the later action of the same object when two states merge.
    void MergePreviousAction(const RollbackAction* earlier);
    static void Destroy(RollbackAction* action) { delete action; }

private:
    void SetRollbackObject(RollableEntity* snapshot);

    ActionType m_type;
    RollableEntity* m_object;
    RollableEntity* m_rollbackObject = nullptr;
    RollableEntity* m_rollforwardObject = nullptr;
    bool m_rolledBack = false;
};

}  // namespace QEL
