#pragma once
// Putting a rebuilt feature back into its body, shared by a feature's own procedure run and by
// the reintegration of an add-on feature: the faces are either changed in place to their
// counterparts (a one-to-one mapping) or replaced by the rebuilt sheet. Both go through the
// model transaction with tracking, and the mapping then follows the tracking onto the faces
// that the body ends up with.

#include <hxr.h>

#include <vector>

class Xform;

namespace QEL {

class Interaction;
class MappingData;

// False when any entry maps nothing to a live entity or a live entity to nothing (faces appear
// or vanish); true for a null or empty mapping.
bool IsMappingOneToOne(MappingData* mapping);
// Places a tool body by the transform unless it is the identity.
void TransformToolBody(int body, const Xform& transform);
// Changes each face to its first mapped counterpart: a radius scale when both are coaxial
// cylinders of radii that differ, else the counterpart's surface. The add-on's result.
int ChangeFacesToMappedFaces(Interaction* interaction, std::vector<int>& faces,
                             MappingData* mapping, HXR_ENTITY_track_r_s* tracking);
// Replaces the faces by the sheet body; the add-on's result.
int ReplaceFacesWithSheetBody(Interaction* interaction, std::vector<int>& faces, int sheet,
                              HXR_ENTITY_track_r_s* tracking);
// For each record position with both a source and a product: the first entry whose new tag is
// the source takes the product instead.
void RetargetMappingThroughTracking(MappingData* mapping, const HXR_ENTITY_track_r_s& tracking);

}  // namespace QEL
