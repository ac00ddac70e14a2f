// Finding geometric relations level by level on real bodies: what is found and made, what a
// second find reuses, what the application's callback rejects, relations across instances,
// and the candidate list's keys.
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "update/autoconstraint/YSKManager.h"
#include "update/finding/RelationCandidate.h"
#include "update/finding/RelationFinder.h"
#include "update/finding/RelationFinderContext.h"
#include "update/finding/RelationFinderInputData.h"
#include "update/pass/UpdateManager.h"

#include "../../solver/SolverFixture.h"

#include <gtest/gtest.h>

namespace QEL {
namespace testing {
namespace {

struct Asked {
    int level;
    RelationType type;
    int entity1, instance1, entity2, instance2;
};
std::vector<Asked> s_asked;
RelationType s_rejected = RelationTypeDistance;

bool Record(int, int level, RelationType type, int entity1, int instance1, int entity2, int instance2, int, int)
{
    s_asked.push_back({level, type, entity1, instance1, entity2, instance2});
    return type != s_rejected;
}

class RelationFindTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        tessik_test::ResetControls();
        s_asked.clear();
        s_rejected = RelationTypeDistance;
        m_interaction = new Interaction(CreateTypeLive);
        m_finder = RelationFinder::Of(m_interaction);
        ASSERT_NE(m_finder, nullptr);
        m_block = brennik::build::Block(10, 20, 30);
        m_top = BlockFace(m_block, 0, 0, 1);
        m_bottom = BlockFace(m_block, 0, 0, -1);
    }
    void TearDown() override
    {
        YSKManager::SetFindComparison(false);
        m_interaction->Destroy();
        brennik::test::Reset();
    }
    void Offer(FindRelationType type, FindGeometryType from, FindGeometryType to, int level)
    {
        ASSERT_EQ(m_finder->SetRelationGeometryOption(type, from, to, level), level);
    }
    ResultType Find(const std::vector<std::pair<Instance*, int>>& vary, const std::vector<Instance*>& instances,
                    int body = 0)
    {
        RelationFinderInputData from(m_interaction), to(m_interaction);
        for (const auto& entry : vary)
            entry.first ? from.AddInstanceEntities(entry.first, {entry.second})
                        : from.AddBodyEntities(0, {entry.second});
        for (Instance* instance : instances)
            to.AddInstanceEntities(instance, {});
        if (body)
            to.AddBodyEntities(body, {});
        return m_finder->FindGeometricRelations(&from, &to);
    }
    std::vector<Relation*> Found() const
    {
        std::vector<Relation*> found;
        for (const auto& entry : m_finder->GetFoundRelations())
            found.push_back(entry.first);
        return found;
    }
    static std::set<int> EntitiesOf(Relation* relation)
    {
        std::set<int> entities;
        for (Reference* reference : relation->GetReferences())
            entities.insert(reference->GetEntityTag());
        return entities;
    }

