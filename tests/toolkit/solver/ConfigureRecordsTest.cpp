// Configure records into the Solver, solved for real: each record goes in once, a reblend
// keeps its radius and its tangencies while a neighbour moves, and the chains of a
// blend-radius edit share one radius.
#include "SolverFixture.h"

#include "model/operations/ReblendChain.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "solver/ConfigureFoundData.h"

#include <algorithm>

namespace QEL {
namespace testing {
namespace {

class ConfigureRecordsTest : public SolverTest {
protected:
    int Bonds() const { return static_cast<int>(m_solver->GetBondList()->size()); }
    bool Holds(Bond* bond) const
    {
        const std::list<Bond*>& bonds = *m_solver->GetBondList();
        return std::find(bonds.begin(), bonds.end(), bond) != bonds.end();
    }
    // The blend faces of the body, in the kernel's order.
    std::vector<int> Blends(int body)
    {
        std::vector<int> blends;
        for (int face : BodyFaces(body))
            if (IdentifyBlendFace(face, 1e-6, true, nullptr))
                blends.push_back(face);
        return blends;
    }
    std::vector<int> Unders(int blend)
    {
        std::vector<int> unders;
        GetBlendUnderFaces(blend, 1e-6, &unders);
        return unders;
    }
    double RadiusChange(int face)
    {
        double matrix[4][4];
        double change = 0.0;
        m_solver->GetDimensionSystem()->transform(Geom(face)->GetGNode(), matrix, &change);
        return change;
    }
};

// A tipping point is the record whose bond is easy to count.
TEST_F(ConfigureRecordsTest, EachRecordGoesInOnceAndRelaxedOrUnknownRecordsMakeNothing)
{
    const int block = brennik::build::Block();
    const int top = BlockFace(block, 0, 0, 1);
    std::vector<int> vertices;
    GetFaceVertices(top, &vertices);
    ConfigureFoundDataArray records(m_interaction);
    records.Add(ConfigureFoundData(ConfigureFoundDataTippingPoint, TippingPointData(vertices[0], top, false), false, 0));
    records.Add(ConfigureFoundData(ConfigureFoundDataTippingPoint, TippingPointData(vertices[1], top, false), true, 0));
    ConfigureFoundData relaxed(ConfigureFoundDataTippingPoint, TippingPointData(vertices[2], top, false), false, 0);
    relaxed.SetRelaxed(true);
    records.Add(relaxed);
    records.Add(ConfigureFoundData(42, std::vector<int>{top}, false, 0));

    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(m_solver->AddConfigureFoundData(records, status, nullptr, false));
    EXPECT_EQ(Bonds(), 1);
    EXPECT_TRUE(records.GetRecords()[0].GetApplied());
    EXPECT_FALSE(records.GetRecords()[2].GetApplied());
    EXPECT_TRUE(records.GetRecords()[3].GetApplied());
    ASSERT_TRUE(m_solver->AddConfigureFoundData(records, status, nullptr, false));
    EXPECT_EQ(Bonds(), 1);
    EXPECT_EQ(status, UpdateApplied);
}

// Pending bonds wait while deferred; handed on, a missing manager makes the edit unsolvable.
TEST_F(ConfigureRecordsTest, DeferredRecordsKeepTheirPendingBondsUntilHandedOn)
{
    const int block = brennik::build::Block();
    Geometry* top = Geom(BlockFace(block, 0, 0, 1));
    Geometry* bottom = Geom(BlockFace(block, 0, 0, -1));
    top->AddToZMR();
    bottom->AddToZMR();
    m_solver->GetPendingBonds().AddData(BondData(ZMR3_DISTANCE, {BondEndData(top), BondEndData(bottom)}, true, 30.0));
    ConfigureFoundDataArray records(m_interaction);
    UpdateStatus status = UpdateApplied;
    EXPECT_TRUE(m_solver->AddConfigureFoundData(records, status, nullptr, true));
    EXPECT_EQ(m_solver->GetPendingBonds().Size(), 1u);
    EXPECT_FALSE(m_solver->AddConfigureFoundData(records, status, nullptr, false));
    EXPECT_EQ(status, UpdateSolveFailed);
}

TEST_F(ConfigureRecordsTest, AReblendKeepsItsRadiusAndTangenciesWhileANeighbourMoves)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const std::vector<int> blends = Blends(body);
    ASSERT_EQ(blends.size(), 1u);
    const std::vector<int> unders = Unders(blends[0]);
    ASSERT_EQ(unders.size(), 2u);
    ConfigureFoundDataArray records(m_interaction);
    records.Add(ConfigureFoundData(ConfigureFoundDataReblend, ReblendData(blends[0], unders, 2.0, true), false, 0));
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(m_solver->AddConfigureFoundData(records, status, nullptr, false));
    // The radius and a tangency to each face under the blend.
    EXPECT_EQ(Bonds(), 3);

