#pragma once
// Face patterns: groups of faces of one body that are copies of one another. Each group is an
// occurrence, a list of references with corresponding faces at the same position in every
// occurrence (null where a copy lacks the face). A circular pattern turns its copies about an
// axis line at a fixed angle, a rectangular one steps them over an x/y grid of two line
// directions, and a user-defined one places each copy by a transform of its own. Every non-null
// entry and every defining reference (axis, directions) lists the pattern among its dependents,
// once per entry; the pattern owns none of them.

#include "core/maths/Xform.h"
#include "core/objects/Object.h"

#include <vector>

namespace QEL {

class Position;

using FacePatternOccurrence = std::vector<Reference*>;

class QEL_API FacePattern : public SavedState<FacePattern, SerializableObject> {
public:
    FacePattern(Interaction* interaction, ObjectType type);
    ~FacePattern() override;

    // A face gone from the model: its first entry becomes null, and an occurrence left without
    // references is cleared.
    void RemoveReference(Reference* reference) override;

    virtual std::vector<FacePatternOccurrence>& GetOccurrences() { return m_Occurrences; }
    // Each entry null or a reference of the interaction.
    virtual bool CheckOccurrenceReferences(std::vector<TaggedEntity*>& badObjects,
                                           std::vector<InvalidityType>& codes);
    // Unlinks and empties the occurrence; not recorded (callers record first). False outside.
    virtual bool ClearOccurrence(int index);
    // The axis or the directions; none by default.
    virtual void GetDefiningReferences(std::vector<Reference*>& out);
    // The rigid transform taking occurrence from onto occurrence to.
    virtual bool GetRelativeTransform(int from, int to, Xform& out) = 0;

    void SetRigidOccurrences(bool rigid);
    bool GetRigidOccurrences() const { return m_RigidOccurrences; }
    int GetOccurrenceCount() const { return static_cast<int>(m_Occurrences.size()); }
    bool IsOccurrenceIndex(int index) const { return index >= 0 && index < GetOccurrenceCount(); }
    // A copy, nulls included; false outside.
    bool GetOccurrence(int index, std::vector<Reference*>& out) const;
    // The non-null references; false outside and for an occurrence without entries.
    bool GetOccurrenceReferences(int index, std::vector<Reference*>& out) const;
    bool IsOccurrenceEmpty(int index) const;
    std::vector<Reference*> GetAllReferences(bool includeNulls) const;
    // The entries at the position of the first reference on the entity, one per occurrence;
    // false, position -1, when no occurrence holds it.
    bool GetCorrespondingReferences(int entityTag, int* position, std::vector<Reference*>& out,
                                    bool includeNulls) const;

protected:
    void Link(Reference* reference);
    void Unlink(Reference* reference);
    void LinkOccurrence(const FacePatternOccurrence& occurrence);
    void UnlinkOccurrence(const FacePatternOccurrence& occurrence);
    // Replaces the occurrence at the index, relinking; one of only nulls becomes empty.
    void ReplaceOccurrence(int index, const std::vector<Reference*>& references);
    // Keeps the occurrences at the given indexes in that order and unlinks the rest.
    void KeepOccurrences(const std::vector<int>& indexes);
    // Unlinks every occurrence entry and the defining references, then leaves the interaction.
    void DestroyPattern();
    // The common part of validity: occurrences, defining references, the class's type.
    bool CheckPatternValidity(ObjectType type, std::vector<TaggedEntity*>& badObjects,
                              std::vector<InvalidityType>& codes);
    // Pairwise equal occurrences.
    bool AreOccurrencesEqual(FacePattern* other) const;
    // One "Occurrence" child's "OccRef" list; the element is entered by the caller.
    bool DoIOOccurrenceReferences(XMLIO& xmlio, std::vector<Reference*>& references);
    // A defining reference: on reading it is linked; a null one fails when needed (count >= 2).
    bool DoIODefiningReference(XMLIO& xmlio, const char* name, Reference*& reference, int count);
    // A count read from a file: within [minimum, number of "Occurrence" children].
    static bool IsReadCountSane(XMLIO& xmlio, long long count, long long minimum);

    std::vector<FacePatternOccurrence> m_Occurrences;
    bool m_RigidOccurrences = false;

private:
    // What every kind saves: the occurrences and whether they move rigidly.
    void CopyState(const FacePattern& from);

    friend class SavedState<FacePattern, SerializableObject>;
};

class QEL_API CircularFacePattern : public SavedObject<CircularFacePattern, FacePattern> {
public:
    explicit CircularFacePattern(Interaction* interaction);

    static CircularFacePattern* CreateOpen(Interaction* interaction, std::vector<Reference*>& first,
                                           int count, double spacing, Reference* axis);
    // Spacing 2 pi / count, 0 below two occurrences.
    static CircularFacePattern* CreateClosed(Interaction* interaction,
                                             std::vector<Reference*>& first, int count,
                                             Reference* axis);
    static CircularFacePattern* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    // Test hooks: a pattern spoilt with a pointer that is no reference (kind 0 in an
    // occurrence, 1 as the axis); destroyed without unlinking.
    static CircularFacePattern* CreateInvalid(Interaction* interaction, int kind);
    void DestroyInvalid();
    static constexpr const char* s_className = "CircularFacePattern";

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    // Losing the axis collapses the pattern to its first occurrence.
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;
    void GetDefiningReferences(std::vector<Reference*>& out) override;
    // The rotation about the axis by (to - from) spacings; false without an axis.
    bool GetRelativeTransform(int from, int to, Xform& out) override;

