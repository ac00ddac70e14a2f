#pragma once
// Exported calls on virtual vertices: making one where its defining entities meet, near a seed
// point, and reading back its defining references and its kernel point.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// seedCoords: three coordinates.
QEL_API int CreateVirtualVertex(int interaction, Array<int>& definingRefTags,
                                const double* seedCoords, ResultType* result);
// Appends the defining references' tags in order; the array must come empty.
QEL_API void VirtualVertexGetDefiningRefs(int interaction, int virtualVertexTag,
                                          Array<int>& definingRefTagsArray, ResultType* result);
QEL_API int VirtualVertexGetVirtualPoint(int interaction, int virtualVertexTag, ResultType* result);

}  // namespace QEL
