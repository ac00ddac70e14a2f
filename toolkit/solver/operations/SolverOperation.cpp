#include "solver/operations/SolverOperation.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/LinesAndPlanes.h"
#include "core/maths/RotationMatrix.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/Bonds.h"
#include "solver/RigidGroup.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

Vec ToVec(const double xyz[3]) { return Vec(xyz[0], xyz[1], xyz[2]); }

void CopyOut(const Vec& v, double xyz[3])
{
    xyz[0] = v.x;
    xyz[1] = v.y;
    xyz[2] = v.z;
}

void SetIdentity4x4(double (*matrix)[4])
{
    Xform identity;
    identity.Get4x4(matrix);
}

}  // namespace

AdaptiveLiftData::~AdaptiveLiftData()
{
    for (GeometryBase* geometry : m_constructionGeometry)
        delete geometry;
    for (GeometryBase* point : m_tippingPoints)
        delete point;
}

// --- SolverOperation -------------------------------------------------------------------------

SolverOperation::SolverOperation(Interaction* interaction) : m_interaction(interaction) {}

SolverOperation::~SolverOperation() = default;

int SolverOperation::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    for (Relation* relation : m_relations)
        solver->AddRelation(relation);
    return PushDragValues(solver);
}

bool SolverOperation::AddDesiredChange(Solver*, YSKManager*, UpdateStatus&) { return true; }

void SolverOperation::GetChangedFaces(std::set<int>&, std::set<int>&) {}

int SolverOperation::SetDragPosition(const double*) { return ResultTypeFail; }
int SolverOperation::GetDragPosition(double*) { return ResultTypeFail; }
int SolverOperation::SetDragTransform(const double (*)[4]) { return ResultTypeFail; }
int SolverOperation::GetDragTransform(double (*)[4]) { return ResultTypeFail; }
int SolverOperation::SetDragValue(double) { return ResultTypeFail; }
int SolverOperation::GetDragValue(double&) { return ResultTypeFail; }
int SolverOperation::GetDirection(double*) { return ResultTypeFail; }
int SolverOperation::GetStartPosition(double*) { return ResultTypeFail; }

void SolverOperation::GetConfigureSeeds(SeedList&) {}

void SolverOperation::DropSolverPointers()
{
    m_dragGroup = nullptr;
    m_adaptiveLift.m_constructionBonds.clear();
    m_adaptiveLift.m_tippingBonds.clear();
}

void SolverOperation::ResetDragValues()
{
    for (auto& entry : m_dragValues)
        entry.second = entry.first->GetValue();
}

void SolverOperation::AddRelation(Relation* relation) { m_relations.insert(relation); }

void SolverOperation::AddRelationWithValue(Relation* relation, double value)
{
    m_relations.insert(relation);
    m_dragValues[relation] = value;
}

bool SolverOperation::SetRelationDragValue(Relation* relation, double value)
{
    const auto entry = m_dragValues.find(relation);
    if (!m_relations.count(relation) || entry == m_dragValues.end())
        return false;
    entry->second = value;
    return true;
}

int SolverOperation::PushDragValues(Solver* solver)
{
    for (const auto& entry : m_dragValues)
        if (!solver->SetRelationValue(entry.first, entry.second) ||
            !solver->SetRelationNonRigid(entry.first))
            return ResultTypeFail;
    return ResultTypeOk;
}

void SolverOperation::WriteBackDragValues()
{
    for (const auto& entry : m_dragValues)
        entry.first->SetValue(entry.second);
}

void SolverOperation::GetRelationEntities(std::set<std::pair<int, Instance*>>& entities)
{
    for (Relation* relation : m_relations)
        for (Reference* reference : relation->GetReferences())
            entities.insert({reference->GetEntityTag(), reference->GetInstance()});
}

void SolverOperation::GetAffectedBodies(std::set<int>& bodies)
{
    SeedList seeds;
    GetConfigureSeeds(seeds);
    for (const auto& seed : seeds)
        bodies.insert(GetOwningBody(seed.first));
}

