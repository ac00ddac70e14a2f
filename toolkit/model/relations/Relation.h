#pragma once
// A geometric relation between the kernel entities of one or more references: a distance, an
// angle, a radius, parallelism, tangency, symmetry, fixing and so on. A dimensional relation
// (distance to minor radius) carries the value the solver holds or drives; it is measured when
// the relation is made. Each reference has the relation among its dependents; the relation
// holds plain pointers and outlives a reference that is destroyed.

#include "core/objects/EntityComparison.h"
#include "core/objects/Object.h"

#include <map>
#include <string>
#include <vector>

namespace QEL {

class XMLIO;
class FoundData;
class Instance;

class QEL_API Relation : public SavedObject<Relation, SerializableObject> {
public:
    static constexpr const char* s_className = "Relation";
    // Keyed by the pointer: nothing walks the map in order, and a key's tag may change while a
    // rollback snapshot still holds it.
    using SubtypeMap = std::map<Reference*, RelationSubtype>;
    // (entity, instance) → subtype, the keys of a search without a given relation.
    using KeyMap = std::map<std::pair<int, Instance*>, RelationSubtype>;

    // An empty relation of the type with the value.
    Relation(Interaction* interaction, RelationType type, double value);
    // A relation on the references, each as its boundary, then measured.
    Relation(Interaction* interaction, RelationType type, std::vector<Reference*>& references);
    ~Relation() override;

    // Null when the references do not make a valid combination for the type; else a new,
    // registered relation.
    static Relation* Create(Interaction* interaction, RelationType type,
                            std::vector<Reference*>& references);
    static Relation* CreateUnary(Interaction* interaction, RelationType type, Reference* reference);
    static Relation* CreateBinary(Interaction* interaction, RelationType type, Reference* first,
                                  Reference* second);
    // Reads one "Relation" element; null (nothing left behind) when not reading or on failure.
    static Relation* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    // Test hooks: an unregistered relation damaged by kind (1: not of the relation type; 2: a
    // foreign and a null pointer among its references), and the destruction of such a one that
    // leaves the last two references untold with kind 2.
    static Relation* TestCreateInvalid(int kind, Interaction* interaction, RelationType type,
                                       double value, Reference* first, Reference* second);
    void TestDestroyInvalid(int kind);

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Leaves its references' dependents and its found data, then the interaction.
    void Destroy() override;
    // Same application string, type, value within 1e-8 and, paired by id, equal references
    // with the same subtypes.
    bool Compare(TaggedEntity* other) override;
    // Drops the first occurrence of the reference; the relation lives on with the others.
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;

    RelationType GetType() const { return m_relationType; }
    double GetValue() const { return m_value; }
    void SetValue(double value);
    // A null text clears the string; always true.
    bool SetApplicationString(const char* text);
    // Null when the string is empty.
    const char* GetApplicationString() const;
    int GetNumReferences() const { return static_cast<int>(m_references.size()); }
    // Null for an index outside the list.
    Reference* GetReference(int index) const;
    const std::vector<Reference*>& GetReferences() const { return m_references; }
    // Boundary for a reference the relation does not list.
    RelationSubtype GetRelationSubtype(Reference* reference) const;
    // False, unchanged, when the subtype does not suit the type and the reference's geometry;
    // remeasure takes the value again through the solver.
    bool SetRelationSubtype(Reference* reference, RelationSubtype subtype, bool remeasure);
    FoundData* GetFoundData() const { return m_foundData; }
    // Linking another found data detaches the one linked before.
    void SetFoundData(FoundData* foundData);
    bool GetIsDangling() const;

    // False when the old reference is absent or the replacement present already; otherwise the
    // old one goes, and the answer is whether the replacement could be added.
    bool ReplaceReference(Reference* oldReference, Reference* replacement);
    bool IsReferenceCombinationValid() const;
    static bool IsReferenceCombinationValid(const std::vector<Reference*>& references,
                                            RelationType type);

    // The geometry a subtype makes of an entity: 500 the entity itself, 2501 its centre point,
    // 3001 its axis line, 503 none that can be used.
    static int GetEffectiveGeomType(int entity, RelationSubtype subtype);
    static bool IsReferenceRelationSubtypeCombinationValid(RelationType type, int entity,
                                                           RelationSubtype subtype);

    // The present value through a temporary solver: dimensional types with references only.
    bool MeasureRelationValueAndValidate(double& value, bool& measured);
    // Whether the geometry satisfies the relation now, judged without solving for the
    // directional and positional types.
    bool IsGeometricallySatisfied();

    // Appends the interaction's relations of the type with exactly the value on the given
    // relation's references (or, without one, on the references of the keys) whose subtypes
    // agree, the given one excepted; answers the output's size.
    static int FindMatchingRelations(Interaction* interaction, Relation* given, RelationType type,
                                     double value, const KeyMap& keys, std::vector<Relation*>& out);
    int FindDuplicates(std::vector<Relation*>& out);

private:
    bool AddReference(Reference* reference);
    bool IsSatisfiedBetweenGeometries();
    void CheckReferencePointers(std::vector<TaggedEntity*>& badObjects,
                                std::vector<InvalidityType>& codes);
    bool DoIOReferences(XMLIO& xmlio);
    // References, type, value, subtypes, application string and the found-data link.
    void CopyState(const Relation& from);
    Relation* NewSnapshot() const { return new Relation(nullptr, m_relationType, m_value); }

    RelationType m_relationType;
    double m_value;
    std::string m_applicationString;
    std::vector<Reference*> m_references;
    SubtypeMap m_subtypes;
    FoundData* m_foundData = nullptr;

    friend class SavedState<Relation, SerializableObject>;
};

}  // namespace QEL
