// Kernel calls that this layer does not offer yet: they fail with BQ_ERROR_not_implemented
// through the error callback, never pretending success.
#include "KernelCall.h"

int BQ_BODY_make_section_with_surfs(int /*n_bodies*/, const int* /*bodies*/, int /*n_surfs*/, const int* /*surfs*/, const BQ_BODY_make_section_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, BQ_BODY_make_section_r_t* /*results*/) {
  return brennik::NotImplemented("BQ_BODY_make_section_with_surfs");
}

void BQ_BODY_make_section_r_f(BQ_BODY_make_section_r_t* /*results*/) {

}

int BQ_FACE_identify_blends(int /*n_faces*/, const int* /*faces*/, int /*kind*/, const BQ_FACE_identify_blends_o_t* /*options*/, BQ_FACE_identify_blends_r_t* /*results*/) {
  return brennik::NotImplemented("BQ_FACE_identify_blends");
}

void BQ_FACE_identify_blends_r_f(BQ_FACE_identify_blends_r_t* /*results*/) {

}

int BQ_FACE_find_blend_unders(int /*face*/, double /*tolerance*/, int* /*n_unders*/, int** /*unders*/) {
  return brennik::NotImplemented("BQ_FACE_find_blend_unders");
}

int BQ_FACE_make_sheet_bodies(int /*n_faces*/, const int* /*faces*/, const BQ_FACE_make_sheet_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, int* /*n_bodies*/, int** /*bodies*/) {
  return brennik::NotImplemented("BQ_FACE_make_sheet_bodies");
}

int BQ_FACE_delete(int /*n_faces*/, const int* /*faces*/, const BQ_FACE_delete_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, int* /*n_bodies*/, int** /*bodies*/) {
  return brennik::NotImplemented("BQ_FACE_delete");
}

int BQ_PART_transmit(int /*n_parts*/, const int* /*parts*/, const char* /*key*/, const BQ_PART_transmit_o_t* /*options*/) {
  return brennik::NotImplemented("BQ_PART_transmit");
}

int BQ_PART_receive(const char* /*key*/, const BQ_PART_receive_o_t* /*options*/, int* /*n_parts*/, int** /*parts*/) {
  return brennik::NotImplemented("BQ_PART_receive");
}

int BQ_PART_transmit_b(int /*n_parts*/, const int* /*parts*/, const BQ_PART_transmit_o_t* /*options*/, BQ_MEMORY_block_t** /*block*/) {
  return brennik::NotImplemented("BQ_PART_transmit_b");
}

int BQ_PART_receive_b(const BQ_MEMORY_block_t* /*block*/, const BQ_PART_receive_o_t* /*options*/, int* /*n_parts*/, int** /*parts*/) {
  return brennik::NotImplemented("BQ_PART_receive_b");
}

int BQ_DEBUG_BODY_compare(int /*body1*/, int /*body2*/, const BQ_DEBUG_BODY_compare_o_t* /*options*/, BQ_DEBUG_BODY_compare_r_t* /*results*/) {
  return brennik::NotImplemented("BQ_DEBUG_BODY_compare");
}

void BQ_DEBUG_BODY_compare_r_f(BQ_DEBUG_BODY_compare_r_t* /*results*/) {

}
