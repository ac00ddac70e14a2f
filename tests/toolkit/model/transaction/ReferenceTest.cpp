// References: one per entity and instance, their kernel groups, one behaviour per entity,
// moving, destruction, validity and their XML element.
#include "ModelFixture.h"

#include "core/frame/ArgumentChecks.h"
#include "core/persist/XMLIO.h"

#include <memory>

namespace QEL {
namespace testing {
namespace {

class ReferenceTest : public ModelTest {};

TEST_F(ReferenceTest, CreationIsIdempotentPerEntityAndInstance)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference* reference = Reference::Create(m_interaction, m_top, instance);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(Reference::Create(m_interaction, m_top, instance), reference);
    EXPECT_EQ(m_interaction->CountReferences(), 1);
    EXPECT_EQ(instance->GetReferenceCount(), 1);
    EXPECT_EQ(GroupMembers(reference), std::vector<int>{m_top});
    EXPECT_EQ(reference->ReadAttributePointer(), reference);
    EXPECT_TRUE(IsValid(reference));
    // Without the instance it is another reference on the same face.
    Reference* bare = Reference::Create(m_interaction, m_top, nullptr);
    EXPECT_NE(bare, reference);
    EXPECT_EQ(m_interaction->CountReferences(), 2);
    EXPECT_TRUE(IsValid(bare));
}

TEST_F(ReferenceTest, CreationRefusesWhatCannotBeReferenced)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Instance* otherBody = Instance::Create(m_interaction, brennik::build::Block(), nullptr);
    const int plane = brennik::build::FreePlane(0, 0, 0, 0, 0, 1);
    EXPECT_EQ(Reference::Create(m_interaction, m_top, otherBody), nullptr);
    EXPECT_EQ(Reference::Create(m_interaction, plane, instance), nullptr);
    int dead = brennik::build::Block();
    BQ_ENTITY_delete(1, &dead);
    EXPECT_EQ(Reference::Create(m_interaction, dead, nullptr), nullptr);
    EXPECT_EQ(m_interaction->CountReferences(), 0);
    // Free geometry is referenced without group or attribute.
    Reference* free = Reference::Create(m_interaction, plane, nullptr);
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->GetAttribute(), 0);
    EXPECT_EQ(Reference::Create(m_interaction, plane, nullptr), free);
    EXPECT_TRUE(IsValid(free));
}

TEST_F(ReferenceTest, TwoInstancesOfOneBodyShareOneBehaviour)
{
    Reference* first = Reference::Create(m_interaction, m_top, Instance::Create(m_interaction, m_block, nullptr));
    Reference* second = Reference::Create(m_interaction, m_top, Instance::Create(m_interaction, m_block, nullptr));
    ASSERT_NE(first, second);
    first->SetBehaviour(ReferenceBehaviourPositioning);
    EXPECT_EQ(second->GetBehaviour(), ReferenceBehaviourPositioning);
    // A newcomer on the entity takes the entity's behaviour.
    Reference* third = Reference::Create(m_interaction, m_top, nullptr);
    EXPECT_EQ(third->GetBehaviour(), ReferenceBehaviourPositioning);
    ReferenceBehaviour found = ReferenceBehaviourModelling;
    EXPECT_TRUE(Reference::FindBehaviourForEntity(m_interaction, m_top, found));
    EXPECT_EQ(found, ReferenceBehaviourPositioning);
    // A reference on free geometry has no group, so the entity lookup does not reach it.
    const int plane = brennik::build::FreePlane(0, 0, 0, 0, 0, 1);
    Reference* free = Reference::Create(m_interaction, plane, nullptr);
    free->SetBehaviour(ReferenceBehaviourPositioning);
    EXPECT_EQ(free->GetBehaviour(), ReferenceBehaviourModelling);
    EXPECT_FALSE(Reference::FindBehaviourForEntity(m_interaction, plane, found));
}

TEST_F(ReferenceTest, FreePlaneCannotBePositioning)
{
    Reference* free = Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 0, 0, 0, 1), nullptr);
    Reference* face = Reference::Create(m_interaction, m_top, nullptr);
    EXPECT_EQ(CheckArgReferenceBehaviour(free->GetTag(), ReferenceBehaviourPositioning, m_interaction),
              ResultTypeInvalidReferenceBehaviour);
    EXPECT_EQ(CheckArgReferenceBehaviour(free->GetTag(), ReferenceBehaviourModelling, m_interaction),
              ResultTypeOk);
    EXPECT_EQ(CheckArgReferenceBehaviour(face->GetTag(), ReferenceBehaviourPositioning, m_interaction),
              ResultTypeOk);
}

TEST_F(ReferenceTest, ReplacingTheEntityMovesGroupOrAttribute)
{
    Reference* reference = Reference::Create(m_interaction, m_top, nullptr);
    const int attribute = reference->GetAttribute();
    const int side = FaceAt(m_block, 1, 0, 0, 10);
    reference->ReplaceEntityTag(side);
    EXPECT_EQ(reference->GetAttribute(), attribute) << "same body: the group swaps its member";
    EXPECT_EQ(GroupMembers(reference), std::vector<int>{side});
    std::vector<Reference*> found;
    m_interaction->FindReferencesOnEntity(side, nullptr, found);
    EXPECT_EQ(found, std::vector<Reference*>{reference});
    EXPECT_TRUE(IsValid(reference));

    const int other = brennik::build::Block();
    const int otherTop = FaceAt(other, 0, 0, 1, 30);
    const int oldGroup = GetAttributeOwner(attribute);
    reference->ReplaceEntityTag(otherTop);
    EXPECT_NE(reference->GetAttribute(), attribute);
    EXPECT_FALSE(IsEntity(oldGroup));
    EXPECT_EQ(GroupMembers(reference), std::vector<int>{otherTop});
    EXPECT_TRUE(IsValid(reference));
}

