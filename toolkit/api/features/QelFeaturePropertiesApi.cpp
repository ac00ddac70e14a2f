#include "api/features/QelFeaturePropertiesApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"

namespace QEL {
namespace {

// Application code: journalled by write as data that cannot be replayed; with checked, a null one
// is refused when checks are on.
template <typename Code>
struct CodeArg : ApiArgument {
    Code code;
    int (JournalArguments::*write)(const char*);
    bool checked;

    void Journal(JournalArguments& journal) const { (journal.*write)(name); }
    ResultType Check(Interaction*) const { return RefusedUnless(!checked || code != nullptr); }
    Code Get(Interaction*) const { return code; }
};
template <typename Code>
CodeArg<Code> CodeOf(Code code, const char* name, int (JournalArguments::*write)(const char*),
                     bool checked = true)
{
    return {{name}, code, write, checked};
}

// Code handed to a process-wide call, which checks nothing: journalled as its address.
template <typename Code>
struct CodeAddressArg : ApiArgument {
    Code code;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgPointer(reinterpret_cast<const void*>(code), name);
    }
    Code Get(Interaction*) const { return code; }
};
template <typename Code>
CodeAddressArg<Code> CodeAddress(Code code, const char* name)
{
    return {{name}, code};
}

// An identifier; null and empty are both journalled as null.
struct IdentifierArg : ValueArg<const char*> {
    IdentifierArg(const char* id, const char* argName)
        : ValueArg<const char*>{{argName}, id, &JournalArguments::WriteJournalArgString, nullptr}
    {
    }
    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgString(value && *value ? value : nullptr, name);
    }
};

void* Mutable(const void* pointer) { return const_cast<void*>(pointer); }

}  // namespace

QEL_API_REPLAYABLE_CALL(FeatureGetType, ApiCallQuery);
FeatureType FeatureGetType(int interaction, int featureTag, ResultType* result)
{
    return Call<FeatureType>(s_FeatureGetType, interaction, result,
                             FeatureArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType&, Feature* feature) { return feature->GetFeatureType(); });
}

