// A recreate feature's procedure run: its faces are cut out into a sheet tool body, the
// application's procedure rebuilds them, and the result goes back into the main body, either
// as faces changed in place or as a sheet that replaces them. Mappings from old to new kernel
// tags carry the feature's references over.
#include "core/kernel/KernelFacade.h"
#include "core/maths/Xform.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/features/FeatureFaceChanges.h"
#include "model/features/FeatureProcedureData.h"
#include "model/features/FeatureSolverServices.h"
#include "model/features/InteractionFeatures.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"
#include "model/transaction/Model.h"

#include <brennik.h>
#include <hxr.h>

#include <algorithm>
#include <set>

namespace QEL {

namespace {

bool IsLiveEntity(int tag)
{
    bool alive = false;
    return tag != 0 && BQ_ENTITY_is(tag, &alive) == BQ_ERROR_no_errors && alive;
}

// A record of the kind that pairs its sources with its products position by position gives one
// mapping entry per pair (a record of one face and its copy is the plain case).
void AddPairedRecord(MappingData* mapping, int track, int kind, int nSources, const int* sources,
                     int nProducts, const int* products)
{
    if (track != kind || nSources != nProducts)
        return;
    for (int j = 0; j < nSources; ++j)
        mapping->AddEntry(sources[j], products[j]);
}

const Xform& PlacementOf(Instance* instance)
{
    return instance ? instance->GetXform() : GetIdentityXform();
}

void WriteProfileXform(FeatureProcedureData* data, const Xform& xform)
{
    double matrix[4][4];
    xform.Get4x4(matrix);
    data->SetProfileXform(&matrix[0][0]);
}

// The record is in the procedure's hands for the scope, and no longer once it is left by any
// way, an exception from the procedure among them.
class ProcedureRunScope {
public:
    explicit ProcedureRunScope(FeatureProcedureData* data) : m_data(data)
    {
        m_data->SetInRun(true);
    }
    ~ProcedureRunScope() { m_data->SetInRun(false); }
    ProcedureRunScope(const ProcedureRunScope&) = delete;
    ProcedureRunScope& operator=(const ProcedureRunScope&) = delete;

private:
    FeatureProcedureData* m_data;
};

}  // namespace

MappingData* Feature::GetOrMakeMapData(int& tagField)
{
    if (MappingData* existing = tagField != 0 ? FindMappingDataFromTag(tagField) : nullptr)
        return existing;
    Interaction* interaction = GetInteraction();
    if (!interaction)
        return nullptr;
    MappingData* made = new MappingData(interaction);
    if (made->GetTag() == 0) {
        made->Release();
        return nullptr;
    }
    tagField = made->GetTag();
    return made;
}

int Feature::RestoreMainBodyPartition(const std::vector<std::pair<int, int>>& marks)
{
    int result = 0;
    for (const auto& mark : marks) {
        if (GoToPartitionMark(mark.second) != 0)
            result = 1;
        DeletePartitionMark(mark.second);
    }
    return result;
}

int Feature::RunProcedure(const ProcedureRunContext& context)
{
    Interaction* interaction = GetInteraction();
    if (!interaction)
        return 1;
    if ((m_FeatureType != FeatureTypeSimpleRecreate &&
         m_FeatureType != FeatureTypeComplexRecreate) ||
        !m_Procedure)
        return 0;
    Dump("Procedure Start:");
    RecordModified();
    if (m_tProcedureToolBody != 0) {
        BQ_ENTITY_delete(1, &m_tProcedureToolBody);
        m_tProcedureToolBody = 0;
    }
    MappingData* procedureMapping = GetOrMakeMapData(m_ProcedureMapDataTag);
    if (!procedureMapping)
        return 1;
    procedureMapping->Clear();
    if (m_tCutToolBody == 0)
        if (const int cut = CutFeatureFaces(context.solver, context.createToolBody))
            return cut;
    if (m_tMainBody == 0 && !m_References.empty() && m_References.front())
        m_tMainBody = GetOwningBody(m_References.front()->GetEntityTag());

    FeatureProcedureData* data = GetProcedureData();
    if (!data) {
        data = new FeatureProcedureData(interaction);
        if (data->GetTag() == 0) {
            data->Release();
            return 1;
        }
        m_ProcedureDataTag = data->GetTag();
    }
    data->SetFeatureTag(GetTag());
    data->SetMainBodyTag(m_tMainBody);
    data->SetCutToolBodyTag(m_tCutToolBody);
    data->SetCutToolMappingDataTag(m_CutMapDataTag);
    data->SetProcedureMappingDataTag(m_ProcedureMapDataTag);
    data->SetFeatureProcedureType(context.createToolBody ? FeatureProcedureTypeCreateToolBody
                                                         : FeatureProcedureTypeModifySolid);
    data->SetToolPartition(interaction->GetQELPartition());
    data->SetAppData(m_ProcedureAppData);

    if (!m_References.empty() && !m_ProfileReferences.empty()) {
        if (IsTreatedAsSimple()) {
            Reference* first = m_References.front();
            Reference* profile = m_ProfileReferences.front();
            if (!first || !profile || !first->GetInstance() || !profile->GetInstance())
                return 1;
            const Xform inverse = first->GetInstance()->GetXform().GetInverse();
            WriteProfileXform(data, MultiplyXforms(profile->GetInstance()->GetXform(), inverse));
        } else {
            // Without a solve that knows the feature (an application's own edit), nothing has
            // moved the profile against the feature: the transform is the one their placements
            // give, as the solver itself would report it after a solve that moved neither.
            Xform profileXform;
            if (!context.solver ||
                !GetSolverFeatureProfileXform(context.solver, this, profileXform)) {
                Reference* first = m_References.front();
                Reference* profile = m_ProfileReferences.front();
                if (!first || !profile)
                    return 1;
                profileXform = MultiplyXforms(PlacementOf(first->GetInstance()).GetInverse(),
                                              PlacementOf(profile->GetInstance()));
            }
            WriteProfileXform(data, profileXform);
        }
    }

    std::vector<std::pair<int, int>> marks;
    if (context.createToolBody) {
        if (m_tMainBody != 0) {
            const int partition = GetEntityPartition(m_tMainBody);
            int mark = 0;
            if (partition == 0 || BQ_PARTITION_make_pmark(partition, &mark) != BQ_ERROR_no_errors)
                return 1;
            marks.emplace_back(partition, mark);
        }
        if (m_FeatureType == FeatureTypeComplexRecreate)
            if (const int solved = ApplySolvedTransforms(context.solver)) {
                // The mark is this run's own: leave the partition as the run found it.
                RestoreMainBodyPartition(marks);
                return solved;
            }
    }

    {
        ProcedureRunScope running(data);
        m_Procedure(interaction->GetTag(), data->GetTag());
    }

    if (const ResultType result = data->GetResult()) {
        // A failed procedure leaves nothing of what it did to the main body behind.
        RestoreMainBodyPartition(marks);
        return result;
    }
    if (context.createToolBody) {
        m_tProcedureToolBody = data->GetProcedureToolBody();
        if (RestoreMainBodyPartition(marks) != 0)
            return 1;
        if (procedureMapping->GetEntryCount() > 0) {
            procedureMapping->Compose(GetCutMapData());
            if (context.solver && !IsTreatedAsSimple() &&
                !UpdateSolverGeometriesWithAltTopols(context.solver, procedureMapping))
                return 1;
        }
    } else {
        if (m_CutMapDataTag != 0)
            procedureMapping->Compose(GetCutMapData());
        ApplyMappingData(*interaction, procedureMapping);
        CreateReferencesForNewFaces(procedureMapping);
    }
    Dump("Procedure End:");
    return 0;
}

int Feature::CutFeatureFaces(Solver* solver, bool createToolBody)
{
    const bool addOnRoute = !(IsTreatedAsSimple() && createToolBody);
    Interaction* interaction = GetInteraction();
    if (!interaction)
        return 1;
    if (m_FeatureType != FeatureTypeSimpleRecreate && m_FeatureType != FeatureTypeComplexRecreate)
        return 0;
    if (m_tCutToolBody != 0)
        return 0;
    RecordModified();
    MappingData* cutMapping = GetOrMakeMapData(m_CutMapDataTag);
    if (!cutMapping)
        return 1;
    cutMapping->Clear();
    m_tMainBody = 0;

    std::vector<int> faces;
    for (Reference* reference : m_References) {
        const int entity = reference ? reference->GetEntityTag() : 0;
        const int entityClass = GetEntityClass(entity);
        if (entityClass == BQ_CLASS_null)
            return 1;
        if (entityClass != BQ_CLASS_face)
            continue;
        if (faces.empty())
            m_tMainBody = GetOwningBody(entity);
        faces.push_back(entity);
    }
    std::vector<int> dependents;
    for (Reference* reference : m_Dependents)
        if (reference)
            dependents.push_back(reference->GetEntityTag());
    if (faces.empty())
        return 0;

    const int count = static_cast<int>(faces.size());
    if (addOnRoute) {
        HXR_FACE_cut_o_s options{};
        options.version = 2;
        options.partition = interaction->GetQELPartition();
        options.keep_faces = false;
        options.want_tracking = true;
        options.heal = HXR_CUT_HEAL_default;
        options.sheet_form = HXR_CUT_SHEET_connected;
        options.max_sheets = 1;
        HXR_ENTITY_track_r_s tracking{};
        int sheet = 0;
        Model::StartDebugReport("HXR_FACE_cut");
        HXR_FACE_cut(count, faces.data(), &options, &sheet, &tracking);
        Model::StopDebugReport();
        m_tCutToolBody = sheet;
        if (sheet != 0)
            for (int i = 0; i < tracking.n_track_records; ++i) {
                const HXR_ENTITY_track_record_r_s& record = tracking.track_records[i];
                // The add-on reports the sheet's faces as derived from the faces cut.
                for (int kind : {HXR_TRACK_create, HXR_TRACK_derive})
                    AddPairedRecord(cutMapping, record.track, kind, record.n_originals,
                                    record.originals, record.n_products, record.products);
            }
        HXR_ENTITY_track_r_f(&tracking);
        if (sheet == 0)
            return 1;
    } else {
        const BQ_FACE_make_sheet_o_t sheetOptions{1, true};
        BQ_TOPOL_track_r_t tracking{};
        int nBodies = 0;
        int* bodies = nullptr;
        const int made = BQ_FACE_make_sheet_bodies(count, faces.data(), &sheetOptions, &tracking,
                                                   &nBodies, &bodies);
        const int sheet = made == BQ_ERROR_no_errors && nBodies == 1 ? bodies[0] : 0;
        if (sheet != 0)
            for (int i = 0; i < tracking.n_track_records; ++i) {
                const BQ_TOPOL_track_record_r_t& record = tracking.track_records[i];
                AddPairedRecord(cutMapping, record.track, BQ_TOPOL_track_create,
                                record.n_original_topols, record.original_topols,
                                record.n_product_topols, record.product_topols);
            }
        BQ_TOPOL_track_r_f(&tracking);
        BQ_MEMORY_free(bodies);
        if (sheet == 0)
            return 1;
        m_tCutToolBody = sheet;
        if (BQ_BODY_change_partition(sheet, interaction->GetQELPartition()) != BQ_ERROR_no_errors)
            return 1;
        if (!IsTreatedAsSimple()) {
            const BQ_FACE_delete_o_t deleteOptions{1, BQ_FACE_heal_cap, true, true};
            BQ_TOPOL_track_r_t deleteTracking{};
            nBodies = 0;
            bodies = nullptr;
            const int deleted = BQ_FACE_delete(count, faces.data(), &deleteOptions, &deleteTracking,
                                               &nBodies, &bodies);
            if (deleted == BQ_ERROR_no_errors && nBodies == 1)
                m_tMainBody = bodies[0];
            BQ_TOPOL_track_r_f(&deleteTracking);
            BQ_MEMORY_free(bodies);
            if (deleted != BQ_ERROR_no_errors)
                return 1;
        }
    }
    for (int dependent : dependents)
        if (!IsLiveEntity(dependent))
            cutMapping->AddEntry(dependent, 0);
    if (!IsTreatedAsSimple() && solver && !UpdateSolverGeometriesWithAltTopols(solver, cutMapping))
        return 1;
    return 0;
}

int Feature::TrackProcedureToolFaces()
{
    const int definition = GetFeatureDevAttDef();
    std::set<int> toolFaces;
    GetBodyFaces(m_tProcedureToolBody, toolFaces);
    for (int face : toolFaces) {
        int attribute = 0;
        if (BQ_ATTRIB_create_empty(face, definition, &attribute) == BQ_ERROR_no_errors)
            BQ_ATTRIB_set_ints(attribute, 0, 1, &face);
    }
    const int copy = CopyEntity(m_tProcedureToolBody);

    // Each entry that names a tool face is moved onto that face's copy.
    MappingData* mapping = GetProcedureMapData();
    if (mapping && copy != 0) {
        std::vector<std::pair<int, int>> entries(mapping->GetEntryCount());
        for (int i = 0; i < static_cast<int>(entries.size()); ++i)
            mapping->GetEntry(i, &entries[i].first, &entries[i].second);
        std::vector<bool> moved(entries.size(), false);
        std::set<int> copyFaces;
        GetBodyFaces(copy, copyFaces);
        for (int face : copyFaces) {
            int attribute = 0;
            if (BQ_ENTITY_ask_first_attrib(face, definition, &attribute) != BQ_ERROR_no_errors ||
                attribute == 0)
                continue;
            int n = 0;
            int* values = nullptr;
            BQ_ATTRIB_ask_ints(attribute, 0, &n, &values);
            const int label = n > 0 ? values[0] : 0;
            BQ_MEMORY_free(values);
            for (size_t i = 0; i < entries.size(); ++i)
                if (!moved[i] && entries[i].second == label) {
                    entries[i].second = face;
                    moved[i] = true;
                }
        }
        if (std::find(moved.begin(), moved.end(), true) != moved.end()) {
            mapping->Clear();
            for (const auto& entry : entries)
                mapping->AddEntry(entry.first, entry.second);
        }
    }
    const BQ_PART_delete_attribs_o_t deleteOptions{1, BQ_CLASS_face};
    BQ_PART_delete_attribs(m_tProcedureToolBody, 1, &definition, &deleteOptions);
    return copy;
}

bool Feature::IsProcedureMappingOneToOne() { return IsMappingOneToOne(GetProcedureMapData()); }

int Feature::ApplyProcedureToModel(int resultBody, const Xform& transform)
{
    Interaction* interaction = GetInteraction();
    if (!interaction)
        return ResultTypeFail;
    TransformToolBody(resultBody, transform);
    std::vector<int> faces;
    for (Reference* reference : m_References)
        if (reference)
            faces.push_back(reference->GetEntityTag());
    MappingData* mapping = GetProcedureMapData();
    HXR_ENTITY_track_r_s tracking{};

    if (!IsProcedureMappingOneToOne()) {
        if (ReplaceFacesWithSheetBody(interaction, faces, resultBody, &tracking) != 0) {
            HXR_ENTITY_track_r_f(&tracking);
            return ResultTypeFail;
        }
        RetargetMappingThroughTracking(mapping, tracking);
        HXR_ENTITY_track_r_f(&tracking);
        ApplyMappingData(*interaction, mapping);
        CreateReferencesForNewFaces(mapping);
        return ResultTypeOk;
    }
    int result = 0;
    if (!faces.empty())
        result = ChangeFacesToMappedFaces(interaction, faces, mapping, &tracking);
    if (resultBody != 0)
        BQ_ENTITY_delete(1, &resultBody);
    if (result != 0) {
        HXR_ENTITY_track_r_f(&tracking);
        return ResultTypeFail;
    }
    // The faces keep their tags, so the interaction's references stay where they are.
    RetargetMappingThroughTracking(mapping, tracking);
    HXR_ENTITY_track_r_f(&tracking);
    return ResultTypeOk;
}

void Feature::CreateReferencesForNewFaces(MappingData* mapping)
{
    if (!mapping)
        return;
    std::set<int> newFaces;
    mapping->FindEntries(0, newFaces);
    if (newFaces.empty())
        return;
    Instance* instance = m_Instance;
    if (!m_References.empty())
        instance = m_References.front() ? m_References.front()->GetInstance() : nullptr;
    else if (!m_Dependents.empty())
        instance = m_Dependents.front() ? m_Dependents.front()->GetInstance() : nullptr;
    for (int face : newFaces)
        if (Reference* reference = Reference::Create(GetInteraction(), face, instance))
            AddReference(reference);
}

int Feature::ApplySolvedTransforms(Solver* solver)
{
    Interaction* interaction = GetInteraction();
    if (!solver || !interaction)
        return 1;
    if (m_FeatureType != FeatureTypeComplexRecreate)
        return 0;
    bool moved = false;
    std::map<int, std::map<int, Xform>> changes;
    double matrix[4][4];
    for (Reference* reference : m_Dependents)
        if (reference && GetSolvedReferenceTransform(solver, reference, matrix)) {
            moved = true;
            const int entity = reference->GetEntityTag();
            changes[GetOwningBody(entity)][entity] = Xform(matrix);
        }
    for (Reference* reference : m_ProfileReferences)
        if (reference && GetSolvedReferenceTransform(solver, reference, matrix))
            moved = true;
    if (moved)
        MarkSolverFeatureMoved(solver, this);
    if (!changes.empty()) {
        interaction->CreateUpdateManager();
        if (!ApplySolvedFaceTransforms(interaction, changes))
            return ResultTypeFail;
    }
    return 0;
}

int Feature::Edit(void* appData)
{
    // Nothing would be re-made: saying Ok would tell the application its feature was edited.
    if (!GetNewPFAlgorithm())
        return ResultTypeNotSupported;
    RecordModified();
    if (appData) {
        RecordModified();
        m_ProcedureAppData = appData;
    }
    // The cut and whatever the procedure did before failing are undone: a failed edit leaves
    // the main body as it found it.
    Reference* first = m_References.empty() ? nullptr : m_References.front();
    const int partition = first ? GetEntityPartition(GetOwningBody(first->GetEntityTag())) : 0;
    int mark = 0;
    if (partition != 0 && BQ_PARTITION_make_pmark(partition, &mark) != BQ_ERROR_no_errors)
        mark = 0;
    // A feature that is not treated as simple leaves the body when it is cut, whichever route
    // cuts it: there are no faces left to change in place, so its procedure re-makes it in the
    // main body itself, as the update pass has it do.
    ProcedureRunContext context;
    context.createToolBody = IsTreatedAsSimple();
    int result = RunProcedure(context);
    if (result == 0 && context.createToolBody)
        result = ApplyProcedureToModel(TrackProcedureToolFaces(), GetIdentityXform());
    if (result != 0 && mark != 0)
        GoToPartitionMark(mark);
    if (mark != 0)
        DeletePartitionMark(mark);
    // The tool bodies are the run's own: a failed run leaves none behind either.
    PurgeReferences(m_References, false);
    PurgeReferences(m_Dependents, false);
    DeleteToolBodies();
    return result;
}

}  // namespace QEL
