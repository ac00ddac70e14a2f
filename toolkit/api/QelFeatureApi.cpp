#include "api/QelFeatureApi.h"

#include "api/ApiTagLists.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/frame/TagCasts.h"
#include "core/maths/Xform.h"
#include "model/features/Feature.h"
#include "model/features/MakeFeatureOptions.h"
#include "model/transaction/MappingData.h"
#include "model/references/Reference.h"

#include <brennik.h>
#include <hxr.h>

namespace QEL {
namespace {

// The checks are the only guard these calls have, so what they need must hold whether or not
// the interaction asks for checks.
ResultType RequireName(const char* name) { return CheckArgPointer(name); }

}  // namespace

QEL_API_REPLAYABLE_CALL(FeatureAddDependents, 0);
void FeatureAddDependents(int interaction, int featureTag, const Array<int>& referenceTags, ResultType* result)
{
    ApiCall<>(s_FeatureAddDependents, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgFeatureTag(featureTag, "featureTag");
            journal.WriteJournalArgTagArrayPointer(&GetArrayVector(referenceTags), "referenceTags");
        })
        .Requires([&](Interaction* target) {
            return FirstFailure({CheckArgFeatureTag(featureTag, target),
                                 CheckArgTagsAreReferences(referenceTags, target)});
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgFeatureTag(featureTag, target),
                                 CheckArgTagsAreReferences(referenceTags, target)});
        })
        .Run([&](Interaction* target, ResultType&) {
            Feature* feature = target->FindFeatureFromTag(featureTag);
            for (int i = 0; i < referenceTags.GetSize(); ++i)
                feature->AddDependents(target->FindReferenceFromTag(referenceTags[i]));
        });
}

QEL_API_REPLAYABLE_CALL(MakeFeature, ApiCallTracked);
int MakeFeature(int interaction, const Array<int>& featureTopols, const Array<int>& featureTopolLabels,
                int canonicalNumberOfTopols, int featureIdentifier, int makeFeatureOptionsTag, ResultType* result)
{
    return ApiCall<int>(s_MakeFeature, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(featureTopols), "featureTopols");
            journal.WriteJournalArgIntegerArray(GetArrayVector(featureTopolLabels), "featureTopolLabels");
            journal.WriteJournalArgInt(canonicalNumberOfTopols, "canonicalNumberOfTopols");
            journal.WriteJournalArgInt(featureIdentifier, "featureIdentifier");
            journal.WriteJournalArgMakeFeatureOptionsTag(makeFeatureOptionsTag, "makeFeatureOptionsTag");
        })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnEntityTag(tag); })
        // The add-on reads one label per entity: fewer labels than entities would be read past.
        .Requires([&](Interaction*) {
            return featureTopolLabels.GetSize() < featureTopols.GetSize() ? ResultTypeBadArgument
                                                                          : ResultTypeOk;
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTopolArray(featureTopols),
                                 IsArrayNonEmpty(featureTopolLabels) ? ResultTypeOk : ResultTypeBadArgument,
                                 CheckArgTagIsMakeFeatureOptions(makeFeatureOptionsTag, target)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            MakeFeatureOptions* options = CastTagToMakeFeatureOptions(target, makeFeatureOptionsTag);
            if (!options) {
                status = ResultTypeFail;
                return 0;
            }
            HXR_TOPOL_make_feat_o_s record = options->GetAddOnOptions();
            std::vector<int> unders, labels;
            int canonicalUnders = 0;
            options->GetUnders(unders, labels, &canonicalUnders);
            if (!unders.empty()) {
                record.n_unders = static_cast<int>(unders.size());
                record.unders = unders.data();
                record.under_labels = labels.data();
                record.n_canonical_unders = canonicalUnders;
            }
            int feature = 0;
            const std::vector<int>& topols = GetArrayVector(featureTopols);
            if (HXR_TOPOL_make_feat(static_cast<int>(topols.size()), topols.data(),
                                    GetArrayVector(featureTopolLabels).data(), canonicalNumberOfTopols,
                                    featureIdentifier, &record, &feature) != HXR_ERROR_none)
                status = ResultTypeFail;
            return feature;
        });
}