    Interaction* m_interaction = nullptr;
    RelationFinder* m_finder = nullptr;
    int m_block = 0, m_top = 0, m_bottom = 0;
};

TEST_F(RelationFindTest, TheTopOfABlockIsFoundParallelToItsBottomOnceAndASecondFindMatchesIt)
{
    Offer(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1);
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    std::vector<Relation*> found = Found();
    ASSERT_EQ(found.size(), 1u);
    Relation* parallel = found.front();
    EXPECT_EQ(parallel->GetType(), RelationTypeParallel);
    EXPECT_EQ(EntitiesOf(parallel), (std::set<int>{m_top, m_bottom}));
    EXPECT_EQ(m_finder->GetFoundRelationLevel(parallel), 1);
    EXPECT_TRUE(m_finder->IsCreatedRelation(parallel));
    for (Reference* reference : parallel->GetReferences())
        EXPECT_EQ(reference->GetInstance(), nullptr) << "one body: no instance";

    const int relations = m_interaction->GetRelationCount();
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    EXPECT_EQ(m_interaction->GetRelationCount(), relations) << "the second find makes none";
    EXPECT_EQ(Found(), std::vector<Relation*>{parallel});
    EXPECT_EQ(m_finder->GetFoundRelationLevel(parallel), 1);
}

TEST_F(RelationFindTest, ARejectedCandidateIsNeitherMadeNorFollowed)
{
    Offer(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 3);
    m_finder->SetAcceptRelationCallback(&Record);
    s_rejected = RelationTypeParallel;
    ClearYSKCallCounter();
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    EXPECT_TRUE(Found().empty());
    EXPECT_EQ(m_interaction->GetRelationCount(), 0);
    ASSERT_EQ(s_asked.size(), 1u);
    EXPECT_EQ(s_asked.front().level, 1);
    EXPECT_EQ(s_asked.front().entity1, m_top);
    EXPECT_EQ(s_asked.front().entity2, m_bottom);
    EXPECT_EQ(GetYSKCallCounter().find_relationships, 1) << "no level starts from a rejected face";

    // Accepted, the bottom is the next level's vary set: a second search starts from it.
    s_rejected = RelationTypeDistance;
    ClearYSKCallCounter();
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    EXPECT_EQ(Found().size(), 1u);
    EXPECT_EQ(GetYSKCallCounter().find_relationships, 2);
}

TEST_F(RelationFindTest, OptionsAtLevelZeroOfferNothingAndFindNothing)
{
    ClearYSKCallCounter();
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    EXPECT_TRUE(Found().empty());
    EXPECT_EQ(GetYSKCallCounter().find_relationships, 0);
}

TEST_F(RelationFindTest, CoplanarFacesAreFoundAcrossTwoPlacementsOfOneBody)
{
    Offer(FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, 1);
    const double here[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const double there[4][4] = {{1, 0, 0, 50}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* first = Instance::Create(m_interaction, m_block, here);
    Instance* second = Instance::Create(m_interaction, m_block, there);
    ASSERT_TRUE(first && second);
    m_finder->SetAcceptRelationCallback(&Record);
    ASSERT_EQ(Find({{first, m_top}}, {first, second}), ResultTypeOk);

    std::vector<Relation*> found = Found();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front()->GetType(), RelationTypeCoPlanar);
    std::set<Instance*> instances;
    for (Reference* reference : found.front()->GetReferences()) {
        EXPECT_EQ(reference->GetEntityTag(), m_top);
        instances.insert(reference->GetInstance());
    }
    EXPECT_EQ(instances, (std::set<Instance*>{first, second}));
    // Found from the first placement: the callback saw the other one's tag as the second.
    ASSERT_FALSE(s_asked.empty());
    EXPECT_EQ(s_asked.front().instance1, first->GetTag());
    EXPECT_EQ(s_asked.front().instance2, second->GetTag());
}

TEST_F(RelationFindTest, TheKernelsParallelCountAgreesWithTheManagers)
{
    Offer(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1);
    YSKManager::SetFindComparison(true);
    ASSERT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeOk);
    // The kernel's time is kept only when both counted the same pairs.
    EXPECT_GE(YSKManager::GetBqFindTime(), 0.0);
}

TEST_F(RelationFindTest, AFindIsRefusedWhileAnOperationIsSet)
{
    Offer(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 1);
    // Only its presence matters: the find must not reach the update that would end it.
    int stand = 0;
    m_interaction->SetCurrentSolverOperation(reinterpret_cast<SolverOperation*>(&stand));
    EXPECT_EQ(Find({{nullptr, m_top}}, {}, m_block), ResultTypeDragActive);
    m_interaction->SetCurrentSolverOperation(nullptr);
    EXPECT_TRUE(Found().empty());
}

// The block whose three top edges are blended: each blend runs into the top on one side and
// into a side face on the other, and meets the next blend at a corner.
class TangentChainTest : public RelationFindTest {
protected:
    void SetUp() override
    {
        RelationFindTest::SetUp();
        m_chain = brennik::build::BlockWithBlendChain(2.0);
        m_blend = OfClass(BodyFaces(m_chain), KernelClassCylinder).front();
        for (FindGeometryType round : {FindGeometryTypeCylinderFull, FindGeometryTypeCylinderPartial}) {
            Offer(FindRelationTypeTangent, round, FindGeometryTypePlane, 1);
            Offer(FindRelationTypeTangentAtEdge, FindGeometryTypePlane, round, 1);
        }
    }
    // Each relation as its type and entities' classes, for the failure message.
    std::string Describe() const
    {
        std::string text;
        for (Relation* relation : m_interaction->GetRelations()) {
            text += std::to_string(relation->GetType()) + "(";
            for (Reference* reference : relation->GetReferences())
                text += std::to_string(GetEntityClass(reference->GetEntityTag())) + "/" +
                        std::to_string(GetGeometryClassOfTopology(reference->GetEntityTag())) + " ";
            text += ") ";
        }
        return text;
    }
    int Count(RelationType type) const
    {
        int count = 0;
        for (Relation* relation : m_interaction->GetRelations())
            count += relation->GetType() == type;
        return count;
    }

