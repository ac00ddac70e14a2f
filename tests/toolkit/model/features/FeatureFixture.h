// Fixtures of the feature tests: a live interaction over a 10 x 20 x 30 block placed as an
// instance, references on its faces, and a feature procedure that the tests steer.
#pragma once

#include "../transaction/ModelFixture.h"

#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/features/FeatureProcedureData.h"
#include "model/transaction/MappingData.h"

namespace QEL {
namespace testing {

inline double VolumeOf(int body)
{
    double volume = 0.0;
    EXPECT_EQ(BQ_BODY_ask_volume(body, &volume), BQ_ERROR_no_errors);
    return volume;
}

inline int FaceCount(int body)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    return static_cast<int>(faces.size());
}

class FeatureTest : public ModelTest {
protected:
    Reference* RefOn(int entity, Instance* instance = nullptr)
    {
        return Reference::Create(m_interaction, entity, instance);
    }
    int Face(double nx, double ny, double nz, double offset) { return FaceAt(m_block, nx, ny, nz, offset); }
};

}  // namespace testing
}  // namespace QEL
