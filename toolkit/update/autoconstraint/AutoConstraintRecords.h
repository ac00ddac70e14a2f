#pragma once
// The records that cross between the toolkit and the auto-constraint manager: the bonds,
// relationships and desired changes the Solver and the drags fill, the options of one
// find, and their conversion into the manager's own records.

#include "core/maths/Dir.h"
#include "core/maths/Vec.h"
#include "solver/BondRecords.h"

#include <ysk.h>

#include <vector>

namespace QEL {

class GNode;
class Reference;

// The change a drag asks the manager for, on the node of its drag set.
class DesiredChangeData {
public:
    explicit DesiredChangeData(YSK_change_compliance compliance) : m_compliance(compliance) {}
    ~DesiredChangeData() {}
    YSK_change_compliance GetCompliance() const { return m_compliance; }

private:
    YSK_change_compliance m_compliance;
};

class DesiredChangeGeneralTransformData : public DesiredChangeData {
public:
    DesiredChangeGeneralTransformData(GNode* node, YSK_change_compliance compliance)
        : DesiredChangeData(compliance), m_node(node)
    {
    }
    GNode* GetNode() const { return m_node; }

private:
    GNode* m_node;
};

class DesiredChangeTranslateData : public DesiredChangeData {
public:
    DesiredChangeTranslateData(GNode* node, const Dir& direction, YSK_change_compliance compliance)
        : DesiredChangeData(compliance), m_node(node), m_direction(direction)
    {
    }
    GNode* GetNode() const { return m_node; }
    const Dir& GetDirection() const { return m_direction; }

private:
    GNode* m_node;
    Dir m_direction;
};

// The direction is the normal of the plane the node moves in.
class DesiredChangePlanarTranslateData : public DesiredChangeTranslateData {
public:
    using DesiredChangeTranslateData::DesiredChangeTranslateData;
};

class DesiredChangeRotateData : public DesiredChangeData {
public:
    DesiredChangeRotateData(GNode* node, const Dir& axisDirection, const Vec& axisPoint,
                            YSK_change_compliance compliance)
        : DesiredChangeData(compliance),
          m_node(node),
          m_direction(axisDirection),
          m_point(axisPoint)
    {
    }
    GNode* GetNode() const { return m_node; }
    const Dir& GetDirection() const { return m_direction; }
    const Vec& GetAxisPoint() const { return m_point; }

private:
    GNode* m_node;
    Dir m_direction;
    Vec m_point;
};

// The options of one find: the manager's option record and the two lists it points into.
class FindOptionsData {
public:
    FindOptionsData() = default;
    // Every word starts at 0; the lists in their order, each pointed to when not empty.
    FindOptionsData(const std::vector<Reference*>& symmetryPlanes,
                    const std::vector<Reference*>& coplaxis, bool symmetryMatchExact,
                    bool similarMatchAxes);
    FindOptionsData(const FindOptionsData& other);
    FindOptionsData& operator=(const FindOptionsData& other);

    // 0 for the standard pass, 1 for the tangent-and-symmetry pass.
    void SetPass(int pass) { m_options.pass = pass; }
    YSK_fr_option_s* Get() { return &m_options; }
    const std::vector<YSK_pointer_s>& GetSymmetryPlanes() const { return m_symmetry; }
    const std::vector<YSK_pointer_s>& GetCoplaxis() const { return m_coplaxis; }

private:
    void Point();

    YSK_fr_option_s m_options;
    std::vector<YSK_pointer_s> m_symmetry;
    std::vector<YSK_pointer_s> m_coplaxis;
};

// The manager's record of one entity.
YSK_pointer_s MakeYSKPointer(int entity, void* instance);

}  // namespace QEL
