// The add-on's persistent relations on kernel bodies: stored once, the second store and a
// restore of nothing answer "nothing to do", and the stored state rolls back and travels
// with a transmitted body.
#include "WiredTestBase.h"

namespace {

class RelationCallsTest : public WiredTest {};

TEST_F(RelationCallsTest, StoreRemoveAndRestoreAnswerAsTheCallersExpect) {
  const int body = brennik::build::Block();
  const HXR_BODY_extract_relations_o_s store{2, true}, remove{2, false};
  const HXR_BODY_restore_relations_o_s restore{1};
  struct Step {
    const char* name;
    int (*call)(int, const HXR_BODY_extract_relations_o_s*, const HXR_BODY_extract_relations_o_s*,
                const HXR_BODY_restore_relations_o_s*);
    int expected;
  };
  const Step steps[] = {
      {"restore before anything is stored", [](int b, auto*, auto*, auto* r) { return HXR_BODY_restore_relations(b, r); },
       HXR_STATUS_nothing_to_do},
      {"store", [](int b, auto* s, auto*, auto*) { return HXR_BODY_extract_relations(b, s); }, HXR_ERROR_none},
      {"store again", [](int b, auto* s, auto*, auto*) { return HXR_BODY_extract_relations(b, s); },
       HXR_STATUS_nothing_to_do},
      {"restore", [](int b, auto*, auto*, auto* r) { return HXR_BODY_restore_relations(b, r); }, HXR_ERROR_none},
      {"remove", [](int b, auto*, auto* m, auto*) { return HXR_BODY_extract_relations(b, m); }, HXR_ERROR_none},
      {"restore after removal", [](int b, auto*, auto*, auto* r) { return HXR_BODY_restore_relations(b, r); },
       HXR_STATUS_nothing_to_do},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(step.call(body, &store, &remove, &restore), step.expected);
  }
  const HXR_BODY_extract_relations_o_s oldVersion{1, true};
  EXPECT_EQ(HXR_BODY_extract_relations(body, &oldVersion), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_BODY_extract_relations(Faces(body).front(), &store), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_BODY_restore_relations(0, &restore), HXR_ERROR_bad_argument);
}

TEST_F(RelationCallsTest, StoredRelationsRollBackWithTheBodysPartition) {
  const int body = brennik::build::Block();
  int partition = 0, mark = 0;
  BQ_ENTITY_ask_partition(body, &partition);
  ASSERT_EQ(BQ_PARTITION_make_pmark(partition, &mark), 0);
  const HXR_BODY_extract_relations_o_s store{2, true};
  ASSERT_EQ(HXR_BODY_extract_relations(body, &store), HXR_ERROR_none);
  const BQ_PMARK_goto_o_t back{1, false, false, false, false};
  int n[3] = {};
  int* lists[3] = {};
  ASSERT_EQ(BQ_PMARK_goto_2(mark, &back, &n[0], &lists[0], &n[1], &lists[1], &n[2], &lists[2]), 0);
  for (int* list : lists) BQ_MEMORY_free(list);
  const HXR_BODY_restore_relations_o_s restore{1};
  EXPECT_EQ(HXR_BODY_restore_relations(body, &restore), HXR_STATUS_nothing_to_do);
}

}  // namespace
