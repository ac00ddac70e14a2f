// The body store's internal interface and the body calls that change a body's shape.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include <algorithm>
#include <unordered_set>

namespace brennik {
namespace store {

int CreateBody(const TopoDS_Shape& shape, int partition, int identifiersOf) {
  Session* s = CurrentSession();
  if (!s || shape.IsNull()) return 0;
  Partition* p = partition ? FindPartition(partition) : CurrentPartition();
  if (!p) return 0;
  // Held by pointer-to-shared so that the source record outlives the partition change below.
  BodyPtr source;
  if (identifiersOf != 0) {
    Located from = Locate(identifiersOf);
    if (from.kind != Kind::Body) return 0;
    source = from.partition->state.bodies.at(identifiersOf);
  }
  CarryFn carry;
  if (source) {
    carry = [&source](const TopoDS_Shape& sub) {
      const int* tag = source->shapeToTag.Seek(sub);
      return tag ? Carried{0, source->subs.at(*tag).identifier} : Carried{};
    };
  }
  int tag = s->NewTag();
  InstallBody(p->Change(), BuildBodyRecord(*s, tag, shape, nullptr, carry,
                                           source ? source->nextIdentifier : 1));
  return tag;
}

const BodyRecord* FindBody(int body) {
  Located where = Locate(body);
  return where.kind == Kind::Body ? where.body : nullptr;
}

TopoDS_Shape ShapeOf(int entity) {
  Located where = Locate(entity);
  if (where.kind == Kind::Body) return where.body->shape;
  if (where.kind == Kind::Sub) return where.body->subs.at(entity).shape;
  return TopoDS_Shape();
}

int TagOf(int body, const TopoDS_Shape& subShape) {
  const BodyRecord* record = FindBody(body);
  if (!record) return 0;
  const int* tag = record->shapeToTag.Seek(subShape);
  return tag ? *tag : 0;
}

int ReplaceBodyShape(int body, const TopoDS_Shape& shape, const Handle(BRepTools_History)& history,
                     ReplaceReport* report) {
  Session* s = CurrentSession();
  Located where = Locate(body);
  if (!s || where.kind != Kind::Body) return BQ_ERROR_bad_tag;
  if (shape.IsNull()) return BQ_ERROR_bad_value;
  Partition& p = *where.partition;
  BodyPtr old = p.state.bodies.at(body);
  ReplaceReport local;
  ReplaceReport& out = report ? *report : local;
  out = ReplaceReport{};

  TopTools_IndexedMapOfShape present;
  TopExp::MapShapes(shape, present);

  // Images of each old entity in the new shape.
  std::vector<int> oldTags;
  for (const std::vector<int>* list : {&old->faces, &old->edges, &old->vertices})
    oldTags.insert(oldTags.end(), list->begin(), list->end());
  std::sort(oldTags.begin(), oldTags.end());
  ShapeTagMap assigned;  // new sub-shape -> the old tag it continues
  ShapeTagMap pieceOf;   // new sub-shape -> the old tag it was split from
  std::unordered_set<int> kept;
  kept.reserve(oldTags.size());
  std::vector<std::pair<int, int>> merges;
  std::vector<int> deleted;
  for (int tag : oldTags) {
    const TopoDS_Shape& oldShape = old->subs.at(tag).shape;
    std::vector<TopoDS_Shape> images;
    if (!history.IsNull()) {
      for (const TopoDS_Shape& img : history->Modified(oldShape))
        if (img.ShapeType() == oldShape.ShapeType() && present.Contains(img)) images.push_back(img);
      if (images.empty() && !history->IsRemoved(oldShape) && present.Contains(oldShape)) images.push_back(oldShape);
    } else if (present.Contains(oldShape)) {
      images.push_back(oldShape);
    }
    if (images.empty()) {
      deleted.push_back(tag);
      continue;
    }
    bool mergedAway = true;
    for (const TopoDS_Shape& img : images) {
      if (const int* survivor = assigned.Seek(img)) {
        if (*survivor != tag && !kept.count(tag)) continue;
      } else if (!kept.count(tag)) {
        assigned.Bind(img, tag);
        kept.insert(tag);
        mergedAway = false;
      } else if (!pieceOf.IsBound(img)) {
        pieceOf.Bind(img, tag);
      }
    }
    if (mergedAway && !kept.count(tag)) merges.emplace_back(*assigned.Seek(images.front()), tag);
  }

  // Every entity kept, none made: the shape keeps the body's topology, and the record keeps its
  // adjacency and fins rather than finding them again.
  BodyPtr record;
  if (deleted.empty() && merges.empty() && pieceOf.IsEmpty() && kept.size() == oldTags.size() &&
      assigned.Extent() == static_cast<int>(oldTags.size()))
    record = BuildKeptRecord(*s, *old, shape, present, assigned);
  if (!record) {
    record = BuildBodyRecord(*s, body, shape, old.get(), [&](const TopoDS_Shape& sub) {
      const int* tag = assigned.Seek(sub);
      if (!tag) return Carried{};
      return Carried{*tag, old->subs.at(*tag).identifier};
    });
  }
  InstallBody(p.Change(), record);

  for (const std::vector<int>* list : {&record->faces, &record->edges, &record->vertices}) {
    for (int tag : *list) {
      if (kept.count(tag)) {
        out.kept.push_back(tag);
        continue;
      }
      out.created.push_back(tag);
      const int* from = pieceOf.Seek(record->subs.at(tag).shape);
      if (!from) continue;
      out.splits.emplace_back(*from, tag);
      CopyAttributes(p, *from, tag, AttribEvent::Split);
      PartitionState& st = p.Change();
      for (auto& g : st.groups)
        if (std::find(g.second.members.begin(), g.second.members.end(), *from) != g.second.members.end())
          g.second.members.push_back(tag);
    }
  }
  for (const auto& merge : merges) {
    out.merges.push_back(merge);
    auto it = p.state.attribsOf.find(merge.second);
    std::vector<int> goneAttribs = it == p.state.attribsOf.end() ? std::vector<int>() : it->second;
    auto sit = p.state.attribsOf.find(merge.first);
    std::vector<int> survivorAttribs = sit == p.state.attribsOf.end() ? std::vector<int>() : sit->second;
    for (int a : survivorAttribs) FireAttribCallback(AttribEvent::Merge, a, merge.first, 0, merge.second);
    for (int a : goneAttribs) FireAttribCallback(AttribEvent::Merge, 0, merge.first, a, merge.second);
    DeleteAttributesOf(p, merge.second, false);
    RemoveFromGroups(p.Change(), merge.second);
    out.deleted.push_back(merge.second);
  }
  for (int tag : deleted) {
    DeleteAttributesOf(p, tag, true);
    RemoveFromGroups(p.Change(), tag);
    out.deleted.push_back(tag);
  }
  return 0;
}

int AdoptGroupsAndAttributes(int toolBody, int targetBody, const std::map<int, int>& entityMap,
                             bool move) {
  Located tool = Locate(toolBody), target = Locate(targetBody);
  if (tool.kind != Kind::Body || target.kind != Kind::Body) return BQ_ERROR_bad_tag;
  Session* s = CurrentSession();
  std::map<int, int> map = entityMap;
  map[toolBody] = targetBody;
  std::vector<int> toolGroups;
  for (const auto& g : tool.partition->state.groups)
    if (g.second.part == toolBody) toolGroups.push_back(g.first);
  for (int g : toolGroups) {
    GroupRecord copy = tool.partition->state.groups.at(g);
    copy.part = targetBody;
    std::vector<int> members;
    for (int m : copy.members) {
      auto it = map.find(m);
      if (it != map.end() && Locate(it->second).kind != Kind::None) members.push_back(it->second);
    }
    copy.members = members;
    int tag = s->NewTag();
    target.partition->Change().groups[tag] = copy;
    map[g] = tag;
  }
  for (const auto& entry : map) {
    auto it = tool.partition->state.attribsOf.find(entry.first);
    if (it == tool.partition->state.attribsOf.end()) continue;
    if (Locate(entry.second).kind == Kind::None) continue;
    std::vector<int> attribs = it->second;
    for (int a : attribs) {
      AttribRecord copy = tool.partition->state.attribs.at(a);
      copy.owner = entry.second;
      int tag = s->NewTag();
      PartitionState& st = target.partition->Change();
      st.attribs[tag] = copy;
      st.attribsOf[entry.second].push_back(tag);
      FireAttribCallback(AttribEvent::Copy, a, entry.first, tag, entry.second);
    }
  }
  if (move) {
    for (const auto& entry : map) {
      DeleteAttributesOf(*tool.partition, entry.first, false);
      RemoveFromGroups(tool.partition->Change(), entry.first);
    }
  }
  return 0;
}

int CarryEntityData(int sourceBody, int targetBody, const std::map<int, int>& entityMap, bool move) {
  Located source = Locate(sourceBody), target = Locate(targetBody);
  if (source.kind != Kind::Body || target.kind != Kind::Body) return BQ_ERROR_bad_tag;
  const BodyRecord& from = *source.body;
  const BodyRecord& to = *target.body;
  for (const auto& entry : entityMap)
    if (!from.subs.count(entry.first) || !to.subs.count(entry.second)) return BQ_ERROR_bad_tag;
  Session* s = CurrentSession();
  if (move) {
    // Groups first, in tag order, so that the target's groups come out in a stable order.
    std::vector<std::pair<int, GroupRecord>> made;
    for (const auto& g : source.partition->state.groups) {
      if (g.second.part != sourceBody) continue;
      GroupRecord copy{targetBody, g.second.groupClass, {}};
      for (int m : g.second.members) {
        auto it = entityMap.find(m);
        if (it != entityMap.end()) copy.members.push_back(it->second);
      }
      if (!copy.members.empty()) made.emplace_back(s->NewTag(), std::move(copy));
    }
    for (auto& g : made) target.partition->Change().groups[g.first] = std::move(g.second);
  }
  for (const auto& entry : entityMap) {
    auto it = source.partition->state.attribsOf.find(entry.first);
    if (it == source.partition->state.attribsOf.end()) continue;
    const std::vector<int> attribs = it->second;
    for (int a : attribs) {
      AttribRecord copy = source.partition->state.attribs.at(a);
      copy.owner = entry.second;
      const int tag = s->NewTag();
      PartitionState& st = target.partition->Change();
      st.attribs[tag] = copy;
      st.attribsOf[entry.second].push_back(tag);
      FireAttribCallback(AttribEvent::Copy, a, entry.first, tag, entry.second);
    }
  }
  if (move) {
    for (const auto& entry : entityMap) {
      DeleteAttributesOf(*source.partition, entry.first, false);
      RemoveFromGroups(source.partition->Change(), entry.first);
    }
  }
  return 0;
}

const std::string* AddonData(int body) {
  const BodyRecord* record = FindBody(body);
  return record ? &record->addonData : nullptr;
}

int SetAddonData(int body, const std::string& data) {
  Located where = Locate(body);
  if (where.kind != Kind::Body) return BQ_ERROR_bad_tag;
  auto copy = std::make_shared<BodyRecord>(*where.body);
  copy->addonData = data;
  where.partition->Change().bodies[body] = copy;
  return 0;
}

}  // namespace store
}  // namespace brennik

