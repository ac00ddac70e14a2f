#include "model/operations/FaceChangeBuilder.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/maths/Tolerance.h"
#include "core/objects/Interaction.h"
#include "core/objects/SolutionChangeData.h"
#include "core/support/Timer.h"
#include "model/operations/OperationFaceChanges.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellClusterData.h"
#include "model/operations/TaperOptions.h"
#include "model/transaction/Model.h"

#include <algorithm>
#include <cstring>

namespace QEL {

namespace {

double s_faceChangeTime = -1.0;

constexpr double s_halfPi = 1.5707963267948966;

const SolvedFaceChange s_noChange{};

int StepFaceToken(int stepFaceType)
{
    switch (stepFaceType) {
        case StepFaceOnAllEdges:
            return HXR_STEP_FACE_all_edges;
        case StepFaceOnSmoothEdges:
            return HXR_STEP_FACE_smooth_edges;
        case StepFaceOnIfNotCoincident:
            return HXR_STEP_FACE_if_not_coincident;
        default:
            return HXR_STEP_FACE_off;
    }
}

// Makes a surface from the face's present standard form with some fields replaced, moved by
// the transform when one is given; the partition switch keeps the new surface with the face.
template <typename Form, typename Ask, typename Create, typename Change>
int MakeChangedSurface(int face, int transform, bool* sense, Ask ask, Create create, Change change)
{
    int surface = 0;
    bool orientation = true;
    if (BQ_FACE_ask_oriented_surf(face, &surface, &orientation) != BQ_ERROR_no_errors)
        return 0;
    Form form;
    if (ask(surface, &form) != BQ_ERROR_no_errors)
        return 0;
    if (sense)
        *sense = orientation;
    change(form);
    const PartitionGuard guard(face);
    int made = 0;
    if (create(&form, &made) != BQ_ERROR_no_errors)
        return 0;
    if (transform != 0) {
        const BQ_GEOM_transform_o_t options = {1, 0.0, BQ_GEOM_transform_in_place, true, true};
        int result = 0;
        unsigned char exact = 0;
        BQ_GEOM_transform_2(1, &made, transform, &options, &result, &exact);
    }
    return made;
}

}  // namespace

double GetLastFaceChangeTime() { return s_faceChangeTime; }

void ResetFaceChangeTime() { s_faceChangeTime = -1.0; }

int MakeTransformFromMatrix(const SolvedFaceChange& change)
{
    BQ_TRANSF_sf_t form;
    std::memcpy(form.matrix, change.m_transform, sizeof form.matrix);
    int transform = 0;
    return BQ_TRANSF_create(&form, &transform) == BQ_ERROR_no_errors ? transform : 0;
}

int ComposeTransforms(int first, int second)
{
    int composed = 0;
    return BQ_TRANSF_transform(first, second, &composed) == BQ_ERROR_no_errors ? composed : 0;
}

int MakeConeSurface(int face, double halfAngle, int transform, bool* sense)
{
    return MakeChangedSurface<BQ_CONE_sf_t>(
        face, transform, sense, BQ_CONE_ask, BQ_CONE_create,
        [halfAngle](BQ_CONE_sf_t& form) { form.half_angle = halfAngle; });
}

int MakeTorusSurface(int face, double majorRadius, double minorRadius, int transform, bool* sense)
{
    return MakeChangedSurface<BQ_TORUS_sf_t>(face, transform, sense, BQ_TORUS_ask, BQ_TORUS_create,
                                             [=](BQ_TORUS_sf_t& form) {
                                                 form.major_radius = majorRadius;
                                                 form.minor_radius = minorRadius;
                                             });
}

FaceChangeBuilder::FaceChangeBuilder(Interaction* interaction, bool recordSolutionData,
                                     SolutionChangeData* solutionData,
                                     ReblendChainArray* reblendChains,
                                     ShellClusterDataArray* shellClusters, int stepFaceType)
    : m_reblendChains(reblendChains),
      m_shellClusters(shellClusters),
      m_recordSolutionData(recordSolutionData),
      m_solutionData(solutionData),
      m_stepFaceType(stepFaceType),
      m_interaction(interaction)
{
}

FaceChangeBuilder::~FaceChangeBuilder() = default;

HXR_FACE_change_s* FaceChangeBuilder::AddRecord(int face, OwnedParts** parts)
{
    if (!m_handledFaces.insert(face).second)
        return nullptr;
    m_changeIndices.push_back(static_cast<int>(m_faces.size()));
    m_faces.push_back(face);
    HXR_FACE_change_s record;
    std::memset(&record, 0, sizeof record);
    m_changes.push_back(record);
    m_owned.push_back(OwnedParts{std::make_unique<ChangeOptions>(), {}});
    std::memset(m_owned.back().options.get(), 0, sizeof(ChangeOptions));
    *parts = &m_owned.back();
    return &m_changes.back();
}

const std::vector<HXR_FACE_change_s>& FaceChangeBuilder::GetChangeRecords()
{
    for (size_t i = 0; i < m_changes.size(); ++i) {
        m_changes[i].options = m_owned[i].options.get();
        m_changes[i].edges = m_owned[i].edges.empty() ? nullptr : m_owned[i].edges.data();
    }
    return m_changes;
}

void FaceChangeBuilder::AddReblendChange(int face, double radius)
{
    if (IsHandled(face) || !IsEntity(face))
        return;
    OwnedParts* parts = nullptr;
    HXR_FACE_change_s* record = AddRecord(face, &parts);
    if (m_recordSolutionData && m_solutionData)
        m_solutionData->SetEntityReblend(face, radius);
    m_reblendedFaces.push_back(face);
    record->change = HXR_CHANGE_reblend;
    parts->options->reblend = HXR_FACE_change_reblend_o_s{1, radius, HXR_REBLEND_default};
}

void FaceChangeBuilder::AddOffsetChange(int face, double distance,
                                        const HXR_FACE_change_offset_o_s* block)
{
    OwnedParts* parts = nullptr;
    HXR_FACE_change_s* record = AddRecord(face, &parts);
    if (!record)
        return;
    record->change = HXR_CHANGE_offset;
    record->offset = distance;
    parts->options->offset = block ? *block : HXR_FACE_change_offset_o_s{1, 0};
}

void FaceChangeBuilder::AddPartnerOffsetChange(int face, int referenceFace, double thickness)
{
    const HXR_FACE_change_offset_o_s block{1, referenceFace};
    AddOffsetChange(face, -thickness, &block);
}

void FaceChangeBuilder::AddTransformChange(int face, int transform, int stepFaceType)
{
    OwnedParts* parts = nullptr;
    HXR_FACE_change_s* record = AddRecord(face, &parts);
    if (!record)
        return;
    record->change = HXR_CHANGE_transform;
    record->transform = transform;
    parts->options->transform =
        HXR_FACE_change_transform_o_s{2, {0, 0, 0}, StepFaceToken(stepFaceType)};
}

void FaceChangeBuilder::AddSurfaceChange(int face, int surface, bool sense,
                                         const HXR_FACE_change_surface_o_s* block)
{
    OwnedParts* parts = nullptr;
    HXR_FACE_change_s* record = AddRecord(face, &parts);
    if (!record)
        return;
    record->change = HXR_CHANGE_replace_surface;
    record->surface = surface;
    record->sense = sense;
    parts->options->surface = block ? *block : HXR_FACE_change_surface_o_s{1, HXR_MERGE_no};
}

void FaceChangeBuilder::AddTaperChange(int face, const double direction[3], double angle,
                                       const std::vector<int>& edges,
                                       const HXR_FACE_change_taper_o_s* block)
{
    OwnedParts* parts = nullptr;
    HXR_FACE_change_s* record = AddRecord(face, &parts);
    if (!record)
        return;
    record->change = HXR_CHANGE_taper;
    std::memcpy(record->direction, direction, sizeof record->direction);
    record->angle = angle;
    record->n_edges = static_cast<int>(edges.size());
    parts->edges = edges;
    parts->options->taper =
        block ? *block
              : HXR_FACE_change_taper_o_s{
                    1, nullptr, 0, nullptr, 0, HXR_TAPER_METHOD_curve, HXR_LAMINAR_EDGE_normal};
}

void FaceChangeBuilder::AddSolvedChange(int face, const SolvedFaceChange& change)
{
    if (IsHandled(face))
        return;
    const bool record = m_recordSolutionData && m_solutionData;
    const int mask = change.m_mask;
    if (mask == SolvedChangeTransform) {
        const int transform = MakeTransformFromMatrix(change);
        const bool selected = m_interaction && m_interaction->IsEntitySelected(face);
        AddTransformChange(face, transform, selected ? m_stepFaceType : 0);
        if (record)
            m_solutionData->SetEntityTransform(face, Xform(transform));
        return;
    }
    double radius = 0.0;
    double halfAngle = 0.0;
    double minorRadius = 0.0;
    const int surfaceClass = GetGeometryClassOfTopology(face);
    switch (surfaceClass) {
        case KernelClassCylinder:
        case KernelClassSphere: {
            if (mask != SolvedChangeRadius && mask != (SolvedChangeRadius | SolvedChangeTransform))
                return;
            const int scale = CreateRadiusScaleTransform(face, change.m_firstValueChange);
            int transform = scale;
            if (mask != SolvedChangeRadius) {
                const int solved = MakeTransformFromMatrix(change);
                transform = ComposeTransforms(scale, solved);
                if (record)
                    m_solutionData->SetEntityTransform(face, Xform(solved));
            }
            AddTransformChange(face, transform, 0);
            if (record) {
                GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &radius, nullptr,
                                    nullptr);
                m_solutionData->SetEntityRadius(face, radius + change.m_firstValueChange);
            }
            return;
        }
        case KernelClassCone: {
            if (mask != SolvedChangeHalfAngle &&
                mask != (SolvedChangeHalfAngle | SolvedChangeTransform))
                return;
            GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, nullptr, &halfAngle,
                                nullptr);
            const double newHalfAngle = halfAngle + change.m_firstValueChange;
            int transform = 0;
            if (mask != SolvedChangeHalfAngle) {
                transform = MakeTransformFromMatrix(change);
                if (record)
                    m_solutionData->SetEntityTransform(face, Xform(transform));
            }
            if (record)
                m_solutionData->SetEntityHalfAngle(face, newHalfAngle);
            const bool moved = mask != SolvedChangeHalfAngle;
            if (newHalfAngle < 0.0 || (moved && !(newHalfAngle > 0.0 && newHalfAngle < s_halfPi)))
                return;
            bool sense = true;
            if (const int cone = MakeConeSurface(face, newHalfAngle, transform, &sense))
                AddSurfaceChange(face, cone, sense, nullptr);
            return;
        }
        case KernelClassTorus: {
            GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &radius, nullptr,
                                &minorRadius);
            if (!(mask & (SolvedChangeTransform | SolvedChangeRadius | SolvedChangeMinorRadius)))
                return;
            const int transform =
                (mask & SolvedChangeTransform) ? MakeTransformFromMatrix(change) : 0;
            if (mask & SolvedChangeRadius)
                radius += change.m_firstValueChange;
            if (mask & SolvedChangeMinorRadius)
                minorRadius += change.m_secondValueChange;
            if (record) {
                if (transform != 0)
                    m_solutionData->SetEntityTransform(face, Xform(transform));
                if (mask & SolvedChangeRadius)
                    m_solutionData->SetEntityRadius(face, radius);
                if (mask & SolvedChangeMinorRadius)
                    m_solutionData->SetEntityMinorRadius(face, minorRadius);
            }
            bool sense = true;
            if (const int torus = MakeTorusSurface(face, radius, minorRadius, transform, &sense))
                AddSurfaceChange(face, torus, sense, nullptr);
            return;
        }
        default:
            return;
    }
}

