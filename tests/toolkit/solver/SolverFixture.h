// Fixtures of the solver tests: a fresh kernel session with a live interaction, bodies placed
// by instances, faces and edges found by their geometry, and a Solver to fill.
#pragma once

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "solver/Solver.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>
#include <tessik_test.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace QEL {
namespace testing {

inline std::vector<int> BodyFaces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    std::vector<int> out(faces, faces + count);
    BQ_MEMORY_free(faces);
    return out;
}

inline std::vector<int> BodyEdges(int body)
{
    int count = 0;
    int* edges = nullptr;
    BQ_BODY_ask_edges(body, &count, &edges);
    std::vector<int> out(edges, edges + count);
    BQ_MEMORY_free(edges);
    return out;
}

// The entities whose geometry is of the class, in the kernel's order.
inline std::vector<int> OfClass(const std::vector<int>& entities, int classCode)
{
    std::vector<int> out;
    for (int entity : entities)
        if (GetGeometryClassOfTopology(entity) == classCode)
            out.push_back(entity);
    return out;
}

// The planar face of the block whose outward normal is n (axis-aligned).
inline int BlockFace(int block, double nx, double ny, double nz)
{
    for (int face : BodyFaces(block)) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        if (std::abs(normal.x - nx) + std::abs(normal.y - ny) + std::abs(normal.z - nz) < 1e-9)
            return face;
    }
    return 0;
}

inline Xform Moved(double x, double y, double z, double turnAboutZ = 0.0)
{
    Xform xform;
    xform.SetRotationAboutAxis(Vec(0, 0, 0), Vec(0, 0, 1), std::sin(turnAboutZ), std::cos(turnAboutZ));
    xform.translation = Vec(x, y, z);
    return xform;
}

inline double Distance(const Vec& a, const Vec& b) { return (a - b).Length(); }

class SolverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        tessik_test::ResetControls();
        m_interaction = new Interaction(CreateTypeLive);
        m_solver.reset(new Solver());
    }
    void TearDown() override
    {
        m_solver.reset();
        tessik_test::ResetControls();
        m_interaction->Destroy();
        brennik::test::Reset();
    }
    Instance* Place(int body, const Xform& xform)
    {
        double matrix[4][4];
        xform.Get4x4(matrix);
        return Instance::Create(m_interaction, body, matrix);
    }
    Geometry* Geom(int entity, Instance* instance = nullptr)
    {
        return m_solver->GetOrMakeGeometry(GeometryKey(entity, instance));
    }
    TypedBond* Bond2(ZMR3_d_type type, GeometryBase* a, GeometryBase* b, double value)
    {
        TypedBond* bond = TypedBond::CreateBinary(m_solver.get(), type, a, b, value);
        m_solver->AddBond(bond);
        return bond;
    }
    // The change the last evaluation made to the geometry: 0 when it did not move.
    int Change(GeometryBase* geometry, double (*matrix)[4] = nullptr)
    {
        double local[4][4];
        return m_solver->GetDimensionSystem()->transform(geometry->GetGNode(), matrix ? matrix : local);
    }
    // The translation the last evaluation gave the geometry: zero when it did not move or is not there.
    Vec Translation(GeometryBase* geometry)
    {
        double matrix[4][4];
        if (!geometry || Change(geometry, matrix) == 0)
            return Vec(0, 0, 0);
        return Vec(matrix[0][3], matrix[1][3], matrix[2][3]);
    }

    Interaction* m_interaction = nullptr;
    std::unique_ptr<Solver> m_solver;
};

// A 10 x 20 x 30 block with its top, bottom and +X side faces.
class BlockSolverTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_top = BlockFace(m_block, 0, 0, 1);
        m_bottom = BlockFace(m_block, 0, 0, -1);
        m_side = BlockFace(m_block, 1, 0, 0);
    }

    int m_block = 0, m_top = 0, m_bottom = 0, m_side = 0;
};

}  // namespace testing
}  // namespace QEL
