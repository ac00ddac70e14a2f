#include "core/objects/SolutionChangeData.h"

#include "core/objects/Interaction.h"

namespace QEL {

bool operator==(const EntitySolutionChange& a, const EntitySolutionChange& b)
{
    return a.HasTransform() == b.HasTransform() && a.HasRadius() == b.HasRadius() &&
           a.HasMinorRadius() == b.HasMinorRadius() && a.HasReblend() == b.HasReblend() &&
           a.HasHalfAngle() == b.HasHalfAngle() && a.GetTransform().IsEqual(b.GetTransform()) &&
           a.GetRadius() == b.GetRadius() && a.GetMinorRadius() == b.GetMinorRadius() &&
           a.GetReblend() == b.GetReblend() && a.GetHalfAngle() == b.GetHalfAngle();
}

void SolutionChangeData::SetEntityTransform(int entity, const Xform& transform)
{
    EntitySolutionChange& change = m_changes[entity];
    change.m_transform = transform;
    change.m_hasTransform = true;
}

void SolutionChangeData::SetEntityRadius(int entity, double radius)
{
    EntitySolutionChange& change = m_changes[entity];
    change.m_radius = radius;
    change.m_hasRadius = true;
}

void SolutionChangeData::SetEntityMinorRadius(int entity, double radius)
{
    EntitySolutionChange& change = m_changes[entity];
    change.m_minorRadius = radius;
    change.m_hasMinorRadius = true;
}

void SolutionChangeData::SetEntityReblend(int entity, double reblend)
{
    EntitySolutionChange& change = m_changes[entity];
    change.m_reblend = reblend;
    change.m_hasReblend = true;
}

void SolutionChangeData::SetEntityHalfAngle(int entity, double halfAngle)
{
    EntitySolutionChange& change = m_changes[entity];
    change.m_halfAngle = halfAngle;
    change.m_hasHalfAngle = true;
}

const EntitySolutionChange* SolutionChangeData::FindEntityChange(int entity) const
{
    auto found = m_changes.find(entity);
    return found == m_changes.end() ? nullptr : &found->second;
}

bool operator==(const SolutionChangeData& a, const SolutionChangeData& b)
{
    return a.GetChanges() == b.GetChanges();
}

SolutionChangeDataRollable::SolutionChangeDataRollable(Interaction* interaction)
    : m_interaction(interaction)
{
    if (m_interaction)
        m_interaction->ObjectCreated(this);
    AddRef();
}

SolutionChangeDataRollable::~SolutionChangeDataRollable()
{
    if (m_interaction)
        m_interaction->ObjectDeleted(this);
}

void SolutionChangeDataRollable::Set(const SolutionChangeData& data)
{
    if (m_interaction)
        m_interaction->ObjectModified(this);
    m_data = data;
}

}  // namespace QEL
