// The state of one find.
#include "update/finding/RelationFinderContext.h"

namespace QEL {

RelationFinderContext::RelationFinderContext(Interaction* interaction, ConfigureManager* configure)
    : m_interaction(interaction),
      m_configure(configure),
      m_vary(interaction),
      m_environment(interaction),
      m_third(interaction),
      m_nextVary(interaction),
      m_candidates(interaction)
{
}

RelationFinderContext::RelationFinderContext(const RelationFinderContext& other, bool withVary)
    : RelationFinderContext(other)
{
    if (!withVary)
        m_vary.ClearData();
}

}  // namespace QEL
