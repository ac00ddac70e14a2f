#pragma once
// The star of a face pattern: one element per occurrence, placed by the occurrence's transform,
// whose frames are kept evenly spaced by pattern constraints on the pattern's nodes; spacing
// dimensions hold or drive those nodes' values.

#include "solver/Stars.h"

#include <set>

namespace QEL {

class FacePattern;
class Reference;

class FacePatternStar : public Star {
public:
    FacePatternStar(Solver* solver, FacePattern* pattern);
    // Takes what it made out of the dimension system before deleting it.
    ~FacePatternStar() override;
    StarElement* GetStarCentre() override { return GetStarElement(m_centre); }

    StarElement* GetStarElement(int index) const;
    int GetCentreIndex() const { return m_centre; }
    FacePattern* GetPattern() const { return m_pattern; }
    const std::list<Geometry*>& GetProxyGeoms() const { return m_proxies; }
    const std::list<PatternConstraint*>& GetPatternConstraints() const { return m_constraints; }
    PatternNode* GetXNode() const { return m_xNode; }
    PatternNode* GetYNode() const { return m_yNode; }
    PatternNode* GetAxisNode() const { return m_axisNode; }
    // The present value of the node; false with 0.0 without one.
    bool GetXSpacing(double& value) const { return ValueOf(m_xNode, value); }
    bool GetYSpacing(double& value) const { return ValueOf(m_yNode, value); }
    bool GetAxisSpacing(double& value) const { return ValueOf(m_axisNode, value); }
    // Made and added on first request; null without the matching node.
    PatternSpacing* GetOrMakeXSpacingDim();
    PatternSpacing* GetOrMakeYSpacingDim();
    PatternSpacing* GetOrMakeAxisSpacingDim();
    // Ties the entity's face in every occurrence to the centre occurrence's; once per entity.
    void AddPatternedFaces(int entity, const std::vector<Reference*>& references);

private:
    static bool ValueOf(PatternNode* node, double& value);
    // The occurrence transform from one occurrence to another; the identity when unknown.
    Xform OccurrenceTransform(int from, int to) const;
    StarElement* MakeOccurrenceElement(int index, const Xform* placement);
    PatternNode* MakeNode(Reference* reference, JUN_pattern_type type, double value);
    void SetUpUserDefinedPattern();
    void SetUpLinearPattern(Reference* direction, double spacing, PatternNode*& node);
    void SetUpGridPattern();
    void SetUpCircularPattern();
    // Elements and centre of the linear and circular set-ups: empty occurrences get none.
    void MakeElementsFromFirstNonEmpty();
    void MakePatternConstraints(StarElement* first, StarElement* second, PatternNode* node,
                                int steps);
    PatternSpacing* GetOrMakeSpacingDim(PatternNode* node, PatternSpacing*& spacing, double value);

    FacePattern* m_pattern;
    std::map<int, StarElement*> m_occurrences;
    std::set<int> m_handledEntities;
    int m_centre = 0;
    std::list<Geometry*> m_proxies;
    PatternNode* m_xNode = nullptr;
    PatternNode* m_yNode = nullptr;
    PatternNode* m_axisNode = nullptr;
    PatternSpacing* m_xSpacing = nullptr;
    PatternSpacing* m_ySpacing = nullptr;
    PatternSpacing* m_axisSpacing = nullptr;
    std::list<PatternConstraint*> m_constraints;
};

}  // namespace QEL
