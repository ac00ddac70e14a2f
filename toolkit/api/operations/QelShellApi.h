#pragma once
// Exported enquiries about thin walls and blends, and the split of a body into its disjoint
// pieces. They change no toolkit object.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The faces on the seed's side of its wall and on the other side, by the add-on's wall query;
// ResultTypeFail, the lists unchanged, when the seed is in no wall. The thickness is required.
QEL_API void FindSidesOfShell(int interaction, int seedFace, Array<int>& sameSide,
                              Array<int>& oppositeSide, double* thickness, ResultType* result);
// The same from the shell-partner query; false, the lists unchanged and the thickness 0.0, when
// the seed has no partners. The thickness is required.
QEL_API bool FindClusterOfShell(int interaction, int seedFace, Array<int>& sameSide,
                                Array<int>& otherSide, double* thickness, ResultType* result);
QEL_API bool IsBlendFace(int interaction, int face, double& radius, ResultType* result);
// Appends the bodies the body splits into; false, doing nothing, for a body the interaction
// places or references. The options go to the add-on unread.
QEL_API bool DisjoinBody(int interaction, int body, const char* options, Array<int>& bodies,
                         ResultType* result);
// The blends connected to or like the seed (ascending tags) and their common radius, -1.0 when
// they do not share one.
QEL_API bool FindBlends(int interaction, int seedFace, BlendIdentifyType type, Array<int>& blends,
                        double& radius, ResultType* result);

}  // namespace QEL
