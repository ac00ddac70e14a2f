#pragma once
// An application feature: the faces (edges, vertices) of a body that the application treats as
// one modelling feature, held as references, with the references that position it and those of
// faces that depend on it, the application's identifier and numbers, and, for the features the
// application rebuilds itself, the procedure that rebuilds them with its tool bodies and
// mappings. The feature holds its references without owning them; it owns its tool bodies.

#include "core/maths/Xform.h"
#include "core/objects/Object.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace QEL {

class XMLIO;
class Solver;
class MappingData;
class FeatureProcedureData;

// The application's procedure that rebuilds a feature: (interaction tag, procedure-data tag).
typedef void (*FeatureProcedure)(int, int);

// How one procedure run goes: with a solver (may be null), and whether the procedure builds a
// separate tool body (the main body's partition is put back afterwards) or changes the main
// body itself.
struct ProcedureRunContext {
    Solver* solver = nullptr;
    bool createToolBody = false;
};

class QEL_API Feature : public SavedObject<Feature, SerializableObject> {
public:
    static constexpr const char* s_className = "Feature";

    explicit Feature(Interaction* interaction, FeatureType type = FeatureTypeSimple);
    // Deletes the tool bodies while the feature still has an interaction.
    ~Feature() override;

    // A new feature of the interaction, recorded and filed.
    static Feature* Create(Interaction* interaction, FeatureType type);
    // Reads one "Feature" element; null (nothing left behind) when not reading or on failure.
    static Feature* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    // Test hooks: a feature spoiled by kind for validity tests (recorded, never filed), and the
    // destruction of one that leaves its references untold.
    static Feature* TestCreateInvalid(int kind, Interaction* interaction, FeatureType type);
    void TestDestroyInvalid(int kind);

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Unlinks the feature from every reference it lists, then leaves the interaction.
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;
    virtual const char* GetClassName() const { return s_className; }

    // Type, flags and instance.
    void SetFeatureType(FeatureType type);
    FeatureType GetFeatureType() const { return m_FeatureType; }
    void SetUpdateRequired(bool required);
    bool GetUpdateRequired() const { return m_UpdateRequired; }
    // False for a simple feature, and for another instance once one is set.
    bool SetInstance(Instance* instance);
    Instance* GetInstance() const { return m_Instance; }
    // Simple, or simple-recreate while the new procedural-feature algorithm is on.
    bool IsTreatedAsSimple() const;
    bool IsPristine() const { return (m_Flags & s_pristineFlag) != 0; }
    bool HasConsumedFaces() const { return (m_Flags & s_consumedFacesFlag) != 0; }

    // Reference lists. The indexed getters answer null outside [0, count).
    void AddReference(Reference* reference);
    void AddProfileReference(Reference* reference);
    void AddDependents(Reference* reference);
    int GetReferenceCount() const { return static_cast<int>(m_References.size()); }
    Reference* GetReference(int index) const;
    int GetProfileReferenceCount() const { return static_cast<int>(m_ProfileReferences.size()); }
    Reference* GetProfileReference(int index) const;
    int GetDependentCount() const { return static_cast<int>(m_Dependents.size()); }
    Reference* GetDependent(int index) const;
    const std::vector<Reference*>& GetReferences() const { return m_References; }
    const std::vector<Reference*>& GetProfileReferences() const { return m_ProfileReferences; }
    const std::vector<Reference*>& GetDependents() const { return m_Dependents; }
    bool HasReferenceToEntity(int entity) const;
    bool HasProfileReferenceToEntity(int entity) const;
    bool HasDependentOnEntity(int entity) const;
    // Any own reference whose entity is gone.
    bool GetIsDangling() const;
    // Drops the references and dependents whose entities are gone, then the tool bodies when
    // asked. Profile references stay.
    void CleanUp(bool deleteToolBodies);
    // Takes up the further entities that a mapping made of a listed reference's entity, then
    // drops the entries left without an entity.
    void RemapReferences(const std::map<Reference*, std::set<int>>& extraEntities);

