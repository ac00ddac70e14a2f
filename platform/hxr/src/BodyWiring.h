// The one path by which every add-on call changes the kernel layer's bodies: resolve the
// tags into shapes, run the engine, and, only when the engine succeeded, put its result into
// the body store (tags, identifiers, callbacks, groups) and hand out the track records.
#pragma once

#include "engine/EngineResult.h"
#include "hxr.h"

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include <Geom_Surface.hxx>

#include <functional>
#include <string>
#include <vector>

namespace hxr::wired {

// Runs one add-on call: records it in a running debug report and turns an OCCT exception
// into an add-on error.
int RunCall(const char* name, const std::function<int()>& call);

// Faces (or other entities) of one body, by tag and by shape.
struct EntitySet {
  int body = 0;
  std::vector<int> tags;
  std::vector<TopoDS_Shape> shapes;
};

// Resolves a non-empty list of faces of one body; anything else is a bad argument.
int ResolveFaces(int n, const int* faces, EntitySet& out);
// Resolves faces that may be absent (n == 0) but must belong to `body` when given.
int ResolveFacesOfBody(int body, int n, const int* faces, std::vector<TopoDS_Shape>& out);
// The shape of a live body; a bad argument for anything else.
int ResolveBody(int body, TopoDS_Shape& out);
// The kernel transform of a tag; a bad argument for 0 or any other tag.
int ResolveTransform(int transform, gp_Trsf& out);
// The kernel surface of a tag (free or under a body); a bad argument otherwise.
int ResolveSurface(int surface, Handle(Geom_Surface)& out);

// What to do with an engine result.
struct Apply {
  int body = 0;                 // the body whose shape becomes the result's shape
  bool replaceShape = true;     // false when the body is left as it is (copy)
  int piecePartition = 0;       // where extra bodies are made (0: the body's partition)
  int piecesFrom = 0;           // the first extra body to make (disjoin keeps lump 0 on `body`)
  std::vector<int> otherSources;  // other bodies whose entities the result derives from
  bool adoptFromSources = false;  // copy the groups and attributes of otherSources (paste)
  bool sourcesGo = false;         // ...and take them from otherSources, which go next (rejoin)
  // What the extra bodies' entities derived from the body's (the result's `derived` pairs)
  // take from their sources: nothing, a copy of the attributes (copied faces), or the
  // attributes, group memberships and identifiers, which leave the body with them
  // (split-off lumps).
  enum class Carry { None, Copy, Move } carryIntoPieces = Carry::None;
};

// Puts a successful engine result into the store and fills the track records; an engine
// failure is returned as it is and nothing changes. `pieces` gets the extra bodies made.
int ApplyResult(const Apply& apply, const engine::Result& result, HXR_ENTITY_track_r_s* tracking,
                std::vector<int>* pieces = nullptr);

// Empties a caller's track result before a call (so that a failure hands out nothing).
void ClearTracking(HXR_ENTITY_track_r_s* tracking);
// A malloc'ed copy of a list (null for an empty one), as the layer hands arrays out.
int* HandOut(const std::vector<int>& list);

}  // namespace hxr::wired
