// Applying a full solution to the model: what moved in the dimension system is read once, face
// by face, and written body by body into the kernel, then the features, Instances, sections and
// face patterns follow.
#include "update/pass/UpdateManager.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "core/support/AlgorithmSwitches.h"
#include "core/support/Timer.h"
#include "model/features/Feature.h"
#include "model/features/InteractionFeatures.h"
#include "model/patterns/FacePattern.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"
#include "model/transaction/Model.h"
#include "solver/PatternStar.h"
#include "solver/RigidGroup.h"
#include "solver/Solver.h"
#include "solver/SolverFeature.h"
#include "solver/operations/SolverOperation.h"
#include "update/pass/ReblendedFaces.h"
#include "update/pass/UpdateTimes.h"

#include <brennik.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace QEL {

namespace {

constexpr double s_linearTolerance = 1e-8;
constexpr double s_rotationTolerance = 1e-11;

// The dimension system's change of a node; the kind is 0 for a node not in the system.
ChangeRecord ReadChange(Solver* solver, g_node* node, bool bothValues, Geometry* geometry)
{
    ChangeRecord record;
    record.geometry = geometry;
    if (!node)
        return record;
    record.change.m_mask = solver->GetDimensionSystem()->transform(
        node, record.change.m_transform, &record.change.m_firstValueChange,
        bothValues ? &record.change.m_secondValueChange : nullptr);
    return record;
}

// Where a simple recreated feature's rigid group carried it: the recreated faces go where the
// group's Set on the feature's Instance went, not back to where the procedure found them. The
// identity for a feature without group or reference, or one that did not move.
Xform SimpleFeaturePlacement(Solver* solver, Feature* feature)
{
    Xform placement;
    SolverFeature* solverFeature = solver->FindSolverFeature(feature);
    const std::vector<Reference*>& references = feature->GetReferences();
    RigidGroup* group = solverFeature ? solverFeature->GetRigidGroup() : nullptr;
    if (!group || references.empty() || !references.front())
        return placement;
    Set* set = group->GetBodyLevelSet(references.front()->GetInstance());
    const ChangeRecord record = ReadChange(solver, set ? set->GetGNode() : nullptr, false, nullptr);
    if (record.Kind() != 0)
        placement = Xform(record.change.m_transform);
    return placement;
}

// A kernel transform made for one geometry change and deleted with it.
class KernelTransform {
public:
    explicit KernelTransform(const SolvedFaceChange& change)
        : m_tag(MakeTransformFromMatrix(change))
    {
    }
    KernelTransform(const KernelTransform&) = delete;
    KernelTransform& operator=(const KernelTransform&) = delete;
    ~KernelTransform()
    {
        if (m_tag != 0)
            BQ_ENTITY_delete(1, &m_tag);
    }
    int Get() const { return m_tag; }

private:
    int m_tag;
};

bool IsFeatureTransformIdentity(const Xform& transform)
{
    return transform.rotation.IsIdentity(false) && transform.IsTranslationZero();
}

}  // namespace

