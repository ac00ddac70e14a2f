#include "model/transaction/MappingData.h"

#include "core/objects/EntityCasts.h"
#include "model/features/FeatureDump.h"

#include <vector>

namespace QEL {

MappingData::MappingData(Interaction* interaction) : SavedObject(interaction)
{
    SetType(ObjectTypeMappingData);
    if (interaction)
        RecordCreated();
}

MappingData::~MappingData() = default;

void MappingData::AddEntry(int oldTag, int newTag)
{
    RecordModified();
    // Inserting at the upper bound keeps the entries of one old tag in the order added.
    m_Mappings.insert(m_Mappings.upper_bound(oldTag), {oldTag, newTag});
}

std::multimap<int, int>::const_iterator MappingData::EntryAt(int index) const
{
    auto entry = m_Mappings.begin();
    for (int step = 0; step < index; ++step)
        ++entry;
    return entry;
}

void MappingData::GetEntry(int index, int* oldTag, int* newTag) const
{
    if (index >= GetEntryCount() || m_Mappings.empty())
        return;
    const auto entry = EntryAt(index);
    if (oldTag)
        *oldTag = entry->first;
    if (newTag)
        *newTag = entry->second;
}

void MappingData::RemoveEntry(int index)
{
    if (index >= GetEntryCount() || m_Mappings.empty())
        return;
    RecordModified();
    m_Mappings.erase(EntryAt(index));
}

bool MappingData::FindEntry(int oldTag, int* newTag) const
{
    const auto entry = m_Mappings.find(oldTag);
    if (entry == m_Mappings.end())
        return false;
    if (newTag)
        *newTag = entry->second;
    return true;
}

void MappingData::FindEntries(int oldTag, std::set<int>& newTags) const
{
    const auto range = m_Mappings.equal_range(oldTag);
    for (auto entry = range.first; entry != range.second; ++entry)
        newTags.insert(entry->second);
}

void MappingData::Clear()
{
    if (m_Mappings.empty())
        return;
    RecordModified();
    m_Mappings.clear();
}

void MappingData::Compose(MappingData* first)
{
    if (!first)
        return;
    std::vector<std::pair<int, int>> composed;
    for (const auto& [oldTag, middle] : first->m_Mappings) {
        const auto range = m_Mappings.equal_range(middle);
        for (auto entry = range.first; entry != range.second; ++entry)
            composed.emplace_back(oldTag, entry->second);
        m_Mappings.erase(range.first, range.second);
    }
    for (const auto& [oldTag, newTag] : composed)
        m_Mappings.insert(m_Mappings.upper_bound(oldTag), {oldTag, newTag});
}

void MappingData::Dump()
{
    FILE* file = OpenFeatureDump();
    if (!file)
        return;
    std::fprintf(file, "\nMappingData Tag: %d\nMappings : ", GetTag());
    for (const auto& [oldTag, newTag] : m_Mappings)
        std::fprintf(file, "%d -> %d, ", oldTag, newTag);
    std::fprintf(file, "\n");
    std::fclose(file);
}

QEL_INSTALL_ENTITY_CASTS(MappingData)

}  // namespace QEL
