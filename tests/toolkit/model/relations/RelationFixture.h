// Fixtures of the relation tests: a fresh kernel session with a live interaction, the block
// [0,10]x[0,20]x[0,30] and the turned part (coaxial cylinders of radius 20 and 12 about z, a
// cone, a torus and a sphere cap), real references on them, bare or through instances.
#pragma once

#include "../../solver/SolverFixture.h"

#include "model/references/Reference.h"
#include "model/relations/Relation.h"

namespace QEL {
namespace testing {

class RelationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block(10, 20, 30);
        m_part = brennik::build::TurnedPart();
    }
    void TearDown() override
    {
        m_interaction->Destroy();
        brennik::test::Reset();
    }

    int Top() const { return BlockFace(m_block, 0, 0, 1); }
    int Bottom() const { return BlockFace(m_block, 0, 0, -1); }
    int Side() const { return BlockFace(m_block, 1, 0, 0); }
    int Front() const { return BlockFace(m_block, 0, -1, 0); }
    // The turned part's face of the class and radius.
    int PartFace(int classCode, double radius = -1.0) const
    {
        for (int face : BodyFaces(m_part)) {
            double r = 0.0;
            if (GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &r, nullptr, nullptr) == classCode &&
                (radius < 0.0 || std::abs(r - radius) < 1e-9))
                return face;
        }
        return 0;
    }
    // The turned part's planar face at the height.
    int PartPlaneAt(double z) const
    {
        for (int face : BodyFaces(m_part)) {
            Position location;
            if (GetStandardGeometry(face, nullptr, nullptr, &location, nullptr, nullptr, nullptr, nullptr) ==
                    KernelClassPlane &&
                std::abs(location.z - z) < 1e-9)
                return face;
        }
        return 0;
    }
    Instance* Place(int body, double x = 0.0, double y = 0.0, double z = 0.0)
    {
        const double matrix[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}};
        return Instance::Create(m_interaction, body, matrix);
    }
    Reference* Ref(int entity, Instance* instance = nullptr)
    {
        return Reference::Create(m_interaction, entity, instance);
    }
    Relation* Make(RelationType type, std::vector<Reference*> references)
    {
        return Relation::Create(m_interaction, type, references);
    }

    Interaction* m_interaction = nullptr;
    int m_block = 0;
    int m_part = 0;
};

}  // namespace testing
}  // namespace QEL
