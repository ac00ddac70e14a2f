// The changes of an operation as track events: the form in which the add-on reports them
// (delete, merge, create, split, derive, modify; entities before and after).
#pragma once

#include "engine/EngineResult.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace hxr::engine {

// Values are the add-on's track tokens.
enum class TrackKind : int {
  TrackKindDelete = 50000,
  TrackKindMerge = 50001,
  TrackKindCreate = 50002,
  TrackKindSplit = 50003,
  TrackKindDerive = 50004,
  TrackKindModify = 50005,
};

struct TrackEvent {
  TrackKind kind;
  std::vector<TopoDS_Shape> before;
  std::vector<TopoDS_Shape> after;
};

// The events of a history: faces, then edges, then vertices, each in the input's order;
// unchanged entities give none. A merge gives one event per survivor, its sources in the
// input's order. A split lists its pieces in the result's order. Created entities give one
// create event each. Derived entities give one derive event per kind of entity in which
// position j of `after` pairs with position j of `before`.
std::vector<TrackEvent> TrackEventsOf(const History& history);

}  // namespace hxr::engine
