#include "solver/PatternStar.h"

#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/RigidGroup.h"

namespace QEL {

FacePatternStar::FacePatternStar(Solver* solver, FacePattern* pattern)
    : Star(solver), m_pattern(pattern)
{
    if (!pattern || pattern->GetOccurrenceCount() == 0)
        return;
    if (dynamic_cast<UserDefinedFacePattern*>(pattern)) {
        SetUpUserDefinedPattern();
    } else if (auto* rectangular = dynamic_cast<RectangularFacePattern*>(pattern)) {
        Reference* x = rectangular->GetXDirectionReference();
        Reference* y = rectangular->GetYDirectionReference();
        if (x && y)
            SetUpGridPattern();
        else if (x)
            SetUpLinearPattern(x, rectangular->GetXSpacing(), m_xNode);
        else if (y)
            SetUpLinearPattern(y, rectangular->GetYSpacing(), m_yNode);
    } else if (dynamic_cast<CircularFacePattern*>(pattern)) {
        SetUpCircularPattern();
    }
}

FacePatternStar::~FacePatternStar()
{
    for (PatternConstraint* constraint : m_constraints) {
        constraint->RemoveFromZMR();
        delete constraint;
    }
    for (PatternSpacing* spacing : {m_xSpacing, m_ySpacing, m_axisSpacing})
        if (spacing) {
            spacing->RemoveFromZMR();
            delete spacing;
        }
    for (PatternNode* node : {m_xNode, m_yNode, m_axisNode})
        if (node) {
            node->RemoveFromZMR();
            delete node;
        }
    // The centre last: the other elements' constraints name its frame.
    StarElement* centre = GetStarCentre();
    for (auto& entry : m_occurrences)
        if (entry.second != centre)
            delete entry.second;
    delete centre;
    for (Geometry* proxy : m_proxies) {
        if (Set* set = proxy->GetSet())
            set->RemoveGeometry(proxy);
        proxy->RemoveFromZMR();
        delete proxy;
    }
}

StarElement* FacePatternStar::GetStarElement(int index) const
{
    const auto it = m_occurrences.find(index);
    return it == m_occurrences.end() ? nullptr : it->second;
}

bool FacePatternStar::ValueOf(PatternNode* node, double& value)
{
    value = node ? node->GetValue() : 0.0;
    return node != nullptr;
}

Xform FacePatternStar::OccurrenceTransform(int from, int to) const
{
    Xform xform;
    if (!m_pattern->GetRelativeTransform(from, to, xform))
        xform.SetIdentity();
    return xform;
}

StarElement* FacePatternStar::MakeOccurrenceElement(int index, const Xform* placement)
{
    // Rigid occurrences move as whole bodies: each occurrence's faces are one rigid group whose
    // Set is the element's own, so the pattern carries the faces along with its frames.
    Set* set = nullptr;
    std::vector<Reference*> references;
    if (m_pattern->GetRigidOccurrences() && m_pattern->GetOccurrenceReferences(index, references))
        if (RigidGroup* group = m_solver->MakeRigidGroup(references, false))
            set = group->GetBodyLevelSet(nullptr);
    StarElement* element = new StarElement(this, placement, nullptr, set);
    m_occurrences[index] = element;
    // Occurrences follow the pattern's spacing, so only the centre's frame stays where it is,
    // unless it holds faces of its own.
    if (placement || set)
        element->GetMainSet()->Fix(false);
    return element;
}

PatternNode* FacePatternStar::MakeNode(Reference* reference, JUN_pattern_type type, double value)
{
    // A direction or axis without constrainable geometry gives no node and no constraints.
    Geometry* geometry = m_solver->GetOrMakeGeometry(reference);
    if (!geometry)
        return nullptr;
    geometry->AddToZMR();
    PatternNode* node = new PatternNode(m_solver, geometry, type, value);
    node->AddToZMR();
    return node;
}

void FacePatternStar::SetUpUserDefinedPattern()
{
    for (int i = 0; i < m_pattern->GetOccurrenceCount(); ++i) {
        const Xform placement = OccurrenceTransform(0, i);
        MakeOccurrenceElement(i, i == 0 ? nullptr : &placement);
    }
}

void FacePatternStar::MakeElementsFromFirstNonEmpty()
{
    m_centre = -1;
    for (int i = 0; i < m_pattern->GetOccurrenceCount(); ++i) {
        if (m_pattern->IsOccurrenceEmpty(i)) {
            m_occurrences[i] = nullptr;
            continue;
        }
        if (m_centre < 0)
            m_centre = i;
        const Xform placement = OccurrenceTransform(m_centre, i);
        MakeOccurrenceElement(i, i == m_centre ? nullptr : &placement);
    }
}

void FacePatternStar::SetUpLinearPattern(Reference* direction, double spacing, PatternNode*& node)
{
    MakeElementsFromFirstNonEmpty();
    node = MakeNode(direction, JUN_PATTERN_LINEAR, spacing);
    if (!node || m_centre < 0)
        return;
    int previous = m_centre;
    for (int i = m_centre + 1; i < m_pattern->GetOccurrenceCount(); ++i)
        if (StarElement* element = GetStarElement(i)) {
            MakePatternConstraints(GetStarElement(previous), element, node, i - previous);
            previous = i;
        }
}

void FacePatternStar::SetUpGridPattern()
{
    auto* grid = static_cast<RectangularFacePattern*>(m_pattern);
    for (int y = 0; y < grid->GetYCount(); ++y)
        for (int x = 0; x < grid->GetXCount(); ++x) {
            const int k = grid->GetOccurrenceNum(x, y);
            const Xform placement = OccurrenceTransform(0, k);
            MakeOccurrenceElement(k, k == 0 ? nullptr : &placement);
        }
    m_xNode = MakeNode(grid->GetXDirectionReference(), JUN_PATTERN_LINEAR, grid->GetXSpacing());
    m_yNode = MakeNode(grid->GetYDirectionReference(), JUN_PATTERN_LINEAR, grid->GetYSpacing());
    // Rows are chained along X and linked to each other through their first column only.
    for (int y = 0; y < grid->GetYCount(); ++y) {
        for (int x = 1; x < grid->GetXCount() && m_xNode; ++x)
            MakePatternConstraints(GetStarElement(grid->GetOccurrenceNum(x - 1, y)),
                                   GetStarElement(grid->GetOccurrenceNum(x, y)), m_xNode, 1);
        if (y > 0 && m_yNode)
            MakePatternConstraints(GetStarElement(grid->GetOccurrenceNum(0, y - 1)),
                                   GetStarElement(grid->GetOccurrenceNum(0, y)), m_yNode, 1);
    }
}

void FacePatternStar::SetUpCircularPattern()
{
    auto* circular = static_cast<CircularFacePattern*>(m_pattern);
    MakeElementsFromFirstNonEmpty();
    if (!circular->GetAxisReference() || m_centre < 0)
        return;
    m_axisNode =
        MakeNode(circular->GetAxisReference(), JUN_PATTERN_ANGULAR, circular->GetSpacing());
    if (!m_axisNode)
        return;
    const int count = m_pattern->GetOccurrenceCount();
    int previous = m_centre;
    for (int i = m_centre + 1; i < count; ++i)
        if (StarElement* element = GetStarElement(i)) {
            MakePatternConstraints(GetStarElement(previous), element, m_axisNode, previous - i);
            previous = i;
        }
    if (circular->GetIsClosed() && previous != m_centre)
        MakePatternConstraints(GetStarElement(previous), GetStarElement(m_centre), m_axisNode,
                               previous - (m_centre + count));
}

void FacePatternStar::MakePatternConstraints(StarElement* first, StarElement* second,
                                             PatternNode* node, int steps)
{
    if (!first || !second || !node)
        return;
    const std::pair<GLine*, GLine*> lines[2] = {{first->GetFrameX(), second->GetFrameX()},
                                                {first->GetFrameY(), second->GetFrameY()}};
    for (const auto& pair : lines) {
        PatternConstraint* constraint = PatternConstraint::CreatePatternConstraint(
            m_solver, node, steps, {pair.first, pair.second});
        constraint->AddToZMR();
        m_constraints.push_back(constraint);
    }
}

PatternSpacing* FacePatternStar::GetOrMakeSpacingDim(PatternNode* node, PatternSpacing*& spacing,
                                                     double value)
{
    if (!node)
        return nullptr;
    if (!spacing) {
        spacing = new PatternSpacing(m_solver, node, value);
        spacing->AddToZMR();
    }
    return spacing;
}

PatternSpacing* FacePatternStar::GetOrMakeXSpacingDim()
{
    auto* rectangular = dynamic_cast<RectangularFacePattern*>(m_pattern);
    return GetOrMakeSpacingDim(m_xNode, m_xSpacing, rectangular ? rectangular->GetXSpacing() : 0.0);
}

PatternSpacing* FacePatternStar::GetOrMakeYSpacingDim()
{
    auto* rectangular = dynamic_cast<RectangularFacePattern*>(m_pattern);
    return GetOrMakeSpacingDim(m_yNode, m_ySpacing, rectangular ? rectangular->GetYSpacing() : 0.0);
}

PatternSpacing* FacePatternStar::GetOrMakeAxisSpacingDim()
{
    auto* circular = dynamic_cast<CircularFacePattern*>(m_pattern);
    return GetOrMakeSpacingDim(m_axisNode, m_axisSpacing, circular ? circular->GetSpacing() : 0.0);
}

void FacePatternStar::AddPatternedFaces(int entity, const std::vector<Reference*>& references)
{
    if (m_occurrences.empty() || !m_handledEntities.insert(entity).second)
        return;
    size_t first = 0;
    while (first < references.size() && !references[first])
        ++first;
    if (first == references.size())
        return;
    const int behaviour = m_pattern->GetRigidOccurrences() ? ReferenceBehaviourPositioning
                                                           : ReferenceBehaviourModelling;
    GeometryBase* base = nullptr;
    for (size_t i = 0; i < references.size(); ++i) {
        Geometry* g = nullptr;
        if (references[i]) {
            g = m_solver->GetOrMakeGeometry(GeometryKey(references[i]->GetEntityTag(), nullptr));
            if (g)
                g->AddToZMR();
        } else if (static_cast<int>(i) == m_centre) {
            // The first occurrence's face carried onto the centre occurrence stands in for it.
            g = Geometry::CreateGeometry(m_solver, references[first]->GetEntityTag(),
                                         OccurrenceTransform(static_cast<int>(first), m_centre));
            if (g) {
                g->AddToZMR();
                m_proxies.push_back(g);
            }
        }
        if (!g)
            continue;
        if (!base) {
            base = g;
            continue;
        }
        if (StarElement* element = GetStarElement(static_cast<int>(i)))
            element->AddGeometry(g, behaviour, base);
    }
}

}  // namespace QEL
