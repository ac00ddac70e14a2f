#pragma once
// Stars tie geometry that must move together by rule around a centre. A body star holds a
// body's own geometry at its centre and one element per Instance of the body, each carried by
// the Instance's relative transform, so every placement of the body stays a copy of one shape.

#include "core/enums/Enums.h"
#include "core/maths/Xform.h"
#include "solver/Solver.h"

#include <list>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace QEL {

class StarElement;

class Star {
public:
    explicit Star(Solver* solver) : m_solver(solver) {}
    Star(const Star&) = delete;
    Star& operator=(const Star&) = delete;
    virtual ~Star() = default;
    virtual StarElement* GetStarCentre() = 0;
    Solver* GetSolver() const { return m_solver; }

protected:
    Solver* m_solver;
};

// One placement of a star: two frame lines in its main Set and, away from the centre, the
// relative transform that carries the centre's frame onto its own.
class StarElement {
public:
    using LinePair = std::pair<GLine*, GLine*>;

    // placement: null for the centre; node: a relative transform to share, or null for a new
    // one; set: the main Set to use, or null for a new one.
    StarElement(Star* owner, const Xform* placement, RTNode* node, Set* set);
    StarElement(const StarElement&) = delete;
    StarElement& operator=(const StarElement&) = delete;
    // Takes its lines and constraints out of the dimension system before deleting them, so a
    // star can be replaced while the system lives on.
    virtual ~StarElement();

    // Positioning geometry (behaviour 2) joins the main Set; with a base it is tied to the base
    // through this element's relative transform.
    void AddGeometry(GeometryBase* g, int behaviour, GeometryBase* base);
    void AddRTConstraint(GeometryBase* first, GeometryBase* second, bool flag);
    void MakeConstructionLines(LinePair& out);
    // Links a Set of the centre to a Set of this element through the relative transform.
    void LinkSets(Set* centreSet, Set* elementSet);
    // False on the centre.
    bool AddSectionPlaneConstraint(GeometryBase* sectionPlane, GeometryBase* plane);

    Set* GetMainSet() const { return m_frameX ? m_frameX->GetSet() : nullptr; }
    RTNode* GetRTNode() const { return m_rtNode; }
    GLine* GetFrameX() const { return m_frameX; }
    GLine* GetFrameY() const { return m_frameY; }
    const std::list<RTConstraint*>& GetRTConstraints() const { return m_rtConstraints; }
    const std::list<LinePair>& GetConstructionPairs() const { return m_constructionPairs; }
    bool IsCentre() { return m_owner->GetStarCentre() == this; }

private:
    GLine* MakeLine(const Vec& origin, const Vec& direction);
    void DeleteLine(GLine* line);

    Star* m_owner;
    RTNode* m_rtNode = nullptr;
    std::list<RTConstraint*> m_rtConstraints;
    GLine* m_frameX = nullptr;
    GLine* m_frameY = nullptr;
    std::list<LinePair> m_constructionPairs;
};

struct InstanceLess {
    bool operator()(const Instance* a, const Instance* b) const;
};

class BodyStar : public Star {
public:
    using SubtypeKey = std::tuple<int, Instance*, RelationSubtype>;
    struct SubtypeKeyLess {
        bool operator()(const SubtypeKey& a, const SubtypeKey& b) const;
    };

    BodyStar(Solver* solver, int body);
    ~BodyStar() override;
    StarElement* GetStarCentre() override { return GetStarElement(nullptr); }

    int GetBodyTag() const { return m_body; }
    StarElement* GetStarElement(Instance* instance) const;
    RTNode* GetRTNode(Instance* instance) const;
    Set* GetMainSet(Instance* instance) const;
    RTNode* GetOrMakeRTNode(Instance* instance, RTNode* shared);
    // False when the entity is not of this body or its Instance has no element here.
    bool AddReference(const GeometryKey& key, ReferenceBehaviour behaviour,
                      RelationSubtype subtype);
    bool AddTemporaryConstructionForSectionPlane(const GeometryKey& planeKey,
                                                 Instance* cutInstance);
    // (entity, Instance) of every element, the centre's first; nothing for another body's entity.
    void GetEntityKeys(int entity, std::vector<GeometryKey>& keys) const;
    const std::map<Instance*, StarElement*, InstanceLess>& GetElements() const
    {
        return m_elements;
    }

private:
    void MakeStarElement(Instance* instance, RTNode* shared);
    bool AddConstructionGeometry(const GeometryKey& key, ReferenceBehaviour behaviour,
                                 RelationSubtype subtype);

    int m_body;
    std::map<Instance*, StarElement*, InstanceLess> m_elements;
    std::map<int, ReferenceBehaviour> m_referencedEntities;
    std::map<SubtypeKey, int, SubtypeKeyLess> m_addedSubtypes;
};

}  // namespace QEL
