// The configure locks as options: off for a new interaction, set and read each on its own,
// and every setting recorded for rollback, the unchanged ones too.
#include "../../core/frame/ApiTestFixture.h"

#include "api/edits/QelConfigureLockApi.h"
#include "api/model/QelMarkApi.h"

namespace QEL {
namespace testing {
namespace {

using ConfigureLockApiTest = ApiTest;

TEST_F(ConfigureLockApiTest, EachLockIsItsOwnRolledBackOption)
{
    const struct {
        const char* name;
        void (*set)(int, bool, ResultType*);
        bool (*get)(int, ResultType*);
    } locks[] = {
        {"cylinder", OptionSetConfigureLockCylinderRadius, OptionGetConfigureLockCylinderRadius},
        {"sphere", OptionSetConfigureLockSphereRadius, OptionGetConfigureLockSphereRadius},
        {"torus", OptionSetConfigureLockTorusRadius, OptionGetConfigureLockTorusRadius},
        {"torus minor", OptionSetConfigureLockTorusMinorRadius, OptionGetConfigureLockTorusMinorRadius},
        {"cone", OptionSetConfigureLockConeHalfAngle, OptionGetConfigureLockConeHalfAngle},
    };
    const int tag = NewInteraction();
    ResultType result = ResultTypeOk;
    for (const auto& lock : locks) {
        SCOPED_TRACE(lock.name);
        EXPECT_FALSE(lock.get(tag, &result));
        lock.set(tag, true, &result);
        EXPECT_EQ(result, ResultTypeOk);
        for (const auto& other : locks)
            EXPECT_EQ(other.get(tag, &result), &other == &lock) << other.name;
        // Set to the value it has, then to another: rolling back to the mark between them
        // restores the value of that time.
        const int before = CreateMark(tag, &result);
        lock.set(tag, true, &result);
        const int between = CreateMark(tag, &result);
        lock.set(tag, false, &result);
        RollToMark(tag, between, &result);
        EXPECT_TRUE(lock.get(tag, &result));
        RollToMark(tag, before, &result);
        EXPECT_TRUE(lock.get(tag, &result));
        lock.set(tag, false, &result);
    }
    EXPECT_FALSE(OptionGetConfigureLockConeHalfAngle(kUnknownTag, &result));
    EXPECT_EQ(result, ResultTypeBadArgument);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
