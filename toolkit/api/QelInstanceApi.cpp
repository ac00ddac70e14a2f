#include "api/QelInstanceApi.h"

#include "api/ApiLookups.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"

namespace QEL {

namespace {

void WriteInstanceTag(JournalArguments& journal, int tag) { journal.WriteJournalReturnInstanceTag(tag); }

// The matrix must be there to be read or written; no check looks at it, so this holds even
// with checks off.
std::function<ResultType(Interaction*)> RequireMatrix(const void* matrix)
{
    return [matrix](Interaction*) { return CheckArgPointer(matrix); };
}

Instance* InstanceOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->FindInstanceFromTag(tag), status);
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateInstance, 0);
int CreateInstance(int interaction, int bodyTag, const double transform[4][4], ResultType* result)
{
    return ApiCall<int>(s_CreateInstance, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgBodyTag(bodyTag, "bodyTag");
            journal.WriteJournalArgTransform(transform, "transform");
        })
        .Checks([&](Interaction*) { return CheckArgBodyTag(bodyTag); })
        .Returns(WriteInstanceTag)
        .Run([&](Interaction* target, ResultType& status) {
            Instance* instance = Instance::Create(target, bodyTag, transform);
            if (!instance) {
                status = ResultTypeFail;
                return 0;
            }
            return instance->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(InstanceGetBody, ApiCallQuery);
int InstanceGetBody(int interaction, int instance, ResultType* result)
{
    return ApiCall<int>(s_InstanceGetBody, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInstanceTag(instance, "instance"); })
        .Checks([&](Interaction* target) { return CheckArgInstanceTag(instance, target); })
        .Returns([](JournalArguments& journal, int body) { journal.WriteJournalReturnBodyTag(body); })
        .Run([&](Interaction* target, ResultType& status) {
            Instance* found = InstanceOrRefuse(target, instance, status);
            return found ? found->GetBodyTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(InstanceGetTransform, ApiCallQuery);
void InstanceGetTransform(int interaction, int instanceTag, double transform[4][4], ResultType* result)
{
    ApiCall<>(s_InstanceGetTransform, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInstanceTag(instanceTag, "instanceTag"); })
        .Requires(RequireMatrix(transform))
        .Checks([&](Interaction* target) { return CheckArgInstanceTag(instanceTag, target); })
        .Outputs([&](JournalArguments& journal) {
            if (transform)
                journal.WriteJournalArgTransform(transform, "transform");
        })
        .Run([&](Interaction* target, ResultType& status) {
            if (Instance* instance = InstanceOrRefuse(target, instanceTag, status))
                instance->GetXform().Get4x4(transform);
        });
}

QEL_API_REPLAYABLE_CALL(InstanceSetTransform, 0);
void InstanceSetTransform(int interaction, int instanceTag, const double transform[4][4],
                          ResultType* result)
{
    ApiCall<>(s_InstanceSetTransform, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgInstanceTag(instanceTag, "instanceTag");
            journal.WriteJournalArgTransform(transform, "transform");
        })
        .Requires(RequireMatrix(transform))
        .Checks([&](Interaction* target) { return CheckArgInstanceTag(instanceTag, target); })
        .Run([&](Interaction* target, ResultType& status) {
            if (Instance* instance = InstanceOrRefuse(target, instanceTag, status)) {
                Xform placement;
                placement.SetFrom4x4(transform);
                instance->SetXform(placement);
            }
        });
}

QEL_API_REPLAYABLE_CALL(GetInstanceCount, ApiCallQuery);
int GetInstanceCount(int interaction, ResultType* result)
{
    return ApiCall<int>(s_GetInstanceCount, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetInstanceCount(); });
}

QEL_API_REPLAYABLE_CALL(GetInstance, ApiCallQuery);
int GetInstance(int interaction, int index, ResultType* result)
{
    return ApiCall<int>(s_GetInstance, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInt(index, "index"); })
        .Checks([&](Interaction*) { return CheckArgInt(index); })
        .Returns(WriteInstanceTag)
        .Run([&](Interaction* target, ResultType& status) {
            Instance* instance = target->GetInstance(index);
            if (!instance) {
                status = ResultTypeFail;
                return 0;
            }
            return instance->GetTag();
        });
}

}  // namespace QEL
