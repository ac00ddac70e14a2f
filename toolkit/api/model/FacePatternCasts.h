#pragma once
// Tags to face patterns of each kind, and the checks that a tag names one: null (or
// ResultTypeBadArgument) for a null interaction, a tag that names no object of the
// interaction, or a pattern of another kind.

#include "core/enums/Enums.h"

namespace QEL {

class CircularFacePattern;
class FacePattern;
class Interaction;
class RectangularFacePattern;
class UserDefinedFacePattern;

UserDefinedFacePattern* CastTagToUserDefinedFacePattern(Interaction* interaction, int tag);
RectangularFacePattern* CastTagToRectangularFacePattern(Interaction* interaction, int tag);
CircularFacePattern* CastTagToCircularFacePattern(Interaction* interaction, int tag);

ResultType CheckArgTagIsFacePattern(int tag, Interaction* interaction);
ResultType CheckArgTagIsUserDefinedFacePattern(int tag, Interaction* interaction);
ResultType CheckArgTagIsRectangularFacePattern(int tag, Interaction* interaction);
ResultType CheckArgTagIsCircularFacePattern(int tag, Interaction* interaction);

}  // namespace QEL
