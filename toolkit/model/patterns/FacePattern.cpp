// What every face pattern shares: its occurrence bookkeeping, the links to its references, and
// the pieces of validity, comparison and the file form that the three kinds have in common.
#include "model/patterns/FacePattern.h"

#include "core/objects/EntityCasts.h"
#include "core/objects/EntityComparison.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"

#include <algorithm>

namespace QEL {

FacePattern::FacePattern(Interaction* interaction, ObjectType type) : SavedState(interaction)
{
    SetType(type);
    if (interaction)
        RecordCreated();
}

FacePattern::~FacePattern() = default;

QEL_INSTALL_ENTITY_CASTS(FacePattern)

void FacePattern::CopyState(const FacePattern& from)
{
    m_Occurrences = from.m_Occurrences;
    m_RigidOccurrences = from.m_RigidOccurrences;
}

void FacePattern::Link(Reference* reference)
{
    if (reference)
        reference->AddDependent(this);
}

void FacePattern::Unlink(Reference* reference)
{
    if (reference)
        reference->RemoveDependent(this);
}

void FacePattern::LinkOccurrence(const FacePatternOccurrence& occurrence)
{
    for (Reference* reference : occurrence)
        Link(reference);
}

void FacePattern::UnlinkOccurrence(const FacePatternOccurrence& occurrence)
{
    for (Reference* reference : occurrence)
        Unlink(reference);
}

void FacePattern::RemoveReference(Reference* reference)
{
    if (!reference)
        return;
    for (int i = 0; i < GetOccurrenceCount(); ++i) {
        FacePatternOccurrence& occurrence = m_Occurrences[i];
        auto entry = std::find(occurrence.begin(), occurrence.end(), reference);
        if (entry == occurrence.end())
            continue;
        RecordModified();
        Unlink(reference);
        *entry = nullptr;
        if (std::all_of(occurrence.begin(), occurrence.end(), [](Reference* r) { return !r; }))
            ClearOccurrence(i);
        return;
    }
}

bool FacePattern::CheckOccurrenceReferences(std::vector<TaggedEntity*>& badObjects,
                                            std::vector<InvalidityType>& codes)
{
    for (const FacePatternOccurrence& occurrence : m_Occurrences)
        for (Reference* reference : occurrence)
            CheckReferencePointerValidity(reference, badObjects, codes);
    return badObjects.empty();
}

bool FacePattern::ClearOccurrence(int index)
{
    if (!IsOccurrenceIndex(index))
        return false;
    UnlinkOccurrence(m_Occurrences[index]);
    m_Occurrences[index].clear();
    return true;
}

void FacePattern::GetDefiningReferences(std::vector<Reference*>&) {}

void FacePattern::SetRigidOccurrences(bool rigid)
{
    if (rigid == m_RigidOccurrences)
        return;
    RecordModified();
    m_RigidOccurrences = rigid;
}

bool FacePattern::GetOccurrence(int index, std::vector<Reference*>& out) const
{
    if (!IsOccurrenceIndex(index))
        return false;
    out = m_Occurrences[index];
    return true;
}

bool FacePattern::GetOccurrenceReferences(int index, std::vector<Reference*>& out) const
{
    if (!IsOccurrenceIndex(index) || m_Occurrences[index].empty())
        return false;
    out.clear();
    for (Reference* reference : m_Occurrences[index])
        if (reference)
            out.push_back(reference);
    return true;
}

bool FacePattern::IsOccurrenceEmpty(int index) const
{
    return !IsOccurrenceIndex(index) || m_Occurrences[index].empty();
}

std::vector<Reference*> FacePattern::GetAllReferences(bool includeNulls) const
{
    std::vector<Reference*> all;
    for (const FacePatternOccurrence& occurrence : m_Occurrences)
        for (Reference* reference : occurrence)
            if (reference || includeNulls)
                all.push_back(reference);
    return all;
}

bool FacePattern::GetCorrespondingReferences(int entityTag, int* position,
                                             std::vector<Reference*>& out, bool includeNulls) const
{
    int found = -1;
    for (const FacePatternOccurrence& occurrence : m_Occurrences) {
        for (size_t j = 0; j < occurrence.size() && found < 0; ++j)
            if (occurrence[j] && occurrence[j]->GetEntityTag() == entityTag)
                found = static_cast<int>(j);
        if (found >= 0)
            break;
    }
    if (position)
        *position = found;
    if (found < 0)
        return false;
    for (const FacePatternOccurrence& occurrence : m_Occurrences) {
        Reference* entry =
            static_cast<int>(occurrence.size()) > found ? occurrence[found] : nullptr;
        if (entry || includeNulls)
            out.push_back(entry);
    }
    return !out.empty();
}

void FacePattern::ReplaceOccurrence(int index, const std::vector<Reference*>& references)
{
    UnlinkOccurrence(m_Occurrences[index]);
    const bool onlyNulls =
        std::all_of(references.begin(), references.end(), [](Reference* r) { return !r; });
    m_Occurrences[index] = onlyNulls ? FacePatternOccurrence() : references;
    LinkOccurrence(m_Occurrences[index]);
}

void FacePattern::KeepOccurrences(const std::vector<int>& indexes)
{
    std::vector<FacePatternOccurrence> kept;
    for (int index : indexes)
        if (IsOccurrenceIndex(index))
            kept.push_back(m_Occurrences[index]);
    for (int i = 0; i < GetOccurrenceCount(); ++i)
        if (std::find(indexes.begin(), indexes.end(), i) == indexes.end())
            UnlinkOccurrence(m_Occurrences[i]);
    m_Occurrences.swap(kept);
}

void FacePattern::DestroyPattern()
{
    for (const FacePatternOccurrence& occurrence : m_Occurrences)
        UnlinkOccurrence(occurrence);
    std::vector<Reference*> defining;
    GetDefiningReferences(defining);
    for (Reference* reference : defining)
        Unlink(reference);
    TaggedEntity::Destroy();
}

bool FacePattern::CheckPatternValidity(ObjectType type, std::vector<TaggedEntity*>& badObjects,
                                       std::vector<InvalidityType>& codes)
{
    Object::CheckValidity(badObjects, codes);
    CheckOccurrenceReferences(badObjects, codes);
    std::vector<Reference*> defining;
    GetDefiningReferences(defining);
    for (Reference* reference : defining)
        CheckReferencePointerValidity(reference, badObjects, codes);
    if (GetType() != type) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    return badObjects.empty();
}

bool FacePattern::AreOccurrencesEqual(FacePattern* other) const
{
    if (GetOccurrenceCount() != other->GetOccurrenceCount())
        return false;
    for (int i = 0; i < GetOccurrenceCount(); ++i)
        if (!AreEntityVectorsEqual(m_Occurrences[i], other->m_Occurrences[i]))
            return false;
    return true;
}

bool FacePattern::DoIOOccurrenceReferences(XMLIO& xmlio, std::vector<Reference*>& references)
{
    return DoIOReferencePtrs(xmlio, "OccRef", references, GetInteraction());
}

bool FacePattern::DoIODefiningReference(XMLIO& xmlio, const char* name, Reference*& reference,
                                        int count)
{
    if (!DoIOReferencePtr(xmlio, name, reference, GetInteraction()))
        return false;
    if (!xmlio.IsReading())
        return true;
    // A pattern of several copies cannot stand without the line it steps along; one saved so
    // is refused rather than loaded half-defined.
    if (!reference)
        return count < 2;
    Link(reference);
    return true;
}

bool FacePattern::IsReadCountSane(XMLIO& xmlio, long long count, long long minimum)
{
    // The file says how many occurrences follow; it cannot claim more than it holds.
    return count >= minimum && count <= xmlio.GetChildElementCount("Occurrence");
}

}  // namespace QEL
