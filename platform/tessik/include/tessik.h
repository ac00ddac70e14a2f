// The 3-D dimension system (ZMR3_), its manager (WOF_), the extended system for
// relative transforms and patterns (JUN_) and the procedural-feature manager (KEV_).
//
// The system holds no geometry of its own. Every node carries an application pointer;
// whenever the system evaluates it asks the application, through the frustum (callback)
// tables, for the geometry of each g-node and the type, value and options of each
// d-node and r-node, in world coordinates. Callbacks are called only inside
// re_evaluate and dynamic_evaluate; between evaluations nothing is read.
//
// Unknowns: a rigid pose per free geometry, set, procedural feature and
// relative-transform node; the shape of each loose geometry (radii, half angle);
// one value per pattern node. Fixed nodes, and every member of a fixed set, have none;
// a geometry in a set moves with the set and keeps its shape.
//
// Each connected component is solved on its own. A component whose equations already
// hold is left exactly as it is; a component that cannot be solved (contradicting
// dimensions, no convergence) keeps its starting state, and its nodes say why through
// their statuses. A dimension of an unsupported type or geometry combination, or on bad
// geometry, takes no part and says so; bad geometry itself never moves. Changes below the resolution (angles: resolution / 1000)
// count as none, so a satisfied system moves nothing and transform answers 0.
//
// Distances between a point and a circle, torus or cone, and between a plane and a circle or
// torus across its axis or a cone along one of its lines, are measured to the curve or surface;
// elsewhere a distance takes a circle or torus by its centre and a cone by its axis. Two
// tangent tori, a torus and a cone, and a cylinder and a cone touch all round or along a line;
// a tangent sphere and torus at a point. A one-geometry dimension that fails also marks its
// geometry, since r-nodes are listed apart from the d-nodes.
//
// Weighting rule (which node moves when several could):
//   The solver takes the change that moves the geometry least in total. The change of
//   one geometry counts as the square of the move of its location across its own
//   shape (a plane only along its normal, a line only across itself), plus the square
//   of the turn of its direction times the size given to the manager, plus the
//   squares of its radius changes, plus the square of its half-angle change times the
//   size. A set pays for every member it carries, so a set of three planes is three
//   times as hard to push as one loose plane; a procedural feature pays for its
//   geometry the same way; a relative-transform node pays like one loose geometry, a
//   pattern value like a radius (a linear one) or a half angle (an angular one); a
//   direction that moves no geometry of a set is never taken. Where two nodes could
//   make a change it is shared in inverse proportion to these costs: two loose planes
//   whose distance must grow by 2 move by 1 each; a loose plane against a set of three
//   planes moves 1.5 and the set 0.5. Fixed nodes never move. Rotations turn a loose
//   geometry about its own location and a set about the mean of its members' locations.
//   Priorities come before the weights: rigid dimensions and exact drag targets must
//   hold; non-rigid dimensions and non-exact drag targets are then met as closely as
//   the rigid ones allow; the weights only choose among the changes that remain.
//
// Branches: where a dimension has two solutions (the side of a distance, the sense of
// a parallel, inside or outside tangency), the one the starting state is on is kept,
// unless a half space names a side. A distance from a point, line or plane to a plane
// whose side is named is signed: a negative value lies on the other side.
//
// Handles are pointers that stay valid as tombstones until the system is destroyed;
// erasing a node twice does nothing; a call on an erased or null handle answers 0 / null.
//
// Journal: with journal_by_ptr, every call writes one text line through the write and
// flush functions of the ZMR3_file record.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

// ---- Handles ---------------------------------------------------------------------
// Opaque. Every handle of one system, whatever its static type, names one node; erase
// and status look at the node's own kind, so a handle passed through another handle
// type still reaches the right node.
struct g_node;
struct d_node;
struct r_node;
struct v_node;

namespace tessik {
class Engine;
}

