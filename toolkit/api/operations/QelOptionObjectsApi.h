#pragma once
// Exported calls that create the option objects of the one-shot modelling operations. Each
// makes one object of its class in the interaction and answers its tag (0 when none was
// made); the operations take the options by that tag.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API int CreateReorderBlendsOptions(int interaction, ResultType* result);
QEL_API int CreateCutOptions(int interaction, ResultType* result);
QEL_API int CreateCopyOptions(int interaction, ResultType* result);
QEL_API int CreatePasteOptions(int interaction, ResultType* result);
QEL_API int CreateDeleteFacesOptions(int interaction, ResultType* result);
QEL_API int CreateShellOptions(int interaction, ResultType* result);
QEL_API int CreateOffsetFacesOptions(int interaction, ResultType* result);
QEL_API int CreateTaperOptions(int interaction, ResultType* result);
QEL_API int CreateReplaceOptions(int interaction, ResultType* result);
QEL_API int CreateReplaceFacesWithSheetOptions(int interaction, ResultType* result);
QEL_API int CreateExtractBodyPersistentDataOptions(int interaction, ResultType* result);
QEL_API int CreateRestoreBodyPersistentDataOptions(int interaction, ResultType* result);
QEL_API int CreateRemoveFaceShellPersistentDataOptions(int interaction, ResultType* result);
QEL_API int CreateBodyIsPasteToolOptions(int interaction, ResultType* result);

}  // namespace QEL
