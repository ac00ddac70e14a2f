// The interaction's life cycle and its own rollback snapshot.
#include "core/objects/Interaction.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/InteractionEditEngine.h"
#include "core/objects/ReferenceQueries.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "core/rollback/RollbackManager.h"
#include "core/tracking/TrackingManager.h"

#include <brennik.h>

namespace QEL {

namespace {

const size_t s_initialContainerRoom = 20;

}  // namespace

Interaction::Interaction(CreateType type)
    : SavedObject(nullptr), m_checkArguments(GetCheckArgumentsDefault())
{
    SetType(ObjectTypeInteraction);
    m_instances.reserve(s_initialContainerRoom);
    m_relations.reserve(s_initialContainerRoom);
    m_selectedReferences.reserve(s_initialContainerRoom);
    m_features.reserve(s_initialContainerRoom);
    m_facePatterns.reserve(s_initialContainerRoom);
    m_sections.reserve(s_initialContainerRoom);
    if (type == CreateTypeLive) {
        SetTag(CreateTag(this));
        TagManager::RegisterInteraction(this);
        EnableRollback();
        m_trackingManager = TrackingManager::Create(this);
        ObjectCreated(this);
        m_tagManager = new TagManager(this);
        m_solutionChangeData = new SolutionChangeDataRollable(this);
        m_relationFinder = MakeRelationFinderState(this);
    }
    ObjectModified(this);
    m_featureProcedureCallback = GetDefaultFeatureProcedureCallback();
    ObjectModified(this);
    m_featureTransformCallback = GetDefaultFeatureTransformCallback();
    ObjectModified(this);
    m_featureRemakeCallback = GetDefaultFeatureRemakeCallback();
}

Interaction::~Interaction()
{
    // A snapshot owns no managers and skips all of this; a live interaction whose tag the
    // kernel could not make still has its managers to free.
    if (GetTag() != 0 || m_tagManager)
        DestroyContents();
}

void Interaction::DestroyContents()
{
    // Nothing the teardown does is undoable: a recorded action would take a reference on an
    // object, this interaction included, that is being freed.
    if (m_rollbackManager)
        m_rollbackManager->DisableRollback();
    const std::vector<Instance*> instances = m_instances;
    for (Instance* instance : instances)
        instance->Destroy();
    const std::vector<VirtualVertex*> vertices = m_virtualVertices;
    for (VirtualVertex* vertex : vertices)
        if (TaggedEntity* asEntity = UpcastEntity(vertex))
            asEntity->Destroy();

    if (m_tagManager) {
        std::vector<TaggedEntity*> owned;
        for (TaggedEntity* entity : m_tagManager->GetTaggedEntities())
            if (entity && entity->GetInteraction() == this)
                owned.push_back(entity);
        // Destroying one object may destroy others of the list (an instance takes its
        // references with it): only objects still registered are destroyed.
        for (TaggedEntity* entity : owned)
            if (m_tagManager->IsRegisteredAddress(entity))
                entity->Destroy();
    }

    std::vector<int> bodies;
    GetSeenBodies(bodies, false);
    for (int body : bodies) {
        std::vector<int> groups;
        FindInteractionReferencesGroupsForBody(this, body, groups);
        DeleteEntities(groups);
    }

    TagManager::UnregisterInteraction(this);

    // Only the editing engine makes these, so there is one whenever either is set.
    InteractionEditEngine* engine = GetInteractionEditEngine();
    if (engine) {
        engine->DeleteUpdateManager(m_updateManager);
        engine->DeleteSolverOperation(m_currentSolverOperation);
    }
    m_updateManager = nullptr;
    m_currentSolverOperation = nullptr;
    // The pointer goes before the manager: objects its marks release still report to the
    // interaction while they go.
    RollbackManager* rollbackManager = m_rollbackManager;
    m_rollbackManager = nullptr;
    m_rollbackEnabled = false;
    RollbackManager::Destroy(rollbackManager);
    TrackingManager* trackingManager = m_trackingManager;
    m_trackingManager = nullptr;
    if (trackingManager)
        trackingManager->Destroy();
    SolutionChangeDataRollable* solutionChangeData = m_solutionChangeData;
    m_solutionChangeData = nullptr;
    if (solutionChangeData)
        solutionChangeData->Release();

    ReleaseTag();

    if (engine)
        engine->ClearProcessWideLists();

    if (m_partition != 0) {
        DeletePartition(m_partition);
        m_partition = 0;
    }
    TagManager* tagManager = m_tagManager;
    m_tagManager = nullptr;
    if (tagManager)
        tagManager->Release();
}

void Interaction::Destroy()
{
    RollbackManager* rollbackManager = m_rollbackManager;
    m_rollbackManager = nullptr;
    m_rollbackEnabled = false;
    RollbackManager::Destroy(rollbackManager);
    TrackingManager* trackingManager = m_trackingManager;
    m_trackingManager = nullptr;
    if (trackingManager)
        trackingManager->Destroy();
    TaggedEntity::Destroy();
}

bool Interaction::CreateUpdateManager()
{
    InteractionEditEngine* engine = GetInteractionEditEngine();
    if (!m_updateManager && engine)
        m_updateManager = engine->CreateUpdateManager(this);
    return true;
}

UpdateStatus Interaction::Update(SolverOperation* operation)
{
    InteractionEditEngine* engine = GetInteractionEditEngine();
    return engine ? engine->Update(this, operation) : UpdateSolveFailed;
}

void Interaction::Restore(RollableEntity* snapshot)
{
    if (dynamic_cast<Interaction*>(snapshot) && !m_currentSolverOperation && m_updateManager) {
        GetInteractionEditEngine()->DeleteUpdateManager(m_updateManager);
        m_updateManager = nullptr;
    }
    SavedObject::Restore(snapshot);
}

void Interaction::CopyState(const Interaction& from)
{
    m_instances = from.m_instances;
    m_relations = from.m_relations;
    m_selectedReferences = from.m_selectedReferences;
    m_features = from.m_features;
    m_facePatterns = from.m_facePatterns;
    m_references = from.m_references;
    m_sections = from.m_sections;
    m_virtualVertices = from.m_virtualVertices;
    m_rules = from.m_rules;
    m_foundData = from.m_foundData;
    m_checkArguments = from.m_checkArguments;
    // A snapshot takes a copy of the live finder; a restore copies back into the live one.
    if (!from.m_relationFinder)
        m_relationFinder.reset();
    else if (m_relationFinder)
        m_relationFinder->CopyFrom(*from.m_relationFinder);
    else
        m_relationFinder = from.m_relationFinder->Clone();
    m_seenBodies = from.m_seenBodies;
    m_exactDragging = from.m_exactDragging;
    m_modellingTolerance = from.m_modellingTolerance;
    m_previewMode = from.m_previewMode;
    m_solutionDataMode = from.m_solutionDataMode;
    m_featureProcedureCallback = from.m_featureProcedureCallback;
    m_featureTransformCallback = from.m_featureTransformCallback;
    m_adaptiveLiftMode = from.m_adaptiveLiftMode;
    m_includeMutuallyDependentBlends = from.m_includeMutuallyDependentBlends;
    m_dimensionAnimationForDrag = from.m_dimensionAnimationForDrag;
    m_appFeatureData = from.m_appFeatureData;
}

ResultType Interaction::CheckNewInteractionAllowed()
{
    ResultType result = ResultTypeOk;
    double precision = 0.0;
    bool rollbackOn = true;
    if (BQ_SESSION_ask_precision(&precision) != 0)
        result = ResultTypeNoBrennikSession;
    else if (BQ_SESSION_is_rollback_on(&rollbackOn) != 0 || !rollbackOn)
        result = ResultTypeNoBrennikRollback;
    if (TagManager::GetInteractionCount() > 0 && !GetAllowMultipleInteractions())
        result = ResultTypeInteractionAlreadyCreated;
    return result;
}

}  // namespace QEL
