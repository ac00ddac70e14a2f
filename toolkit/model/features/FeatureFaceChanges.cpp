#include "model/features/FeatureFaceChanges.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/LinesAndPlanes.h"
#include "core/maths/Tolerance.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "model/transaction/MappingData.h"
#include "model/transaction/Model.h"

#include <brennik.h>

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

bool IsLive(int tag)
{
    bool alive = false;
    return tag != 0 && BQ_ENTITY_is(tag, &alive) == BQ_ERROR_no_errors && alive;
}

struct CylinderForm {
    Position location;
    Position axis;
    double radius = 0.0;
};

bool ReadCylinder(int face, CylinderForm& form)
{
    return GetStandardGeometry(face, nullptr, nullptr, &form.location, &form.axis, &form.radius,
                               nullptr, nullptr) == BQ_CLASS_cyl;
}

// The scale transform that takes the old face's cylinder to the new one's radius, or 0 when the
// two are not coaxial cylinders of radii that differ.
int RadiusScaleTransform(int oldFace, int newFace)
{
    CylinderForm before, after;
    if (!ReadCylinder(oldFace, before) || !ReadCylinder(newFace, after))
        return 0;
    const double change = after.radius - before.radius;
    if (!(std::fabs(change) > s_linearTolerance))
        return 0;
    const Vec p1(before.location.x, before.location.y, before.location.z);
    const Vec p2(after.location.x, after.location.y, after.location.z);
    const Dir d1(before.axis.x, before.axis.y, before.axis.z);
    const Dir d2(after.axis.x, after.axis.y, after.axis.z);
    if (!AreLinesCoincident(p1, d1, p2, d2))
        return 0;
    return CreateRadiusScaleTransform(oldFace, change);
}

}  // namespace

bool IsMappingOneToOne(MappingData* mapping)
{
    if (!mapping)
        return true;
    for (int i = 0; i < mapping->GetEntryCount(); ++i) {
        int oldTag = 0, newTag = 0;
        mapping->GetEntry(i, &oldTag, &newTag);
        if ((oldTag == 0 && IsLive(newTag)) || (newTag == 0 && IsLive(oldTag)))
            return false;
    }
    return true;
}

void TransformToolBody(int body, const Xform& transform)
{
    if (transform.IsIdentity())
        return;
    const int kernelTransform = transform.CreateKernelTransf();
    const BQ_BODY_transform_o_t options{1, true, false};
    TransformBody(body, kernelTransform, s_linearTolerance, &options);
    if (kernelTransform != 0)
        DeleteEntity(kernelTransform);
}

int ChangeFacesToMappedFaces(Interaction* interaction, std::vector<int>& faces,
                             MappingData* mapping, HXR_ENTITY_track_r_s* tracking)
{
    const int count = static_cast<int>(faces.size());
    std::vector<HXR_FACE_change_s> changes(faces.size());
    std::vector<int> indices(faces.size());
    std::vector<int> transforms;
    const HXR_FACE_change_transform_o_s transformOptions{2, {0, 0, 0}, HXR_STEP_FACE_off};
    const HXR_FACE_change_surface_o_s surfaceOptions{1, HXR_MERGE_no};
    for (int i = 0; i < count; ++i) {
        const int oldFace = faces[i];
        int newFace = 0;
        if (mapping)
            mapping->FindEntry(oldFace, &newFace);
        HXR_FACE_change_s& change = changes[i];
        change = HXR_FACE_change_s{};
        indices[i] = i;
        if (const int scale = RadiusScaleTransform(oldFace, newFace)) {
            transforms.push_back(scale);
            change.change = HXR_CHANGE_transform;
            change.transform = scale;
            change.options = &transformOptions;
        } else {
            // A face with no counterpart has no surface to take; changing it to none would
            // hand the add-on a null surface.
            const int surface = newFace != 0 ? GetGeometryOfTopology(newFace) : 0;
            if (surface == 0) {
                DeleteEntities(transforms);
                return HXR_ERROR_bad_argument;
            }
            change.change = HXR_CHANGE_replace_surface;
            change.surface = surface;
            change.sense = CompareFaceSense(oldFace, newFace);
            change.options = &surfaceOptions;
        }
    }
    HXR_FACE_change_o_s options{};
    options.version = 1;
    options.first_flag = true;
    options.second_flag = true;
    options.option = HXR_CHANGE_OPTION_default;
    options.edges_use = HXR_EDGES_USE_attempt;
    const int result =
        Model::FaceChange(interaction, count, faces.data(), indices.data(), count, changes.data(),
                          interaction->GetModellingTolerance(), &options, tracking, true, nullptr);
    DeleteEntities(transforms);
    return result;
}

int ReplaceFacesWithSheetBody(Interaction* interaction, std::vector<int>& faces, int sheet,
                              HXR_ENTITY_track_r_s* tracking)
{
    const HXR_FACE_replace_with_sheet_o_s options{
        1, 1e-6, HXR_CHANGE_OPTION_default, HXR_SHEET_OPTION_default, {0, 0, 0}};
    return Model::ReplaceFaceWithSheet(interaction, static_cast<int>(faces.size()), faces.data(),
                                       sheet, &options, tracking, true, nullptr);
}

void RetargetMappingThroughTracking(MappingData* mapping, const HXR_ENTITY_track_r_s& tracking)
{
    if (!mapping)
        return;
    for (int r = 0; r < tracking.n_track_records; ++r) {
        const HXR_ENTITY_track_record_r_s& record = tracking.track_records[r];
        const int pairs = std::min(record.n_originals, record.n_products);
        for (int j = 0; j < pairs; ++j) {
            const int source = record.originals[j];
            for (int i = 0; i < mapping->GetEntryCount(); ++i) {
                int oldTag = 0, newTag = 0;
                mapping->GetEntry(i, &oldTag, &newTag);
                if (newTag != source)
                    continue;
                mapping->RemoveEntry(i);
                mapping->AddEntry(oldTag, record.products[j]);
                break;
            }
        }
    }
}

}  // namespace QEL
