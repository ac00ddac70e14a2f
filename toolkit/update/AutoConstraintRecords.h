#pragma once
// The records that cross between the toolkit and the auto-constraint manager: the bonds,
// relationships and desired changes the Solver and the drags fill, the options of one
// find, and their conversion into the manager's own records.

#include "core/Dir.h"
#include "core/Vec.h"

#include <ysk.h>

#include <vector>

namespace QEL {

class GeometryBase;
class GNode;
class Reference;

// One end of a bond or relationship: a solver geometry, not owned.
class BondEndData {
public:
    BondEndData() = default;
    explicit BondEndData(GeometryBase* geometry) : m_geometry(geometry) {}
    BondEndData(const BondEndData&) = default;
    BondEndData& operator=(const BondEndData&) = default;
    ~BondEndData() {}

    GeometryBase* GetGeometry() const { return m_geometry; }
    // Fills a manager's end (its defaults first); false when the geometry has no node in
    // the dimension system yet, which leaves the end's node null.
    bool ToYSK(YSK_dimension_end_s& end) const;

private:
    GeometryBase* m_geometry = nullptr;
};

// A bond the Solver hands to the manager.
class BondData {
public:
    BondData(ZMR3_d_type type, const std::vector<BondEndData>& ends, bool rigid, double value);

    int GetRigid() const { return m_rigid; }
    double GetValue() const { return m_value; }
    ZMR3_d_type GetType() const { return m_type; }
    unsigned GetEndCount() const { return m_endCount; }
    const std::vector<BondEndData>& GetEnds() const { return m_ends; }
    // The manager's record: ends beyond the third are left out.
    void ToYSK(YSK_dnode_data_s& record) const;

private:
    int m_rigid;
    double m_value;
    ZMR3_d_type m_type;
    unsigned m_endCount;
    std::vector<BondEndData> m_ends;
};

// A relation between geometries without a value that the Solver hands to the manager.
class RelationshipData {
public:
    RelationshipData(YSK_relation_type type, const std::vector<BondEndData>& ends);

    YSK_relation_type GetType() const { return m_type; }
    unsigned GetEndCount() const { return m_endCount; }
    const std::vector<BondEndData>& GetEnds() const { return m_ends; }
    // The manager's record: type, value and rigid word stay 0, the relation in its word.
    void ToYSK(YSK_dnode_data_s& record) const;

private:
    YSK_relation_type m_type;
    unsigned m_endCount;
    std::vector<BondEndData> m_ends;
};

// An ordered list of records; AddData appends a copy.
template <class T>
class RecordArray {
public:
    bool AddData(const T& data)
    {
        m_data.push_back(data);
        return true;
    }
    const std::vector<T>& GetData() const { return m_data; }
    size_t Size() const { return m_data.size(); }
    bool Empty() const { return m_data.empty(); }
    void Clear() { m_data.clear(); }
    // The manager's records of every entry, in order.
    std::vector<YSK_dnode_data_s> ToYSK() const
    {
        std::vector<YSK_dnode_data_s> records(m_data.size());
        for (size_t i = 0; i < m_data.size(); ++i)
            m_data[i].ToYSK(records[i]);
        return records;
    }

private:
    std::vector<T> m_data;
};

using BondDataArray = RecordArray<BondData>;
using RelationshipDataArray = RecordArray<RelationshipData>;

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
        : DesiredChangeData(compliance), m_node(node), m_direction(axisDirection), m_point(axisPoint)
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
    FindOptionsData(const std::vector<Reference*>& symmetryPlanes, const std::vector<Reference*>& coplaxis,
                    bool symmetryMatchExact, bool similarMatchAxes);
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
