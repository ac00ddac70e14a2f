// The body store: bodies as OCCT shapes with their tag <-> sub-shape maps and identifiers.
// Internal to the kernel layer; the add-on layer's engine uses it to read and replace shapes.
//
// Shapes held here are shared with partition marks and never changed in place: an operation
// builds a new shape (copying first when an OCCT algorithm would work on its input in place)
// and hands it to ReplaceBodyShape, so every mark keeps the shape it recorded.
#pragma once

#include "Session.h"

#include <BRepTools_History.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace brennik {

// Says which existing entity (tag, identifier) a sub-shape of a new shape continues; tag 0
// means a new tag, identifier 0 a new identifier.
struct Carried { int tag = 0; int identifier = 0; };
using CarryFn = std::function<Carried(const TopoDS_Shape&)>;

// Builds a body record from a shape: entities keep what `carry` gives them, the rest get new
// tags (faces, edges, vertices, then geometry, then fins) and new identifiers from the body's
// counter (which starts at firstIdentifier for a body without an old record). Geometry keeps
// its tag when the same OCCT geometry stays under the body.
BodyPtr BuildBodyRecord(Session& session, int bodyTag, const TopoDS_Shape& shape,
                        const BodyRecord* old, const CarryFn& carry, int firstIdentifier = 1);

// Builds the record of a shape that keeps an old record's topology: `continues` names, for each
// face, edge and vertex of the shape (`present` maps all its sub-shapes), the old entity it
// continues, one to one. Tags, identifiers, adjacency and fins stay the old record's (shared
// with it); shapes and geometry are the new shape's, geometry keeping its tag as
// BuildBodyRecord keeps it. Null when the shape's entities are not the old ones, listed and
// meeting as before: the caller then builds the record whole, with `continues` as it was.
// Otherwise the record has taken `continues` over as its own map and left it empty.
BodyPtr BuildKeptRecord(Session& session, const BodyRecord& old, const TopoDS_Shape& shape,
                        const TopTools_IndexedMapOfShape& present, ShapeTagMap& continues);

// Puts a record into the partition state in place of the old one (updating the owner index).
void InstallBody(PartitionState& state, const BodyPtr& body);
// Removes a body and its index entries (attributes and groups are the caller's matter).
void UninstallBody(PartitionState& state, int bodyTag);

// Whether a shape can be a body: well formed (every sub-shape present and of a lower kind than
// its parent, compounds aside; no shape inside itself), valid to OCCT's checker, and every
// solid of positive volume. What received data and operation results must pass. `maps`, when
// given, gets the shape's faces, edges and vertices once the shape is well formed.
struct SubShapeMaps;
bool IsValidBodyShape(const TopoDS_Shape& shape, SubShapeMaps* maps = nullptr);

// Body type token of a shape.
int BodyTypeOf(const TopoDS_Shape& shape);

namespace store {

// Creates a body in the partition (the current one when 0). Returns its tag, 0 on failure.
// With `identifiersOf` (a live body), the faces, edges and vertices that are the same OCCT
// shapes as entities of that body keep their identifiers (a lump split off it stays the
// same entities to whoever holds identifiers); the body's other identifiers start after
// that body's counter, so none collides.
int CreateBody(const TopoDS_Shape& shape, int partition = 0, int identifiersOf = 0);
// The record of a body (null when the tag is no live body).
const BodyRecord* FindBody(int body);
// The shape of a body, or of a face, edge or vertex (null shape otherwise).
TopoDS_Shape ShapeOf(int entity);
// The tag of a sub-shape of a body (0 when it is not one of the body's faces, edges, vertices).
int TagOf(int body, const TopoDS_Shape& subShape);

// The outcome of a replacement, in tags.
struct ReplaceReport {
  std::vector<int> kept;                      // same entity, same or modified geometry
  std::vector<int> created;                   // new entities
  std::vector<int> deleted;                   // entities gone
  std::vector<std::pair<int, int>> splits;    // (original, new piece)
  std::vector<std::pair<int, int>> merges;    // (survivor, entity merged into it)
};

// Replaces a body's shape after an operation. With a history, an old face/edge/vertex whose
// images are one new entity keeps its tag and identifier on it (modified or not); one with
// several images keeps them on the first and the others are new pieces (a split: attributes
// copied, the pieces join the original's groups, split callbacks fire); several old entities
// with one image merge into the one with the lowest tag (merge callbacks); old entities with no
// image are deleted (attributes deleted with delete callbacks, removed from groups). Without a
// history, sub-shapes that are the same OCCT shapes keep their tags. Returns a BQ_ERROR code.
int ReplaceBodyShape(int body, const TopoDS_Shape& shape, const Handle(BRepTools_History)& history,
                     ReplaceReport* report);

// After a paste: the target body takes over the tool body's groups and the attributes of the
// tool's body, faces, edges, vertices and groups (pointer fields included, copy callbacks
// fired), each member and owner mapped through `entityMap` (tool entity -> target entity;
// unmapped members are left out, unmapped owners' attributes are not copied). The tool body
// itself is left as it is, unless `move`: then the tool's body, groups and mapped entities
// give up their attributes and memberships without delete callbacks (a rejoin, whose other
// bodies are deleted next and must report nothing as lost). Returns a BQ_ERROR code.
int AdoptGroupsAndAttributes(int toolBody, int targetBody, const std::map<int, int>& entityMap,
                             bool move = false);

// Carries entity data from one body's entities to their counterparts in another body (each
// pair of `entityMap`, source entity -> target entity): the attributes are copied with copy
// callbacks. With `move`, the entities have left the source for good (a lump split off into a
// body of its own): they also take their group memberships along, into a group of the target
// made for each source group that had one of them (same class), and the source entities then
// lose their attributes and memberships without delete callbacks, so that the replacement
// dropping them from the source reports nothing as deleted. Returns a BQ_ERROR code.
int CarryEntityData(int sourceBody, int targetBody, const std::map<int, int>& entityMap, bool move);

// The add-on layer's per-body data (rolls back with marks, travels with transmit).
const std::string* AddonData(int body);
int SetAddonData(int body, const std::string& data);

}  // namespace store
}  // namespace brennik
