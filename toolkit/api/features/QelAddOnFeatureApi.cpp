#include "api/features/QelAddOnFeatureApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelResources.h"

#include <hxr.h>

namespace QEL {
namespace {

ResultType FailUnless(bool done) { return done ? ResultTypeOk : ResultTypeFail; }

// The add-on's answer to a yes-or-no question; its failure is the call's.
template <typename Ask>
bool AskAddOn(ResultType& status, Ask ask)
{
    bool answer = false;
    if (ask(&answer) != HXR_ERROR_none) {
        status = ResultTypeFail;
        return false;
    }
    return answer;
}

// A list the add-on appends to the caller's array.
template <typename Find>
void AppendFound(ResultType& status, Array<int>& out, Find find)
{
    std::vector<int> found;
    const bool done = find(&found);
    for (int tag : found)
        out.Add(tag);
    status = FailUnless(done);
}

}  // namespace

QEL_API_REPLAYABLE_CALL(FeatureGetTopols, ApiCallQuery);
void FeatureGetTopols(int interaction, int featureTag, Array<int>& featureTopols,
                      Array<int>& featureTopolLabels, ResultType* result)
{
    Call(s_FeatureGetTopols, interaction, result, EntityArg(featureTag, "featureTag"),
         TagsOutput(featureTopols, "featureTopols"),
         IntegersOutput(featureTopolLabels, "featureTopolLabels"))
        .Run([](Interaction*, ResultType& status, int feature, Array<int>& topols,
                Array<int>& labels) {
            std::vector<int> found, foundLabels;
            status = FailUnless(GetFeatureTopologies(feature, &found, &foundLabels));
            topols.RemoveAll();
            labels.RemoveAll();
            for (int tag : found)
                topols.Add(tag);
            for (int label : foundLabels)
                labels.Add(label);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetUnders, ApiCallQuery);
void FeatureGetUnders(int interaction, int featureTag, Array<int>& featureUnders,
                      Array<int>& featureUnderLabels, ResultType* result)
{
    Call(s_FeatureGetUnders, interaction, result, EntityArg(featureTag, "featureTag"),
         TagsOutput(featureUnders, "featureUnders"),
         IntegersOutput(featureUnderLabels, "featureUnderLabels"))
        .Run([](Interaction*, ResultType& status, int feature, Array<int>& unders,
                Array<int>& labels) {
            std::vector<int> found, foundLabels;
            status = FailUnless(GetFeatureUnders(feature, &found, &foundLabels));
            for (int tag : found)
                unders.Add(tag);
            for (int label : foundLabels)
                labels.Add(label);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetIdentifier, ApiCallQuery);
int FeatureGetIdentifier(int interaction, int featureTag, ResultType* result)
{
    return Call<int>(s_FeatureGetIdentifier, interaction, result,
                     EntityArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType& status, int feature) {
            int identifier = 0;
            if (HXR_FEAT_ask_identifier(feature, &identifier) != HXR_ERROR_none) {
                status = ResultTypeFail;
                return 0;
            }
            return identifier;
        });
}

// A change of the add-on feature: journalled as one even in a minimised journal.
QEL_API_REPLAYABLE_CALL(FeatureSetIdentifier, 0);
void FeatureSetIdentifier(int interaction, int featureTag, int featureIdentifier,
                          ResultType* result)
{
    Call(s_FeatureSetIdentifier, interaction, result, EntityArg(featureTag, "featureTag"),
         IntArg(featureIdentifier, "featureIdentifier"))
        .Run([](Interaction*, ResultType& status, int feature, int identifier) {
            status = FailUnless(SetFeatureIdentifier(feature, identifier));
        });
}

QEL_API_REPLAYABLE_CALL(FeatureIsDormant, ApiCallQuery);
bool FeatureIsDormant(int interaction, int featureTag, ResultType* result)
{
    return Call<bool>(s_FeatureIsDormant, interaction, result, EntityArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType& status, int feature) {
            return AskAddOn(
                status, [feature](bool* answer) { return HXR_FEAT_is_dormant(feature, answer); });
        });
}

QEL_API_REPLAYABLE_CALL(FeatureSetDormant, ApiCallTracked);
void FeatureSetDormant(int interaction, int featureTag, bool isDormant, ResultType* result)
{
    Call(s_FeatureSetDormant, interaction, result, EntityArg(featureTag, "featureTag"),
         BoolArg(isDormant, "isDormant"))
        .Run([](Interaction*, ResultType& status, int feature, bool dormant) {
            status = FailUnless(SetFeatureDormant(feature, dormant));
        });
}

QEL_API_REPLAYABLE_CALL(FeatureIsComplete, ApiCallQuery);
bool FeatureIsComplete(int interaction, int featureTag, ResultType* result)
{
    return Call<bool>(s_FeatureIsComplete, interaction, result, EntityArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType& status, int feature) {
            return AskAddOn(
                status, [feature](bool* answer) { return HXR_FEAT_is_complete(feature, answer); });
        });
}

QEL_API_REPLAYABLE_CALL(FeatureIsPristine, ApiCallQuery);
bool FeatureIsPristine(int interaction, int featureTag, Array<int>& nonPristineEdges,
                       ResultType* result)
{
    return Call<bool>(s_FeatureIsPristine, interaction, result, EntityArg(featureTag, "featureTag"),
                      TagsOutput(nonPristineEdges, "nonPristineEdges"))
        .Run([](Interaction*, ResultType& status, int feature, Array<int>& edges) {
            return AskAddOn(status, [feature, &edges](bool* answer) {
                KernelArray<int> found;
                const int error =
                    HXR_FEAT_is_pristine(feature, answer, found.Count(), found.Slot());
                for (int i = 0; i < found.Size(); ++i)
                    edges.Add(found[i]);
                return error;
            });
        });
}

QEL_API_REPLAYABLE_CALL(TopolGetFeatures, ApiCallQuery);
void TopolGetFeatures(int interaction, int topol, Array<int>& features, ResultType* result)
{
    Call(s_TopolGetFeatures, interaction, result, EntityArg(topol, "topol"),
         TagsOutput(features, "features"))
        .Run([](Interaction*, ResultType& status, int of, Array<int>& out) {
            AppendFound(status, out,
                        [of](std::vector<int>* found) { return GetTopologyFeatures(of, found); });
        });
}

QEL_API_REPLAYABLE_CALL(EntityGetDependentFeatures, ApiCallQuery);
void EntityGetDependentFeatures(int interaction, int entity, Array<int>& dependentFeatures,
                                ResultType* result)
{
    Call(s_EntityGetDependentFeatures, interaction, result, EntityArg(entity, "entity"),
         TagsOutput(dependentFeatures, "dependentFeatures"))
        .Run([](Interaction*, ResultType& status, int of, Array<int>& out) {
            AppendFound(status, out,
                        [of](std::vector<int>* found) { return GetDependentFeatures(of, found); });
        });
}

QEL_API_REPLAYABLE_CALL(BodyFindFeatures, ApiCallQuery);
void BodyFindFeatures(int interaction, int body, int featureIdentifier, Array<int>& features,
                      ResultType* result)
{
    Call(s_BodyFindFeatures, interaction, result, EntityArg(body, "body"),
         IntArg(featureIdentifier, "featureIdentifier"), TagsOutput(features, "features"))
        .Run([](Interaction*, ResultType& status, int of, int identifier, Array<int>& out) {
            const HXR_PART_find_feats_o_s options{1, identifier};
            AppendFound(status, out, [of, &options](std::vector<int>* found) {
                return FindPartFeatures(of, &options, found);
            });
        });
}

QEL_API_REPLAYABLE_CALL(FeatureDelete, ApiCallTracked);
void FeatureDelete(int interaction, int featureTag, ResultType* result)
{
    Call(s_FeatureDelete, interaction, result, EntityArg(featureTag, "featureTag"))
        .Run([](Interaction*, ResultType& status, int feature) {
            status = FailUnless(DeleteFeature(feature));
        });
}

}  // namespace QEL
