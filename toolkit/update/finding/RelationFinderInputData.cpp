// The entity sets of a find: de-duplication, the blend test, and the environment built from
// the selection, the instances and the datum entities.
#include "update/finding/RelationFinderInputData.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "model/references/Reference.h"
#include "update/autoconstraint/AutoConstraintRecords.h"
#include "update/finding/RelationFinder.h"

#include <algorithm>
#include <map>

namespace QEL {

namespace {

// 0: nothing; 3: only bare topology (no Instance, no geometry); 4: only entries with an
// Instance or geometry; 2: both sorts.
int InputKind(const std::vector<FinderInputKey>& keys)
{
    bool bare = false, placed = false;
    for (const FinderInputKey& key : keys)
        (!key.second && !IsGeometry(key.first) ? bare : placed) = true;
    if (bare && placed)
        return 2;
    return bare ? 3 : placed ? 4 : 0;
}

bool IsSurfaceNeverABlend(int classCode)
{
    return classCode == KernelClassPlane || classCode == KernelClassCylinder ||
           classCode == KernelClassCone || classCode == 4011;
}

}  // namespace

void RelationFinderInputData::ClearData()
{
    m_entries.clear();
    m_keys.clear();
}

void RelationFinderInputData::AddEntry(Instance* instance, int entity)
{
    if (m_keys.insert({entity, instance}).second)
        m_entries.push_back(MakeYSKPointer(entity, instance));
}

void RelationFinderInputData::AddEntryUnlessBlend(Instance* instance, int entity)
{
    if (IsFace(entity) && !IsSurfaceNeverABlend(GetGeometryClassOfTopology(entity)) &&
        m_interaction &&
        IdentifyBlendFace(entity, m_interaction->GetModellingTolerance(),
                          m_interaction->GetIncludeMutuallyDependentBlends(), nullptr))
        return;
    AddEntry(instance, entity);
}

void RelationFinderInputData::AddBodyEntities(int body, const std::vector<int>& entities)
{
    if (entities.empty()) {
        AddEntry(nullptr, body);
        return;
    }
    for (int entity : entities)
        AddEntryUnlessBlend(nullptr, entity);
}

void RelationFinderInputData::AddInstanceEntities(Instance* instance,
                                                  const std::vector<int>& entities)
{
    if (!instance)
        return;
    if (entities.empty()) {
        AddEntry(instance, instance->GetBodyTag());
        return;
    }
    for (int entity : entities)
        AddEntryUnlessBlend(instance, entity);
}

ResultType RelationFinderInputData::GenerateInitialYSKVaryArray()
{
    if (!m_entries.empty() || !m_interaction)
        return ResultTypeOk;
    for (Reference* reference : m_interaction->GetSelectedReferences())
        if (reference)
            AddEntryUnlessBlend(reference->GetInstance(), reference->GetEntityTag());
    return ResultTypeOk;
}

ResultType RelationFinderInputData::GenerateInitialYSKVaryArray(
    const std::vector<FinderInputKey>& keys)
{
    for (const FinderInputKey& key : keys)
        AddEntry(key.second, key.first);
    return ResultTypeOk;
}

ResultType RelationFinderInputData::GenerateInitialYSKEnvironmentArray(
    const RelationFinderInputData* vary)
{
    if (!m_entries.empty())
        return ResultTypeOk;
    if (!m_interaction)
        return ResultTypeFail;
    RelationFinder* finder = RelationFinder::Of(m_interaction);

    // Datum entities filed under their owning bodies, in the order met; free entities.
    std::vector<Reference*> datum, freeStanding;
    m_interaction->CollectDatumReferences(datum, freeStanding);
    std::map<int, std::vector<int>> datumByBody;
    for (Reference* reference : datum) {
        if (finder && (finder->IsPrincipalPlane(reference) || finder->IsSymmetryPlane(reference) ||
                       finder->IsCoPlaxisReference(reference)))
            continue;
        datumByBody[GetOwningBody(reference->GetEntityTag())].push_back(reference->GetEntityTag());
    }

    std::vector<FinderInputKey> varyKeys;
    if (vary)
        for (const YSK_pointer_s& entry : vary->GetData())
            varyKeys.emplace_back(entry.entity, InstanceOfEntry(entry));
    else
        for (Reference* reference : m_interaction->GetSelectedReferences())
            if (reference)
                varyKeys.emplace_back(reference->GetEntityTag(), reference->GetInstance());
    std::vector<int> varyGeometry;
    for (const FinderInputKey& key : varyKeys)
        if (!key.second && IsGeometry(key.first))
            varyGeometry.push_back(key.first);

    const int kind = InputKind(varyKeys);
    if (kind == 4 || kind == 2) {
        for (Instance* instance : m_interaction->GetInstances()) {
            AddEntry(instance, instance->GetBodyTag());
            const auto filed = datumByBody.find(instance->GetBodyTag());
            if (filed != datumByBody.end())
                for (int entity : filed->second)
                    AddEntry(instance, entity);
        }
        for (Reference* reference : freeStanding) {
            const int entity = reference->GetEntityTag();
            if (std::find(varyGeometry.begin(), varyGeometry.end(), entity) == varyGeometry.end())
                AddEntry(nullptr, entity);
        }
    }
    if (kind == 3 || kind == 2) {
        std::set<int> bodies;
        for (const FinderInputKey& key : varyKeys)
            if (!key.second)
                if (const int body = GetOwningBody(key.first))
                    bodies.insert(body);
        for (int body : bodies) {
            AddEntry(nullptr, body);
            const auto filed = datumByBody.find(body);
            if (filed != datumByBody.end())
                for (int entity : filed->second)
                    AddEntry(nullptr, entity);
        }
    }
    return kind == 0 ? ResultTypeFail : ResultTypeOk;
}

void RelationFinderInputData::AddBodyLevelEntitiesOf(const RelationFinderInputData& other,
                                                     const FinderInputKeySet& leftOut)
{
    for (const YSK_pointer_s& entry : other.m_entries)
        if (!leftOut.count({entry.entity, nullptr}))
            AddEntry(nullptr, entry.entity);
}

void RelationFinderInputData::AddEntryWithInstancesOf(int entity,
                                                      const RelationFinderInputData& other,
                                                      const FinderInputKeySet& leftOut)
{
    if (!leftOut.count({entity, nullptr}))
        AddEntry(nullptr, entity);
    const int body = GetOwningBody(entity);
    std::set<Instance*> seen;
    for (const YSK_pointer_s& entry : other.m_entries) {
        Instance* instance = InstanceOfEntry(entry);
        if (!instance || !seen.insert(instance).second || instance->GetBodyTag() != body)
            continue;
        if (!leftOut.count({entity, instance}))
            AddEntry(instance, entity);
    }
}

void RelationFinderInputData::AddEntriesOf(const RelationFinderInputData& other,
                                           const FinderInputKeySet& leftOut)
{
    for (const YSK_pointer_s& entry : other.m_entries) {
        if (!leftOut.count({entry.entity, InstanceOfEntry(entry)}))
            AddEntry(InstanceOfEntry(entry), entry.entity);
        if (!leftOut.count({entry.entity, nullptr}))
            AddEntry(nullptr, entry.entity);
    }
}

void RelationFinderInputData::RemoveBodyLevelDuplicates()
{
    std::set<int> placed;
    for (const YSK_pointer_s& entry : m_entries)
        if (entry.instance)
            placed.insert(entry.entity);
    std::vector<YSK_pointer_s> kept;
    m_keys.clear();
    for (const YSK_pointer_s& entry : m_entries) {
        if (!entry.instance && placed.count(entry.entity))
            continue;
        kept.push_back(entry);
        m_keys.insert({entry.entity, InstanceOfEntry(entry)});
    }
    m_entries.swap(kept);
}

}  // namespace QEL
