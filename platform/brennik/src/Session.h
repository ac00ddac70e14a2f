// The kernel session: one tag counter, the partitions with their entity records and marks,
// the attribute definitions, the error and frustrum callbacks. Internal to the layer (and to
// the add-on layer's engine, through BodyStore.h).
#pragma once

#include "SharedMap.h"
#include "TagIndex.h"
#include "brennik.h"

#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <NCollection_DataMap.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Pnt.hxx>
#include <gp_Trsf.hxx>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace brennik {

// One geometry: a point, a curve or a surface, with its kernel class.
struct GeomData {
  int cls = BQ_CLASS_null;
  Handle(Geom_Surface) surface;
  Handle(Geom_Curve) curve;
  gp_Pnt point;
};

// Class of an OCCT curve or surface (trimmed forms are seen through to their basis).
int ClassOfCurve(const Handle(Geom_Curve)& curve);
int ClassOfSurface(const Handle(Geom_Surface)& surface);
// The kernel's normal of a surface is the normal of its standard form, whose placement is
// right-handed: -1 when the OCCT surface (or the surface an offset surface offsets) sits on a
// left-handed placement, so that its parametric normal is the opposite one; +1 otherwise.
// Senses and normals cross the interface against the standard form, so a surface rebuilt
// from its standard form takes the face back with the sense it was read with.
double StandardNormalSign(const Handle(Geom_Surface)& surface);
// Whether the face's outward normal agrees with the kernel's normal of its surface.
bool FaceAgreesWithSurface(const TopoDS_Shape& face, const Handle(Geom_Surface)& surface);

// A face, edge or vertex of a body.
struct SubEntity {
  int cls = BQ_CLASS_null;
  TopoDS_Shape shape;  // as first met in the body's traversal
  int identifier = 0;
  int geom = 0;        // its surface, curve or point (0 when it has none)
};

// Geometry under a body's topology (shared by every entity on the same OCCT geometry).
struct BodyGeom {
  GeomData data;
  int identifier = 0;
};

using ShapeTagMap = NCollection_DataMap<TopoDS_Shape, int, TopTools_ShapeMapHasher>;

// The tags of a record's face and edge geometry by OCCT geometry object and placement (built
// with the record, in BodyBuild.cpp).
class GeomKeys;

// A body: its OCCT shape and the two-way maps between its entities' tags and sub-shapes.
// Records are shared between a partition and its marks and never changed once built
// (copy on write), so a mark costs one pointer per body. A record made from another whose
// topology it keeps shares that record's adjacency and fins.
using Adjacency = SharedMap<std::unordered_map<int, std::vector<int>>>;
struct BodyRecord {
  int tag = 0;
  int bodyType = BQ_BODY_type_empty;
  TopoDS_Shape shape;
  std::vector<int> faces, edges, vertices;  // traversal order
  std::unordered_map<int, SubEntity> subs;
  ShapeTagMap shapeToTag;
  Adjacency faceEdges, faceVertices, edgeFaces, vertexFaces, vertexEdges;
  std::map<int, BodyGeom> geoms;
  SharedMap<std::map<int, std::pair<int, int>>> fins;  // fin -> (edge, face)
  SharedMap<std::map<std::pair<int, int>, int>> finOf;
  std::vector<int> attachedGeoms;           // free geometry attached to the part
  int identifier = 0;                        // the body's own identifier
  int nextIdentifier = 1;
  std::string addonData;                     // the add-on layer's per-body data, opaque here
  // Made with the record's geometry and never changed after: the next record of the body finds
  // the geometry it keeps here rather than walking this record's faces and edges again.
  std::shared_ptr<const GeomKeys> geomKeys;
};
using BodyPtr = std::shared_ptr<const BodyRecord>;

struct FreeGeomRecord {
  GeomData data;
  int part = 0;        // the part it is attached to, 0 when orphan
  int identifier = 0;
};

struct TransfRecord { gp_Trsf trsf; };

struct GroupRecord {
  int part = 0;
  int groupClass = 0;
  std::vector<int> members;
};

struct AttribField {
  int type = BQ_FIELD_type_int;
  std::vector<int> ints;
  std::vector<double> reals;
  std::string text;
  std::vector<void*> pointers;
};

struct AttribRecord {
  int attdef = 0;
  int owner = 0;
  std::vector<AttribField> fields;
};

