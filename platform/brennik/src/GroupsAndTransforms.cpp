// Groups (ordered members of one part) and transforms.
#include "EntityOps.h"

#include <gp_GTrsf.hxx>
#include <gp_Mat.hxx>

#include <algorithm>
#include <cmath>

using namespace brennik;

namespace {

// A member must be live and belong to the group's part.
int CheckMembers(const Located& group, int part, int n, const int* entities) {
  if (n < 0) return BQ_ERROR_bad_count;
  if (n > 0 && !entities) return BQ_ERROR_null_arg;
  for (int i = 0; i < n; ++i) {
    Located where;
    if (int code = Resolve(entities[i], &where)) return code;
    if (where.partition != group.partition || PartOf(where) != part) return BQ_ERROR_not_in_part;
    if (where.kind == Kind::Attrib || where.kind == Kind::Group) return BQ_ERROR_wrong_class;
  }
  return 0;
}

int ResolveGroup(int group, Located* where) { return ResolveClass(group, BQ_CLASS_group, where); }

int AddMembers(const char* function, int group, int n, const int* entities, bool refuseMembers) {
  return KernelRun(function, [&]() -> int {
    Located where;
    if (int code = ResolveGroup(group, &where)) return code;
    const GroupRecord& record = where.partition->state.groups.at(group);
    if (int code = CheckMembers(where, record.part, n, entities)) return code;
    std::vector<int> members = record.members;
    for (int i = 0; i < n; ++i) {
      bool present = std::find(members.begin(), members.end(), entities[i]) != members.end();
      if (present && refuseMembers) return BQ_ERROR_already_member;
      if (!present) members.push_back(entities[i]);
    }
    where.partition->Change().groups.at(group).members = members;
    return 0;
  });
}

BQ_TRANSF_sf_t FormOf(const gp_Trsf& t) {
  BQ_TRANSF_sf_t sf{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) sf.matrix[r][c] = t.Value(r + 1, c + 1);
  sf.matrix[3][3] = 1.0;
  return sf;
}

int NewTransf(const gp_Trsf& trsf, int* transf) {
  int tag = CurrentSession()->NewTag();
  CurrentPartition()->Change().transfs[tag] = TransfRecord{trsf};
  *transf = tag;
  return 0;
}

}  // namespace

std::vector<int> brennik::GroupsOfPartInState(const PartitionState& st, int part) {
  if (!st.groupsOfParts) {
    auto made = std::make_shared<std::unordered_map<int, std::vector<int>>>();
    for (const auto& g : st.groups) (*made)[g.second.part].push_back(g.first);
    st.groupsOfParts = std::move(made);
  }
  auto found = st.groupsOfParts->find(part);
  return found == st.groupsOfParts->end() ? std::vector<int>() : found->second;
}

int BQ_GROUP_create_from_entities(int part, int group_class, int n, const int* entities, int* group) {
  return KernelRun("BQ_GROUP_create_from_entities", [&]() -> int {
    if (!group) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    if (int code = CheckMembers(where, part, n, entities)) return code;
    GroupRecord record;
    record.part = part;
    record.groupClass = group_class;
    for (int i = 0; i < n; ++i)
      if (std::find(record.members.begin(), record.members.end(), entities[i]) == record.members.end())
        record.members.push_back(entities[i]);
    *group = CurrentSession()->NewTag();
    where.partition->Change().groups[*group] = record;
    return 0;
  });
}

int BQ_GROUP_add_entities(int group, int n, const int* entities) {
  return AddMembers("BQ_GROUP_add_entities", group, n, entities, true);
}

int BQ_GROUP_merge_entities(int group, int n, const int* entities) {
  return AddMembers("BQ_GROUP_merge_entities", group, n, entities, false);
}

int BQ_GROUP_remove_entities(int group, int n, const int* entities) {
  return KernelRun("BQ_GROUP_remove_entities", [&]() -> int {
    if (n < 0) return BQ_ERROR_bad_count;
    if (n > 0 && !entities) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveGroup(group, &where)) return code;
    std::vector<int> members = where.partition->state.groups.at(group).members;
    for (int i = 0; i < n; ++i) {
      auto it = std::find(members.begin(), members.end(), entities[i]);
      if (it == members.end()) return Locate(entities[i]).kind == Kind::None ? BQ_ERROR_bad_tag : BQ_ERROR_not_in_part;
      members.erase(it);
    }
    where.partition->Change().groups.at(group).members = members;
    return 0;
  });
}

