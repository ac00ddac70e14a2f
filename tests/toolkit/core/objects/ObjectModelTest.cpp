// Tags, ids, snapshots, comparison and validity of the object model.
#include "InteractionFixture.h"

#include "core/objects/EntityComparison.h"

namespace QEL {
namespace testing {
namespace {

using ObjectModelTest = InteractionTest;

TEST_F(ObjectModelTest, IdsRunOneTwoThreeAcrossClasses)
{
    EXPECT_NE(m_interaction->GetTag(), 0);
    EXPECT_EQ(m_interaction->GetEntityId(), 0);
    EXPECT_EQ(m_interaction->GetEntityIdCounter(), 0);

    Instance* first = PlaceBlock();
    TestReference* reference = TestReference::Create(m_interaction, FirstFace(m_block), first);
    Instance* second = PlaceBlock();

    EXPECT_EQ(first->GetEntityId(), 1);
    EXPECT_EQ(reference->GetEntityId(), 2);
    EXPECT_EQ(second->GetEntityId(), 3);
    EXPECT_EQ(m_interaction->GetEntityIdCounter(), 3);
    EXPECT_NE(first->GetTag(), second->GetTag());
}

TEST_F(ObjectModelTest, SetTagLeavesAnExistingTag)
{
    Instance* instance = PlaceBlock();
    const int tag = instance->GetTag();
    instance->SetTag(tag + 1000);
    EXPECT_EQ(instance->GetTag(), tag);
}

TEST_F(ObjectModelTest, SnapshotIsDetachedAndComparesEqualToItsOriginal)
{
    Instance* instance = PlaceBlock();
    instance->SetXform(Translation(1.0, 2.0, 3.0));
    Instance* snapshot = dynamic_cast<Instance*>(instance->Clone());
    ASSERT_NE(snapshot, nullptr);

    EXPECT_EQ(snapshot->GetTag(), 0);
    EXPECT_EQ(snapshot->GetInteraction(), nullptr);
    EXPECT_EQ(snapshot->GetEntityId(), instance->GetEntityId());
    EXPECT_EQ(snapshot->GetType(), ObjectTypeInstance);
    EXPECT_EQ(snapshot->GetBodyTag(), m_block);
    EXPECT_FALSE(m_interaction->GetTagManager()->IsRegistered(snapshot));
    EXPECT_EQ(m_interaction->GetInstanceCount(), 1);
    EXPECT_TRUE(instance->Compare(snapshot));
    EXPECT_FALSE(instance->Compare(nullptr));
    snapshot->Release();
}

TEST_F(ObjectModelTest, EntityVectorsCompareIgnoringOrderWithNullMatchingOnlyNull)
{
    Instance* a = PlaceBlock();
    Instance* b = PlaceBlock();
    Instance* aCopy = dynamic_cast<Instance*>(a->Clone());
    Instance* bCopy = dynamic_cast<Instance*>(b->Clone());

    const std::vector<Instance*> original{a, b};
    EXPECT_TRUE(AreEntityVectorsEqual(original, std::vector<Instance*>{bCopy, aCopy}));
    EXPECT_FALSE(AreEntityVectorsEqual(original, std::vector<Instance*>{aCopy}));
    EXPECT_FALSE(AreEntityVectorsEqual(std::vector<Instance*>{a, nullptr},
                                       std::vector<Instance*>{aCopy, bCopy}));
    EXPECT_TRUE(AreEntityVectorsEqual(std::vector<Instance*>{nullptr, a},
                                      std::vector<Instance*>{aCopy, nullptr}));
    bCopy->SetXform(Translation(0.0, 0.0, 1.0));
    EXPECT_FALSE(AreEntityVectorsEqual(original, std::vector<Instance*>{aCopy, bCopy}));
    aCopy->Release();
    bCopy->Release();
}

TEST_F(ObjectModelTest, ContainerComparedWithItselfIsEqual)
{
    PlaceBlock();
    PlaceBlock();
    const TaggedEntitySet& registered = m_interaction->GetTagManager()->GetTaggedEntities();
    EXPECT_TRUE(AreEntitySetsEqual(registered, registered));
    EXPECT_TRUE(AreEntityVectorsEqual(m_interaction->GetInstances(), m_interaction->GetInstances()));
}

TEST_F(ObjectModelTest, ApplicationDataIsStoredAndRolledBack)
{
    Instance* instance = PlaceBlock();
    int word = 7;
    const int mark = m_interaction->CreateMark();
    instance->SetApplicationData(&word);
    EXPECT_EQ(instance->GetApplicationData(), &word);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(instance->GetApplicationData(), nullptr);
}

// Each invalid kind of the test hook against the finding CheckValidity reports.
struct InvalidCase {
    int kind;
    bool valid;
    InvalidityType code;
};

void PrintTo(const InvalidCase& c, std::ostream* out) { *out << "kind" << c.kind; }

class InstanceValidityTest : public InteractionTest,
                             public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(InstanceValidityTest, CheckValidityReportsTheInvalidKind)
{
    const InvalidCase& c = GetParam();
    Interaction* other = new Interaction(CreateTypeLive);
    const int otherBody = brennik::build::Block();
    Instance* otherInstance = Instance::Create(other, otherBody, nullptr);
    Reference* foreign = TestReference::Create(other, FirstFace(otherBody), otherInstance);

    Instance* instance = Instance::TestCreateInvalid(c.kind, m_interaction, m_block, nullptr, foreign);
    ASSERT_NE(instance, nullptr);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_EQ(instance->CheckValidity(bad, codes), c.valid);
    ASSERT_EQ(bad.size(), codes.size());
    if (!c.valid) {
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(bad.front(), instance);
        EXPECT_NE(std::find(codes.begin(), codes.end(), c.code), codes.end());
    }
    if (c.kind == 9)
        instance->Release();
    else
        instance->TestDestroyInvalid(0);
    other->Destroy();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, InstanceValidityTest,
    ::testing::Values(InvalidCase{3, true, InvalidityTypeBadObject},
                      InvalidCase{1, false, InvalidityTypeBadObject},
                      InvalidCase{2, false, InvalidityTypeBadBrennikEntity},
                      InvalidCase{4, false, InvalidityTypeBadPointer},
                      InvalidCase{6, false, InvalidityTypeBadObject},
                      InvalidCase{7, false, InvalidityTypeBadObject},
                      InvalidCase{8, false, InvalidityTypeBadObject},
                      InvalidCase{9, false, InvalidityTypeBadPointer}));

TEST_F(ObjectModelTest, InstanceOfDeletedBodyIsBadKernelEntity)
{
    Instance* instance = PlaceBlock();
    ASSERT_EQ(BQ_ENTITY_delete(1, &m_block), BQ_ERROR_no_errors);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_FALSE(instance->CheckValidity(bad, codes));
    EXPECT_EQ(codes, std::vector<InvalidityType>{InvalidityTypeBadBrennikEntity});
}

TEST_F(ObjectModelTest, CheckValidityCountsOffendersLeftByAnEarlierCall)
{
    Instance* valid = PlaceBlock();
    std::vector<TaggedEntity*> bad{valid};
    std::vector<InvalidityType> codes{InvalidityTypeBadObject};
    EXPECT_FALSE(valid->CheckValidity(bad, codes));
    EXPECT_EQ(bad.size(), 1u);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
