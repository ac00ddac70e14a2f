// The entity sets of a find: an entity once per instance, whole bodies, and the environment
// built from what varies, the instances and the free datum geometry.
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"
#include "update/finding/RelationFinderInputData.h"

#include "../../solver/SolverFixture.h"

#include <gtest/gtest.h>

namespace QEL {
namespace testing {
namespace {

class RelationFinderInputDataTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_top = BlockFace(m_block, 0, 0, 1);
    }
    static std::vector<FinderInputKey> Keys(const RelationFinderInputData& input)
    {
        std::vector<FinderInputKey> keys;
        for (const YSK_pointer_s& entry : input.GetData())
            keys.emplace_back(entry.entity, InstanceOfEntry(entry));
        return keys;
    }

    int m_block = 0, m_top = 0;
};

TEST_F(RelationFinderInputDataTest, AnEntityIsEnteredOncePerInstance)
{
    Instance* placed = Place(m_block, Moved(0, 0, 0));
    RelationFinderInputData input(m_interaction);
    input.AddEntry(nullptr, m_top);
    input.AddEntry(nullptr, m_top);
    input.AddEntry(placed, m_top);
    input.AddBodyEntities(m_block, {});
    EXPECT_EQ(Keys(input), (std::vector<FinderInputKey>{{m_top, nullptr}, {m_top, placed}, {m_block, nullptr}}));

    input.RemoveBodyLevelDuplicates();
    EXPECT_EQ(Keys(input), (std::vector<FinderInputKey>{{m_top, placed}, {m_block, nullptr}}))
        << "the bare entry goes where a placed one stands for the entity";
    EXPECT_FALSE(input.HasKey(m_top, nullptr));
    EXPECT_EQ(input.GenerateInitialYSKVaryArray(), ResultTypeOk);
    EXPECT_EQ(input.GetData().size(), 2u) << "entries given are kept, not replaced by the selection";
}

TEST_F(RelationFinderInputDataTest, TheEnvironmentFollowsWhatVaries)
{
    RelationFinderInputData environment(m_interaction);
    EXPECT_EQ(environment.GenerateInitialYSKEnvironmentArray(nullptr), ResultTypeFail) << "nothing varies";
    EXPECT_TRUE(environment.IsEmpty());

    // A bare face varies: its own body is the environment.
    RelationFinderInputData bare(m_interaction);
    bare.AddEntry(nullptr, m_top);
    EXPECT_EQ(environment.GenerateInitialYSKEnvironmentArray(&bare), ResultTypeOk);
    EXPECT_EQ(Keys(environment), (std::vector<FinderInputKey>{{m_block, nullptr}}));

    // A placed face and a free plane vary: every placement, and the free geometry that is not
    // itself varying.
    Instance* placed = Place(m_block, Moved(50, 0, 0));
    const int varying = brennik::build::FreePlane(0, 0, 40, 0, 0, 1);
    const int other = brennik::build::FreePlane(0, 0, 50, 0, 0, 1);
    ASSERT_TRUE(Reference::Create(m_interaction, varying, nullptr) && Reference::Create(m_interaction, other, nullptr));
    RelationFinderInputData mixed(m_interaction);
    mixed.AddEntry(placed, m_top);
    mixed.AddEntry(nullptr, varying);
    environment.ClearData();
    EXPECT_EQ(environment.GenerateInitialYSKEnvironmentArray(&mixed), ResultTypeOk);
    EXPECT_EQ(Keys(environment), (std::vector<FinderInputKey>{{m_block, placed}, {other, nullptr}}));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
