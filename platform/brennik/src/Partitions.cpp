// Partitions and partition marks: whole-state snapshots, goto in both directions, and the
// lists of faces, edges and vertices created, modified (by geometry) and deleted between states.
#include "EntityOps.h"

#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>

#include <algorithm>

namespace brennik {
namespace {

struct Changes {
  std::vector<int> created, modified, deleted;
};

const SubEntity* FindSub(const PartitionState& st, int tag, const BodyRecord** body) {
  auto it = st.subOwner.find(tag);
  if (it == st.subOwner.end()) return nullptr;
  auto bit = st.bodies.find(it->second);
  if (bit == st.bodies.end()) return nullptr;
  auto sit = bit->second->subs.find(tag);
  if (sit == bit->second->subs.end()) return nullptr;
  *body = bit->second.get();
  return &sit->second;
}

const GeomData* SubGeom(const BodyRecord& body, const SubEntity& sub) {
  auto it = body.geoms.find(sub.geom);
  return it == body.geoms.end() ? nullptr : &it->second.data;
}

// Whether an entity present in both states changed its geometry: a vertex moved; an edge's
// curve, ends or vertices changed; a face's surface or boundary changed.
class ChangeJudge {
 public:
  ChangeJudge(const PartitionState& from, const PartitionState& to) : m_from(from), m_to(to) {}

  // The records of the body being walked, in both states: its entities are looked up there
  // first, the partition's owner index only for the rest.
  void Walk(const BodyRecord* from, const BodyRecord* to) {
    m_walkFrom = from;
    m_walkTo = to;
  }

  bool Modified(int tag) {
    auto memo = m_memo.find(tag);
    if (memo != m_memo.end()) return memo->second;
    bool result = Judge(tag);
    m_memo[tag] = result;
    return result;
  }

 private:
  bool Judge(int tag) {
    const BodyRecord *bodyA = nullptr, *bodyB = nullptr;
    const SubEntity* a = FindIn(m_walkFrom, m_from, tag, &bodyA);
    const SubEntity* b = FindIn(m_walkTo, m_to, tag, &bodyB);
    if (!a || !b) return false;
    if (a->shape.IsEqual(b->shape)) return false;
    // A face or edge keeps its geometry's tag only while it stays on the same OCCT geometry
    // object and placement; a vertex keeps its point's tag wherever the point goes.
    const bool keptGeom = a->cls != BQ_CLASS_vertex && a->geom != 0 && a->geom == b->geom;
    const GeomData* ga = keptGeom ? nullptr : SubGeom(*bodyA, *a);
    const GeomData* gb = keptGeom ? nullptr : SubGeom(*bodyB, *b);
    if ((ga == nullptr) != (gb == nullptr)) return true;
    if (ga && !Coincident(*ga, *gb, 1e-8)) return true;
    if (a->cls == BQ_CLASS_vertex) return false;
    // Records that share their adjacency bound each face and end each edge alike.
    const bool sameTopology = &bodyA->faceEdges.View() == &bodyB->faceEdges.View() &&
                              &bodyA->vertexEdges.View() == &bodyB->vertexEdges.View();
    std::vector<int> la, lb;
    if (a->cls == BQ_CLASS_face) {
      if (sameTopology) return AnyModified(bodyA->faceEdges.at(tag));
      la = bodyA->faceEdges.at(tag);
      lb = bodyB->faceEdges.at(tag);
    } else {
      la = EdgeVertices(*bodyA, tag);
      if (!sameTopology) lb = EdgeVertices(*bodyB, tag);
      double fa, la_, fb, lb_;
      BRep_Tool::Range(TopoDS::Edge(a->shape), fa, la_);
      BRep_Tool::Range(TopoDS::Edge(b->shape), fb, lb_);
      const bool sameCurve = keptGeom || (ga && ga->curve == gb->curve);
      if (sameCurve && (std::abs(fa - fb) > 1e-9 || std::abs(la_ - lb_) > 1e-9)) return true;
      if (sameTopology) return AnyModified(la);
    }
    std::sort(la.begin(), la.end());
    std::sort(lb.begin(), lb.end());
    if (la != lb) return true;
    return AnyModified(la);
  }

