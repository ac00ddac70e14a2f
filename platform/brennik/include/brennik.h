// The solid-modelling kernel: the BQ_ interface the toolkit is written against.
//
// Conventions of every call:
// - Tags are plain ints from one session-wide counter; a tag is never reused. 0 is "no entity".
// - Every call returns a BQ_ERROR code: 0 (BQ_ERROR_no_errors) on success. On failure the
//   outputs are left as the caller preset them (except arrays, which are set to null/0), the
//   model is unchanged, and the registered error callback is told (function, code, token,
//   severity).
// - Arrays returned by the kernel are allocated by it and freed by the caller with
//   BQ_MEMORY_free; an empty answer gives a count of 0 and a null array.
// - Option records ("_o_t") start with their version; result records ("_r_t") are freed with
//   their "_r_f" call, which is harmless on an emptied or already freed record.
// - Null output pointers, dead tags, tags of the wrong class and negative counts are refused
//   with an argument error (BQ_ERROR_bad_tag, BQ_ERROR_wrong_class, BQ_ERROR_null_arg,
//   BQ_ERROR_bad_value), never a crash.
#pragma once

#include <cstddef>

// ---------------------------------------------------------------------------------------------
// Errors, tokens and class codes
// ---------------------------------------------------------------------------------------------

// Error codes. The first group are argument errors (the toolkit counts them when asked).
enum BQ_ERROR_code_t {
  BQ_ERROR_no_errors = 0,
  BQ_ERROR_bad_tag = 10,               // tag names no live entity of the session
  BQ_ERROR_null_arg = 22,              // a required pointer argument is null
  BQ_ERROR_bad_value = 511,            // a numeric argument is out of range
  BQ_ERROR_bad_option_version = 908,   // an option record of an unknown version
  BQ_ERROR_wrong_class = 5002,         // the tag names an entity of another class
  BQ_ERROR_not_same_partition = 5008,  // entities of one call lie in different partitions
  BQ_ERROR_bad_count = 5019,           // a negative count, or an empty array where one is needed
  BQ_ERROR_not_in_part = 5036,         // the entity does not belong to the given part/group
  BQ_ERROR_already_member = 5170,      // the entity is already a member / attached
  BQ_ERROR_not_implemented = 9999,     // the kernel has no such operation (yet)
  BQ_ERROR_bad_name = 18001,           // an empty or unknown name
  BQ_ERROR_bad_field = 18505,          // attribute field index or type does not match
  BQ_ERROR_bad_owner = 18513,          // the attribute definition does not allow that owner
  BQ_ERROR_not_at_mark = 18524,        // the partition mark belongs to another partition
  BQ_ERROR_no_session = 18527,         // no kernel session is running
  // Errors of failed operations.
  BQ_ERROR_fatal = 901,                // severity 3: the session is broken (test control only)
  BQ_ERROR_memory_full = 947,          // severity 3
  BQ_ERROR_run_time_error = 948,       // severity 3
  BQ_ERROR_corrupt_session = 5016,     // severity 3
  BQ_ERROR_operation_failed = 931,     // the modelling operation did not succeed
  BQ_ERROR_geometry_failure = 18030,   // the geometry engine raised a failure inside the call
  BQ_ERROR_aborted = 965,              // the abort cannot be done by the kernel: caller tidies
  BQ_ERROR_not_in_kernel = 966,        // an abort was asked while no kernel call runs
  BQ_ERROR_offset_failed = 5025,       // the surface cannot be offset by that distance
  BQ_ERROR_offset_is_copy = 5026,      // offset by 0: the result would be the surface itself
  BQ_ERROR_file_failure = 18100,       // a transmit/receive file cannot be opened or read
  BQ_ERROR_bad_transmit_data = 18101,  // the data received is not kernel transmit data
  BQ_ERROR_section_failed = 18200,     // the section could not be made
  BQ_ERROR_blend_failed = 18201,       // blend identification failed
  BQ_ERROR_has_children = 18202,       // the partition still holds entities and may not go
  BQ_ERROR_mark_deleted = 18203        // the partition mark was deleted
};

// Error severities reported to the error callback.
enum BQ_ERROR_severity_t { BQ_ERROR_mild = 1, BQ_ERROR_serious = 2, BQ_ERROR_fatal_severity = 3 };

// Kernel class codes (the subclass tree is answered by BQ_CLASS_is_subclass).
enum BQ_CLASS_t {
  BQ_CLASS_null = 500, BQ_CLASS_mark = 506, BQ_CLASS_pmark = 507, BQ_CLASS_partition = 508,
  BQ_CLASS_geom = 1001, BQ_CLASS_topol = 1002, BQ_CLASS_attrib = 1003,
  BQ_CLASS_curve = 2002, BQ_CLASS_surf = 2003, BQ_CLASS_transf = 2004, BQ_CLASS_point = 2501,
  BQ_CLASS_line = 3001, BQ_CLASS_circle = 3002, BQ_CLASS_ellipse = 3003, BQ_CLASS_icurve = 3004,
  BQ_CLASS_bcurve = 3005, BQ_CLASS_spcurve = 3006, BQ_CLASS_fcurve = 3007, BQ_CLASS_cpcurve = 3008,
  BQ_CLASS_trcurve = 3009,
  BQ_CLASS_plane = 4001, BQ_CLASS_cyl = 4002, BQ_CLASS_cone = 4003, BQ_CLASS_sphere = 4004,
  BQ_CLASS_torus = 4005, BQ_CLASS_bsurf = 4006, BQ_CLASS_blendsf = 4007, BQ_CLASS_offset = 4008,
  BQ_CLASS_swept = 4009, BQ_CLASS_spun = 4010, BQ_CLASS_fsurf = 4011,
  BQ_CLASS_vertex = 5001, BQ_CLASS_edge = 5002, BQ_CLASS_loop = 5003, BQ_CLASS_face = 5004,
  BQ_CLASS_shell = 5005, BQ_CLASS_body = 5006, BQ_CLASS_instance = 5007,
  BQ_CLASS_assembly = 5008, BQ_CLASS_fin = 5010, BQ_CLASS_region = 5011, BQ_CLASS_part = 5012,
  BQ_CLASS_ki_list = 6002, BQ_CLASS_attdef = 6003, BQ_CLASS_appitem = 6004, BQ_CLASS_group = 6005
};

