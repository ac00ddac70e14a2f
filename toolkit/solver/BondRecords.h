#pragma once
// The bonds and relationships the Solver keeps for the auto-constraint manager until they are
// handed over, and their conversion into the manager's records. They live with the Solver,
// which fills them, rather than with the wrapper that hands them on.

#include <ysk.h>

#include <cstddef>
#include <vector>

namespace QEL {

class GeometryBase;

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

}  // namespace QEL