    int m_chain = 0, m_blend = 0;
};

TEST_F(TangentChainTest, TangentsAreAcceptedAlongTheChainAndEachChainIsCutOnce)
{
    ASSERT_EQ(Find({{nullptr, m_blend}}, {}, m_chain), ResultTypeOk);
    SCOPED_TRACE(Describe());
    // The blend into the top and into its side face.
    EXPECT_GE(Count(RelationTypeTangent), 2);
    const int fixed = Count(RelationTypeFixed);
    EXPECT_GE(fixed, 1) << "a chain ends in a fixed face or vertex";
    for (Relation* relation : m_interaction->GetRelations()) {
        if (relation->GetType() != RelationTypeTangent)
            continue;
        for (Reference* reference : relation->GetReferences())
            EXPECT_EQ(reference->GetInstance(), nullptr);
    }

    // A second find makes nothing new: the relations and any virtual vertex are reused.
    const int relations = m_interaction->GetRelationCount();
    const size_t vertices = m_interaction->GetVirtualVertices().size();
    ASSERT_EQ(Find({{nullptr, m_blend}}, {}, m_chain), ResultTypeOk);
    EXPECT_EQ(m_interaction->GetRelationCount(), relations);
    EXPECT_EQ(m_interaction->GetVirtualVertices().size(), vertices);
    EXPECT_EQ(Count(RelationTypeFixed), fixed);
}

TEST_F(TangentChainTest, InAConfigureTheFacesReachedBecomeSeedsAndNothingIsFixed)
{
    // The configure manager is only ever asked whether one runs.
    int stand = 0;
    RelationFinderContext context(m_interaction, reinterpret_cast<ConfigureManager*>(&stand));
    context.SetFindOptions(FindOptionsData({}, {}, false, false));
    m_interaction->CreateUpdateManager();
    m_interaction->GetUpdateManager()->EnsureSolverCreated();
    std::vector<std::pair<int, Instance*>> seeds{{m_blend, nullptr}};
    std::vector<Relation*> relations;
    std::vector<int> reached;
    ASSERT_TRUE(m_finder->FindForConfigureLevel(1, true, seeds, context, relations, reached));
    SCOPED_TRACE(Describe());
    EXPECT_FALSE(reached.empty());
    EXPECT_EQ(Count(RelationTypeFixed), 0);
    for (int entity : reached)
        EXPECT_TRUE(context.GetEntitiesSeen().count(entity));
}

TEST_F(TangentChainTest, AChainBackAtAFaceSeenBeforeTurnsOnlyWhereOneTangentLeadsBack)
{
    int stand = 0;
    RelationFinderContext context(m_interaction, reinterpret_cast<ConfigureManager*>(&stand));
    context.SetFindOptions(FindOptionsData({}, {}, false, false));
    m_interaction->CreateUpdateManager();
    m_interaction->GetUpdateManager()->EnsureSolverCreated();
    // The blend was reached before, but no tangent of its neighbours is known yet: there is no
    // way back to turn along, and the chain ends where it is.
    context.GetEntitiesSeen().insert(m_blend);
    std::vector<std::pair<int, Instance*>> seeds{{m_blend, nullptr}};
    std::vector<Relation*> relations;
    std::vector<int> reached;
    ASSERT_TRUE(m_finder->FindForConfigureLevel(1, true, seeds, context, relations, reached));
    EXPECT_GE(Count(RelationTypeTangent), 2);
    EXPECT_EQ(Count(RelationTypeFixed), 0);
    EXPECT_FALSE(reached.empty()) << "each chain ends at its pivot, which goes back to the configure";
}

TEST_F(RelationFindTest, WhereKeysRepeatTheFirstCandidateIsKeptEverywhere)
{
    RelationCandidateList list(m_interaction);
    list.Add(RelationCandidate(m_interaction, 1, RelationTypeParallel, nullptr, m_top, nullptr, m_bottom), false);
    // The same relation with its entities the other way round.
    list.Add(RelationCandidate(m_interaction, 2, RelationTypeParallel, nullptr, m_bottom, nullptr, m_top), false);
    size_t position = 9;
    ASSERT_TRUE(list.Find(list[1], &position));
    EXPECT_EQ(position, 0u) << "the index keeps the first";
    EXPECT_EQ(list.RemoveDuplicates(), 1u);
    EXPECT_EQ(list[0].GetLevel(), 1) << "and so does the removal";
}

}  // namespace
}  // namespace testing
}  // namespace QEL
