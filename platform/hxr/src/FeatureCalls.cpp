// Add-on features: named sets of a body's faces, edges and vertices (each with a label), with
// the entities they were built on ("unders"). A feature is a kernel group of the body, so its
// topology follows splits, merges and deletions like every group, rolls back with marks and
// is a kernel entity to its callers; its identifier, labels, unders and dormant state live in
// the body's add-on data under a key that an attribute on the group carries. Group tags
// change when a body is received; the key travels with the group and finds its data again.
#include "AddonRecord.h"
#include "BodyStore.h"
#include "BodyWiring.h"
#include "hxr.h"

#include <algorithm>
#include <map>
#include <set>

using hxr::wired::AddonRecord;
using hxr::wired::FeatureRecord;
using hxr::wired::HandOut;
using hxr::wired::RunCall;

namespace {

// Feature groups hold faces, edges and vertices together.
constexpr int kFeatureGroupClass = 0;
constexpr const char* kFeatureAttdefName = "HXR/FEATURE_KEY";

// The attribute definition of the key on a feature's group (made on first use).
int FeatureAttdef() {
  int attdef = 0;
  if (BQ_ATTDEF_find(kFeatureAttdefName, &attdef) == 0 && attdef != 0) return attdef;
  const int owners[] = {BQ_CLASS_group};
  const int fields[] = {BQ_FIELD_type_int};
  const char* const names[] = {"key"};
  BQ_ATTDEF_sf_t form{kFeatureAttdefName, BQ_ATTDEF_class_normal, 1, owners, 1, fields, names};
  return BQ_ATTDEF_create_2(&form, &attdef) == 0 ? attdef : 0;
}

// The feature key a group carries (0 when it carries none).
int KeyOfGroup(int group) {
  int attdef = 0;
  if (BQ_ATTDEF_find(kFeatureAttdefName, &attdef) != 0 || attdef == 0) return 0;
  int n = 0;
  int* attribs = nullptr;
  if (BQ_ENTITY_ask_attribs(group, attdef, &n, &attribs) != 0) return 0;
  int key = 0;
  if (n > 0) BQ_ATTRIB_ask_nth_int(attribs[0], 0, 0, &key);
  BQ_MEMORY_free(attribs);
  return key;
}

// The groups of a body that carry a feature key, by key.
std::map<int, int> FeatureGroups(int body) {
  std::map<int, int> groups;
  brennik::Located where = brennik::Locate(body);
  if (where.kind != brennik::Kind::Body) return groups;
  for (const auto& group : where.partition->state.groups)
    if (group.second.part == body)
      if (int key = KeyOfGroup(group.first)) groups.emplace(key, group.first);
  return groups;
}

bool IsTopol(int tag) {
  const brennik::BodyRecord* body = brennik::BodyOf(tag);
  if (body == nullptr) return false;
  auto it = body->subs.find(tag);
  if (it == body->subs.end()) return false;
  const int cls = it->second.cls;
  return cls == BQ_CLASS_face || cls == BQ_CLASS_edge || cls == BQ_CLASS_vertex;
}

// The body of a feature and its record there; false when the tag is no feature.
struct FoundFeature {
  int body = 0;
  AddonRecord record;
  FeatureRecord* feature = nullptr;
};

bool FindFeature(int tag, FoundFeature& found) {
  brennik::Located where = brennik::Locate(tag);
  if (where.kind != brennik::Kind::Group) return false;
  found.body = where.partition->state.groups.at(tag).part;
  const int key = KeyOfGroup(tag);
  if (key == 0) return false;
  found.record = hxr::wired::LoadAddonRecord(found.body);
  for (FeatureRecord& feature : found.record.features)
    if (feature.key == key) found.feature = &feature;
  return found.feature != nullptr;
}

std::vector<int> MembersOf(int group) {
  brennik::Located where = brennik::Locate(group);
  if (where.kind != brennik::Kind::Group) return {};
  return where.partition->state.groups.at(group).members;
}

// The live tags of identifiers, with their labels; identifiers that no longer name an entity
// of the body are left out.
void Resolve(int body, const std::vector<int>& ids, const std::vector<int>& labels,
             std::vector<int>& tags, std::vector<int>& outLabels) {
  for (size_t i = 0; i < ids.size(); ++i) {
    if (int tag = hxr::wired::EntityOfIdentifier(body, ids[i])) {
      tags.push_back(tag);
      outLabels.push_back(i < labels.size() ? labels[i] : 0);
    }
  }
}

// The label a feature gave to an entity (0 for a piece it did not name).
int LabelOf(int body, const FeatureRecord& feature, int tag) {
  const int id = hxr::wired::IdentifierOfEntity(body, tag);
  auto it = std::find(feature.topols.begin(), feature.topols.end(), id);
  return it == feature.topols.end() ? 0 : feature.labels[it - feature.topols.begin()];
}

// Lists of one body's faces, edges and vertices, without repeats, as identifiers.
int IdentifiersOf(int& body, int n, const int* tags, std::vector<int>& ids) {
  if (n < 0 || (n > 0 && tags == nullptr)) return HXR_ERROR_bad_argument;
  std::set<int> seen;
  for (int i = 0; i < n; ++i) {
    if (!IsTopol(tags[i]) || !seen.insert(tags[i]).second) return HXR_ERROR_bad_argument;
    const int owner = brennik::BodyOf(tags[i])->tag;
    if (body != 0 && owner != body) return HXR_ERROR_bad_argument;
    body = owner;
    ids.push_back(hxr::wired::IdentifierOfEntity(body, tags[i]));
  }
  return HXR_ERROR_none;
}

void ClearList(int* n, int** list) {
  if (n != nullptr) *n = 0;
  if (list != nullptr) *list = nullptr;
}

// Runs a query or edit of one feature.
int WithFeature(const char* name, int tag, const std::function<int(FoundFeature&)>& call) {
  return RunCall(name, [&]() -> int {
    FoundFeature found;
    if (!FindFeature(tag, found)) return HXR_ERROR_bad_argument;
    return call(found);
  });
}

// The features of a body that pass the test (given the feature's group), by group tag.
std::vector<int> FeaturesOfBody(int body, const std::function<bool(int group, const FeatureRecord&)>& test) {
  std::vector<int> out;
  const std::map<int, int> groups = FeatureGroups(body);
  for (const FeatureRecord& feature : hxr::wired::LoadAddonRecord(body).features) {
    auto it = groups.find(feature.key);
    if (it != groups.end() && test(it->second, feature)) out.push_back(it->second);
  }
  return out;
}

}  // namespace

