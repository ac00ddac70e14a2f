// The add-on layer: direct-modelling operations on the kernel layer's bodies (face cut,
// copy, delete, change, blend reordering, replace with sheet; body paste, hollow, rejoin,
// disjoin), the add-on's persistent relations, shell partners and features, change
// tracking and debug reports.
//
// Conventions:
// - Entities are the kernel layer's tags (int). Every function returns an error code:
//   0 success, otherwise an add-on error (five-digit, see HXR_error_t). A failed call
//   leaves every body as it was.
// - Option records are structs whose first field is the record's version. Enumerated
//   settings inside them are the five-digit tokens below. Pointers are real pointers.
// - Output arrays are allocated by the layer and freed by the caller with the kernel
//   layer's memory-free call; track records with HXR_ENTITY_track_r_f, which may be
//   called twice on the same record.
#pragma once

namespace hxr_layer_version {
constexpr int kMajor = 1;
constexpr int kMinor = 0;
constexpr int kBuild = 1;
}  // namespace hxr_layer_version

// Error codes and statuses.
enum HXR_error_t : int {
  HXR_ERROR_none = 0,
  HXR_ERROR_bad_argument = 18001,
  HXR_ERROR_unsupported = 18002,
  HXR_ERROR_invalid_result = 18003,
  HXR_ERROR_topology_change_needed = 18004,
  HXR_ERROR_face_inverted = 18005,
  HXR_ERROR_algorithm_failed = 18006,
  HXR_ERROR_no_change = 18007,
  HXR_ERROR_not_a_blend = 18008,
  HXR_ERROR_tracking_failed = 18018,        // the call succeeded, its tracking did not
  HXR_ERROR_sheet_tracking_failed = 18030,  // the same for replace-with-sheet
  HXR_STATUS_nothing_to_do = 18502,         // relations already stored; nothing to restore
};

// Tokens.
enum HXR_token_t : int {
  // Track record kinds.
  HXR_TRACK_delete = 50000,
  HXR_TRACK_merge = 50001,
  HXR_TRACK_create = 50002,
  HXR_TRACK_split = 50003,
  HXR_TRACK_derive = 50004,
  HXR_TRACK_modify = 50005,
  // Track record forms.
  HXR_TRACK_FORM_label = 50020,
  HXR_TRACK_FORM_map = 50021,
  // Face change kinds.
  HXR_CHANGE_offset = 50041,
  HXR_CHANGE_taper = 50042,
  HXR_CHANGE_transform = 50043,
  HXR_CHANGE_replace_surface = 50044,
  HXR_CHANGE_reblend = 50045,
  // Face change options.
  HXR_CHANGE_OPTION_default = 50081,
  HXR_EDGES_USE_attempt = 50100,
  HXR_EDGES_USE_yes = 50101,
  HXR_EDGES_USE_existing = 50102,
  HXR_TAPER_METHOD_curve = 50120,
  HXR_TAPER_METHOD_surface = 50121,
  HXR_TAPER_METHOD_isocline = 50122,
  HXR_TAPER_METHOD_offset = 50123,
  HXR_TAPER_METHOD_normal = 50124,
  HXR_LAMINAR_EDGE_normal = 50140,
  HXR_LAMINAR_EDGE_draw = 50141,
  HXR_MERGE_no = 50160,
  HXR_MERGE_in = 50161,
  HXR_MERGE_out = 50162,
  // Paste.
  HXR_PASTE_default = 50200,
  HXR_PASTE_add = 50201,
  HXR_PASTE_subtract = 50202,
  HXR_PASTE_OPTION_default = 50260,
  HXR_PASTE_no_reblend = 50340,
  HXR_PASTE_reblend = 50341,
  // Shell partners: the kind a partner query answers; `none` when the face has none.
  HXR_SHELL_KIND_none = 50221,
  // Reblend change.
  HXR_REBLEND_default = 50242,
  // Hollow local faces.
  HXR_LOCAL_FACES_add = 50280,
  HXR_LOCAL_FACES_exclude = 50281,
  HXR_LOCAL_FACES_none = 50282,
  // Transform change: step faces.
  HXR_STEP_FACE_off = 50300,
  HXR_STEP_FACE_smooth_edges = 50301,
  HXR_STEP_FACE_all_edges = 50302,
  HXR_STEP_FACE_if_not_coincident = 50303,
  // Replace with sheet.
  HXR_SHEET_OPTION_default = 50320,
  // Face cut, version 2: how the gap the faces leave is closed, and how the cut faces are
  // gathered into sheets.
  HXR_CUT_HEAL_default = 23981,
  HXR_CUT_HEAL_none = 23982,
  HXR_CUT_SHEET_connected = 23991,
  HXR_CUT_SHEET_each_face = 23992,
};