// Tokens (five-digit codes) passed in option and result records.
enum BQ_token_t {
  BQ_BB_status_on = 14500, BQ_BB_status_off = 14501,
  BQ_PARAM_periodic_yes = 18020, BQ_PARAM_periodic_no = 18021,
  BQ_PART_format_text = 18220, BQ_PART_format_binary = 18222,
  BQ_range_result_found = 18270, BQ_range_result_not_found = 18271,
  BQ_FACE_heal_cap = 18083,
  BQ_TOPOL_track_delete = 21500, BQ_TOPOL_track_merge = 21501, BQ_TOPOL_track_create = 21502,
  BQ_TOPOL_track_split = 21503, BQ_TOPOL_track_derive = 21504,
  // Debug body compare: the two result tokens and the codes of its reports.
  BQ_DEBUG_topology_same = 21921, BQ_DEBUG_topology_differs = 21922,
  BQ_DEBUG_geometry_same = 21931, BQ_DEBUG_geometry_differs = 21932,
  BQ_DEBUG_geometry_not_compared = 21933,
  BQ_DEBUG_report_body_type = 21941,    // the bodies are of different types
  BQ_DEBUG_report_count = 21942,        // different numbers of faces, edges or vertices
  BQ_DEBUG_report_unpaired = 21943,     // an entity has no counterpart
  BQ_DEBUG_report_class = 21944,        // paired entities of different classes
  BQ_DEBUG_report_geometry = 21945,     // paired entities on different geometry
  BQ_DEBUG_report_face_sense = 21946,   // paired faces of different sense or edge count
  BQ_DEBUG_report_identifier = 21949,   // the same entity under another identifier
  BQ_DEBUG_report_attributes = 21959,   // paired entities carrying different attributes
  BQ_BLEND_form_any = 22220,
  BQ_BLEND_identify_face = 22240,        // the given faces alone, one set per blend face
  BQ_BLEND_identify_exc_min_chain = 22241, // tangent chain of equal radius, corner patches left out
  BQ_BLEND_identify_inc_min_chain = 22242, // tangent chain of equal radius, corner patches included
  BQ_BLEND_identify_max_chain = 22243,   // every tangent-connected blend, one set per radius
  BQ_BLEND_identify_dependent = 22244,   // the blends rolling on the given faces, by chain of equal radius
  BQ_GEOM_transform_in_place = 23820, BQ_GEOM_transform_copy = 23821,
  BQ_BLEND_chain_any = 24160,
  BQ_BLEND_convexity_any = 8600,
  BQ_SECTION_result_body = 5604,
  BQ_ATTDEF_class_normal = 5806,
  BQ_FIELD_type_int = 5901, BQ_FIELD_type_real = 5902, BQ_FIELD_type_string = 5903,
  BQ_FIELD_type_pointer = 5909,
  BQ_BODY_type_solid = 5601, BQ_BODY_type_sheet = 5602, BQ_BODY_type_wire = 5603,
  BQ_BODY_type_minimum = 5605, BQ_BODY_type_general = 5606, BQ_BODY_type_empty = 5607,
  BQ_SESSION_abort_normal = 1, BQ_SESSION_abort_hard = 2
};

// ---------------------------------------------------------------------------------------------
// Plain value records
// ---------------------------------------------------------------------------------------------

struct BQ_VECTOR_t { double coord[3]; };
struct BQ_UV_t { double param[2]; };
// Low u, low v, high u, high v.
struct BQ_UVBOX_t { double param[4]; };
struct BQ_INTERVAL_t { double value[2]; };

// Location and axis (lines); location, axis and reference direction (the rest).
struct BQ_AXIS1_sf_t { BQ_VECTOR_t location; BQ_VECTOR_t axis; };
struct BQ_AXIS2_sf_t { BQ_VECTOR_t location; BQ_VECTOR_t axis; BQ_VECTOR_t ref_direction; };

struct BQ_POINT_sf_t { BQ_VECTOR_t position; };
struct BQ_LINE_sf_t { BQ_AXIS1_sf_t basis_set; };
struct BQ_CIRCLE_sf_t { BQ_AXIS2_sf_t basis_set; double radius; };
struct BQ_ELLIPSE_sf_t { BQ_AXIS2_sf_t basis_set; double R1; double R2; };
// The plane's axis is its normal.
struct BQ_PLANE_sf_t { BQ_AXIS2_sf_t basis_set; };
struct BQ_CYL_sf_t { BQ_AXIS2_sf_t basis_set; double radius; };
// Radius at the location; the cone opens along the axis by the half angle (radians).
struct BQ_CONE_sf_t { BQ_AXIS2_sf_t basis_set; double radius; double half_angle; };
struct BQ_SPHERE_sf_t { BQ_AXIS2_sf_t basis_set; double radius; };
struct BQ_TORUS_sf_t { BQ_AXIS2_sf_t basis_set; double major_radius; double minor_radius; };
// An offset surface: the surface it offsets and the distance along that surface's normal.
struct BQ_OFFSET_sf_t { int underlying_surface; double offset_distance; };
// A 4x4 matrix applied to column vectors: rotation/scale in [0..2][0..2], translation in
// [0..2][3], bottom row (0, 0, 0, 1).
struct BQ_TRANSF_sf_t { double matrix[4][4]; };