using namespace brennik;

int BQ_BODY_transform_2(int body, int transf, double /*tolerance*/, const BQ_BODY_transform_o_t* /*options*/,
                        BQ_TOPOL_track_r_t* tracking, BQ_TOPOL_local_r_t* local_results) {
  if (tracking) *tracking = BQ_TOPOL_track_r_t{};
  if (local_results) *local_results = BQ_TOPOL_local_r_t{};
  return KernelRun("BQ_BODY_transform_2", [&]() -> int {
    Located where, t;
    if (int code = ResolveClass(body, BQ_CLASS_body, &where)) return code;
    if (int code = ResolveClass(transf, BQ_CLASS_transf, &t)) return code;
    const gp_Trsf& trsf = t.partition->state.transfs.at(transf).trsf;
    // A copy of the geometry, so that no shape shared with a mark changes in place.
    BRepBuilderAPI_Transform mover(where.body->shape, trsf, Standard_True);
    if (!mover.IsDone()) return BQ_ERROR_operation_failed;
    Handle(BRepTools_History) history = new BRepTools_History;
    for (const auto& sub : where.body->subs) {
      const TopTools_ListOfShape& images = mover.Modified(sub.second.shape);
      for (const TopoDS_Shape& img : images) history->AddModified(sub.second.shape, img);
    }
    // Attached geometry moves with the part.
    PartitionState& st = where.partition->Change();
    for (int g : where.body->attachedGeoms) {
      GeomData& data = st.freeGeoms.at(g).data;
      if (data.cls == BQ_CLASS_point) data.point.Transform(trsf);
      else if (!data.curve.IsNull()) data.curve = Handle(Geom_Curve)::DownCast(data.curve->Transformed(trsf));
      else data.surface = Handle(Geom_Surface)::DownCast(data.surface->Transformed(trsf));
    }
    return store::ReplaceBodyShape(body, mover.Shape(), history, nullptr);
  });
}

