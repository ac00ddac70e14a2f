// Partitions, partition marks and the change lists of marks.
#include "ModelState.h"

#include "brennik_build.h"

#include <algorithm>

namespace {

class MarksTest : public KernelTest {
 protected:
  int Attdef() {
    const int owners[] = {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex, BQ_CLASS_body, BQ_CLASS_group};
    const int types[] = {BQ_FIELD_type_int};
    const char* names[] = {"value"};
    BQ_ATTDEF_sf_t form{"TEST/MARKS", BQ_ATTDEF_class_normal, 5, owners, 1, types, names};
    int attdef = 0;
    BQ_ATTDEF_create_2(&form, &attdef);
    return attdef;
  }
  int Mark(int partition) {
    int mark = 0;
    EXPECT_EQ(BQ_PARTITION_make_pmark(partition, &mark), 0);
    return mark;
  }
  void Goto(int mark) {
    BQ_PMARK_goto_o_t options{3, true, false, false, false};
    EXPECT_EQ(BQ_PMARK_goto_2(mark, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  }
  int Tag(int owner, int attdef, int value) {
    int attrib = 0;
    EXPECT_EQ(BQ_ATTRIB_create_empty(owner, attdef, &attrib), 0);
    BQ_ATTRIB_set_ints(attrib, 0, 1, &value);
    return attrib;
  }
};

TEST_F(MarksTest, RoundTripRestoresEveryStateBackwardsAndForwards) {
  int partition = CurrentPartition();
  int attdef = Attdef();
  int block = brennik::build::BlockWithBlend();
  std::vector<int> faces = List(BQ_BODY_ask_faces, block);
  int group = 0;
  BQ_GROUP_create_from_entities(block, 1000, 2, faces.data(), &group);
  Tag(faces[0], attdef, 7);
  std::vector<int> marks{Mark(partition)};
  std::vector<std::string> states{DescribePartition(partition, attdef)};

  // Step 1: a second body, an attribute on it and a group.
  int plate = brennik::build::PlateWithHoles();
  std::vector<int> plateFaces = List(BQ_BODY_ask_faces, plate);
  int plateGroup = 0;
  BQ_GROUP_create_from_entities(plate, 1000, 1, &plateFaces[3], &plateGroup);
  Tag(plateGroup, attdef, 11);
  marks.push_back(Mark(partition));
  states.push_back(DescribePartition(partition, attdef));

  // Step 2: move the first body, change its group and attributes, add free geometry.
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  int transf = 0;
  BQ_TRANSF_create(&shift, &transf);
  EXPECT_EQ(BQ_BODY_transform_2(block, transf, 1e-8, nullptr, nullptr, nullptr), 0);
  BQ_GROUP_add_entities(group, 1, &faces[4]);
  Tag(block, attdef, 3);
  brennik::build::FreePlane(0, 0, 1, 0, 0, 1);
  marks.push_back(Mark(partition));
  states.push_back(DescribePartition(partition, attdef));

  // Step 3: the plate goes, the first body's group goes.
  BQ_ENTITY_delete(1, &plate);
  BQ_ENTITY_delete(1, &group);
  marks.push_back(Mark(partition));
  states.push_back(DescribePartition(partition, attdef));

  for (std::size_t i = 1; i < states.size(); ++i) EXPECT_NE(states[i], states[i - 1]);
  for (int index : {0, 3, 1, 2, 0, 3}) {
    SCOPED_TRACE(index);
    Goto(marks[index]);
    EXPECT_EQ(DescribePartition(partition, attdef), states[index]);
    int at = 0;
    bool isAt = false;
    BQ_PARTITION_ask_pmark(partition, &at, &isAt);
    EXPECT_TRUE(isAt);
    EXPECT_EQ(at, marks[index]);
  }
}

TEST_F(MarksTest, ChangeAfterMarkLeavesTheMark) {
  int partition = CurrentPartition();
  int mark = Mark(partition);
  int at = 0;
  bool isAt = false;
  BQ_PARTITION_ask_pmark(partition, &at, &isAt);
  EXPECT_TRUE(isAt);
  brennik::build::Block();
  BQ_PARTITION_ask_pmark(partition, &at, &isAt);
  EXPECT_FALSE(isAt);
  EXPECT_EQ(at, 0);
  Goto(mark);
  BQ_PARTITION_ask_pmark(partition, &at, &isAt);
  EXPECT_TRUE(isAt);
}

TEST_F(MarksTest, ApplicationItemsAreNotRolledBack) {
  int partition = CurrentPartition();
  int mark = Mark(partition);
  int item = 0;
  int value = 5;
  BQ_APPITEM_create(&value, &item);
  Goto(mark);
  bool is = false;
  BQ_APPITEM_is(item, &is);
  EXPECT_TRUE(is);
  void* pointer = nullptr;
  BQ_APPITEM_ask(item, &pointer);
  EXPECT_EQ(pointer, &value);
}

struct ChangeLists {
  std::vector<int> created, modified, deleted;
};

ChangeLists MarkWithChanges(int partition, int* mark) {
  BQ_PARTITION_make_pmark_o_t options{1, true, true, true};
  int nn = 0, nm = 0, nd = 0;
  int *created = nullptr, *modified = nullptr, *deleted = nullptr;
  EXPECT_EQ(BQ_PARTITION_make_pmark_2(partition, &options, mark, &nn, &created, &nm, &modified, &nd, &deleted), 0);
  return ChangeLists{Take(nn, created), Take(nm, modified), Take(nd, deleted)};
}

TEST_F(MarksTest, MarkWithChangesListsCreatedModifiedAndDeleted) {
  int partition = CurrentPartition();
  int first = 0;
  MarkWithChanges(partition, &first);
  int block = brennik::build::Block();
  int second = 0;
  ChangeLists made = MarkWithChanges(partition, &second);
  EXPECT_EQ(made.created.size(), 6u + 12u + 8u);
  EXPECT_TRUE(made.modified.empty());
  EXPECT_TRUE(made.deleted.empty());
  int preceding = 0;
  BQ_PMARK_ask_preceding(second, &preceding);
  EXPECT_EQ(preceding, first);

  // A move changes the geometry of everything; the tags stay.
  BQ_TRANSF_sf_t shift{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 2}, {0, 0, 0, 1}}};
  int transf = 0;
  BQ_TRANSF_create(&shift, &transf);
  BQ_BODY_transform_2(block, transf, 1e-8, nullptr, nullptr, nullptr);
  int third = 0;
  ChangeLists moved = MarkWithChanges(partition, &third);
  EXPECT_TRUE(moved.created.empty());
  EXPECT_EQ(moved.modified.size(), 26u);
  EXPECT_TRUE(moved.deleted.empty());

