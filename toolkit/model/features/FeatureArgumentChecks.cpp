// The argument checks that ask a feature how the references it is given fit those it holds.
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/features/Feature.h"
#include "model/references/Reference.h"

namespace QEL {

namespace {

ResultType Verdict(bool bad) { return bad ? ResultTypeBadArgument : ResultTypeOk; }

int BodyOf(Reference* reference) { return reference ? GetBodyOfTopology(reference->GetEntityTag()) : 0; }

Instance* InstanceOf(Reference* reference) { return reference ? reference->GetInstance() : nullptr; }

int InstanceBody(Instance* instance) { return instance ? instance->GetBodyTag() : 0; }

}  // namespace

ResultType CheckArgFeatureReference(Interaction* interaction, int featureTag, int referenceTag)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    Reference* reference = interaction ? interaction->FindReferenceFromTag(referenceTag) : nullptr;
    if (!feature || !reference)
        return ResultTypeBadArgument;
    const int entity = reference->GetEntityTag();
    if (IsPointLineOrPlane(entity) || Reference::IsEntityInFacePattern(interaction, entity))
        return ResultTypeBadArgument;
    Instance* placed = reference->GetInstance();
    if (feature->GetReferenceCount() > 0) {
        Reference* first = feature->GetReference(0);
        Instance* firstPlaced = InstanceOf(first);
        if (feature->GetFeatureType() == FeatureTypeSimple) {
            bool bad = false;
            if (firstPlaced && !placed)
                bad = true;
            else if (!firstPlaced && !placed)
                bad = BodyOf(first) != BodyOf(reference);
            else if (!firstPlaced && placed)
                bad = true;
            if (feature->GetProfileReferenceCount() > 0 && firstPlaced != placed)
                return ResultTypeBadArgument;
            return Verdict(bad);
        }
        if (first && CheckArgReferencesOnSameInstance(referenceTag, first->GetTag(), interaction) != ResultTypeOk)
            return ResultTypeBadArgument;
        if (firstPlaced)
            return ResultTypeOk;
        return Verdict(BodyOf(first) != BodyOf(reference));
    }
    if (feature->GetProfileReferenceCount() > 0) {
        const int profileBody = InstanceBody(InstanceOf(feature->GetProfileReference(0)));
        return Verdict(!(placed && placed->GetBodyTag() != profileBody));
    }
    return ResultTypeOk;
}

ResultType CheckArgFeatureProfileReference(Interaction* interaction, int featureTag, int referenceTag)
{
    Feature* feature = interaction ? interaction->FindFeatureFromTag(featureTag) : nullptr;
    Reference* reference = interaction ? interaction->FindReferenceFromTag(referenceTag) : nullptr;
    if (!feature || !reference || !reference->GetInstance())
        return ResultTypeBadArgument;
    if (feature->GetProfileReferenceCount() > 0)
        return Verdict(reference->GetInstance() != InstanceOf(feature->GetProfileReference(0)));
    if (feature->GetReferenceCount() == 0)
        return ResultTypeOk;
    Instance* shared = InstanceOf(feature->GetReference(0));
    for (Reference* own : feature->GetReferences())
        if (!shared || InstanceOf(own) != shared)
            return ResultTypeBadArgument;
    return Verdict(reference->GetInstance()->GetBodyTag() == shared->GetBodyTag());
}

}  // namespace QEL
