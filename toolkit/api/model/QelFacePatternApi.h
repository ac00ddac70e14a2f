#pragma once
// Exported calls that declare a face pattern of one body in one go: its whole occurrence list
// (each occurrence a list of reference tags, 0 where a copy lacks a face, corresponding faces
// at the same position) with free transforms, an x/y grid or an axis.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"
#include "core/maths/Double4x4.h"

namespace QEL {

// transforms: one per occurrence after the seed, placing it relative to the seed.
QEL_API int LoadUserDefinedFacePattern(int interaction, Array<Array<int>>& occurrences,
                                       Array<Double4x4>& transforms, ResultType* result);
// occurrences: xCount * yCount cells, x running fastest; directions 0 for a count of one.
QEL_API int LoadRectangularFacePattern(int interaction, Array<Array<int>>& occurrences, int xCount,
                                       int yCount, double xSpacing, double ySpacing, int xDirection,
                                       int yDirection, ResultType* result);
QEL_API int LoadOpenCircularFacePattern(int interaction, Array<Array<int>>& occurrences,
                                        double spacing, int axis, ResultType* result);
// The spacing is a full turn over the number of occurrences.
QEL_API int LoadClosedCircularFacePattern(int interaction, Array<Array<int>>& occurrences, int axis,
                                          ResultType* result);

}  // namespace QEL
