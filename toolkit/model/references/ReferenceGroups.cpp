// What a reference does through its kernel group: finding references by entity or body,
// keeping one behaviour per entity, and classifying what a kernel operation did to its group.
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceTrackingRecord.h"

#include <algorithm>

namespace QEL {

namespace {

// The reference named by the first reference attribute on the kernel entity; null when none.
Reference* FirstReferenceOn(Interaction* interaction, int entity)
{
    std::vector<int> attributes;
    GetEntityAttributes(entity, interaction ? interaction->GetReferenceAttDefTag() : 0,
                        &attributes);
    if (attributes.empty() || !interaction || interaction->GetReferenceAttDefTag() == 0)
        return nullptr;
    return Reference::GetReferenceFromAttribute(interaction, attributes.front());
}

// The pointers of the reference attributes in the body's part that hold exactly one.
std::vector<std::pair<int, Reference*>> ReferenceAttributesOfBody(Interaction* interaction,
                                                                  int body)
{
    std::vector<std::pair<int, Reference*>> found;
    const int definition = interaction ? interaction->GetReferenceAttDefTag() : 0;
    if (definition == 0)
        return found;
    std::vector<int> attributes;
    GetPartAttributes(body, definition, &attributes);
    for (int attribute : attributes) {
        std::vector<void*> pointers;
        GetNamedPointers(attribute, Reference::GetReferencePointerFieldName(), &pointers);
        if (pointers.size() == 1)
            found.emplace_back(attribute, static_cast<Reference*>(pointers.front()));
    }
    return found;
}

}  // namespace

void Reference::FindInteractionReferences(Interaction* interaction, int entity,
                                          std::vector<Reference*>& out, bool firstOnly)
{
    out.clear();
    if (!interaction || !IsEntity(entity))
        return;
    std::vector<int> groups;
    GetOwningGroups(entity, &groups);
    for (int group : groups) {
        Reference* reference = FirstReferenceOn(interaction, group);
        if (!reference || reference->GetInteraction() != interaction)
            continue;
        out.push_back(reference);
        if (firstOnly)
            return;
    }
}

bool Reference::FindBehaviourForEntity(Interaction* interaction, int entity,
                                       ReferenceBehaviour& out)
{
    std::vector<Reference*> found;
    FindInteractionReferences(interaction, entity, found, true);
    if (found.empty())
        return false;
    out = found.front()->GetBehaviour();
    return true;
}

void Reference::FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                                       std::vector<int>& groups)
{
    const int definition = interaction ? interaction->GetReferenceAttDefTag() : 0;
    if (definition == 0)
        return;
    std::vector<int> attributes;
    GetPartAttributes(body, definition, &attributes);
    for (int attribute : attributes)
        groups.push_back(GetAttributeOwner(attribute));
}

void Reference::FindInteractionReferencesForBody(Interaction* interaction, int body,
                                                 std::vector<Reference*>& out)
{
    for (const auto& entry : ReferenceAttributesOfBody(interaction, body))
        out.push_back(entry.second);
}

void Reference::FindReferenceAttributesOnBody(Reference* reference, int body,
                                              std::vector<int>& attributes)
{
    if (!reference)
        return;
    for (const auto& entry : ReferenceAttributesOfBody(reference->GetInteraction(), body))
        if (entry.second == reference)
            attributes.push_back(entry.first);
}

bool Reference::IsReferenceGroup(Interaction* interaction, int tag)
{
    const int definition = interaction ? interaction->GetReferenceAttDefTag() : 0;
    if (definition == 0)
        return false;
    std::vector<int> attributes;
    GetEntityAttributes(tag, definition, &attributes);
    return !attributes.empty();
}

Reference* Reference::GetReferenceFromGroup(Interaction* interaction, int group)
{
    return FirstReferenceOn(interaction, group);
}

void Reference::FindSameEntityReferences(bool alsoUninstanced, std::vector<Reference*>& out) const
{
    Interaction* interaction = const_cast<Reference*>(this)->GetInteraction();
    if (!interaction)
        return;
    interaction->FindReferencesOnEntity(m_entity, m_instance, out);
    if (alsoUninstanced && m_instance)
        interaction->FindReferencesOnEntity(m_entity, nullptr, out);
}

int Reference::ResetGroup()
{
    const int group = GetGroup();
    EmptyGroup(group);
    return BQ_GROUP_add_entities(group, 1, &m_entity);
}

