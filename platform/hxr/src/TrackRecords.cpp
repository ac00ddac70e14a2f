// Freeing the track records the add-on hands out.
#include "hxr.h"

#include <cstdlib>

// The record's arrays come from malloc, like every array the layer hands out. Freeing
// empties the record, so that a caller that frees it once more frees nothing.
int HXR_ENTITY_track_r_f(HXR_ENTITY_track_r_s* tracking) {
  if (tracking == nullptr) return HXR_ERROR_none;
  for (int i = 0; i < tracking->n_track_records && tracking->track_records != nullptr; ++i) {
    std::free(tracking->track_records[i].originals);
    std::free(tracking->track_records[i].products);
  }
  std::free(tracking->track_records);
  tracking->track_records = nullptr;
  tracking->n_track_records = 0;
  return HXR_ERROR_none;
}