// ---- Track records -------------------------------------------------------------------

// One change: the entities before it and the entities it produced. In split, derive and
// copy records product j pairs with original j where both lists run in parallel.
struct HXR_ENTITY_track_record_r_s {
  int track;  // HXR_TRACK_delete ... HXR_TRACK_modify
  int form;   // HXR_TRACK_FORM_label or HXR_TRACK_FORM_map
  int n_originals;
  int* originals;
  int n_products;
  int* products;
};

struct HXR_ENTITY_track_r_s {
  int n_track_records;
  HXR_ENTITY_track_record_r_s* track_records;
};

// ---- Option records --------------------------------------------------------------------

struct HXR_DEBUG_report_start_o_s {
  int version;  // 1
  bool flag;
};

struct HXR_DEBUG_report_stop_o_s {
  int version;  // 1
};

// Version 1 reads the partition alone. Version 2 also reads the rest: the faces leave the
// body (keep_faces false) or stay, tracking is given or not, the gap is healed as a face delete
// heals it (HXR_CUT_HEAL_default; leaving it open is unsupported), the faces form one sheet
// per connected set
// (HXR_CUT_SHEET_connected; a sheet per face is unsupported), and the number of sheets the
// caller accepts (at least 1; more sheets than that is an invalid result).
struct HXR_FACE_cut_o_s {
  int version;    // 1 or 2
  int partition;  // where the new sheet body is made
  bool keep_faces;
  bool want_tracking;
  int heal;
  int sheet_form;
  int max_sheets;
};

struct HXR_FACE_copy_o_s {
  int version;  // 1
  int partition;
};

struct HXR_FACE_delete_o_s {
  int version;  // 1
};

struct HXR_BODY_paste_o_s {
  int version;     // 4
  int paste_type;  // HXR_PASTE_default, HXR_PASTE_add, HXR_PASTE_subtract
  bool flag;
  int option;   // HXR_PASTE_OPTION_default
  // HXR_PASTE_reblend (the default) or HXR_PASTE_no_reblend. With reblend, blends of the
  // target that the tool cuts into are taken off, the tool pasted and the blends made again.
  int reblend;
};

struct HXR_BODY_hollow_o_s {
  int version;  // 1
  int n_pierce_faces;
  int* pierce_faces;
  int n_offset_out_faces;
  int* offset_out_faces;
  double* offset_out_values;
  int n_offset_in_faces;
  int* offset_in_faces;
  double* offset_in_values;
  int local_face_type;  // HXR_LOCAL_FACES_none, _exclude or _add
  int n_local_faces;
  int* local_faces;
};

struct HXR_FACE_reorder_blends_o_s {
  int version;  // 1
  double tolerance;
};

struct HXR_FACE_replace_with_sheet_o_s {
  int version;  // 1
  double tolerance;
  int option;        // HXR_CHANGE_OPTION_default
  int sheet_option;  // HXR_SHEET_OPTION_default
  int reserved[3];
};

// The face-change call's options: edges replaced by given curves, vertices moved to given
// positions, help points; positions are arrays of x, y, z triples.
struct HXR_FACE_change_o_s {
  int version;  // 1
  bool first_flag;
  bool second_flag;
  int option;  // HXR_CHANGE_OPTION_default
  int n_edges;
  int* edges;
  int* curves;
  double* edge_tolerances;
  int edges_use;  // HXR_EDGES_USE_attempt, _yes or _existing
  int n_vertices;
  int* vertices;
  double* vertex_positions;
  double* vertex_tolerances;
  int n_help_edges;
  int* help_edges;
  double* help_edge_positions;
  int n_help_vertices;
  int* help_vertices;
  double* help_vertex_positions;
};

// Per-kind options of one face change.
struct HXR_FACE_change_offset_o_s {
  int version;         // 1
  // The face a partner offset is measured from (another face of the body); 0 for none.
  // The face goes onto the reference's new surface (its change in the same call, else its
  // present surface) moved by the offset along the reference's outward normal.
  int reference_face;
};

