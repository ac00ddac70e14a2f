// The auto-constraint manager (YSK_): it works on a 3-D dimension system (tessik.h) and on
// the kernel's entities (brennik.h).
//
// What it does:
// - find_relationships reads the geometry of kernel entities (faces, linear and circular
//   edges, free planes and lines; a body stands for its faces) in world coordinates, the
//   Instance transform asked through the callback table, and reports every relationship it
//   finds between a "from" entity and a "to" entity within the given tolerances, for the
//   combinations offered with set_fr_option. Each relationship is reported once, with the
//   from entity as end 1; symmetric and co-planar-axis relationships carry their plane or
//   reference as end 3. Candidates are found through direction and position bins, so the
//   cost grows with the number of entities and relationships, not with the number of pairs.
// - add_bonds turns bonds and relationships into dimension nodes of the system: each bond
//   as it is given, each relationship into the bonds that keep it (coplanar: coincident;
//   co-planar axis: the axis and the partner on the reference plane; tangent: tangent;
//   similar: equal radii and half angles). A combination the system cannot solve is
//   refused, and so is the whole call.
// - The desired changes add construction geometry and bonds that animate the change: a
//   translation one non-rigid distance between a fixed plane and a plane of the moved
//   node, a planar translation two such distances across the plane's normal, a rotation a
//   non-rigid angle about the axis (and a rigid coincidence that keeps the moved node on
//   the axis). A general transform adds nothing. Every later autodefine tries its rules
//   against the desired change.
// - autodefine adds the constraint of each rule on a trial basis and keeps it only when
//   the system, and the desired change, still solve: answer 1 applied, 2 already held by
//   the system (nothing added), 4 not applied.
// - get_bonds hands every node made since the last reset_changes to the application
//   through entries 4 (two- and three-end types) and 3 (one end). The nodes it adopts (the
//   bond and construction geometry written back) are from then on answered by the
//   application; the others (three-end types, rule constraints, equal minor radii, nodes
//   the application leaves) stay answered by the manager, which keeps their data until it
//   is destroyed or reset. reset_changes forgets the report list only: the nodes stay in
//   the system.
//
// The callbacks of the registered table are called only inside the calls of this class.
#pragma once

#include "tessik.h"

#include <cstdio>
#include <cstddef>
#include <memory>
#include <new>

namespace tessik {
class AutoConstrainer;
}

// ---- Enumerations ----------------------------------------------------------------------

// Relationships: handed to add_bonds in the relation word, and reported by
// find_relationships with the same codes.
enum YSK_relation_type {
    YSK_RELATION_COPLANAR = 0,
    YSK_RELATION_CONCENTRIC = 1,
    YSK_RELATION_PARALLEL = 2,
    YSK_RELATION_PERPENDICULAR = 3,
    YSK_RELATION_COPLAXIS = 4,  // an axis and a partner on a plane (the reference, end 3)
    YSK_RELATION_TANGENT = 5,   // handed in: tangent along the edge two faces share
    YSK_RELATION_SYMMETRIC = 6, // end 3 is the symmetry plane
    YSK_RELATION_SIMILAR = 7
};

// The relations that set_fr_option offers.
enum YSK_option_relation_type {
    YSK_OPTION_COPLANAR = 0,
    YSK_OPTION_CONCENTRIC = 1,
    YSK_OPTION_PARALLEL = 2,
    YSK_OPTION_PERPENDICULAR = 3,
    YSK_OPTION_COPLAXIS = 4,
    YSK_OPTION_TANGENT = 5,          // tangent anywhere
    YSK_OPTION_TANGENT_AT_EDGE = 6,  // tangent along an edge both faces share
    YSK_OPTION_SYMMETRIC = 7,
    YSK_OPTION_SIMILAR = 8,
    YSK_OPTION_RELATION_COUNT = 9
};

