#include "core/rollback/RollbackState.h"

#include "core/kernel/KernelFacade.h"

namespace QEL {

RollbackState::~RollbackState()
{
    for (auto& entry : m_actions)
        RollbackAction::Destroy(entry.second);
    m_actions.clear();
    for (const auto& entry : m_partitionMarks)
        if (entry.second != 0)
            DeletePartitionMark(entry.second);
    if (m_markTag != 0)
        BQ_APPITEM_delete(1, &m_markTag);
}

void RollbackState::RecordAction(ActionType type, RollableEntity* object)
{
    auto found = m_actions.find(object);
    if (found == m_actions.end()) {
        m_actions[object] = new RollbackAction(type, object);
        return;
    }
    if (type == ActionTypeCreated) {
        // A second creation of the same address: the earlier object is gone and this is a
        // new one, so the fresh action replaces the stale one.
        RollbackAction* stale = found->second;
        found->second = new RollbackAction(type, object);
        RollbackAction::Destroy(stale);
        return;
    }
    if (found->second->GetActionType() == ActionTypeCreated && type == ActionTypeDeleted) {
        RollbackAction* cancelled = found->second;
        m_actions.erase(found);
        RollbackAction::Destroy(cancelled);
        return;
    }
    found->second->AddActionType(type);
}

void RollbackState::Rollback()
{
    for (auto& entry : m_actions)
        entry.second->Rollback();
}

void RollbackState::Rollforward()
{
    for (auto& entry : m_actions)
        entry.second->Rollforward();
}

void RollbackState::MergePreviousState(RollbackState* earlier)
{
    ActionMap& earlierActions = earlier->m_actions;
    for (auto it = earlierActions.begin(); it != earlierActions.end();) {
        auto mine = m_actions.find(it->first);
        if (mine == m_actions.end()) {
            m_actions[it->first] = it->second;
            it = earlierActions.erase(it);
            continue;
        }
        if (mine->second->GetActionType() == ActionTypeDeleted &&
            it->second->GetActionType() == ActionTypeCreated) {
            RollbackAction* cancelled = mine->second;
            m_actions.erase(mine);
            RollbackAction::Destroy(cancelled);
        } else {
            mine->second->MergePreviousAction(it->second);
        }
        ++it;
    }
}

void RollbackState::SetPartitionMarks(const std::map<int, int>& partitions)
{
    m_partitionMarks = partitions;
    for (auto& entry : m_partitionMarks) {
        int mark = 0;
        if (BQ_PARTITION_make_pmark(entry.first, &mark) != BQ_ERROR_no_errors)
            mark = 0;
        entry.second = mark;
    }
}

void RollbackState::GotoPartitionMarks(const std::map<int, int>& firstTouch) const
{
    for (const auto& entry : firstTouch) {
        auto own = m_partitionMarks.find(entry.first);
        const int mark =
            (own != m_partitionMarks.end() && own->second != 0) ? own->second : entry.second;
        if (mark != 0)
            GoToPartitionMark(mark);
    }
}

}  // namespace QEL