// One surface parameter: its range, whether it is periodic (BQ_PARAM_periodic_yes/no), the
// period (0 when not periodic).
struct BQ_PARAM_sf_t { BQ_INTERVAL_t range; int periodic; double period; };

// ---------------------------------------------------------------------------------------------
// Callback tables
// ---------------------------------------------------------------------------------------------

// What the error callback is told; strings stay valid during the callback only.
struct BQ_ERROR_report_t {
  const char* function;  // the kernel function that failed
  int code;              // BQ_ERROR code
  const char* token;     // the code's name, e.g. "BQ_ERROR_bad_tag"
  int severity;          // BQ_ERROR_severity_t
};
// Returns the code the kernel goes on with. May throw (a frame unwinding the call): the kernel
// restores its own call state on the way out.
typedef int (*BQ_ERROR_handler_f_t)(const BQ_ERROR_report_t* report);
struct BQ_ERROR_callbacks_t { BQ_ERROR_handler_f_t handler_fn; };

// The frustrum: functions the kernel calls back. The second entry is called when an abort
// asked for with BQ_SESSION_abort completes inside a running kernel call.
typedef void (*BQ_FRUSTRUM_f_t)(int* ifail);
struct BQ_SESSION_frustrum_t {
  BQ_FRUSTRUM_f_t fstart;   // called when a session starts (may be null)
  BQ_FRUSTRUM_f_t fabort;   // called when an abort completes (may be null: the call just fails)
  BQ_FRUSTRUM_f_t fstop;    // called when a session stops (may be null)
};

// Attribute callbacks, all of one shape: (entity the attribute sits on, that attribute,
// the attribute on the other entity or 0, the other entity or 0).
// split: other = the new piece; merge: entity = survivor, other = the entity merged away;
// delete: other and its attribute are 0; copy: other = the copy.
typedef void (*BQ_ATTDEF_callback_f_t)(int entity, int attrib, int other_attrib, int other_entity);
struct BQ_ATTDEF_callback_fns_t {
  BQ_ATTDEF_callback_f_t split_fn;
  BQ_ATTDEF_callback_f_t merge_fn;
  BQ_ATTDEF_callback_f_t delete_fn;
  BQ_ATTDEF_callback_f_t copy_fn;
};
struct BQ_ATTDEF_callback_flags_t {
  bool split_cb, merge_cb, delete_cb, copy_cb, transmit_cb, receive_cb;
};

// Attribute definition form: name, class (BQ_ATTDEF_class_normal), the owner classes allowed,
// and the fields (types BQ_FIELD_type_..., names).
struct BQ_ATTDEF_sf_t {
  const char* name;
  int attdef_class;
  int n_owner_types;
  const int* owner_types;
  int n_fields;
  const int* field_types;
  const char* const* field_names;
};

// ---------------------------------------------------------------------------------------------
// Option and result records
// ---------------------------------------------------------------------------------------------

struct BQ_SESSION_start_o_t { int o_t_version; bool rollback_on; bool check_arguments; };
struct BQ_PARTITION_delete_o_t { int o_t_version; bool delete_non_empty; };
// want_* ask for the faces, edges and vertices created / modified / deleted since the mark the
// partition last stood at ("modified" by geometry: surface or curve or boundary changed).
struct BQ_PARTITION_make_pmark_o_t { int o_t_version; bool want_new; bool want_mod; bool want_del; };
// make_current: also make the partition current; want_*: as for marks, relative to the state
// the partition leaves.
struct BQ_PMARK_goto_o_t { int o_t_version; bool make_current; bool want_new; bool want_mod; bool want_del; };

struct BQ_PART_delete_attribs_o_t { int o_t_version; int owner_class; /* 0: every owner */ };
// From version 3: attributes of the listed definitions stay out of the data, and so does every
// group carrying one (with all of its attributes), as if they had been deleted first.
struct BQ_PART_transmit_o_t {
  int o_t_version;
  int format;
  bool transmit_addon_data;
  int n_left_out_attdefs = 0;
  const int* left_out_attdefs = nullptr;
};
struct BQ_PART_receive_o_t { int o_t_version; int format; bool receive_addon_data; };

// Memory form of transmitted parts: a chain of blocks, read in order.
struct BQ_MEMORY_block_t { std::size_t n_bytes; char* bytes; BQ_MEMORY_block_t* next; };

struct BQ_range_end_t { int entity; BQ_VECTOR_t vector; double parameters[2]; };
// result: BQ_range_result_found / _not_found; end[0] lies on the first argument.
struct BQ_range_r_t { int result; double distance; BQ_range_end_t end[2]; };
struct BQ_TOPOL_range_o_t { int o_t_version; double tolerance; };

struct BQ_GEOM_transform_o_t {
  int o_t_version; double tolerance; int transform_mode; /* in place or copy */
  bool want_results; bool allow_approximation;
};

struct BQ_BODY_transform_o_t { int o_t_version; bool want_tracking; bool local_check; };

// Track records: one change of topology, originals (inputs) paired position by position with
// products where the operation says so.
struct BQ_TOPOL_track_record_r_t {
  int track;   // BQ_TOPOL_track_...
  int n_original_topols; int* original_topols;
  int n_product_topols; int* product_topols;
};
struct BQ_TOPOL_track_r_t { int n_track_records; BQ_TOPOL_track_record_r_t* track_records; };
struct BQ_TOPOL_local_r_t { int n_results; int* faces; int* states; };

