#pragma once
// One change of kernel entities as it concerns references: its kind (a TrackingDataType), the
// entities before and after it, and the references it moves. Records come from the tracking
// attribute's callbacks during an add-on call, from the reference groups after it, or from the
// add-on's own track records; the Model that made them owns them.

#include "core/enums/Enums.h"
#include "core/objects/EntityComparison.h"

#include <map>
#include <set>
#include <vector>

namespace QEL {

class Model;
class Reference;
class TrackingData;

// The references a Model destroys after applying its records, in tag order.
using ReferenceDestroySet = std::set<Reference*, TaggedEntityPtrLessThan>;

class ReferenceTrackingRecord {
public:
    ReferenceTrackingRecord(Model* owner, int kind);
    // The kind and the old and new tags of the data; no references.
    ReferenceTrackingRecord(Model* owner, TrackingData* data);

    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }
    std::vector<int>& GetBefore() { return m_before; }
    std::vector<int>& GetAfter() { return m_after; }
    const std::vector<int>& GetBefore() const { return m_before; }
    const std::vector<int>& GetAfter() const { return m_after; }
    const std::vector<Reference*>& GetReferences() const { return m_references; }
    Model* GetOwner() const { return m_owner; }
    void AddBeforeTag(int tag) { m_before.push_back(tag); }
    void AddAfterTag(int tag) { m_after.push_back(tag); }
    void AddReference(Reference* reference) { m_references.push_back(reference); }
    // Kind and tag lists; the references stay.
    void CopyFrom(const ReferenceTrackingRecord& other);
    // The change record takes the kind and the tag lists; SetTrackingData registers the old
    // tags with the record's manager, CopyToTrackingData does not.
    void SetTrackingData(TrackingData& data) const;
    void CopyToTrackingData(TrackingData& data) const;
    // Same kind and the same tags before and after, in any order (both sides are sorted in
    // place).
    bool MatchesTrackingData(TrackingData& data);
    // Sorts both lists in place; out is their union without repeats.
    void GetAllTags(std::vector<int>& out);

    // Tag lists: a -= b (both non-empty), a ∪= b (sorted unless a was empty), and the tags
    // common to both removed from both. Each sorts what it touches.
    static void SubtractTags(std::vector<int>& a, std::vector<int>& b);
    static void UniteTags(std::vector<int>& a, std::vector<int>& b);
    static void RemoveCommonTags(std::vector<int>& a, std::vector<int>& b);

    // Folds a later record about the same entities into this one; always true.
    bool Combine(const ReferenceTrackingRecord& other);
    // Files the record in a map from entity tag to the record that covers it, combining it with
    // the first record already filed under one of its tags.
    static bool MergeIntoTagMap(ReferenceTrackingRecord* record,
                                std::map<int, ReferenceTrackingRecord*>& map);
    // Drops dead entities from after and settles the kind (0 when nothing is left to say).
    void RemoveDeadEntities();
    // Whether the record still tells the application something: simplified in place, not of
    // kind 0, and not already reported by the manager.
    static bool NeedsReport(Model* model, ReferenceTrackingRecord& record);
    // Moves, regroups or condemns the record's references; references to destroy go into the
    // set and are destroyed by the Model once every record is applied. False only for a merge
    // without exactly one survivor.
    bool Apply(ReferenceDestroySet& toDestroy);
    // The relations on the reference use the first candidate on the same instance instead.
    static bool RedirectDependents(Reference* reference, const std::vector<Reference*>& candidates);

private:
    bool ApplyDelete(ReferenceDestroySet& toDestroy);
    bool ApplyMerge(ReferenceDestroySet& toDestroy);
    bool ApplyCreate();
    bool ApplySplit();
    bool ApplyDerive(ReferenceDestroySet& toDestroy);
    void CombineDelete(const ReferenceTrackingRecord& other);
    void CombineMerge(const ReferenceTrackingRecord& other);
    void CombineSplit(const ReferenceTrackingRecord& other);

    int m_kind;
    std::vector<int> m_before;
    std::vector<int> m_after;
    std::vector<Reference*> m_references;
    Model* m_owner;
};

}  // namespace QEL
