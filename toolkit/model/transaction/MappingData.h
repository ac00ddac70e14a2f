#pragma once
// How kernel entities were replaced: (old tag, new tag) pairs, where old tag 0 marks an entity
// an operation created and new tag 0 one it removed. Entries are ordered by old tag, and among
// equal old tags by the order they were added; an index counts entries in that order from 0.
// Found through its tag only; not written to files.

#include "core/objects/Object.h"

#include <map>
#include <set>

namespace QEL {

class QEL_API MappingData : public SavedObject<MappingData, Object> {
public:
    // Records the creation when given an interaction.
    explicit MappingData(Interaction* interaction);
    ~MappingData() override;

    virtual const char* GetClassName() const { return "MappingData"; }

    // Recorded; after the entries with the same old tag. An equal pair is added again.
    void AddEntry(int oldTag, int newTag);
    int GetEntryCount() const { return static_cast<int>(m_Mappings.size()); }
    // Writes through the pointers that are not null; nothing for an index not below the
    // count. The walk starts at the first entry, so a negative index names the first entry.
    void GetEntry(int index, int* oldTag, int* newTag) const;
    // Recorded; the same indexing as GetEntry, nothing (and no record) for an index not
    // below the count.
    void RemoveEntry(int index);
    // The new tag of the first entry with the old tag; false, output untouched, when none.
    bool FindEntry(int oldTag, int* newTag) const;
    // Adds the new tag of every entry with the old tag.
    void FindEntries(int oldTag, std::set<int>& newTags) const;
    // Recorded when there are entries.
    void Clear();
    // Makes this mapping map from the old tags of first: the entries (b, c) of this mapping
    // whose old tag is the new tag of an entry (a, b) of first become (a, c); an old tag an
    // earlier entry of first has consumed has nothing left for later ones. Not recorded: the
    // callers have recorded this mapping before. Nothing for null.
    void Compose(MappingData* first);
    // Appends the entries to the feature dump while it is switched on.
    void Dump();

private:
    std::multimap<int, int>::const_iterator EntryAt(int index) const;
    void CopyState(const MappingData& from) { m_Mappings = from.m_Mappings; }

    std::multimap<int, int> m_Mappings;

    friend class SavedState<MappingData, Object>;
};

}  // namespace QEL
