// References to points, lines and planes a call added to a body's part: another run of the same
// calls may number them differently, and they compare by where they lie.
#include "ModelFixture.h"

namespace QEL {
namespace testing {
namespace {

class PartGeometryReferenceTest : public ModelTest {
protected:
    // A point of the body's part at (x, y, z), after `before` points elsewhere that shift the
    // kernel's identifiers.
    static int PointInPart(int body, double x, double y, double z, int before = 0)
    {
        for (int i = 0; i < before; ++i) {
            const int spare = brennik::build::FreePoint(-1, -1, -1 - i);
            BQ_PART_add_geoms(body, 1, &spare);
        }
        const int point = brennik::build::FreePoint(x, y, z);
        BQ_PART_add_geoms(body, 1, &point);
        return point;
    }
};

TEST_F(PartGeometryReferenceTest, PointsOfAPartCompareByWhereTheyLieNotByTheirIdentifiers)
{
    const int point = PointInPart(m_block, 10, 20, 30);
    Reference* reference = Reference::Create(m_interaction, point, nullptr);
    ASSERT_NE(reference, nullptr);
    const struct {
        const char* what;
        double x, y, z;
        int before;
        bool equal;
    } cases[] = {
        {"the same place", 10, 20, 30, 0, true},
        {"the same place, another identifier", 10, 20, 30, 2, true},
        {"another place, another identifier", 10, 20, 29, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Interaction* other = new Interaction(CreateTypeLive);
        const int block = brennik::build::Block();
        const int otherPoint = PointInPart(block, c.x, c.y, c.z, c.before);
        Reference* counterpart = Reference::Create(other, otherPoint, nullptr);
        ASSERT_NE(counterpart, nullptr);
        if (c.before > 0) {
            EXPECT_NE(GetEntityIdentifier(otherPoint), GetEntityIdentifier(point));
        }
        EXPECT_EQ(reference->Compare(counterpart), c.equal);
        other->Destroy();
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