bool FaceChangeBuilder::AddShellPartnerChanges(int face, const SolvedFaceChange& change,
                                               bool skipOwnSide)
{
    if (IsHandled(face))
        return true;
    ShellClusterData cluster;
    if (!m_shellClusters || !m_shellClusters->ContainsFace(face, &cluster))
        return false;
    const std::vector<int>& side1 = cluster.GetSide1();
    const bool onFirst = std::find(side1.begin(), side1.end(), face) != side1.end();
    const std::vector<int>& own = onFirst ? cluster.GetSide1() : cluster.GetSide2();
    const std::vector<int>& partners = onFirst ? cluster.GetSide2() : cluster.GetSide1();
    if (!skipOwnSide)
        for (int f : own)
            AddSolvedChange(f, change);
    const int reference = own.empty() ? 0 : own.front();
    for (int g : partners)
        AddPartnerOffsetChange(g, reference, cluster.GetThickness());
    return IsHandled(face);
}

bool FaceChangeBuilder::AddReblendChain(int face, const SolvedFaceChange& change)
{
    if (IsHandled(face))
        return true;
    ReblendChain chain;
    if (!m_reblendChains || !m_reblendChains->ContainsTagAsBlend(face, chain))
        return false;
    double radius = 0.0;
    if (!IsNearlyZero(change.m_firstValueChange))
        radius = chain.GetRadius() + change.m_firstValueChange;
    else if (!IsNearlyZero(change.m_secondValueChange))
        radius = chain.GetRadius() + change.m_secondValueChange;
    if (IsEqualWithinTolerance(radius, chain.GetRadius()))
        radius = 0.0;
    for (int blend : chain.GetFaceArray()) {
        AddShellPartnerChanges(blend, change, true);
        AddReblendChange(blend, radius);
    }
    return IsHandled(face);
}

