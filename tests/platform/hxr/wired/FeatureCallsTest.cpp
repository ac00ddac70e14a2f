// Add-on features on kernel bodies: made from faces with labels and unders, asked, edited,
// found by identifier and by topology, following a split and a deletion of their faces, and
// rolled back with the partition.
#include "WiredTestBase.h"

namespace {

class FeatureCallsTest : public WiredTest {
 protected:
  // A feature of the block's top (label 7) and side (label 8) built on its bottom (label 3).
  int MakeTopAndSide(int body, int identifier) {
    m_top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
    m_side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
    m_bottom = FaceAt(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
    const int topols[] = {m_top, m_side};
    const int labels[] = {7, 8};
    int unders[] = {m_bottom};
    int underLabels[] = {3};
    const HXR_TOPOL_make_feat_o_s options{1, 1, unders, underLabels, 1};
    int feature = 0;
    EXPECT_EQ(HXR_TOPOL_make_feat(2, topols, labels, 1, identifier, &options, &feature), HXR_ERROR_none);
    return feature;
  }
  struct Labelled {
    std::vector<int> tags, labels;
  };
  static Labelled Topols(int feature) {
    int n = 0;
    int *tags = nullptr, *labels = nullptr;
    EXPECT_EQ(HXR_FEAT_ask_topols(feature, &n, &tags, &labels), HXR_ERROR_none);
    Labelled out{std::vector<int>(tags, tags + n), std::vector<int>(labels, labels + n)};
    BQ_MEMORY_free(tags);
    BQ_MEMORY_free(labels);
    return out;
  }
  static std::vector<int> FeaturesOf(int topol) {
    int n = 0;
    int* features = nullptr;
    EXPECT_EQ(HXR_TOPOL_ask_feats(topol, &n, &features), HXR_ERROR_none);
    std::vector<int> out(features, features + n);
    BQ_MEMORY_free(features);
    return out;
  }
  static bool Flag(int (*ask)(int, bool*), int feature) {
    bool flag = false;
    EXPECT_EQ(ask(feature, &flag), HXR_ERROR_none);
    return flag;
  }
  int m_top = 0, m_side = 0, m_bottom = 0;
};

TEST_F(FeatureCallsTest, AFeatureAnswersWhatItWasMadeOf) {
  const int body = brennik::build::Block();
  const int feature = MakeTopAndSide(body, 41);
  ASSERT_NE(feature, 0);
  bool live = false;
  BQ_ENTITY_is(feature, &live);
  EXPECT_TRUE(live) << "callers check a feature as a kernel entity";

  const Labelled topols = Topols(feature);
  EXPECT_EQ(topols.tags, (std::vector<int>{m_top, m_side}));
  EXPECT_EQ(topols.labels, (std::vector<int>{7, 8}));
  int n = 0;
  int *unders = nullptr, *labels = nullptr;
  ASSERT_EQ(HXR_FEAT_ask_unders(feature, &n, &unders, &labels), HXR_ERROR_none);
  EXPECT_EQ(std::vector<int>(unders, unders + n), std::vector<int>{m_bottom});
  EXPECT_EQ(std::vector<int>(labels, labels + n), std::vector<int>{3});
  BQ_MEMORY_free(unders);
  BQ_MEMORY_free(labels);

  int identifier = 0;
  EXPECT_EQ(HXR_FEAT_ask_identifier(feature, &identifier), HXR_ERROR_none);
  EXPECT_EQ(identifier, 41);
  const HXR_FEAT_set_identifier_o_s setOptions{1};
  EXPECT_EQ(HXR_FEAT_set_identifier(feature, 42, &setOptions), HXR_ERROR_none);
  HXR_FEAT_ask_identifier(feature, &identifier);
  EXPECT_EQ(identifier, 42);

  EXPECT_FALSE(Flag(HXR_FEAT_is_dormant, feature));
  EXPECT_EQ(HXR_FEAT_set_dormant(feature, true), HXR_ERROR_none);
  EXPECT_TRUE(Flag(HXR_FEAT_is_dormant, feature));
  EXPECT_TRUE(Flag(HXR_FEAT_is_complete, feature));

  EXPECT_EQ(FeaturesOf(m_top), std::vector<int>{feature});
  EXPECT_TRUE(FeaturesOf(m_bottom).empty());
  int* found = nullptr;
  const HXR_PART_find_feats_o_s find{1, 42}, other{1, 41};
  ASSERT_EQ(HXR_PART_find_feats(body, &find, &n, &found), HXR_ERROR_none);
  EXPECT_EQ(std::vector<int>(found, found + n), std::vector<int>{feature});
  BQ_MEMORY_free(found);
  ASSERT_EQ(HXR_PART_find_feats(body, &other, &n, &found), HXR_ERROR_none);
  EXPECT_EQ(n, 0);
  // The feature depends on its under, not on its own faces.
  ASSERT_EQ(HXR_ENTITY_ask_dependent_feats(m_bottom, &n, &found), HXR_ERROR_none);
  EXPECT_EQ(std::vector<int>(found, found + n), std::vector<int>{feature});
  BQ_MEMORY_free(found);
  ASSERT_EQ(HXR_ENTITY_ask_dependent_feats(m_top, &n, &found), HXR_ERROR_none);
  EXPECT_EQ(n, 0);

  EXPECT_EQ(HXR_FEAT_delete(feature), HXR_ERROR_none);
  EXPECT_EQ(HXR_FEAT_ask_identifier(feature, &identifier), HXR_ERROR_bad_argument);
  EXPECT_TRUE(FeaturesOf(m_top).empty());
}

TEST_F(FeatureCallsTest, BadFeaturesAndTopologiesAreRefused) {
  const int body = brennik::build::Block();
  const int other = brennik::build::Block();
  const int face = Faces(body).front(), otherFace = Faces(other).front();
  const int label = 1;
  const int twoBodies[] = {face, otherFace}, twice[] = {face, face}, labels[] = {1, 2};
  int feature = 5;
  EXPECT_EQ(HXR_TOPOL_make_feat(2, twoBodies, labels, 0, 1, nullptr, &feature), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_TOPOL_make_feat(2, twice, labels, 0, 1, nullptr, &feature), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_TOPOL_make_feat(1, &body, &label, 0, 1, nullptr, &feature), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_TOPOL_make_feat(1, &face, &label, 2, 1, nullptr, &feature), HXR_ERROR_bad_argument);
  EXPECT_EQ(feature, 0);
  EXPECT_TRUE(List(BQ_PART_ask_groups, body).empty()) << "a refused feature leaves no group";
  // A plain group is no feature; a body is no topology.
  const int group = Group(body, {face});
  bool flag = true;
  EXPECT_EQ(HXR_FEAT_is_dormant(group, &flag), HXR_ERROR_bad_argument);
  EXPECT_FALSE(flag);
  int n = 3;
  int* list = nullptr;
  EXPECT_EQ(HXR_TOPOL_ask_feats(body, &n, &list), HXR_ERROR_bad_argument);
  EXPECT_EQ(n, 0);
}

TEST_F(FeatureCallsTest, AFeatureFollowsItsFacesThroughTheAddOnsOperations) {
  const int body = brennik::build::BlockWithBlend(2.0);
  const int blend = CurvedFaces(body).front();
  const int side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  const int topols[] = {blend, side};
  const int labels[] = {1, 2};
  int feature = 0;
  ASSERT_EQ(HXR_TOPOL_make_feat(2, topols, labels, 2, 9, nullptr, &feature), HXR_ERROR_none);
  int partition = 0, mark = 0;
  BQ_ENTITY_ask_partition(body, &partition);
  ASSERT_EQ(BQ_PARTITION_make_pmark(partition, &mark), 0);

  ASSERT_EQ(HXR_FACE_delete(1, &blend, nullptr, &m_tracking), HXR_ERROR_none);
  EXPECT_EQ(Topols(feature).tags, std::vector<int>{side});
  EXPECT_FALSE(Flag(HXR_FEAT_is_complete, feature));
  bool pristine = true;
  int n = 0;
  int* entities = nullptr;
  ASSERT_EQ(HXR_FEAT_is_pristine(feature, &pristine, &n, &entities), HXR_ERROR_none);
  EXPECT_FALSE(pristine);

  const BQ_PMARK_goto_o_t back{1, false, false, false, false};
  int counts[3] = {};
  int* lists[3] = {};
  ASSERT_EQ(BQ_PMARK_goto_2(mark, &back, &counts[0], &lists[0], &counts[1], &lists[1], &counts[2], &lists[2]), 0);
  for (int* list : lists) BQ_MEMORY_free(list);
  EXPECT_EQ(Topols(feature).tags, (std::vector<int>{blend, side}));
  ASSERT_EQ(HXR_FEAT_is_pristine(feature, &pristine, &n, &entities), HXR_ERROR_none);
  EXPECT_TRUE(pristine);
  EXPECT_EQ(n, 0);
}

TEST_F(FeatureCallsTest, AReceivedBodyBringsItsFeaturesOnItsOwnFaces) {
  const int body = brennik::build::Block();
  const int feature = MakeTopAndSide(body, 41);
  const BQ_PART_transmit_o_t out{2, BQ_PART_format_text, true};
  BQ_MEMORY_block_t* block = nullptr;
  ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &block), 0);
  const BQ_PART_receive_o_t in{1, BQ_PART_format_text, true};
  int n = 0;
  int* parts = nullptr;
  ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
  BQ_MEMORY_block_f(block);
  ASSERT_EQ(n, 1);
  const int copy = parts[0];
  BQ_MEMORY_free(parts);

  const HXR_PART_find_feats_o_s find{1, 41};
  int* found = nullptr;
  ASSERT_EQ(HXR_PART_find_feats(copy, &find, &n, &found), HXR_ERROR_none);
  ASSERT_EQ(n, 1);
  const int received = found[0];
  BQ_MEMORY_free(found);
  EXPECT_NE(received, feature);
  const int top = FaceAt(copy, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int side = FaceAt(copy, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  const Labelled topols = Topols(received);
  EXPECT_EQ(topols.tags, (std::vector<int>{top, side}));
  EXPECT_EQ(topols.labels, (std::vector<int>{7, 8}));
  EXPECT_EQ(FeaturesOf(top), std::vector<int>{received});
  // The original keeps its own.
  EXPECT_EQ(Topols(feature).tags, (std::vector<int>{m_top, m_side}));
}

}  // namespace