// Everything a partition owns that rolls back with its marks. Its maps are shared with the
// marks' copies until changed, so that a mark or a goto costs a few pointers, and a change
// copies only what it touches.
struct PartitionState {
  SharedMap<std::map<int, BodyPtr>> bodies;
  SharedMap<std::unordered_map<int, int>> subOwner;  // face, edge, vertex, fin, body geometry -> body
  SharedMap<std::map<int, FreeGeomRecord>> freeGeoms;
  SharedMap<std::map<int, TransfRecord>> transfs;
  SharedMap<std::map<int, GroupRecord>> groups;
  SharedMap<std::map<int, AttribRecord>> attribs;
  SharedMap<std::map<int, std::vector<int>>> attribsOf;  // owner -> its attributes, creation order
  int nextFreeIdentifier = 1;
  // The groups of each part, made from `groups` when first asked for and dropped by every
  // change (Partition::Change), so that it always describes the state it travels with; a mark
  // shares it rather than copying it.
  mutable std::shared_ptr<const std::unordered_map<int, std::vector<int>>> groupsOfParts;
};

struct PMark {
  std::shared_ptr<const PartitionState> snapshot;
  int preceding = 0;
};

struct Partition {
  Partition() = default;
  Partition(const Partition&) = delete;
  Partition& operator=(const Partition&) = delete;

 private:
  PartitionState m_state;

 public:
  int tag = 0;
  // Read here; changed only through Change(), so that no write bypasses the at-mark answer.
  const PartitionState& state = m_state;
  std::map<int, PMark> marks;
  int atMark = 0;    // the mark the state equals exactly (0 once changed)
  int lastMark = 0;  // the mark the state derives from (its successor's preceding mark)
  // The state of the mark last made or visited: the base of the change lists, kept even when
  // that mark is deleted, so that changes are never reported against a lost base.
  std::shared_ptr<const PartitionState> base;
  std::map<int, void*> appItems;
  // Every change to the state goes through here, so the at-mark answer stays true.
  PartitionState& Change() {
    NoteStateChange();
    atMark = 0;
    m_state.groupsOfParts.reset();
    return m_state;
  }
};

struct AttdefRecord {
  std::string name;
  int attdefClass = 0;
  std::vector<int> ownerTypes;
  std::vector<int> fieldTypes;
  std::vector<std::string> fieldNames;
  BQ_ATTDEF_callback_fns_t callbacks{};
  BQ_ATTDEF_callback_flags_t flags{};
};

// What a tag names.
enum class Kind {
  None, Partition, PMark, AppItem, Attdef, Body, Sub, Fin, BodyGeom, FreeGeom, Transf, Group, Attrib
};
struct Located {
  Kind kind = Kind::None;
  Partition* partition = nullptr;
  const BodyRecord* body = nullptr;  // for Body, Sub, Fin, BodyGeom
  int tag = 0;
  int cls = 0;  // the class when the search found it, else 0 (ClassOf then looks it up)
  // The entity's record when the search found it (a Sub's entity, a BodyGeom's or FreeGeom's
  // geometry), else null: SubEntityOf and GeomOf then look it up.
  const SubEntity* sub = nullptr;
  const GeomData* geom = nullptr;
};

struct TestControl {
  std::string failFunction;
  int failCode = 0;
  int fatalCode = 0;
  bool abortNext = false;
  bool bulletinBoard = false;
  bool logCalls = false;
  std::vector<std::string> callLog;
};

struct Session {
  int nextTag = 1;
  int current = 0;
  bool rollbackOn = true;
  bool checkArguments = true;
  std::map<int, std::unique_ptr<Partition>> partitions;
  std::map<int, AttdefRecord> attdefs;
  TagIndex tagIndex;
  int NewTag() { return nextTag++; }
};

// Process-wide kernel state that outlives sessions: callbacks, frame state, test control.
struct KernelGlobals {
  std::unique_ptr<Session> session;
  BQ_ERROR_callbacks_t errorCallbacks{};
  BQ_SESSION_frustrum_t frustrum{};
  BQ_ERROR_report_t lastError{};
  std::string lastFunction;
  std::string lastToken;
  const char* function = "";
  int depth = 0;
  bool abortPending = false;
  TestControl test;
};
KernelGlobals& Globals();
Session* CurrentSession();

// Finds what a tag names in the running session.
Located Locate(int tag);
// Class code of a located entity.
int ClassOf(const Located& where);
Partition* FindPartition(int tag);
Partition* CurrentPartition();
// The body record of a body, face, edge or vertex tag (null otherwise).
const BodyRecord* BodyOf(int tag);

// Answers of the error tables.
const char* TokenOfError(int code);

}  // namespace brennik