void FaceChangeBuilder::AddDependentReblends()
{
    if (!m_reblendChains)
        return;
    std::vector<ReblendChain> chains;
    for (bool offsets : {false, true})
        for (size_t i = 0; i < m_faces.size(); ++i)
            if ((m_changes[i].change == HXR_CHANGE_offset) == offsets)
                m_reblendChains->ContainsTagAsBlendDependent(m_faces[i], chains);
    for (const ReblendChain& chain : chains)
        for (int blend : chain.GetFaceArray()) {
            AddShellPartnerChanges(blend, s_noChange, true);
            AddReblendChange(blend, 0.0);
        }
}

void FaceChangeBuilder::CollectReblendChains(const std::vector<int>& faces)
{
    if (!m_reblendChains)
        return;
    for (int face : faces) {
        if (m_reblendChains->ContainsTagAsBlend(face))
            continue;
        std::vector<int> added;
        m_reblendChains->AddChain(ReblendChain({face}, 0.0), added);
    }
}

void FaceChangeBuilder::CollectShellClusters(const std::vector<int>& faces)
{
    if (!m_shellClusters)
        return;
    for (int face : faces) {
        if (m_shellClusters->ContainsFace(face, nullptr))
            continue;
        std::vector<int> side;
        std::vector<int> partners;
        double thickness = 0.0;
        if (!FindShellCluster(face, &side, &partners, &thickness) || partners.empty())
            continue;
        const bool partnerListed = std::any_of(partners.begin(), partners.end(), [&faces](int p) {
            return std::find(faces.begin(), faces.end(), p) != faces.end();
        });
        if (!partnerListed)
            m_shellClusters->AddClusterData(ShellClusterData(side, partners, thickness));
    }
}