struct BQ_BODY_make_section_o_t {
  int o_t_version; double tolerance; double min_length; bool merge_edges; bool want_tracking;
  int result_type;  // BQ_SECTION_result_body
};
struct BQ_BODY_make_section_r_t { int status; int n_bodies; int* bodies; };

struct BQ_FACE_identify_blends_o_t {
  int o_t_version;
  int form;              // BQ_BLEND_form_any
  double min_radius;     // 0: no lower limit
  double max_radius;     // 0: no upper limit
  int convexity;         // BQ_BLEND_convexity_any
  bool have_tolerance;
  double tolerance;      // linear tolerance for tangency and radius tests (0: the precision)
  bool want_radius;
  bool want_report;      // write a report file "BQ_FACE_identify_blends_%04d" (kept off here)
  int chain;             // BQ_BLEND_chain_any
  bool stop_at_vertex_blends;
  double max_angle;      // 0: no limit
};
struct BQ_FACE_blend_set_t { int n_faces; int* faces; double radius; int n_unders; int* unders; };
struct BQ_FACE_identify_blends_r_t { int n_blends; BQ_FACE_blend_set_t* blends; };

struct BQ_FACE_delete_o_t { int o_t_version; int heal_action; bool allow_disjoint; bool local_check; };
struct BQ_FACE_make_sheet_o_t { int o_t_version; bool want_tracking; };

struct BQ_DEBUG_BODY_compare_o_t {
  int o_t_version;
  int max_reports;            // reports returned at most (0: no limit)
  bool compare_body_type;     // BQ_DEBUG_report_body_type
  bool compare_counts;        // BQ_DEBUG_report_count; unequal counts end the comparison
  bool compare_faces;         // faces are compared entity by entity
  bool compare_edges;         // edges likewise
  bool compare_vertices;      // vertices likewise
  bool compare_geometry;      // BQ_DEBUG_report_geometry, within the tolerance
  bool compare_face_senses;   // BQ_DEBUG_report_face_sense
  bool compare_identifiers;   // pair by identifier (else by traversal order); an entity equal to
                              // its traversal counterpart under another identifier gives
                              // BQ_DEBUG_report_identifier
  bool compare_attributes;    // BQ_DEBUG_report_attributes: the number of attributes per entity
  double tolerance;           // 0: the precision
};
struct BQ_DEBUG_BODY_compare_report_t { int code; int entity1; int entity2; };
// topology_result: BQ_DEBUG_topology_same when nothing but geometry was reported;
// geometry_result: BQ_DEBUG_geometry_same, _differs, or _not_compared after unequal counts.
// The tokens count every difference; the reports stop at max_reports.
struct BQ_DEBUG_BODY_compare_r_t {
  int topology_result;
  int geometry_result;
  int n_reports;
  BQ_DEBUG_BODY_compare_report_t* reports;
};

// ---------------------------------------------------------------------------------------------
// Memory
// ---------------------------------------------------------------------------------------------

// Frees an array the kernel returned; null is allowed.
void BQ_MEMORY_free(void* pointer);
// Frees a chain of memory blocks returned by BQ_PART_transmit_b; null is allowed.
void BQ_MEMORY_block_f(BQ_MEMORY_block_t* block);

// ---------------------------------------------------------------------------------------------
// Session
// ---------------------------------------------------------------------------------------------

// Starts the one session (null options: rollback on, argument checks on). Fails when running.
int BQ_SESSION_start(const BQ_SESSION_start_o_t* options);
// Stops the session and frees everything in it; BQ_ERROR_no_session when none runs.
int BQ_SESSION_stop();
// Whether a session runs (never fails).
bool BQ_SESSION_is_running();
// The session's linear precision (1e-8); fails without a session.
int BQ_SESSION_ask_precision(double* precision);
// Whether partition rollback is on.
int BQ_SESSION_is_rollback_on(bool* on);
int BQ_SESSION_ask_check_arguments(bool* on);
int BQ_SESSION_set_check_arguments(bool on);
// Name of the kernel function being run ("" when none); the pointer stays valid until the next call.
int BQ_SESSION_ask_function(const char** name);
// Whether a kernel call is running.
int BQ_SESSION_is_in_kernel(bool* in_kernel);
// Asks the running call to abort. Mode 1: the call stops at its next check and calls the
// frustrum's abort entry; mode 2 (or no abort entry): BQ_ERROR_aborted, the caller tidies.
// BQ_ERROR_not_in_kernel when no call runs.
int BQ_SESSION_abort(int mode);
// Clears the running-call state after an interrupted call (always succeeds).
int BQ_SESSION_tidy();
int BQ_SESSION_ask_frustrum(BQ_SESSION_frustrum_t* frustrum);
int BQ_SESSION_register_frustrum(const BQ_SESSION_frustrum_t* frustrum);
// Current partition (0 only without a session).
int BQ_SESSION_ask_curr_partition(int* partition);
int BQ_SESSION_ask_kernel_version(int* major, int* minor, int* build);

// Bulletin board status (board 0 only): BQ_BB_status_on / _off.
int BQ_BB_ask_status(int board, int* status);

// ---------------------------------------------------------------------------------------------
// Errors
// ---------------------------------------------------------------------------------------------

int BQ_ERROR_ask_callbacks(BQ_ERROR_callbacks_t* callbacks);
// Registers the error callback (a null handler removes it).
int BQ_ERROR_register_callbacks(const BQ_ERROR_callbacks_t* callbacks);
// The last error reported (code 0 when none since the last clear).
int BQ_ERROR_ask_last(BQ_ERROR_report_t* report);
int BQ_ERROR_clear_last();
// Raises an application error through the kernel: the callback sees function "BQ_ERROR_raise".
// Returns what the callback returned (the code when there is no callback).
int BQ_ERROR_raise(int code, const char* token, int severity);

