// Kernel calls that this layer does not offer yet: they fail with BQ_ERROR_not_implemented
// through the error callback, never pretending success.
#include "KernelCall.h"

int BQ_CLASS_is_subclass(int /*cls*/, int /*super*/, bool* /*is_subclass*/) {
  return brennik::NotImplemented("BQ_CLASS_is_subclass");
}

int BQ_ENTITY_is(int /*tag*/, bool* /*is_entity*/) {
  return brennik::NotImplemented("BQ_ENTITY_is");
}

int BQ_ENTITY_is_geom(int /*tag*/, bool* /*is_geom*/) {
  return brennik::NotImplemented("BQ_ENTITY_is_geom");
}

int BQ_ENTITY_is_topol(int /*tag*/, bool* /*is_topol*/) {
  return brennik::NotImplemented("BQ_ENTITY_is_topol");
}

int BQ_ENTITY_ask_class(int /*tag*/, int* /*cls*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_class");
}

int BQ_ENTITY_ask_identifier(int /*tag*/, int* /*identifier*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_identifier");
}

int BQ_ENTITY_ask_partition(int /*tag*/, int* /*partition*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_partition");
}

int BQ_ENTITY_copy(int /*tag*/, int* /*copy*/) {
  return brennik::NotImplemented("BQ_ENTITY_copy");
}

int BQ_ENTITY_delete(int /*n*/, const int* /*entities*/) {
  return brennik::NotImplemented("BQ_ENTITY_delete");
}

int BQ_ENTITY_ask_attribs(int /*entity*/, int /*attdef*/, int* /*n_attribs*/, int** /*attribs*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_attribs");
}

int BQ_ENTITY_ask_first_attrib(int /*entity*/, int /*attdef*/, int* /*attrib*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_first_attrib");
}

int BQ_ENTITY_ask_owning_groups(int /*entity*/, int* /*n_groups*/, int** /*groups*/) {
  return brennik::NotImplemented("BQ_ENTITY_ask_owning_groups");
}

int BQ_PARTITION_create_empty(int* /*partition*/) {
  return brennik::NotImplemented("BQ_PARTITION_create_empty");
}

int BQ_PARTITION_delete(int /*partition*/, const BQ_PARTITION_delete_o_t* /*options*/) {
  return brennik::NotImplemented("BQ_PARTITION_delete");
}

int BQ_PARTITION_is(int /*tag*/, bool* /*is_partition*/) {
  return brennik::NotImplemented("BQ_PARTITION_is");
}

int BQ_PARTITION_set_current(int /*partition*/) {
  return brennik::NotImplemented("BQ_PARTITION_set_current");
}

int BQ_PARTITION_make_pmark(int /*partition*/, int* /*pmark*/) {
  return brennik::NotImplemented("BQ_PARTITION_make_pmark");
}

int BQ_PARTITION_make_pmark_2(int /*partition*/, const BQ_PARTITION_make_pmark_o_t* /*options*/, int* /*pmark*/, int* /*n_new*/, int** /*new_entities*/, int* /*n_mod*/, int** /*mod_entities*/, int* /*n_del*/, int** /*del_entities*/) {
  return brennik::NotImplemented("BQ_PARTITION_make_pmark_2");
}

int BQ_PARTITION_ask_pmark(int /*partition*/, int* /*pmark*/, bool* /*is_at_pmark*/) {
  return brennik::NotImplemented("BQ_PARTITION_ask_pmark");
}

int BQ_PARTITION_ask_pmarks(int /*partition*/, int* /*n_pmarks*/, int** /*pmarks*/) {
  return brennik::NotImplemented("BQ_PARTITION_ask_pmarks");
}

int BQ_PMARK_goto_2(int /*pmark*/, const BQ_PMARK_goto_o_t* /*options*/, int* /*n_new*/, int** /*new_entities*/, int* /*n_mod*/, int** /*mod_entities*/, int* /*n_del*/, int** /*del_entities*/) {
  return brennik::NotImplemented("BQ_PMARK_goto_2");
}

