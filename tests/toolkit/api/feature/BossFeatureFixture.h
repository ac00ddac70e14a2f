// A plate 100 x 60 x 10 with a square boss 10 x 10 standing on it at x, y in [40, 50], placed by
// an instance, and the faces of both found by where they lie.
#pragma once

#include "../../core/frame/ApiTestFixture.h"
#include "../../core/kernel/FaceAtPlane.h"

#include "api/model/QelInstanceApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Xform.h"

#include <brennik_build.h>
#include <hxr.h>

#include <cmath>
#include <set>

namespace QEL {
namespace testing {

inline double VolumeOf(int body)
{
    double volume = 0.0;
    BQ_BODY_ask_volume(body, &volume);
    return volume;
}

// Pastes the boss, from z 10 up to height, onto the body.
inline bool PasteBoss(int body, double height)
{
    const int tool = brennik::build::Block(10, 10, height - 10);
    const double matrix[4][4] = {{1, 0, 0, 40}, {0, 1, 0, 40}, {0, 0, 1, 10}, {0, 0, 0, 1}};
    const int transform = Xform(matrix).CreateKernelTransf();
    const HXR_BODY_paste_o_s options{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    HXR_ENTITY_track_r_s tracking{};
    const int pasted = HXR_BODY_paste(body, tool, transform, &options, &tracking);
    HXR_ENTITY_track_r_f(&tracking);
    BQ_ENTITY_delete(1, &transform);
    BQ_ENTITY_delete(1, &tool);
    return pasted == HXR_ERROR_none;
}

class BossPlateTest : public ApiTest {
protected:
    static constexpr double s_bossHeight = 16.0;

    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_plate = brennik::build::Block(100, 60, 10);
        ASSERT_TRUE(PasteBoss(m_plate, s_bossHeight));
        ResultType result;
        m_placed = CreateInstance(m_tag, m_plate, s_identity, &result);
        ASSERT_NE(m_placed, 0);
    }
    // The boss's top and four sides, top first.
    std::vector<int> BossFaces(double height = s_bossHeight) const
    {
        return {FaceAt(m_plate, 0, 0, 1, height), FaceAt(m_plate, 1, 0, 0, 50), FaceAt(m_plate, -1, 0, 0, -40),
                FaceAt(m_plate, 0, 1, 0, 50), FaceAt(m_plate, 0, -1, 0, -40)};
    }
    int ReferenceOn(int face, int instance)
    {
        ResultType result;
        return CreateReference(m_tag, face, instance, &result);
    }

    static constexpr double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    int m_tag = 0;
    int m_plate = 0;
    int m_placed = 0;
};

}  // namespace testing
}  // namespace QEL