// ---------------------------------------------------------------------------------------------
// Classes and entities
// ---------------------------------------------------------------------------------------------

// Whether class `cls` is `super` or below it (e.g. BQ_CLASS_plane under BQ_CLASS_surf).
int BQ_CLASS_is_subclass(int cls, int super, bool* is_subclass);
// Whether the tag names a live entity (geometry, topology, attribute, group, transform,
// attribute definition, partition mark); false for 0, dead tags and application items.
int BQ_ENTITY_is(int tag, bool* is_entity);
int BQ_ENTITY_is_geom(int tag, bool* is_geom);
int BQ_ENTITY_is_topol(int tag, bool* is_topol);
// Class of a live entity; BQ_ERROR_bad_tag for anything else.
int BQ_ENTITY_ask_class(int tag, int* cls);
// The per-body identifier of a face, edge, vertex, fin, body or body geometry.
int BQ_ENTITY_ask_identifier(int tag, int* identifier);
// The partition of an entity (body, geometry, topology, group, attribute, transform, appitem).
int BQ_ENTITY_ask_partition(int tag, int* partition);
// Copies a body (with its groups and attributes, firing copy callbacks) or a free geometry
// or transform into the same partition; the copy of a body's face/edge/vertex is refused.
int BQ_ENTITY_copy(int tag, int* copy);
// Deletes entities: bodies, free geometry, transforms, groups, attributes, attribute-owning
// groups. All tags are checked first; one bad tag deletes nothing.
int BQ_ENTITY_delete(int n, const int* entities);
// Attributes of an entity (of one definition, or every definition when attdef is 0).
int BQ_ENTITY_ask_attribs(int entity, int attdef, int* n_attribs, int** attribs);
// The first attribute of that definition, 0 when none.
int BQ_ENTITY_ask_first_attrib(int entity, int attdef, int* attrib);
// The groups that hold the entity, in group creation order.
int BQ_ENTITY_ask_owning_groups(int entity, int* n_groups, int** groups);

// ---------------------------------------------------------------------------------------------
// Partitions and partition marks
// ---------------------------------------------------------------------------------------------

int BQ_PARTITION_create_empty(int* partition);
// Deletes a partition with its entities, marks and application items; a non-empty one needs
// delete_non_empty (else BQ_ERROR_has_children); the current partition is refused
// (BQ_ERROR_bad_value).
int BQ_PARTITION_delete(int partition, const BQ_PARTITION_delete_o_t* options);
int BQ_PARTITION_is(int tag, bool* is_partition);
int BQ_PARTITION_set_current(int partition);
// A mark of the partition's whole state (application items excepted).
int BQ_PARTITION_make_pmark(int partition, int* pmark);
// As above, also listing the faces, edges and vertices created, modified and deleted since the
// mark the partition last stood at (every null list pointer pair is skipped).
int BQ_PARTITION_make_pmark_2(int partition, const BQ_PARTITION_make_pmark_o_t* options, int* pmark,
                              int* n_new, int** new_entities, int* n_mod, int** mod_entities,
                              int* n_del, int** del_entities);
// The mark the partition stands exactly at (is_at_pmark false and 0 when it has changed since).
int BQ_PARTITION_ask_pmark(int partition, int* pmark, bool* is_at_pmark);
// The bodies of a partition, and its free geometry (orphan or attached), in tag order.
int BQ_PARTITION_ask_bodies(int partition, int* n_bodies, int** bodies);
int BQ_PARTITION_ask_geoms(int partition, int* n_geoms, int** geoms);
// Every live mark of the partition, oldest first.
int BQ_PARTITION_ask_pmarks(int partition, int* n_pmarks, int** pmarks);
// Moves the mark's partition to the mark's state, backwards or forwards; every tag comes back.
int BQ_PMARK_goto_2(int pmark, const BQ_PMARK_goto_o_t* options, int* n_new, int** new_entities,
                    int* n_mod, int** mod_entities, int* n_del, int** del_entities);
// The mark the partition stood at when this one was made (0 when none).
int BQ_PMARK_ask_preceding(int pmark, int* preceding);
int BQ_PMARK_ask_partition(int pmark, int* partition);
// Deletes marks; the marks that could not be deleted (dead tags) are listed in failed.
int BQ_PMARK_delete(int n, const int* pmarks, int* n_failed, int** failed);

// ---------------------------------------------------------------------------------------------
// Application items (not rolled back by partition marks)
// ---------------------------------------------------------------------------------------------

// Creates an item in the current partition holding one pointer (null allowed).
int BQ_APPITEM_create(void* pointer, int* item);
int BQ_APPITEM_is(int tag, bool* is_item);
int BQ_APPITEM_ask(int item, void** pointer);
int BQ_APPITEM_delete(int n, const int* items);

// ---------------------------------------------------------------------------------------------
// Attribute definitions and attributes
// ---------------------------------------------------------------------------------------------

// The definition of that name, 0 when none (an empty name is BQ_ERROR_bad_name).
int BQ_ATTDEF_find(const char* name, int* attdef);
// Creates a definition; the name must be new.
int BQ_ATTDEF_create_2(const BQ_ATTDEF_sf_t* form, int* attdef);
int BQ_ATTDEF_ask_name(int attdef, const char** name);
int BQ_ATTDEF_register_cb(int attdef, const BQ_ATTDEF_callback_fns_t* fns);
int BQ_ATTDEF_set_callback_flags(int attdef, const BQ_ATTDEF_callback_flags_t* flags);
int BQ_ATTDEF_ask_callback_flags(int attdef, BQ_ATTDEF_callback_flags_t* flags);

