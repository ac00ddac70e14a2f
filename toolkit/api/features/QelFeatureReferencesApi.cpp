#include "api/features/QelFeatureReferencesApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/features/FeatureArgumentChecks.h"
#include "model/references/Reference.h"

namespace QEL {
namespace {

using ReferenceAt = Reference* (Feature::*)(int) const;
using ListOf = const std::vector<Reference*>& (Feature::*)() const;
using CountOf = int (Feature::*)() const;

// A list of references given to a feature: every tag must name a reference whether checks are on
// or not, since each is added.
TagsArg ReferenceListArg(const Array<int>& tags)
{
    TagsArg arg = TagListArg(tags, "referenceTags");
    arg.form = TagsArg::Form::TagPointer;
    return arg;
}

ResultType AllAreReferences(const Array<int>& tags, Interaction* target)
{
    return CheckArgTagsAreReferences(tags, target);
}

int CountReferences(const ApiCallProperties& call, int interaction, int featureTag, CountOf count,
                    ResultType* result)
{
    return Call<int>(call, interaction, result, FeatureArg(featureTag, "featureTag"))
        .Run([count](Interaction*, ResultType&, Feature* feature) { return (feature->*count)(); });
}

// An index outside the list names no reference: a failure, not a fault.
int ReferenceAtIndex(const ApiCallProperties& call, int interaction, int featureTag, int index,
                     ReferenceAt at, ResultType* result)
{
    return Call<int>(call, interaction, result, FeatureArg(featureTag, "featureTag"),
                     IntArg(index, "index"))
        .ReturnsTag("ReferenceTag")
        .Run([at](Interaction*, ResultType& status, Feature* feature, int position) {
            return TagOrFail((feature->*at)(position), status);
        });
}

// With checks on the caller's array must come empty; with them off the tags follow what it holds.
void ListReferences(const ApiCallProperties& call, int interaction, int featureTag,
                    Array<int>& referenceTags, ListOf list, ResultType* result)
{
    Call(call, interaction, result, FeatureArg(featureTag, "featureTag"),
         TagListOutput(&referenceTags, "referenceTags"))
        .Checks([&](Interaction*) { return RefusedUnless(!IsArrayNonEmpty(referenceTags)); })
        .Run([list](Interaction*, ResultType&, Feature* feature, Array<int>* out) {
            for (Reference* reference : (feature->*list)())
                out->Add(reference ? reference->GetTag() : 0);
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateFeature, 0);
int CreateFeature(int interaction, FeatureType type, ResultType* result)
{
    EnumArg<FeatureType> typeArg(type, "type");
    typeArg.check = CheckArgEnumIn1To3;
    return Call<int>(s_CreateFeature, interaction, result, typeArg)
        .ReturnsTag("FeatureTag")
        .Run([](Interaction* target, ResultType& status, FeatureType of) {
            return TagOrFail(Feature::Create(target, of), status);
        });
}

QEL_API_REPLAYABLE_CALL(GetFeatureCount, ApiCallQuery);
int GetFeatureCount(int interaction, ResultType* result)
{
    return CountCall(s_GetFeatureCount, interaction, result, &Interaction::GetFeatureCount);
}

QEL_API_REPLAYABLE_CALL(GetFeature, ApiCallQuery);
int GetFeature(int interaction, int index, ResultType* result)
{
    return IndexedTagCall(s_GetFeature, interaction, index, "FeatureTag", &Interaction::GetFeature,
                          result);
}

QEL_API_REPLAYABLE_CALL(FeatureAddReference, 0);
void FeatureAddReference(int interaction, int featureTag, int referenceTag, ResultType* result)
{
    Call(s_FeatureAddReference, interaction, result, FeatureArg(featureTag, "featureTag"),
         ReferenceArg(referenceTag, "referenceTag"))
        .Checks([&](Interaction* target) {
            return CheckArgFeatureReference(target, featureTag, referenceTag);
        })
        .Run([](Interaction*, ResultType&, Feature* feature, Reference* reference) {
            feature->AddReference(reference);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureAddReferences, 0);
void FeatureAddReferences(int interaction, int featureTag, const Array<int>& referenceTags,
                          ResultType* result)
{
    Call(s_FeatureAddReferences, interaction, result, FeatureArg(featureTag, "featureTag"),
         ReferenceListArg(referenceTags))
        .Requires([&](Interaction* target) { return AllAreReferences(referenceTags, target); })
        .Checks([&](Interaction* target) {
            return CheckArgFeatureReferenceList(target, featureTag, GetArrayVector(referenceTags));
        })
        .Run([](Interaction* target, ResultType&, Feature* feature, const std::vector<int>& tags) {
            for (int tag : tags)
                feature->AddReference(target->FindReferenceFromTag(tag));
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetReferenceCount, ApiCallQuery);
int FeatureGetReferenceCount(int interaction, int featureTag, ResultType* result)
{
    return CountReferences(s_FeatureGetReferenceCount, interaction, featureTag,
                           &Feature::GetReferenceCount, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetReference, ApiCallQuery);
int FeatureGetReference(int interaction, int featureTag, int index, ResultType* result)
{
    return ReferenceAtIndex(s_FeatureGetReference, interaction, featureTag, index,
                            &Feature::GetReference, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetReferences, ApiCallQuery);
void FeatureGetReferences(int interaction, int featureTag, Array<int>& referenceTags,
                          ResultType* result)
{
    ListReferences(s_FeatureGetReferences, interaction, featureTag, referenceTags,
                   &Feature::GetReferences, result);
}

QEL_API_REPLAYABLE_CALL(FeatureAddProfileReference, 0);
void FeatureAddProfileReference(int interaction, int featureTag, int referenceTag,
                                ResultType* result)
{
    Call(s_FeatureAddProfileReference, interaction, result, FeatureArg(featureTag, "featureTag"),
         ReferenceArg(referenceTag, "referenceTag"))
        .Checks([&](Interaction* target) {
            return FirstFailure(
                {CheckArgReferenceHasInstance(referenceTag, target, false),
                 CheckArgFeatureProfileReference(target, featureTag, referenceTag)});
        })
        .Run([](Interaction*, ResultType&, Feature* feature, Reference* reference) {
            feature->AddProfileReference(reference);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureAddProfileReferences, 0);
void FeatureAddProfileReferences(int interaction, int featureTag, const Array<int>& referenceTags,
                                 ResultType* result)
{
    Call(s_FeatureAddProfileReferences, interaction, result, FeatureArg(featureTag, "featureTag"),
         ReferenceListArg(referenceTags))
        .Requires([&](Interaction* target) { return AllAreReferences(referenceTags, target); })
        .Checks([&](Interaction* target) {
            return CheckArgFeatureProfileReferenceList(target, featureTag,
                                                       GetArrayVector(referenceTags));
        })
        .Run([](Interaction* target, ResultType&, Feature* feature, const std::vector<int>& tags) {
            for (int tag : tags)
                feature->AddProfileReference(target->FindReferenceFromTag(tag));
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetProfileReferenceCount, ApiCallQuery);
int FeatureGetProfileReferenceCount(int interaction, int featureTag, ResultType* result)
{
    return CountReferences(s_FeatureGetProfileReferenceCount, interaction, featureTag,
                           &Feature::GetProfileReferenceCount, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetProfileReference, ApiCallQuery);
int FeatureGetProfileReference(int interaction, int featureTag, int index, ResultType* result)
{
    return ReferenceAtIndex(s_FeatureGetProfileReference, interaction, featureTag, index,
                            &Feature::GetProfileReference, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetProfileReferences, ApiCallQuery);
void FeatureGetProfileReferences(int interaction, int featureTag, Array<int>& referenceTags,
                                 ResultType* result)
{
    ListReferences(s_FeatureGetProfileReferences, interaction, featureTag, referenceTags,
                   &Feature::GetProfileReferences, result);
}

QEL_API_REPLAYABLE_CALL(FeatureAddDependent, 0);
void FeatureAddDependent(int interaction, int featureTag, int referenceTag, ResultType* result)
{
    Call(s_FeatureAddDependent, interaction, result, FeatureArg(featureTag, "featureTag"),
         ReferenceArg(referenceTag, "referenceTag"))
        .Run([](Interaction*, ResultType&, Feature* feature, Reference* reference) {
            feature->AddDependents(reference);
        });
}

QEL_API_REPLAYABLE_CALL(FeatureGetDependentCount, ApiCallQuery);
int FeatureGetDependentCount(int interaction, int featureTag, ResultType* result)
{
    return CountReferences(s_FeatureGetDependentCount, interaction, featureTag,
                           &Feature::GetDependentCount, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetDependent, ApiCallQuery);
int FeatureGetDependent(int interaction, int featureTag, int index, ResultType* result)
{
    return ReferenceAtIndex(s_FeatureGetDependent, interaction, featureTag, index,
                            &Feature::GetDependent, result);
}

QEL_API_REPLAYABLE_CALL(FeatureGetDependents, ApiCallQuery);
void FeatureGetDependents(int interaction, int featureTag, Array<int>& referenceTags,
                          ResultType* result)
{
    ListReferences(s_FeatureGetDependents, interaction, featureTag, referenceTags,
                   &Feature::GetDependents, result);
}

}  // namespace QEL