bool UpdateManager::PostSolverOperation(SolverOperation* operation)
{
    ScopedTimer scoped(2, "PostSolverOperation");
    UpdateTimes::SetApply(-1.0);
    const Timer timer;
    FreeReblendedFaces();
    bool ok = false;
    if (m_solver && m_solver->GetSolveStatus() == SolveStatusSolved) {
        const PreviewMode preview = m_interaction->GetPreviewMode();
        BodyChangeMap bodyChanges;
        ChangeRecordMap freeChanges;
        ChangeRecordMap bodyGeometryChanges;
        CollectSolvedChanges(bodyChanges, freeChanges, bodyGeometryChanges);

        m_interaction->SetCachedSolutionChangeData(SolutionChangeData());
        SolutionChangeData solutionData;
        std::map<int, SolvedFaceChangeMap> faceChanges;
        for (const auto& body : bodyChanges)
            for (const auto& face : body.second)
                faceChanges[body.first][face.first] = face.second.change;
        ok = ApplyFaceChanges(m_interaction, operation, faceChanges, &solutionData);
        if (preview == PreviewModeFailureOnly) {
            // Show as much of a failed result as can be made.
            const bool freeApplied =
                ApplyGeometryTransforms(m_interaction, freeChanges, &solutionData);
            const bool bodyApplied =
                ApplyGeometryTransforms(m_interaction, bodyGeometryChanges, &solutionData);
            ok = ok && freeApplied && bodyApplied;
        } else {
            ok = ok && ApplyGeometryTransforms(m_interaction, freeChanges, &solutionData) &&
                 ApplyGeometryTransforms(m_interaction, bodyGeometryChanges, &solutionData);
        }
        if (preview == PreviewModeAlways || (!ok && preview == PreviewModeFailureOnly) ||
            m_interaction->GetSolutionDataMode() == SolutionDataModeOn)
            m_interaction->SetCachedSolutionChangeData(solutionData);

        if (ok) {
            ok = RunFeatureProcedures();
            if (GetHXRPFBasedAlgorithm()) {
                // The feature bodies are put back even after a failed procedure.
                const bool reintegrated = ReintegrateFeatureBodies();
                ok = ok && reintegrated;
                if (ok)
                    CallFeatureTransforms();
            }
        }
        if (ok || preview == PreviewModeFailureOnly)
            ApplyInstanceTransforms();
        RegenerateSections(bodyChanges, freeChanges, bodyGeometryChanges);
        if (ok)
            ok = WriteBackFacePatterns();
    }
    UpdateTimes::SetApply(timer.GetElapsedSeconds());
    UpdateTimes::NotifyStatus();
    return ok;
}

void UpdateManager::CollectSolvedChanges(BodyChangeMap& bodyChanges, ChangeRecordMap& freeChanges,
                                         ChangeRecordMap& bodyGeometryChanges)
{
    // Each face gets one record, the first pass to reach it giving it.
    std::set<int> recorded;
    for (const auto& solverFeature : m_solver->GetSolverFeatures()) {
        Feature* feature = solverFeature->GetFeature();
        if (solverFeature->GetMoved() && feature && !feature->IsTreatedAsSimple())
            feature->CutFeatureFaces(m_solver, false);
    }

    std::list<Geometry*> faces;
    std::list<Geometry*> edges;
    std::list<Geometry*> vertices;
    std::list<Geometry*> bare;
    m_solver->GetGeometryEntitiesByClass(faces, edges, vertices, bare);
    for (Geometry* geometry : faces) {
        if (geometry->GetInstance())
            continue;
        const int face = geometry->GetEntity();
        ChangeRecord record = ReadChange(m_solver, geometry->GetGNode(), true, geometry);
        if (record.Kind() != 0 && recorded.insert(face).second)
            bodyChanges[GetOwningBody(face)][face] = record;
    }
    for (Geometry* geometry : bare) {
        if (geometry->GetInstance())
            continue;
        const int entity = geometry->GetEntity();
        ChangeRecord record = ReadChange(m_solver, geometry->GetGNode(), true, nullptr);
        if (record.Kind() == 0)
            continue;
        (GetOwningBody(entity) != 0 ? bodyGeometryChanges : freeChanges)[entity] = record;
    }

    for (const auto& solverFeature : m_solver->GetSolverFeatures()) {
        Feature* feature = solverFeature->GetFeature();
        if (!feature || feature->IsTreatedAsSimple())
            continue;
        if (solverFeature->GetMoved())
            feature->SetUpdateRequired(true);
        if (!solverFeature->GetGNode())
            continue;
        const ChangeRecord record = ReadChange(m_solver, solverFeature->GetGNode(), false, nullptr);
        if (record.Kind() == 0)
            continue;
        for (int entity : solverFeature->GetProceduralEntities())
            if (IsEntity(entity) && GetEntityClass(entity) == KernelClassFace &&
                recorded.insert(entity).second)
                bodyChanges[GetOwningBody(entity)][entity] = record;
    }

    for (const auto& entry : m_solver->GetRigidGroupMap()) {
        const int entity = entry.first.first;
        Instance* instance = entry.first.second;
        RigidGroup* group = entry.second.empty() ? nullptr : entry.second.front();
        if (!group || GetEntityClass(entity) == 0)
            continue;
        if (!instance && GetOwningBody(entity) == 0) {
            // Free geometry held only by a group is recorded even unchanged.
            Set* set = group->GetGlobalSet();
            if (set && !freeChanges.count(entity))
                freeChanges[entity] = ReadChange(m_solver, set->GetGNode(), true, nullptr);
            continue;
        }
        if (recorded.count(entity))
            continue;
        const bool datum = IsPointLineOrPlane(entity);
        const bool face = GetEntityClass(entity) == KernelClassFace;
        if (!datum && !face)
            continue;
        if (datum && bodyGeometryChanges.count(entity))
            continue;
        Set* set = group->GetBodyLevelSetForEnt(entity);
        if (!set)
            continue;
        ChangeRecord record = ReadChange(m_solver, set->GetGNode(), true, nullptr);
        if (record.Kind() == 0)
            continue;
        if (datum) {
            bodyGeometryChanges[entity] = record;
        } else {
            bodyChanges[GetBodyOfTopology(entity)][entity] = record;
            recorded.insert(entity);
        }
    }
}