// An attribute with empty fields on an entity whose class the definition allows.
int BQ_ATTRIB_create_empty(int owner, int attdef, int* attrib);
int BQ_ATTRIB_ask_attdef(int attrib, int* attdef);
int BQ_ATTRIB_ask_owner(int attrib, int* owner);
// Integer field `field` (by index) set to n values / read value n (0-based).
int BQ_ATTRIB_set_ints(int attrib, int field, int n, const int* values);
int BQ_ATTRIB_ask_ints(int attrib, int field, int* n, int** values);
int BQ_ATTRIB_ask_nth_int(int attrib, int field, int n, int* value);
int BQ_ATTRIB_set_doubles(int attrib, int field, int n, const double* values);
int BQ_ATTRIB_ask_doubles(int attrib, int field, int* n, double** values);
int BQ_ATTRIB_set_string(int attrib, int field, const char* text);
int BQ_ATTRIB_ask_string(int attrib, int field, char** text);
// Pointer field by name.
int BQ_ATTRIB_set_named_pointers(int attrib, const char* field_name, int n, void* const* pointers);
int BQ_ATTRIB_ask_named_pointers(int attrib, const char* field_name, int* n, void*** pointers);

// Attributes of a part (its body, topology, groups and attached geometry) of one definition.
int BQ_PART_ask_all_attribs(int part, int attdef, int* n_attribs, int** attribs);
// Deletes the part's attributes of the given definitions (owners restricted by the options).
int BQ_PART_delete_attribs(int part, int n_attdefs, const int* attdefs,
                           const BQ_PART_delete_attribs_o_t* options);

// ---------------------------------------------------------------------------------------------
// Groups (members keep the order they were added in)
// ---------------------------------------------------------------------------------------------

// A group of the part holding the given entities of the part (n may be 0).
int BQ_GROUP_create_from_entities(int part, int group_class, int n, const int* entities, int* group);
// Adds entities; one already in the group refuses the call (BQ_ERROR_already_member).
int BQ_GROUP_add_entities(int group, int n, const int* entities);
// Adds the entities not yet in the group.
int BQ_GROUP_merge_entities(int group, int n, const int* entities);
// Removes entities; one not in the group refuses the call (BQ_ERROR_not_in_part).
int BQ_GROUP_remove_entities(int group, int n, const int* entities);
int BQ_GROUP_ask_entities(int group, int* n, int** entities);
int BQ_GROUP_ask_part(int group, int* part);
int BQ_PART_ask_groups(int part, int* n_groups, int** groups);

// ---------------------------------------------------------------------------------------------
// Parts, bodies and topology (a part is a body here)
// ---------------------------------------------------------------------------------------------

// Entity of a class with an identifier in the part: faces, edges, vertices, the body, fins,
// the body's curves/surfaces/points (searched by class or super class) and attached geometry.
// 0 when none.
int BQ_PART_find_entity_by_ident(int part, int cls, int identifier, int* entity);
// Free geometry attached to the part.
int BQ_PART_ask_geoms(int part, int* n_geoms, int** geoms);
// Attaches orphan geometry of the part's partition to the part.
int BQ_PART_add_geoms(int part, int n, const int* geoms);
// Detaches geometry from the part (it becomes orphan); n_removed counts those detached.
int BQ_PART_remove_geoms(int part, int n, const int* geoms, int* n_removed);

int BQ_BODY_ask_type(int body, int* body_type);
int BQ_BODY_ask_faces(int body, int* n_faces, int** faces);
int BQ_BODY_ask_edges(int body, int* n_edges, int** edges);
int BQ_BODY_ask_vertices(int body, int* n_vertices, int** vertices);
// Moves a body (with its groups, attributes and attached geometry) into another partition.
int BQ_BODY_change_partition(int body, int partition);
// Transforms a body by a rigid or equal-scale transform (tracking and local results are empty).
int BQ_BODY_transform_2(int body, int transf, double tolerance, const BQ_BODY_transform_o_t* options,
                        BQ_TOPOL_track_r_t* tracking, BQ_TOPOL_local_r_t* local_results);
int BQ_BODY_reverse_orientation(int body);
// The volume the body's solids enclose (0 for a sheet or wire body).
int BQ_BODY_ask_volume(int body, double* volume);
// Sections bodies by surfaces (planes): one section body (wire) per call. Tracking holds one
// record per section entity: originals {cut face or cut edge, surface}, product {edge or vertex}.
int BQ_BODY_make_section_with_surfs(int n_bodies, const int* bodies, int n_surfs, const int* surfs,
                                   const BQ_BODY_make_section_o_t* options,
                                   BQ_TOPOL_track_r_t* tracking, BQ_BODY_make_section_r_t* results);
void BQ_BODY_make_section_r_f(BQ_BODY_make_section_r_t* results);
void BQ_TOPOL_track_r_f(BQ_TOPOL_track_r_t* tracking);
void BQ_TOPOL_local_r_f(BQ_TOPOL_local_r_t* results);

