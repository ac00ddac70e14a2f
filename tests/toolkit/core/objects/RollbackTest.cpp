// Marks: undo and redo of objects, options and kernel bodies.
#include "InteractionFixture.h"

#include "core/kernel/KernelFacade.h"

namespace QEL {
namespace testing {
namespace {

class RollbackTest : public InteractionTest {
protected:
    // Moves the block in the kernel by dx along x, handing its partition over first.
    void MoveBlock(double dx)
    {
        m_interaction->PrepareBodyForChange(m_block);
        BQ_TRANSF_sf_t sf = {{{1, 0, 0, dx}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
        int transform = 0;
        ASSERT_EQ(BQ_TRANSF_create(&sf, &transform), BQ_ERROR_no_errors);
        const BQ_BODY_transform_o_t options = {1, false, false};
        TransformBody(m_block, transform, 1e-8, &options);
    }
    double VertexX()
    {
        Position position;
        EXPECT_TRUE(GetVertexPosition(&m_vertex, &position));
        return position.x;
    }
    void SetUp() override
    {
        InteractionTest::SetUp();
        m_vertex = FirstVertex(m_block);
    }

    int m_vertex = 0;
};

TEST_F(RollbackTest, RollBackAndForwardAcrossThreeMarksRestoresInstancesOptionsAndBodies)
{
    const double x0 = VertexX();
    const int m0 = m_interaction->CreateMark();
    Instance* a = PlaceBlock();
    const int m1 = m_interaction->CreateMark();
    a->SetXform(Translation(1.0, 2.0, 3.0));
    m_interaction->SetExactDragging(false);
    MoveBlock(5.0);
    const int m2 = m_interaction->CreateMark();
    const int second = brennik::build::Block(1.0, 1.0, 1.0);
    a->Destroy();
    Instance* b = Instance::Create(m_interaction, second, nullptr);
    m_interaction->SetModellingTolerance(1e-5);
    const int m3 = m_interaction->CreateMark();
    ASSERT_EQ(m_interaction->GetMarkCount(), 4);

    m_interaction->RollToMark(m0);
    EXPECT_EQ(m_interaction->GetInstanceCount(), 0);
    EXPECT_TRUE(m_interaction->GetExactDragging());
    EXPECT_DOUBLE_EQ(VertexX(), x0);

    m_interaction->RollToMark(m3);
    ASSERT_EQ(m_interaction->GetInstanceCount(), 1);
    EXPECT_EQ(m_interaction->GetInstance(0), b);
    EXPECT_FALSE(m_interaction->GetExactDragging());
    EXPECT_EQ(m_interaction->GetModellingTolerance(), 1e-5);
    EXPECT_DOUBLE_EQ(VertexX(), x0 + 5.0);
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(a->GetTag()), nullptr);

    m_interaction->RollToMark(m1);
    ASSERT_EQ(m_interaction->GetInstanceCount(), 1);
    EXPECT_EQ(m_interaction->GetInstance(0), a);
    EXPECT_TRUE(a->GetXform().IsIdentity());
    EXPECT_TRUE(m_interaction->GetExactDragging());
    EXPECT_EQ(m_interaction->GetModellingTolerance(), 1e-6);
    EXPECT_DOUBLE_EQ(VertexX(), x0);

    m_interaction->RollToMark(m2);
    ASSERT_EQ(m_interaction->GetInstanceCount(), 1);
    EXPECT_TRUE(a->GetXform().IsEqual(Translation(1.0, 2.0, 3.0)));
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(a->GetTag()), a);
    EXPECT_EQ(m_interaction->GetTagManager()->FindInstanceFromTag(b->GetTag()), nullptr);
    EXPECT_DOUBLE_EQ(VertexX(), x0 + 5.0);
    bool atMark = false;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), m2);
    EXPECT_TRUE(atMark);
}

TEST_F(RollbackTest, EntitiesPreparedForChangeAreSeenAndTheirBodiesRollBack)
{
    const double x0 = VertexX();
    const int mark = m_interaction->CreateMark();
    m_interaction->PrepareEntitiesForChange({FirstFace(m_block), 0});
    EXPECT_TRUE(m_interaction->IsSeenBody(m_block));
    EXPECT_FALSE(m_interaction->IsSeenBody(0));
    EXPECT_EQ(m_interaction->GetRollbackManager()->GetFirstTouchMarks().count(
                  GetEntityPartition(m_block)),
              1u);
    MoveBlock(2.0);
    EXPECT_DOUBLE_EQ(VertexX(), x0 + 2.0);

    m_interaction->RollToMark(mark);
    EXPECT_DOUBLE_EQ(VertexX(), x0);
    EXPECT_FALSE(m_interaction->IsSeenBody(m_block));
}

TEST_F(RollbackTest, RollingBackKeepsTheApplicationsCurrentPartition)
{
    const int mark = m_interaction->CreateMark();
    MoveBlock(1.0);
    const int elsewhere = CreateEmptyPartition();
    ASSERT_EQ(SetCurrentPartition(elsewhere), BQ_ERROR_no_errors);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(GetCurrentPartition(), elsewhere);
    SetCurrentPartition(GetEntityPartition(m_block));
}

TEST_F(RollbackTest, ObjectDestroyedAfterMarkLivesUntilItsHistoryGoes)
{
    TestReference* reference = TestReference::Create(m_interaction, m_vertex, nullptr);
    const int tag = reference->GetTag();
    const int mark = m_interaction->CreateMark();
    reference->Destroy();
    EXPECT_EQ(TestReference::s_live, 1);
    EXPECT_EQ(m_interaction->CountReferences(), 0);

    m_interaction->RollToMark(mark);
    EXPECT_EQ(m_interaction->GetTagManager()->FindReferenceFromTag(tag), reference);
    EXPECT_EQ(m_interaction->CountReferences(), 1);

    reference->Destroy();
    m_interaction->DisableRollback();
    EXPECT_EQ(TestReference::s_live, 0);
}

TEST_F(RollbackTest, UndoneCreationIsFreedWhenRedoHistoryIsDropped)
{
    const int m1 = m_interaction->CreateMark();
    TestReference::Create(m_interaction, m_vertex, nullptr);
    m_interaction->CreateMark();
    m_interaction->RollToMark(m1);
    EXPECT_EQ(TestReference::s_live, 1);
    EXPECT_EQ(m_interaction->CountReferences(), 0);

    m_interaction->CreateMark();
    EXPECT_EQ(TestReference::s_live, 0);
}

TEST_F(RollbackTest, CreatedAndDestroyedBeforeMarkLeavesNothingToUndo)
{
    const int mark = m_interaction->CreateMark();
    TestReference* reference = TestReference::Create(m_interaction, m_vertex, nullptr);
    reference->Destroy();
    EXPECT_EQ(TestReference::s_live, 0);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(TestReference::s_live, 0);
    EXPECT_EQ(m_interaction->CountReferences(), 0);
}

TEST_F(RollbackTest, TwoModificationsRollBackToTheStateBeforeTheFirst)
{
    Instance* instance = PlaceBlock();
    const int mark = m_interaction->CreateMark();
    instance->SetXform(Translation(1.0, 0.0, 0.0));
    instance->SetXform(Translation(2.0, 0.0, 0.0));
    m_interaction->RollToMark(mark);
    EXPECT_TRUE(instance->GetXform().IsIdentity());
}

TEST_F(RollbackTest, MarkAfterRollbackDropsTheLaterMarks)
{
    const int m1 = m_interaction->CreateMark();
    PlaceBlock();
    const int m2 = m_interaction->CreateMark();
    PlaceBlock();
    const int m3 = m_interaction->CreateMark();
    m_interaction->RollToMark(m1);
    const int m4 = m_interaction->CreateMark();

    EXPECT_EQ(m_interaction->GetMarkCount(), 2);
    EXPECT_EQ(m_interaction->GetMarkByTag(m2), nullptr);
    EXPECT_EQ(m_interaction->GetMarkByTag(m3), nullptr);
    EXPECT_FALSE(IsLiveApplicationItem(m2));
    EXPECT_NE(m_interaction->GetMarkByTag(m4), nullptr);
    EXPECT_EQ(m_interaction->GetInstanceCount(), 0);
}

TEST_F(RollbackTest, DeletedCurrentMarkKeepsItsChangesUndoable)
{
    Instance* instance = PlaceBlock();
    const int m1 = m_interaction->CreateMark();
    instance->SetXform(Translation(0.0, 4.0, 0.0));
    const int m2 = m_interaction->CreateMark();
    m_interaction->DeleteMark(m2);
    EXPECT_EQ(m_interaction->GetMarkCount(), 1);
    bool atMark = true;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), m1);
    EXPECT_FALSE(atMark);

    m_interaction->RollToMark(m1);
    EXPECT_TRUE(instance->GetXform().IsIdentity());
}

