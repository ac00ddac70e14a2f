// Attribute definitions, attributes, callbacks, groups and application items.
#include "KernelTestBase.h"

#include "brennik_build.h"

#include <algorithm>
#include <tuple>

namespace {

struct Event {
  char kind;
  int entity, attrib, otherAttrib, other;
};
std::vector<Event> s_events;
void OnSplit(int e, int a, int oa, int o) { s_events.push_back({'S', e, a, oa, o}); }
void OnMerge(int e, int a, int oa, int o) { s_events.push_back({'M', e, a, oa, o}); }
void OnDelete(int e, int a, int oa, int o) { s_events.push_back({'D', e, a, oa, o}); }
void OnCopy(int e, int a, int oa, int o) { s_events.push_back({'C', e, a, oa, o}); }

class AttributesTest : public KernelTest {
 protected:
  void SetUp() override {
    KernelTest::SetUp();
    s_events.clear();
  }
  int Define(const char* name, std::vector<int> owners) {
    const int types[] = {BQ_FIELD_type_int, BQ_FIELD_type_pointer, BQ_FIELD_type_real};
    const char* names[] = {"QELTempAttr", "QELObject", "size"};
    BQ_ATTDEF_sf_t form{name, BQ_ATTDEF_class_normal, static_cast<int>(owners.size()), owners.data(), 3, types, names};
    int attdef = 0;
    EXPECT_EQ(BQ_ATTDEF_create_2(&form, &attdef), 0);
    BQ_ATTDEF_callback_fns_t fns{&OnSplit, &OnMerge, &OnDelete, &OnCopy};
    BQ_ATTDEF_register_cb(attdef, &fns);
    return attdef;
  }
  void Flags(int attdef, bool on) {
    BQ_ATTDEF_callback_flags_t flags{on, on, on, on, false, false};
    BQ_ATTDEF_set_callback_flags(attdef, &flags);
  }
};

TEST_F(AttributesTest, DefinitionsAreFoundByNameAndNamesAreUnique) {
  int attdef = Define("KALDERN/QEL_FEATURE", {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex});
  EXPECT_EQ(ClassOf(attdef), BQ_CLASS_attdef);
  int found = 0;
  ASSERT_EQ(BQ_ATTDEF_find("KALDERN/QEL_FEATURE", &found), 0);
  EXPECT_EQ(found, attdef);
  ASSERT_EQ(BQ_ATTDEF_find("NO/SUCH", &found), 0);
  EXPECT_EQ(found, 0);
  const int owners[] = {BQ_CLASS_face};
  BQ_ATTDEF_sf_t again{"KALDERN/QEL_FEATURE", BQ_ATTDEF_class_normal, 1, owners, 0, nullptr, nullptr};
  EXPECT_EQ(BQ_ATTDEF_create_2(&again, &found), BQ_ERROR_bad_name);
}

TEST_F(AttributesTest, FieldsHoldIntsRealsAndNamedPointers) {
  int attdef = Define("TEST/FIELDS", {BQ_CLASS_face});
  int body = brennik::build::Block();
  int face = List(BQ_BODY_ask_faces, body)[2];
  int attrib = 0;
  ASSERT_EQ(BQ_ATTRIB_create_empty(face, attdef, &attrib), 0);
  EXPECT_EQ(ClassOf(attrib), BQ_CLASS_attrib);
  int values[] = {5, 6};
  ASSERT_EQ(BQ_ATTRIB_set_ints(attrib, 0, 2, values), 0);
  int value = 0;
  ASSERT_EQ(BQ_ATTRIB_ask_nth_int(attrib, 0, 1, &value), 0);
  EXPECT_EQ(value, 6);
  EXPECT_EQ(BQ_ATTRIB_ask_nth_int(attrib, 0, 2, &value), BQ_ERROR_bad_value);
  EXPECT_EQ(BQ_ATTRIB_set_ints(attrib, 1, 1, values), BQ_ERROR_bad_field);  // a pointer field
  void* pointer = &value;
  ASSERT_EQ(BQ_ATTRIB_set_named_pointers(attrib, "QELObject", 1, &pointer), 0);
  int n = 0;
  void** pointers = nullptr;
  ASSERT_EQ(BQ_ATTRIB_ask_named_pointers(attrib, "QELObject", &n, &pointers), 0);
  EXPECT_EQ(Take(n, pointers), std::vector<void*>{&value});
  EXPECT_EQ(BQ_ATTRIB_ask_named_pointers(attrib, "nothing", &n, &pointers), BQ_ERROR_bad_name);
  int owner = 0, def = 0;
  BQ_ATTRIB_ask_owner(attrib, &owner);
  BQ_ATTRIB_ask_attdef(attrib, &def);
  EXPECT_EQ(owner, face);
  EXPECT_EQ(def, attdef);
  int first = 0;
  BQ_ENTITY_ask_first_attrib(face, attdef, &first);
  EXPECT_EQ(first, attrib);
}

TEST_F(AttributesTest, OwnerClassMustBeAllowed) {
  int attdef = Define("TEST/GROUPS_ONLY", {BQ_CLASS_group});
  int body = brennik::build::Block();
  int face = List(BQ_BODY_ask_faces, body)[0];
  int attrib = 0;
  EXPECT_EQ(BQ_ATTRIB_create_empty(face, attdef, &attrib), BQ_ERROR_bad_owner);
  int group = 0;
  BQ_GROUP_create_from_entities(body, 1000, 1, &face, &group);
  EXPECT_EQ(BQ_ATTRIB_create_empty(group, attdef, &attrib), 0);
}

TEST_F(AttributesTest, PartAttributesAreListedAndDeletedByOwnerClass) {
  int attdef = Define("TEST/PART", {BQ_CLASS_face, BQ_CLASS_edge});
  int body = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  std::vector<int> edges = List(BQ_BODY_ask_edges, body);
  int a = 0;
  BQ_ATTRIB_create_empty(faces[0], attdef, &a);
  BQ_ATTRIB_create_empty(faces[1], attdef, &a);
  BQ_ATTRIB_create_empty(edges[0], attdef, &a);
  int n = 0;
  int* attribs = nullptr;
  BQ_PART_ask_all_attribs(body, attdef, &n, &attribs);
  EXPECT_EQ(Take(n, attribs).size(), 3u);
  BQ_PART_delete_attribs_o_t faceOnly{1, BQ_CLASS_face};
  ASSERT_EQ(BQ_PART_delete_attribs(body, 1, &attdef, &faceOnly), 0);
  BQ_PART_ask_all_attribs(body, attdef, &n, &attribs);
  std::vector<int> left = Take(n, attribs);
  ASSERT_EQ(left.size(), 1u);
  int owner = 0;
  BQ_ATTRIB_ask_owner(left[0], &owner);
  EXPECT_EQ(owner, edges[0]);
}

TEST_F(AttributesTest, DeleteAndCopyFireCallbacksOnlyWhileSwitchedOn) {
  int attdef = Define("ORV/QEL_REFERENCE_TRACKING", {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex});
  int body = brennik::build::Block();
  int face = List(BQ_BODY_ask_faces, body)[0];
  int attrib = 0;
  BQ_ATTRIB_create_empty(face, attdef, &attrib);
  int copy = 0;
  BQ_ENTITY_copy(body, &copy);
  EXPECT_TRUE(s_events.empty());
  Flags(attdef, true);
  int second = 0;
  BQ_ENTITY_copy(body, &second);
  ASSERT_EQ(s_events.size(), 1u);
  EXPECT_EQ(s_events[0].kind, 'C');
  EXPECT_EQ(s_events[0].entity, face);
  EXPECT_EQ(s_events[0].attrib, attrib);
  int copiedFace = List(BQ_BODY_ask_faces, second)[0];
  EXPECT_EQ(s_events[0].other, copiedFace);
  s_events.clear();
  BQ_ENTITY_delete(1, &body);
  ASSERT_EQ(s_events.size(), 1u);
  EXPECT_EQ(s_events[0].kind, 'D');
  EXPECT_EQ(s_events[0].entity, face);
  EXPECT_EQ(ClassOf(attrib), BQ_CLASS_null);
}

TEST_F(AttributesTest, CopyOfBodyCopiesGroupsAndAttributesWithPointers) {
  int attdef = Define("ORV/QEL_REF_DEV", {BQ_CLASS_group});
  int body = brennik::build::LPrism();
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  int group = 0;
  int members[] = {faces[3], faces[1]};
  BQ_GROUP_create_from_entities(body, 1000, 2, members, &group);
  int attrib = 0;
  BQ_ATTRIB_create_empty(group, attdef, &attrib);
  void* pointer = &group;
  BQ_ATTRIB_set_named_pointers(attrib, "QELObject", 1, &pointer);
  int copy = 0;
  ASSERT_EQ(BQ_ENTITY_copy(body, &copy), 0);
  int n = 0;
  int* groups = nullptr;
  BQ_PART_ask_groups(copy, &n, &groups);
  std::vector<int> copied = Take(n, groups);
  ASSERT_EQ(copied.size(), 1u);
  std::vector<int> copyFaces = List(BQ_BODY_ask_faces, copy);
  EXPECT_EQ(List(BQ_GROUP_ask_entities, copied[0]), (std::vector<int>{copyFaces[3], copyFaces[1]}));
  int first = 0;
  BQ_ENTITY_ask_first_attrib(copied[0], attdef, &first);
  void** pointers = nullptr;
  BQ_ATTRIB_ask_named_pointers(first, "QELObject", &n, &pointers);
  EXPECT_EQ(Take(n, pointers), std::vector<void*>{&group});
}

TEST_F(AttributesTest, GroupsKeepMemberOrder) {
  int body = brennik::build::Block();
  std::vector<int> faces = List(BQ_BODY_ask_faces, body);
  int group = 0;
  int members[] = {faces[4], faces[0]};
  ASSERT_EQ(BQ_GROUP_create_from_entities(body, 1000, 2, members, &group), 0);
  EXPECT_EQ(ClassOf(group), BQ_CLASS_group);
  ASSERT_EQ(BQ_GROUP_add_entities(group, 1, &faces[2]), 0);
  EXPECT_EQ(BQ_GROUP_add_entities(group, 1, &faces[0]), BQ_ERROR_already_member);
  int merge[] = {faces[0], faces[5]};
  ASSERT_EQ(BQ_GROUP_merge_entities(group, 2, merge), 0);
  EXPECT_EQ(List(BQ_GROUP_ask_entities, group), (std::vector<int>{faces[4], faces[0], faces[2], faces[5]}));
  ASSERT_EQ(BQ_GROUP_remove_entities(group, 1, &faces[0]), 0);
  EXPECT_EQ(BQ_GROUP_remove_entities(group, 1, &faces[0]), BQ_ERROR_not_in_part);
  EXPECT_EQ(List(BQ_GROUP_ask_entities, group), (std::vector<int>{faces[4], faces[2], faces[5]}));
  int part = 0;
  BQ_GROUP_ask_part(group, &part);
  EXPECT_EQ(part, body);
  int n = 0;
  int* owning = nullptr;
  BQ_ENTITY_ask_owning_groups(faces[2], &n, &owning);
  EXPECT_EQ(Take(n, owning), std::vector<int>{group});
  int other = brennik::build::Block();
  int foreign = List(BQ_BODY_ask_faces, other)[0];
  EXPECT_EQ(BQ_GROUP_add_entities(group, 1, &foreign), BQ_ERROR_not_in_part);
}

TEST_F(AttributesTest, DeletingAGroupDeletesItsAttributes) {
  int attdef = Define("TEST/ON_GROUP", {BQ_CLASS_group});
  int body = brennik::build::Block();
  int group = 0, attrib = 0;
  BQ_GROUP_create_from_entities(body, 1000, 0, nullptr, &group);
  BQ_ATTRIB_create_empty(group, attdef, &attrib);
  ASSERT_EQ(BQ_ENTITY_delete(1, &group), 0);
  EXPECT_EQ(ClassOf(attrib), BQ_CLASS_null);
  EXPECT_EQ(ClassOf(body), BQ_CLASS_body);
}

TEST_F(AttributesTest, ApplicationItemsHoldOnePointer) {
  int value = 1;
  int item = 0;
  ASSERT_EQ(BQ_APPITEM_create(&value, &item), 0);
  bool is = false;
  BQ_APPITEM_is(item, &is);
  EXPECT_TRUE(is);
  bool entity = true;
  BQ_ENTITY_is(item, &entity);
  EXPECT_FALSE(entity);
  void* pointer = nullptr;
  BQ_APPITEM_ask(item, &pointer);
  EXPECT_EQ(pointer, &value);
  ASSERT_EQ(BQ_APPITEM_delete(1, &item), 0);
  BQ_APPITEM_is(item, &is);
  EXPECT_FALSE(is);
  EXPECT_EQ(BQ_APPITEM_ask(item, &pointer), BQ_ERROR_bad_tag);
  int body = brennik::build::Block();
  EXPECT_EQ(BQ_APPITEM_delete(1, &body), BQ_ERROR_wrong_class);
}

}  // namespace
