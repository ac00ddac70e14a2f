#include "api/TagCasts.h"

#include "core/Interaction.h"
#include "core/UpperLayerSeams.h"

namespace QEL {

template <typename T>
T* CastTagTo(Interaction* interaction, int tag)
{
    return interaction ? DowncastEntity<T>(interaction->FindTaggedEntityFromTag(tag)) : nullptr;
}

template Reference* CastTagTo<Reference>(Interaction*, int);
template Feature* CastTagTo<Feature>(Interaction*, int);
template FeatureProcedureData* CastTagTo<FeatureProcedureData>(Interaction*, int);
template FoundData* CastTagTo<FoundData>(Interaction*, int);

Reference* CastTagToReference(Interaction* interaction, int tag)
{
    return CastTagTo<Reference>(interaction, tag);
}

FeatureProcedureData* CastTagToFeatureProcedureData(Interaction* interaction, int tag)
{
    return CastTagTo<FeatureProcedureData>(interaction, tag);
}

FoundData* CastTagToFoundData(Interaction* interaction, int tag)
{
    return CastTagTo<FoundData>(interaction, tag);
}

}  // namespace QEL
