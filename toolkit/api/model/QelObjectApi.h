#pragma once
// Exported calls of the application's generic view of an interaction's objects: their type,
// finding one by its interaction-wide id, the one word of application data each carries,
// listing them by type or all, and destroying one (references go with their instance instead).

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void DestroyObject(int interaction, int object, ResultType* result);
QEL_API ObjectType GetObjectType(int interaction, int object, ResultType* result);
QEL_API int ObjectFindByIdentifier(int interaction, int id, ResultType* result);
QEL_API void ObjectSetApplicationData(int interaction, int tag, void* data, ResultType* result);
QEL_API void* ObjectGetApplicationData(int interaction, int tag, ResultType* result);
QEL_API int ObjectGetIdentifier(int interaction, int tag, ResultType* result);
// The objects' tags in ascending tag order; objects may be null for the count alone.
QEL_API int GetObjects(int interaction, ObjectType objectType, Array<int>* objects,
                       ResultType* result);
QEL_API int GetAllObjects(int interaction, Array<int>* objects, ResultType* result);

}  // namespace QEL