  bool AnyModified(const std::vector<int>& tags) {
    for (int lower : tags)
      if (Modified(lower)) return true;
    return false;
  }

  static const SubEntity* FindIn(const BodyRecord* walked, const PartitionState& st, int tag,
                                 const BodyRecord** body) {
    if (walked) {
      auto it = walked->subs.find(tag);
      if (it != walked->subs.end()) {
        *body = walked;
        return &it->second;
      }
    }
    return FindSub(st, tag, body);
  }

  static std::vector<int> EdgeVertices(const BodyRecord& body, int edge) {
    std::vector<int> out;
    TopoDS_Vertex first, last;
    TopExp::Vertices(TopoDS::Edge(body.subs.at(edge).shape), first, last);
    for (const TopoDS_Vertex& v : {first, last}) {
      const int* tag = v.IsNull() ? nullptr : body.shapeToTag.Seek(v);
      if (tag) out.push_back(*tag);
    }
    return out;
  }

  const PartitionState& m_from;
  const PartitionState& m_to;
  const BodyRecord* m_walkFrom = nullptr;
  const BodyRecord* m_walkTo = nullptr;
  std::unordered_map<int, bool> m_memo;
};

void Diff(const PartitionState& from, const PartitionState& to, Changes* changes) {
  ChangeJudge judge(from, to);
  for (const auto& entry : to.bodies) {
    const BodyRecord& body = *entry.second;
    auto old = from.bodies.find(entry.first);
    bool sameRecord = old != from.bodies.end() && old->second == entry.second;
    if (sameRecord) continue;
    const BodyRecord* was = old != from.bodies.end() ? old->second.get() : nullptr;
    judge.Walk(was, &body);
    for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices}) {
      for (int tag : *list) {
        const bool existed = (was && was->subs.count(tag)) || from.subOwner.count(tag);
        if (!existed) changes->created.push_back(tag);
        else if (judge.Modified(tag)) changes->modified.push_back(tag);
      }
    }
  }
  for (const auto& entry : from.bodies) {
    const BodyRecord& body = *entry.second;
    auto now = to.bodies.find(entry.first);
    if (now != to.bodies.end() && now->second == entry.second) continue;
    for (const std::vector<int>* list : {&body.faces, &body.edges, &body.vertices})
      for (int tag : *list)
        if (!to.subOwner.count(tag)) changes->deleted.push_back(tag);
  }
}

void Hand(const std::vector<int>& list, int* n, int** out) {
  if (n && out) OutArray(list, n, out);
}

int CheckOptions(int version) { return version < 1 ? BQ_ERROR_bad_option_version : 0; }

}  // namespace
}  // namespace brennik

using namespace brennik;

int BQ_PARTITION_create_empty(int* partition) {
  return KernelRun("BQ_PARTITION_create_empty", [&]() -> int {
    if (!partition) return BQ_ERROR_null_arg;
    Session* s = CurrentSession();
    auto p = std::make_unique<Partition>();
    p->tag = s->NewTag();
    *partition = p->tag;
    s->partitions[p->tag] = std::move(p);
    return 0;
  });
}

int BQ_PARTITION_delete(int partition, const BQ_PARTITION_delete_o_t* options) {
  return KernelRun("BQ_PARTITION_delete", [&]() -> int {
    Session* s = CurrentSession();
    Partition* p = FindPartition(partition);
    if (!p) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    if (options && CheckOptions(options->o_t_version)) return BQ_ERROR_bad_option_version;
    if (partition == s->current) return BQ_ERROR_bad_value;
    const PartitionState& st = p->state;
    bool empty = st.bodies.empty() && st.freeGeoms.empty() && st.transfs.empty() && st.groups.empty() &&
                 st.attribs.empty() && p->appItems.empty();
    if (!empty && !(options && options->delete_non_empty)) return BQ_ERROR_has_children;
    // What the tag index found in the partition goes with it.
    NoteStateChange();
    s->partitions.erase(partition);
    return 0;
  });
}