TEST_F(RollbackTest, DeletedEarlierMarkMergesIntoTheNext)
{
    Instance* instance = PlaceBlock();
    const int m1 = m_interaction->CreateMark();
    instance->SetXform(Translation(1.0, 0.0, 0.0));
    const int m2 = m_interaction->CreateMark();
    instance->SetXform(Translation(2.0, 0.0, 0.0));
    const int m3 = m_interaction->CreateMark();
    m_interaction->DeleteMark(m2);
    m_interaction->RollToMark(m1);
    EXPECT_TRUE(instance->GetXform().IsIdentity());
    m_interaction->RollToMark(m3);
    EXPECT_TRUE(instance->GetXform().IsEqual(Translation(2.0, 0.0, 0.0)));
}

TEST_F(RollbackTest, CurrentMarkIsLeftByObjectAndKernelChanges)
{
    bool atMark = true;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), 0);
    EXPECT_FALSE(atMark);

    PlaceBlock();
    const int mark = m_interaction->CreateMark();
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    EXPECT_TRUE(atMark);

    const int mark2 = m_interaction->CreateMark();
    MoveBlock(1.0);
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark2);
    EXPECT_FALSE(atMark);
    m_interaction->RollToMark(mark2);
    m_interaction->GetCurrentMark(atMark);
    EXPECT_TRUE(atMark);
}

