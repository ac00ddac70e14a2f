#pragma once
// One unit of modelling work over kernel bodies: it owns the objects made in it (filed in
// typed containers), its options, its managers (rollback, tags, tracking, update), the kernel
// partition in which its tags live, and the kernel bodies it has seen.

#include "core/frame/Array.h"
#include "core/objects/EntityComparison.h"
#include "core/objects/RelationFinderState.h"
#include "core/objects/TaggedEntity.h"
#include "core/rollback/SavedState.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace QEL {

class FacePattern;
class FoundData;
class Rule;
class Section;
class SolverOperation;
class UpdateManager;
class RollbackManager;
class RollbackState;
class RollbackAction;
class TagManager;
class TrackingManager;
class SolutionChangeData;
class SolutionChangeDataRollable;

enum CreateType {
    // A working interaction: tag, managers, registered.
    CreateTypeLive = 0,
    // A bare object into which a rollback snapshot is copied.
    CreateTypeSnapshot = 1,
};

typedef void (*FeatureProcedureCallback)(int, int, int, int&, int&, ResultType&);
typedef void (*FeatureTransformCallback)(int, int, double[4][4], ResultType&);
typedef void (*FeatureRemakeCallback)(int, int, int, int, int&, ResultType&);

// Key of the references multimap: (kernel entity, instance or null), ordered by the entity,
// then by the instance's tag with null first.
using ReferenceMapKey = std::pair<int, Instance*>;
struct QEL_API ReferenceMapKeyLessThan {
    bool operator()(const ReferenceMapKey& a, const ReferenceMapKey& b) const;
};
using ReferenceMultimap = std::multimap<ReferenceMapKey, Reference*, ReferenceMapKeyLessThan>;

class QEL_API Interaction : public SavedObject<Interaction, TaggedEntity> {
public:
    explicit Interaction(CreateType type);
    ~Interaction() override;

    // Discards the update manager first when no solver operation is current (a new one is made
    // on next need).
    void Restore(RollableEntity* snapshot) override;
    // Ends the interaction: its managers go first, then the owner's reference.
    void Destroy() override;
    Interaction* GetInteraction() override { return this; }

    // Containers.
    void AddEntity(TaggedEntity* entity);
    void RemoveEntity(TaggedEntity* entity);
    int GetInstanceCount() const { return static_cast<int>(m_instances.size()); }
    Instance* GetInstance(int index) const;
    const std::vector<Instance*>& GetInstances() const { return m_instances; }
    const std::vector<Relation*>& GetRelations() const { return m_relations; }
    int GetRelationCount() const { return static_cast<int>(m_relations.size()); }
    // In creation order; null for an index outside the list.
    Relation* GetRelation(int index) const;
    const std::vector<Feature*>& GetFeatures() const { return m_features; }
    int GetFeatureCount() const { return static_cast<int>(m_features.size()); }
    // Null outside [0, count).
    Feature* GetFeature(int index) const;
    const std::vector<FacePattern*>& GetFacePatterns() const { return m_facePatterns; }
    const std::vector<Section*>& GetSections() const { return m_sections; }
    int GetSectionsCount() const { return static_cast<int>(m_sections.size()); }
    // Null outside [0, count).
    Section* GetSection(int index) const
    {
        return index >= 0 && index < GetSectionsCount() ? m_sections[index] : nullptr;
    }
    const std::vector<VirtualVertex*>& GetVirtualVertices() const { return m_virtualVertices; }
    const std::vector<Rule*>& GetRules() const { return m_rules; }
    const std::vector<FoundData*>& GetFoundData() const { return m_foundData; }
    const ReferenceMultimap& GetReferenceMap() const { return m_references; }
    void AddReferenceToEntityMap(int entity, Instance* instance, Reference* reference);
    void RemoveReferenceFromEntityMap(int entity, Instance* instance, Reference* reference);
    void FindReferencesOnEntity(int entity, Instance* instance,
                                std::vector<Reference*>& found) const;
    int CountReferences() const { return static_cast<int>(m_references.size()); }
    // Inserts every filed reference (defined beside the reference class, which orders them).
    void GetAllReferences(std::set<Reference*, TaggedEntityPtrLessThan>& references) const;

