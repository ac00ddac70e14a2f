// Entity calls: classes, identifiers, partitions, copy and delete, application items.
#include "BodyStore.h"
#include "EntityOps.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <Geom_Geometry.hxx>

#include <algorithm>

using namespace brennik;

namespace {

bool IsEntityKind(Kind kind) { return kind != Kind::None && kind != Kind::AppItem; }

// A copy of a body in the same partition: new tags, the same identifiers, copies of the
// attributes (copy callbacks fire) and of the groups and attached geometry.
int CopyBody(Partition& partition, const BodyRecord& source) {
  Session* s = CurrentSession();
  BRepBuilderAPI_Copy copier(source.shape, Standard_True, Standard_False);
  TopoDS_Shape shape = copier.Shape();
  int bodyTag = s->NewTag();
  // Map from copied sub-shape back to the source entity.
  ShapeTagMap back;
  for (const auto& sub : source.subs) {
    const TopTools_ListOfShape& images = copier.Modified(sub.second.shape);
    if (!images.IsEmpty()) back.Bind(images.First(), sub.first);
  }
  BodyPtr copy = BuildBodyRecord(*s, bodyTag, shape, nullptr, [&](const TopoDS_Shape& sub) {
    const int* from = back.Seek(sub);
    return from ? Carried{0, source.subs.at(*from).identifier} : Carried{};
  }, source.nextIdentifier);
  auto record = std::make_shared<BodyRecord>(*copy);
  record->identifier = source.identifier;
  record->addonData = source.addonData;
  std::map<int, int> tagMap;
  tagMap[source.tag] = bodyTag;
  for (const auto& sub : source.subs) {
    const TopTools_ListOfShape& images = copier.Modified(sub.second.shape);
    if (images.IsEmpty()) continue;
    const int* tag = record->shapeToTag.Seek(images.First());
    if (tag) tagMap[sub.first] = *tag;
  }
  PartitionState& st = partition.Change();
  for (int geom : source.attachedGeoms) {
    FreeGeomRecord g = st.freeGeoms.at(geom);
    g.part = bodyTag;
    int tag = s->NewTag();
    st.freeGeoms[tag] = g;
    record->attachedGeoms.push_back(tag);
    tagMap[geom] = tag;
  }
  record->attachedGeoms.erase(
      std::remove_if(record->attachedGeoms.begin(), record->attachedGeoms.end(),
                     [&](int g) { return std::find(source.attachedGeoms.begin(), source.attachedGeoms.end(), g) !=
                                         source.attachedGeoms.end(); }),
      record->attachedGeoms.end());
  InstallBody(st, record);
  std::vector<std::pair<int, int>> groups;
  for (const auto& g : partition.state.groups) {
    if (g.second.part != source.tag) continue;
    GroupRecord copyGroup = g.second;
    copyGroup.part = bodyTag;
    for (int& m : copyGroup.members) m = tagMap.count(m) ? tagMap[m] : 0;
    copyGroup.members.erase(std::remove(copyGroup.members.begin(), copyGroup.members.end(), 0),
                            copyGroup.members.end());
    groups.emplace_back(g.first, s->NewTag());
    partition.Change().groups[groups.back().second] = copyGroup;
  }
  for (const auto& g : groups) tagMap[g.first] = g.second;
  for (const auto& entry : tagMap) CopyAttributes(partition, entry.first, entry.second, AttribEvent::Copy);
  return bodyTag;
}

}  // namespace

int BQ_CLASS_is_subclass(int cls, int super, bool* is_subclass) {
  return KernelRun("BQ_CLASS_is_subclass", [&]() -> int {
    if (!is_subclass) return BQ_ERROR_null_arg;
    *is_subclass = IsSubclass(cls, super);
    return 0;
  }, false);
}

int BQ_ENTITY_is(int tag, bool* is_entity) {
  return KernelRun("BQ_ENTITY_is", [&]() -> int {
    if (!is_entity) return BQ_ERROR_null_arg;
    *is_entity = IsEntityKind(Locate(tag).kind);
    return 0;
  });
}

