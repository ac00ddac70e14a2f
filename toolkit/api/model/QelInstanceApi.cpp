#include "api/model/QelInstanceApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiLookups.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"

namespace QEL {

QEL_API_REPLAYABLE_CALL(CreateInstance, 0);
int CreateInstance(int interaction, int bodyTag, const double transform[4][4], ResultType* result)
{
    // The placement is handed on as it is: a null one places the body where it lies.
    return Call<int>(s_CreateInstance, interaction, result,
                     AnyTagArg(bodyTag, "bodyTag", "BodyTag", CheckArgBodyTag),
                     TransformArg(transform, "transform").Optional())
        .ReturnsTag("InstanceTag")
        .Run([](Interaction* target, ResultType& status, int body, const double(*placement)[4]) {
            return TagOrFail(Instance::Create(target, body, placement), status);
        });
}

QEL_API_REPLAYABLE_CALL(InstanceGetBody, ApiCallQuery);
int InstanceGetBody(int interaction, int instance, ResultType* result)
{
    return Call<int>(s_InstanceGetBody, interaction, result, InstanceArg(instance, "instance"))
        .ReturnsTag("BodyTag")
        .Run([](Interaction*, ResultType&, Instance* found) { return found->GetBodyTag(); });
}

QEL_API_REPLAYABLE_CALL(InstanceGetTransform, ApiCallQuery);
void InstanceGetTransform(int interaction, int instanceTag, double transform[4][4],
                          ResultType* result)
{
    Call(s_InstanceGetTransform, interaction, result, InstanceArg(instanceTag, "instanceTag"),
         TransformOutput(transform, "transform"))
        .Run([](Interaction*, ResultType&, Instance* found, double(*matrix)[4]) {
            found->GetXform().Get4x4(matrix);
        });
}

QEL_API_REPLAYABLE_CALL(InstanceSetTransform, 0);
void InstanceSetTransform(int interaction, int instanceTag, const double transform[4][4],
                          ResultType* result)
{
    Call(s_InstanceSetTransform, interaction, result, InstanceArg(instanceTag, "instanceTag"),
         TransformArg(transform, "transform"))
        .Run([](Interaction*, ResultType&, Instance* found, const double(*matrix)[4]) {
            Xform placement;
            placement.SetFrom4x4(matrix);
            found->SetXform(placement);
        });
}

QEL_API_REPLAYABLE_CALL(GetInstanceCount, ApiCallQuery);
int GetInstanceCount(int interaction, ResultType* result)
{
    return CountCall(s_GetInstanceCount, interaction, result, &Interaction::GetInstanceCount);
}

QEL_API_REPLAYABLE_CALL(GetInstance, ApiCallQuery);
int GetInstance(int interaction, int index, ResultType* result)
{
    return IndexedTagCall(s_GetInstance, interaction, index, "InstanceTag",
                          &Interaction::GetInstance, result);
}

}  // namespace QEL