// ---- Enumerations ----------------------------------------------------------------
enum ZMR3_d_type {
    ZMR3_DISTANCE = 0,
    ZMR3_ANGLE = 1,
    ZMR3_CONCENTRIC = 2,
    ZMR3_RADIUS = 3,
    ZMR3_PARALLEL = 4,
    ZMR3_PERPENDICULAR = 5,
    ZMR3_COINCIDENT = 6,
    ZMR3_TANGENT = 7,
    ZMR3_MAJOR_RADIUS = 10,
    ZMR3_MINOR_RADIUS = 11,
    ZMR3_EQUAL_RADIUS = 12,
    ZMR3_MIDPOINT = 14,
    ZMR3_DEPENDENCE = 15,
    ZMR3_EQUAL_PARAMETER = 17,
    ZMR3_EQUAL_DIRECTION = 19,
    ZMR3_EQUAL_CURVATURE = 20,
    ZMR3_EQUAL_FIRST_DERIVATIVE = 21,
    ZMR3_EQUAL_SECOND_DERIVATIVE = 22,
    ZMR3_CURVE_LENGTH = 25,
    ZMR3_SYMMETRIC = 50,
    ZMR3_HALF_ANGLE = 51,
    ZMR3_COINCIDENT_AROUND_SPINE = 52,  // a circle on a torus as a cross-section of its tube
    ZMR3_COINCIDENT_WITH_SPINE = 53,    // a circle or plane on the torus's spine circle
    ZMR3_EQUAL_HALF_ANGLE = 56
};

// Geometry codes answered by frustum entry 0.
enum ZMR3_g_type {
    ZMR3_G_POINT = 0,
    ZMR3_G_LINE = 1,
    ZMR3_G_CIRCLE = 2,
    ZMR3_G_PLANE = 3,
    ZMR3_G_CYLINDER = 4,
    ZMR3_G_SPHERE = 5,
    ZMR3_G_SET = 10,
    ZMR3_G_TORUS = 11,
    ZMR3_G_CONE = 12,
    ZMR3_G_ELLIPSE = 13
};

// Statuses after an evaluation. Values 2-7 of g-nodes and 1-5 and 9 of d-nodes are
// failures; the others are not.
enum ZMR3_g_node_status {
    ZMR3_G_STATUS_SOLVED = 0,             // free, consistent (or not evaluated yet)
    ZMR3_G_STATUS_FIXED = 1,
    ZMR3_G_STATUS_OVER_DEFINED = 2,       // touched by dimensions that contradict each other
    ZMR3_G_STATUS_BAD_GEOMETRY = 3,       // unknown type, zero direction, negative radius
    ZMR3_G_STATUS_NOT_CONVERGED = 4,
    ZMR3_G_STATUS_UNSUPPORTED_DIMENSION = 5,  // a one-geometry dimension on it is not supported
    ZMR3_G_STATUS_BAD_VALUE = 6,              // a one-geometry dimension on it has a bad value
    ZMR3_G_STATUS_REGENERATION_FAILED = 7 // a procedural feature (or its geometry) failed to regenerate
};

enum ZMR3_d_node_status {
    ZMR3_D_STATUS_NOT_EVALUATED = 0,
    ZMR3_D_STATUS_OVER_DEFINED = 1,       // over-defined and inconsistent
    ZMR3_D_STATUS_UNSUPPORTED = 2,        // type or geometry combination not supported
    ZMR3_D_STATUS_NOT_CONVERGED = 3,
    ZMR3_D_STATUS_BAD_VALUE = 4,          // negative radius or distance value
    ZMR3_D_STATUS_BAD_GEOMETRY = 5,       // one of its geometries is bad
    ZMR3_D_STATUS_SATISFIED = 6,
    ZMR3_D_STATUS_NOT_REACHED = 9         // a non-rigid dimension the rigid ones kept from its value
};

// Side of a geometry named for a distance: positive is the side its normal (or, for a
// cylinder, sphere or circle, its outside) points to. None keeps the starting side.
enum ZMR3_half_space {
    ZMR3_HALF_SPACE_NONE = 0,
    ZMR3_HALF_SPACE_POSITIVE = 1,
    ZMR3_HALF_SPACE_NEGATIVE = 2
};

enum ZMR3_drag_transformation {
    ZMR3_DT_TRANSLATION = 0,
    ZMR3_DT_AXIAL_ROTATION = 1,  // node list {dragged node, axis node}; the matrix is the rotation
    ZMR3_DT_GENERAL = 2,
    ZMR3_DT_RADIUS = 3           // two-list form; the value is the target radius
};

