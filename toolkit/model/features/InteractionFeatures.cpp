// The interaction's side of feature procedures: following a mapping from old to new kernel
// entities, and putting a tool body built for an add-on feature back into the model.
#include "model/features/InteractionFeatures.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Xform.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/features/Feature.h"
#include "model/features/FeatureFaceChanges.h"
#include "model/features/FeatureSolverServices.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"

#include <brennik.h>

#include <algorithm>

namespace QEL {

namespace {

bool IsLiveEntity(int tag)
{
    bool alive = false;
    return tag != 0 && BQ_ENTITY_is(tag, &alive) == BQ_ERROR_no_errors && alive;
}

bool AnyFeature(const std::vector<Feature*>& features, bool (Feature::*uses)(int) const, int entity)
{
    return std::any_of(features.begin(), features.end(),
                       [&](Feature* feature) { return feature && (feature->*uses)(entity); });
}

}  // namespace

bool IsUsedByFeatureReference(const Interaction& interaction, int entity)
{
    return AnyFeature(interaction.GetFeatures(), &Feature::HasReferenceToEntity, entity);
}

bool IsUsedByFeatureProfileReference(const Interaction& interaction, int entity)
{
    return AnyFeature(interaction.GetFeatures(), &Feature::HasProfileReferenceToEntity, entity);
}

bool IsUsedByFeatureParentReference(const Interaction& interaction, int entity)
{
    return AnyFeature(interaction.GetFeatures(), &Feature::HasDependentOnEntity, entity);
}

bool IsFeatureProcedureMappingOneToOne(Interaction& interaction, int mappingDataTag)
{
    return IsMappingOneToOne(interaction.FindMappingDataFromTag(mappingDataTag));
}

void ApplyMappingData(Interaction& interaction, MappingData* mapping)
{
    if (!mapping)
        return;
    for (Instance* instance : interaction.GetInstances()) {
        int newBody = 0;
        if (instance && mapping->FindEntry(instance->GetBodyTag(), &newBody) && newBody != 0)
            instance->SetBodyTag(newBody);
    }
    std::set<Reference*, TaggedEntityPtrLessThan> references;
    interaction.GetAllReferences(references);
    std::map<Reference*, std::set<int>> extraEntities;
    for (Reference* reference : references) {
        std::set<int> newTags;
        mapping->FindEntries(reference->GetEntityTag(), newTags);
        if (newTags.empty())
            continue;
        auto live = std::find_if(newTags.begin(), newTags.end(), IsLiveEntity);
        if (live == newTags.end()) {
            reference->Destroy();
            continue;
        }
        const int chosen = *live;
        reference->ReplaceEntityTag(chosen);
        newTags.erase(chosen);
        if (!newTags.empty())
            extraEntities[reference] = newTags;
    }
    if (extraEntities.empty())
        return;
    // A feature may destroy references while it remaps: walk a copy of the list.
    const std::vector<Feature*> features = interaction.GetFeatures();
    for (Feature* feature : features)
        feature->RemapReferences(extraEntities);
}

ResultType Reintegrate(Interaction& interaction, int addOnFeature, int toolBody, Xform& transform,
                       int mappingData)
{
    if (toolBody == 0)
        return ResultTypeOk;
    std::vector<int> faces;
    if (!GetFeatureTopologies(addOnFeature, &faces, nullptr)) {
        DeleteEntity(toolBody);
        return ResultTypeFail;
    }
    if (faces.empty() || !std::all_of(faces.begin(), faces.end(), IsFace)) {
        DeleteEntity(toolBody);
        return ResultTypeOk;
    }
    TransformToolBody(toolBody, transform);
    MappingData* mapping = interaction.FindMappingDataFromTag(mappingData);
    HXR_ENTITY_track_r_s tracking{};
    if (!IsFeatureProcedureMappingOneToOne(interaction, mappingData)) {
        BQ_BODY_reverse_orientation(toolBody);
        if (ReplaceFacesWithSheetBody(&interaction, faces, toolBody, &tracking) != 0) {
            HXR_ENTITY_track_r_f(&tracking);
            if (IsEntity(toolBody))
                DeleteEntity(toolBody);
            return ResultTypeReplaceWithSheetFailed;
        }
        RetargetMappingThroughTracking(mapping, tracking);
        ApplyMappingData(interaction, mapping);
        UpdateInteractionSolverWithAltTopols(&interaction, mapping);
        HXR_ENTITY_track_r_f(&tracking);
        return ResultTypeOk;
    }
    const int result = ChangeFacesToMappedFaces(&interaction, faces, mapping, &tracking);
    DeleteEntity(toolBody);
    if (result != 0) {
        HXR_ENTITY_track_r_f(&tracking);
        return ResultTypeReplaceWithSurfaceFailed;
    }
    RetargetMappingThroughTracking(mapping, tracking);
    HXR_ENTITY_track_r_f(&tracking);
    return ResultTypeOk;
}

}  // namespace QEL
