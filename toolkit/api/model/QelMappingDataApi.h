#pragma once
// Exported calls that read and fill the mapping data a feature procedure receives by tag: the
// record of which old kernel entity became which new one. Indices count the entries in their
// order (by old tag, then as added) from 0; a negative index is a bad argument, an index past
// the last entry names nothing.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void MappingDataAddEntry(int interaction, int mappingDataTag, int oldTag, int newTag,
                                 ResultType* result);
QEL_API int MappingDataGetEntryCount(int interaction, int mappingDataTag, ResultType* result);
QEL_API void MappingDataGetEntry(int interaction, int mappingDataTag, int index, int* pOldTag,
                                 int* pNewTag, ResultType* result);
QEL_API void MappingDataRemoveEntry(int interaction, int mappingDataTag, int index,
                                    ResultType* result);

}  // namespace QEL
