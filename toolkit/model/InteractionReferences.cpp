// The interaction's reference queries that need the reference class itself.
#include "core/Interaction.h"
#include "model/Reference.h"

namespace QEL {

void Interaction::GetAllReferences(std::set<Reference*, TaggedEntityPtrLessThan>& references) const
{
    for (const auto& entry : m_references)
        references.insert(entry.second);
}

}  // namespace QEL