int HXR_TOPOL_make_feat(int n_topols, const int* topols, const int* labels, int n_canonical,
                        int identifier, const HXR_TOPOL_make_feat_o_s* options, int* feature) {
  if (feature != nullptr) *feature = 0;
  return RunCall(__func__, [&]() -> int {
    if (feature == nullptr || (options != nullptr && options->version != 1)) return HXR_ERROR_bad_argument;
    if (n_topols > 0 && labels == nullptr) return HXR_ERROR_bad_argument;
    if (n_canonical < 0 || n_canonical > n_topols) return HXR_ERROR_bad_argument;
    FeatureRecord record;
    int body = 0;
    if (int code = IdentifiersOf(body, n_topols, topols, record.topols)) return code;
    if (n_topols > 0) record.labels.assign(labels, labels + n_topols);
    if (options != nullptr) {
      if (options->n_unders > 0 && options->under_labels == nullptr) return HXR_ERROR_bad_argument;
      if (options->n_canonical_unders < 0 || options->n_canonical_unders > options->n_unders)
        return HXR_ERROR_bad_argument;
      if (int code = IdentifiersOf(body, options->n_unders, options->unders, record.unders)) return code;
      if (options->n_unders > 0)
        record.underLabels.assign(options->under_labels, options->under_labels + options->n_unders);
      record.canonicalUnders = options->n_canonical_unders;
    }
    if (body == 0) return HXR_ERROR_bad_argument;  // a feature of nothing has no body to live on
    record.identifier = identifier;
    record.canonical = n_canonical;
    const int attdef = FeatureAttdef();
    int group = 0, attrib = 0;
    if (attdef == 0 ||
        BQ_GROUP_create_from_entities(body, kFeatureGroupClass, n_topols, topols, &group) != 0)
      return HXR_ERROR_bad_argument;
    // The group's first tag is the key: unique in this session, kept by the group for good.
    record.key = group;
    AddonRecord data = hxr::wired::LoadAddonRecord(body);
    data.features.push_back(record);
    if (BQ_ATTRIB_create_empty(group, attdef, &attrib) != 0 ||
        BQ_ATTRIB_set_ints(attrib, 0, 1, &record.key) != 0 || !hxr::wired::SaveAddonRecord(body, data)) {
      BQ_ENTITY_delete(1, &group);
      return HXR_ERROR_bad_argument;
    }
    *feature = group;
    return HXR_ERROR_none;
  });
}

