#include "core/TagCasts.h"

namespace QEL {

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
