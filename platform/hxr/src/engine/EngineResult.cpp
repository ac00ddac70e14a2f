#include "engine/EngineResult.h"

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

const EntityOutcome* History::Find(const TopoDS_Shape& source) const {
  for (const std::vector<EntityOutcome>* list : {&faces, &edges, &vertices}) {
    auto it = std::find_if(list->begin(), list->end(),
                           [&](const EntityOutcome& o) { return o.source.IsSame(source); });
    if (it != list->end()) return &*it;
  }
  return nullptr;
}

int History::CountFaces(Fate fate) const {
  return static_cast<int>(std::count_if(faces.begin(), faces.end(),
                                        [&](const EntityOutcome& o) { return o.fate == fate; }));
}

int History::CountEdges(Fate fate) const {
  return static_cast<int>(std::count_if(edges.begin(), edges.end(),
                                        [&](const EntityOutcome& o) { return o.fate == fate; }));
}

Result Result::Failure(int error, std::string detail) {
  Result result;
  result.ok = false;
  result.error = error;
  result.detail = std::move(detail);
  return result;
}

}  // namespace hxr::engine
