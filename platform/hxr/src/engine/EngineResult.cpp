#include "engine/EngineResult.h"

#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <algorithm>

namespace hxr::engine {

const char* ErrorCodeName(int code) {
  switch (code) {
    case ErrorNone: return "ok";
    case ErrorBadArgument: return "bad argument";
    case ErrorUnsupported: return "unsupported case";
    case ErrorInvalidResult: return "invalid result";
    case ErrorTopologyChangeNeeded: return "topology change needed";
    case ErrorFaceInverted: return "face inverted";
    case ErrorAlgorithmFailed: return "algorithm failed";
    case ErrorNoChange: return "no change";
    case ErrorNotABlend: return "not a blend";
    case ErrorTrackingFailed: return "tracking failed";
    case ErrorSheetTrackingFailed: return "sheet tracking failed";
    case StatusNothingToDo: return "nothing to do";
    default: return "unknown";
  }
}

const char* FateName(Fate fate) {
  switch (fate) {
    case Fate::FateUnchanged: return "unchanged";
    case Fate::FateModified: return "modified";
    case Fate::FateSplit: return "split";
    case Fate::FateMerged: return "merged";
    case Fate::FateDeleted: return "deleted";
  }
  return "unknown";
}

namespace {

int CountListed(const std::vector<EntityOutcome>& list, Fate fate) {
  return static_cast<int>(
      std::count_if(list.begin(), list.end(), [&](const EntityOutcome& o) { return o.fate == fate; }));
}

// The entities of the type that a sparse history leaves unlisted: all unchanged.
int CountImplied(const TopoDS_Shape& input, TopAbs_ShapeEnum type, size_t listed) {
  if (input.IsNull()) return 0;
  TopTools_IndexedMapOfShape all;
  TopExp::MapShapes(input, type, all);
  return all.Extent() - static_cast<int>(listed);
}

}  // namespace

const EntityOutcome* History::Find(const TopoDS_Shape& source) const {
  for (const std::vector<EntityOutcome>* list : {&faces, &edges, &vertices}) {
    auto it = std::find_if(list->begin(), list->end(),
                           [&](const EntityOutcome& o) { return o.source.IsSame(source); });
    if (it != list->end()) return &*it;
  }
  if (input.IsNull() || source.IsNull()) return nullptr;
  for (const EntityOutcome& implied : m_implied)
    if (implied.source.IsSame(source)) return &implied;
  for (TopExp_Explorer it(input, source.ShapeType()); it.More(); it.Next()) {
    if (!it.Current().IsSame(source)) continue;
    m_implied.push_back({it.Current(), Fate::FateUnchanged, {it.Current()}});
    return &m_implied.back();
  }
  return nullptr;
}

int History::CountFaces(Fate fate) const {
  const int implied = fate == Fate::FateUnchanged ? CountImplied(input, TopAbs_FACE, faces.size()) : 0;
  return CountListed(faces, fate) + implied;
}

int History::CountEdges(Fate fate) const {
  const int implied = fate == Fate::FateUnchanged ? CountImplied(input, TopAbs_EDGE, edges.size()) : 0;
  return CountListed(edges, fate) + implied;
}

Result Result::Failure(int error, std::string detail) {
  Result result;
  result.ok = false;
  result.error = error;
  result.detail = std::move(detail);
  return result;
}

}  // namespace hxr::engine