enum ZMR3_drag_result {
    ZMR3_DRAG_OK = 0,
    ZMR3_DRAG_NOT_REACHED = 1,  // exact drag whose target the rigid dimensions forbid
    ZMR3_DRAG_BAD_INPUT = 2     // null or erased node, unknown kind, no matrix
};

enum ZMR3_drag_mode { ZMR3_DRAG_MODE_MINIMUM_CHANGE = 2 };
enum ZMR3_drag_option { ZMR3_DRAG_APPROXIMATE = 0, ZMR3_DRAG_EXACT = 1 };
enum ZMR3_evaluate_mode { ZMR3_EVALUATE_FULL = 2 };
enum ZMR3_undo_mode { ZMR3_UNDO_TO_INITIAL = 0 };

enum ZMR3_solve_type {
    ZMR3_SOLVED = 0,      // every component satisfied
    ZMR3_NOT_SOLVED = 1   // at least one node has a failure status
};

// Bits of the answer of ZMR3_dimension_system::transform.
enum ZMR3_change_mask {
    ZMR3_CHANGE_RIGID = 1,
    ZMR3_CHANGE_RADIUS = 2,        // first value: change of radius (torus: major radius)
    ZMR3_CHANGE_MINOR_RADIUS = 4,  // second value: change of the torus minor radius
    ZMR3_CHANGE_HALF_ANGLE = 8     // first value: change of the cone half angle
};

enum JUN_pattern_type { JUN_PATTERN_ANGULAR = 0, JUN_PATTERN_LINEAR = 1 };
enum KEV_solve_type { KEV_SOLVE_BY_REGENERATION = 1 };
enum KEV_regeneration_result { KEV_REGENERATED = 0, KEV_REGENERATION_FAILED = 2 };

// ---- Frustum tables ----------------------------------------------------------------
// Each table is an array of function-pointer words. An entry is stored as
// ZMR3_frustum_fn and called through its own type below; ZMR3_frustum_entry converts.
typedef void (*ZMR3_frustum_fn)();
template <class F>
inline ZMR3_frustum_fn ZMR3_frustum_entry(F f) { return reinterpret_cast<ZMR3_frustum_fn>(f); }

// ZMR3 entries. "node" is the application pointer of the node asked about.
enum ZMR3_frustum_entry_index {
    ZMR3_FR_GEOM_TYPE = 0,          // int (void* node)
    ZMR3_FR_POINT_LOCATION = 1,     // void (double out[3], void* node)
    ZMR3_FR_LINE_LOCATION = 2,      // void (double out[3], void* node)
    ZMR3_FR_LINE_DIRECTION = 3,     // void (double out[3], void* node)
    ZMR3_FR_CIRCLE_CENTRE = 4,      // void (double out[3], void* node)
    ZMR3_FR_CIRCLE_AXIS = 5,        // void (double out[3], void* node)
    ZMR3_FR_CIRCLE_RADIUS = 6,      // double (void* node)
    ZMR3_FR_PLANE_NORMAL = 7,       // void (double out[3], void* node)
    ZMR3_FR_PLANE_LOCATION = 8,     // void (double out[3], void* node)
    ZMR3_FR_CYLINDER_LOCATION = 9,  // void (double out[3], void* node)
    ZMR3_FR_CYLINDER_AXIS = 10,     // void (double out[3], void* node)
    ZMR3_FR_CYLINDER_RADIUS = 11,   // double (void* node)
    ZMR3_FR_SPHERE_CENTRE = 12,     // void (double out[3], void* node)
    ZMR3_FR_SPHERE_RADIUS = 13,     // double (void* node)
    ZMR3_FR_CONE_DATA = 14,         // ZMR3_cone_data_fn
    ZMR3_FR_TORUS_DATA = 15,        // ZMR3_torus_data_fn
    ZMR3_FR_ELLIPSE_DATA = 16,      // ZMR3_ellipse_data_fn
    ZMR3_FR_D_TYPE = 18,            // int (void* bond)
    ZMR3_FR_D_VALUE = 19,           // double (void* bond)
    ZMR3_FR_ANGLE_PLANE = 21,       // g_node* (void* bond): plane of a three-geometry angle
    ZMR3_FR_HALF_SPACE = 24,        // int (void* bond, void* geometry)
    ZMR3_FR_RADIUS_KIND = 26,       // int (void* bond, void* geometry): 10 major, 11 minor
    ZMR3_FR_RIGID = 36,             // int (void* bond)
    ZMR3_FR_DISTANCE_DIRECTION = 37,// int (void* bond, double dir[3], g_node** node)
    ZMR3_FR_SURFACE_PARAMETERS = 57,// reserved for free-form surfaces; not called
    ZMR3_FR_EVALUATE_SURFACE = 58,  // reserved for free-form surfaces; not called
    ZMR3_FRUSTUM_COUNT = 80
};