int BQ_PARTITION_is(int tag, bool* is_partition) {
  return KernelRun("BQ_PARTITION_is", [&]() -> int {
    if (!is_partition) return BQ_ERROR_null_arg;
    *is_partition = FindPartition(tag) != nullptr;
    return 0;
  });
}

int BQ_PARTITION_set_current(int partition) {
  return KernelRun("BQ_PARTITION_set_current", [&]() -> int {
    if (!FindPartition(partition)) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    CurrentSession()->current = partition;
    return 0;
  });
}

namespace {
int MakeMark(int partition, const BQ_PARTITION_make_pmark_o_t* options, int* pmark, int* n_new,
             int** new_entities, int* n_mod, int** mod_entities, int* n_del, int** del_entities) {
  if (!pmark) return BQ_ERROR_null_arg;
  Partition* p = FindPartition(partition);
  if (!p) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
  if (options && CheckOptions(options->o_t_version)) return BQ_ERROR_bad_option_version;
  Changes changes;
  if (options && (options->want_new || options->want_mod || options->want_del)) {
    PartitionState empty;
    Diff(p->base ? *p->base : empty, p->state, &changes);
  }
  PMark mark;
  mark.snapshot = std::make_shared<const PartitionState>(p->state);
  p->base = mark.snapshot;
  mark.preceding = p->marks.count(p->lastMark) ? p->lastMark : 0;
  int tag = CurrentSession()->NewTag();
  p->marks[tag] = mark;
  p->atMark = tag;
  p->lastMark = tag;
  *pmark = tag;
  static const std::vector<int> none;
  Hand(options && options->want_new ? changes.created : none, n_new, new_entities);
  Hand(options && options->want_mod ? changes.modified : none, n_mod, mod_entities);
  Hand(options && options->want_del ? changes.deleted : none, n_del, del_entities);
  return 0;
}
}  // namespace

