#include "core/frame/ApiArguments.h"

#include "core/objects/Interaction.h"

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

ResultType CheckArgValues(const Array<double>& values)
{
    return CheckArgDoubleArray(values.GetData(), values.GetSize());
}

}  // namespace QEL