int BQ_GROUP_ask_entities(int group, int* n, int** entities) {
  if (n) *n = 0;
  if (entities) *entities = nullptr;
  return KernelRun("BQ_GROUP_ask_entities", [&]() -> int {
    if (!n || !entities) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveGroup(group, &where)) return code;
    OutArray(where.partition->state.groups.at(group).members, n, entities);
    return 0;
  });
}

int BQ_GROUP_ask_part(int group, int* part) {
  return KernelRun("BQ_GROUP_ask_part", [&]() -> int {
    if (!part) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveGroup(group, &where)) return code;
    *part = where.partition->state.groups.at(group).part;
    return 0;
  });
}

int BQ_PART_ask_groups(int part, int* n, int** groups) {
  if (n) *n = 0;
  if (groups) *groups = nullptr;
  return KernelRun("BQ_PART_ask_groups", [&]() -> int {
    if (!n || !groups) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(part, BQ_CLASS_part, &where)) return code;
    OutArray(GroupsOfPartInState(where.partition->state, part), n, groups);
    return 0;
  });
}

int BQ_ENTITY_ask_owning_groups(int entity, int* n, int** groups) {
  if (n) *n = 0;
  if (groups) *groups = nullptr;
  return KernelRun("BQ_ENTITY_ask_owning_groups", [&]() -> int {
    if (!n || !groups) return BQ_ERROR_null_arg;
    Located where;
    if (int code = Resolve(entity, &where)) return code;
    std::vector<int> list;
    if (where.partition)
      for (const auto& g : where.partition->state.groups)
        if (std::find(g.second.members.begin(), g.second.members.end(), entity) != g.second.members.end())
          list.push_back(g.first);
    OutArray(list, n, groups);
    return 0;
  });
}

int BQ_TRANSF_create(const BQ_TRANSF_sf_t* sf, int* transf) {
  return KernelRun("BQ_TRANSF_create", [&]() -> int {
    if (!sf || !transf) return BQ_ERROR_null_arg;
    const auto& m = sf->matrix;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        if (!std::isfinite(m[r][c])) return BQ_ERROR_bad_value;
    gp_Mat rot(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]);
    double det = rot.Determinant();
    if (!(det > 1e-30)) return BQ_ERROR_bad_value;
    double scale = std::cbrt(det);
    // The 3x3 part must be a rotation times one positive scale.
    gp_Mat unit = rot.Divided(scale);
    gp_Mat check = unit.Multiplied(unit.Transposed());
    for (int r = 1; r <= 3; ++r)
      for (int c = 1; c <= 3; ++c)
        if (std::abs(check(r, c) - (r == c ? 1.0 : 0.0)) > 1e-9) return BQ_ERROR_bad_value;
    gp_Trsf trsf;
    trsf.SetValues(m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3], m[2][0], m[2][1],
                   m[2][2], m[2][3]);
    return NewTransf(trsf, transf);
  });
}

int BQ_TRANSF_ask(int transf, BQ_TRANSF_sf_t* sf) {
  return KernelRun("BQ_TRANSF_ask", [&]() -> int {
    if (!sf) return BQ_ERROR_null_arg;
    Located where;
    if (int code = ResolveClass(transf, BQ_CLASS_transf, &where)) return code;
    *sf = FormOf(where.partition->state.transfs.at(transf).trsf);
    return 0;
  });
}

int BQ_TRANSF_transform(int first, int second, int* result) {
  return KernelRun("BQ_TRANSF_transform", [&]() -> int {
    if (!result) return BQ_ERROR_null_arg;
    Located a, b;
    if (int code = ResolveClass(first, BQ_CLASS_transf, &a)) return code;
    if (int code = ResolveClass(second, BQ_CLASS_transf, &b)) return code;
    // Applied to a point: first, then second.
    gp_Trsf composed = b.partition->state.transfs.at(second).trsf.Multiplied(a.partition->state.transfs.at(first).trsf);
    return NewTransf(composed, result);
  });
}

int BQ_TRANSF_create_equal_scale(double scale, BQ_VECTOR_t centre, int* transf) {
  return KernelRun("BQ_TRANSF_create_equal_scale", [&]() -> int {
    if (!transf) return BQ_ERROR_null_arg;
    if (!(scale > 0) || !std::isfinite(scale)) return BQ_ERROR_bad_value;
    gp_Trsf trsf;
    trsf.SetScale(gp_Pnt(centre.coord[0], centre.coord[1], centre.coord[2]), scale);
    return NewTransf(trsf, transf);
  });
}