int BQ_FACE_ask_body(int face, int* body);
int BQ_EDGE_ask_body(int edge, int* body);
int BQ_VERTEX_ask_body(int vertex, int* body);
int BQ_FACE_ask_edges(int face, int* n_edges, int** edges);
int BQ_FACE_ask_vertices(int face, int* n_vertices, int** vertices);
// Edges both faces have, in the first face's order.
int BQ_FACE_find_edges_common(int face1, int face2, int* n_edges, int** edges);
int BQ_EDGE_ask_faces(int edge, int* n_faces, int** faces);
// The edge's two vertices (0 for a closed edge without vertices; both the same for a ring edge).
int BQ_EDGE_ask_vertices(int edge, int vertices[2]);
int BQ_EDGE_ask_fins(int edge, int* n_fins, int** fins);
int BQ_VERTEX_ask_faces(int vertex, int* n_faces, int** faces);
// Edges at the vertex with, per edge, whether the edge starts (true) or ends there.
int BQ_VERTEX_ask_oriented_edges(int vertex, int* n_edges, int** edges, bool** starts_here);
int BQ_FIN_ask_edge(int fin, int* edge);
int BQ_FIN_ask_face(int fin, int* face);
// Whether the fin runs along its edge's direction.
int BQ_FIN_is_positive(int fin, bool* positive);
// Face and body: the fin's curve (its edge's curve).
int BQ_FIN_ask_geometry(int fin, int* curve);

// ---------------------------------------------------------------------------------------------
// Geometry attached to topology
// ---------------------------------------------------------------------------------------------

int BQ_VERTEX_ask_point(int vertex, int* point);
int BQ_EDGE_ask_curve(int edge, int* curve);
int BQ_EDGE_ask_geometry(int edge, int* curve);
// The curve and whether the edge runs along it.
int BQ_EDGE_ask_oriented_curve(int edge, int* curve, bool* orientation);
// The surface (shared by every face of the body that lies on it).
int BQ_FACE_ask_surf(int face, int* surf);
// The surface and whether the face's outward normal agrees with the surface normal. A
// surface's normal is always that of its standard form (away from the axis or centre of a
// cylinder, cone, sphere or torus; along the axis of a plane), so that a surface made again
// from its standard form carries the face with the same sense.
int BQ_FACE_ask_oriented_surf(int face, int* surf, bool* orientation);
// Faces on a surface.
int BQ_SURF_ask_faces(int surf, int* n_faces, int** faces);
// The part a geometry belongs to (the body it lies under, or the part it is attached to; 0
// for orphan geometry).
int BQ_CURVE_ask_part(int curve, int* part);
int BQ_SURF_ask_part(int surf, int* part);
int BQ_POINT_ask_part(int point, int* part);

// ---------------------------------------------------------------------------------------------
// Geometry: standard forms, creation, evaluation
// ---------------------------------------------------------------------------------------------

// Standard forms; BQ_ERROR_wrong_class when the geometry is of another class.
int BQ_POINT_ask(int point, BQ_POINT_sf_t* sf);
int BQ_LINE_ask(int line, BQ_LINE_sf_t* sf);
int BQ_CIRCLE_ask(int circle, BQ_CIRCLE_sf_t* sf);
int BQ_ELLIPSE_ask(int ellipse, BQ_ELLIPSE_sf_t* sf);
int BQ_PLANE_ask(int plane, BQ_PLANE_sf_t* sf);
int BQ_CYL_ask(int cyl, BQ_CYL_sf_t* sf);
int BQ_CONE_ask(int cone, BQ_CONE_sf_t* sf);
int BQ_SPHERE_ask(int sphere, BQ_SPHERE_sf_t* sf);
int BQ_TORUS_ask(int torus, BQ_TORUS_sf_t* sf);
int BQ_OFFSET_ask(int offset, BQ_OFFSET_sf_t* sf);

// Orphan geometry in the current partition. Degenerate forms (zero axis, radius <= 0, cone
// angle outside (0, pi/2)) are BQ_ERROR_bad_value.
int BQ_POINT_create(const BQ_POINT_sf_t* sf, int* point);
int BQ_LINE_create(const BQ_LINE_sf_t* sf, int* line);
int BQ_CIRCLE_create(const BQ_CIRCLE_sf_t* sf, int* circle);
int BQ_PLANE_create(const BQ_PLANE_sf_t* sf, int* plane);
int BQ_CYL_create(const BQ_CYL_sf_t* sf, int* cyl);
int BQ_CONE_create(const BQ_CONE_sf_t* sf, int* cone);
int BQ_SPHERE_create(const BQ_SPHERE_sf_t* sf, int* sphere);
int BQ_TORUS_create(const BQ_TORUS_sf_t* sf, int* torus);
// A minimum body (one vertex) at the point, in the point's partition; the point stays free.
int BQ_POINT_make_minimum_body(int point, int* body);

// A new orphan surface offset by the distance along the surface normal (analytic where the
// offset of an analytic surface is analytic). 0 gives BQ_ERROR_offset_is_copy; a distance that
// collapses the surface gives BQ_ERROR_offset_failed.
int BQ_SURF_offset(int surf, double distance, int* offset_surf);
int BQ_SURF_ask_params(int surf, BQ_PARAM_sf_t params[2]);
// Derivatives at (u, v): with triangular, p holds, in order, for j = 0..n_v_derivs and
// i = 0..(n_u_derivs - j): d^(i+j) S / du^i dv^j, j outer (so for 2, 2: S, Su, Suu, Sv, Suv, Svv);
// without it, the full (n_u+1)*(n_v+1) grid, v outer. Orders above 2 are BQ_ERROR_bad_value.
int BQ_SURF_eval(int surf, BQ_UV_t uv, int n_u_derivs, int n_v_derivs, bool triangular, BQ_VECTOR_t* p);
// As BQ_SURF_eval, plus the unit surface normal.
int BQ_SURF_eval_with_normal(int surf, BQ_UV_t uv, int n_u_derivs, int n_v_derivs, bool triangular,
                             BQ_VECTOR_t* p, BQ_VECTOR_t* normal);
