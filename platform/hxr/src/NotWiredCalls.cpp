// The calls not yet wired to the kernel layer's bodies. Each clears its outputs and
// answers HXR_ERROR_not_wired: a caller never takes an unmade change for a made one. A
// running debug report records the call, so that a report shows what was asked.
#include "DebugReport.h"
#include "hxr.h"

namespace {

template <class T>
void Clear(T* out, T value) {
  if (out != nullptr) *out = value;
}

int NotWired(const char* name) {
  hxr::DebugReportCall(name, "not wired");
  return HXR_ERROR_not_wired;
}

int NotWired(const char* name, HXR_ENTITY_track_r_s* tracking) {
  if (tracking != nullptr) {
    tracking->n_track_records = 0;
    tracking->track_records = nullptr;
  }
  return NotWired(name);
}

int NotWiredList(const char* name, int* count, int** list) {
  Clear(count, 0);
  Clear<int*>(list, nullptr);
  return NotWired(name);
}

}  // namespace


int HXR_FACE_cut(int, const int*, const HXR_FACE_cut_o_s*, int* sheet, HXR_ENTITY_track_r_s* tracking) {
  Clear(sheet, 0);
  return NotWired(__func__, tracking);
}
int HXR_FACE_copy(int, const int*, const HXR_FACE_copy_o_s*, int* sheet, HXR_ENTITY_track_r_s* tracking) {
  Clear(sheet, 0);
  return NotWired(__func__, tracking);
}
int HXR_FACE_delete(int, const int*, const HXR_FACE_delete_o_s*, HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}
int HXR_FACE_change(int, const int*, const int*, int, const HXR_FACE_change_s*, double,
                    const HXR_FACE_change_o_s*, HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}
int HXR_FACE_reorder_blends(int, const int*, int, const int*, const HXR_FACE_reorder_blends_o_s*,
                            HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}
int HXR_FACE_replace_with_sheet(int, const int*, int, const HXR_FACE_replace_with_sheet_o_s*,
                                HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}

int HXR_BODY_paste(int, int, int, const HXR_BODY_paste_o_s*, HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}
int HXR_BODY_hollow(int, double, double, double, const HXR_BODY_hollow_o_s*,
                    HXR_ENTITY_track_r_s* tracking) {
  return NotWired(__func__, tracking);
}
int HXR_BODY_rejoin(int, const int*, int* body) {
  Clear(body, 0);
  return NotWired(__func__);
}
int HXR_BODY_disjoin(int, const char*, int* n_bodies, int** bodies) {
  return NotWiredList(__func__, n_bodies, bodies);
}
int HXR_BODY_is_paste_tool(int, const HXR_BODY_is_paste_tool_o_s*, bool* is_tool) {
  Clear(is_tool, false);
  return NotWired(__func__);
}

int HXR_BODY_extract_relations(int, const HXR_BODY_extract_relations_o_s*) { return NotWired(__func__); }
int HXR_BODY_restore_relations(int, const HXR_BODY_restore_relations_o_s*) { return NotWired(__func__); }
int HXR_FACE_remove_shell_relns(int, const HXR_FACE_remove_shell_relns_o_s*) { return NotWired(__func__); }
int HXR_FACE_find_shell_partners(int, int*, int* n_partners, int** partners, double* thickness) {
  // The kind keeps the caller's preset, as for a face without partners.
  Clear(thickness, 0.0);
  return NotWiredList(__func__, n_partners, partners);
}
int HXR_FACE_find_shell_sides(int, int* n_same_side, int** same_side, int* n_opposite_side,
                              int** opposite_side, double*) {
  NotWiredList(__func__, n_same_side, same_side);
  return NotWiredList(__func__, n_opposite_side, opposite_side);
}

int HXR_TOPOL_make_feat(int, const int*, const int*, int, int, const HXR_TOPOL_make_feat_o_s*,
                        int* feature) {
  Clear(feature, 0);
  return NotWired(__func__);
}
int HXR_FEAT_ask_identifier(int, int* identifier) {
  Clear(identifier, 0);
  return NotWired(__func__);
}
int HXR_FEAT_set_identifier(int, int, const HXR_FEAT_set_identifier_o_s*) { return NotWired(__func__); }
int HXR_FEAT_is_dormant(int, bool* dormant) {
  Clear(dormant, false);
  return NotWired(__func__);
}
int HXR_FEAT_set_dormant(int, bool) { return NotWired(__func__); }
int HXR_FEAT_is_complete(int, bool* complete) {
  Clear(complete, false);
  return NotWired(__func__);
}
int HXR_FEAT_is_pristine(int, bool* pristine, int* n_entities, int** entities) {
  Clear(pristine, false);
  return NotWiredList(__func__, n_entities, entities);
}
int HXR_FEAT_delete(int) { return NotWired(__func__); }
int HXR_FEAT_ask_topols(int, int* n_topols, int** topols, int** labels) {
  Clear<int*>(labels, nullptr);
  return NotWiredList(__func__, n_topols, topols);
}
int HXR_FEAT_ask_unders(int, int* n_unders, int** unders, int** labels) {
  Clear<int*>(labels, nullptr);
  return NotWiredList(__func__, n_unders, unders);
}
int HXR_TOPOL_ask_feats(int, int* n_features, int** features) {
  return NotWiredList(__func__, n_features, features);
}
int HXR_ENTITY_ask_dependent_feats(int, int* n_features, int** features) {
  return NotWiredList(__func__, n_features, features);
}
int HXR_PART_find_feats(int, const HXR_PART_find_feats_o_s*, int* n_features, int** features) {
  return NotWiredList(__func__, n_features, features);
}