bool UpdateManager::ApplyFaceChanges(Interaction* interaction, SolverOperation* operation,
                                     const std::map<int, SolvedFaceChangeMap>& changes,
                                     SolutionChangeData* solutionData)
{
    const PreviewMode preview = interaction->GetPreviewMode();
    const bool record =
        preview != PreviewModeOff || interaction->GetSolutionDataMode() == SolutionDataModeOn;
    const int stepFaceType = GetStepFaceTypeForOperation(operation);
    std::set<int> bodies;
    if (operation)
        operation->GetAffectedBodies(bodies);
    for (const auto& body : changes)
        bodies.insert(body.first);
    bodies.erase(0);
    bool ok = true;
    for (int body : bodies) {
        if (!ok && preview != PreviewModeFailureOnly)
            break;
        const auto found = changes.find(body);
        const SolvedFaceChangeMap bodyChanges =
            found != changes.end() ? found->second : SolvedFaceChangeMap();
        FaceChangeBuilder builder(interaction, record, solutionData, &m_reblendChains,
                                  &m_shellClusters, stepFaceType);
        ok = builder.AddSolverChanges(bodyChanges, operation, body);
        if (!ok)
            continue;
        const int error = preview == PreviewModeAlways ? 0 : builder.Apply(nullptr);
        std::vector<int>* reblended = ReblendedFaceList();
        reblended->insert(reblended->end(), builder.GetReblendedFaces().begin(),
                          builder.GetReblendedFaces().end());
        // A failed kernel change ends the walk whatever the preview mode.
        if (error != 0)
            return false;
    }
    return ok;
}

bool UpdateManager::ApplyGeometryTransforms(Interaction* interaction,
                                            const ChangeRecordMap& changes,
                                            SolutionChangeData* solutionData)
{
    const PreviewMode preview = interaction->GetPreviewMode();
    const bool record =
        preview != PreviewModeOff || interaction->GetSolutionDataMode() == SolutionDataModeOn;
    for (const auto& entry : changes) {
        if (entry.second.Kind() != 1)
            continue;
        if (preview != PreviewModeAlways) {
            const KernelTransform transform(entry.second.change);
            if (transform.Get() == 0)
                return false;
            BQ_GEOM_transform_o_t options{1, 0.0, BQ_GEOM_transform_in_place, false, true};
            int result = 0;
            unsigned char transformed = 0;
            if (Model::GeomTransform(interaction, entry.first, transform.Get(), &options, &result,
                                     &transformed, true, nullptr) != 0)
                return false;
        }
        if (record && solutionData)
            solutionData->SetEntityTransform(entry.first, Xform(entry.second.change.m_transform));
    }
    return true;
}

