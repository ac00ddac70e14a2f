// The outcome every engine operation returns: success, an add-on error code, the new
// shape and what became of each face, edge and vertex of the input.
#pragma once

#include <TopoDS_Shape.hxx>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace hxr::engine {

// Add-on error codes (five-digit tokens). 0 is success. A failed operation never
// changes its input: the caller's shape stays as it was.
enum ErrorCode : int {
  ErrorNone = 0,
  ErrorBadArgument = 18001,        // an entity that is not in the body, an empty list, a bad value
  ErrorUnsupported = 18002,        // a case the operation cannot handle
  ErrorInvalidResult = 18003,      // the result failed the validity check
  ErrorTopologyChangeNeeded = 18004,  // the change would need faces or edges to appear or vanish
  ErrorFaceInverted = 18005,       // an offset or replacement turns a face inside out
  ErrorAlgorithmFailed = 18006,    // the geometric algorithm gave no result
  ErrorNoChange = 18007,           // the operation would leave the shape as it was
  ErrorNotABlend = 18008,          // a face given as a blend is none
  ErrorTrackingFailed = 18018,     // the operation succeeded but its changes could not be recorded
  ErrorSheetTrackingFailed = 18030,
  StatusNothingToDo = 18502,       // persistent data already stored, or nothing to restore
};

const char* ErrorCodeName(int code);

// What an operation did to one entity of its input.
enum class Fate {
  FateUnchanged,  // still in the result (possibly rebuilt) with the same geometry and boundary
  FateModified,   // replaced by one entity with other geometry or boundary
  FateSplit,      // replaced by several entities
  FateMerged,     // joined with other input entities into one survivor
  FateDeleted,    // gone
};

const char* FateName(Fate fate);

struct EntityOutcome {
  TopoDS_Shape source;                 // the entity of the input
  Fate fate = Fate::FateUnchanged;
  std::vector<TopoDS_Shape> products;  // its entities in the result (one for unchanged,
                                       // modified and merged; several for split)
};

// A result entity that comes from an entity of another body (a copied face, a pasted
// tool face): position j of `derived` pairs product j with source j.
struct DerivedEntity {
  TopoDS_Shape source;
  TopoDS_Shape product;
};

struct History {
  // The outcomes of the input entities, in the input's order of TopExp::MapShapes, or, for an
  // operation that names only what it touched, in the order it met them. An entity of the
  // input that no list holds is unchanged: it is in the result as it was.
  std::vector<EntityOutcome> faces;
  std::vector<EntityOutcome> edges;
  std::vector<EntityOutcome> vertices;
  // Set when the lists name only the touched entities: the input whose other entities are
  // implied unchanged, so that a question about one of them needs no outcome for every entity.
  TopoDS_Shape input;
  // Result entities that no input entity became (faces, then edges, then vertices;
  // each in the result's order).
  std::vector<TopoDS_Shape> created;
  std::vector<DerivedEntity> derived;

  // The outcome of an input entity, implied ones included; null when it is not an input entity.
  const EntityOutcome* Find(const TopoDS_Shape& source) const;
  // Number of input faces (edges) of the given fate, implied ones included.
  int CountFaces(Fate fate) const;
  int CountEdges(Fate fate) const;

 private:
  // The implied outcomes handed out by Find, kept so that the pointers stay good.
  mutable std::deque<EntityOutcome> m_implied;
};

struct Result {
  bool ok = false;
  int error = ErrorNone;
  std::string detail;                // why it failed, for reports and tests
  TopoDS_Shape shape;                // the changed body (null on failure)
  std::vector<TopoDS_Shape> pieces;  // extra bodies: a cut or copied sheet, disjoined lumps
  History history;
  // Pairs of faces across a wall made by hollowing: (original side, offset side).
  std::vector<std::pair<TopoDS_Shape, TopoDS_Shape>> shellPartners;

  static Result Failure(int error, std::string detail);
};

}  // namespace hxr::engine
