#include "core/TagCasts.h"

namespace QEL {

Object* FindObjectFromTag(Interaction* interaction, int tag)
{
    return interaction ? dynamic_cast<Object*>(interaction->FindTaggedEntityFromTag(tag)) : nullptr;
}

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
