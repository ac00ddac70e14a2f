#include "api/edits/QelConfigureLockApi.h"

#include "api/ApiCallRows.h"
#include "api/finding/FinderFlagCalls.h"

namespace QEL {

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockCylinderRadius, 0);
void OptionSetConfigureLockCylinderRadius(int interaction, bool lockCylinderRadius,
                                          ResultType* result)
{
    SetFinderFlag(s_OptionSetConfigureLockCylinderRadius, interaction, lockCylinderRadius,
                  "lockCylinderRadius", &RelationFinder::SetConfigureLockCylinderRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockCylinderRadius, ApiCallQuery);
bool OptionGetConfigureLockCylinderRadius(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetConfigureLockCylinderRadius, interaction,
                         &RelationFinder::GetConfigureLockCylinderRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockSphereRadius, 0);
void OptionSetConfigureLockSphereRadius(int interaction, bool lockSphereRadius, ResultType* result)
{
    SetFinderFlag(s_OptionSetConfigureLockSphereRadius, interaction, lockSphereRadius,
                  "lockSphereRadius", &RelationFinder::SetConfigureLockSphereRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockSphereRadius, ApiCallQuery);
bool OptionGetConfigureLockSphereRadius(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetConfigureLockSphereRadius, interaction,
                         &RelationFinder::GetConfigureLockSphereRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockTorusRadius, 0);
void OptionSetConfigureLockTorusRadius(int interaction, bool lockTorusRadius, ResultType* result)
{
    SetFinderFlag(s_OptionSetConfigureLockTorusRadius, interaction, lockTorusRadius,
                  "lockTorusRadius", &RelationFinder::SetConfigureLockTorusRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockTorusRadius, ApiCallQuery);
bool OptionGetConfigureLockTorusRadius(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetConfigureLockTorusRadius, interaction,
                         &RelationFinder::GetConfigureLockTorusRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockTorusMinorRadius, 0);
void OptionSetConfigureLockTorusMinorRadius(int interaction, bool lockTorusMinorRadius,
                                            ResultType* result)
{
    SetFinderFlag(s_OptionSetConfigureLockTorusMinorRadius, interaction, lockTorusMinorRadius,
                  "lockTorusMinorRadius", &RelationFinder::SetConfigureLockTorusMinorRadius,
                  result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockTorusMinorRadius, ApiCallQuery);
bool OptionGetConfigureLockTorusMinorRadius(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetConfigureLockTorusMinorRadius, interaction,
                         &RelationFinder::GetConfigureLockTorusMinorRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockConeHalfAngle, 0);
void OptionSetConfigureLockConeHalfAngle(int interaction, bool lockConeHalfAngle,
                                         ResultType* result)
{
    SetFinderFlag(s_OptionSetConfigureLockConeHalfAngle, interaction, lockConeHalfAngle,
                  "lockConeHalfAngle", &RelationFinder::SetConfigureLockConeHalfAngle, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockConeHalfAngle, ApiCallQuery);
bool OptionGetConfigureLockConeHalfAngle(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetConfigureLockConeHalfAngle, interaction,
                         &RelationFinder::GetConfigureLockConeHalfAngle, result);
}

}  // namespace QEL
