#pragma once
// Exported calls that change kernel faces or bodies in one step, without a solve: cut, copy,
// paste, delete, shell, taper, replace, replace with a sheet, reorder blends, rejoin, and the
// add-on's persistent data of bodies. Each reads an option object made with the create call of
// its class; each change happens inside partition marks and is reported as change records.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void ReorderBlends(int interaction, const Array<int>& firstChain,
                           const Array<int>& secondChain, int options, ResultType* result);
// The tag of the instance placing the new sheet body; 0 when none was made.
QEL_API int Cut(int interaction, const Array<int>& faces, int partition, int options,
                ResultType* result);
QEL_API int Copy(int interaction, const Array<int>& faces, int partition, int options,
                 ResultType* result);
// Tool and target are instances; the tool goes in where its instance places it relative to
// the target's.
QEL_API void Paste(int interaction, int tool, int target, int options, ResultType* result);
QEL_API void DeleteFaces(int interaction, const Array<int>& faces, int options, ResultType* result);
QEL_API void Shell(int interaction, double thickness, int body, int options, ResultType* result);
// One list of reference edges per face.
QEL_API void TaperFaces(int interaction, const Array<int>& faces, const double* direction,
                        double angle, const Array<Array<int>>& references, int options,
                        ResultType* result);
// One surface and one sense per face.
QEL_API void ReplaceFaces(int interaction, const Array<int>& faces, const Array<int>& surfaces,
                          const Array<int>& senses, int options, ResultType* result);
QEL_API void ReplaceFacesWithSheet(int interaction, const Array<int>& faces, int sheet, int options,
                                   ResultType* result);
// The joined body; 0 when the bodies are not bare bodies of one partition or cannot be joined.
QEL_API int RejoinBody(int interaction, const Array<int>& bodies, ResultType* result);
QEL_API ExtractBodyPersistentDataStatus ExtractBodyPersistentData(int interaction, int body,
                                                                  int options, ResultType* result);
QEL_API RestoreBodyPersistentDataStatus RestoreBodyPersistentData(int interaction, int body,
                                                                  int options, ResultType* result);
QEL_API void RemoveFaceShellPersistentData(int interaction, int face, int options,
                                           ResultType* result);
QEL_API bool BodyIsPasteTool(int interaction, int body, int options, ResultType* result);

}  // namespace QEL
