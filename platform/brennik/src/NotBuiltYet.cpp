// Kernel calls that this layer does not offer yet: they fail with BQ_ERROR_not_implemented
// through the error callback, never pretending success.
#include "KernelCall.h"

int BQ_BODY_make_section_with_surfs(int /*n_bodies*/, const int* /*bodies*/, int /*n_surfs*/, const int* /*surfs*/, const BQ_BODY_make_section_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, BQ_BODY_make_section_r_t* /*results*/) {
  return brennik::NotImplemented("BQ_BODY_make_section_with_surfs");
}

void BQ_BODY_make_section_r_f(BQ_BODY_make_section_r_t* /*results*/) {

}

int BQ_FACE_make_sheet_bodies(int /*n_faces*/, const int* /*faces*/, const BQ_FACE_make_sheet_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, int* /*n_bodies*/, int** /*bodies*/) {
  return brennik::NotImplemented("BQ_FACE_make_sheet_bodies");
}

int BQ_FACE_delete(int /*n_faces*/, const int* /*faces*/, const BQ_FACE_delete_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, int* /*n_bodies*/, int** /*bodies*/) {
  return brennik::NotImplemented("BQ_FACE_delete");
}