int BQ_PMARK_ask_preceding(int /*pmark*/, int* /*preceding*/) {
  return brennik::NotImplemented("BQ_PMARK_ask_preceding");
}

int BQ_PMARK_ask_partition(int /*pmark*/, int* /*partition*/) {
  return brennik::NotImplemented("BQ_PMARK_ask_partition");
}

int BQ_PMARK_delete(int /*n*/, const int* /*pmarks*/, int* /*n_failed*/, int** /*failed*/) {
  return brennik::NotImplemented("BQ_PMARK_delete");
}

int BQ_APPITEM_create(void* /*pointer*/, int* /*item*/) {
  return brennik::NotImplemented("BQ_APPITEM_create");
}

int BQ_APPITEM_is(int /*tag*/, bool* /*is_item*/) {
  return brennik::NotImplemented("BQ_APPITEM_is");
}

int BQ_APPITEM_ask(int /*item*/, void** /*pointer*/) {
  return brennik::NotImplemented("BQ_APPITEM_ask");
}

int BQ_APPITEM_delete(int /*n*/, const int* /*items*/) {
  return brennik::NotImplemented("BQ_APPITEM_delete");
}

int BQ_ATTDEF_find(const char* /*name*/, int* /*attdef*/) {
  return brennik::NotImplemented("BQ_ATTDEF_find");
}

int BQ_ATTDEF_create_2(const BQ_ATTDEF_sf_t* /*form*/, int* /*attdef*/) {
  return brennik::NotImplemented("BQ_ATTDEF_create_2");
}

int BQ_ATTDEF_ask_name(int /*attdef*/, const char** /*name*/) {
  return brennik::NotImplemented("BQ_ATTDEF_ask_name");
}

int BQ_ATTDEF_register_cb(int /*attdef*/, const BQ_ATTDEF_callback_fns_t* /*fns*/) {
  return brennik::NotImplemented("BQ_ATTDEF_register_cb");
}

int BQ_ATTDEF_set_callback_flags(int /*attdef*/, const BQ_ATTDEF_callback_flags_t* /*flags*/) {
  return brennik::NotImplemented("BQ_ATTDEF_set_callback_flags");
}

int BQ_ATTDEF_ask_callback_flags(int /*attdef*/, BQ_ATTDEF_callback_flags_t* /*flags*/) {
  return brennik::NotImplemented("BQ_ATTDEF_ask_callback_flags");
}

int BQ_ATTRIB_create_empty(int /*owner*/, int /*attdef*/, int* /*attrib*/) {
  return brennik::NotImplemented("BQ_ATTRIB_create_empty");
}

int BQ_ATTRIB_ask_attdef(int /*attrib*/, int* /*attdef*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_attdef");
}

int BQ_ATTRIB_ask_owner(int /*attrib*/, int* /*owner*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_owner");
}

int BQ_ATTRIB_set_ints(int /*attrib*/, int /*field*/, int /*n*/, const int* /*values*/) {
  return brennik::NotImplemented("BQ_ATTRIB_set_ints");
}

int BQ_ATTRIB_ask_ints(int /*attrib*/, int /*field*/, int* /*n*/, int** /*values*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_ints");
}

int BQ_ATTRIB_ask_nth_int(int /*attrib*/, int /*field*/, int /*n*/, int* /*value*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_nth_int");
}

int BQ_ATTRIB_set_doubles(int /*attrib*/, int /*field*/, int /*n*/, const double* /*values*/) {
  return brennik::NotImplemented("BQ_ATTRIB_set_doubles");
}

int BQ_ATTRIB_ask_doubles(int /*attrib*/, int /*field*/, int* /*n*/, double** /*values*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_doubles");
}

int BQ_ATTRIB_set_string(int /*attrib*/, int /*field*/, const char* /*text*/) {
  return brennik::NotImplemented("BQ_ATTRIB_set_string");
}

