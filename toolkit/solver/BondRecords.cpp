#include "solver/BondRecords.h"

#include "solver/SolverNodes.h"

#include <algorithm>

namespace QEL {

bool BondEndData::ToYSK(YSK_dimension_end_s& end) const
{
    end = YSK_dimension_end_s{};
    if (m_geometry == nullptr)
        return false;
    end.node = m_geometry->GetGNode();
    end.application = m_geometry;
    end.instance = m_geometry->GetInstance();
    if (auto* geometry = dynamic_cast<Geometry*>(m_geometry))
        end.entity = geometry->GetEntity();
    return end.node != nullptr;
}

namespace {

// Clears the record and fills up to three ends, in order.
void FillEnds(const std::vector<BondEndData>& ends, YSK_dnode_data_s& record)
{
    record = YSK_dnode_data_s{};
    for (size_t i = 0; i < std::min<size_t>(ends.size(), 3); ++i)
        ends[i].ToYSK(record.ends[i]);
}

}  // namespace

BondData::BondData(ZMR3_d_type type, const std::vector<BondEndData>& ends, bool rigid, double value)
    : m_rigid(rigid ? 1 : 0),
      m_value(value),
      m_type(type),
      m_endCount(static_cast<unsigned>(ends.size())),
      m_ends(ends)
{
}

void BondData::ToYSK(YSK_dnode_data_s& record) const
{
    FillEnds(m_ends, record);
    record.rigid = m_rigid;
    record.type = m_type;
    record.value = m_value;
}

RelationshipData::RelationshipData(YSK_relation_type type, const std::vector<BondEndData>& ends)
    : m_type(type), m_endCount(static_cast<unsigned>(ends.size())), m_ends(ends)
{
}

void RelationshipData::ToYSK(YSK_dnode_data_s& record) const
{
    FillEnds(m_ends, record);
    record.relation = m_type;
}

}  // namespace QEL
