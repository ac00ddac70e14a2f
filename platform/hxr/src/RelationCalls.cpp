// Storing, removing and restoring the add-on's persistent relations on a body.
#include "AddonRecord.h"
#include "BodyWiring.h"
#include "hxr.h"

#include <TopoDS_Shape.hxx>

using hxr::wired::AddonRecord;
using hxr::wired::RunCall;

int HXR_BODY_extract_relations(int body, const HXR_BODY_extract_relations_o_s* options) {
  return RunCall(__func__, [&]() -> int {
    if (options != nullptr && options->version != 2) return HXR_ERROR_bad_argument;
    TopoDS_Shape shape;
    if (int code = hxr::wired::ResolveBody(body, shape)) return code;
    const bool store = options == nullptr || options->store;
    AddonRecord record = hxr::wired::LoadAddonRecord(body);
    // Storing twice is not an error: the caller learns that there was nothing to do.
    if (store && record.relationsStored) return HXR_STATUS_nothing_to_do;
    record.relationsStored = store;
    return hxr::wired::SaveAddonRecord(body, record) ? HXR_ERROR_none : HXR_ERROR_bad_argument;
  });
}

int HXR_BODY_restore_relations(int body, const HXR_BODY_restore_relations_o_s* options) {
  return RunCall(__func__, [&]() -> int {
    if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
    TopoDS_Shape shape;
    if (int code = hxr::wired::ResolveBody(body, shape)) return code;
    // The relations stay stored: restoring puts them into effect without consuming them.
    return hxr::wired::LoadAddonRecord(body).relationsStored ? HXR_ERROR_none
                                                             : HXR_STATUS_nothing_to_do;
  });
}
