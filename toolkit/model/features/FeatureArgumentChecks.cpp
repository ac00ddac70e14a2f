// The argument checks that ask a feature how the references it is given fit those it holds.
#include "model/features/FeatureArgumentChecks.h"

#include "core/frame/ArgumentChecks.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"

namespace QEL {

namespace {

ResultType Verdict(bool bad) { return bad ? ResultTypeBadArgument : ResultTypeOk; }

int BodyOf(Reference* reference)
{
    return reference ? GetBodyOfTopology(reference->GetEntityTag()) : 0;
}

Instance* InstanceOf(Reference* reference)
{
    return reference ? reference->GetInstance() : nullptr;
}

int InstanceBody(Instance* instance) { return instance ? instance->GetBodyTag() : 0; }

// The feature's lists as they stand, or as they will stand once the earlier elements of a list
// being added have joined them: only the first reference and the first profile reference are
// compared against.
struct FeatureLists {
    Feature* feature;
    bool hasReferences;
    Reference* firstReference;
    bool hasProfileReferences;
    Reference* firstProfileReference;

    explicit FeatureLists(Feature* of)
        : feature(of),
          hasReferences(of->GetReferenceCount() > 0),
          firstReference(hasReferences ? of->GetReference(0) : nullptr),
          hasProfileReferences(of->GetProfileReferenceCount() > 0),
          firstProfileReference(hasProfileReferences ? of->GetProfileReference(0) : nullptr)
    {
    }
};

ResultType FitsAsReference(Interaction* interaction, const FeatureLists& lists,
                           Reference* reference)
{
    const int entity = reference->GetEntityTag();
    if (IsPointLineOrPlane(entity) || Reference::IsEntityInFacePattern(interaction, entity))
        return ResultTypeBadArgument;
    Instance* placed = reference->GetInstance();
    if (lists.hasReferences) {
        Reference* first = lists.firstReference;
        Instance* firstPlaced = InstanceOf(first);
        if (lists.feature->GetFeatureType() == FeatureTypeSimple) {
            bool bad = false;
            if (firstPlaced && !placed)
                bad = true;
            else if (!firstPlaced && !placed)
                bad = BodyOf(first) != BodyOf(reference);
            else if (!firstPlaced && placed)
                bad = true;
            if (lists.hasProfileReferences && firstPlaced != placed)
                return ResultTypeBadArgument;
            return Verdict(bad);
        }
        if (first && CheckArgReferencesOnSameInstance(reference->GetTag(), first->GetTag(),
                                                      interaction) != ResultTypeOk)
            return ResultTypeBadArgument;
        if (firstPlaced)
            return ResultTypeOk;
        return Verdict(BodyOf(first) != BodyOf(reference));
    }
    if (lists.hasProfileReferences) {
        const int profileBody = InstanceBody(InstanceOf(lists.firstProfileReference));
        return Verdict(!(placed && placed->GetBodyTag() != profileBody));
    }
    return ResultTypeOk;
}

ResultType FitsAsProfileReference(const FeatureLists& lists, Reference* reference)
{
    if (!reference->GetInstance())
        return ResultTypeBadArgument;
    if (lists.hasProfileReferences)
        return Verdict(reference->GetInstance() != InstanceOf(lists.firstProfileReference));
    if (!lists.hasReferences)
        return ResultTypeOk;
    Instance* shared = InstanceOf(lists.firstReference);
    for (Reference* own : lists.feature->GetReferences())
        if (!shared || InstanceOf(own) != shared)
            return ResultTypeBadArgument;
    return Verdict(reference->GetInstance()->GetBodyTag() == shared->GetBodyTag());
}

}  // namespace

ResultType CheckArgFeatureReference(Interaction* interaction, int featureTag, int referenceTag)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    Reference* reference = interaction ? interaction->FindReferenceFromTag(referenceTag) : nullptr;
    if (!feature || !reference)
        return ResultTypeBadArgument;
    return FitsAsReference(interaction, FeatureLists(feature), reference);
}

ResultType CheckArgFeatureProfileReference(Interaction* interaction, int featureTag,
                                           int referenceTag)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    Reference* reference = interaction ? interaction->FindReferenceFromTag(referenceTag) : nullptr;
    if (!feature || !reference)
        return ResultTypeBadArgument;
    return FitsAsProfileReference(FeatureLists(feature), reference);
}

ResultType CheckArgFeatureReferenceList(Interaction* interaction, int featureTag,
                                        const std::vector<int>& referenceTags)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    if (!feature)
        return ResultTypeBadArgument;
    FeatureLists lists(feature);
    for (int tag : referenceTags) {
        Reference* reference = interaction->FindReferenceFromTag(tag);
        if (!reference || FitsAsReference(interaction, lists, reference) != ResultTypeOk)
            return ResultTypeBadArgument;
        if (!lists.hasReferences) {
            lists.hasReferences = true;
            lists.firstReference = reference;
        }
    }
    return ResultTypeOk;
}

ResultType CheckArgFeatureProfileReferenceList(Interaction* interaction, int featureTag,
                                               const std::vector<int>& referenceTags)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    if (!feature)
        return ResultTypeBadArgument;
    FeatureLists lists(feature);
    for (int tag : referenceTags) {
        Reference* reference = interaction->FindReferenceFromTag(tag);
        if (!reference || FitsAsProfileReference(lists, reference) != ResultTypeOk)
            return ResultTypeBadArgument;
        if (!lists.hasProfileReferences) {
            lists.hasProfileReferences = true;
            lists.firstProfileReference = reference;
        }
    }
    return ResultTypeOk;
}

}  // namespace QEL