// Replace and taper: the reblend faces' chains and, with maintain shell, the shells of the
// reblend faces and of the faces; the faces' own changes; then the chains re-blended.
void FaceChangeBuilder::AddOwnChangesAmongChainsAndShells(const std::vector<int>& faces,
                                                          const std::vector<int>& reblendFaces,
                                                          bool maintainShell,
                                                          const std::function<void(size_t)>& addOwn)
{
    CollectReblendChains(reblendFaces);
    if (maintainShell) {
        CollectShellClusters(reblendFaces);
        CollectShellClusters(faces);
    }
    for (int face : faces)
        AddShellPartnerChanges(face, s_noChange, true);
    for (size_t i = 0; i < faces.size(); ++i)
        addOwn(i);
    for (int blend : reblendFaces)
        AddReblendChain(blend, s_noChange);
}

bool FaceChangeBuilder::AddReplaceFacesChanges(const std::vector<int>& faces,
                                               const std::vector<int>& surfaces,
                                               const std::vector<int>& senses,
                                               const ReplaceOptions* options)
{
    HXR_FACE_change_surface_o_s merge;
    options->GetMergeOptionBlock(merge);
    AddOwnChangesAmongChainsAndShells(
        faces, options->GetReblendFaces(), options->GetMaintainShell(),
        [&](size_t i) { AddSurfaceChange(faces[i], surfaces[i], senses[i] != 0, &merge); });
    return true;
}

bool FaceChangeBuilder::AddTaperFacesChanges(const std::vector<int>& faces,
                                             const double direction[3], double angle,
                                             const std::vector<std::vector<int>>& edgeLists,
                                             TaperOptions* options)
{
    HXR_FACE_change_taper_o_s taper;
    options->GetOptionBlock(taper);
    AddOwnChangesAmongChainsAndShells(
        faces, options->GetReblendFaces(), options->GetMaintainShell(),
        [&](size_t i) { AddTaperChange(faces[i], direction, angle, edgeLists[i], &taper); });
    return true;
}