// Parameters of a point that lies on the surface (within the precision); BQ_ERROR_bad_value off it.
int BQ_SURF_parameterise_vector(int surf, BQ_VECTOR_t vector, BQ_UV_t* uv);
int BQ_CURVE_ask_interval(int curve, BQ_INTERVAL_t* interval);
int BQ_CURVE_eval(int curve, double t, int n_derivs, BQ_VECTOR_t* p);
// The face's parameter box on its surface.
int BQ_FACE_find_uvbox(int face, BQ_UVBOX_t* uvbox);
// Whether two geometries are the same point set (same class, same standard form up to sense).
int BQ_GEOM_is_coincident(int geom1, int geom2, bool* coincident);
// Nearest point of a geometry to a position.
int BQ_GEOM_range_vector(int geom, BQ_VECTOR_t vector, const BQ_TOPOL_range_o_t* options, BQ_range_r_t* result);
// Minimum distance between two topological entities, or between an entity and a position.
int BQ_TOPOL_range(int topol1, int topol2, const BQ_TOPOL_range_o_t* options, BQ_range_r_t* result);
int BQ_TOPOL_range_vector(int topol, BQ_VECTOR_t vector, const BQ_TOPOL_range_o_t* options, BQ_range_r_t* result);
// Transforms free geometry: in place (results[i] = geoms[i]) or as copies (results[i] = copy);
// result_flags[i] = 1 when transformed exactly. Geometry under a body is refused.
int BQ_GEOM_transform_2(int n, const int* geoms, int transf, const BQ_GEOM_transform_o_t* options,
                        int* results, unsigned char* result_flags);

// ---------------------------------------------------------------------------------------------
// Transforms (rigid motions with an optional equal scale)
// ---------------------------------------------------------------------------------------------

// A transform from a 4x4 matrix; a rotation part that is not orthogonal times a positive
// scale is BQ_ERROR_bad_value.
int BQ_TRANSF_create(const BQ_TRANSF_sf_t* sf, int* transf);
int BQ_TRANSF_ask(int transf, BQ_TRANSF_sf_t* sf);
// first followed by second.
int BQ_TRANSF_transform(int first, int second, int* result);
// Scale about a centre; a factor <= 0 is BQ_ERROR_bad_value.
int BQ_TRANSF_create_equal_scale(double scale, BQ_VECTOR_t centre, int* transf);

// ---------------------------------------------------------------------------------------------
// Blends
// ---------------------------------------------------------------------------------------------

// Identifies blends from the given faces by kind (BQ_BLEND_identify_...): one set per blend
// face (22240) or per chain of equal radius. Faces that are no blends give no set. With 22244
// the given faces are the faces blends roll on: each set is a chain of equal radius (corner
// patches included) holding a blend that has a given face among its unders; the given faces
// themselves are never in a set, and a face no blend rolls on gives none.
int BQ_FACE_identify_blends(int n_faces, const int* faces, int kind,
                            const BQ_FACE_identify_blends_o_t* options,
                            BQ_FACE_identify_blends_r_t* results);
void BQ_FACE_identify_blends_r_f(BQ_FACE_identify_blends_r_t* results);
// The faces a blend face rolls on (0 of them for a face that is no blend).
int BQ_FACE_find_blend_unders(int face, double tolerance, int* n_unders, int** unders);

// Copies faces of one body into new sheet bodies (one per connected set); tracking pairs each
// face with its copy (BQ_TOPOL_track_create).
int BQ_FACE_make_sheet_bodies(int n_faces, const int* faces, const BQ_FACE_make_sheet_o_t* options,
                              BQ_TOPOL_track_r_t* tracking, int* n_bodies, int** bodies);
// Deletes faces from their body and heals the gap; the bodies that result are listed. When the
// gap cannot be healed into a valid body, BQ_ERROR_operation_failed and the body is unchanged.
int BQ_FACE_delete(int n_faces, const int* faces, const BQ_FACE_delete_o_t* options,
                   BQ_TOPOL_track_r_t* tracking, int* n_bodies, int** bodies);

// ---------------------------------------------------------------------------------------------
// Transmit and receive
// ---------------------------------------------------------------------------------------------

// Writes parts to a file. The key is used as it is when it names an extension, else ".b_t"
// (text) or ".b_b" (binary) is added. Null options: text, with the add-on data (memory forms:
// binary).
int BQ_PART_transmit(int n_parts, const int* parts, const char* key, const BQ_PART_transmit_o_t* options);
// Reads the parts of a file into the current partition (the key as it is, else with the
// format's extension added). Data that is not whole, unchanged transmit data of the form, or
// that would give a body OCCT's checker finds invalid or entities and attributes the direct
// calls would refuse, is refused with BQ_ERROR_bad_transmit_data and changes nothing: no
// entity, no attribute definition, no tag.
int BQ_PART_receive(const char* key, const BQ_PART_receive_o_t* options, int* n_parts, int** parts);
// The same to and from memory. The block chain is freed with BQ_MEMORY_block_f.
int BQ_PART_transmit_b(int n_parts, const int* parts, const BQ_PART_transmit_o_t* options,
                       BQ_MEMORY_block_t** block);
int BQ_PART_receive_b(const BQ_MEMORY_block_t* block, const BQ_PART_receive_o_t* options,
                      int* n_parts, int** parts);

// ---------------------------------------------------------------------------------------------
// Debug
// ---------------------------------------------------------------------------------------------

// Compares two bodies: type, topology counts, and class, geometry, face sense and attributes of
// every face, edge and vertex (paired by identifier, else by traversal order), as the options
// ask; a null options record compares everything. Fails on a tag that is no body.
int BQ_DEBUG_BODY_compare(int body1, int body2, const BQ_DEBUG_BODY_compare_o_t* options,
                          BQ_DEBUG_BODY_compare_r_t* results);
void BQ_DEBUG_BODY_compare_r_f(BQ_DEBUG_BODY_compare_r_t* results);
