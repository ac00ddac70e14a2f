#include "core/frame/ApiArguments.h"

#include "core/objects/Interaction.h"

#include <algorithm>

namespace QEL {

Instance* FindInstanceArg(Interaction* interaction, int tag)
{
    return interaction ? interaction->FindInstanceFromTag(tag) : nullptr;
}

Reference* FindReferenceArg(Interaction* interaction, int tag)
{
    return interaction ? interaction->FindReferenceFromTag(tag) : nullptr;
}

Relation* FindRelationArg(Interaction* interaction, int tag)
{
    return interaction ? interaction->FindRelationFromTag(tag) : nullptr;
}

Feature* FindFeatureArg(Interaction* interaction, int tag)
{
    return interaction ? interaction->FindFeatureFromTag(tag) : nullptr;
}

MappingData* FindMappingDataArg(Interaction* interaction, int tag)
{
    return interaction ? interaction->FindMappingDataFromTag(tag) : nullptr;
}

int KeptPriorLength(const std::vector<int>& before, const std::vector<int>& after)
{
    // A call that emptied the array and happened to refill it with the same leading tags is
    // told apart from one that appended by nothing it leaves; starting its replay from those
    // tags gives the same array either way, as it empties it again.
    if (before.empty() || after.size() < before.size() ||
        !std::equal(before.begin(), before.end(), after.begin()))
        return 0;
    return static_cast<int>(before.size());
}

ResultType CheckArgValues(const Array<double>& values)
{
    return CheckArgDoubleArray(values.GetData(), values.GetSize());
}

}  // namespace QEL