int BQ_ATTRIB_ask_string(int /*attrib*/, int /*field*/, char** /*text*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_string");
}

int BQ_ATTRIB_set_named_pointers(int /*attrib*/, const char* /*field_name*/, int /*n*/, void* const* /*pointers*/) {
  return brennik::NotImplemented("BQ_ATTRIB_set_named_pointers");
}

int BQ_ATTRIB_ask_named_pointers(int /*attrib*/, const char* /*field_name*/, int* /*n*/, void*** /*pointers*/) {
  return brennik::NotImplemented("BQ_ATTRIB_ask_named_pointers");
}

int BQ_PART_ask_all_attribs(int /*part*/, int /*attdef*/, int* /*n_attribs*/, int** /*attribs*/) {
  return brennik::NotImplemented("BQ_PART_ask_all_attribs");
}

int BQ_PART_delete_attribs(int /*part*/, int /*n_attdefs*/, const int* /*attdefs*/, const BQ_PART_delete_attribs_o_t* /*options*/) {
  return brennik::NotImplemented("BQ_PART_delete_attribs");
}

int BQ_GROUP_create_from_entities(int /*part*/, int /*group_class*/, int /*n*/, const int* /*entities*/, int* /*group*/) {
  return brennik::NotImplemented("BQ_GROUP_create_from_entities");
}

int BQ_GROUP_add_entities(int /*group*/, int /*n*/, const int* /*entities*/) {
  return brennik::NotImplemented("BQ_GROUP_add_entities");
}

int BQ_GROUP_merge_entities(int /*group*/, int /*n*/, const int* /*entities*/) {
  return brennik::NotImplemented("BQ_GROUP_merge_entities");
}

int BQ_GROUP_remove_entities(int /*group*/, int /*n*/, const int* /*entities*/) {
  return brennik::NotImplemented("BQ_GROUP_remove_entities");
}

int BQ_GROUP_ask_entities(int /*group*/, int* /*n*/, int** /*entities*/) {
  return brennik::NotImplemented("BQ_GROUP_ask_entities");
}

int BQ_GROUP_ask_part(int /*group*/, int* /*part*/) {
  return brennik::NotImplemented("BQ_GROUP_ask_part");
}

int BQ_PART_ask_groups(int /*part*/, int* /*n_groups*/, int** /*groups*/) {
  return brennik::NotImplemented("BQ_PART_ask_groups");
}

int BQ_PART_find_entity_by_ident(int /*part*/, int /*cls*/, int /*identifier*/, int* /*entity*/) {
  return brennik::NotImplemented("BQ_PART_find_entity_by_ident");
}

int BQ_PART_ask_geoms(int /*part*/, int* /*n_geoms*/, int** /*geoms*/) {
  return brennik::NotImplemented("BQ_PART_ask_geoms");
}

int BQ_PART_add_geoms(int /*part*/, int /*n*/, const int* /*geoms*/) {
  return brennik::NotImplemented("BQ_PART_add_geoms");
}

int BQ_PART_remove_geoms(int /*part*/, int /*n*/, const int* /*geoms*/, int* /*n_removed*/) {
  return brennik::NotImplemented("BQ_PART_remove_geoms");
}

int BQ_BODY_ask_type(int /*body*/, int* /*body_type*/) {
  return brennik::NotImplemented("BQ_BODY_ask_type");
}

int BQ_BODY_ask_faces(int /*body*/, int* /*n_faces*/, int** /*faces*/) {
  return brennik::NotImplemented("BQ_BODY_ask_faces");
}

int BQ_BODY_ask_edges(int /*body*/, int* /*n_edges*/, int** /*edges*/) {
  return brennik::NotImplemented("BQ_BODY_ask_edges");
}

int BQ_BODY_ask_vertices(int /*body*/, int* /*n_vertices*/, int** /*vertices*/) {
  return brennik::NotImplemented("BQ_BODY_ask_vertices");
}

int BQ_BODY_change_partition(int /*body*/, int /*partition*/) {
  return brennik::NotImplemented("BQ_BODY_change_partition");
}