// Kinds of entity geometry. Full: the face goes all the way round its axis (a torus's
// minor kinds: round its tube). A torus face is of a major kind (its axis) and a minor kind
// (the plane of its spine circle) at once.
enum YSK_option_geom_type {
    YSK_OPTION_PLANE = 0,
    YSK_OPTION_CYLINDER_FULL = 1,
    YSK_OPTION_CYLINDER_PARTIAL = 2,
    YSK_OPTION_CONE_FULL = 3,
    YSK_OPTION_CONE_PARTIAL = 4,
    YSK_OPTION_TORUS_MAJOR_FULL = 5,
    YSK_OPTION_TORUS_MAJOR_PARTIAL = 6,
    YSK_OPTION_TORUS_MINOR_FULL = 7,
    YSK_OPTION_TORUS_MINOR_PARTIAL = 8,
    YSK_OPTION_LINEAR_EDGE = 9,
    YSK_OPTION_CIRCULAR_EDGE = 10,
    YSK_OPTION_SPHERE_FULL = 11,
    YSK_OPTION_SPHERE_PARTIAL = 12,
    YSK_OPTION_GEOM_COUNT = 13
};

enum YSK_autodefine_rule_return {
    YSK_RULE_APPLIED = 1,       // the rule's constraint was added
    YSK_RULE_ALREADY_HELD = 2,  // the system holds it already (a fixed node, the system's own least change)
    YSK_RULE_NO_ANSWER = 4      // not applied: unknown code, geometry it does not fit, or it conflicts
};

// Rule codes of YSK_autodefine_rule::code.
enum YSK_rule_code {
    YSK_RULE_DO_NOT_MOVE = 0,
    YSK_RULE_DO_NOT_ROTATE = 1,
    YSK_RULE_RELATIVE_ANGLE = 2,       // keep the angle to direction1
    YSK_RULE_TRANSLATE_IN_DIR = 3,     // move only along direction2, without turning
    YSK_RULE_MINIMISE_TRANSLATION = 4, // the system's own least-change rule
    YSK_RULE_KEEP_RADIUS = 5,
    YSK_RULE_KEEP_MINOR_RADIUS = 6,
    YSK_RULE_KEEP_HALF_ANGLE = 7
};

enum YSK_autocon_result {
    YSK_RESULT_OK = 0,
    YSK_RESULT_NO_SYSTEM = 1,      // the manager was built without a dimension system
    YSK_RESULT_BAD_ARGUMENT = 2,   // null or erased node, null array with a count, bad direction
    YSK_RESULT_UNSUPPORTED = 3,    // a bond or relationship the system cannot solve
    YSK_RESULT_KERNEL_ERROR = 4    // the kernel refused an enquiry (no session)
};

enum YSK_change_compliance { YSK_COMPLIANCE_EXACT = 0 };

// ---- Records -----------------------------------------------------------------------------

// One end of a bond or relationship.
struct YSK_dimension_end_s {
    g_node* node = nullptr;        // the end geometry's node; null when none
    void* application = nullptr;   // the application's geometry of the end
    void* instance = nullptr;      // the Instance of the entity; null when none
    int reserved0 = 0;
    int flag = 0;                  // 0: application names the end's geometry
    int kind = 0;                  // YSK_END_CONSTRUCTION: new construction geometry
    int entity = 0;                // kernel entity tag; 0 for construction geometry
    int shape = 0;                 // described geometry: YSK_shape
    double location[3] = {0, 0, 0};  // the point; a point of the line; the centre; a point of the plane
    double direction[3] = {0, 0, 0}; // direction of the line; normal of the circle or plane
    double reserved1[3] = {0, 0, 0};
    double radius = 0.0;           // radius of a described circle
    double reserved2[3] = {0, 0, 0};
    int reserved3[3] = {0, 0, 0};
    double reserved4[5] = {0, 0, 0, 0, 0};
    int half_space = 0;            // ZMR3_half_space the manager chose for this end
    int reserved5 = 1;
    int reserved6 = 0;
    int reserved7 = 10;
    int reserved8 = 0;
};

enum YSK_end_kind { YSK_END_GEOMETRY = 0, YSK_END_CONSTRUCTION = 3 };
enum YSK_shape { YSK_SHAPE_POINT = 0, YSK_SHAPE_LINE = 1, YSK_SHAPE_CIRCLE = 2, YSK_SHAPE_PLANE = 3 };

