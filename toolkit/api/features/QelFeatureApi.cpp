#include "api/features/QelFeatureApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiTagLists.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/features/InteractionFeatures.h"
#include "model/features/MakeFeatureOptions.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"

#include <brennik.h>
#include <hxr.h>

namespace QEL {
namespace {

// An application identifier: the effect reads it, so a null one is refused whether checks are
// on or not; an empty one is journalled as null.
struct AppIdArg : ValueArg<const char*> {
    explicit AppIdArg(const char* id)
        : ValueArg<const char*>{{"appId"}, id, &JournalArguments::WriteJournalArgString, nullptr}
    {
    }
    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgString(value && *value ? value : nullptr, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(value != nullptr); }
};

}  // namespace

QEL_API_REPLAYABLE_CALL(FeatureAddDependents, 0);
void FeatureAddDependents(int interaction, int featureTag, const Array<int>& referenceTags,
                          ResultType* result)
{
    TagsArg references = TagListArg(referenceTags, "referenceTags");
    references.form = TagsArg::Form::TagPointer;
    Call(s_FeatureAddDependents, interaction, result, FeatureArg(featureTag, "featureTag"),
         references)
        .Requires(
            [&](Interaction* target) { return CheckArgTagsAreReferences(referenceTags, target); })
        .Run([](Interaction* target, ResultType&, Feature* feature, const std::vector<int>& tags) {
            for (int tag : tags)
                feature->AddDependents(target->FindReferenceFromTag(tag));
        });
}

QEL_API_REPLAYABLE_CALL(MakeFeature, ApiCallTracked);
int MakeFeature(int interaction, const Array<int>& featureTopols,
                const Array<int>& featureTopolLabels, int canonicalNumberOfTopols,
                int featureIdentifier, int makeFeatureOptionsTag, ResultType* result)
{
    return Call<int>(s_MakeFeature, interaction, result,
                     TopologyArg(featureTopols, "featureTopols"),
                     IntegersArg(featureTopolLabels, "featureTopolLabels").NotEmpty(),
                     IntArg(canonicalNumberOfTopols, "canonicalNumberOfTopols"),
                     IntArg(featureIdentifier, "featureIdentifier"),
                     OptionsArg<MakeFeatureOptions>(makeFeatureOptionsTag, "makeFeatureOptionsTag")
                         .CheckedOnly())
        .ReturnsTag("EntityTag")
        // The add-on reads one label per entity: fewer labels than entities would be read past.
        .Requires([&](Interaction*) {
            return RefusedUnless(featureTopolLabels.GetSize() >= featureTopols.GetSize());
        })
        .Run([](Interaction*, ResultType& status, const std::vector<int>& topols,
                const std::vector<int>& labels, int canonical, int identifier,
                MakeFeatureOptions* options) {
            if (!options) {
                status = ResultTypeFail;
                return 0;
            }
            HXR_TOPOL_make_feat_o_s record = options->GetAddOnOptions();
            std::vector<int> unders, underLabels;
            int canonicalUnders = 0;
            options->GetUnders(unders, underLabels, &canonicalUnders);
            if (!unders.empty()) {
                record.n_unders = static_cast<int>(unders.size());
                record.unders = unders.data();
                record.under_labels = underLabels.data();
                record.n_canonical_unders = canonicalUnders;
            }
            int feature = 0;
            if (HXR_TOPOL_make_feat(static_cast<int>(topols.size()), topols.data(), labels.data(),
                                    canonical, identifier, &record, &feature) != HXR_ERROR_none)
                status = ResultTypeFail;
            return feature;
        });
}

QEL_API_REPLAYABLE_CALL(EditFeature, ApiCallTracked);
void EditFeature(int interaction, int featureTag, ResultType* result)
{
    Call(s_EditFeature, interaction, result, EntityArg(featureTag, "featureTag"))
        .Run([](Interaction* target, ResultType& status, int featureTag) {
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
            procedure(target->GetTag(), featureTag, target->GetQELPartition(), body, mappingTag,
                      outcome);
            if (outcome != ResultTypeOk) {
                status = ResultTypeFail;
            } else {
                BQ_BODY_change_partition(body, GetEntityPartition(GetOwningBody(featureTag)));
                Xform identity;
                identity.SetIdentity();
                status = Reintegrate(*target, featureTag, body, identity, mappingTag);
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
    Call(s_GetTestAppFeatures, interaction, result, TagListOutput(&appFeatures, "appFeatures"))
        .Checks([&](Interaction*) { return RefusedUnless(IsArrayEmpty(appFeatures)); })
        .Run([](Interaction* target, ResultType&, Array<int>* list) {
            target->GetAppFeatures(*list);
        });
}

QEL_API_REPLAYABLE_CALL(GetFeatureAppData, ApiCallQuery);
double GetFeatureAppData(int interaction, int feature, const char* appId, ResultType* result)
{
    return Call<double>(s_GetFeatureAppData, interaction, result, EntityArg(feature, "feature"),
                        AppIdArg(appId))
        .Run([](Interaction* target, ResultType& status, int of, const char* id) {
            double value = 0.0;
            if (!target->GetAppData(of, id, value))
                status = ResultTypeBadArgument;
            return value;
        });
}

QEL_API_REPLAYABLE_CALL(SetFeatureAppData, 0);
void SetFeatureAppData(int interaction, int feature, const char* appId, double appValue,
                       ResultType* result)
{
    Call(s_SetFeatureAppData, interaction, result, EntityArg(feature, "feature"), AppIdArg(appId),
         DoubleArg(appValue, "appValue"))
        .Run([](Interaction* target, ResultType&, int of, const char* id, double value) {
            target->SetAppData(of, id, value);
        });
}

QEL_API_REPLAYABLE_CALL(RemoveTestAppFeature, 0);
void RemoveTestAppFeature(int interaction, int feature, ResultType* result)
{
    Call(s_RemoveTestAppFeature, interaction, result, EntityArg(feature, "feature"))
        .Run([](Interaction* target, ResultType&, int of) { target->RemoveAppFeature(of); });
}

// The options are looked for by the effect alone: one that is missing makes the call fail.
QEL_API_REPLAYABLE_CALL(MakeFeatureOptionsSetUnders, ApiCallTracked);
void MakeFeatureOptionsSetUnders(int interaction, int makeFeatureOptionsTag,
                                 const Array<int>& featureUnders,
                                 const Array<int>& featureUnderLabels, int canonicalNumberOfUnders,
                                 ResultType* result)
{
    Call(s_MakeFeatureOptionsSetUnders, interaction, result,
         AnyTagArg(makeFeatureOptionsTag, "makeFeatureOptionsTag", "MakeFeatureOptionsTag"),
         TagListArg(featureUnders, "featureUnders"),
         IntegersArg(featureUnderLabels, "featureUnderLabels"),
         IntArg(canonicalNumberOfUnders, "canonicalNumberOfUnders"))
        .Run([](Interaction* target, ResultType& status, int tag, const std::vector<int>& unders,
                const std::vector<int>& labels, int canonical) {
            MakeFeatureOptions* options = CastTagTo<MakeFeatureOptions>(target, tag);
            if (!options || !options->SetUnders(unders, labels, canonical))
                status = ResultTypeFail;
        });
}

}  // namespace QEL