int BQ_ENTITY_is_geom(int tag, bool* is_geom) {
  return KernelRun("BQ_ENTITY_is_geom", [&]() -> int {
    if (!is_geom) return BQ_ERROR_null_arg;
    Located where = Locate(tag);
    *is_geom = where.kind == Kind::BodyGeom || where.kind == Kind::FreeGeom;
    return 0;
  });
}

int BQ_ENTITY_is_topol(int tag, bool* is_topol) {
  return KernelRun("BQ_ENTITY_is_topol", [&]() -> int {
    if (!is_topol) return BQ_ERROR_null_arg;
    Located where = Locate(tag);
    *is_topol = where.kind == Kind::Body || where.kind == Kind::Sub || where.kind == Kind::Fin;
    return 0;
  });
}

int BQ_ENTITY_ask_class(int tag, int* cls) {
  return KernelRun("BQ_ENTITY_ask_class", [&]() -> int {
    if (!cls) return BQ_ERROR_null_arg;
    Located where = Locate(tag);
    if (!IsEntityKind(where.kind)) return BQ_ERROR_bad_tag;
    *cls = ClassOf(where);
    return 0;
  });
}

int BQ_ENTITY_ask_identifier(int tag, int* identifier) {
  return KernelRun("BQ_ENTITY_ask_identifier", [&]() -> int {
    if (!identifier) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(tag, &where)) return code;
    switch (where.kind) {
      case Kind::Body: *identifier = where.body->identifier; return 0;
      case Kind::Sub: *identifier = where.body->subs.at(tag).identifier; return 0;
      case Kind::BodyGeom: *identifier = where.body->geoms.at(tag).identifier; return 0;
      case Kind::Fin: *identifier = tag; return 0;
      case Kind::FreeGeom: *identifier = where.partition->state.freeGeoms.at(tag).identifier; return 0;
      default: return BQ_ERROR_wrong_class;
    }
  });
}

int BQ_ENTITY_ask_partition(int tag, int* partition) {
  return KernelRun("BQ_ENTITY_ask_partition", [&]() -> int {
    if (!partition) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(tag, &where)) return code;
    if (where.kind == Kind::Attdef) return BQ_ERROR_wrong_class;
    *partition = where.partition->tag;
    return 0;
  });
}

int BQ_PART_find_entity_by_ident(int part, int cls, int identifier, int* entity) {
  return KernelRun("BQ_PART_find_entity_by_ident", [&]() -> int {
    if (!entity) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    const BodyRecord& body = *where.body;
    *entity = 0;
    if (IsSubclass(BQ_CLASS_body, cls) && body.identifier == identifier) {
      *entity = body.tag;
      return 0;
    }
    for (int tag : body.faces)
      if (body.subs.at(tag).identifier == identifier && IsSubclass(BQ_CLASS_face, cls)) *entity = tag;
    for (int tag : body.edges)
      if (body.subs.at(tag).identifier == identifier && IsSubclass(BQ_CLASS_edge, cls)) *entity = tag;
    for (int tag : body.vertices)
      if (body.subs.at(tag).identifier == identifier && IsSubclass(BQ_CLASS_vertex, cls)) *entity = tag;
    for (const auto& g : body.geoms)
      if (g.second.identifier == identifier && IsSubclass(g.second.data.cls, cls)) *entity = g.first;
    for (int tag : body.attachedGeoms) {
      const FreeGeomRecord& g = where.partition->state.freeGeoms.at(tag);
      if (g.identifier == identifier && IsSubclass(g.data.cls, cls)) *entity = tag;
    }
    return 0;
  });
}

int BQ_ENTITY_copy(int tag, int* copy) {
  return KernelRun("BQ_ENTITY_copy", [&]() -> int {
    if (!copy) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(tag, &where)) return code;
    Session* s = CurrentSession();
    Partition& p = *where.partition;
    switch (where.kind) {
      case Kind::Body:
        *copy = CopyBody(p, *where.body);
        return 0;
      case Kind::BodyGeom:
      case Kind::FreeGeom: {
        FreeGeomRecord g;
        g.data = *GeomOf(where);
        g.identifier = p.state.nextFreeIdentifier;
        int newTag = s->NewTag();
        PartitionState& st = p.Change();
        st.nextFreeIdentifier++;
        st.freeGeoms[newTag] = g;
        *copy = newTag;
        return 0;
      }
      case Kind::Transf: {
        int newTag = s->NewTag();
        PartitionState& st = p.Change();
        st.transfs[newTag] = st.transfs.at(tag);
        *copy = newTag;
        return 0;
      }
      default:
        return BQ_ERROR_wrong_class;
    }
  });
}