// A bond or a relationship.
struct YSK_dnode_data_s {
    int type = 0;           // ZMR3_d_type of a bond
    double value = 0.0;
    int reserved0 = 0;
    int reserved1 = 0;
    int rigid = 0;          // 1 rigid, 0 not
    int relation = 0;       // YSK_relation_type of a relationship
    YSK_dimension_end_s ends[3];
    void* node = nullptr;   // the manager's node of a reported bond (a d_node)
};

// A bond on one geometry (radius kinds, half angle), as entry 3 reports it.
struct YSK_single_end_bond_s {
    int type = 0;
    double value = 0.0;
    int rigid = 0;
    YSK_dimension_end_s end;
    void* node = nullptr;   // the manager's node (an r_node)
};

// One kernel entity.
struct YSK_pointer_s {
    int reserved0 = 0;
    int reserved1 = 0;
    void* instance = nullptr;  // the Instance of the entity; null for none
    int reserved2 = 0;
    int entity = 0;            // kernel entity tag (a body stands for its faces)
};

// The options of one find.
struct YSK_fr_option_s {
    int pass = 0;                                 // 0 standard; 1 tangents and symmetries only
    const YSK_pointer_s* coplaxis = nullptr;      // planes or lines
    int coplaxis_count = 0;
    const YSK_pointer_s* symmetry_planes = nullptr;
    int symmetry_plane_count = 0;
    int symmetry_match_exact = 0;                 // 1: symmetric partners also have equal sizes
    int similar_match_axes = 0;                   // 1: similar partners also have parallel axes
};

// One rule for autodefine. The manager reads the code and writes its answer through the
// two pointers.
struct YSK_autodefine_rule {
    g_node* node = nullptr;                        // the rule's geometry
    const int* code = nullptr;                     // YSK_rule_code
    YSK_autodefine_rule_return* answer = nullptr;
    int node_given = 0;                            // 1: node names the rule's geometry
    double direction1[3] = {0, 0, 0};
    double direction2[3] = {0, 0, 0};
};

// ---- Callback table ------------------------------------------------------------------------

typedef void (*YSK_frustum_fn)();
template <class F>
inline YSK_frustum_fn YSK_frustum_entry(F f) { return reinterpret_cast<YSK_frustum_fn>(f); }

enum YSK_frustum_entry_index {
    YSK_FR_NEW_SINGLE_END_BOND = 3, // YSK_new_single_end_bond_fn
    YSK_FR_NEW_BOND = 4,            // YSK_new_bond_fn
    YSK_FR_EVENT = 6,               // YSK_event_fn
    YSK_FR_FIND_G_NODE = 8,         // YSK_find_g_node_fn
    YSK_FR_ENTITY_OF_GEOMETRY = 9,  // YSK_entity_of_geometry_fn
    YSK_FR_INSTANCE_TRANSFORM = 11, // YSK_instance_transform_fn
    YSK_FR_SET_GEOMETRIES = 13,     // YSK_set_geometries_fn
    YSK_FR_RELATIONSHIP_FOUND = 15, // YSK_relationship_found_fn
    YSK_FRUSTUM_COUNT = 16
};

// A new bond: the application writes the bond it made for the node (null: it takes none)
// and, for each end of kind YSK_END_CONSTRUCTION, the geometry it made for the end's node.
// client is the argument of get_bonds.
typedef void (*YSK_new_single_end_bond_fn)(YSK_single_end_bond_s* bond, void* client, void** bondOut,
                                           void** geometryOut);
typedef void (*YSK_new_bond_fn)(YSK_dnode_data_s* bond, void* client, void** bondOut, void** geometry1Out,
                                void** geometry2Out, void** geometry3Out);
enum YSK_event { YSK_EVENT_BONDS_REPORTED = 1 };
typedef void (*YSK_event_fn)(int event, void* client);
// The node of the application's geometry of (entity, Instance); null for none.
typedef g_node* (*YSK_find_g_node_fn)(int entity, void* instance);
// The kernel entity of a geometry node's application pointer (0 for none).
typedef void (*YSK_entity_of_geometry_fn)(int* entity, g_node* node, void* application);
// The Instance's placement as a 4x4 matrix (rotation, translation in the last column).
typedef void (*YSK_instance_transform_fn)(YSK_pointer_s entity, double (*matrix)[4]);
// The geometries of a set: with null arrays the count; else fills both and returns the count.
typedef int (*YSK_set_geometries_fn)(int* entities, void** instances, void* setApplication);
typedef void (*YSK_relationship_found_fn)(YSK_dnode_data_s* relationship);