    bool SetOccurrence(std::vector<Reference*>& references, int index);
    // False without an axis.
    bool SetSpacing(double spacing);
    bool GetAxis(Position* location, Dir* direction) const;
    double GetSpacing() const { return m_Spacing; }
    bool GetIsClosed() const { return m_IsClosed; }
    Reference* GetAxisReference() const { return m_AxisRef; }

private:
    static CircularFacePattern* Make(Interaction* interaction, std::vector<Reference*>& first,
                                     int count, double spacing, bool closed, Reference* axis);
    // Spacing, closure and axis.
    void CopyState(const CircularFacePattern& from);

    double m_Spacing = 0.0;
    bool m_IsClosed = false;
    Reference* m_AxisRef = nullptr;

    friend class SavedState<CircularFacePattern, FacePattern>;
};

class QEL_API RectangularFacePattern : public SavedObject<RectangularFacePattern, FacePattern> {
public:
    explicit RectangularFacePattern(Interaction* interaction);

    // A count below 1 becomes 1 with spacing 0.
    static RectangularFacePattern* Create(Interaction* interaction, std::vector<Reference*>& first,
                                          int xCount, int yCount, double xSpacing, double ySpacing,
                                          Reference* xDir, Reference* yDir);
    static RectangularFacePattern* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    // Test hooks: kind 0 spoils an occurrence, 1 the x direction, 2 the y direction.
    static RectangularFacePattern* CreateInvalid(Interaction* interaction, int kind);
    void DestroyInvalid();
    static constexpr const char* s_className = "RectangularFacePattern";

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    // Losing a direction keeps the first column (x) or row (y).
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;
    void GetDefiningReferences(std::vector<Reference*>& out) override;
    // The grid step between the two cells; a missing direction contributes nothing.
    bool GetRelativeTransform(int from, int to, Xform& out) override;

    // xCount * y + x inside the grid, else -1.
    int GetOccurrenceNum(int x, int y) const;
    bool SetOccurrence(std::vector<Reference*>& references, int x, int y);
    bool SetXSpacing(double spacing);
    bool SetYSpacing(double spacing);
    bool GetXDir(Dir& direction) const;
    bool GetYDir(Dir& direction) const;
    int GetXCount() const { return m_XCount; }
    int GetYCount() const { return m_YCount; }
    double GetXSpacing() const { return m_XSpacing; }
    double GetYSpacing() const { return m_YSpacing; }
    Reference* GetXDirectionReference() const { return m_XDirRef; }
    Reference* GetYDirectionReference() const { return m_YDirRef; }

private:
    // Grid counts, spacings and directions.
    void CopyState(const RectangularFacePattern& from);

    int m_XCount = 1;
    int m_YCount = 1;
    double m_XSpacing = 0.0;
    double m_YSpacing = 0.0;
    Reference* m_XDirRef = nullptr;
    Reference* m_YDirRef = nullptr;

    friend class SavedState<RectangularFacePattern, FacePattern>;
};

class QEL_API UserDefinedFacePattern : public SavedObject<UserDefinedFacePattern, FacePattern> {
public:
    explicit UserDefinedFacePattern(Interaction* interaction);

    // The seed under the identity.
    static UserDefinedFacePattern* Create(Interaction* interaction, std::vector<Reference*>& first);
    static UserDefinedFacePattern* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    static UserDefinedFacePattern* CreateInvalid(Interaction* interaction);
    void DestroyInvalid();
    static constexpr const char* s_className = "UserDefinedFacePattern";

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    bool DoIO(XMLIO& xmlio) override;
    // A cleared occurrence is removed with its transform.
    bool ClearOccurrence(int index) override;
    // transform[to] after the inverse of transform[from].
    bool GetRelativeTransform(int from, int to, Xform& out) override;

    // False when the counts of occurrences and transforms differ or the entry count is not
    // that of occurrence 0.
    bool AddOccurrence(std::vector<Reference*>& references, const Xform& xform);
    // Null outside.
    const FacePatternOccurrence* GetOccurrenceRefs(int index) const;
    const Xform* GetOccurrenceXform(int index) const;
    void SetOccurrenceXform(int index, const Xform& xform);
    // Removes the occurrence; removing the seed makes occurrence 1 the new seed and re-bases
    // the later transforms on it. ResultTypeBadArgument outside.
    ResultType DivorceOccurrence(int index);

private:
    // One transform per occurrence.
    void CopyState(const UserDefinedFacePattern& from)
    {
        m_OccurrenceXforms = from.m_OccurrenceXforms;
    }

    std::vector<Xform> m_OccurrenceXforms;

    friend class SavedState<UserDefinedFacePattern, FacePattern>;
};

}  // namespace QEL