int BQ_BODY_transform_2(int /*body*/, int /*transf*/, double /*tolerance*/, const BQ_BODY_transform_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, BQ_TOPOL_local_r_t* /*local_results*/) {
  return brennik::NotImplemented("BQ_BODY_transform_2");
}

int BQ_BODY_reverse_orientation(int /*body*/) {
  return brennik::NotImplemented("BQ_BODY_reverse_orientation");
}

int BQ_BODY_make_section_with_surfs(int /*n_bodies*/, const int* /*bodies*/, int /*n_surfs*/, const int* /*surfs*/, const BQ_BODY_make_section_o_t* /*options*/, BQ_TOPOL_track_r_t* /*tracking*/, BQ_BODY_make_section_r_t* /*results*/) {
  return brennik::NotImplemented("BQ_BODY_make_section_with_surfs");
}

void BQ_BODY_make_section_r_f(BQ_BODY_make_section_r_t* /*results*/) {

}

void BQ_TOPOL_track_r_f(BQ_TOPOL_track_r_t* /*tracking*/) {

}

void BQ_TOPOL_local_r_f(BQ_TOPOL_local_r_t* /*results*/) {

}

int BQ_FACE_ask_body(int /*face*/, int* /*body*/) {
  return brennik::NotImplemented("BQ_FACE_ask_body");
}

int BQ_EDGE_ask_body(int /*edge*/, int* /*body*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_body");
}

int BQ_VERTEX_ask_body(int /*vertex*/, int* /*body*/) {
  return brennik::NotImplemented("BQ_VERTEX_ask_body");
}

int BQ_FACE_ask_edges(int /*face*/, int* /*n_edges*/, int** /*edges*/) {
  return brennik::NotImplemented("BQ_FACE_ask_edges");
}

int BQ_FACE_ask_vertices(int /*face*/, int* /*n_vertices*/, int** /*vertices*/) {
  return brennik::NotImplemented("BQ_FACE_ask_vertices");
}

int BQ_FACE_find_edges_common(int /*face1*/, int /*face2*/, int* /*n_edges*/, int** /*edges*/) {
  return brennik::NotImplemented("BQ_FACE_find_edges_common");
}

int BQ_EDGE_ask_faces(int /*edge*/, int* /*n_faces*/, int** /*faces*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_faces");
}

int BQ_EDGE_ask_vertices(int /*edge*/, int /*vertices*/[2]) {
  return brennik::NotImplemented("BQ_EDGE_ask_vertices");
}

int BQ_EDGE_ask_fins(int /*edge*/, int* /*n_fins*/, int** /*fins*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_fins");
}

int BQ_VERTEX_ask_faces(int /*vertex*/, int* /*n_faces*/, int** /*faces*/) {
  return brennik::NotImplemented("BQ_VERTEX_ask_faces");
}

int BQ_VERTEX_ask_oriented_edges(int /*vertex*/, int* /*n_edges*/, int** /*edges*/, bool** /*starts_here*/) {
  return brennik::NotImplemented("BQ_VERTEX_ask_oriented_edges");
}

int BQ_FIN_ask_edge(int /*fin*/, int* /*edge*/) {
  return brennik::NotImplemented("BQ_FIN_ask_edge");
}

int BQ_FIN_ask_face(int /*fin*/, int* /*face*/) {
  return brennik::NotImplemented("BQ_FIN_ask_face");
}

int BQ_FIN_is_positive(int /*fin*/, bool* /*positive*/) {
  return brennik::NotImplemented("BQ_FIN_is_positive");
}

int BQ_FIN_ask_geometry(int /*fin*/, int* /*curve*/) {
  return brennik::NotImplemented("BQ_FIN_ask_geometry");
}

int BQ_VERTEX_ask_point(int /*vertex*/, int* /*point*/) {
  return brennik::NotImplemented("BQ_VERTEX_ask_point");
}

