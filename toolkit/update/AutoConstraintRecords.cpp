#include "update/AutoConstraintRecords.h"

#include "model/Reference.h"
#include "solver/SolverNodes.h"

#include <algorithm>

namespace QEL {

YSK_pointer_s MakeYSKPointer(int entity, void* instance)
{
    YSK_pointer_s pointer;
    pointer.entity = entity;
    pointer.instance = instance;
    return pointer;
}

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
    : m_rigid(rigid ? 1 : 0), m_value(value), m_type(type), m_endCount(static_cast<unsigned>(ends.size())), m_ends(ends)
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

FindOptionsData::FindOptionsData(const std::vector<Reference*>& symmetryPlanes, const std::vector<Reference*>& coplaxis,
                                 bool symmetryMatchExact, bool similarMatchAxes)
{
    for (Reference* r : symmetryPlanes)
        m_symmetry.push_back(MakeYSKPointer(r->GetEntityTag(), r->GetInstance()));
    for (Reference* r : coplaxis)
        m_coplaxis.push_back(MakeYSKPointer(r->GetEntityTag(), r->GetInstance()));
    m_options.symmetry_match_exact = symmetryMatchExact ? 1 : 0;
    m_options.similar_match_axes = similarMatchAxes ? 1 : 0;
    Point();
}

FindOptionsData::FindOptionsData(const FindOptionsData& other)
    : m_options(other.m_options), m_symmetry(other.m_symmetry), m_coplaxis(other.m_coplaxis)
{
    Point();
}

FindOptionsData& FindOptionsData::operator=(const FindOptionsData& other)
{
    m_options = other.m_options;
    m_symmetry = other.m_symmetry;
    m_coplaxis = other.m_coplaxis;
    Point();
    return *this;
}

// The record points into this holder's own lists, never into the one it was copied from.
void FindOptionsData::Point()
{
    m_options.symmetry_planes = m_symmetry.empty() ? nullptr : m_symmetry.data();
    m_options.symmetry_plane_count = static_cast<int>(m_symmetry.size());
    m_options.coplaxis = m_coplaxis.empty() ? nullptr : m_coplaxis.data();
    m_options.coplaxis_count = static_cast<int>(m_coplaxis.size());
}

}  // namespace QEL