int BQ_BODY_reverse_orientation(int body) {
  return KernelRun("BQ_BODY_reverse_orientation", [&]() -> int {
    Located where;
    if (int code = ResolveClass(body, BQ_CLASS_body, &where)) return code;
    TopoDS_Shape reversed = where.body->shape.Reversed();
    return store::ReplaceBodyShape(body, reversed, nullptr, nullptr);
  });
}

int BQ_BODY_ask_volume(int body, double* volume) {
  if (volume) *volume = 0.0;
  return KernelRun("BQ_BODY_ask_volume", [&]() -> int {
    if (!volume) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(body, BQ_CLASS_body, &where)) return code;
    GProp_GProps properties;
    BRepGProp::VolumeProperties(where.body->shape, properties);
    *volume = properties.Mass();
    return BQ_ERROR_no_errors;
  });
}

void BQ_TOPOL_track_r_f(BQ_TOPOL_track_r_t* tracking) {
  if (!tracking) return;
  for (int i = 0; i < tracking->n_track_records; ++i) {
    BQ_MEMORY_free(tracking->track_records[i].original_topols);
    BQ_MEMORY_free(tracking->track_records[i].product_topols);
  }
  BQ_MEMORY_free(tracking->track_records);
  *tracking = BQ_TOPOL_track_r_t{};
}

void BQ_TOPOL_local_r_f(BQ_TOPOL_local_r_t* results) {
  if (!results) return;
  BQ_MEMORY_free(results->faces);
  BQ_MEMORY_free(results->states);
  *results = BQ_TOPOL_local_r_t{};
}