typedef int (*ZMR3_int_of_node_fn)(void* node);
typedef void (*ZMR3_vector_of_node_fn)(double out[3], void* node);
typedef double (*ZMR3_double_of_node_fn)(void* node);
// location, axis, radius at the location; sine and cosine of the half angle.
typedef void (*ZMR3_cone_data_fn)(void* node, double location[3], double axis[3], double* radius,
                                  double* sinHalfAngle, double* cosHalfAngle);
typedef void (*ZMR3_torus_data_fn)(void* node, double centre[3], double axis[3], double* majorRadius,
                                   double* minorRadius, int* flag);
typedef void (*ZMR3_ellipse_data_fn)(void* node, double centre[3], double axis[3], double majorDirection[3],
                                     double* majorRadius, double* minorRadius);
typedef g_node* (*ZMR3_g_node_of_bond_fn)(void* bond);
typedef int (*ZMR3_int_of_bond_and_geom_fn)(void* bond, void* geometry);
// 0: no direction; 1: fixed direction written; 2: direction of the g-node written.
typedef int (*ZMR3_distance_direction_fn)(void* bond, double direction[3], g_node** node);

struct ZMR3_frustum_functions {
    ZMR3_frustum_fn entries[ZMR3_FRUSTUM_COUNT];
};

// JUN entries.
enum JUN_frustum_entry_index {
    JUN_FR_RELATIVE_TRANSFORM = 0,  // void (double out[4][4], void* rtNode): the node's starting transform
    JUN_FR_PATTERN_STEPS = 1,       // int (void* constraint, void* geomA, void* geomB)
    JUN_FR_RT_CONSTRAINT_FLAG = 2,  // int (void* constraint): 1 ties the shape too, 0 the position only
    JUN_FR_PATTERN_VALUE = 3,       // int (double* out, void* patternNode): the starting value
    JUN_FRUSTUM_COUNT = 4
};
typedef void (*JUN_relative_transform_fn)(double out[4][4], void* rtNode);
typedef int (*JUN_pattern_steps_fn)(void* constraint, void* geomA, void* geomB);
typedef int (*JUN_rt_constraint_flag_fn)(void* constraint);
typedef int (*JUN_pattern_value_fn)(double* out, void* patternNode);

struct JUN_frustum_functions {
    ZMR3_frustum_fn entries[JUN_FRUSTUM_COUNT];
};

// KEV entries.
enum KEV_frustum_entry_index {
    KEV_FR_REGENERATE = 0,  // int (void* proceduralFeature): KEV_REGENERATED or KEV_REGENERATION_FAILED
    KEV_FR_RESERVED = 1,    // int (): not called
    KEV_FRUSTUM_COUNT = 2
};
typedef int (*KEV_regenerate_fn)(void* proceduralFeature);

struct KEV_frustum_functions {
    ZMR3_frustum_fn entries[KEV_FRUSTUM_COUNT];
};

// ---- Journal ---------------------------------------------------------------------
typedef size_t (*ZMR3_write_fn)(const void* data, size_t size, size_t count, FILE* stream);
typedef int (*ZMR3_flush_fn)(FILE* stream);

struct ZMR3_file {
    FILE* stream;
    ZMR3_write_fn write;
    ZMR3_flush_fn flush;
};

// Fills the record; 0 on success, 1 when the record, the stream or a function is null.
int ZMR3_file_construct_full(ZMR3_file* file, FILE* stream, ZMR3_write_fn write, ZMR3_flush_fn flush);