int BQ_PARTITION_make_pmark(int partition, int* pmark) {
  return KernelRun("BQ_PARTITION_make_pmark", [&]() -> int {
    return MakeMark(partition, nullptr, pmark, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  });
}

int BQ_PARTITION_make_pmark_2(int partition, const BQ_PARTITION_make_pmark_o_t* options, int* pmark,
                              int* n_new, int** new_entities, int* n_mod, int** mod_entities,
                              int* n_del, int** del_entities) {
  return KernelRun("BQ_PARTITION_make_pmark_2", [&]() -> int {
    return MakeMark(partition, options, pmark, n_new, new_entities, n_mod, mod_entities, n_del, del_entities);
  });
}

int BQ_PARTITION_ask_pmark(int partition, int* pmark, bool* is_at_pmark) {
  return KernelRun("BQ_PARTITION_ask_pmark", [&]() -> int {
    if (!pmark || !is_at_pmark) return BQ_ERROR_null_arg;
    Partition* p = FindPartition(partition);
    if (!p) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    *pmark = p->atMark;
    *is_at_pmark = p->atMark != 0;
    return 0;
  });
}

int BQ_PARTITION_ask_pmarks(int partition, int* n_pmarks, int** pmarks) {
  return KernelRun("BQ_PARTITION_ask_pmarks", [&]() -> int {
    if (!n_pmarks || !pmarks) return BQ_ERROR_null_arg;
    Partition* p = FindPartition(partition);
    if (!p) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    std::vector<int> list;
    for (const auto& m : p->marks) list.push_back(m.first);
    OutArray(list, n_pmarks, pmarks);
    return 0;
  });
}

namespace {
template <class Map>
int AskKeys(const char* function, int partition, Map PartitionState::*map, int* n, int** out) {
  if (n) *n = 0;
  if (out) *out = nullptr;
  return KernelRun(function, [&]() -> int {
    if (!n || !out) return BQ_ERROR_null_arg;
    Partition* p = FindPartition(partition);
    if (!p) return Locate(partition).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_wrong_class;
    std::vector<int> list;
    for (const auto& entry : p->state.*map) list.push_back(entry.first);
    OutArray(list, n, out);
    return 0;
  });
}
}  // namespace

int BQ_PARTITION_ask_bodies(int partition, int* n, int** bodies) {
  return AskKeys("BQ_PARTITION_ask_bodies", partition, &PartitionState::bodies, n, bodies);
}

int BQ_PARTITION_ask_geoms(int partition, int* n, int** geoms) {
  return AskKeys("BQ_PARTITION_ask_geoms", partition, &PartitionState::freeGeoms, n, geoms);
}

int BQ_PMARK_goto_2(int pmark, const BQ_PMARK_goto_o_t* options, int* n_new, int** new_entities,
                    int* n_mod, int** mod_entities, int* n_del, int** del_entities) {
  for (int* n : {n_new, n_mod, n_del})
    if (n) *n = 0;
  for (int** a : {new_entities, mod_entities, del_entities})
    if (a) *a = nullptr;
  return KernelRun("BQ_PMARK_goto_2", [&]() -> int {
    Located where;
    if (int code = ResolveClass(pmark, BQ_CLASS_pmark, &where)) return code;
    if (options && CheckOptions(options->o_t_version)) return BQ_ERROR_bad_option_version;
    Partition* p = where.partition;
    const PMark& mark = p->marks.at(pmark);
    Changes changes;
    if (options && (options->want_new || options->want_mod || options->want_del))
      Diff(p->state, *mark.snapshot, &changes);
    // The maps are shared with the mark's copy until the next change.
    p->Change() = *mark.snapshot;
    // One tag names one body in one partition: a body of the mark that has since moved to
    // another partition comes back here, with what moved along with it.
    for (const auto& entry : CurrentSession()->partitions) {
      Partition& other = *entry.second;
      if (&other == p) continue;
      for (const auto& body : p->state.bodies)
        if (other.state.bodies.count(body.first)) MoveBody(other.Change(), nullptr, body.first);
    }
    p->base = mark.snapshot;
    p->atMark = pmark;
    p->lastMark = pmark;
    if (options && options->make_current) CurrentSession()->current = p->tag;
    static const std::vector<int> none;
    Hand(options && options->want_new ? changes.created : none, n_new, new_entities);
    Hand(options && options->want_mod ? changes.modified : none, n_mod, mod_entities);
    Hand(options && options->want_del ? changes.deleted : none, n_del, del_entities);
    return 0;
  });
}

int BQ_PMARK_ask_preceding(int pmark, int* preceding) {
  return KernelRun("BQ_PMARK_ask_preceding", [&]() -> int {
    if (!preceding) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(pmark, BQ_CLASS_pmark, &where)) return code;
    *preceding = where.partition->marks.at(pmark).preceding;
    return 0;
  });
}

int BQ_PMARK_ask_partition(int pmark, int* partition) {
  return KernelRun("BQ_PMARK_ask_partition", [&]() -> int {
    if (!partition) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(pmark, BQ_CLASS_pmark, &where)) return code;
    *partition = where.partition->tag;
    return 0;
  });
}

int BQ_PMARK_delete(int n, const int* pmarks, int* n_failed, int** failed) {
  if (n_failed) *n_failed = 0;
  if (failed) *failed = nullptr;
  return KernelRun("BQ_PMARK_delete", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !pmarks) return BQ_ERROR_null_arg;
    std::vector<int> notDeleted;
    for (int i = 0; i < n; ++i) {
      Located where = Locate(pmarks[i]);
      if (where.kind != Kind::PMark) {
        notDeleted.push_back(pmarks[i]);
        continue;
      }
      Partition* p = where.partition;
      int gone = pmarks[i];
      int before = p->marks.at(gone).preceding;
      p->marks.erase(gone);
      for (auto& m : p->marks)
        if (m.second.preceding == gone) m.second.preceding = before;
      if (p->atMark == gone) p->atMark = 0;
      if (p->lastMark == gone) p->lastMark = before;
    }
    if (n_failed && failed) OutArray(notDeleted, n_failed, failed);
    return 0;
  });
}