    // Selection.
    // Appends to the selection (recorded for rollback); false for null or a reference that is
    // selected already.
    bool AddSelectedReference(Reference* reference);
    void RemoveSelectedReference(Reference* reference);
    bool IsSelectedReference(Reference* reference) const;
    bool IsEntitySelected(int entity) const;
    void ClearSelections();
    int GetSelectionCount() const { return static_cast<int>(m_selectedReferences.size()); }
    const std::vector<Reference*>& GetSelectedReferences() const { return m_selectedReferences; }

    // Seen bodies: every kernel body the interaction has placed, changed or referenced.
    void AddSeenBody(int body);
    bool IsSeenBody(int body) const { return m_seenBodies.count(body) != 0; }
    // Ascending; bodies no longer alive are skipped unless includeDead.
    void GetSeenBodies(std::vector<int>& bodies, bool includeDead) const;
    void PrepareBodyForChange(int body);
    // No instance places the body and no reference lies on it or on its faces, edges or
    // vertices: the toolkit holds nothing that a change of the body would leave behind.
    bool IsBareBody(int body) const;
    void PrepareEntitiesForChange(const std::vector<int>& entities);
    // The distinct bodies of all instances, ascending.
    void GetInstanceBodyTags(std::vector<int>& bodies) const;
    // References in tag order: those whose entity is alive and has neither instance nor owning
    // body go to freeStanding, the other references to points, lines and planes to geometry.
    // Returns the sum of both vectors' sizes.
    int CollectDatumReferences(std::vector<Reference*>& geometry,
                               std::vector<Reference*>& freeStanding) const;
    int CollectDatumEntities(std::vector<int>& geometry, std::vector<int>& freeStanding) const;

    // Options. The setters that answer a ResultType refuse with ResultTypeDragActive where a
    // running solver operation forbids the change; an unchanged value records nothing.
    ResultType SetExactDragging(bool on);
    ResultType SetModellingTolerance(double tolerance);
    ResultType SetStepFaceType(StepFaceType type);
    ResultType SetDelayAddDCalls(bool on);
    ResultType SetAdaptiveLiftMode(bool on);
    ResultType SetIncludeMutuallyDependentBlends(bool on);
    void SetPreviewMode(PreviewMode mode);
    void SetSolutionDataMode(SolutionDataMode mode);
    void SetCheckArguments(bool on);
    void SetDimensionAnimationForDrag(bool on);
    void SetFeatureProcedureCallback(FeatureProcedureCallback callback);
    void SetFeatureTransformCallback(FeatureTransformCallback callback);
    void SetFeatureRemakeCallback(FeatureRemakeCallback callback);
    bool GetExactDragging() const { return m_exactDragging; }
    double GetModellingTolerance() const { return m_modellingTolerance; }
    StepFaceType GetStepFaceType() const { return m_stepFaceType; }
    bool GetDelayAddDCalls() const { return m_delayAddDCalls; }
    bool GetAdaptiveLiftMode() const { return m_adaptiveLiftMode; }
    bool GetIncludeMutuallyDependentBlends() const { return m_includeMutuallyDependentBlends; }
    PreviewMode GetPreviewMode() const { return m_previewMode; }
    SolutionDataMode GetSolutionDataMode() const { return m_solutionDataMode; }
    bool GetCheckArguments() const { return m_checkArguments; }
    bool GetDimensionAnimationForDrag() const { return m_dimensionAnimationForDrag; }
    FeatureProcedureCallback GetFeatureProcedureCallback() const
    {
        return m_featureProcedureCallback;
    }
    FeatureTransformCallback GetFeatureTransformCallback() const
    {
        return m_featureTransformCallback;
    }
    FeatureRemakeCallback GetFeatureRemakeCallback() const { return m_featureRemakeCallback; }