void UpdateManager::ApplyInstanceTransforms()
{
    for (Instance* instance : m_interaction->GetInstances()) {
        RTNode* node = m_solver->GetRTNode(instance);
        if (!node)
            continue;
        bool moved = false;
        double matrix[4][4];
        if (node->GetZMRChange(moved, matrix, nullptr, nullptr) && moved)
            instance->SetXform(Xform(matrix));
    }
}

bool UpdateManager::RunFeatureProcedures()
{
    for (Feature* feature : m_interaction->GetFeatures()) {
        if (!feature->IsTreatedAsSimple()) {
            if (!feature->GetUpdateRequired())
                continue;
            ProcedureRunContext context;
            context.solver = m_solver;
            if (feature->RunProcedure(context) != 0)
                return false;
            feature->SetUpdateRequired(false);
        } else if (feature->GetFeatureType() != FeatureTypeSimple) {
            const int tracked = feature->TrackProcedureToolFaces();
            m_solver->UpdateGeometriesWithAltTopols(feature->GetProcedureMapData(), false);
            const Xform transform = SimpleFeaturePlacement(m_solver, feature);
            if (feature->ApplyProcedureToModel(tracked, transform) != 0)
                return false;
            m_solver->UpdateGeometriesWithAltTopols(feature->GetProcedureMapData(), false);
        }
    }
    return true;
}

bool UpdateManager::ReintegrateFeatureBodies()
{
    for (const auto& entry : m_featureToolBodies) {
        const int body = CopyFeatureToolBody(entry.first);
        Xform transform;
        m_solver->GetFeatureTransform(entry.first, transform);
        if (Reintegrate(*m_interaction, entry.first, body, transform, entry.second.mappingData) !=
            ResultTypeOk)
            return false;
    }
    return true;
}

void UpdateManager::CallFeatureTransforms()
{
    const FeatureTransformCallback callback = m_interaction->GetFeatureTransformCallback();
    // A copy: the application's callback may reach the Solver through the API.
    const std::map<int, RigidGroup*> groups = m_solver->GetFeatureRigidGroups();
    for (const auto& entry : groups) {
        Xform transform;
        m_solver->GetFeatureTransform(entry.first, transform);
        if (!callback || IsFeatureTransformIdentity(transform))
            continue;
        double matrix[4][4];
        transform.Get4x4(matrix);
        ResultType ignored = ResultTypeOk;
        callback(m_interaction->GetTag(), entry.first, matrix, ignored);
    }
}

int UpdateManager::CopyFeatureToolBody(int feature)
{
    const auto found = m_featureToolBodies.find(feature);
    if (found == m_featureToolBodies.end())
        return 0;
    const int toolBody = found->second.toolBody;
    std::set<int> faces;
    GetBodyFaces(toolBody, faces);
    const int definition = GetFeatureAttDefTag();
    for (int face : faces) {
        int attribute = 0;
        if (BQ_ATTRIB_create_empty(face, definition, &attribute) == 0 && attribute != 0)
            BQ_ATTRIB_set_ints(attribute, 0, 1, &face);
    }
    const int copy = CopyEntity(toolBody);
    TagManager* tags = m_interaction->GetTagManager();
    MappingData* mapping = tags ? tags->FindMappingDataFromTag(found->second.mappingData) : nullptr;
    if (copy != 0 && mapping) {
        std::set<int> copied;
        GetBodyFaces(copy, copied);
        const int count = mapping->GetEntryCount();
        for (int face : copied) {
            const int original = GetFeatureAttributeTag(face);
            for (int i = 0; i < count; ++i) {
                int oldTag = 0;
                int newTag = 0;
                mapping->GetEntry(i, &oldTag, &newTag);
                if (newTag == original) {
                    mapping->RemoveEntry(i);
                    mapping->AddEntry(oldTag, face);
                }
            }
        }
    }
    if (copy != 0)
        DeleteFeatureAttributes(copy);
    return copy;
}