    Geom(unders[1])->Fix(true);
    Dir normal;
    ASSERT_TRUE(Geom(unders[0])->GetNormal(normal));
    Vec move(normal.x * 1.5, normal.y * 1.5, normal.z * 1.5);
    ASSERT_EQ(m_solver->DragByTranslation(Geom(unders[0])->GetGNode(), move), SolveStatusSolved);
    EXPECT_LT(std::abs(RadiusChange(blends[0])), 1e-9);
    EXPECT_LT(Distance(Translation(Geom(blends[0])), move), 1e-9);
}

TEST_F(ConfigureRecordsTest, TheChainsOfABlendRadiusEditShareOneRadius)
{
    const int body = brennik::build::BlockWithOppositeBlends(2.0, 3.0);
    const std::vector<int> blends = Blends(body);
    ASSERT_EQ(blends.size(), 2u);
    Bond* radius = nullptr;
    for (int blend : blends) {
        std::vector<int> chain{blend};
        for (int under : Unders(blend))
            chain.push_back(under);
        m_solver->AddBlendRadiusOpData(m_interaction, chain, 2.0, radius);
    }
    ASSERT_NE(radius, nullptr);
    bool rigid = true;
    ASSERT_TRUE(radius->GetRigid(rigid));
    EXPECT_FALSE(rigid);
    double first = 0.0;
    double second = 0.0;
    ASSERT_TRUE(Geom(blends[0])->GetRadius(first));
    ASSERT_TRUE(Geom(blends[1])->GetRadius(second));

    // The edit drives the one radius dimension; the other chain follows it.
    ASSERT_TRUE(radius->SetValue(2.5));
    ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
    EXPECT_NEAR(first + RadiusChange(blends[0]), 2.5, 1e-9);
    EXPECT_NEAR(second + RadiusChange(blends[1]), 2.5, 1e-9);
}

// A radius bond the Solver does not hold (an earlier Solver's) is no bond to tie the chain
// to: the chain gets the radius dimension of its own.
TEST_F(ConfigureRecordsTest, AStaleRadiusBondIsReplaced)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = Blends(body).front();
    Solver earlier;
    Geometry* elsewhere = earlier.GetOrMakeGeometry(GeometryKey(blend, nullptr));
    TypedBond* stale = TypedBond::CreateTypedBond(&earlier, ZMR3_RADIUS, {elsewhere}, 2.0, nullptr);
    earlier.AddBond(stale);

    Bond* radius = stale;
    std::vector<int> chain{blend};
    m_solver->AddBlendRadiusOpData(m_interaction, chain, 2.0, radius);
    EXPECT_NE(radius, stale);
    EXPECT_TRUE(Holds(radius));
    ZMR3_d_type type = ZMR3_DISTANCE;
    ASSERT_TRUE(radius->GetType(type));
    EXPECT_EQ(type, ZMR3_RADIUS);
}

// A section edge of a block cut at mid-height lies on the section plane and on the side face
// it was cut from; the same section cluster again adds nothing.
TEST_F(ConfigureRecordsTest, ASectionClusterIsBondedOnce)
{
    const int block = brennik::build::Block(10, 20, 30);
    Instance* cut = Place(block, Moved(5, 0, 0));
    Reference* plane = Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 15, 0, 0, 1), nullptr);
    Section* section = Section::Create(m_interaction, plane);
    ASSERT_TRUE(section->GenerateSectionGeometry(cut));
    Instance* sectionInstance = section->GetSectionInstance(cut);
    ASSERT_NE(sectionInstance, nullptr);
    int edge = 0;
    for (int entity : BodyEdges(sectionInstance->GetBodyTag()))
        if (GetGeometryClassOfTopology(entity) == KernelClassLine) {
            edge = entity;
            break;
        }
    ASSERT_NE(edge, 0);
    std::vector<int> sources;
    section->GetSourceEntities(cut, edge, sources);
    ASSERT_EQ(sources.size(), 1u);
    SectionClusterData data;
    data.m_section = section;
    data.m_cutInstance = cut;
    data.m_reference = Reference::Create(m_interaction, edge, sectionInstance);
    ASSERT_NE(data.m_reference, nullptr);

    m_solver->AddSectionCluster(data);
    const int bonds = Bonds();
    Geometry* entity = m_solver->FindGeometry(data.m_reference);
    ASSERT_NE(entity, nullptr);
    EXPECT_TRUE(m_solver->FindBondOfGeometries(entity, m_solver->FindGeometry(plane), ZMR3_COINCIDENT));
    EXPECT_TRUE(m_solver->FindBondOfGeometries(entity, Geom(sources[0], cut), ZMR3_COINCIDENT));
    m_solver->AddSectionCluster(data);
    EXPECT_EQ(Bonds(), bonds);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