int HXR_FEAT_ask_identifier(int feature, int* identifier) {
  if (identifier != nullptr) *identifier = 0;
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (identifier == nullptr) return HXR_ERROR_bad_argument;
    *identifier = found.feature->identifier;
    return HXR_ERROR_none;
  });
}

int HXR_FEAT_set_identifier(int feature, int identifier, const HXR_FEAT_set_identifier_o_s* options) {
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
    found.feature->identifier = identifier;
    return hxr::wired::SaveAddonRecord(found.body, found.record) ? HXR_ERROR_none : HXR_ERROR_bad_argument;
  });
}

int HXR_FEAT_is_dormant(int feature, bool* dormant) {
  if (dormant != nullptr) *dormant = false;
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (dormant == nullptr) return HXR_ERROR_bad_argument;
    *dormant = found.feature->dormant;
    return HXR_ERROR_none;
  });
}

int HXR_FEAT_set_dormant(int feature, bool dormant) {
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    found.feature->dormant = dormant;
    return hxr::wired::SaveAddonRecord(found.body, found.record) ? HXR_ERROR_none : HXR_ERROR_bad_argument;
  });
}

// Complete: every face, edge and vertex the feature was made of is still in it.
int HXR_FEAT_is_complete(int feature, bool* complete) {
  if (complete != nullptr) *complete = false;
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (complete == nullptr) return HXR_ERROR_bad_argument;
    const std::vector<int> members = MembersOf(feature);
    *complete = std::all_of(found.feature->topols.begin(), found.feature->topols.end(), [&](int id) {
      const int tag = hxr::wired::EntityOfIdentifier(found.body, id);
      return tag != 0 && std::find(members.begin(), members.end(), tag) != members.end();
    });
    return HXR_ERROR_none;
  });
}

// Pristine: complete, and holding nothing it was not made of; the entities reported are the
// ones it holds that it was not made of (pieces split off its own).
int HXR_FEAT_is_pristine(int feature, bool* pristine, int* n_entities, int** entities) {
  if (pristine != nullptr) *pristine = false;
  ClearList(n_entities, entities);
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (pristine == nullptr || n_entities == nullptr || entities == nullptr) return HXR_ERROR_bad_argument;
    const std::vector<int> members = MembersOf(feature);
    std::vector<int> extra;
    for (int tag : members) {
      const int id = hxr::wired::IdentifierOfEntity(found.body, tag);
      if (std::find(found.feature->topols.begin(), found.feature->topols.end(), id) ==
          found.feature->topols.end())
        extra.push_back(tag);
    }
    bool complete = false;
    HXR_FEAT_is_complete(feature, &complete);
    *pristine = complete && extra.empty();
    *n_entities = static_cast<int>(extra.size());
    *entities = HandOut(extra);
    return HXR_ERROR_none;
  });
}

int HXR_FEAT_delete(int feature) {
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    auto& features = found.record.features;
    const int key = found.feature->key;
    features.erase(std::remove_if(features.begin(), features.end(),
                                  [&](const FeatureRecord& f) { return f.key == key; }),
                   features.end());
    if (BQ_ENTITY_delete(1, &feature) != 0) return HXR_ERROR_bad_argument;
    return hxr::wired::SaveAddonRecord(found.body, found.record) ? HXR_ERROR_none : HXR_ERROR_bad_argument;
  });
}

