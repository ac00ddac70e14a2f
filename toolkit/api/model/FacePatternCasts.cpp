#include "api/model/FacePatternCasts.h"

#include "core/frame/TagCasts.h"
#include "model/patterns/FacePattern.h"

namespace QEL {

namespace {

ResultType Found(const void* pattern) { return pattern ? ResultTypeOk : ResultTypeBadArgument; }

}  // namespace

UserDefinedFacePattern* CastTagToUserDefinedFacePattern(Interaction* interaction, int tag)
{
    return dynamic_cast<UserDefinedFacePattern*>(CastTagToFacePattern(interaction, tag));
}

RectangularFacePattern* CastTagToRectangularFacePattern(Interaction* interaction, int tag)
{
    return dynamic_cast<RectangularFacePattern*>(CastTagToFacePattern(interaction, tag));
}

CircularFacePattern* CastTagToCircularFacePattern(Interaction* interaction, int tag)
{
    return dynamic_cast<CircularFacePattern*>(CastTagToFacePattern(interaction, tag));
}

ResultType CheckArgTagIsFacePattern(int tag, Interaction* interaction)
{
    return Found(CastTagToFacePattern(interaction, tag));
}

ResultType CheckArgTagIsUserDefinedFacePattern(int tag, Interaction* interaction)
{
    return Found(CastTagToUserDefinedFacePattern(interaction, tag));
}

ResultType CheckArgTagIsRectangularFacePattern(int tag, Interaction* interaction)
{
    return Found(CastTagToRectangularFacePattern(interaction, tag));
}

ResultType CheckArgTagIsCircularFacePattern(int tag, Interaction* interaction)
{
    return Found(CastTagToCircularFacePattern(interaction, tag));
}

}  // namespace QEL