    // Tracking options, held by the tracking manager; false without one.
    void SetTrackChanges(bool on);
    bool GetTrackChanges() const;
    void SetTrackingMergeCallbackData(bool on);
    bool GetTrackingMergeCallbackData() const;
    void SetTrackingReportUpdateData(bool on);
    bool GetTrackingReportUpdateData() const;

    // Process-wide defaults.
    static void SetCheckArgumentsDefault(bool on);
    static bool GetCheckArgumentsDefault();
    // Whether the session and the registry let a new interaction be made (created or loaded):
    // ResultTypeNoBrennikSession, NoBrennikRollback or InteractionAlreadyCreated, a later
    // condition overriding an earlier one; Ok when it may.
    static ResultType CheckNewInteractionAllowed();
    static void SetAllowMultipleInteractions(bool on);
    static bool GetAllowMultipleInteractions();
    static void SetDefaultFeatureProcedureCallback(FeatureProcedureCallback callback);
    static void SetDefaultFeatureTransformCallback(FeatureTransformCallback callback);
    static void SetDefaultFeatureRemakeCallback(FeatureRemakeCallback callback);
    static FeatureProcedureCallback GetDefaultFeatureProcedureCallback();
    static FeatureTransformCallback GetDefaultFeatureTransformCallback();
    static FeatureRemakeCallback GetDefaultFeatureRemakeCallback();

    // Rollback and marks; nothing, 0 or null while rollback is disabled.
    void EnableRollback();
    void DisableRollback();
    bool IsRollbackEnabled() const { return m_rollbackEnabled; }
    int CreateMark();
    void RollToMark(int markTag);
    void DeleteMark(int markTag);
    int GetMarkCount() const;
    int GetCurrentMark(bool& atMark) const;
    RollbackState* GetMark(int index) const;
    RollbackState* GetMarkByTag(int markTag) const;
    void GetChangesAfterMark(int markTag, std::map<RollableEntity*, RollbackAction*>& changes);
    void MarkPartitionForRollback(int partition);
    // Record before modifying.
    void ObjectCreated(RollableEntity* object);
    void ObjectModified(RollableEntity* object);
    void ObjectDeleted(RollableEntity* object);

    // Kernel services: a kernel application item pointing at the object, made in the
    // interaction's own partition; 0 when the kernel made none.
    int CreateTag(void* object);
    // The own partition, made on first use.
    int GetQELPartition();
    // The attribute definition "ORV/QEL_REF_DEV" that ties a kernel group to its reference,
    // found or made on first use (defined beside the reference class).
    int GetReferenceAttDefTag();

    // Application feature data: named doubles per feature tag.
    void SetAppData(int feature, const std::string& name, double value);
    bool GetAppData(int feature, const char* name, double& value) const;
    void GetAppFeatures(Array<int>& features) const;
    void RemoveAppFeature(int feature);
    void ReplaceAppFeature(int oldFeature, int newFeature);

    // Solution change data of the last solve.
    const SolutionChangeData& GetCachedSolutionChangeData() const;
    void SetCachedSolutionChangeData(const SolutionChangeData& data);
    bool GetCopyOfCachedSolutionChangeData(SolutionChangeData& data) const;

    // Objects by id; ids.
    TaggedEntity* FindTaggedEntityById(int id) const;
    int FixEntityIdsAfterLoad(int fileLastEntityId);
    int GetEntityIdCounter() const { return m_entityIdCounter; }
    // Increments the counter and answers its new value: the id of a new object.
    int NextEntityId() { return ++m_entityIdCounter; }
    // The interaction itself, a registered object, a mark state or a tracking record.
    bool IsKnownObject(const void* pointer) const;
    // Whether the other interaction holds the same objects and bodies (only the instances and
    // bodies with bodyCompareOnly). result, when not null, receives ResultTypeOk, Fail,
    // ObjectDiffers or BodyDiffers, or BadArgument for a null other.
    bool Compare(Interaction* other, bool bodyCompareOnly, ResultType* result);
    // Every container, map and reference attribute: each broken pointer, object or attribute
    // is reported with its code; true when none is.
    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;