bool SolverOperation::MakeDragGroup(Solver* solver)
{
    const std::vector<Reference*> selection = m_interaction->GetSelectedReferences();
    m_dragGroup = solver->MakeRigidGroup(selection, true);
    if (m_dragGroup && IsAdaptiveLiftActive())
        AddAdaptiveLift(solver, m_dragGroup);
    return m_dragGroup != nullptr;
}

bool SolverOperation::IsAdaptiveLiftActive() const
{
    return m_interaction->GetAdaptiveLiftMode() && m_interaction->GetStepFaceType() == StepFaceOff;
}

void SolverOperation::AppendRelationSeeds(SeedList& seeds)
{
    for (Relation* relation : m_relations)
        for (Reference* reference : relation->GetReferences())
            seeds.emplace_back(reference->GetEntityTag(), reference->GetInstance());
    if (IsAdaptiveLiftActive())
        seeds.insert(seeds.end(), m_adaptiveLift.m_liftedFaces.begin(),
                     m_adaptiveLift.m_liftedFaces.end());
}

g_node* SolverOperation::GetDragNode() const
{
    Set* set = m_dragGroup ? m_dragGroup->GetDragSet() : nullptr;
    return set ? set->GetGNode() : nullptr;
}

// --- SolverEvaluate --------------------------------------------------------------------------

int SolverEvaluate::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    if (IsAdaptiveLiftActive())
        MakeDragGroup(solver);
    return SolverOperation::AddToSolver(solver);
}

int SolverEvaluate::Solve(Solver* solver)
{
    PushDragValues(solver);
    solver->SolveSystem();
    return ResultTypeOk;
}

void SolverEvaluate::GetConfigureSeeds(SeedList& seeds) { AppendRelationSeeds(seeds); }

// --- SolverDragOperation ---------------------------------------------------------------------

int SolverDragOperation::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    // Without a group nothing is dragged; its relations would only be solved for nothing.
    if (!MakeDragGroup(solver))
        return ResultTypeOk;
    return SolverOperation::AddToSolver(solver);
}

void SolverDragOperation::GetConfigureSeeds(SeedList& seeds)
{
    for (Reference* reference : m_interaction->GetSelectedReferences())
        seeds.emplace_back(reference->GetEntityTag(), reference->GetInstance());
    AppendRelationSeeds(seeds);
}

void SolverDragOperation::ResetDragValues()
{
    m_dragGroup = nullptr;
    SolverOperation::ResetDragValues();
}

// --- Linear and planar drags -----------------------------------------------------------------

ProjectedDragPosition::ProjectedDragPosition(const double point[3], const double direction[3],
                                             const double start[3], bool onPlane)
    : m_point(ToVec(point)),
      m_direction(direction[0], direction[1], direction[2]),
      m_onPlane(onPlane)
{
    Set(start);
    m_start = m_current;
}

int ProjectedDragPosition::Set(const double position[3])
{
    m_current = m_onPlane ? ProjectPointOnPlane(ToVec(position), m_point, m_direction)
                          : ProjectPointOnLine(ToVec(position), m_point, m_direction);
    return ResultTypeOk;
}

int ProjectedDragPosition::GetCurrent(double position[3]) const
{
    CopyOut(m_current, position);
    return ResultTypeOk;
}

int ProjectedDragPosition::GetStart(double position[3]) const
{
    CopyOut(m_start, position);
    return ResultTypeOk;
}

int ProjectedDragPosition::GetDirection(double direction[3]) const
{
    CopyOut(m_direction, direction);
    return ResultTypeOk;
}

template <typename Animate>
int SolverDragOperation::SolveTranslation(Solver* solver, const ProjectedDragPosition& position,
                                          Animate animate)
{
    if (!m_dragGroup)
        return ResultTypeFail;
    PushDragValues(solver);
    Vec delta = position.GetDelta();
    if (!m_dimensionAnimation) {
        solver->DragByTranslation(GetDragNode(), delta);
        return ResultTypeOk;
    }
    if (!animate(delta))
        return ResultTypeFail;
    solver->SolveSystem();
    return ResultTypeOk;
}