TEST_F(RollbackTest, ChangesAfterMarkCombinePerObject)
{
    Instance* modified = PlaceBlock();
    Instance* deleted = PlaceBlock();
    const int mark = m_interaction->CreateMark();
    TestReference* created = TestReference::Create(m_interaction, m_vertex, nullptr);
    m_interaction->CreateMark();
    created->SetApplicationData(this);
    modified->SetXform(Translation(1.0, 0.0, 0.0));
    deleted->SetXform(Translation(1.0, 0.0, 0.0));
    deleted->Destroy();
    TestReference::Create(m_interaction, m_vertex, nullptr)->Destroy();

    std::map<RollableEntity*, RollbackAction*> changes;
    m_interaction->GetChangesAfterMark(mark, changes);
    auto typeOf = [&](RollableEntity* object) {
        auto found = changes.find(object);
        return found == changes.end() ? -1 : static_cast<int>(found->second->GetActionType());
    };
    EXPECT_EQ(typeOf(created), ActionTypeCreated);
    EXPECT_EQ(typeOf(modified), ActionTypeModified);
    EXPECT_EQ(typeOf(deleted), ActionTypeDeleted);
    int references = 0;
    for (const auto& entry : changes)
        references += dynamic_cast<TestReference*>(entry.first) != nullptr;
    EXPECT_EQ(references, 1);
}

// What GetChangesAfterMark reports for one object whose steps run after a mark: C creates it,
// M modifies it, D destroys it, and | takes a further mark. With the marks between merged
// (deleted), the same steps must give the same report: the merge of states and of actions
// follows the same rules as the report that reads across states.
TEST_F(RollbackTest, ChangesAfterMarkFollowTheSameRulesAcrossStatesAndAfterMerging)
{
    const int none = -1;
    const struct {
        const char* steps;
        int expected;
    } cases[] = {
        {"C", ActionTypeCreated},  {"C|M", ActionTypeCreated}, {"C|M|M", ActionTypeCreated},
        {"M", ActionTypeModified}, {"M|M", ActionTypeModified}, {"MD", ActionTypeDeleted},
        {"M|D", ActionTypeDeleted}, {"C|D", none},             {"CD", none},
        {"C|M|D", none},
    };
    for (const auto& c : cases) {
        for (const bool merge : {false, true}) {
            SCOPED_TRACE(std::string(c.steps) + (merge ? " merged" : ""));
            TestReference* object = c.steps[0] == 'C' ? nullptr
                                                       : TestReference::Create(m_interaction, m_vertex, nullptr);
            const int mark = m_interaction->CreateMark();
            std::vector<int> between;
            for (const char* step = c.steps; *step; ++step) {
                if (*step == 'C')
                    object = TestReference::Create(m_interaction, m_vertex, nullptr);
                else if (*step == 'M')
                    object->SetApplicationData(object);
                else if (*step == 'D')
                    object->Destroy();
                else
                    between.push_back(m_interaction->CreateMark());
            }
            if (merge) {
                // A mark after the steps, so that each mark between is an earlier one.
                m_interaction->CreateMark();
                for (const int tag : between)
                    m_interaction->DeleteMark(tag);
            }
            std::map<RollableEntity*, RollbackAction*> changes;
            m_interaction->GetChangesAfterMark(mark, changes);
            auto found = changes.find(object);
            EXPECT_EQ(found == changes.end() ? none : static_cast<int>(found->second->GetActionType()),
                      c.expected);
        }
    }
}

// A kernel change to a partition the interaction has marked leaves the mark even when no object
// of the interaction changed.
TEST_F(RollbackTest, AKernelChangeAloneLeavesTheCurrentMark)
{
    m_interaction->PrepareBodyForChange(m_block);
    const int mark = m_interaction->CreateMark();
    bool atMark = false;
    ASSERT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    ASSERT_TRUE(atMark);

    BQ_TRANSF_sf_t sf = {{{1, 0, 0, 3.0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    int transform = 0;
    ASSERT_EQ(BQ_TRANSF_create(&sf, &transform), BQ_ERROR_no_errors);
    const BQ_BODY_transform_o_t options = {1, false, false};
    TransformBody(m_block, transform, 1e-8, &options);
    m_interaction->GetCurrentMark(atMark);
    EXPECT_FALSE(atMark);

    m_interaction->RollToMark(mark);
    m_interaction->GetCurrentMark(atMark);
    EXPECT_TRUE(atMark);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
