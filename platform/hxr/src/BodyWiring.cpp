// Putting engine results into the body store and handing out their track records.
#include "BodyWiring.h"

#include "BodyStore.h"
#include "DebugReport.h"
#include "engine/TrackEvents.h"
#include "hxr_test.h"

#include <BRepTools_History.hxx>
#include <Standard_Failure.hxx>
#include <TopAbs_ShapeEnum.hxx>

#include <cstdlib>
#include <cstring>
#include <map>
#include <exception>
#include <new>
#include <string>

namespace hxr::test {

namespace {

struct InjectedFailure {
  std::string function;
  int code = 0;
};

InjectedFailure& Injected() {
  static InjectedFailure s_failure;
  return s_failure;
}

}  // namespace

void FailNextCall(const char* function, int code) { Injected() = {function ? function : "", code}; }

void Reset() { Injected() = {}; }

}  // namespace hxr::test

namespace hxr::wired {

using brennik::store::FindBody;
using brennik::store::TagOf;

int RunCall(const char* name, const std::function<int()>& call) {
  DebugReportCall(name, "");
  hxr::test::InjectedFailure& injected = hxr::test::Injected();
  if (!injected.function.empty() && injected.function == name) {
    const int code = injected.code;
    injected = {};
    return code;
  }
  try {
    return call();
  } catch (const Standard_Failure&) {
    return HXR_ERROR_algorithm_failed;
  } catch (const std::exception&) {
    // Nothing may leave a call as an exception: its callers are plain C callers.
    return HXR_ERROR_algorithm_failed;
  }
}

void ClearTracking(HXR_ENTITY_track_r_s* tracking) {
  if (tracking == nullptr) return;
  tracking->n_track_records = 0;
  tracking->track_records = nullptr;
}

int* HandOut(const std::vector<int>& list) {
  if (list.empty()) return nullptr;
  // Freed by the caller with the kernel layer's memory-free call, which pairs with new[].
  int* out = static_cast<int*>(::operator new[](list.size() * sizeof(int)));
  std::memcpy(out, list.data(), list.size() * sizeof(int));
  return out;
}

namespace {

// The body that owns a face, edge or vertex tag (0 when it is none).
int OwnerOf(int tag) {
  const brennik::BodyRecord* body = brennik::BodyOf(tag);
  if (body == nullptr || body->tag == tag) return 0;
  return body->tag;
}

bool IsTopologyOf(const brennik::BodyRecord& body, int tag, TopAbs_ShapeEnum type) {
  auto it = body.subs.find(tag);
  return it != body.subs.end() && it->second.shape.ShapeType() == type;
}

}  // namespace

int ResolveFaces(int n, const int* faces, EntitySet& out) {
  out = EntitySet{};
  if (n <= 0 || faces == nullptr) return HXR_ERROR_bad_argument;
  out.body = OwnerOf(faces[0]);
  if (out.body == 0) return HXR_ERROR_bad_argument;
  if (int code = ResolveFacesOfBody(out.body, n, faces, out.shapes)) return code;
  out.tags.assign(faces, faces + n);
  return HXR_ERROR_none;
}

int ResolveFacesOfBody(int body, int n, const int* faces, std::vector<TopoDS_Shape>& out) {
  out.clear();
  if (n < 0 || (n > 0 && faces == nullptr)) return HXR_ERROR_bad_argument;
  const brennik::BodyRecord* record = FindBody(body);
  if (record == nullptr) return HXR_ERROR_bad_argument;
  for (int i = 0; i < n; ++i) {
    if (!IsTopologyOf(*record, faces[i], TopAbs_FACE)) return HXR_ERROR_bad_argument;
    out.push_back(record->subs.at(faces[i]).shape);
  }
  return HXR_ERROR_none;
}

int ResolveBody(int body, TopoDS_Shape& out) {
  const brennik::BodyRecord* record = FindBody(body);
  if (record == nullptr || record->shape.IsNull()) return HXR_ERROR_bad_argument;
  out = record->shape;
  return HXR_ERROR_none;
}

int ResolveTransform(int transform, gp_Trsf& out) {
  if (transform == 0) return HXR_ERROR_bad_argument;
  brennik::Located where = brennik::Locate(transform);
  if (where.kind != brennik::Kind::Transf) return HXR_ERROR_bad_argument;
  out = where.partition->state.transfs.at(transform).trsf;
  return HXR_ERROR_none;
}

int ResolveSurface(int surface, Handle(Geom_Surface)& out) {
  brennik::Located where = brennik::Locate(surface);
  if (where.kind == brennik::Kind::FreeGeom) {
    out = where.partition->state.freeGeoms.at(surface).data.surface;
  } else if (where.kind == brennik::Kind::BodyGeom) {
    out = where.body->geoms.at(surface).data.surface;
  } else {
    return HXR_ERROR_bad_argument;
  }
  return out.IsNull() ? HXR_ERROR_bad_argument : HXR_ERROR_none;
}

namespace {

// The engine's history in the form the store reads: each input entity's images, removals.
Handle(BRepTools_History) StoreHistoryOf(const engine::History& history) {
  Handle(BRepTools_History) out = new BRepTools_History();
  for (const auto* list : {&history.faces, &history.edges, &history.vertices}) {
    for (const engine::EntityOutcome& outcome : *list) {
      if (outcome.fate == engine::Fate::FateDeleted) {
        out->Remove(outcome.source);
        continue;
      }
      // The source itself among its products (a split whose first piece is the old face)
      // is listed too, so that the store keeps the old tag on it.
      for (const TopoDS_Shape& product : outcome.products) out->AddModified(outcome.source, product);
    }
  }
  return out;
}

// Tags of the entities of some bodies, looked up by shape (orientation ignored). The bodies'
// records are found once, at the first look-up: no body may change while the finder is used.
class TagFinder {
 public:
  void Add(int body) {
    if (body != 0) m_bodies.push_back(body);
  }
  int Find(const TopoDS_Shape& shape) const {
    if (m_records.size() != m_bodies.size()) {
      m_records.clear();
      for (int body : m_bodies) m_records.push_back(FindBody(body));
    }
    for (const brennik::BodyRecord* record : m_records) {
      if (record == nullptr) continue;
      if (const int* tag = record->shapeToTag.Seek(shape)) return *tag;
    }
    return 0;
  }

