#pragma once
// Exported calls on loaded face patterns: finding them by index among the patterns of their
// kind, reading their occurrences and parameters, holding their occurrences rigid, dropping an
// occurrence of a pattern with free transforms, and giving a grid or circular pattern a new
// spacing through the solver in one update.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The index counts only the patterns of the call's kind, in creation order; none there gives
// ResultTypeFail and 0.
QEL_API int GetUserDefinedFacePatternCount(int interaction, ResultType* result);
QEL_API int GetUserDefinedFacePattern(int interaction, int index, ResultType* result);
QEL_API int GetRectangularFacePatternCount(int interaction, ResultType* result);
QEL_API int GetRectangularFacePattern(int interaction, int index, ResultType* result);
QEL_API int GetCircularFacePatternCount(int interaction, ResultType* result);
QEL_API int GetCircularFacePattern(int interaction, int index, ResultType* result);

// Any kind of pattern. The occurrence's reference tags (0 where a copy lacks a face) are
// appended to the array, which is not emptied first.
QEL_API int FacePatternGetOccurrenceCount(int interaction, int pattern, ResultType* result);
QEL_API void FacePatternGetOccurrence(int interaction, int pattern, int index,
                                      Array<int>& occurrence, ResultType* result);
QEL_API void FacePatternSetRigidOccurrences(int interaction, int pattern, bool rigidOccurrences,
                                            ResultType* result);
QEL_API bool FacePatternGetRigidOccurrences(int interaction, int pattern, ResultType* result);

// Patterns with a free transform per occurrence. The transform carries occurrence fromIndex
// onto toIndex; the matrix is left as it was for an index outside the pattern.
QEL_API void UserDefinedFacePatternDivorceOccurrence(int interaction, int pattern, int index,
                                                     ResultType* result);
QEL_API void UserDefinedFacePatternGetTransform(int interaction, int pattern, int fromIndex,
                                                int toIndex, double (*transform)[4],
                                                ResultType* result);

// Grids. The counts answer 1 when the call fails; a missing direction answers 0.
QEL_API int RectangularFacePatternGetXCount(int interaction, int pattern, ResultType* result);
QEL_API int RectangularFacePatternGetYCount(int interaction, int pattern, ResultType* result);
QEL_API double RectangularFacePatternGetXSpacing(int interaction, int pattern, ResultType* result);
QEL_API double RectangularFacePatternGetYSpacing(int interaction, int pattern, ResultType* result);
QEL_API int RectangularFacePatternGetXDirectionReference(int interaction, int pattern,
                                                         ResultType* result);
QEL_API int RectangularFacePatternGetYDirectionReference(int interaction, int pattern,
                                                         ResultType* result);

// The spacing edits: ResultTypeDragActive while an operation is current, ResultTypeFail
// without the direction (axis) reference the edit needs or when the update is not applied
// (the model is then as it was).
QEL_API UpdateStatus RectangularFacePatternEditXSpacing(int interaction, int pattern,
                                                        double spacing, ResultType* result);
QEL_API UpdateStatus RectangularFacePatternEditYSpacing(int interaction, int pattern,
                                                        double spacing, ResultType* result);

// Circular patterns; the spacing is in radians.
QEL_API double CircularFacePatternGetSpacing(int interaction, int pattern, ResultType* result);
QEL_API int CircularFacePatternGetAxisReference(int interaction, int pattern, ResultType* result);
QEL_API bool CircularFacePatternGetIsClosed(int interaction, int pattern, ResultType* result);
QEL_API UpdateStatus CircularFacePatternEditSpacing(int interaction, int pattern, double spacing,
                                                    ResultType* result);

}  // namespace QEL
