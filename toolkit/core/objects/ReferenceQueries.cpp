// The core's questions about references, answered through what the model installed.
#include "core/objects/ReferenceQueries.h"

namespace QEL {

namespace {

using Installed = InstalledSeam<ReferenceQueries>;

}  // namespace

int GetReferenceEntityTag(Reference* reference)
{
    return reference && Installed::Get() ? Installed::Get()->GetEntityTag(reference) : 0;
}

Instance* GetReferenceInstance(Reference* reference)
{
    return reference && Installed::Get() ? Installed::Get()->GetInstance(reference) : nullptr;
}

bool IsReferenceEntityUsedByNonSimpleFeature(Interaction* interaction, int entity)
{
    return Installed::Get() &&
           Installed::Get()->IsEntityUsedByNonSimpleFeature(interaction, entity);
}

void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                            std::vector<int>& groups)
{
    if (Installed::Get())
        Installed::Get()->FindInteractionReferencesGroupsForBody(interaction, body, groups);
}

bool IsSelectableReferenceCombination(const std::vector<Reference*>& references, Reference* added)
{
    return Installed::Get() && Installed::Get()->IsSelectableCombination(references, added);
}

}  // namespace QEL