// Journal option bits of journal_by_ptr.
enum ZMR3_journal_option {
    ZMR3_JOURNAL_CALLS = 1,    // one line per call with its arguments
    ZMR3_JOURNAL_ANSWERS = 2,  // the call's answer on the same line
    ZMR3_JOURNAL_SUMMARY = 4   // per evaluation: components, iterations, residual
};

// ---- The dimension system ----------------------------------------------------------
class ZMR3_dimension_system {
public:
    // resolution: the length below which a change or residual counts as none (angles use
    // resolution / 1000); size: the model size that weighs turns against moves.
    ZMR3_dimension_system(void* application, double resolution, double size);
    virtual ~ZMR3_dimension_system();
    ZMR3_dimension_system(const ZMR3_dimension_system&) = delete;
    ZMR3_dimension_system& operator=(const ZMR3_dimension_system&) = delete;

    void* application() const;

    // Nodes. Each returns a new handle; null when a given node is null or erased.
    g_node* add_g(void* app);
    d_node* add_d(void* app, g_node* a, g_node* b, g_node* c = nullptr);  // c: symmetry plane
    r_node* add_r(void* app, g_node* g);
    v_node* add_v(void* app, d_node* d);  // measures d: its value becomes a free unknown
    v_node* add_v(void* app, r_node* r);
    // Each answers 1 when a live node was erased, 0 otherwise. Erasing a g-node erases the
    // d-, r- and v-nodes on it; erasing a set releases its members.
    int erase(g_node* node);
    int erase(d_node* node);
    int erase(r_node* node);
    int erase(v_node* node);
    // Toggles the fixed state; 1 when done, 0 for a bad handle.
    int fix(g_node* node);
    // Moves g into the set (null: out of any set); 0 when g is a set or not a geometry.
    int move_to_set(g_node* g, g_node* set);
    // Hands a node made here over to the application that will answer for it.
    int set_application_pointer(g_node* node, void* app);
    int set_application_pointer(d_node* node, void* app);
    int set_application_pointer(r_node* node, void* app);
    void* application_pointer(const g_node* node) const;
    void* application_pointer(const d_node* node) const;
    void* application_pointer(const r_node* node) const;

    // Answers of the last evaluation.
    ZMR3_g_node_status status(g_node* node);
    ZMR3_d_node_status status(d_node* node);
    ZMR3_d_node_status status(r_node* node);
    double value(v_node* node);  // 0.0 before an evaluation
    // Change since the start of the evaluation: a ZMR3_change_mask (0 unchanged). With
    // bit 1 the matrix (row-major, translation in the last column) takes the rigid
    // change; relative-transform nodes answer their new absolute transform instead.
    // first: radius or half-angle change; second: minor-radius change. Outputs may be null.
    int transform(g_node* node, double matrix[4][4], double* first = nullptr, double* second = nullptr);
    // 1 with the set's handle and application pointer when g is in a set, else 0.
    int get_s_of_g(g_node* g, g_node** set, void** setApp);
    // Listings: with count 0 and null arrays the number of nodes; with arrays of at least
    // that count, fills handles and application pointers (either may be null).
    int get_d_of_g(g_node* g, int count, d_node** nodes, void** apps);
    int list_g_nodes(int count, g_node** nodes, void** apps);
    int list_passive_g_nodes(int count, g_node** nodes, void** apps);  // in no dimension, set or feature
    int list_d_nodes(int count, d_node** nodes, void** apps);
    int list_r_nodes(int count, r_node** nodes, void** apps);

    // Evaluation.
    ZMR3_solve_type undo_evaluation(ZMR3_undo_mode mode);
    // maxIterations 0 takes the default.
    ZMR3_solve_type re_evaluate(int maxIterations, ZMR3_evaluate_mode mode);
    // One-list drag: every listed node follows the matrix (for ZMR3_DT_AXIAL_ROTATION the
    // second node is the axis).
    ZMR3_solve_type dynamic_evaluate(int count, g_node** nodes, double matrix[4][4], ZMR3_drag_result* result,
                                     ZMR3_drag_transformation kind, ZMR3_drag_mode mode,
                                     ZMR3_drag_option option);
    // Two-list drag: node i of the first list follows matrices[i] (or values[i] for a
    // radius kind) by kinds[i]; the second list is held where it starts.
    ZMR3_solve_type dynamic_evaluate(int count, g_node** nodes, int heldCount, g_node** held,
                                     double (*matrices)[4][4], double* values, ZMR3_drag_result* result,
                                     ZMR3_drag_transformation* kinds, ZMR3_drag_mode mode,
                                     ZMR3_drag_option option);