struct YSK_frustum_functions {
    YSK_frustum_fn entries[YSK_FRUSTUM_COUNT];
};

// ---- Journal -------------------------------------------------------------------------------

// The journal's stream and its write and flush functions; the record must outlive the
// journal (or be replaced).
typedef ZMR3_file YSK_file;

// Fills the record; 0 on success, 1 when the record, the stream or a function is null.
int YSK_file_construct_full(YSK_file* file, FILE* stream, ZMR3_write_fn write, ZMR3_flush_fn flush);

enum YSK_journal_option {
    YSK_JOURNAL_CALLS = 4,    // one line per call with its arguments
    YSK_JOURNAL_RESULTS = 8   // and its result on the same line
};

// ---- The manager ---------------------------------------------------------------------------

class YSK_autoconstrain_manager {
public:
    // system may be null: finding works, every call that makes nodes answers
    // YSK_RESULT_NO_SYSTEM. reserved is not read; version 1 is the only one.
    YSK_autoconstrain_manager(void* application, ZMR3_dimension_system* system, void* reserved, int version);
    ~YSK_autoconstrain_manager();
    YSK_autoconstrain_manager(const YSK_autoconstrain_manager&) = delete;
    YSK_autoconstrain_manager& operator=(const YSK_autoconstrain_manager&) = delete;

    // Allocation can fail: the plain form then throws std::bad_alloc, the nothrow form
    // answers null.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* memory) noexcept;

    // initialise and reset: nothing offered, no desired change, no changes to report. The
    // nodes made stay in the system; those the application did not adopt go with the
    // manager (or with the system, when it goes first).
    int initialise();
    int reset();

    int enquire_frustum_functions(YSK_frustum_functions* table);
    int register_frustum_functions(const YSK_frustum_functions* table);
    // options: YSK_journal_option bits (0 stops); digits 0 takes 17.
    int journal_by_ptr(YSK_file* file, int options, int digits);

    YSK_autocon_result add_bonds(const YSK_dnode_data_s* relationships, int relationshipCount,
                                 const YSK_dnode_data_s* bonds, int bondCount);
    YSK_autocon_result get_bonds(void* client);
    int reset_changes();

    YSK_autocon_result add_desired_translation(g_node* node, double dx, double dy, double dz,
                                               YSK_change_compliance compliance);
    // The node moves in the plane with this normal.
    YSK_autocon_result add_desired_planar_translate(g_node* node, double nx, double ny, double nz,
                                                    YSK_change_compliance compliance);
    YSK_autocon_result add_desired_rotation(g_node* node, double px, double py, double pz, double dx, double dy,
                                            double dz, YSK_change_compliance compliance);
    YSK_autocon_result add_desired_general_transform(g_node* node, YSK_change_compliance compliance);

    YSK_autocon_result autodefine(YSK_autodefine_rule* rules, int count);

    // 0 when stored, YSK_RESULT_BAD_ARGUMENT for a value out of range.
    int set_fr_option(YSK_option_relation_type relation, YSK_option_geom_type from, YSK_option_geom_type to,
                      int offered);
    // counts[0]: parallel plane pairs among the from entities; counts[1]: parallel plane
    // pairs of a from entity and a to entity that is not a from entity; counts[2]: the
    // relationships reported. Entities of the third list are no partners.
    YSK_autocon_result find_relationships(double linearTolerance, double angularTolerance,
                                          const YSK_fr_option_s* options, const YSK_pointer_s* from, int fromCount,
                                          const YSK_pointer_s* to, int toCount, const YSK_pointer_s* third,
                                          int thirdCount, int* count1, int* count2, int* count3);

private:
    std::unique_ptr<tessik::AutoConstrainer> m_impl;
};