struct HXR_FACE_change_taper_o_s {
  int version;  // 1
  int* tapered_edges;
  int n_tapered_edges;
  int* normal_edges;
  int n_normal_edges;
  // Only HXR_TAPER_METHOD_curve and HXR_LAMINAR_EDGE_normal are made, with no edges
  // singled out; any other setting is unsupported.
  int method;        // HXR_TAPER_METHOD_*
  int laminar_edge;  // HXR_LAMINAR_EDGE_*
};

struct HXR_FACE_change_transform_o_s {
  int version;  // 2
  int reserved[3];
  // HXR_STEP_FACE_*, any of them: the neighbours are extended to meet the moved face where
  // they can; where a step face would be needed instead, the change fails with
  // HXR_ERROR_topology_change_needed (no step faces are made).
  int step_face;
};

struct HXR_FACE_change_surface_o_s {
  int version;  // 1
  int merge;    // HXR_MERGE_*; only HXR_MERGE_no is made, the others are unsupported
};

struct HXR_FACE_change_reblend_o_s {
  int version;    // 1
  double radius;  // 0.0 keeps the blend's radius
  int option;     // HXR_REBLEND_default
};

// One face change; the fields of its kind are read, the others are ignored.
struct HXR_FACE_change_s {
  int change;         // HXR_CHANGE_offset ... HXR_CHANGE_reblend
  double offset;      // offset: distance along the outward normal
  int transform;      // transform: kernel transform tag
  int surface;        // replace surface: kernel surface tag
  bool sense;         // replace surface: the surface's normal points out of the body
  double direction[3];  // taper: pull direction
  double angle;         // taper: angle in radians
  int n_edges;          // taper: hinge edges
  int* edges;
  const void* options;  // the kind's option record (HXR_FACE_change_*_o_s)
};

struct HXR_BODY_extract_relations_o_s {
  int version;  // 2
  bool store;   // store the relations (true) or remove them (false)
};

struct HXR_BODY_restore_relations_o_s {
  int version;  // 1
};

struct HXR_FACE_remove_shell_relns_o_s {
  int version;  // 1
};

struct HXR_BODY_is_paste_tool_o_s {
  int version;  // 1
};

struct HXR_FEAT_set_identifier_o_s {
  int version;  // 1
};

struct HXR_TOPOL_make_feat_o_s {
  int version;  // 1
  int n_unders;
  int* unders;
  int* under_labels;
  int n_canonical_unders;
};

struct HXR_PART_find_feats_o_s {
  int version;  // 1
  int identifier;
};

// ---- Calls ----------------------------------------------------------------------------

// Session and reports.
int HXR_SESSION_ask_version(int* major, int* minor, int* build);
// Starts writing the report file (an XML file of one record per add-on call), finishing any
// report still running; a name that cannot be written is a bad argument.
int HXR_DEBUG_report_start(const char* file_name, const HXR_DEBUG_report_start_o_s* options);
// Finishes the running report; nothing when none runs.
int HXR_DEBUG_report_stop(const HXR_DEBUG_report_stop_o_s* options);
// The channel the reports go to; -1 when there is none.
int HXR_REPORT_identify(int* channel);

// Frees the arrays of a track record and empties it; freeing it again does nothing.
int HXR_ENTITY_track_r_f(HXR_ENTITY_track_r_s* tracking);

// Face operations. Each takes its faces from one body; a face of no body, an empty list
// or an option record of another version is a bad argument.
// Copies the faces into a new sheet body in the option's partition, then deletes them from
// their body and heals it; gives the sheet. Faces that cannot be healed away: an error.
int HXR_FACE_cut(int n_faces, const int* faces, const HXR_FACE_cut_o_s* options, int* sheet,
                 HXR_ENTITY_track_r_s* tracking);
// Copies the faces into a new sheet body; their body is unchanged.
int HXR_FACE_copy(int n_faces, const int* faces, const HXR_FACE_copy_o_s* options, int* sheet,
                  HXR_ENTITY_track_r_s* tracking);
// Deletes the faces and heals the body by extending their neighbours.
int HXR_FACE_delete(int n_faces, const int* faces, const HXR_FACE_delete_o_s* options,
                    HXR_ENTITY_track_r_s* tracking);
// Changes each face as its change record says (change_indices[i] picks the record of
// faces[i]), re-intersecting the neighbours; a change that needs new or fewer faces,
// edges or vertices, or turns a face inside out, is an error.
int HXR_FACE_change(int n_faces, const int* faces, const int* change_indices, int n_changes,
                    const HXR_FACE_change_s* changes, double tolerance,
                    const HXR_FACE_change_o_s* options, HXR_ENTITY_track_r_s* tracking);