    // Callbacks: enquire gives the current table (null entries where nothing was
    // registered; a null entry answers zeros); register installs one. 0 on success, 1 for
    // a null table.
    int enquire_frustum_functions(ZMR3_frustum_functions* table);
    int register_frustum_functions(const ZMR3_frustum_functions* table);

    // Journals into file (not owned; it must outlive the system or be replaced); null stops.
    // options: ZMR3_journal_option bits; digits: significant digits of numbers (1-17).
    int journal_by_ptr(ZMR3_file* file, unsigned options, int digits);

    tessik::Engine& engine();

private:
    std::unique_ptr<tessik::Engine> m_engine;
};

// ---- The extended system: relative transforms and patterns ----------------------------
class JUN_extended_dimension_system {
public:
    explicit JUN_extended_dimension_system(tessik::Engine& engine);
    // A pattern node on its reference geometry (its direction or axis); its value is read
    // through JUN_FR_PATTERN_VALUE. Null when the reference is null or erased.
    g_node* add_pattern(void* app, g_node* reference, JUN_pattern_type type);
    // A relative-transform node; its starting transform is read through JUN_FR_RELATIVE_TRANSFORM.
    // A d-node from add_d(app, a, b, node) on it states b = T(a) (RT constraint); on a
    // pattern node it states that b is a carried steps times by the pattern: linear
    // patterns translate a by steps x value along the reference direction, angular
    // patterns turn b by steps x value about the reference axis onto a.
    g_node* add_relative_transform(void* app);
    // 1 with the value of the last evaluation; 0 (value 0.0) before one or for a bad handle.
    int enquire_pattern_value(g_node* pattern, double* value);
    int enquire_frustum_functions(JUN_frustum_functions* table);
    int register_frustum_functions(const JUN_frustum_functions* table);

private:
    tessik::Engine& m_engine;
};

// ---- The procedural-feature manager ------------------------------------------------------
// A procedural feature is a rigid unit whose geometry the application regenerates. At
// every evaluation, after the rest is solved, each feature is asked to regenerate
// (KEV_FR_REGENERATE); every geometry is then read again, and one that the application
// now answers differently is held there while the geometry tied to it is solved once
// more. A failed regeneration gives the feature and its geometry
// ZMR3_G_STATUS_REGENERATION_FAILED.
class KEV_procedural_feature_manager {
public:
    explicit KEV_procedural_feature_manager(tessik::Engine& engine);
    g_node* add_procedural_g(void* app, KEV_solve_type type, int count, const int* geomTypes);
    g_node* add_procedural_copy(void* app, g_node* original);
    g_node* add_procedural_feature(void* app, KEV_solve_type type);
    // A procedural relationship: other moves with the feature of the procedural geometry.
    d_node* add_procedural_relationship(void* app, g_node* procedural, g_node* other);
    int move_to_feature(g_node* g, g_node* feature);
    int enquire_frustum_functions(KEV_frustum_functions* table);
    int register_frustum_functions(const KEV_frustum_functions* table);

private:
    tessik::Engine& m_engine;
};

// ---- The manager -------------------------------------------------------------------------
class WOF_dimension_system_manager : public ZMR3_dimension_system {
public:
    WOF_dimension_system_manager(void* application, double resolution, double size);
    ~WOF_dimension_system_manager() override;

    ZMR3_dimension_system* dimension_system() { return this; }
    JUN_extended_dimension_system* extended_dimension_system() { return &m_extended; }
    KEV_procedural_feature_manager* procedural_feature_manager() { return &m_procedural; }

private:
    JUN_extended_dimension_system m_extended;
    KEV_procedural_feature_manager m_procedural;
};