int HXR_FEAT_ask_topols(int feature, int* n_topols, int** topols, int** labels) {
  ClearList(n_topols, topols);
  if (labels != nullptr) *labels = nullptr;
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (n_topols == nullptr || topols == nullptr || labels == nullptr) return HXR_ERROR_bad_argument;
    const std::vector<int> members = MembersOf(feature);
    std::vector<int> memberLabels;
    for (int tag : members) memberLabels.push_back(LabelOf(found.body, *found.feature, tag));
    *n_topols = static_cast<int>(members.size());
    *topols = HandOut(members);
    *labels = HandOut(memberLabels);
    return HXR_ERROR_none;
  });
}

int HXR_FEAT_ask_unders(int feature, int* n_unders, int** unders, int** labels) {
  ClearList(n_unders, unders);
  if (labels != nullptr) *labels = nullptr;
  return WithFeature(__func__, feature, [&](FoundFeature& found) -> int {
    if (n_unders == nullptr || unders == nullptr || labels == nullptr) return HXR_ERROR_bad_argument;
    std::vector<int> tags, tagLabels;
    Resolve(found.body, found.feature->unders, found.feature->underLabels, tags, tagLabels);
    *n_unders = static_cast<int>(tags.size());
    *unders = HandOut(tags);
    *labels = HandOut(tagLabels);
    return HXR_ERROR_none;
  });
}

int HXR_TOPOL_ask_feats(int topol, int* n_features, int** features) {
  ClearList(n_features, features);
  return RunCall(__func__, [&]() -> int {
    if (n_features == nullptr || features == nullptr || !IsTopol(topol)) return HXR_ERROR_bad_argument;
    const std::vector<int> found = FeaturesOfBody(brennik::BodyOf(topol)->tag, [&](int group, const FeatureRecord&) {
      const std::vector<int> members = MembersOf(group);
      return std::find(members.begin(), members.end(), topol) != members.end();
    });
    *n_features = static_cast<int>(found.size());
    *features = HandOut(found);
    return HXR_ERROR_none;
  });
}

// A feature depends on the entities it was built on: its unders, or any face, edge or vertex
// of a feature given as the entity.
int HXR_ENTITY_ask_dependent_feats(int entity, int* n_features, int** features) {
  ClearList(n_features, features);
  return RunCall(__func__, [&]() -> int {
    if (n_features == nullptr || features == nullptr) return HXR_ERROR_bad_argument;
    std::vector<int> entities;
    FoundFeature asFeature;
    int body = 0;
    if (FindFeature(entity, asFeature)) {
      entities = MembersOf(entity);
      body = asFeature.body;
    } else if (IsTopol(entity)) {
      entities = {entity};
      body = brennik::BodyOf(entity)->tag;
    } else {
      return HXR_ERROR_bad_argument;
    }
    const std::vector<int> found = FeaturesOfBody(body, [&](int group, const FeatureRecord& feature) {
      if (group == entity) return false;
      for (int id : feature.unders) {
        const int tag = hxr::wired::EntityOfIdentifier(body, id);
        if (tag != 0 && std::find(entities.begin(), entities.end(), tag) != entities.end()) return true;
      }
      return false;
    });
    *n_features = static_cast<int>(found.size());
    *features = HandOut(found);
    return HXR_ERROR_none;
  });
}

int HXR_PART_find_feats(int part, const HXR_PART_find_feats_o_s* options, int* n_features, int** features) {
  ClearList(n_features, features);
  return RunCall(__func__, [&]() -> int {
    if (n_features == nullptr || features == nullptr || options == nullptr || options->version != 1 ||
        brennik::store::FindBody(part) == nullptr)
      return HXR_ERROR_bad_argument;
    const std::vector<int> found = FeaturesOfBody(part, [&](int, const FeatureRecord& feature) {
      return feature.identifier == options->identifier;
    });
    *n_features = static_cast<int>(found.size());
    *features = HandOut(found);
    return HXR_ERROR_none;
  });
}