// Makes the two blend chains again, the first, then the second on the body that carries the
// first, so that where they meet the second rolls over the first. A face that is no blend:
// an error.
int HXR_FACE_reorder_blends(int n_faces, const int* faces, int n_others, const int* others,
                            const HXR_FACE_reorder_blends_o_s* options,
                            HXR_ENTITY_track_r_s* tracking);
// Puts the faces on the surface of the sheet body; a sheet on several surfaces: an error.
int HXR_FACE_replace_with_sheet(int n_faces, const int* faces, int sheet,
                                const HXR_FACE_replace_with_sheet_o_s* options,
                                HXR_ENTITY_track_r_s* tracking);

// Body operations. `transform` is a kernel transform tag placing the tool, 0 for none.
// Unites the tool with the target or removes it from the target (the option's paste
// type); the tool's faces are copied into the target. A paste that changes nothing: an error.
int HXR_BODY_paste(int target, int tool, int transform, const HXR_BODY_paste_o_s* options,
                   HXR_ENTITY_track_r_s* tracking);
// Hollows the body into walls `outward` + `inward` thick, opening the pierce faces.
int HXR_BODY_hollow(int body, double outward, double inward, double tolerance,
                    const HXR_BODY_hollow_o_s* options, HXR_ENTITY_track_r_s* tracking);
// Joins bodies of one partition whose lumps do not overlap into one body.
int HXR_BODY_rejoin(int n_bodies, const int* bodies, int* body);
// Splits the body into one body per lump; the options are passed through unread.
int HXR_BODY_disjoin(int body, const char* options, int* n_bodies, int** bodies);
// Whether the body can serve as the tool of a paste.
int HXR_BODY_is_paste_tool(int body, const HXR_BODY_is_paste_tool_o_s* options, bool* is_tool);

// Persistent relations and shells.
// Stores (or removes) the add-on's relations on the body; HXR_STATUS_nothing_to_do when
// storing finds them already stored.
int HXR_BODY_extract_relations(int body, const HXR_BODY_extract_relations_o_s* options);
// Restores the stored relations; HXR_STATUS_nothing_to_do when nothing is stored.
int HXR_BODY_restore_relations(int body, const HXR_BODY_restore_relations_o_s* options);
// Forgets the face's shell partners.
int HXR_FACE_remove_shell_relns(int face, const HXR_FACE_remove_shell_relns_o_s* options);
// `kind` is left at HXR_SHELL_KIND_none when the face has no partners.
int HXR_FACE_find_shell_partners(int face, int* kind, int* n_partners, int** partners,
                                 double* thickness);
// The faces on the face's side of its wall and on the other side, and the wall's thickness.
int HXR_FACE_find_shell_sides(int face, int* n_same_side, int** same_side, int* n_opposite_side,
                              int** opposite_side, double* thickness);

// Features.
// Makes an add-on feature of the faces, edges and vertices (one label each) with the
// identifier; gives its tag.
int HXR_TOPOL_make_feat(int n_topols, const int* topols, const int* labels, int n_canonical,
                        int identifier, const HXR_TOPOL_make_feat_o_s* options, int* feature);
// Feature enquiries and edits; a tag that is no feature is a bad argument.
int HXR_FEAT_ask_identifier(int feature, int* identifier);
int HXR_FEAT_set_identifier(int feature, int identifier, const HXR_FEAT_set_identifier_o_s* options);
int HXR_FEAT_is_dormant(int feature, bool* dormant);
int HXR_FEAT_set_dormant(int feature, bool dormant);
int HXR_FEAT_is_complete(int feature, bool* complete);
int HXR_FEAT_is_pristine(int feature, bool* pristine, int* n_entities, int** entities);
int HXR_FEAT_delete(int feature);
int HXR_FEAT_ask_topols(int feature, int* n_topols, int** topols, int** labels);
int HXR_FEAT_ask_unders(int feature, int* n_unders, int** unders, int** labels);
// The features that hold the face, edge or vertex (anything else: a bad argument).
int HXR_TOPOL_ask_feats(int topol, int* n_features, int** features);
// The features that depend on the entity.
int HXR_ENTITY_ask_dependent_feats(int entity, int* n_features, int** features);
// The features of the body or part with the option's identifier.
int HXR_PART_find_feats(int part, const HXR_PART_find_feats_o_s* options, int* n_features,
                        int** features);
