// The records handed to the auto-constraint manager and their conversion into its own.
#include "update/autoconstraint/AutoConstraintRecords.h"

#include "../../solver/SolverFixture.h"
#include "model/references/Reference.h"

#include <gtest/gtest.h>

namespace QEL {
namespace testing {
namespace {

// A reference that is only its key: what the find options read of it.
class KeyReference : public Reference {
public:
    using Reference::Reference;
    RollableEntity* Clone() override { return nullptr; }
    void Restore(RollableEntity*) override {}
    bool DoIO(XMLIO&) override { return false; }
};

class AutoConstraintRecords : public SolverTest {
protected:
    GeometryBase* Point(double x, bool added)
    {
        const double p[3] = {x, 0, 0};
        auto* g = new GPoint(m_solver.get(), p, nullptr, nullptr);
        m_made.emplace_back(g);
        if (added)
            g->AddToZMR();
        return g;
    }
    void TearDown() override
    {
        for (auto& g : m_made)
            g->RemoveFromZMR();
        m_made.clear();
        SolverTest::TearDown();
    }
    std::vector<std::unique_ptr<GeometryBase>> m_made;
};

TEST_F(AutoConstraintRecords, ABondConvertsItsFirstThreeEndsAndKeepsItsOwnCount)
{
    std::vector<BondEndData> ends;
    for (int i = 0; i < 4; ++i)
        ends.emplace_back(Point(i, i != 1));
    const BondData bond(ZMR3_DISTANCE, ends, true, 2.5);
    YSK_dnode_data_s record;
    record.reserved0 = 7;  // whatever the record held before is cleared
    bond.ToYSK(record);
    EXPECT_EQ(bond.GetEndCount(), 4u);
    EXPECT_EQ(record.type, ZMR3_DISTANCE);
    EXPECT_EQ(record.value, 2.5);
    EXPECT_EQ(record.rigid, 1);
    EXPECT_EQ(record.relation, 0);
    EXPECT_EQ(record.reserved0, 0);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        GeometryBase* g = ends[static_cast<size_t>(i)].GetGeometry();
        EXPECT_EQ(record.ends[i].node, g->GetGNode());  // null for the end not yet in the system
        EXPECT_EQ(record.ends[i].application, g);
        EXPECT_EQ(record.ends[i].entity, 0);
        EXPECT_EQ(record.ends[i].reserved5, 1);
        EXPECT_EQ(record.ends[i].reserved7, 10);
    }
    EXPECT_EQ(record.ends[1].node, nullptr);
    EXPECT_EQ(record.node, nullptr);
}

TEST_F(AutoConstraintRecords, AnEndOfAKernelGeometryCarriesItsEntityAndInstance)
{
    const int block = brennik::build::Block();
    Instance* instance = Place(block, Moved(1, 2, 3));
    const int face = BlockFace(block, 0, 0, 1);
    Geometry* g = Geom(face, instance);
    g->AddToZMR();
    YSK_dimension_end_s end;
    EXPECT_TRUE(BondEndData(g).ToYSK(end));
    EXPECT_EQ(end.entity, face);
    EXPECT_EQ(end.instance, instance);
    EXPECT_EQ(end.node, g->GetGNode());
    EXPECT_EQ(end.flag, 0);
    EXPECT_EQ(end.kind, 0);
}

TEST_F(AutoConstraintRecords, ARelationshipLeavesTypeValueAndRigidWordAtZero)
{
    const RelationshipData relationship(YSK_RELATION_SIMILAR, {BondEndData(Point(0, true)), BondEndData(Point(1, true))});
    RelationshipDataArray array;
    EXPECT_TRUE(array.AddData(relationship));
    const std::vector<YSK_dnode_data_s> records = array.ToYSK();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].relation, YSK_RELATION_SIMILAR);
    EXPECT_EQ(records[0].type, 0);
    EXPECT_EQ(records[0].value, 0.0);
    EXPECT_EQ(records[0].rigid, 0);
    EXPECT_NE(records[0].ends[1].node, nullptr);
}

TEST_F(AutoConstraintRecords, FindOptionsPointIntoTheirOwnListsAndCopies)
{
    const FindOptionsData none({}, {}, false, true);
    FindOptionsData copy(none);
    EXPECT_EQ(copy.Get()->symmetry_planes, nullptr);
    EXPECT_EQ(copy.Get()->symmetry_plane_count, 0);
    EXPECT_EQ(copy.Get()->similar_match_axes, 1);

    const int block = brennik::build::Block();
    Instance* instance = Place(block, Moved(0, 0, 0));
    KeyReference plane(nullptr, BlockFace(block, 1, 0, 0), instance);
    auto options = std::make_unique<FindOptionsData>(std::vector<Reference*>{&plane}, std::vector<Reference*>{}, true, false);
    copy = *options;
    options.reset();
    copy.SetPass(1);
    ASSERT_EQ(copy.Get()->symmetry_plane_count, 1);
    EXPECT_EQ(copy.Get()->symmetry_planes, copy.GetSymmetryPlanes().data());
    EXPECT_EQ(copy.Get()->symmetry_planes[0].entity, plane.GetEntityTag());
    EXPECT_EQ(copy.Get()->symmetry_planes[0].instance, instance);
    EXPECT_EQ(copy.Get()->coplaxis, nullptr);
    EXPECT_EQ(copy.Get()->symmetry_match_exact, 1);
    EXPECT_EQ(copy.Get()->pass, 1);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