QEL_API_REPLAYABLE_CALL(FeatureSetType, 0);
void FeatureSetType(int interaction, int featureTag, FeatureType type, ResultType* result)
{
    EnumArg<FeatureType> typeArg(type, "type");
    typeArg.check = CheckArgEnumIn1To3;
    Call(s_FeatureSetType, interaction, result, FeatureArg(featureTag, "featureTag"), typeArg)
        .Run([](Interaction*, ResultType&, Feature* feature, FeatureType to) {
            feature->SetFeatureType(to);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetUpdateRequired, 0);
void FeatureSetUpdateRequired(int interaction, int featureTag, bool bUpdateRequired,
                              ResultType* result)
{
    Call(s_FeatureSetUpdateRequired, interaction, result, FeatureArg(featureTag, "featureTag"),
         BoolArg(bUpdateRequired, "bUpdateRequired"))
        .Run([](Interaction*, ResultType&, Feature* feature, bool required) {
            feature->SetUpdateRequired(required);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetUpdateRequired, ApiCallQuery);
bool FeatureGetUpdateRequired(int interaction, int featureTag, ResultType* result)
{
    return Call<bool>(s_FeatureGetUpdateRequired, interaction, result,
                      FeatureArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType&, Feature* feature) {
            return feature->GetUpdateRequired();
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetInstance, 0);
void FeatureSetInstance(int interaction, int featureTag, int instanceTag, ResultType* result)
{
    Call(s_FeatureSetInstance, interaction, result, FeatureArg(featureTag, "featureTag"),
         InstanceArg(instanceTag, "instanceTag"))
        .Run([](Interaction*, ResultType& status, Feature* feature, Instance* instance) {
            if (!feature->SetInstance(instance))
                status = ResultTypeBadArgument;
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetInstance, ApiCallQuery);
int FeatureGetInstance(int interaction, int featureTag, ResultType* result)
{
    return Call<int>(s_FeatureGetInstance, interaction, result,
                     FeatureArg(featureTag, "featureTag"))
        .ReturnsTag("InstanceTag")
        .Run([](Interaction*, ResultType&, Feature* feature) {
            return feature->GetInstance() ? feature->GetInstance()->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetAppDataInteger, 0);
void FeatureSetAppDataInteger(int interaction, int feature, int appId, int appValue,
                              ResultType* result)
{
    Call(s_FeatureSetAppDataInteger, interaction, result, FeatureArg(feature, "feature"),
         IntArg(appId, "appId"), IntArg(appValue, "appValue"))
        .Run([](Interaction*, ResultType&, Feature* of, int key, int value) {
            of->SetAppDataInteger(key, value);
        });
}

// The value read is journalled, so a replay sees whether it reads the same.
QEL_API_REPLAYABLE_CALL(FeatureGetAppDataInteger, ApiCallQuery);
int FeatureGetAppDataInteger(int interaction, int feature, int appId, ResultType* result)
{
    return Call<int>(s_FeatureGetAppDataInteger, interaction, result,
                     FeatureArg(feature, "feature"), IntArg(appId, "appId"))
        .Run([](Interaction*, ResultType& status, Feature* of, int key) {
            int value = 0;
            if (!of->GetAppDataInteger(key, &value))
                status = ResultTypeBadArgument;
            return value;
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetAppDataDouble, 0);
void FeatureSetAppDataDouble(int interaction, int feature, int appId, double appValue,
                             ResultType* result)
{
    Call(s_FeatureSetAppDataDouble, interaction, result, FeatureArg(feature, "feature"),
         IntArg(appId, "appId"), DoubleArg(appValue, "appValue"))
        .Run([](Interaction*, ResultType&, Feature* of, int key, double value) {
            of->SetAppDataDouble(key, value);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetAppDataDouble, ApiCallQuery);
double FeatureGetAppDataDouble(int interaction, int feature, int appId, ResultType* result)
{
    return Call<double>(s_FeatureGetAppDataDouble, interaction, result,
                        FeatureArg(feature, "feature"), IntArg(appId, "appId"))
        .Run([](Interaction*, ResultType& status, Feature* of, int key) {
            double value = 0.0;
            if (!of->GetAppDataDouble(key, &value))
                status = ResultTypeBadArgument;
            return value;
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetAppIdentifier, 0);
void FeatureSetAppIdentifier(int interaction, int feature, const char* appId, ResultType* result)
{
    Call(s_FeatureSetAppIdentifier, interaction, result, FeatureArg(feature, "feature"),
         IdentifierArg(appId, "appId"))
        .Run([](Interaction*, ResultType&, Feature* of, const char* id) {
            of->SetAppIdentifier(id);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetAppIdentifier, ApiCallQuery);
const char* FeatureGetAppIdentifier(int interaction, int feature, ResultType* result)
{
    return Call<const char*>(s_FeatureGetAppIdentifier, interaction, result,
                             FeatureArg(feature, "feature"))
        .Returns([](JournalArguments& journal, const char* id) {
            journal.WriteJournalReturnString(id && *id ? id : nullptr);
        })
        .Run([](Interaction*, ResultType&, Feature* of) { return of->GetAppIdentifier(); });
}

QEL_API_CALL(FeatureSetProcedure, 0);
void FeatureSetProcedure(int interaction, int featureTag, FeatureProcedure featureProcedure,
                         void* pAppData, ResultType* result)
{
    Call(s_FeatureSetProcedure, interaction, result, FeatureArg(featureTag, "featureTag"),
         CodeOf(featureProcedure, "featureProcedure",
                &JournalArguments::WriteJournalArgFeatureProcedure),
         PointerArg(pAppData, "pAppData"))
        .Run([](Interaction*, ResultType&, Feature* feature, FeatureProcedure procedure,
                const void* data) { feature->SetProcedure(procedure, Mutable(data)); });
}

QEL_API_CALL(FeatureGetProcedure, ApiCallQuery);
FeatureProcedure FeatureGetProcedure(int interaction, int featureTag, void** ppAppData,
                                     ResultType* result)
{
    return Call<FeatureProcedure>(s_FeatureGetProcedure, interaction, result,
                                  FeatureArg(featureTag, "featureTag"),
                                  PointerArg(ppAppData, "ppAppData"))
        .Returns([](JournalArguments& journal, FeatureProcedure) {
            journal.WriteJournalReturnFeatureProcedure();
        })
        .Run([ppAppData](Interaction*, ResultType&, Feature* feature, const void*) {
            return feature->GetProcedure(ppAppData);
        });
}

QEL_API_CALL(FeatureMapIdentifierToProcedure, ApiCallProcessWide);
void FeatureMapIdentifierToProcedure(const char* appId, FeatureProcedure featureProcedure,
                                     ResultType* result)
{
    IdentifierArg identifier(appId, "appId");
    ProcessCall(s_FeatureMapIdentifierToProcedure, result, identifier,
                CodeAddress(featureProcedure, "featureProcedure"))
        // The map is keyed by the identifier's characters: there must be some.
        .Requires([appId](Interaction*) { return RefusedUnless(appId != nullptr); })
        .Run([](Interaction*, ResultType&, const char* id, FeatureProcedure procedure) {
            Feature::MapIdentifierToProcedure(id, procedure);
        });
}

// The application's procedure is the replaying application's own, found by the feature's
// identifier; the edit's application pointer replays when it was null.
QEL_API_REPLAYABLE_CALL(FeatureEdit, ApiCallTracked);
void FeatureEdit(int interaction, int feature, void* appData, ResultType* result)
{
    Call(s_FeatureEdit, interaction, result, FeatureArg(feature, "feature"),
         PointerArg(appData, "appData"))
        .Run([](Interaction*, ResultType& status, Feature* edited, const void* data) {
            status = static_cast<ResultType>(edited->Edit(Mutable(data)));
        });
}

QEL_API_CALL(SetFeatureProcedureCallback, 0);
void SetFeatureProcedureCallback(int interaction, FeatureProcedureCallback featureProcedureCallback,
                                 ResultType* result)
{
    Call(s_SetFeatureProcedureCallback, interaction, result,
         CodeOf(featureProcedureCallback, "featureProcedureCallback",
                &JournalArguments::WriteJournalArgFeatureProcedureCallback))
        .Run([](Interaction* target, ResultType&, FeatureProcedureCallback callback) {
            target->SetFeatureProcedureCallback(callback);
        });
}

QEL_API_CALL(GetFeatureProcedureCallback, ApiCallQuery);
FeatureProcedureCallback GetFeatureProcedureCallback(int interaction, ResultType* result)
{
    return Call<FeatureProcedureCallback>(s_GetFeatureProcedureCallback, interaction, result)
        .Returns([](JournalArguments& journal, FeatureProcedureCallback) {
            journal.WriteJournalReturnFeatureProcedureCallback();
        })
        .Run(
            [](Interaction* target, ResultType&) { return target->GetFeatureProcedureCallback(); });
}

QEL_API_CALL(SetFeatureTransformCallback, 0);
void SetFeatureTransformCallback(int interaction, FeatureTransformCallback featureTransformCallback,
                                 ResultType* result)
{
    Call(s_SetFeatureTransformCallback, interaction, result,
         CodeOf(featureTransformCallback, "featureTransformCallback",
                &JournalArguments::WriteJournalArgFeatureTransformCallback))
        .Run([](Interaction* target, ResultType&, FeatureTransformCallback callback) {
            target->SetFeatureTransformCallback(callback);
        });
}

QEL_API_CALL(GetFeatureTransformCallback, ApiCallQuery);
FeatureTransformCallback GetFeatureTransformCallback(int interaction, ResultType* result)
{
    return Call<FeatureTransformCallback>(s_GetFeatureTransformCallback, interaction, result)
        .Returns([](JournalArguments& journal, FeatureTransformCallback) {
            journal.WriteJournalReturnFeatureTransformCallback();
        })
        .Run(
            [](Interaction* target, ResultType&) { return target->GetFeatureTransformCallback(); });
}

QEL_API_CALL(SetQELTestAppFeatureProcedureCallback, ApiCallProcessWide);
void SetQELTestAppFeatureProcedureCallback(FeatureProcedureCallback featureProcedureCallback,
                                           ResultType* result)
{
    ProcessCall(s_SetQELTestAppFeatureProcedureCallback, result,
                CodeAddress(featureProcedureCallback, "featureProcedureCallback"))
        .Run([](Interaction*, ResultType&, FeatureProcedureCallback callback) {
            Interaction::SetDefaultFeatureProcedureCallback(callback);
        });
}

QEL_API_CALL(SetQELTestAppFeatureTransformCallback, ApiCallProcessWide);
void SetQELTestAppFeatureTransformCallback(FeatureTransformCallback featureTransformCallback,
                                           ResultType* result)
{
    ProcessCall(s_SetQELTestAppFeatureTransformCallback, result,
                CodeAddress(featureTransformCallback, "featureTransformCallback"))
        .Run([](Interaction*, ResultType&, FeatureTransformCallback callback) {
            Interaction::SetDefaultFeatureTransformCallback(callback);
        });
}

QEL_API_CALL(SetQELTestAppFeatureRemakeCallback, ApiCallProcessWide);
void SetQELTestAppFeatureRemakeCallback(FeatureRemakeCallback featureRemakeCallback,
                                        ResultType* result)
{
    ProcessCall(s_SetQELTestAppFeatureRemakeCallback, result,
                CodeAddress(featureRemakeCallback, "featureRemakeCallback"))
        .Run([](Interaction*, ResultType&, FeatureRemakeCallback callback) {
            Interaction::SetDefaultFeatureRemakeCallback(callback);
        });
}

}  // namespace QEL