    // The save file (defined with it): false for any failure, nothing written then.
    bool SaveToFile(const char* path);
    // A new interaction from a save file, or from the interaction a journal holds; null on
    // failure, with nothing left behind.
    static Interaction* CreateFromFile(const char* path);

    // Managers and the editing engine's state.
    TagManager* GetTagManager() const { return m_tagManager; }
    RollbackManager* GetRollbackManager() const { return m_rollbackManager; }
    TrackingManager* GetTrackingManager() const { return m_trackingManager; }
    UpdateManager* GetUpdateManager() const { return m_updateManager; }
    // Makes the update manager when there is none; true in every case.
    bool CreateUpdateManager();
    // One whole update pass with the operation (a new evaluation when null), run by the
    // editing engine. UpdateSolveFailed at once while another operation is current.
    UpdateStatus Update(SolverOperation* operation);
    SolverOperation* GetCurrentSolverOperation() const { return m_currentSolverOperation; }
    // An edit's operation is set: finding relations and one-shot edits wait until it goes.
    bool IsOperationSet() const { return m_currentSolverOperation != nullptr; }
    void SetCurrentSolverOperation(SolverOperation* operation)
    {
        m_currentSolverOperation = operation;
    }
    // Null while no layer that finds relations is installed.
    RelationFinderState* GetRelationFinder() const { return m_relationFinder.get(); }

private:
    // The save file stores and restores the options straight, without the setters' checks.
    friend class XMLData;

    template <typename T>
    QEL_INTERNAL bool AppendRecorded(std::vector<T*>& container, T* object);
    template <typename T>
    QEL_INTERNAL bool EraseRecorded(std::vector<T*>& container, T* object);
    void DestroyContents();
    // The state rollback carries: the containers and the options. The managers, the current
    // solver operation, the partition, the step face type, the delay-add-d-calls flag and the
    // feature remake callback are not part of it, so rolling back leaves them as they are.
    void CopyState(const Interaction& from);
    Interaction* NewSnapshot() const { return new Interaction(CreateTypeSnapshot); }

    std::vector<Instance*> m_instances;
    std::vector<Relation*> m_relations;
    std::vector<Reference*> m_selectedReferences;
    std::vector<Feature*> m_features;
    std::vector<FacePattern*> m_facePatterns;
    ReferenceMultimap m_references;
    std::vector<Section*> m_sections;
    std::vector<VirtualVertex*> m_virtualVertices;
    std::vector<Rule*> m_rules;
    std::vector<FoundData*> m_foundData;
    bool m_checkArguments;
    PreviewMode m_previewMode = PreviewModeOff;
    SolutionDataMode m_solutionDataMode = SolutionDataModeOff;
    int m_partition = 0;
    UpdateManager* m_updateManager = nullptr;
    SolverOperation* m_currentSolverOperation = nullptr;
    RollbackManager* m_rollbackManager = nullptr;
    bool m_rollbackEnabled = false;
    TagManager* m_tagManager = nullptr;
    std::unique_ptr<RelationFinderState> m_relationFinder;
    std::set<int> m_seenBodies;
    int m_referenceAttDef = 0;
    TrackingManager* m_trackingManager = nullptr;
    int m_entityIdCounter = 0;
    bool m_exactDragging = true;
    double m_modellingTolerance = 1e-6;
    StepFaceType m_stepFaceType = StepFaceOff;
    SolutionChangeDataRollable* m_solutionChangeData = nullptr;
    bool m_delayAddDCalls = true;
    bool m_adaptiveLiftMode = false;
    bool m_includeMutuallyDependentBlends = false;
    bool m_dimensionAnimationForDrag = true;
    FeatureProcedureCallback m_featureProcedureCallback = nullptr;
    FeatureTransformCallback m_featureTransformCallback = nullptr;
    FeatureRemakeCallback m_featureRemakeCallback = nullptr;
    std::map<int, std::map<std::string, double>> m_appFeatureData;

    friend class SavedState<Interaction, TaggedEntity>;
};

}  // namespace QEL