void FaceChangeBuilder::AddSolvedFaceByRule(int face, const SolvedFaceChange& change)
{
    if (!AddReblendChain(face, change) && !AddShellPartnerChanges(face, change, false))
        AddSolvedChange(face, change);
}

bool FaceChangeBuilder::AddSolverChanges(const SolvedFaceChangeMap& changes,
                                         SolverOperation* operation, int body)
{
    size_t room = changes.size();
    if (m_shellClusters)
        room += static_cast<size_t>(m_shellClusters->GetFaceCount());
    if (m_reblendChains)
        room += static_cast<size_t>(m_reblendChains->GetFaceAndDependentCount());
    m_faces.reserve(room);
    m_changeIndices.reserve(room);
    m_changes.reserve(room);
    m_owned.reserve(room);
    if (operation)
        AddOperationChanges(operation, body, changes);
    for (const auto& solved : changes)
        AddSolvedFaceByRule(solved.first, solved.second);
    AddDependentReblends();
    return true;
}

bool FaceChangeBuilder::AddOperationChanges(SolverOperation* operation, int body,
                                            const SolvedFaceChangeMap& changes)
{
    if (OperationFaceChanges* installed = InstalledSeam<OperationFaceChanges>::Get())
        installed->AddOperationChanges(*this, operation, body, changes);
    return true;
}

bool FaceChangeBuilder::AddBlendRadiusChanges(const std::vector<int>& faces, double radius,
                                              int body)
{
    for (int face : faces) {
        if (GetOwningBody(face) != body)
            continue;
        AddShellPartnerChanges(face, s_noChange, true);
        AddReblendChange(face, radius);
    }
    return true;
}

bool FaceChangeBuilder::AddOffsetOperationChanges(const std::vector<int>& faces,
                                                  const std::vector<double>& offsets,
                                                  bool shellPartnersFollow,
                                                  const std::map<int, double>& partnerOffsets,
                                                  const HXR_FACE_change_offset_o_s& block, int body)
{
    for (size_t i = 0; i < faces.size() && i < offsets.size(); ++i) {
        if (GetOwningBody(faces[i]) != body)
            continue;
        if (shellPartnersFollow)
            AddShellPartnerChanges(faces[i], s_noChange, true);
        AddOffsetChange(faces[i], offsets[i], &block);
    }
    for (const auto& partner : partnerOffsets)
        if (GetOwningBody(partner.first) == body)
            AddOffsetChange(partner.first, partner.second, &block);
    return true;
}

bool FaceChangeBuilder::AddSeedChanges(const std::vector<std::pair<int, Instance*>>& seeds,
                                       const SolvedFaceChangeMap& changes)
{
    for (const auto& seed : seeds) {
        if (!IsFace(seed.first))
            continue;
        const auto solved = changes.find(seed.first);
        if (solved != changes.end())
            AddSolvedFaceByRule(solved->first, solved->second);
    }
    return true;
}

int FaceChangeBuilder::Apply(const HXR_FACE_change_o_s* block)
{
    if (m_faces.empty())
        return 0;
    HXR_FACE_change_o_s options;
    if (block)
        options = *block;
    else
        ResetFaceChangeOptionBlock(options);
    s_faceChangeTime = -1.0;
    const Timer timer;
    HXR_ENTITY_track_r_s tracking = {0, nullptr};
    GetChangeRecords();
    const double tolerance = m_interaction ? m_interaction->GetModellingTolerance() : 1e-6;
    const int error =
        Model::FaceChange(m_interaction, static_cast<int>(m_faces.size()), m_faces.data(),
                          m_changeIndices.data(), static_cast<int>(m_changes.size()),
                          m_changes.data(), tolerance, &options, &tracking, true, nullptr);
    s_faceChangeTime = timer.GetElapsedSeconds();
    // A failed call leaves the record to the transaction, which has freed it already or never
    // filled it; freeing an emptied record again is harmless, so it is freed on every path.
    HXR_ENTITY_track_r_f(&tracking);
    return error;
}

}  // namespace QEL