// Records the references it is told about, as relations and features do.
class Dependent : public Object {
public:
    explicit Dependent(Interaction* interaction) : Object(interaction) {}
    RollableEntity* Clone() override { return new Dependent(nullptr); }
    void Restore(RollableEntity*) override {}
    void RemoveReference(Reference* reference) override
    {
        told.push_back(reference);
        reference->RemoveDependent(this);
    }
    std::vector<Reference*> told;
};

TEST_F(ReferenceTest, DestroyTellsEveryDependentAndDeletesTheGroup)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference* reference = Reference::Create(m_interaction, m_top, instance);
    Dependent* first = new Dependent(m_interaction);
    Dependent* second = new Dependent(m_interaction);
    reference->AddDependent(first);
    reference->AddDependent(second);
    reference->AddDependent(first);
    reference->RemoveDependent(first);
    EXPECT_EQ(reference->GetObjectCount(), 2) << "one of the two entries goes";
    const int group = GetAttributeOwner(reference->GetAttribute());
    reference->Destroy();
    EXPECT_EQ(first->told.size(), 1u);
    EXPECT_EQ(second->told.size(), 1u);
    EXPECT_EQ(instance->GetReferenceCount(), 0);
    EXPECT_FALSE(IsEntity(group));
    EXPECT_EQ(m_interaction->CountReferences(), 0);
    first->Destroy();
    second->Destroy();
}

TEST_F(ReferenceTest, ValidityFindsEachDamage)
{
    const int side = FaceAt(m_block, 1, 0, 0, 10);
    const struct {
        int kind;
        InvalidityType expected;
    } cases[] = {
        {1, InvalidityTypeBadObject},    {2, InvalidityTypeBadGroup},
        {5, InvalidityTypeBadPointer},   {6, InvalidityTypeBadPointer},
        {7, InvalidityTypeBadAttribute}, {8, InvalidityTypeBadGroup},
        {9, InvalidityTypeBadGroup},
    };
    for (const auto& c : cases) {
        Reference* damaged = Reference::TestCreateInvalid(c.kind, m_interaction, m_top, side, nullptr);
        std::vector<TaggedEntity*> bad;
        std::vector<InvalidityType> codes;
        EXPECT_FALSE(damaged->CheckValidity(bad, codes)) << c.kind;
        EXPECT_NE(std::find(codes.begin(), codes.end(), c.expected), codes.end()) << c.kind;
        damaged->TestDestroyInvalid(c.kind);
    }
    Reference* sound = Reference::TestCreateInvalid(4, m_interaction, m_top, side, nullptr);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    sound->CheckValidity(bad, codes);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), InvalidityTypeBadBrennikEntity), 0);
    sound->TestDestroyInvalid(4);
}

TEST_F(ReferenceTest, XMLRoundTripFindsTheSameEntitiesAndBehaviour)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference* placed = Reference::Create(m_interaction, m_top, instance);
    placed->SetBehaviour(ReferenceBehaviourPositioning);
    const int side = FaceAt(m_block, 1, 0, 0, 10);
    Reference* bare = Reference::Create(m_interaction, side, nullptr);

    XMLIO writer("QELXML", false);
    int partId = 1;
    ASSERT_TRUE(writer.DoIOBody(m_block, partId, false));
    ASSERT_TRUE(instance->DoIO(writer));
    ASSERT_TRUE(placed->DoIO(writer));
    ASSERT_TRUE(bare->DoIO(writer));
    const std::string text = writer.ToText();
    EXPECT_NE(text.find("behavior=\"ReferenceBehaviourPositioning\""), std::string::npos);

    Interaction* other = new Interaction(CreateTypeLive);
    XMLIO reader("QELXML", false);
    ASSERT_TRUE(reader.LoadText(text.c_str()));
    int body = 0;
    int bodyId = 0;
    ASSERT_TRUE(reader.DoIOBody(body, bodyId, false));
    Instance* instanceBack = Instance::CreateFromXML(other, reader);
    ASSERT_NE(instanceBack, nullptr);
    Reference* placedBack = Reference::CreateFromXML(other, reader);
    Reference* bareBack = Reference::CreateFromXML(other, reader);
    ASSERT_NE(placedBack, nullptr);
    ASSERT_NE(bareBack, nullptr);
    EXPECT_EQ(placedBack->GetInstance(), instanceBack);
    EXPECT_EQ(instanceBack->GetReferenceCount(), 1);
    EXPECT_EQ(placedBack->GetBehaviour(), ReferenceBehaviourPositioning);
    EXPECT_EQ(GetOwningBody(placedBack->GetEntityTag()), body);
    EXPECT_EQ(GetEntityIdentifier(placedBack->GetEntityTag()), GetEntityIdentifier(m_top));
    EXPECT_EQ(GetEntityIdentifier(bareBack->GetEntityTag()), GetEntityIdentifier(side));
    EXPECT_TRUE(placedBack->Compare(placed));
    EXPECT_TRUE(bareBack->Compare(bare));
    EXPECT_TRUE(IsValid(placedBack));
    EXPECT_TRUE(IsValid(bareBack));
    other->Destroy();
}

}  // namespace
}  // namespace testing
}  // namespace QEL