  // A rebuild that leaves the geometry as it was is no modification.
  BQ_BODY_reverse_orientation(block);
  BQ_BODY_reverse_orientation(block);
  int fourth = 0;
  EXPECT_TRUE(MarkWithChanges(partition, &fourth).modified.empty());

  std::vector<int> faces = List(BQ_BODY_ask_faces, block);
  BQ_ENTITY_delete(1, &block);
  int fifth = 0;
  ChangeLists gone = MarkWithChanges(partition, &fifth);
  EXPECT_EQ(gone.deleted.size(), 26u);
  for (int face : faces) EXPECT_NE(std::find(gone.deleted.begin(), gone.deleted.end(), face), gone.deleted.end());
}

TEST_F(MarksTest, ChangesAfterDeletingTheMarksAreStillAgainstTheLastState) {
  int partition = CurrentPartition();
  brennik::build::Block();
  int first = 0, second = 0;
  MarkWithChanges(partition, &first);
  int marks[] = {first};
  int n = 0;
  int* failed = nullptr;
  BQ_PMARK_delete(1, marks, &n, &failed);
  brennik::build::LPrism();
  ChangeLists changes = MarkWithChanges(partition, &second);
  EXPECT_EQ(changes.created.size(), 8u + 18u + 12u);  // the prism only, not the block again
  EXPECT_TRUE(changes.deleted.empty());
}

TEST_F(MarksTest, DeletedMarkCannotBeVisited) {
  int partition = CurrentPartition();
  int first = Mark(partition);
  int second = Mark(partition);
  int n = -1;
  int* failed = nullptr;
  EXPECT_EQ(BQ_PMARK_delete(1, &first, &n, &failed), 0);
  EXPECT_EQ(n, 0);
  int preceding = -1;
  BQ_PMARK_ask_preceding(second, &preceding);
  EXPECT_EQ(preceding, 0);
  BQ_PMARK_goto_o_t options{3, false, false, false, false};
  EXPECT_EQ(BQ_PMARK_goto_2(first, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), BQ_ERROR_bad_tag);
  int again[] = {first, second};
  EXPECT_EQ(BQ_PMARK_delete(2, again, &n, &failed), 0);
  EXPECT_EQ(Take(n, failed), std::vector<int>{first});
}

TEST_F(MarksTest, PartitionsOwnTheirBodies) {
  int home = CurrentPartition();
  int other = 0;
  ASSERT_EQ(BQ_PARTITION_create_empty(&other), 0);
  bool is = false;
  BQ_PARTITION_is(other, &is);
  EXPECT_TRUE(is);
  EXPECT_EQ(ClassOf(other), BQ_CLASS_partition);
  int body = brennik::build::Block();
  int attdef = Attdef();
  int face = List(BQ_BODY_ask_faces, body).front();
  int attrib = Tag(face, attdef, 1);
  int homeMark = Mark(home);
  ASSERT_EQ(BQ_BODY_change_partition(body, other), 0);
  int partition = 0;
  BQ_ENTITY_ask_partition(face, &partition);
  EXPECT_EQ(partition, other);
  BQ_ENTITY_ask_partition(attrib, &partition);
  EXPECT_EQ(partition, other);
  BQ_PARTITION_delete_o_t keep{1, false};
  EXPECT_EQ(BQ_PARTITION_delete(other, &keep), BQ_ERROR_has_children);
  EXPECT_EQ(BQ_PARTITION_delete(home, &keep), BQ_ERROR_bad_value);  // current
  BQ_PARTITION_delete_o_t all{1, true};
  EXPECT_EQ(BQ_PARTITION_delete(other, &all), 0);
  EXPECT_EQ(ClassOf(body), BQ_CLASS_null);
  Goto(homeMark);
  EXPECT_EQ(ClassOf(body), BQ_CLASS_body);
}

TEST_F(MarksTest, RollingBackAMoveTakesTheBodyBackWithWhatWentAlong) {
  int home = CurrentPartition();
  int other = 0;
  ASSERT_EQ(BQ_PARTITION_create_empty(&other), 0);
  int body = brennik::build::Block();
  int attdef = Attdef();
  int face = List(BQ_BODY_ask_faces, body).front();
  int attrib = Tag(face, attdef, 1);
  int group = 0;
  BQ_GROUP_create_from_entities(body, 1000, 1, &face, &group);
  const std::string homeAtMark = DescribePartition(home, attdef);
  int homeMark = Mark(home);
  ASSERT_EQ(BQ_BODY_change_partition(body, other), 0);
  Tag(body, attdef, 2);  // made in the other partition after the move
  Goto(homeMark);
  // One tag, one body, one partition: the body is back home as it was at the mark, and the
  // other partition no longer lists it or anything that went or was made with it.
  EXPECT_EQ(List(BQ_PARTITION_ask_bodies, home), std::vector<int>{body});
  EXPECT_EQ(List(BQ_PARTITION_ask_bodies, other), std::vector<int>());
  EXPECT_EQ(DescribePartition(home, attdef), homeAtMark);
  EXPECT_EQ(DescribePartition(other, attdef), "");
  for (int tag : {body, face, attrib, group}) {
    int partition = 0;
    EXPECT_EQ(BQ_ENTITY_ask_partition(tag, &partition), 0);
    EXPECT_EQ(partition, home);
  }
  // Deleting it leaves it listed nowhere.
  ASSERT_EQ(BQ_ENTITY_delete(1, &body), 0);
  EXPECT_EQ(List(BQ_PARTITION_ask_bodies, home), std::vector<int>());
  EXPECT_EQ(List(BQ_PARTITION_ask_bodies, other), std::vector<int>());
  EXPECT_EQ(ClassOf(body), BQ_CLASS_null);
}

TEST_F(MarksTest, TagsAreFoundOnlyWhereTheirEntitiesLive) {
  // Whatever a tag named, it is found exactly while its entity lives in the state the partition
  // is in: made after a mark, gone on going back; deleted, gone, and found again on going back.
  int partition = CurrentPartition();
  int attdef = Attdef();
  std::vector<int> kept;
  for (int i = 0; i < 20; ++i) kept.push_back(brennik::build::Block(10, 20, 30 + i));
  EXPECT_EQ(List(BQ_PART_ask_groups, kept[0]), std::vector<int>());
  int early = Mark(partition);
  int body = brennik::build::Block();
  int face = List(BQ_BODY_ask_faces, body).front();
  int edge = List(BQ_BODY_ask_edges, body).front();
  int surf = 0;
  BQ_FACE_ask_surf(face, &surf);
  int group = 0;
  BQ_GROUP_create_from_entities(body, 1000, 1, &face, &group);
  int attrib = Tag(face, attdef, 1);
  int plane = brennik::build::FreePlane(0, 0, 1, 0, 0, 1);
  int keptGroup = 0;
  BQ_GROUP_create_from_entities(kept[0], 1000, 1, &kept[0], &keptGroup);
  BQ_ENTITY_delete(1, &kept[7]);
  int late = Mark(partition);
  BQ_ENTITY_delete(1, &body);

  struct Expected {
    int tag;
    int cls;
    bool early, late, now;
  };
  const Expected table[] = {
      {body, BQ_CLASS_body, false, true, false},   {face, BQ_CLASS_face, false, true, false},
      {edge, BQ_CLASS_edge, false, true, false},   {surf, BQ_CLASS_plane, false, true, false},
      {group, BQ_CLASS_group, false, true, false}, {attrib, BQ_CLASS_attrib, false, true, false},
      {plane, BQ_CLASS_plane, false, true, true},  {kept[7], BQ_CLASS_body, true, false, false},
      {kept[8], BQ_CLASS_body, true, true, true},  {keptGroup, BQ_CLASS_group, false, true, true},
  };
  auto check = [&](const char* state, bool Expected::*live) {
    SCOPED_TRACE(state);
    for (const Expected& e : table) {
      SCOPED_TRACE(e.tag);
      EXPECT_EQ(ClassOf(e.tag), e.*live ? e.cls : BQ_CLASS_null);
    }
    EXPECT_EQ(ClassOf(partition), BQ_CLASS_partition);
    // A part's groups are listed from the state the partition is in, never from an earlier one.
    std::vector<int> groups;
    if (ClassOf(keptGroup) != BQ_CLASS_null) groups.push_back(keptGroup);
    EXPECT_EQ(List(BQ_PART_ask_groups, kept[0]), groups);
  };
  check("now", &Expected::now);
  Goto(early);
  check("early", &Expected::early);
  Goto(late);
  check("late", &Expected::late);
}

}  // namespace
