#pragma once
// One set of kernel entities handed to the auto-constraint manager's find, held as the
// manager's own entity records, with the rules that decide which entities go in. An entity is
// entered at most once per Instance.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "core/objects/Interaction.h"

#include <ysk.h>

#include <set>
#include <utility>
#include <vector>

namespace QEL {

class Instance;

// (entity tag, Instance or null), ordered by entity, then by Instance with null first.
using FinderInputKey = std::pair<int, Instance*>;
using FinderInputKeySet = std::set<FinderInputKey, ReferenceMapKeyLessThan>;

class QEL_API RelationFinderInputData {
public:
    explicit RelationFinderInputData(Interaction* interaction) : m_interaction(interaction) {}
    ~RelationFinderInputData() = default;
    RelationFinderInputData(const RelationFinderInputData&) = default;
    RelationFinderInputData& operator=(const RelationFinderInputData&) = default;

    Interaction* GetInteraction() const { return m_interaction; }
    std::vector<YSK_pointer_s>& GetData() { return m_entries; }
    const std::vector<YSK_pointer_s>& GetData() const { return m_entries; }
    const FinderInputKeySet& GetKeys() const { return m_keys; }
    bool IsEmpty() const { return m_entries.empty(); }
    bool HasKey(int entity, Instance* instance) const
    {
        return m_keys.count({entity, instance}) != 0;
    }
    void ClearData();

    // Enters the key; appends the entry when it was not there yet.
    void AddEntry(Instance* instance, int entity);
    // Leaves out a face the kernel identifies as a blend, unless it lies on a plane, cylinder,
    // cone or foreign surface.
    void AddEntryUnlessBlend(Instance* instance, int entity);
    // No entities: the body (or Instance's body) itself; else each entity unless a blend.
    void AddBodyEntities(int body, const std::vector<int>& entities);
    void AddInstanceEntities(Instance* instance, const std::vector<int>& entities);

    // Nothing when there are entries already; else the interaction's selected references.
    ResultType GenerateInitialYSKVaryArray();
    // Each key in order, without the blend test.
    ResultType GenerateInitialYSKVaryArray(const std::vector<FinderInputKey>& keys);
    // What the vary entities (or, without vary, the selected references) may relate to: the
    // bodies and datum entities they could meet. Fail when there is nothing to vary.
    ResultType GenerateInitialYSKEnvironmentArray(const RelationFinderInputData* vary);

    // Each distinct entity of other once, without Instance, unless that key is left out.
    void AddBodyLevelEntitiesOf(const RelationFinderInputData& other,
                                const FinderInputKeySet& leftOut);
    // The entity without Instance, then with each distinct Instance of other whose body owns
    // it; keys left out are skipped.
    void AddEntryWithInstancesOf(int entity, const RelationFinderInputData& other,
                                 const FinderInputKeySet& leftOut);
    // Each entry of other as it is, then its entity without Instance; keys left out skipped.
    void AddEntriesOf(const RelationFinderInputData& other, const FinderInputKeySet& leftOut);
    // Drops each entry without Instance whose entity also has an entry with one.
    void RemoveBodyLevelDuplicates();

private:
    Interaction* m_interaction;
    std::vector<YSK_pointer_s> m_entries;
    FinderInputKeySet m_keys;
};

// Instance of an entry.
inline Instance* InstanceOfEntry(const YSK_pointer_s& entry)
{
    return static_cast<Instance*>(entry.instance);
}

}  // namespace QEL
