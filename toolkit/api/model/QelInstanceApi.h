#pragma once
// Exported calls that place kernel bodies as instances, read and replace an instance's
// transform (a 4x4 matrix, [row][column], translation in the fourth column) and walk the
// interaction's instances. An instance is destroyed with DestroyObject.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API int CreateInstance(int interaction, int bodyTag, const double transform[4][4],
                           ResultType* result);
QEL_API int InstanceGetBody(int interaction, int instance, ResultType* result);
QEL_API void InstanceGetTransform(int interaction, int instanceTag, double transform[4][4],
                                  ResultType* result);
QEL_API void InstanceSetTransform(int interaction, int instanceTag, const double transform[4][4],
                                  ResultType* result);
QEL_API int GetInstanceCount(int interaction, ResultType* result);
QEL_API int GetInstance(int interaction, int index, ResultType* result);

}  // namespace QEL
