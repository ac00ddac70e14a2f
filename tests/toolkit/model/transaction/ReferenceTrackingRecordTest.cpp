// Reference-tracking records: how later records fold into earlier ones, how records settle
// when entities die, and how a reference's group, edited through the kernel, is classified.
#include "ModelFixture.h"

#include "model/references/ReferenceTrackingRecord.h"

namespace QEL {
namespace testing {
namespace {

ReferenceTrackingRecord Record(int kind, std::vector<int> before, std::vector<int> after)
{
    ReferenceTrackingRecord record(nullptr, kind);
    record.GetBefore() = std::move(before);
    record.GetAfter() = std::move(after);
    return record;
}

class ReferenceTrackingRecordTest : public ModelTest {
protected:
    // Live faces of the block to stand for the entities of the records.
    void SetUp() override
    {
        ModelTest::SetUp();
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_faces.assign(faces.begin(), faces.end());
    }
    int F(int i) const { return m_faces[i]; }
    std::vector<int> m_faces;
};

TEST_F(ReferenceTrackingRecordTest, CombineFoldsALaterRecordKindByKind)
{
    const int a = F(0), b = F(1), c = F(2), d = F(3);
    int dead = brennik::build::Block();
    BQ_ENTITY_delete(1, &dead);
    const struct {
        const char* name;
        ReferenceTrackingRecord first;
        ReferenceTrackingRecord later;
        int kind;
        std::vector<int> before;
        std::vector<int> after;
    } cases[] = {
        {"anything after none is copied", Record(0, {}, {}), Record(4, {a}, {a, b}), 4, {a}, {a, b}},
        {"nothing follows a delete", Record(1, {a}, {}), Record(3, {a}, {b}), 1, {a}, {}},
        {"a modify gives way", Record(6, {a}, {a}), Record(2, {a, b}, {a}), 2, {a, b}, {a}},
        {"a modify keeps before a derive", Record(6, {a}, {a}), Record(5, {a}, {b}), 6, {a}, {a}},
        {"delete after split drops a piece", Record(4, {a}, {b, c}), Record(1, {b}, {}), 4, {a}, {c}},
        {"delete of the last piece leaves nothing", Record(4, {a}, {c}), Record(1, {c}, {}), 0, {}, {}},
        {"delete after merge keeps the dead", Record(2, {dead, b}, {b}), Record(1, {b}, {}), 1, {dead}, {}},
        {"merge after merge unites survivors", Record(2, {a, b}, {a}), Record(2, {c, d}, {c}), 2, {a, b}, {a, c}},
        {"merge after split derives", Record(4, {a}, {a, b}), Record(2, {b, a}, {a}), 5, {a, b}, {a}},
        {"create after merge derives", Record(2, {a, b}, {a}), Record(3, {a}, {c}), 5, {a, b}, {a, c}},
        {"split after merge derives both ways", Record(2, {a, b}, {a}), Record(4, {c}, {c, d}), 5, {a, b, c}, {a, c, d}},
        {"split after split adds pieces", Record(4, {a}, {a, b}), Record(4, {a}, {a, c}), 4, {a}, {a, b, c}},
        {"split after create derives", Record(3, {a}, {b}), Record(4, {b}, {b, c}), 5, {a}, {b, c}},
        {"derive does not follow a split", Record(4, {a}, {a, b}), Record(5, {a}, {c}), 4, {a}, {a, b}},
    };
    for (const auto& c : cases) {
        ReferenceTrackingRecord record = c.first;
        EXPECT_TRUE(record.Combine(c.later)) << c.name;
        EXPECT_EQ(record.GetKind(), c.kind) << c.name;
        EXPECT_EQ(record.GetBefore(), c.before) << c.name;
        EXPECT_EQ(record.GetAfter(), c.after) << c.name;
    }
}

TEST_F(ReferenceTrackingRecordTest, DeadEntitiesSettleTheKind)
{
    const int a = F(0), b = F(1);
    int dead = brennik::build::Block();
    BQ_ENTITY_delete(1, &dead);
    const struct {
        const char* name;
        ReferenceTrackingRecord record;
        int kind;
    } cases[] = {
        {"merge onto itself says nothing", Record(2, {a}, {a}), 0},
        {"merge of one into another derives", Record(2, {a}, {b}), 5},
        {"merge into a dead entity deletes", Record(2, {a}, {dead}), 1},
        {"merge of two stays", Record(2, {a, b}, {a}), 2},
        {"split into the dead says nothing", Record(4, {a}, {dead}), 0},
        {"delete stays", Record(1, {a}, {}), 1},
    };
    for (const auto& c : cases) {
        ReferenceTrackingRecord record = c.record;
        record.RemoveDeadEntities();
        EXPECT_EQ(record.GetKind(), c.kind) << c.name;
    }
}

TEST_F(ReferenceTrackingRecordTest, TagListsUniteSubtractAndShareAsSorted)
{
    std::vector<int> empty;
    std::vector<int> unsorted{5, 1, 3};
    ReferenceTrackingRecord::UniteTags(empty, unsorted);
    EXPECT_EQ(empty, (std::vector<int>{5, 1, 3})) << "an empty list takes a plain copy";
    std::vector<int> a{4, 2, 2};
    std::vector<int> b{3, 2};
    ReferenceTrackingRecord::UniteTags(a, b);
    EXPECT_EQ(a, (std::vector<int>{2, 3, 4}));
    ReferenceTrackingRecord::SubtractTags(a, b);
    EXPECT_EQ(a, std::vector<int>{4});
    std::vector<int> c{1, 2, 3};
    std::vector<int> d{3, 4};
    ReferenceTrackingRecord::RemoveCommonTags(c, d);
    EXPECT_EQ(c, (std::vector<int>{1, 2}));
    EXPECT_EQ(d, std::vector<int>{4});
}

TEST_F(ReferenceTrackingRecordTest, MergeWithoutOneSurvivorCannotBeApplied)
{
    ReferenceTrackingRecord record = Record(2, {F(0), F(1)}, {F(0), F(2)});
    ReferenceDestroySet toDestroy;
    EXPECT_FALSE(record.Apply(toDestroy));
    EXPECT_TRUE(toDestroy.empty());
}

TEST_F(ReferenceTrackingRecordTest, GroupEditsAreClassifiedByKind)
{
    const int a = F(0), b = F(1), c = F(2), d = F(3);
    struct Case {
        const char* name;
        // Edits the first reference's group; the second reference, on d, is there to be met.
        void (*edit)(int group, int secondGroup, int a, int b, int c, int d);
        int kind;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"untouched", [](int, int, int, int, int, int) {}, 0, {}},
        {"emptied", [](int group, int, int, int, int, int) { EmptyGroup(group); }, 1, {}},
        {"split into pieces of no other reference",
         [](int group, int, int, int b, int c, int) {
             const int pieces[] = {b, c};
             BQ_GROUP_add_entities(group, 2, pieces);
         },
         4, {b, c}},
        {"replaced by an entity of its own",
         [](int group, int, int, int b, int, int) {
             EmptyGroup(group);
             BQ_GROUP_add_entities(group, 1, &b);
         },
         2, {b}},
        {"merged with the other reference's entity",
         [](int, int secondGroup, int a, int, int, int) {
             EmptyGroup(secondGroup);
             BQ_GROUP_add_entities(secondGroup, 1, &a);
         },
         2, {a}},
        {"anything else derives",
         [](int group, int, int, int b, int, int d) {
             EmptyGroup(group);
             const int members[] = {b, d};
             BQ_GROUP_add_entities(group, 2, members);
         },
         5, {b}},
    };
    for (const Case& k : cases) {
        Reference* first = Reference::Create(m_interaction, a, nullptr);
        Reference* second = Reference::Create(m_interaction, d, nullptr);
        k.edit(GetAttributeOwner(first->GetAttribute()), GetAttributeOwner(second->GetAttribute()), a,
               b, c, d);
        ReferenceTrackingRecord record(nullptr, TrackingDataTypeNone);
        EXPECT_TRUE(first->TrackGroupChanges(record)) << k.name;
        EXPECT_EQ(record.GetKind(), k.kind) << k.name;
        EXPECT_EQ(record.GetAfter(), k.after) << k.name;
        if (k.kind == TrackingDataTypeDelete || k.kind == TrackingDataTypeSplit) {
            EXPECT_EQ(record.GetBefore(), std::vector<int>{a}) << k.name;
        }
        first->Destroy();
        second->Destroy();
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
