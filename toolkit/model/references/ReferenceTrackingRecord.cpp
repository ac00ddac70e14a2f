#include "model/references/ReferenceTrackingRecord.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "model/transaction/Model.h"

#include <algorithm>
#include <iterator>

namespace QEL {

namespace {

void SortUnique(std::vector<int>& tags)
{
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
}

// Whether a change record registered under one of the record's before tags already tells the
// same change.
bool IsAlreadyReported(const TrackingManager& manager, ReferenceTrackingRecord& record)
{
    const std::vector<int> before = record.GetBefore();
    for (int tag : before)
        if (TrackingData* data = manager.FindDataByOldTag(tag))
            if (record.MatchesTrackingData(*data))
                return true;
    return false;
}

}  // namespace

ReferenceTrackingRecord::ReferenceTrackingRecord(Model* owner, int kind)
    : m_kind(kind), m_owner(owner)
{
}

ReferenceTrackingRecord::ReferenceTrackingRecord(Model* owner, TrackingData* data)
    : m_kind(data->GetType()),
      m_before(data->GetOldTags()),
      m_after(data->GetNewTags()),
      m_owner(owner)
{
}

void ReferenceTrackingRecord::CopyFrom(const ReferenceTrackingRecord& other)
{
    m_kind = other.m_kind;
    m_before = other.m_before;
    m_after = other.m_after;
}

void ReferenceTrackingRecord::GetAllTags(std::vector<int>& out)
{
    std::sort(m_before.begin(), m_before.end());
    std::sort(m_after.begin(), m_after.end());
    out.clear();
    std::set_union(m_before.begin(), m_before.end(), m_after.begin(), m_after.end(),
                   std::back_inserter(out));
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

void ReferenceTrackingRecord::SubtractTags(std::vector<int>& a, std::vector<int>& b)
{
    if (a.empty() || b.empty())
        return;
    SortUnique(a);
    std::sort(b.begin(), b.end());
    std::vector<int> rest;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
    a.swap(rest);
}

void ReferenceTrackingRecord::UniteTags(std::vector<int>& a, std::vector<int>& b)
{
    if (b.empty())
        return;
    if (a.empty()) {
        a = b;
        return;
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<int> united;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(united));
    SortUnique(united);
    a.swap(united);
}

void ReferenceTrackingRecord::RemoveCommonTags(std::vector<int>& a, std::vector<int>& b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<int> common;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(common));
    auto isCommon = [&](int tag) { return std::binary_search(common.begin(), common.end(), tag); };
    a.erase(std::remove_if(a.begin(), a.end(), isCommon), a.end());
    b.erase(std::remove_if(b.begin(), b.end(), isCommon), b.end());
}

void ReferenceTrackingRecord::CombineDelete(const ReferenceTrackingRecord& other)
{
    std::vector<int> gone = other.m_before;
    SubtractTags(m_before, gone);
    SubtractTags(m_after, gone);
    if (!m_after.empty())
        return;
    if (m_kind == TrackingDataTypeMerge || m_kind == TrackingDataTypeDerive) {
        m_kind = TrackingDataTypeDelete;
        m_before.erase(std::remove_if(m_before.begin(), m_before.end(), IsEntity), m_before.end());
    } else {
        m_before.clear();
        m_kind = TrackingDataTypeNone;
    }
}

void ReferenceTrackingRecord::CombineMerge(const ReferenceTrackingRecord& other)
{
    m_kind = TrackingDataTypeDerive;
    std::vector<int> mergedAway = other.m_before;
    std::vector<int> survivors = other.m_after;
    SubtractTags(mergedAway, survivors);
    SubtractTags(m_after, mergedAway);
    UniteTags(m_before, mergedAway);
}

void ReferenceTrackingRecord::CombineSplit(const ReferenceTrackingRecord& other)
{
    m_kind = TrackingDataTypeDerive;
    std::vector<int> pieces = other.m_after;
    UniteTags(m_after, pieces);
    SubtractTags(m_after, m_before);
}

bool ReferenceTrackingRecord::Combine(const ReferenceTrackingRecord& other)
{
    if (m_kind == TrackingDataTypeDelete)
        return true;
    const bool known =
        other.m_kind >= TrackingDataTypeDelete && other.m_kind <= TrackingDataTypeModify;
    if (known && m_kind == TrackingDataTypeNone) {
        CopyFrom(other);
        return true;
    }
    if (m_kind == TrackingDataTypeModify) {
        if (other.m_kind >= TrackingDataTypeDelete && other.m_kind <= TrackingDataTypeSplit)
            CopyFrom(other);
        return true;
    }
    std::vector<int> otherAfter = other.m_after;
    std::vector<int> otherBefore = other.m_before;
    switch (other.m_kind) {
        case TrackingDataTypeDelete:
            CombineDelete(other);
            break;
        case TrackingDataTypeMerge:
            if (m_kind == TrackingDataTypeMerge)
                UniteTags(m_after, otherAfter);
            else
                CombineMerge(other);
            break;
        case TrackingDataTypeCreate:
            m_kind = TrackingDataTypeDerive;
            UniteTags(m_after, otherAfter);
            break;
        case TrackingDataTypeSplit:
            if (m_kind == TrackingDataTypeMerge) {
                m_kind = TrackingDataTypeDerive;
                UniteTags(m_before, otherBefore);
                UniteTags(m_after, otherAfter);
            } else if (m_kind == TrackingDataTypeSplit) {
                UniteTags(m_after, otherAfter);
            } else {
                CombineSplit(other);
            }
            break;
        default:
            break;
    }
    return true;
}

bool ReferenceTrackingRecord::MergeIntoTagMap(ReferenceTrackingRecord* record,
                                              std::map<int, ReferenceTrackingRecord*>& map)
{
    std::vector<int> tags;
    record->GetAllTags(tags);
    ReferenceTrackingRecord* filed = nullptr;
    for (int tag : tags) {
        auto found = map.find(tag);
        if (found != map.end()) {
            filed = found->second;
            break;
        }
    }
    if (!filed) {
        for (int tag : tags)
            map[tag] = record;
        return true;
    }
    std::vector<int> before;
    filed->GetAllTags(before);
    const bool combined = filed->Combine(*record);
    std::vector<int> after;
    filed->GetAllTags(after);
    SubtractTags(before, after);
    for (int tag : before)
        map.erase(tag);
    for (int tag : after)
        map.emplace(tag, filed);
    // A delete keeps its own entries, so that later records about the entity find it.
    if (combined && record->m_kind == TrackingDataTypeDelete)
        for (int tag : tags)
            map[tag] = record;
    return combined;
}

void ReferenceTrackingRecord::RemoveDeadEntities()
{
    m_after.erase(
        std::remove_if(m_after.begin(), m_after.end(), [](int tag) { return !IsEntity(tag); }),
        m_after.end());
    bool checkAfter = m_kind != TrackingDataTypeDelete;
    if (m_kind == TrackingDataTypeMerge && m_before.size() < 2) {
        RemoveCommonTags(m_before, m_after);
        if (m_before.size() == 1 && m_after.size() == 1) {
            m_kind = TrackingDataTypeDerive;
        } else if (m_before.size() == 1 && m_after.empty()) {
            m_kind = TrackingDataTypeDelete;
            checkAfter = false;
        } else {
            m_kind = TrackingDataTypeNone;
        }
    }
    if (checkAfter && m_after.empty())
        m_kind = TrackingDataTypeNone;
    if (m_before.empty() && m_after.empty())
        m_kind = TrackingDataTypeNone;
}

bool ReferenceTrackingRecord::NeedsReport(Model* model, ReferenceTrackingRecord& record)
{
    if (record.m_kind == TrackingDataTypeDelete || record.m_kind == TrackingDataTypeMerge ||
        record.m_kind == TrackingDataTypeDerive) {
        std::vector<Reference*> found;
        record.m_before.erase(
            std::remove_if(record.m_before.begin(), record.m_before.end(),
                           [&](int tag) { return !model->GetReferencesOfEntity(tag, found); }),
            record.m_before.end());
    }
    record.RemoveDeadEntities();
    if (record.m_kind == TrackingDataTypeNone)
        return false;
    Interaction* interaction = model->GetInteraction();
    TrackingManager* manager = interaction ? interaction->GetTrackingManager() : nullptr;
    return !manager || !IsAlreadyReported(*manager, record);
}

bool ReferenceTrackingRecord::Apply(ReferenceDestroySet& toDestroy)
{
    switch (m_kind) {
        case TrackingDataTypeDelete:
            return ApplyDelete(toDestroy);
        case TrackingDataTypeMerge:
            return ApplyMerge(toDestroy);
        case TrackingDataTypeCreate:
            return ApplyCreate();
        case TrackingDataTypeSplit:
            return ApplySplit();
        case TrackingDataTypeDerive:
            return ApplyDerive(toDestroy);
        default:
            return true;
    }
}

bool ReferenceTrackingRecord::ApplyDelete(ReferenceDestroySet& toDestroy)
{
    toDestroy.insert(m_references.begin(), m_references.end());
    return true;
}

bool ReferenceTrackingRecord::ApplyMerge(ReferenceDestroySet& toDestroy)
{
    if (m_after.size() != 1)
        return false;
    const int survivor = m_after.front();
    Interaction* interaction = m_owner ? m_owner->GetInteraction() : nullptr;
    for (Reference* reference : m_references) {
        if (reference->GetEntityTag() == survivor)
            continue;
        std::vector<Reference*> onSurvivor;
        if (m_owner && m_owner->GetReferencesOfEntity(survivor, onSurvivor)) {
            toDestroy.insert(reference);
            RedirectDependents(reference, onSurvivor);
            continue;
        }
        std::vector<Reference*> same;
        if (interaction)
            interaction->FindReferencesOnEntity(survivor, reference->GetInstance(), same);
        if (same.empty())
            reference->ReplaceEntityTag(survivor);
        else
            toDestroy.insert(reference);
    }
    return true;
}

bool ReferenceTrackingRecord::ApplyCreate()
{
    Interaction* interaction = m_owner ? m_owner->GetInteraction() : nullptr;
    for (int tag : m_after) {
        std::vector<int> groups;
        GetOwningGroups(tag, &groups);
        for (int group : groups)
            if (Reference::IsReferenceGroup(interaction, group))
                DeleteEntity(group);
    }
    return true;
}

bool ReferenceTrackingRecord::ApplySplit()
{
    for (Reference* reference : m_references)
        reference->ResetGroup();
    return true;
}

bool ReferenceTrackingRecord::ApplyDerive(ReferenceDestroySet& toDestroy)
{
    for (Reference* reference : m_references) {
        if (IsEntity(reference->GetEntityTag())) {
            reference->ResetGroup();
            ApplyCreate();
        } else if (m_after.size() == 1) {
            std::vector<Reference*> onTarget;
            if (m_owner && m_owner->GetReferencesOfEntity(m_after.front(), onTarget))
                toDestroy.insert(reference);
            else
                reference->ReplaceEntityTag(m_after.front());
        } else {
            toDestroy.insert(reference);
        }
    }
    return true;
}

bool ReferenceTrackingRecord::RedirectDependents(Reference* reference,
                                                 const std::vector<Reference*>& candidates)
{
    Reference* replacement = nullptr;
    for (Reference* candidate : candidates)
        if (candidate->GetInstance() == reference->GetInstance()) {
            replacement = candidate;
            break;
        }
    if (!replacement)
        return true;
    std::vector<Object*> dependents;
    reference->GetDependents(dependents);
    for (Object* dependent : dependents)
        if (dependent && dependent->GetType() == ObjectTypeRelation)
            if (Relation* relation = DowncastEntity<Relation>(dependent))
                relation->ReplaceReference(reference, replacement);
    return true;
}

// The change records' forms of a reference record.

void ReferenceTrackingRecord::SetTrackingData(TrackingData& data) const
{
    data.SetType(static_cast<TrackingDataType>(m_kind));
    data.GetOldTags().clear();
    for (int tag : m_before)
        data.AddOldTag(tag);
    data.GetNewTags() = m_after;
}

void ReferenceTrackingRecord::CopyToTrackingData(TrackingData& data) const
{
    data.SetType(static_cast<TrackingDataType>(m_kind));
    data.GetOldTags() = m_before;
    data.GetNewTags() = m_after;
}

bool ReferenceTrackingRecord::MatchesTrackingData(TrackingData& data)
{
    if (data.GetType() != m_kind)
        return false;
    std::vector<int>& oldTags = data.GetOldTags();
    std::vector<int>& newTags = data.GetNewTags();
    std::sort(oldTags.begin(), oldTags.end());
    std::sort(m_before.begin(), m_before.end());
    std::sort(newTags.begin(), newTags.end());
    std::sort(m_after.begin(), m_after.end());
    return oldTags == m_before && newTags == m_after;
}

}  // namespace QEL