void Reference::SetBehaviour(ReferenceBehaviour behaviour)
{
    std::vector<Reference*> found;
    SetBehaviourOnEntity(behaviour, found);
    Interaction* interaction = GetInteraction();
    if (!interaction || interaction->GetFeatures().empty())
        return;
    std::vector<Feature*> features;
    for (Reference* reference : found) {
        std::vector<Feature*> used;
        reference->GetFeatures(used);
        for (Feature* feature : used)
            if (std::find(features.begin(), features.end(), feature) == features.end())
                features.push_back(feature);
    }
    SpreadBehaviourThroughFeatures(this, features, behaviour);
}

void Reference::SetBehaviourOnEntity(ReferenceBehaviour behaviour, std::vector<Reference*>& found)
{
    FindInteractionReferences(GetInteraction(), m_entity, found, false);
    for (Reference* reference : found) {
        reference->RecordModified();
        reference->m_behaviour = behaviour;
    }
}

bool Reference::GatherEntityGroups(int group, int entity, std::set<int>& entities,
                                   std::vector<int>& groups)
{
    Interaction* interaction = GetInteraction();
    std::vector<int> owners;
    GetOwningGroups(entity, &owners);
    std::set<int> seen{m_entity};
    groups.push_back(group);
    entities.insert(m_entity);
    for (int owner : owners) {
        Reference* reference = FirstReferenceOn(interaction, owner);
        if (!reference || seen.count(reference->GetEntityTag()) != 0)
            continue;
        groups.push_back(owner);
        seen.insert(reference->GetEntityTag());
        entities.insert(reference->GetEntityTag());
    }
    return true;
}

bool Reference::TrackGroupChanges(ReferenceTrackingRecord& record)
{
    const int group = GetGroup();
    std::vector<int> members;
    GetGroupEntities(group, &members);
    std::set<int> entities;
    std::vector<std::vector<int>> memberGroups(members.size());
    for (size_t i = 0; i < members.size(); ++i)
        GatherEntityGroups(group, members[i], entities, memberGroups[i]);

    auto holdsOneEntity = [](int g) {
        std::vector<int> held;
        GetGroupEntities(g, &held);
        return held.size() == 1;
    };
    auto allHoldOne = [&](const std::vector<int>& list) {
        return std::all_of(list.begin(), list.end(), holdsOneEntity);
    };
    const bool ownAmongMembers =
        std::find(members.begin(), members.end(), m_entity) != members.end();

    if (members.size() == 1 && members.front() == m_entity && memberGroups.front().size() == 1 &&
        memberGroups.front().front() == group)
        return true;  // unchanged: the record stays kind 0
    if (members.empty()) {
        record.SetKind(TrackingDataTypeDelete);
        record.AddBeforeTag(m_entity);
        return true;
    }
    if (members.size() >= 2 && ownAmongMembers &&
        std::all_of(memberGroups.begin(), memberGroups.end(),
                    [](const std::vector<int>& list) { return list.size() == 1; })) {
        record.SetKind(TrackingDataTypeSplit);
        record.AddBeforeTag(m_entity);
        for (int member : members)
            if (member != m_entity)
                record.AddAfterTag(member);
        return true;
    }
    if (members.size() == 1 && members.front() != m_entity && allHoldOne(memberGroups.front())) {
        record.SetKind(TrackingDataTypeMerge);
        record.AddBeforeTag(members.front());
        record.AddBeforeTag(m_entity);
        record.AddAfterTag(members.front());
        return true;
    }
    if (members.size() == 1 && members.front() == m_entity && memberGroups.front().size() > 1 &&
        allHoldOne(memberGroups.front())) {
        std::set<int> merged;
        Interaction* interaction = GetInteraction();
        for (int g : memberGroups.front())
            if (Reference* reference = GetReferenceFromGroup(interaction, g))
                merged.insert(reference->GetEntityTag());
        record.SetKind(TrackingDataTypeMerge);
        for (int tag : merged)
            record.AddBeforeTag(tag);
        record.AddAfterTag(m_entity);
        return true;
    }
    record.SetKind(TrackingDataTypeDerive);
    std::vector<int>& before = record.GetBefore();
    std::vector<int>& after = record.GetAfter();
    before.assign(entities.begin(), entities.end());
    after = members;
    ReferenceTrackingRecord::RemoveCommonTags(before, after);
    before.push_back(m_entity);
    record.RemoveDeadEntities();
    return true;
}

}  // namespace QEL
