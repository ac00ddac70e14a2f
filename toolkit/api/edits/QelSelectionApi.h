#pragma once
// Exported calls that keep the interaction's selected references, which the next edit and the
// rotation drag's axis consult, and that keep and read the solution data the last update gave
// each entity.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// ResultTypeBadReferenceCombination when the selection with the reference would mix bare
// bodies with anything else; a reference selected already stays once.
QEL_API void AddSelection(int interaction, int reference, ResultType* result);
// Nothing when the reference is not selected.
QEL_API void RemoveSelection(int interaction, int reference, ResultType* result);
QEL_API int GetSelectionCount(int interaction, ResultType* result);
// ResultTypeBadArgument and 0 for an index outside the selection.
QEL_API int GetSelection(int interaction, int index, ResultType* result);
QEL_API void ClearSelections(int interaction, ResultType* result);
QEL_API void OptionSetSolutionDataMode(int interaction, SolutionDataMode solutionDataMode,
                                       ResultType* result);
QEL_API SolutionDataMode OptionGetSolutionDataMode(int interaction, ResultType* result);
// True, with the matrix, when the last kept solution moved the entity; ResultTypeBadArgument
// when the interaction keeps no solution data.
QEL_API bool SolutionDataGetEntityTransform(int interaction, int entity, double transform[4][4],
                                            ResultType* result);

}  // namespace QEL
