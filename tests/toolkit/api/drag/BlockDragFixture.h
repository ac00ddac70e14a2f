// The block every drag test moves: 10 x 20 x 30, its top held to its bottom by a distance of 30
// and a parallel relation, the top selected; all through the exported calls.
#pragma once

#include "../../core/frame/ApiTestFixture.h"

#include "api/edits/QelDragApi.h"
#include "api/edits/QelDragOperationApi.h"
#include "api/edits/QelOperationControlApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "api/edits/QelSelectionApi.h"
#include "core/calls/QelInteractionApi.h"

#include <cmath>

namespace QEL {
namespace testing {

class BlockDragTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_block = brennik::build::Block(10, 20, 30);
        m_topFace = FaceAt(2, 30.0);
        m_top = CreateReference(m_tag, m_topFace, 0, &m_result);
        m_bottomFace = FaceAt(2, 0.0);
        m_bottom = CreateReference(m_tag, m_bottomFace, 0, &m_result);
        m_distance = Relate(RelationTypeDistance, m_top, m_bottom);
        m_parallel = Relate(RelationTypeParallel, m_top, m_bottom);
        AddSelection(m_tag, m_top, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
    }

    int Relate(RelationType type, int first, int second)
    {
        const int references[2] = {first, second};
        return CreateRelation(m_tag, type, Array<int>(2, references), &m_result);
    }
    // The face of the block on the plane where the coordinate of the axis (0 x, 1 y, 2 z) is value.
    int FaceAt(int axis, double value) const
    {
        int count = 0;
        int* faces = nullptr;
        BQ_BODY_ask_faces(m_block, &count, &faces);
        int found = 0;
        for (int i = 0; i < count && !found; ++i)
            if (std::abs(PlaneCoordinate(faces[i], axis) - value) < 1e-9)
                found = faces[i];
        BQ_MEMORY_free(faces);
        return found;
    }
    // Where the face's plane crosses the axis; NaN for a face across it.
    static double PlaneCoordinate(int face, int axis)
    {
        int surface = 0;
        BQ_PLANE_sf_t plane{};
        if (BQ_FACE_ask_surf(face, &surface) != BQ_ERROR_no_errors ||
            BQ_PLANE_ask(surface, &plane) != BQ_ERROR_no_errors ||
            std::abs(std::abs(plane.basis_set.axis.coord[axis]) - 1.0) > 1e-9)
            return std::nan("");
        return plane.basis_set.location.coord[axis];
    }
    double TopZ() const { return PlaneCoordinate(m_topFace, 2); }
    double Height() const { return TopZ() - PlaneCoordinate(m_bottomFace, 2); }
    double Volume() const
    {
        double volume = 0.0;
        BQ_BODY_ask_volume(m_block, &volume);
        return volume;
    }

    // Along Z through the top's middle.
    UpdateStatus StepTo(double z)
    {
        double to[3] = {5, 10, z};
        return DragLinearStep(m_tag, to, &m_result);
    }
    void StartLinearDrag()
    {
        double point[3] = {5, 10, 30};
        double up[3] = {0, 0, 1};
        DragLinearStart(m_tag, point, up, point, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
    }
    void SetLinearOperation()
    {
        double point[3] = {5, 10, 30};
        double up[3] = {0, 0, 1};
        OperationSetDragLinear(m_tag, point, up, point, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk);
    }
    ResultType StepOperationTo(double z)
    {
        double to[3] = {5, 10, z};
        OperationStepDragLinear(m_tag, to, &m_result);
        return m_result;
    }

    int m_tag = 0;
    int m_block = 0;
    int m_topFace = 0;
    int m_bottomFace = 0;
    int m_top = 0;
    int m_bottom = 0;
    int m_distance = 0;
    int m_parallel = 0;
    ResultType m_result = ResultTypeOk;
};

}  // namespace testing
}  // namespace QEL
