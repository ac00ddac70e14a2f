#pragma once
// Exported one-step edits whose new geometry the solver finds, so that relations and
// neighbours follow: faces offset by given distances, a shell wall given a new thickness, and
// blend faces given a new radius. Each runs one whole update and answers its UpdateStatus; an
// update that is not applied gives ResultTypeFail and leaves the bodies as they were.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// One offset for every face, or one per face in face order; any other count is a bad argument.
QEL_API UpdateStatus OffsetFaces(int interaction, const Array<int>& facesToOffset,
                                 const Array<double>& offsetValues, int offsetFacesOptions,
                                 ResultType* result);
// shellSide: the faces of the side of the wall that moves (both sides move half each when
// changed symmetrically).
QEL_API UpdateStatus EditShellThickness(int interaction, const Array<int>& shellSide,
                                        double newThickness, bool changeShellSymmetrically,
                                        ResultType* result);
QEL_API UpdateStatus EditBlendRadius(int interaction, const Array<int>& facesToChange,
                                     double newBlendRadius, ResultType* result);

}  // namespace QEL
