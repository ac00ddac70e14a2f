// The interaction's rollback entry points, forwarded to its rollback manager, and the bodies
// it hands over before an operation changes them.
#include "core/objects/Interaction.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/rollback/RollbackManager.h"

namespace QEL {

void Interaction::EnableRollback()
{
    if (m_rollbackEnabled)
        return;
    m_rollbackManager = new RollbackManager(GetTag());
    m_rollbackEnabled = true;
}

void Interaction::DisableRollback()
{
    if (!m_rollbackEnabled)
        return;
    RollbackManager* manager = m_rollbackManager;
    m_rollbackManager = nullptr;
    m_rollbackEnabled = false;
    RollbackManager::Destroy(manager);
}

int Interaction::CreateMark() { return m_rollbackManager ? m_rollbackManager->CreateMark() : 0; }

void Interaction::RollToMark(int markTag)
{
    if (m_rollbackManager)
        m_rollbackManager->RollToMark(markTag);
}

void Interaction::DeleteMark(int markTag)
{
    if (m_rollbackManager)
        m_rollbackManager->DeleteMark(markTag);
}

int Interaction::GetMarkCount() const
{
    return m_rollbackManager ? m_rollbackManager->GetMarkCount() : 0;
}

int Interaction::GetCurrentMark(bool& atMark) const
{
    atMark = false;
    return m_rollbackManager ? m_rollbackManager->GetCurrentMark(atMark) : 0;
}

RollbackState* Interaction::GetMark(int index) const
{
    return m_rollbackManager ? m_rollbackManager->GetMark(index) : nullptr;
}

RollbackState* Interaction::GetMarkByTag(int markTag) const
{
    return m_rollbackManager ? m_rollbackManager->GetMarkByTag(markTag) : nullptr;
}

void Interaction::GetChangesAfterMark(int markTag,
                                      std::map<RollableEntity*, RollbackAction*>& changes)
{
    if (m_rollbackManager)
        m_rollbackManager->GetChangesAfterMark(markTag, changes);
}

void Interaction::MarkPartitionForRollback(int partition)
{
    if (m_rollbackManager)
        m_rollbackManager->MarkPartition(partition);
}

void Interaction::ObjectCreated(RollableEntity* object)
{
    if (m_rollbackManager)
        m_rollbackManager->ObjectCreated(object);
}

void Interaction::ObjectModified(RollableEntity* object)
{
    if (m_rollbackManager)
        m_rollbackManager->ObjectModified(object);
}

void Interaction::ObjectDeleted(RollableEntity* object)
{
    if (m_rollbackManager)
        m_rollbackManager->ObjectDeleted(object);
}

void Interaction::AddSeenBody(int body)
{
    ObjectModified(this);
    m_seenBodies.insert(body);
}

void Interaction::GetSeenBodies(std::vector<int>& bodies, bool includeDead) const
{
    for (int body : m_seenBodies)
        if (includeDead || IsEntity(body))
            bodies.push_back(body);
}

void Interaction::PrepareBodyForChange(int body)
{
    if (m_rollbackEnabled)
        MarkPartitionForRollback(GetEntityPartition(body));
    AddSeenBody(body);
}

void Interaction::PrepareEntitiesForChange(const std::vector<int>& entities)
{
    if (!m_rollbackManager)
        return;
    std::set<int> partitions;
    for (int entity : entities)
        if (entity != 0)
            partitions.insert(GetEntityPartition(entity));
    for (int entity : entities) {
        const int body = GetOwningBody(entity);
        if (body != 0)
            AddSeenBody(body);
    }
    for (int partition : partitions)
        MarkPartitionForRollback(partition);
}

void Interaction::GetInstanceBodyTags(std::vector<int>& bodies) const
{
    std::set<int> distinct;
    for (const Instance* instance : m_instances)
        if (instance)
            distinct.insert(instance->GetBodyTag());
    bodies.insert(bodies.end(), distinct.begin(), distinct.end());
}

}  // namespace QEL
