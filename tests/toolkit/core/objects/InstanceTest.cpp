// Instances: placement, references on them, cascading destruction and comparison.
#include "InteractionFixture.h"

namespace QEL {
namespace testing {
namespace {

using InstanceTest = InteractionTest;

TEST_F(InstanceTest, CreateTakesTheMatrixOrTheIdentity)
{
    Instance* plain = PlaceBlock();
    EXPECT_TRUE(plain->GetXform().IsIdentity());
    EXPECT_TRUE(m_interaction->IsSeenBody(m_block));

    const double matrix[4][4] = {{0, -1, 0, 4}, {1, 0, 0, 5}, {0, 0, 1, 6}, {0, 0, 0, 1}};
    Instance* placed = Instance::Create(m_interaction, m_block, matrix);
    double back[4][4];
    placed->GetXform().Get4x4(back);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(back[row][column], matrix[row][column]);
    EXPECT_EQ(m_interaction->GetInstanceCount(), 2);
    EXPECT_EQ(m_interaction->GetInstance(1), placed);
    EXPECT_EQ(m_interaction->GetInstance(2), nullptr);
    EXPECT_EQ(m_interaction->GetInstance(-1), nullptr);
}

TEST_F(InstanceTest, ReferencesAreFiledUnderTheirEntityAndInstance)
{
    Instance* instance = PlaceBlock();
    const int face = FirstFace(m_block);
    TestReference* onInstance = TestReference::Create(m_interaction, face, instance);
    TestReference* bare = TestReference::Create(m_interaction, face, nullptr);

    std::vector<Reference*> found;
    m_interaction->FindReferencesOnEntity(face, instance, found);
    EXPECT_EQ(found, std::vector<Reference*>{onInstance});
    found.clear();
    m_interaction->FindReferencesOnEntity(face, nullptr, found);
    EXPECT_EQ(found, std::vector<Reference*>{bare});
    EXPECT_EQ(m_interaction->CountReferences(), 2);
    // Null instance first within one entity.
    EXPECT_EQ(m_interaction->GetReferenceMap().begin()->second, bare);
    EXPECT_EQ(instance->GetReferenceCount(), 1);
}

TEST_F(InstanceTest, DatumReferencesAreFreeGeometryOrPointsLinesAndPlanes)
{
    std::vector<Reference*> geometry{nullptr};
    std::vector<Reference*> freeStanding;
    EXPECT_EQ(m_interaction->CollectDatumReferences(geometry, freeStanding), 1);
    EXPECT_EQ(geometry.size(), 1u);

    Instance* instance = PlaceBlock();
    TestReference::Create(m_interaction, FirstFace(m_block), instance);
    const int line = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
    const int plane = brennik::build::FreePlane(0, 0, 0, 0, 0, 1);
    TestReference* freeLine = TestReference::Create(m_interaction, line, nullptr);
    TestReference* freePlane = TestReference::Create(m_interaction, plane, instance);
    geometry.clear();
    EXPECT_EQ(m_interaction->CollectDatumReferences(geometry, freeStanding), 2);
    EXPECT_EQ(freeStanding, std::vector<Reference*>{freeLine});
    EXPECT_EQ(geometry, std::vector<Reference*>{freePlane});

    std::vector<int> geometryEntities;
    std::vector<int> freeEntities;
    m_interaction->CollectDatumEntities(geometryEntities, freeEntities);
    EXPECT_EQ(freeEntities, std::vector<int>{line});
    EXPECT_EQ(geometryEntities, std::vector<int>{plane});

    std::set<Reference*, TaggedEntityPtrLessThan> all;
    m_interaction->GetAllReferences(all);
    EXPECT_EQ(all.size(), 3u);
}

TEST_F(InstanceTest, DestroyingAnInstanceDestroysItsReferencesAndRollbackRestoresBoth)
{
    Instance* instance = PlaceBlock();
    TestReference* first = TestReference::Create(m_interaction, FirstFace(m_block), instance);
    TestReference* second = TestReference::Create(m_interaction, FirstVertex(m_block), instance);
    const int mark = m_interaction->CreateMark();

    instance->Destroy();
    EXPECT_EQ(m_interaction->GetInstanceCount(), 0);
    EXPECT_EQ(m_interaction->CountReferences(), 0);
    EXPECT_EQ(m_interaction->GetTagManager()->FindReferenceFromTag(first->GetTag()), nullptr);

    m_interaction->RollToMark(mark);
    EXPECT_EQ(m_interaction->GetInstance(0), instance);
    EXPECT_EQ(instance->GetReferences(), (std::list<Reference*>{first, second}));
    EXPECT_EQ(m_interaction->CountReferences(), 2);
    EXPECT_EQ(m_interaction->GetTagManager()->FindReferenceFromTag(second->GetTag()), second);
}

TEST_F(InstanceTest, RemovingAReferenceNotOnTheInstanceRecordsNothing)
{
    Instance* instance = PlaceBlock();
    Instance* other = PlaceBlock();
    TestReference* reference = TestReference::Create(m_interaction, FirstFace(m_block), other);
    const int mark = m_interaction->CreateMark();
    instance->RemoveReference(reference);
    bool atMark = false;
    EXPECT_EQ(m_interaction->GetCurrentMark(atMark), mark);
    EXPECT_TRUE(atMark);
    EXPECT_EQ(other->GetReferenceCount(), 1);
}

TEST_F(InstanceTest, InstancesOfTwoInteractionsCompareByIdAndTransformNotBody)
{
    Interaction* other = new Interaction(CreateTypeLive);
    Instance* mine = PlaceBlock();
    Instance* theirs = Instance::Create(other, brennik::build::Block(), nullptr);
    EXPECT_TRUE(mine->Compare(theirs));
    theirs->SetXform(Translation(0.0, 0.0, 1.0));
    EXPECT_FALSE(mine->Compare(theirs));
    EXPECT_FALSE(mine->Compare(other));
    other->Destroy();
}

TEST_F(InstanceTest, SetBodyTagAddsTheBodyToTheSeenBodies)
{
    Instance* instance = PlaceBlock();
    const int second = brennik::build::Block(2.0, 2.0, 2.0);
    instance->SetBodyTag(second);
    EXPECT_EQ(instance->GetBodyTag(), second);
    EXPECT_TRUE(m_interaction->IsSeenBody(second));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