void UpdateManager::CollectSectionsOfBody(int body)
{
    for (Section* section : m_interaction->GetSections()) {
        std::set<Instance*, TaggedEntityPtrLessThan> cuts;
        section->GetCutInstances(cuts);
        for (Instance* cut : cuts)
            if (cut && cut->GetBodyTag() == body)
                m_sections.insert({section, cut});
    }
}

void UpdateManager::CollectSectionsOfPlane(const std::pair<int, Instance*>& key)
{
    if (!Solver::IsSectionPlane(m_interaction, key))
        return;
    for (Section* section : m_interaction->GetSections()) {
        Reference* plane = section->GetSectionPlane();
        if (!plane || plane->GetEntityTag() != key.first)
            continue;
        std::set<Instance*, TaggedEntityPtrLessThan> cuts;
        section->GetCutInstances(cuts);
        for (Instance* cut : cuts)
            m_sections.insert({section, cut});
    }
}

void UpdateManager::RegenerateSections(const BodyChangeMap& bodyChanges,
                                       const ChangeRecordMap& freeChanges,
                                       const ChangeRecordMap& bodyGeometryChanges)
{
    m_sections.clear();
    for (const auto& body : bodyChanges)
        CollectSectionsOfBody(body.first);
    for (const ChangeRecordMap* changes : {&freeChanges, &bodyGeometryChanges})
        for (const auto& entry : *changes)
            CollectSectionsOfPlane({entry.first, entry.second.geometry
                                                     ? entry.second.geometry->GetInstance()
                                                     : nullptr});
    for (const auto& pair : m_sections)
        pair.first->GenerateSectionGeometry(pair.second);
}

bool UpdateManager::WriteBackFacePatterns()
{
    bool ok = true;
    for (FacePattern* pattern : m_interaction->GetFacePatterns()) {
        if (!ok)
            break;
        FacePatternStar* star = m_solver->GetFacePatternStar(pattern);
        if (!star)
            continue;
        const bool rigid = pattern->GetRigidOccurrences();
        if (auto* userDefined = dynamic_cast<UserDefinedFacePattern*>(pattern)) {
            for (int index = 0; ok && index < userDefined->GetOccurrenceCount(); ++index) {
                StarElement* element = star->GetStarElement(index);
                RTNode* node = element ? element->GetRTNode() : nullptr;
                bool moved = false;
                double matrix[4][4];
                if (!node || !node->GetZMRChange(moved, matrix, nullptr, nullptr) || !moved)
                    continue;
                if (rigid)
                    userDefined->SetOccurrenceXform(index, Xform(matrix));
                else
                    ok = false;
            }
        } else if (auto* grid = dynamic_cast<RectangularFacePattern*>(pattern)) {
            // A direction the Solver holds no spacing for keeps the spacing it has.
            const auto writeBack =
                [&](Reference* direction, bool (FacePatternStar::*solved)(double&) const,
                    double present, bool (RectangularFacePattern::*set)(double)) {
                    double spacing = 0.0;
                    if (!direction || !(star->*solved)(spacing))
                        return true;
                    if (!rigid && std::fabs(present - spacing) >= s_linearTolerance)
                        return false;
                    (grid->*set)(spacing);
                    return true;
                };
            const bool x = writeBack(grid->GetXDirectionReference(), &FacePatternStar::GetXSpacing,
                                     grid->GetXSpacing(), &RectangularFacePattern::SetXSpacing);
            const bool y = writeBack(grid->GetYDirectionReference(), &FacePatternStar::GetYSpacing,
                                     grid->GetYSpacing(), &RectangularFacePattern::SetYSpacing);
            ok = x && y;
        } else if (auto* circular = dynamic_cast<CircularFacePattern*>(pattern)) {
            double spacing = 0.0;
            if (!circular->GetAxisReference() || !star->GetAxisSpacing(spacing))
                continue;
            if (rigid && !circular->GetIsClosed())
                circular->SetSpacing(spacing);
            else if (std::fabs(circular->GetSpacing() - spacing) < s_linearTolerance)
                circular->SetSpacing(spacing);
            else
                ok = false;
        }
    }
    return ok;
}

}  // namespace QEL