 private:
  std::vector<int> m_bodies;
  mutable std::vector<const brennik::BodyRecord*> m_records;
};

struct TagRecord {
  int track;
  std::vector<int> before;
  std::vector<int> after;
};

int* MallocCopy(const std::vector<int>& list) {
  if (list.empty()) return nullptr;
  int* out = static_cast<int*>(std::malloc(list.size() * sizeof(int)));
  if (out == nullptr) throw std::bad_alloc();
  std::memcpy(out, list.data(), list.size() * sizeof(int));
  return out;
}

// Track records are freed with free() by HXR_ENTITY_track_r_f.
void HandOutTracking(const std::vector<TagRecord>& records, HXR_ENTITY_track_r_s* tracking) {
  ClearTracking(tracking);
  if (tracking == nullptr || records.empty()) return;
  auto* out = static_cast<HXR_ENTITY_track_record_r_s*>(
      std::calloc(records.size(), sizeof(HXR_ENTITY_track_record_r_s)));
  if (out == nullptr) throw std::bad_alloc();
  for (size_t i = 0; i < records.size(); ++i) {
    out[i].track = records[i].track;
    out[i].form = HXR_TRACK_FORM_map;
    out[i].n_originals = static_cast<int>(records[i].before.size());
    out[i].originals = MallocCopy(records[i].before);
    out[i].n_products = static_cast<int>(records[i].after.size());
    out[i].products = MallocCopy(records[i].after);
  }
  tracking->n_track_records = static_cast<int>(records.size());
  tracking->track_records = out;
}

std::vector<int> TagsOf(const std::vector<TopoDS_Shape>& shapes, const TagFinder& finder) {
  std::vector<int> tags;
  tags.reserve(shapes.size());
  for (const TopoDS_Shape& shape : shapes) tags.push_back(finder.Find(shape));
  return tags;
}

}  // namespace

int ApplyResult(const Apply& apply, const engine::Result& result, HXR_ENTITY_track_r_s* tracking,
                std::vector<int>* pieces) {
  ClearTracking(tracking);
  if (pieces != nullptr) pieces->clear();
  if (!result.ok) return result.error != 0 ? result.error : HXR_ERROR_algorithm_failed;
  const brennik::BodyRecord* record = FindBody(apply.body);
  if (record == nullptr) return HXR_ERROR_bad_argument;

  // The events in shapes, and the tags of their inputs while those still name them.
  const std::vector<engine::TrackEvent> events = engine::TrackEventsOf(result.history);
  TagFinder before;
  before.Add(apply.body);
  for (int source : apply.otherSources) before.Add(source);
  std::vector<std::vector<int>> beforeTags;
  beforeTags.reserve(events.size());
  for (const engine::TrackEvent& event : events) beforeTags.push_back(TagsOf(event.before, before));

  // Extra bodies first: a failure to make one leaves the body untouched.
  const int partition =
      apply.piecePartition != 0 ? apply.piecePartition : brennik::Locate(apply.body).partition->tag;
  std::vector<int> made;
  for (size_t i = apply.piecesFrom; i < result.pieces.size(); ++i) {
    // Entities that move keep their identifiers in their new body.
    const int identifiersOf = apply.carryIntoPieces == Apply::Carry::Move ? apply.body : 0;
    int piece = brennik::store::CreateBody(result.pieces[i], partition, identifiersOf);
    if (piece == 0) {
      if (!made.empty()) BQ_ENTITY_delete(static_cast<int>(made.size()), made.data());
      return HXR_ERROR_algorithm_failed;
    }
    made.push_back(piece);
  }
  if (apply.carryIntoPieces != Apply::Carry::None) {
    // While the body still names the sources, so that a moved entity's data is taken before
    // the replacement drops it.
    for (int piece : made) {
      std::map<int, int> entityMap;
      for (const engine::DerivedEntity& derived : result.history.derived) {
        const int from = TagOf(apply.body, derived.source);
        const int to = TagOf(piece, derived.product);
        if (from != 0 && to != 0) entityMap[from] = to;
      }
      if (brennik::store::CarryEntityData(apply.body, piece, entityMap,
                                          apply.carryIntoPieces == Apply::Carry::Move) != 0) {
        BQ_ENTITY_delete(static_cast<int>(made.size()), made.data());
        return HXR_ERROR_tracking_failed;
      }
    }
  }

  if (apply.replaceShape) {
    int code = brennik::store::ReplaceBodyShape(apply.body, result.shape,
                                                StoreHistoryOf(result.history), nullptr);
    if (code != 0) {
      if (!made.empty()) BQ_ENTITY_delete(static_cast<int>(made.size()), made.data());
      return HXR_ERROR_algorithm_failed;
    }
  }

  TagFinder after;
  after.Add(apply.body);
  for (int piece : made) after.Add(piece);
  std::vector<TagRecord> records;
  records.reserve(events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    TagRecord tagRecord{static_cast<int>(events[i].kind), std::move(beforeTags[i]), TagsOf(events[i].after, after)};
    records.push_back(std::move(tagRecord));
  }

  if (apply.adoptFromSources) {
    for (int source : apply.otherSources) {
      std::map<int, int> entityMap;
      for (const engine::DerivedEntity& derived : result.history.derived) {
        int from = TagOf(source, derived.source);
        int to = after.Find(derived.product);
        if (from != 0 && to != 0) entityMap[from] = to;
      }
      if (brennik::store::AdoptGroupsAndAttributes(source, apply.body, entityMap,
                                                      apply.sourcesGo) != 0)
        return HXR_ERROR_tracking_failed;
    }
  }

  HandOutTracking(records, tracking);
  if (pieces != nullptr) *pieces = made;
  return HXR_ERROR_none;
}

}  // namespace hxr::wired
