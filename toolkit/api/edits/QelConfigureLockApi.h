#pragma once
// Exported calls that set and read the interaction's configure locks: while a lock is on, the
// configure step of every edit keeps the radius, minor radius or half angle of the faces of
// its kind that it moves, unless a relation already governs that size. A change takes effect at
// the next configure.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void OptionSetConfigureLockCylinderRadius(int interaction, bool lockCylinderRadius,
                                                  ResultType* result);
QEL_API bool OptionGetConfigureLockCylinderRadius(int interaction, ResultType* result);
QEL_API void OptionSetConfigureLockSphereRadius(int interaction, bool lockSphereRadius,
                                                ResultType* result);
QEL_API bool OptionGetConfigureLockSphereRadius(int interaction, ResultType* result);
QEL_API void OptionSetConfigureLockTorusRadius(int interaction, bool lockTorusRadius,
                                               ResultType* result);
QEL_API bool OptionGetConfigureLockTorusRadius(int interaction, ResultType* result);
QEL_API void OptionSetConfigureLockTorusMinorRadius(int interaction, bool lockTorusMinorRadius,
                                                    ResultType* result);
QEL_API bool OptionGetConfigureLockTorusMinorRadius(int interaction, ResultType* result);
QEL_API void OptionSetConfigureLockConeHalfAngle(int interaction, bool lockConeHalfAngle,
                                                 ResultType* result);
QEL_API bool OptionGetConfigureLockConeHalfAngle(int interaction, ResultType* result);

}  // namespace QEL
