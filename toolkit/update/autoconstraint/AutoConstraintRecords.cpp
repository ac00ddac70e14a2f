#include "update/autoconstraint/AutoConstraintRecords.h"

#include "model/references/Reference.h"

namespace QEL {

YSK_pointer_s MakeYSKPointer(int entity, void* instance)
{
    YSK_pointer_s pointer;
    pointer.entity = entity;
    pointer.instance = instance;
    return pointer;
}

FindOptionsData::FindOptionsData(const std::vector<Reference*>& symmetryPlanes,
                                 const std::vector<Reference*>& coplaxis, bool symmetryMatchExact,
                                 bool similarMatchAxes)
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