void SolverDragTranslation::ResetDragValues()
{
    SolverDragOperation::ResetDragValues();
    m_position.m_current = m_position.m_start;
}

SolverDragLinear::SolverDragLinear(Interaction* interaction, const double point[3],
                                   const double direction[3], const double start[3])
    : SolverDragTranslation(interaction, point, direction, start, false)
{
}

int SolverDragLinear::Solve(Solver* solver)
{
    return SolveTranslation(solver, m_position, [this](const Vec& delta) {
        if (!m_animationBond)
            return false;
        // The signed distance moved along the line.
        m_animationBond->SetValue(Dot(delta, m_position.m_direction));
        return true;
    });
}

void SolverDragLinear::DropSolverPointers()
{
    SolverDragTranslation::DropSolverPointers();
    m_animationBond = nullptr;
}

void SolverDragLinear::ResetDragValues()
{
    SolverDragTranslation::ResetDragValues();
    m_animationBond = nullptr;
}

SolverDragPlanar::SolverDragPlanar(Interaction* interaction, const double point[3],
                                   const double normal[3], const double start[3])
    : SolverDragTranslation(interaction, point, normal, start, true)
{
}

void SolverDragPlanar::TakeAnimationBonds(Solver* solver)
{
    const std::vector<Node*>& made = solver->GetYSKGeometries();
    if (made.size() != 2)
        return;
    for (int i = 0; i < 2; ++i) {
        Bond* bond = dynamic_cast<Bond*>(made[i]);
        m_animationBonds[i] = bond;
        m_animationPlanes[i] = nullptr;
        for (int end = 0; bond && end < 2 && !m_animationPlanes[i]; ++end) {
            GeometryBase* geometry = bond->GetGeom(end);
            ZMR3_g_type type;
            if (geometry && geometry->GetGeomType(type) && type == ZMR3_G_PLANE)
                m_animationPlanes[i] = geometry;
        }
    }
    if (!m_animationPlanes[0] || !m_animationPlanes[1])
        DropAnimationBonds();
}

void SolverDragPlanar::DropAnimationBonds()
{
    m_animationBonds[0] = m_animationBonds[1] = nullptr;
    m_animationPlanes[0] = m_animationPlanes[1] = nullptr;
}

int SolverDragPlanar::Solve(Solver* solver)
{
    return SolveTranslation(solver, m_position, [this](const Vec& delta) {
        if (!HasAnimationBond())
            return false;
        // Each dimension takes the part of the move along its own plane's normal.
        for (int i = 0; i < 2; ++i) {
            Dir normal(0.0, 0.0, 0.0, true);
            m_animationPlanes[i]->GetNormal(normal);
            m_animationBonds[i]->SetValue(Dot(normal, delta));
        }
        return true;
    });
}

void SolverDragPlanar::DropSolverPointers()
{
    SolverDragTranslation::DropSolverPointers();
    DropAnimationBonds();
}

void SolverDragPlanar::ResetDragValues()
{
    SolverDragTranslation::ResetDragValues();
    DropAnimationBonds();
}

// --- SolverDragRotate ------------------------------------------------------------------------

SolverDragRotate::SolverDragRotate(Interaction* interaction, const double axisPoint[3],
                                   const double axisDirection[3])
    : SolverDragOperation(interaction),
      m_axisPoint(ToVec(axisPoint)),
      m_axisDirection(axisDirection[0], axisDirection[1], axisDirection[2])
{
}

SolverDragRotate::~SolverDragRotate() { DeleteAxisLine(nullptr); }

void SolverDragRotate::DeleteAxisLine(Solver* current)
{
    if (!m_axisLine)
        return;
    if (current && m_axisLine->GetSolver() == current)
        m_axisLine->RemoveFromZMR();
    delete m_axisLine;
    m_axisLine = nullptr;
}

void SolverDragRotate::DropSolverPointers()
{
    SolverDragOperation::DropSolverPointers();
    m_animationBond = nullptr;
}