int BQ_EDGE_ask_curve(int /*edge*/, int* /*curve*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_curve");
}

int BQ_EDGE_ask_geometry(int /*edge*/, int* /*curve*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_geometry");
}

int BQ_EDGE_ask_oriented_curve(int /*edge*/, int* /*curve*/, bool* /*orientation*/) {
  return brennik::NotImplemented("BQ_EDGE_ask_oriented_curve");
}

int BQ_FACE_ask_surf(int /*face*/, int* /*surf*/) {
  return brennik::NotImplemented("BQ_FACE_ask_surf");
}

int BQ_FACE_ask_oriented_surf(int /*face*/, int* /*surf*/, bool* /*orientation*/) {
  return brennik::NotImplemented("BQ_FACE_ask_oriented_surf");
}

int BQ_SURF_ask_faces(int /*surf*/, int* /*n_faces*/, int** /*faces*/) {
  return brennik::NotImplemented("BQ_SURF_ask_faces");
}

int BQ_CURVE_ask_part(int /*curve*/, int* /*part*/) {
  return brennik::NotImplemented("BQ_CURVE_ask_part");
}

int BQ_SURF_ask_part(int /*surf*/, int* /*part*/) {
  return brennik::NotImplemented("BQ_SURF_ask_part");
}

int BQ_POINT_ask_part(int /*point*/, int* /*part*/) {
  return brennik::NotImplemented("BQ_POINT_ask_part");
}

int BQ_POINT_ask(int /*point*/, BQ_POINT_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_POINT_ask");
}

int BQ_LINE_ask(int /*line*/, BQ_LINE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_LINE_ask");
}

int BQ_CIRCLE_ask(int /*circle*/, BQ_CIRCLE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_CIRCLE_ask");
}

int BQ_ELLIPSE_ask(int /*ellipse*/, BQ_ELLIPSE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_ELLIPSE_ask");
}

int BQ_PLANE_ask(int /*plane*/, BQ_PLANE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_PLANE_ask");
}

int BQ_CYL_ask(int /*cyl*/, BQ_CYL_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_CYL_ask");
}

int BQ_CONE_ask(int /*cone*/, BQ_CONE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_CONE_ask");
}

int BQ_SPHERE_ask(int /*sphere*/, BQ_SPHERE_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_SPHERE_ask");
}

int BQ_TORUS_ask(int /*torus*/, BQ_TORUS_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_TORUS_ask");
}

int BQ_OFFSET_ask(int /*offset*/, BQ_OFFSET_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_OFFSET_ask");
}

int BQ_POINT_create(const BQ_POINT_sf_t* /*sf*/, int* /*point*/) {
  return brennik::NotImplemented("BQ_POINT_create");
}

int BQ_LINE_create(const BQ_LINE_sf_t* /*sf*/, int* /*line*/) {
  return brennik::NotImplemented("BQ_LINE_create");
}

int BQ_CIRCLE_create(const BQ_CIRCLE_sf_t* /*sf*/, int* /*circle*/) {
  return brennik::NotImplemented("BQ_CIRCLE_create");
}

int BQ_PLANE_create(const BQ_PLANE_sf_t* /*sf*/, int* /*plane*/) {
  return brennik::NotImplemented("BQ_PLANE_create");
}

int BQ_CYL_create(const BQ_CYL_sf_t* /*sf*/, int* /*cyl*/) {
  return brennik::NotImplemented("BQ_CYL_create");
}

int BQ_CONE_create(const BQ_CONE_sf_t* /*sf*/, int* /*cone*/) {
  return brennik::NotImplemented("BQ_CONE_create");
}

int BQ_SPHERE_create(const BQ_SPHERE_sf_t* /*sf*/, int* /*sphere*/) {
  return brennik::NotImplemented("BQ_SPHERE_create");
}

int BQ_TORUS_create(const BQ_TORUS_sf_t* /*sf*/, int* /*torus*/) {
  return brennik::NotImplemented("BQ_TORUS_create");
}

int BQ_POINT_make_minimum_body(int /*point*/, int* /*body*/) {
  return brennik::NotImplemented("BQ_POINT_make_minimum_body");
}

