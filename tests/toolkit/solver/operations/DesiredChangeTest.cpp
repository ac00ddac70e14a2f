// A drag states the change it wants of its drag set through what the update installed: the
// right kind of change with the drag's own direction or axis, and nothing without exact
// dragging.
#include "../SolverFixture.h"

#include "model/references/Reference.h"
#include "solver/RigidGroup.h"
#include "solver/operations/DesiredChangeStating.h"
#include "solver/operations/SolverOperation.h"

#include <functional>
#include <memory>
#include <string>

namespace QEL {
namespace testing {
namespace {

const double kOrigin[3] = {0, 0, 0};
const double kCorner[3] = {10, 0, 0};
const double kZ[3] = {0, 0, 1};

// Records each statement instead of reaching a manager.
class RecordingStating final : public DesiredChangeStating {
public:
    bool StateTranslation(YSKManager*, Set* set, const Dir& direction, UpdateStatus&) override
    {
        return Record("translation", set, direction, Vec(0, 0, 0));
    }
    bool StatePlanarTranslation(YSKManager*, Set* set, const Dir& normal, UpdateStatus&) override
    {
        return Record("planar", set, normal, Vec(0, 0, 0));
    }
    bool StateRotation(YSKManager*, Set* set, const Dir& axis, const Vec& point, UpdateStatus&) override
    {
        return Record("rotation", set, axis, point);
    }
    bool StateGeneralTransform(YSKManager*, Set* set, UpdateStatus&) override
    {
        return Record("transform", set, Dir(0, 0, 1), Vec(0, 0, 0));
    }

    std::string m_kind;
    Set* m_set = nullptr;
    Vec m_direction;
    Vec m_point;
    int m_count = 0;

private:
    bool Record(const char* kind, Set* set, const Dir& direction, const Vec& point)
    {
        m_kind = kind;
        m_set = set;
        m_direction = direction;
        m_point = point;
        ++m_count;
        return true;
    }
};

class DesiredChangeTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        m_previous = InstalledSeam<DesiredChangeStating>::Get();
        InstallDesiredChangeStating(&m_stating);
        Geom(m_top)->AddToZMR();
        ASSERT_TRUE(m_interaction->AddSelectedReference(Reference::Create(m_interaction, m_top, nullptr)));
    }
    void TearDown() override
    {
        InstallDesiredChangeStating(m_previous);
        BlockSolverTest::TearDown();
    }

    RecordingStating m_stating;
    DesiredChangeStating* m_previous = nullptr;
};

struct DragCase {
    const char* kind;
    std::function<SolverDragOperation*(Interaction*)> make;
    Vec direction;
    Vec point;
};

TEST_F(DesiredChangeTest, EachDragStatesItsOwnChangeOfItsDragSetOnlyWhenDraggingExactly)
{
    const DragCase cases[] = {
        {"translation", [](Interaction* in) { return new SolverDragLinear(in, kOrigin, kZ, kOrigin); },
         Vec(0, 0, 1), Vec(0, 0, 0)},
        {"planar", [](Interaction* in) { return new SolverDragPlanar(in, kOrigin, kZ, kOrigin); },
         Vec(0, 0, 1), Vec(0, 0, 0)},
        {"rotation", [](Interaction* in) { return new SolverDragRotate(in, kCorner, kZ); },
         Vec(0, 0, 1), Vec(10, 0, 0)},
        {"transform", [](Interaction* in) { return new SolverDragByTransform(in, 0, nullptr); },
         Vec(0, 0, 1), Vec(0, 0, 0)},
    };
    for (const DragCase& drag : cases) {
        SCOPED_TRACE(drag.kind);
        std::unique_ptr<SolverDragOperation> operation(drag.make(m_interaction));
        operation->AddToSolver(m_solver.get());
        ASSERT_NE(operation->GetDragGroup(), nullptr);
        UpdateStatus status = UpdateUnknown;

        ASSERT_EQ(m_interaction->SetExactDragging(false), ResultTypeOk);
        m_stating.m_count = 0;
        EXPECT_TRUE(operation->AddDesiredChange(m_solver.get(), nullptr, status));
        EXPECT_EQ(m_stating.m_count, 0);

        ASSERT_EQ(m_interaction->SetExactDragging(true), ResultTypeOk);
        EXPECT_TRUE(operation->AddDesiredChange(m_solver.get(), nullptr, status));
        EXPECT_EQ(m_stating.m_count, 1);
        EXPECT_EQ(m_stating.m_kind, drag.kind);
        EXPECT_EQ(m_stating.m_set, operation->GetDragGroup()->GetDragSet());
        EXPECT_LT(Distance(m_stating.m_direction, drag.direction), 1e-12);
        EXPECT_LT(Distance(m_stating.m_point, drag.point), 1e-12);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