QEL_API_REPLAYABLE_CALL(EditFeature, ApiCallTracked);
void EditFeature(int interaction, int featureTag, ResultType* result)
{
    ApiCall<>(s_EditFeature, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(featureTag, "featureTag"); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(featureTag); })
        .Run([&](Interaction* target, ResultType& status) {
            FeatureProcedureCallback procedure = target->GetFeatureProcedureCallback();
            if (!procedure) {
                status = ResultTypeFail;
                return;
            }
            MappingData* mapping = new MappingData(target);
            if (mapping->GetTag() == 0) {
                mapping->Destroy();
                status = ResultTypeFail;
                return;
            }
            const int madeTag = mapping->GetTag();
            int mappingTag = madeTag;
            int body = 0;
            ResultType outcome = ResultTypeOk;
            procedure(target->GetTag(), featureTag, target->GetQELPartition(), body, mappingTag, outcome);
            if (outcome != ResultTypeOk) {
                status = ResultTypeFail;
            } else {
                BQ_BODY_change_partition(body, GetEntityPartition(GetOwningBody(featureTag)));
                Xform identity;
                identity.SetIdentity();
                status = target->Reintegrate(featureTag, body, identity, mappingTag);
            }
            if (status == ResultTypeOk)
                if (FeatureRemakeCallback remake = target->GetFeatureRemakeCallback()) {
                    int newFeature = 0;
                    ResultType remade = ResultTypeOk;
                    remake(target->GetTag(), featureTag, body, mappingTag, newFeature, remade);
                    // The same tag back keeps the data where it is: moving it onto itself
                    // would erase it.
                    if (newFeature != 0 && newFeature != featureTag)
                        target->ReplaceAppFeature(featureTag, newFeature);
                }
            // The callbacks may have destroyed the mapping data themselves.
            if (MappingData* made = target->FindMappingDataFromTag(madeTag))
                made->Destroy();
        });
}

QEL_API_REPLAYABLE_CALL(GetTestAppFeatures, ApiCallQuery);
void GetTestAppFeatures(int interaction, Array<int>& appFeatures, ResultType* result)
{
    ApiCall<>(s_GetTestAppFeatures, interaction, result)
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, &appFeatures, "appFeatures"); })
        .Checks([&](Interaction*) { return IsArrayEmpty(appFeatures) ? ResultTypeOk : ResultTypeBadArgument; })
        .Run([&](Interaction* target, ResultType&) { target->GetAppFeatures(appFeatures); });
}

QEL_API_REPLAYABLE_CALL(GetFeatureAppData, ApiCallQuery);
double GetFeatureAppData(int interaction, int feature, const char* appId, ResultType* result)
{
    return ApiCall<double>(s_GetFeatureAppData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(feature, "feature");
            journal.WriteJournalArgString(appId && *appId ? appId : nullptr, "appId");
        })
        .Requires([&](Interaction*) { return RequireName(appId); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(feature); })
        .Run([&](Interaction* target, ResultType& status) {
            double value = 0.0;
            if (!target->GetAppData(feature, appId, value)) {
                status = ResultTypeBadArgument;
                return 0.0;
            }
            return value;
        });
}

QEL_API_REPLAYABLE_CALL(SetFeatureAppData, 0);
void SetFeatureAppData(int interaction, int feature, const char* appId, double appValue, ResultType* result)
{
    ApiCall<>(s_SetFeatureAppData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(feature, "feature");
            journal.WriteJournalArgString(appId && *appId ? appId : nullptr, "appId");
            journal.WriteJournalArgDouble(appValue, "appValue");
        })
        .Requires([&](Interaction*) { return RequireName(appId); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(feature); })
        .Run([&](Interaction* target, ResultType&) { target->SetAppData(feature, appId, appValue); });
}

QEL_API_REPLAYABLE_CALL(RemoveTestAppFeature, 0);
void RemoveTestAppFeature(int interaction, int feature, ResultType* result)
{
    ApiCall<>(s_RemoveTestAppFeature, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(feature, "feature"); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(feature); })
        .Run([&](Interaction* target, ResultType&) { target->RemoveAppFeature(feature); });
}

QEL_API_REPLAYABLE_CALL(MakeFeatureOptionsSetUnders, ApiCallTracked);
void MakeFeatureOptionsSetUnders(int interaction, int makeFeatureOptionsTag, const Array<int>& featureUnders,
                                 const Array<int>& featureUnderLabels, int canonicalNumberOfUnders,
                                 ResultType* result)
{
    ApiCall<>(s_MakeFeatureOptionsSetUnders, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgMakeFeatureOptionsTag(makeFeatureOptionsTag, "makeFeatureOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(featureUnders), "featureUnders");
            journal.WriteJournalArgIntegerArray(GetArrayVector(featureUnderLabels), "featureUnderLabels");
            journal.WriteJournalArgInt(canonicalNumberOfUnders, "canonicalNumberOfUnders");
        })
        .Run([&](Interaction* target, ResultType& status) {
            MakeFeatureOptions* options = CastTagToMakeFeatureOptions(target, makeFeatureOptionsTag);
            if (!options || !options->SetUnders(GetArrayVector(featureUnders), GetArrayVector(featureUnderLabels),
                                                canonicalNumberOfUnders))
                status = ResultTypeFail;
        });
}

}  // namespace QEL
