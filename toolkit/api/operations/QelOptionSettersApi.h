#pragma once
// Exported calls that set the options of the one-shot modelling operations before the
// operation runs. Each replaces one setting (a list replaces the whole list) of the option
// object named by its tag; the paste and store settings are not recorded for rollback, the
// others are.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void PasteOptionsSetPasteType(int interaction, int tagPasteOptions, PasteType pasteType,
                                      ResultType* result);
QEL_API void PasteOptionsSetReblend(int interaction, int tagPasteOptions, bool pasteReblend,
                                    ResultType* result);

QEL_API void ShellOptionsSetType(int interaction, int shellOptionsTag, ShellType shellType,
                                 ResultType* result);
QEL_API void ShellOptionsSetPierceFaces(int interaction, int shellOptionsTag,
                                        const Array<int>& pierceFaces, ResultType* result);
QEL_API void ShellOptionsSetLocalFaces(int interaction, int shellOptionsTag,
                                       const Array<int>& localFaces,
                                       ShellLocalFaceType localFaceType, ResultType* result);
// One value per face; a non-empty face list with another number of values is a bad argument.
QEL_API void ShellOptionsSetOffsetInFaces(int interaction, int shellOptionsTag,
                                          const Array<int>& offsetInFaces,
                                          const Array<double>& offsetInValues, ResultType* result);
QEL_API void ShellOptionsSetOffsetOutFaces(int interaction, int shellOptionsTag,
                                           const Array<int>& offsetOutFaces,
                                           const Array<double>& offsetOutValues,
                                           ResultType* result);

QEL_API void TaperOptionsSetTaperMethodType(int interaction, int taperOptionsTag,
                                            TaperMethodType taperMethodType, ResultType* result);
QEL_API void TaperOptionsSetTaperLaminarEdgeType(int interaction, int taperOptionsTag,
                                                 TaperLaminarEdgeType taperLaminarEdgeType,
                                                 ResultType* result);
QEL_API void TaperOptionsSetMaintainShell(int interaction, int taperOptionsTag, bool maintainShell,
                                          ResultType* result);
QEL_API void TaperOptionsSetReblends(int interaction, int taperOptionsTag,
                                     const Array<int>& reblendFaces, ResultType* result);
QEL_API void TaperOptionsSetTaperEdges(int interaction, int taperOptionsTag,
                                       const Array<int>& taperEdges, ResultType* result);
QEL_API void TaperOptionsSetNormalEdges(int interaction, int taperOptionsTag,
                                        const Array<int>& normalEdges, ResultType* result);

// The lists of one call are read index for index: lists of different lengths are a bad
// argument.
QEL_API void ReplaceOptionsSetEdgeData(int interaction, int replaceOptionsTag,
                                       const Array<int>& edgeTags,
                                       const Array<int>& replacementCurves,
                                       const Array<double>& edgeTolerances,
                                       ReplaceEdgesUseType edgesUseType, ResultType* result);
QEL_API void ReplaceOptionsSetVertexData(int interaction, int replaceOptionsTag,
                                         const Array<int>& vertexTags,
                                         const Array<Position>& vertexPositions,
                                         const Array<double>& vertexTolerances, ResultType* result);
QEL_API void ReplaceOptionsSetEdgeHelp(int interaction, int replaceOptionsTag,
                                       const Array<int>& edgeHelp,
                                       const Array<Position>& edgeHelpPositions,
                                       ResultType* result);
QEL_API void ReplaceOptionsSetVertexHelp(int interaction, int replaceOptionsTag,
                                         const Array<int>& vertexHelp,
                                         const Array<Position>& vertexHelpPositions,
                                         ResultType* result);
QEL_API void ReplaceOptionsSetReplaceMergeType(int interaction, int replaceOptionsTag,
                                               ReplaceMergeType replaceMergeType,
                                               ResultType* result);
QEL_API void ReplaceOptionsSetMaintainShell(int interaction, int replaceOptionsTag,
                                            bool maintainShell, ResultType* result);
QEL_API void ReplaceOptionsSetReblends(int interaction, int replaceOptionsTag,
                                       const Array<int>& reblendFaces, ResultType* result);

QEL_API void ExtractBodyPersistentDataOptionsSetStore(int interaction,
                                                      int tagExtractBodyPersistentDataOptions,
                                                      bool store, ResultType* result);

}  // namespace QEL