int SolverDragRotate::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    // A re-configure builds the axis again: the earlier line must not stay behind, fixed, in
    // the system it was added to.
    DeleteAxisLine(solver);
    const double point[3] = {m_axisPoint.x, m_axisPoint.y, m_axisPoint.z};
    const double direction[3] = {m_axisDirection.x, m_axisDirection.y, m_axisDirection.z};
    m_axisLine = new GLine(solver, point, direction, nullptr, nullptr);
    m_axisLine->AddToZMR();
    m_axisLine->Fix(true);
    return SolverDragOperation::AddToSolver(solver);
}

int SolverDragRotate::Solve(Solver* solver)
{
    if (!m_dragGroup)
        return ResultTypeFail;
    PushDragValues(solver);
    if (!m_dimensionAnimation) {
        Xform turn;
        turn.SetRotationAboutAxis(m_axisPoint, m_axisDirection, std::sin(m_angle),
                                  std::cos(m_angle));
        double matrix[4][4];
        turn.Get4x4(matrix);
        solver->DragByTransform(GetDragNode(), matrix, ZMR3_DT_AXIAL_ROTATION,
                                m_axisLine ? m_axisLine->GetGNode() : nullptr);
        return ResultTypeOk;
    }
    if (!m_animationBond)
        return ResultTypeFail;
    m_animationBond->SetValue(m_angle);
    solver->SolveSystem();
    return ResultTypeOk;
}

int SolverDragRotate::SetDragValue(double value)
{
    m_angle = value;
    return ResultTypeOk;
}

int SolverDragRotate::GetDragValue(double& value)
{
    value = m_angle;
    return ResultTypeOk;
}

int SolverDragRotate::GetDirection(double direction[3])
{
    CopyOut(m_axisDirection, direction);
    return ResultTypeOk;
}

void SolverDragRotate::ResetDragValues()
{
    SolverDragOperation::ResetDragValues();
    m_angle = 0.0;
    DeleteAxisLine(nullptr);
    m_animationBond = nullptr;
}

// --- SolverDragByTransform -------------------------------------------------------------------

SolverDragByTransform::SolverDragByTransform(Interaction* interaction, int kind, Reference* axis)
    : SolverDragOperation(interaction), m_kind(kind), m_axis(axis)
{
    SetIdentity4x4(m_transform);
}

void SolverDragByTransform::DropSolverPointers()
{
    SolverDragOperation::DropSolverPointers();
    m_axisGeometry = nullptr;
}

int SolverDragByTransform::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    if (m_axis) {
        m_axisGeometry = solver->GetOrMakeGeometry(m_axis);
        if (m_axisGeometry)
            m_axisGeometry->AddToZMR();
    }
    return SolverDragOperation::AddToSolver(solver);
}

int SolverDragByTransform::Solve(Solver* solver)
{
    if (!m_dragGroup)
        return ResultTypeFail;
    PushDragValues(solver);
    g_node* axisNode = nullptr;
    switch (m_kind) {
        case 0:
        case 1:
            break;
        case 2:
            axisNode = m_axisGeometry ? m_axisGeometry->GetGNode() : nullptr;
            if (!axisNode)
                return ResultTypeFail;
            break;
        default:
            return ResultTypeFail;
    }
    static const ZMR3_drag_transformation s_dragKinds[3] = {ZMR3_DT_GENERAL, ZMR3_DT_TRANSLATION,
                                                            ZMR3_DT_AXIAL_ROTATION};
    solver->DragByTransform(GetDragNode(), m_transform, s_dragKinds[m_kind], axisNode);
    return ResultTypeOk;
}

int SolverDragByTransform::SetDragTransform(const double (*transform)[4])
{
    std::copy(&transform[0][0], &transform[0][0] + 16, &m_transform[0][0]);
    return ResultTypeOk;
}

int SolverDragByTransform::GetDragTransform(double (*transform)[4])
{
    std::copy(&m_transform[0][0], &m_transform[0][0] + 16, &transform[0][0]);
    return ResultTypeOk;
}

void SolverDragByTransform::ResetDragValues()
{
    SolverDragOperation::ResetDragValues();
    SetIdentity4x4(m_transform);
}

}  // namespace QEL