int BQ_SURF_offset(int /*surf*/, double /*distance*/, int* /*offset_surf*/) {
  return brennik::NotImplemented("BQ_SURF_offset");
}

int BQ_SURF_ask_params(int /*surf*/, BQ_PARAM_sf_t /*params*/[2]) {
  return brennik::NotImplemented("BQ_SURF_ask_params");
}

int BQ_SURF_eval(int /*surf*/, BQ_UV_t /*uv*/, int /*n_u_derivs*/, int /*n_v_derivs*/, bool /*triangular*/, BQ_VECTOR_t* /*p*/) {
  return brennik::NotImplemented("BQ_SURF_eval");
}

int BQ_SURF_eval_with_normal(int /*surf*/, BQ_UV_t /*uv*/, int /*n_u_derivs*/, int /*n_v_derivs*/, bool /*triangular*/, BQ_VECTOR_t* /*p*/, BQ_VECTOR_t* /*normal*/) {
  return brennik::NotImplemented("BQ_SURF_eval_with_normal");
}

int BQ_SURF_parameterise_vector(int /*surf*/, BQ_VECTOR_t /*vector*/, BQ_UV_t* /*uv*/) {
  return brennik::NotImplemented("BQ_SURF_parameterise_vector");
}

int BQ_CURVE_ask_interval(int /*curve*/, BQ_INTERVAL_t* /*interval*/) {
  return brennik::NotImplemented("BQ_CURVE_ask_interval");
}

int BQ_CURVE_eval(int /*curve*/, double /*t*/, int /*n_derivs*/, BQ_VECTOR_t* /*p*/) {
  return brennik::NotImplemented("BQ_CURVE_eval");
}

int BQ_FACE_find_uvbox(int /*face*/, BQ_UVBOX_t* /*uvbox*/) {
  return brennik::NotImplemented("BQ_FACE_find_uvbox");
}

int BQ_GEOM_is_coincident(int /*geom1*/, int /*geom2*/, bool* /*coincident*/) {
  return brennik::NotImplemented("BQ_GEOM_is_coincident");
}

int BQ_GEOM_range_vector(int /*geom*/, BQ_VECTOR_t /*vector*/, const BQ_TOPOL_range_o_t* /*options*/, BQ_range_r_t* /*result*/) {
  return brennik::NotImplemented("BQ_GEOM_range_vector");
}

int BQ_TOPOL_range(int /*topol1*/, int /*topol2*/, const BQ_TOPOL_range_o_t* /*options*/, BQ_range_r_t* /*result*/) {
  return brennik::NotImplemented("BQ_TOPOL_range");
}

int BQ_TOPOL_range_vector(int /*topol*/, BQ_VECTOR_t /*vector*/, const BQ_TOPOL_range_o_t* /*options*/, BQ_range_r_t* /*result*/) {
  return brennik::NotImplemented("BQ_TOPOL_range_vector");
}

int BQ_GEOM_transform_2(int /*n*/, const int* /*geoms*/, int /*transf*/, const BQ_GEOM_transform_o_t* /*options*/, int* /*results*/, unsigned char* /*result_flags*/) {
  return brennik::NotImplemented("BQ_GEOM_transform_2");
}

int BQ_TRANSF_create(const BQ_TRANSF_sf_t* /*sf*/, int* /*transf*/) {
  return brennik::NotImplemented("BQ_TRANSF_create");
}

int BQ_TRANSF_ask(int /*transf*/, BQ_TRANSF_sf_t* /*sf*/) {
  return brennik::NotImplemented("BQ_TRANSF_ask");
}

int BQ_TRANSF_transform(int /*first*/, int /*second*/, int* /*result*/) {
  return brennik::NotImplemented("BQ_TRANSF_transform");
}

int BQ_TRANSF_create_equal_scale(double /*scale*/, BQ_VECTOR_t /*centre*/, int* /*transf*/) {
  return brennik::NotImplemented("BQ_TRANSF_create_equal_scale");
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
