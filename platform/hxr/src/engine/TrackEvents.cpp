#include "engine/TrackEvents.h"

#include <TopTools_ShapeMapHasher.hxx>
#include <NCollection_DataMap.hxx>

namespace hxr::engine {
namespace {

void AddOutcomes(const std::vector<EntityOutcome>& outcomes, std::vector<TrackEvent>& events) {
  // Merges collect their sources under the survivor, in the input's order.
  NCollection_DataMap<TopoDS_Shape, size_t, TopTools_ShapeMapHasher> mergeOf;
  for (const EntityOutcome& outcome : outcomes) {
    switch (outcome.fate) {
      case Fate::FateUnchanged:
        break;
      case Fate::FateModified:
        events.push_back({TrackKind::TrackKindModify, {outcome.source}, outcome.products});
        break;
      case Fate::FateSplit:
        events.push_back({TrackKind::TrackKindSplit, {outcome.source}, outcome.products});
        break;
      case Fate::FateDeleted:
        events.push_back({TrackKind::TrackKindDelete, {outcome.source}, {}});
        break;
      case Fate::FateMerged: {
        const TopoDS_Shape& survivor = outcome.products.front();
        if (const size_t* index = mergeOf.Seek(survivor)) {
          events[*index].before.push_back(outcome.source);
        } else {
          mergeOf.Bind(survivor, events.size());
          events.push_back({TrackKind::TrackKindMerge, {outcome.source}, {survivor}});
        }
        break;
      }
    }
  }
}

}  // namespace

std::vector<TrackEvent> TrackEventsOf(const History& history) {
  std::vector<TrackEvent> events;
  AddOutcomes(history.faces, events);
  AddOutcomes(history.edges, events);
  AddOutcomes(history.vertices, events);
  for (const TopoDS_Shape& created : history.created) {
    events.push_back({TrackKind::TrackKindCreate, {}, {created}});
  }
  for (TopAbs_ShapeEnum type : {TopAbs_FACE, TopAbs_EDGE, TopAbs_VERTEX}) {
    TrackEvent derive{TrackKind::TrackKindDerive, {}, {}};
    for (const DerivedEntity& derived : history.derived) {
      if (derived.source.ShapeType() != type) continue;
      derive.before.push_back(derived.source);
      derive.after.push_back(derived.product);
    }
    if (!derive.before.empty()) events.push_back(std::move(derive));
  }
  return events;
}

}  // namespace hxr::engine
