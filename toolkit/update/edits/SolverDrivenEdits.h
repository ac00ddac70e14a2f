#pragma once
// The one-step edits whose new geometry the solver finds: faces offset, a wall given a new
// thickness, blends given a new radius, and a face pattern given a new spacing. Each builds its
// value edit, runs it through one whole update of the interaction and discards it; a failed
// update leaves the model as it was.

#include "core/enums/Enums.h"

#include <vector>

namespace QEL {

class CircularFacePattern;
class Interaction;
class OffsetFacesOptions;
class RectangularFacePattern;
class SolverEditPatternSpacing;

// One value per face. The result starts at ResultTypeOk: a face that cannot be offset gives its
// check's result, a value list of another length ResultTypeBadArgument, both with
// UpdateUnknown and nothing run; an update that is not applied gives ResultTypeFail.
UpdateStatus DoOffsetFaces(Interaction* interaction, const std::vector<int>& faces,
                           const std::vector<double>& offsets, const OffsetFacesOptions* options,
                           ResultType* result);
// faces: one side of a wall. Every face must have a wall (else ResultTypeBadArgument); when
// every wall already has the thickness, nothing runs and the answer is UpdateApplied.
UpdateStatus DoEditShellThickness(Interaction* interaction, const std::vector<int>& faces,
                                  double thickness, bool symmetric, ResultType* result);
UpdateStatus DoEditBlendRadius(Interaction* interaction, const std::vector<int>& faces,
                               double radius, ResultType* result);

// The pattern's spacing edit run as one update with its occurrences held rigid; the pattern's
// own rigid-occurrences flag is kept. The edit is deleted. UpdateSolveFailed, running nothing,
// while another operation is current.
UpdateStatus RunPatternSpacingEdit(Interaction* interaction, SolverEditPatternSpacing* edit);
UpdateStatus EditRectangularPatternXSpacing(Interaction* interaction,
                                            RectangularFacePattern* pattern, double spacing);
UpdateStatus EditRectangularPatternYSpacing(Interaction* interaction,
                                            RectangularFacePattern* pattern, double spacing);
UpdateStatus EditCircularPatternSpacing(Interaction* interaction, CircularFacePattern* pattern,
                                        double spacing);

}  // namespace QEL
