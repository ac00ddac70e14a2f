#pragma once
// Exported calls on the found data the configure step keeps of the relations and shell
// clusters it found: their type, state, object, level and wall, and relaxing or re-applying
// one for the following configures.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API FoundDataType FoundDataGetType(int interaction, int foundData, ResultType* result);
QEL_API FoundDataState FoundDataGetState(int interaction, int foundData, ResultType* result);
// Recorded for rollback only when the state changes.
QEL_API void FoundDataSetState(int interaction, int foundData, FoundDataState state,
                               ResultType* result);
QEL_API bool FoundDataGetWasFound(int interaction, int foundData, ResultType* result);
// A record without object: ResultTypeBadArgument and 0.
QEL_API int FoundDataGetObject(int interaction, int foundData, ResultType* result);
QEL_API int FoundDataGetLevel(int interaction, int foundData, ResultType* result);
// The faces of each side and the thickness of a shell record; any other record empties both
// arrays, gives 0.0 and ResultTypeBadArgument.
QEL_API void FoundDataGetShellData(int interaction, int foundData, Array<int>& side1Faces,
                                   Array<int>& side2Faces, double& thickness, ResultType* result);

}  // namespace QEL
