#include "solver/Stars.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/RotationMatrix.h"
#include "core/objects/Instance.h"
#include "core/objects/ReferenceQueries.h"

namespace QEL {

namespace {

int InstanceOrder(const Instance* instance) { return instance ? instance->GetTag() : -1; }

bool IsCentreOf(Star* star, const StarElement* element) { return star->GetStarCentre() == element; }

}  // namespace

bool InstanceLess::operator()(const Instance* a, const Instance* b) const
{
    return a != b && InstanceOrder(a) < InstanceOrder(b);
}

bool BodyStar::SubtypeKeyLess::operator()(const SubtypeKey& a, const SubtypeKey& b) const
{
    if (std::get<0>(a) != std::get<0>(b))
        return std::get<0>(a) < std::get<0>(b);
    if (std::get<1>(a) != std::get<1>(b))
        return InstanceLess()(std::get<1>(a), std::get<1>(b));
    return std::get<2>(a) < std::get<2>(b);
}

// ---- StarElement ------------------------------------------------------------------------------

StarElement::StarElement(Star* owner, const Xform* placement, RTNode* node, Set* set)
    : m_owner(owner)
{
    Vec origin(0, 0, 0);
    Dir xAxis(1, 0, 0), yAxis(0, 1, 0);
    if (placement) {
        placement->TransformPoint(origin);
        xAxis = RotateDir(placement->rotation, xAxis);
        yAxis = RotateDir(placement->rotation, yAxis);
    }
    m_frameX = MakeLine(origin, xAxis);
    m_frameX->SetDebugName("frameX");
    m_frameY = MakeLine(origin, yAxis);
    m_frameY->SetDebugName("frameY");

    Set* main = set ? set : Set::CreateSet(owner->GetSolver());
    main->AddGeometry(m_frameX);
    main->AddGeometry(m_frameY);
    main->Fix(true);

    if (!placement)
        return;
    if (node) {
        node->Acquire();
        m_rtNode = node;
    } else {
        m_rtNode = new RTNode(owner->GetSolver(), *placement);
    }
    m_rtNode->AddToZMR();
    // The element's frame is the centre's frame carried by the relative transform.
    StarElement* centre = owner->GetStarCentre();
    AddRTConstraint(centre->m_frameX, m_frameX, true);
    AddRTConstraint(centre->m_frameY, m_frameY, true);
}

StarElement::~StarElement()
{
    for (RTConstraint* constraint : m_rtConstraints) {
        constraint->RemoveFromZMR();
        delete constraint;
    }
    m_rtConstraints.clear();
    DeleteLine(m_frameX);
    DeleteLine(m_frameY);
    for (LinePair& pair : m_constructionPairs) {
        DeleteLine(pair.first);
        DeleteLine(pair.second);
    }
    m_constructionPairs.clear();
    if (m_rtNode) {
        // The last holder takes the node out of the system; the node then deletes itself.
        if (m_rtNode->GetUseCount() == 1)
            m_rtNode->RemoveFromZMR();
        m_rtNode->Release();
    }
}

GLine* StarElement::MakeLine(const Vec& origin, const Vec& direction)
{
    const double p[3] = {origin.x, origin.y, origin.z};
    const double d[3] = {direction.x, direction.y, direction.z};
    GLine* line = new GLine(m_owner->GetSolver(), p, d, nullptr, nullptr);
    line->AddToZMR();
    return line;
}

void StarElement::DeleteLine(GLine* line)
{
    if (!line)
        return;
    // A Set that outlives the line must not keep it as a member.
    if (Set* set = line->GetSet())
        set->RemoveGeometry(line);
    line->RemoveFromZMR();
    delete line;
}

void StarElement::AddGeometry(GeometryBase* g, int behaviour, GeometryBase* base)
{
    if (!g)
        return;
    const bool positioning = behaviour == ReferenceBehaviourPositioning;
    if (positioning) {
        if (Set* main = GetMainSet()) {
            main->UnionGeometry(g);
            if (!IsCentreOf(m_owner, this))
                main->Fix(false);
        }
    }
    if (base)
        AddRTConstraint(base, g, positioning);
}

void StarElement::AddRTConstraint(GeometryBase* first, GeometryBase* second, bool flag)
{
    RTConstraint* constraint =
        RTConstraint::CreateRTConstraint(m_owner->GetSolver(), m_rtNode, {first, second}, flag);
    if (!constraint)
        return;
    constraint->AddToZMR();
    m_rtConstraints.push_back(constraint);
}

void StarElement::MakeConstructionLines(LinePair& out)
{
    Vec origin;
    Dir direction;
    m_frameX->GetLocation(origin);
    m_frameX->GetDirection(direction);
    out.first = MakeLine(origin, direction);
    m_frameY->GetLocation(origin);
    m_frameY->GetDirection(direction);
    out.second = MakeLine(origin, direction);
    m_constructionPairs.push_back(out);
}

void StarElement::LinkSets(Set* centreSet, Set* elementSet)
{
    StarElement* centre = m_owner->GetStarCentre();
    LinePair centrePair(nullptr, nullptr);
    bool found = false;
    if (centre->m_frameX->GetSet() == centreSet) {
        centrePair = LinePair(centre->m_frameX, centre->m_frameY);
        found = true;
    } else {
        for (const LinePair& pair : centre->m_constructionPairs)
            if (pair.first->GetSet() == centreSet) {
                centrePair = pair;
                found = true;
                break;
            }
    }
    if (!found) {
        centre->MakeConstructionLines(centrePair);
        centreSet->AddGeometry(centrePair.first);
        centreSet->AddGeometry(centrePair.second);
    }
    if (!elementSet || elementSet == centreSet)
        return;
    bool linked = false;
    if (found) {
        std::vector<LinePair> pairs{LinePair(m_frameX, m_frameY)};
        pairs.insert(pairs.end(), m_constructionPairs.begin(), m_constructionPairs.end());
        for (const LinePair& pair : pairs) {
            if (pair.first->GetSet() != elementSet)
                continue;
            for (RTConstraint* constraint : m_rtConstraints)
                if (constraint->GetGeom(0) == centrePair.first &&
                    constraint->GetGeom(1) == pair.first)
                    linked = true;
        }
    }
    if (linked)
        return;
    LinePair own;
    MakeConstructionLines(own);
    elementSet->AddGeometry(own.first);
    elementSet->AddGeometry(own.second);
    AddRTConstraint(centrePair.first, own.first, false);
    AddRTConstraint(centrePair.second, own.second, false);
}

bool StarElement::AddSectionPlaneConstraint(GeometryBase* sectionPlane, GeometryBase* plane)
{
    if (IsCentreOf(m_owner, this))
        return false;
    AddRTConstraint(sectionPlane, plane, false);
    return true;
}

// ---- BodyStar ---------------------------------------------------------------------------------

BodyStar::BodyStar(Solver* solver, int body) : Star(solver), m_body(body)
{
    m_elements[nullptr] = new StarElement(this, nullptr, nullptr, nullptr);
}

BodyStar::~BodyStar()
{
    // Elements first, the centre last: the others' constraints name the centre's frame.
    StarElement* centre = GetStarCentre();
    for (auto& entry : m_elements)
        if (entry.second != centre)
            delete entry.second;
    delete centre;
    m_elements.clear();
}

StarElement* BodyStar::GetStarElement(Instance* instance) const
{
    const auto it = m_elements.find(instance);
    return it == m_elements.end() ? nullptr : it->second;
}

RTNode* BodyStar::GetRTNode(Instance* instance) const
{
    StarElement* element = GetStarElement(instance);
    return element ? element->GetRTNode() : nullptr;
}

Set* BodyStar::GetMainSet(Instance* instance) const
{
    StarElement* element = GetStarElement(instance);
    return element ? element->GetMainSet() : nullptr;
}

RTNode* BodyStar::GetOrMakeRTNode(Instance* instance, RTNode* shared)
{
    if (RTNode* node = GetRTNode(instance))
        return node;
    MakeStarElement(instance, shared);
    return GetRTNode(instance);
}

void BodyStar::MakeStarElement(Instance* instance, RTNode* shared)
{
    if (!instance || instance->GetBodyTag() != m_body)
        return;
    if (GetRTNode(instance))
        return;
    StarElement*& slot = m_elements[instance];
    delete slot;
    slot = new StarElement(this, &instance->GetXform(), shared, nullptr);
    if (!Solver::IsSectionInstance(instance->GetInteraction(), instance))
        return;
    if (Reference* plane = Solver::GetSectionPlaneOfSectionInstance(instance))
        AddTemporaryConstructionForSectionPlane(
            GeometryKey(GetReferenceEntityTag(plane), GetReferenceInstance(plane)),
            Solver::GetCutInstanceOfSectionInstance(instance));
}

bool BodyStar::AddTemporaryConstructionForSectionPlane(const GeometryKey& planeKey,
                                                       Instance* cutInstance)
{
    Geometry* plane = m_solver->GetOrMakeGeometry(planeKey);
    if (!plane)
        return false;
    plane->AddToZMR();
    GeometryBase* section = m_solver->CreateSectionPlaneTempGeometry(planeKey, cutInstance);
    if (!section)
        return false;
    section->AddToZMR();
    BodyStar* cutStar = cutInstance ? m_solver->GetBodyStar(cutInstance->GetBodyTag()) : nullptr;
    StarElement* element = cutStar ? cutStar->GetStarElement(cutInstance) : nullptr;
    if (!element)
        return true;
    return element->AddSectionPlaneConstraint(section, plane);
}

bool BodyStar::AddReference(const GeometryKey& key, ReferenceBehaviour behaviour,
                            RelationSubtype subtype)
{
    const int entity = key.first;
    Instance* instance = key.second;
    if (entity == 0 || GetOwningBody(entity) != m_body ||
        (instance && instance->GetBodyTag() != m_body) || !GetStarElement(instance))
        return false;
    const bool knownEntity = m_referencedEntities.count(entity) != 0;
    const SubtypeKey subtypeKey(entity, instance, subtype);
    const bool knownSubtype = m_addedSubtypes.count(subtypeKey) != 0;
    if (knownEntity && knownSubtype)
        return true;
    if (!knownEntity) {
        m_referencedEntities[entity] = behaviour;
        Geometry* bodyLevel = m_solver->GetOrMakeGeometry(GeometryKey(entity, nullptr));
        if (bodyLevel)
            bodyLevel->AddToZMR();
        for (auto& element : m_elements) {
            Geometry* placed = m_solver->GetOrMakeGeometry(GeometryKey(entity, element.first));
            if (!placed)
                continue;
            placed->AddToZMR();
            element.second->AddGeometry(placed, behaviour, element.first ? bodyLevel : nullptr);
        }
    }
    if (!knownSubtype) {
        m_addedSubtypes[subtypeKey] = 1;
        AddConstructionGeometry(key, behaviour, subtype);
    }
    return true;
}

bool BodyStar::AddConstructionGeometry(const GeometryKey& key, ReferenceBehaviour behaviour,
                                       RelationSubtype subtype)
{
    std::vector<GeometryBase*> own, bodyLevel;
    if (!m_solver->GetOrMakeTemporaryConstructionGeometry(subtype, key, own))
        return false;
    if (!m_solver->GetOrMakeTemporaryConstructionGeometry(subtype, GeometryKey(key.first, nullptr),
                                                          bodyLevel))
        return false;
    for (auto& element : m_elements) {
        std::vector<GeometryBase*> placed;
        if (!m_solver->GetOrMakeTemporaryConstructionGeometry(
                subtype, GeometryKey(key.first, element.first), placed))
            return false;
        for (size_t i = 0; i < placed.size(); ++i)
            element.second->AddGeometry(
                placed[i], behaviour,
                element.first && i < bodyLevel.size() ? bodyLevel[i] : nullptr);
    }
    return true;
}

void BodyStar::GetEntityKeys(int entity, std::vector<GeometryKey>& keys) const
{
    if (GetOwningBody(entity) != m_body)
        return;
    for (const auto& element : m_elements)
        keys.emplace_back(entity, element.first);
}

}  // namespace QEL