    // Application data and identifier.
    void SetAppDataInteger(int key, int value);
    void SetAppDataDouble(int key, double value);
    bool GetAppDataInteger(int key, int* value) const;
    bool GetAppDataDouble(int key, double* value) const;
    // Null clears the identifier only; a mapped identifier brings its procedure.
    void SetAppIdentifier(const char* identifier);
    const char* GetAppIdentifier() const { return m_AppIdentifier.c_str(); }
    static void MapIdentifierToProcedure(const char* identifier, FeatureProcedure procedure);
    void SetProcedure(FeatureProcedure procedure, void* appData);
    FeatureProcedure GetProcedure(void** appData) const;

    // Tool bodies, mappings and the label definition.
    MappingData* GetProcedureMapData();
    MappingData* GetCutMapData();
    FeatureProcedureData* GetProcedureData();
    int GetMainBody() const { return m_tMainBody; }
    int GetCutToolBody() const { return m_tCutToolBody; }
    int GetProcedureToolBody() const { return m_tProcedureToolBody; }
    void DeleteToolBodies();
    int GetFeatureDevAttDef();

    // The procedure run. Each answers a ResultType as an int (0 done or nothing to do).
    int RunProcedure(const ProcedureRunContext& context);
    int CutFeatureFaces(Solver* solver, bool createToolBody);
    int TrackProcedureToolFaces();
    bool IsProcedureMappingOneToOne();
    int ApplyProcedureToModel(int resultBody, const Xform& transform);
    void CreateReferencesForNewFaces(MappingData* mapping);
    int ApplySolvedTransforms(Solver* solver);
    // Re-makes the feature through its procedure and puts the result into the main body; a
    // failure leaves the model as it was. ResultTypeNotSupported, and nothing changes, while the
    // new procedural-feature algorithm is off.
    int Edit(void* appData);

    // Appends the feature to the feature dump while the dump is on.
    void Dump(const char* title);

private:
    static constexpr int s_pristineFlag = 1;
    static constexpr int s_consumedFacesFlag = 2;

    // Every field but the procedure and its data, which are not part of a snapshot: rolling
    // back leaves them.
    void CopyState(const Feature& from);
    Feature* NewSnapshot() const { return new Feature(nullptr, FeatureTypeNone); }
    void LinkReference(Reference* reference);
    void UnlinkAll();
    void PurgeReferences(std::vector<Reference*>& list, bool tagOnly);
    // The mapping named by the tag field, made (and its tag stored) when there is none.
    MappingData* GetOrMakeMapData(int& tagField);
    int RestoreMainBodyPartition(const std::vector<std::pair<int, int>>& marks);

    std::vector<Reference*> m_References;
    std::vector<Reference*> m_ProfileReferences;
    std::vector<Reference*> m_Dependents;
    FeatureType m_FeatureType;
    bool m_UpdateRequired = false;
    int m_ProcedureMapDataTag = 0;
    int m_tProcedureToolBody = 0;
    int m_CutMapDataTag = 0;
    int m_tCutToolBody = 0;
    int m_tMainBody = 0;
    std::map<int, int> m_AppDataIntegers;
    std::map<int, double> m_AppDataDoubles;
    std::string m_AppIdentifier;
    FeatureProcedure m_Procedure = nullptr;
    void* m_ProcedureAppData = nullptr;
    Instance* m_Instance = nullptr;
    int m_ProcedureDataTag = 0;
    int m_Flags = 0;
    int m_FeatureDevAttDef = 0;

    friend class SavedState<Feature, SerializableObject>;
};

// A behaviour set on the reference's entity goes one feature step further: to the references of
// the features that list the entity (among their references, else their profile references)
// that lie on the same body.
void SpreadBehaviourThroughFeatures(Reference* reference, const std::vector<Feature*>& features,
                                    ReferenceBehaviour behaviour);

}  // namespace QEL
