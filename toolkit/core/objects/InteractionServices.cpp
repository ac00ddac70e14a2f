// The interaction's kernel services, application feature data, cached solution data and ids.
#include "core/objects/Interaction.h"

#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "core/rollback/RollbackManager.h"
#include "core/tracking/TrackingManager.h"

#include <brennik.h>

namespace QEL {

int Interaction::GetQELPartition()
{
    if (m_partition == 0)
        m_partition = CreateEmptyPartition();
    return m_partition;
}

int Interaction::CreateTag(void* object)
{
    const int partition = GetQELPartition();
    if (partition == 0)
        return 0;
    const CurrentPartitionScope scope(partition);
    int item = 0;
    if (BQ_APPITEM_create(object, &item) != BQ_ERROR_no_errors)
        return 0;
    return item;
}

void Interaction::SetAppData(int feature, const std::string& name, double value)
{
    ObjectModified(this);
    m_appFeatureData[feature][name] = value;
}

bool Interaction::GetAppData(int feature, const char* name, double& value) const
{
    auto entry = m_appFeatureData.find(feature);
    if (entry == m_appFeatureData.end() || !name)
        return false;
    auto named = entry->second.find(name);
    if (named == entry->second.end())
        return false;
    value = named->second;
    return true;
}

void Interaction::GetAppFeatures(Array<int>& features) const
{
    for (const auto& entry : m_appFeatureData)
        features.Add(entry.first);
}

void Interaction::RemoveAppFeature(int feature)
{
    ObjectModified(this);
    m_appFeatureData.erase(feature);
}

void Interaction::ReplaceAppFeature(int oldFeature, int newFeature)
{
    ObjectModified(this);
    auto old = m_appFeatureData.find(oldFeature);
    if (old == m_appFeatureData.end())
        return;
    std::map<std::string, double> data = old->second;
    m_appFeatureData.erase(old);
    m_appFeatureData[newFeature] = data;
}

const SolutionChangeData& Interaction::GetCachedSolutionChangeData() const
{
    static const SolutionChangeData s_none;
    return m_solutionChangeData ? m_solutionChangeData->Get() : s_none;
}

void Interaction::SetCachedSolutionChangeData(const SolutionChangeData& data)
{
    if (m_solutionChangeData)
        m_solutionChangeData->Set(data);
}

bool Interaction::GetCopyOfCachedSolutionChangeData(SolutionChangeData& data) const
{
    if (!m_solutionChangeData)
        return false;
    data = m_solutionChangeData->Get();
    return true;
}

TaggedEntity* Interaction::FindTaggedEntityById(int id) const
{
    return m_tagManager ? m_tagManager->FindTaggedEntityById(id) : nullptr;
}

int Interaction::FixEntityIdsAfterLoad(int fileLastEntityId)
{
    const int renumbered = m_tagManager ? m_tagManager->RenumberDuplicateIds() : 0;
    m_entityIdCounter = renumbered > fileLastEntityId ? renumbered : fileLastEntityId;
    return renumbered;
}

bool Interaction::IsKnownObject(const void* pointer) const
{
    if (!pointer)
        return false;
    if (pointer == static_cast<const void*>(this))
        return true;
    if (m_tagManager && m_tagManager->IsRegisteredAddress(pointer))
        return true;
    if (m_rollbackManager && m_rollbackManager->IsMarkState(pointer))
        return true;
    return m_trackingManager && m_trackingManager->IsTrackingData(pointer);
}

}  // namespace QEL
