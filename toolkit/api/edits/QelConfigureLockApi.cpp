#include "api/edits/QelConfigureLockApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/objects/Interaction.h"
#include "update/finding/RelationFinder.h"

namespace QEL {

namespace {

// The lock set in the interaction's relation finder, recorded for rollback on every call, the
// same value too; Fail when the layer that finds relations keeps no finder.
void SetLock(const ApiCallProperties& call, int interaction, bool value, const char* name,
             void (RelationFinder::*setter)(bool), ResultType* result)
{
    Call(call, interaction, result, BoolArg(value, name))
        .Run([setter](Interaction* target, ResultType& status, bool on) {
            RelationFinder* finder = RelationFinder::Of(target);
            if (!finder) {
                status = ResultTypeFail;
                return;
            }
            (finder->*setter)(on);
        });
}

bool GetLock(const ApiCallProperties& call, int interaction, bool (RelationFinder::*getter)() const,
             ResultType* result)
{
    return Call<bool>(call, interaction, result)
        .Run([getter](Interaction* target, ResultType& status) {
            RelationFinder* finder = RelationFinder::Of(target);
            if (!finder)
                status = ResultTypeFail;
            return finder ? (finder->*getter)() : false;
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockCylinderRadius, 0);
void OptionSetConfigureLockCylinderRadius(int interaction, bool lockCylinderRadius,
                                          ResultType* result)
{
    SetLock(s_OptionSetConfigureLockCylinderRadius, interaction, lockCylinderRadius,
            "lockCylinderRadius", &RelationFinder::SetConfigureLockCylinderRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockCylinderRadius, ApiCallQuery);
bool OptionGetConfigureLockCylinderRadius(int interaction, ResultType* result)
{
    return GetLock(s_OptionGetConfigureLockCylinderRadius, interaction,
                   &RelationFinder::GetConfigureLockCylinderRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockSphereRadius, 0);
void OptionSetConfigureLockSphereRadius(int interaction, bool lockSphereRadius, ResultType* result)
{
    SetLock(s_OptionSetConfigureLockSphereRadius, interaction, lockSphereRadius, "lockSphereRadius",
            &RelationFinder::SetConfigureLockSphereRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockSphereRadius, ApiCallQuery);
bool OptionGetConfigureLockSphereRadius(int interaction, ResultType* result)
{
    return GetLock(s_OptionGetConfigureLockSphereRadius, interaction,
                   &RelationFinder::GetConfigureLockSphereRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockTorusRadius, 0);
void OptionSetConfigureLockTorusRadius(int interaction, bool lockTorusRadius, ResultType* result)
{
    SetLock(s_OptionSetConfigureLockTorusRadius, interaction, lockTorusRadius, "lockTorusRadius",
            &RelationFinder::SetConfigureLockTorusRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockTorusRadius, ApiCallQuery);
bool OptionGetConfigureLockTorusRadius(int interaction, ResultType* result)
{
    return GetLock(s_OptionGetConfigureLockTorusRadius, interaction,
                   &RelationFinder::GetConfigureLockTorusRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockTorusMinorRadius, 0);
void OptionSetConfigureLockTorusMinorRadius(int interaction, bool lockTorusMinorRadius,
                                            ResultType* result)
{
    SetLock(s_OptionSetConfigureLockTorusMinorRadius, interaction, lockTorusMinorRadius,
            "lockTorusMinorRadius", &RelationFinder::SetConfigureLockTorusMinorRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockTorusMinorRadius, ApiCallQuery);
bool OptionGetConfigureLockTorusMinorRadius(int interaction, ResultType* result)
{
    return GetLock(s_OptionGetConfigureLockTorusMinorRadius, interaction,
                   &RelationFinder::GetConfigureLockTorusMinorRadius, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetConfigureLockConeHalfAngle, 0);
void OptionSetConfigureLockConeHalfAngle(int interaction, bool lockConeHalfAngle,
                                         ResultType* result)
{
    SetLock(s_OptionSetConfigureLockConeHalfAngle, interaction, lockConeHalfAngle,
            "lockConeHalfAngle", &RelationFinder::SetConfigureLockConeHalfAngle, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetConfigureLockConeHalfAngle, ApiCallQuery);
bool OptionGetConfigureLockConeHalfAngle(int interaction, ResultType* result)
{
    return GetLock(s_OptionGetConfigureLockConeHalfAngle, interaction,
                   &RelationFinder::GetConfigureLockConeHalfAngle, result);
}

}  // namespace QEL
