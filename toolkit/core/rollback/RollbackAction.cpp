#include "core/rollback/RollbackAction.h"

namespace QEL {

namespace {

// A snapshot is held by one reference of the action that keeps it.
RollableEntity* TakeSnapshot(RollableEntity* object)
{
    RollableEntity* snapshot = object->Clone();
    if (snapshot && snapshot->GetRefCount() == 0)
        snapshot->AddRef();
    return snapshot;
}

void ReleaseIfHeld(RollableEntity* object)
{
    if (object)
        object->Release();
}

}  // namespace

RollbackAction::RollbackAction(ActionType type, RollableEntity* object)
    : m_type(type), m_object(object)
{
    if (type != ActionTypeCreated)
        m_rollbackObject = TakeSnapshot(object);
    m_object->AddRef();
}

RollbackAction::~RollbackAction()
{
    ReleaseIfHeld(m_rollbackObject);
    ReleaseIfHeld(m_rollforwardObject);
    ReleaseIfHeld(m_object);
}

void RollbackAction::SetRollbackObject(RollableEntity* snapshot)
{
    if (snapshot)
        snapshot->AddRef();
    ReleaseIfHeld(m_rollbackObject);
    m_rollbackObject = snapshot;
}

void RollbackAction::Rollback()
{
    if (m_rolledBack)
        return;
    m_rolledBack = true;
    switch (m_type) {
        case ActionTypeCreated:
            if (!m_rollforwardObject)
                m_rollforwardObject = TakeSnapshot(m_object);
            m_object->Release();
            break;
        case ActionTypeModified:
            if (!m_rollforwardObject)
                m_rollforwardObject = TakeSnapshot(m_object);
            m_object->Restore(m_rollbackObject);
            break;
        case ActionTypeDeleted:
            m_object->Restore(m_rollbackObject);
            m_object->AddRef();
            break;
    }
}

void RollbackAction::Rollforward()
{
    if (!m_rolledBack)
        return;
    m_rolledBack = false;
    switch (m_type) {
        case ActionTypeCreated:
            m_object->Restore(m_rollforwardObject);
            m_object->AddRef();
            break;
        case ActionTypeModified:
            m_object->Restore(m_rollforwardObject);
            break;
        case ActionTypeDeleted:
            m_object->Release();
            break;
    }
}

void RollbackAction::AddActionType(ActionType type)
{
    if (m_type == ActionTypeModified && type == ActionTypeDeleted)
        m_type = ActionTypeDeleted;
}

void RollbackAction::MergePreviousAction(const RollbackAction* earlier)
{
    if (!earlier)
        return;
    if (m_type == ActionTypeModified && earlier->m_type == ActionTypeCreated) {
        m_type = ActionTypeCreated;
        SetRollbackObject(nullptr);
    } else if (m_type == ActionTypeModified || m_type == ActionTypeDeleted) {
        SetRollbackObject(earlier->m_rollbackObject);
    }
}

}  // namespace QEL