int BQ_ENTITY_delete(int n, const int* entities) {
  return KernelRun("BQ_ENTITY_delete", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !entities) return BQ_ERROR_null_arg;
    for (int i = 0; i < n; ++i) {
      Located where;
      if (int code = Resolve(entities[i], &where)) return code;
      switch (where.kind) {
        case Kind::Body: case Kind::FreeGeom: case Kind::Transf: case Kind::Group: case Kind::Attrib:
          break;
        default:
          return BQ_ERROR_wrong_class;
      }
    }
    for (int i = 0; i < n; ++i) {
      int tag = entities[i];
      Located where = Locate(tag);  // an earlier entry may have taken this one with it
      if (where.kind == Kind::None) continue;
      Partition& p = *where.partition;
      switch (where.kind) {
        case Kind::Body:
          DeleteBody(p, tag);
          break;
        case Kind::FreeGeom: {
          int part = p.state.freeGeoms.at(tag).part;
          DeleteAttributesOf(p, tag, true);
          PartitionState& st = p.Change();
          if (part && st.bodies.count(part)) {
            auto body = std::make_shared<BodyRecord>(*st.bodies.at(part));
            body->attachedGeoms.erase(std::remove(body->attachedGeoms.begin(), body->attachedGeoms.end(), tag),
                                      body->attachedGeoms.end());
            st.bodies[part] = body;
          }
          st.freeGeoms.erase(tag);
          break;
        }
        case Kind::Transf:
          p.Change().transfs.erase(tag);
          break;
        case Kind::Group:
          DeleteGroup(p, tag);
          break;
        case Kind::Attrib: {
          PartitionState& st = p.Change();
          int owner = st.attribs.at(tag).owner;
          auto& list = st.attribsOf[owner];
          list.erase(std::remove(list.begin(), list.end(), tag), list.end());
          if (list.empty()) st.attribsOf.erase(owner);
          st.attribs.erase(tag);
          break;
        }
        default:
          break;
      }
    }
    return 0;
  });
}

int BQ_APPITEM_create(void* pointer, int* item) {
  return KernelRun("BQ_APPITEM_create", [&]() -> int {
    if (!item) return BQ_ERROR_null_arg;
    Partition* p = CurrentPartition();
    int tag = CurrentSession()->NewTag();
    p->appItems[tag] = pointer;
    *item = tag;
    return 0;
  });
}

int BQ_APPITEM_is(int tag, bool* is_item) {
  return KernelRun("BQ_APPITEM_is", [&]() -> int {
    if (!is_item) return BQ_ERROR_null_arg;
    *is_item = Locate(tag).kind == Kind::AppItem;
    return 0;
  });
}

int BQ_APPITEM_ask(int item, void** pointer) {
  return KernelRun("BQ_APPITEM_ask", [&]() -> int {
    if (!pointer) return BQ_ERROR_null_arg;
    Located where = Locate(item);
    if (where.kind == Kind::None) return BQ_ERROR_bad_tag;
    if (where.kind != Kind::AppItem) return BQ_ERROR_wrong_class;
    *pointer = where.partition->appItems.at(item);
    return 0;
  });
}

int BQ_APPITEM_delete(int n, const int* items) {
  return KernelRun("BQ_APPITEM_delete", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !items) return BQ_ERROR_null_arg;
    for (int i = 0; i < n; ++i) {
      Located where = Locate(items[i]);
      if (where.kind == Kind::None) return BQ_ERROR_bad_tag;
      if (where.kind != Kind::AppItem) return BQ_ERROR_wrong_class;
    }
    for (int i = 0; i < n; ++i) {
      Located where = Locate(items[i]);
      if (where.kind == Kind::AppItem) where.partition->appItems.erase(items[i]);
    }
    return 0;
  });
}
