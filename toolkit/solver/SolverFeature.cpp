#include "solver/SolverFeature.h"

#include "core/objects/Instance.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"
#include "solver/Solver.h"
#include "solver/Stars.h"

namespace QEL {

namespace {

bool IsRecreated(Feature* feature)
{
    return feature && (feature->GetFeatureType() == FeatureTypeSimpleRecreate ||
                       feature->GetFeatureType() == FeatureTypeComplexRecreate);
}

const Xform& PlacementOf(Instance* instance)
{
    return instance ? instance->GetXform() : GetIdentityXform();
}

// The change the last evaluation made to the node; moved false when none.
Xform ChangeOf(GNode* node, bool& moved)
{
    double m[4][4];
    moved = false;
    if (!node || !node->GetZMRChange(moved, m, nullptr, nullptr) || !moved)
        return Xform();
    return Xform(m);
}

// Whether the change only slid the line along itself.
bool OnlySlidAlong(GeometryBase* line, const Xform& change)
{
    Dir direction;
    if (!change.rotation.IsIdentity(true) || !line->GetDirection(direction))
        return false;
    const Vec& t = change.translation;
    const Vec across = t - direction * Dot(t, direction);
    return across.Length() <= 1e-8;
}

}  // namespace

SolverFeature* SolverFeature::CreateSolverFeature(Solver* solver, Feature* feature)
{
    return new SolverFeature(solver, feature);
}

SolverFeature::~SolverFeature()
{
    for (auto* line : {m_proceduralA.get(), m_proceduralB.get()})
        if (line)
            line->RemoveFromZMR();
}

bool SolverFeature::IsTreatedAsSimple() const
{
    return !m_feature || m_feature->IsTreatedAsSimple();
}

void SolverFeature::AddToZMR()
{
    if (!m_feature)
        return;
    const FeatureType type = m_feature->GetFeatureType();
    if (type == FeatureTypeSimple || (IsRecreated(m_feature) && IsTreatedAsSimple())) {
        // No procedure regenerates such a feature: its faces move as one body instead.
        MakeRigidGroup();
        return;
    }
    if (!IsRecreated(m_feature))
        return;
    SolverProceduralObject::AddToZMR();
    if (m_feature->GetFeatureType() == FeatureTypeComplexRecreate)
        Fix(true);
    MakeProfileFrame();
}

void SolverFeature::MakeRigidGroup()
{
    if (m_rigidGroup || !m_feature)
        return;
    std::vector<Reference*> references = m_feature->GetReferences();
    const std::vector<Reference*>& profile = m_feature->GetProfileReferences();
    references.insert(references.end(), profile.begin(), profile.end());
    m_rigidGroup = m_solver->MakeRigidGroup(references, true);
}

void SolverFeature::AddReference(Reference* reference)
{
    if (!reference)
        return;
    m_featureInstance = reference->GetInstance();
    GetProceduralEntities().insert(reference->GetEntityTag());
}

void SolverFeature::AddDependent(Reference* reference)
{
    if (!reference)
        return;
    m_featureInstance = reference->GetInstance();
    m_dependentEntities.insert(reference->GetEntityTag());
}

void SolverFeature::AddProfileReference(Reference* reference)
{
    if (!reference)
        return;
    m_profileInstance = reference->GetInstance();
    m_profileEntities.insert(reference->GetEntityTag());
}

void SolverFeature::AddGeometry(GeometryBase* g)
{
    if (!g)
        return;
    g->AddToZMR();
    if (!IsTreatedAsSimple())
        AddProceduralGeometry(g);
}

GeometryBase* SolverFeature::GetOrMakeProceduralGeometry(int entity, Instance* instance)
{
    if (Geometry* found = m_solver->FindGeometry(GeometryKey(entity, instance)))
        return found;
    if (instance || !GetProceduralEntities().count(entity))
        return nullptr;
    Geometry* g =
        IsTreatedAsSimple()
            ? Geometry::CreateGeometry(m_solver, entity, static_cast<Instance*>(nullptr))
            : ProceduralGeometry::CreateProceduralGeometry(m_solver, entity, nullptr, this);
    if (!g)
        return nullptr;
    g->AddToZMR();
    AddGeometry(g);
    return g;
}

GeometryBase* SolverFeature::GetOrMakeProfileGeometry(int entity, Instance* instance)
{
    if (Geometry* found = m_solver->FindGeometry(GeometryKey(entity, instance)))
        return found;
    if (m_profileEntities.count(entity) && instance == m_profileInstance)
        return Geometry::CreateGeometry(m_solver, entity, instance);
    return nullptr;
}

GeometryBase* SolverFeature::GetOrMakeDependentGeometry(int entity, Instance* instance)
{
    GeometryBase* g = m_solver->FindGeometry(GeometryKey(entity, instance));
    if (!m_dependentEntities.count(entity) || instance || !m_feature ||
        m_feature->GetFeatureType() != FeatureTypeComplexRecreate)
        return g;
    if (!g)
        g = Geometry::CreateGeometry(m_solver, entity, static_cast<Instance*>(nullptr));
    if (!g)
        return nullptr;
    g->AddToZMR();
    // Every complex feature listing the dependent relates the same geometry to its own
    // procedural geometry.
    for (int procedural : GetProceduralEntities())
        if (auto* own = dynamic_cast<ProceduralGeometry*>(
                m_solver->GetOrMakeGeometry(GeometryKey(procedural, nullptr)))) {
            own->AddRelationTo(g);
            break;
        }
    return g;
}

bool SolverFeature::TakeRelatedGeometry(GeometryBase* g)
{
    if (!IsRecreated(m_feature))
        return false;
    m_inputGeometry.insert(g);
    return true;
}

void SolverFeature::MakeProfileFrame()
{
    if (!m_feature || m_feature->GetFeatureType() == FeatureTypeSimple ||
        m_feature->GetProfileReferenceCount() < 1 || m_feature->GetReferenceCount() < 1)
        return;
    Instance* profile = m_feature->GetProfileReference(0)->GetInstance();
    Instance* placed = m_feature->GetReference(0)->GetInstance();
    m_startXform.reset(
        new Xform(MultiplyXforms(PlacementOf(placed).GetInverse(), PlacementOf(profile))));
    BodyStar* profileStar = profile ? m_solver->GetBodyStar(profile->GetBodyTag()) : nullptr;
    BodyStar* featureStar = placed ? m_solver->GetBodyStar(placed->GetBodyTag()) : nullptr;
    StarElement* element = featureStar ? featureStar->GetStarElement(placed) : nullptr;
    Set* main = profileStar ? profileStar->GetMainSet(profile) : nullptr;
    if (!main || !element)
        return;
    main->Fix(false);
    Set* frame = Set::CreateSet(m_solver);
    element->LinkSets(frame, main);
    if (frame->GetGeometry().size() < 2)
        return;
    auto member = frame->GetGeometry().begin();
    m_frameA = *member;
    m_frameB = *++member;
    std::unique_ptr<ProceduralGLine>* copies[2] = {&m_proceduralA, &m_proceduralB};
    GeometryBase* lines[2] = {m_frameA, m_frameB};
    for (int i = 0; i < 2; ++i) {
        Vec location;
        Dir direction;
        lines[i]->GetLocation(location);
        lines[i]->GetDirection(direction);
        const double p[3] = {location.x, location.y, location.z};
        const double d[3] = {direction.x, direction.y, direction.z};
        copies[i]->reset(new ProceduralGLine(m_solver, p, d));
        ProceduralGLine* copy = copies[i]->get();
        copy->AddToZMR();
        if (!IsTreatedAsSimple())
            AddProceduralGeometry(copy);
        copy->AddRelationTo(m_frameA);
        copy->AddRelationTo(m_frameB);
        m_inputGeometry.insert(m_frameA);
        m_inputGeometry.insert(m_frameB);
    }
}

Xform SolverFeature::GetCurrentProfileToLocalFeatureXform(bool useSetChange)
{
    if (!m_startXform)
        return Xform();
    if (useSetChange) {
        bool moved = false;
        const Xform change = ChangeOf(m_frameA ? m_frameA->GetSet() : nullptr, moved);
        return moved ? MultiplyXforms(change, *m_startXform) : *m_startXform;
    }
    bool movedA = false, movedB = false;
    const Xform changeA = ChangeOf(m_frameA, movedA);
    const Xform changeB = ChangeOf(m_frameB, movedB);
    Xform change = changeA;
    if (!changeA.IsClose(changeB, 1e-8, 1e-11)) {
        if (!movedA) {
            change = changeB;
            if (OnlySlidAlong(m_frameB, changeB)) {
                change = Xform();
                movedB = false;
            }
        } else if (!movedB) {
            change = changeA;
            if (OnlySlidAlong(m_frameA, changeA)) {
                change = Xform();
                movedA = false;
            }
        }
    }
    return movedA || movedB ? MultiplyXforms(change, *m_startXform) : *m_startXform;
}

int SolverFeature::Regenerate()
{
    if (!m_feature || GetProceduralGeometryBaseSet().empty() || IsTreatedAsSimple())
        return KEV_REGENERATED;
    bool moved = m_feature->GetUpdateRequired();
    for (GeometryBase* input : m_inputGeometry) {
        if (moved)
            break;
        double m[4][4];
        moved = input->GetGNode() &&
                m_solver->GetDimensionSystem()->transform(input->GetGNode(), m) != 0;
    }
    m_feature->SetUpdateRequired(moved);
    if (!moved)
        return KEV_REGENERATED;
    ProcedureRunContext context;
    context.solver = m_solver;
    context.createToolBody = true;
    return m_feature->RunProcedure(context) == ResultTypeOk ? KEV_REGENERATED
                                                            : KEV_REGENERATION_FAILED;
}

}  // namespace QEL
