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

int NotWiredList(const char* name, int* count, int** list) {
  Clear(count, 0);
  Clear<int*>(list, nullptr);
  return NotWired(name);
}

}  // namespace



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
