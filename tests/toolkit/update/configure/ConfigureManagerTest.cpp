// The configure of an edit on real bodies, solved for real: what it walks to from the moved
// face goes into the solve and is stored as found data, a relaxed found data keeps its
// relation out of the next edit, and a failure the level's bonds cause is reported.
#include "ConfigureFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "update/finding/RelationFinder.h"
#include "update/records/FoundData.h"
#include "update/records/Rule.h"

namespace QEL {
namespace testing {
namespace {

class BlockConfigureTest : public ConfigureTest {
protected:
    void SetUp() override
    {
        ConfigureTest::SetUp();
        m_block = brennik::build::Block(10, 20, 30);
        m_top = BlockFace(m_block, 0, 0, 1);
        m_bottom = BlockFace(m_block, 0, 0, -1);
        m_height = Relation::CreateBinary(m_interaction, RelationTypeDistance, Ref(m_top), Ref(m_bottom));
        ASSERT_NE(m_height, nullptr);
    }
    // The top dragged +5 through a full configure and a real solve.
    void DragTopBy5()
    {
        SolverDragLinear* drag = nullptr;
        UpdateStatus status = UpdateApplied;
        ASSERT_TRUE(ConfigureDrag(drag, m_top, 5.0, status));
        ASSERT_NE(status, UpdateSolveFailed);
        ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
        ASSERT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
        ASSERT_LT(Distance(DragSetMoved(drag), Vec(0, 0, 5)), 1e-9);
    }

    int m_block = 0, m_top = 0, m_bottom = 0;
    Relation* m_height = nullptr;
};

TEST_F(BlockConfigureTest, TheHeightFollowsTheDraggedTopAndIsStoredAsFoundAtLevelZero)
{
    DragTopBy5();
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 5)), 1e-9);

    ASSERT_EQ(m_interaction->GetFoundData().size(), 1u);
    FoundData* found = m_interaction->GetFoundData().front();
    EXPECT_EQ(found->GetQELObject(), m_height);
    EXPECT_EQ(found->GetFoundLevel(), 0);
    EXPECT_TRUE(found->GetFoundInLastConfigure());
    EXPECT_EQ(m_height->GetFoundData(), found);
}

TEST_F(BlockConfigureTest, ARelaxedFoundDataLeavesItsRelationOutOfTheNextEdit)
{
    DragTopBy5();
    FoundData* found = m_interaction->GetFoundData().front();
    found->SetState(FoundDataStateRelax);

    NewEdit();
    DragTopBy5();
    // The bottom stays: the height is now 35.
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 0)), 1e-9);
    EXPECT_EQ(S()->GetRelationBonds(m_height), nullptr);
    // The stored found data is kept, and tells that this configure did not meet it.
    ASSERT_EQ(m_interaction->GetFoundData().size(), 1u);
    EXPECT_FALSE(found->GetFoundInLastConfigure());
}

// The configure from the relations takes every valid relation, a relaxed one too, and keeps
// no found data.
TEST_F(BlockConfigureTest, TheConfigureFromRelationsTakesEveryRelationAndStoresNothing)
{
    DragTopBy5();
    m_interaction->GetFoundData().front()->SetState(FoundDataStateRelax);
    NewEdit();
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, m_top, 5.0, status, false));
    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    ASSERT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(Moved(m_bottom), Vec(0, 0, 5)), 1e-9);
    EXPECT_EQ(m_interaction->GetFoundData().size(), 1u);
}

// An operation without seeds finds nothing, and the stored found data lose their found flags.
TEST_F(BlockConfigureTest, AnOperationWithoutSeedsFindsNothing)
{
    DragTopBy5();
    NewEdit();
    SolverEvaluate empty(m_interaction);
    ConfigureManager manager(m_interaction, S(), Ysk(), &empty);
    UpdateStatus status = UpdateApplied;
    EXPECT_TRUE(manager.Configure(status));
    EXPECT_EQ(manager.GetFoundDataCount(), 0);
    EXPECT_FALSE(m_interaction->GetFoundData().front()->GetFoundInLastConfigure());
}

// The level's own bonds that the manager refuses make the edit unsolvable: the caller hears
// of it instead of going on.
// A free corner the relation finder reached is held on the faces that take part by tipping
// points while it is tried; no lock taking it, its tipping points leave the Solver again.
TEST_F(BlockConfigureTest, AReachedFreeCornerIsReleasedWhenNoLockTakesIt)
{
    ConfigureManager manager(m_interaction, S(), Ysk(), nullptr);
    ConfigureKeyList keys;
    ASSERT_TRUE(manager.AddAllRelations(0, keys));
    std::vector<int> corners;
    GetFaceVertices(m_top, &corners);
    std::vector<FoundEntityData> reached;
    manager.MakeFoundEntities({corners.front()}, reached);
    ASSERT_EQ(reached.size(), 1u);
    EXPECT_EQ(reached.front().m_kind, FoundEntityData::Vertex);
    EXPECT_TRUE(reached.front().m_lockable);
    EXPECT_TRUE(reached.front().m_removable);

    manager.AddFoundEntityTippingPoints(1, reached);
    ASSERT_EQ(reached.front().m_tippingIndices.size(), 1u);
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(S()->AddConfigureFoundData(manager.GetFoundData(), status, Ysk(), false));
    TippingPointData& point =
        manager.GetFoundData().GetRecords()[static_cast<size_t>(reached.front().m_tippingIndices.front())]
            .GetTippingPointData();
    ASSERT_NE(point.GetBond(), nullptr);
    EXPECT_TRUE(manager.ReleaseFoundEntities(reached));
    EXPECT_EQ(point.GetBond(), nullptr);
    EXPECT_EQ(S()->FindGeometry(GeometryKey(corners.front(), nullptr)), nullptr);
}

TEST_F(BlockConfigureTest, LockingPassesOnAFailureOfTheLevelsBonds)
{
    Geometry* top = S()->GetOrMakeGeometry(GeometryKey(m_top, nullptr));
    Geometry* bottom = S()->GetOrMakeGeometry(GeometryKey(m_bottom, nullptr));
    top->AddToZMR();
    bottom->AddToZMR();
    S()->GetPendingBonds().AddData(BondData(ZMR3_DISTANCE, {BondEndData(top), BondEndData(bottom)}, true, 30.0));
    ConfigureManager manager(m_interaction, S(), nullptr, nullptr);
    std::vector<FoundEntityData> reached(1);
    reached.front().m_entity = m_bottom;
    UpdateStatus status = UpdateApplied;
    EXPECT_FALSE(manager.LockFoundEntities(reached, status));
    EXPECT_EQ(status, UpdateSolveFailed);
}

// The thin-walled box: a wall whose only held face is the dragged one stays out of the solve,
// and takes part once a face on its other side is held.
class ThinWallConfigureTest : public ConfigureTest {
protected:
    void SetUp() override
    {
        ConfigureTest::SetUp();
        m_box = brennik::build::ThinWalledBox(1.0);
        std::vector<int> side;
        std::vector<int> partners;
        for (int face : BodyFaces(m_box)) {
            if (GetGeometryClassOfTopology(face) == KernelClassPlane && FindShellCluster(face, &side, &partners, nullptr) &&
                !partners.empty()) {
                m_outer = face;
                m_inner = partners.front();
                break;
            }
        }
        ASSERT_NE(m_outer, 0);
    }
    const ConfigureFoundData* ShellRecord() const
    {
        for (const ConfigureFoundData& record : m_manager->GetFoundData().GetRecords())
            if (record.GetKind() == ConfigureFoundDataShellCluster)
                return &record;
        return nullptr;
    }

    int m_box = 0, m_outer = 0, m_inner = 0;
};

TEST_F(ThinWallConfigureTest, AWallHeldOnlyAtTheDraggedFaceIsRelaxedAndItsPartnersStayOut)
{
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, m_outer, 2.0, status));
    const ConfigureFoundData* shell = ShellRecord();
    ASSERT_NE(shell, nullptr);
    EXPECT_TRUE(shell->IsRelaxed());
    EXPECT_FALSE(shell->GetApplied());
    EXPECT_EQ(m_manager->GetRelatedEntities().count(m_inner), 0u);
    EXPECT_TRUE(m_manager->GetShellClusters().ContainsFace(m_inner, nullptr));
}

// A relation the relation finder reaches a relaxed wall with at a later level makes the wall
// take part, and the walk goes on from the relation's other reference.
TEST_F(ThinWallConfigureTest, ARelationFoundOnARelaxedWallMakesItTakePart)
{
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, m_outer, 2.0, status));
    ASSERT_TRUE(ShellRecord()->IsRelaxed());
    const int other = BlockFace(m_box, 0, 0, -1);
    Relation* found = Relation::CreateBinary(m_interaction, RelationTypeParallel, Ref(m_inner), Ref(other));
    ASSERT_NE(found, nullptr);
    ConfigureKeyList next;
    m_manager->AddFoundRelations(1, {found, found}, next);
    EXPECT_FALSE(ShellRecord()->IsRelaxed());
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next.front().first, other);
    EXPECT_EQ(m_manager->GetRelatedEntities().count(m_inner), 1u);
}

TEST_F(ThinWallConfigureTest, AWallHeldOnItsOtherSideTakesPart)
{
    ASSERT_NE(Relation::CreateUnary(m_interaction, RelationTypeFixed, Ref(m_inner)), nullptr);
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ConfigureDrag(drag, m_outer, 2.0, status);
    const ConfigureFoundData* shell = ShellRecord();
    ASSERT_NE(shell, nullptr);
    EXPECT_FALSE(shell->IsRelaxed());
    EXPECT_TRUE(shell->GetApplied());
    EXPECT_EQ(m_manager->GetRelatedEntities().count(m_inner), 1u);
    // The cluster is stored for the next edit.
    bool stored = false;
    for (FoundData* found : m_interaction->GetFoundData())
        stored |= found->GetFoundDataType() == FoundDataTypeShell;
    EXPECT_TRUE(stored);
}

// The same on a tube: its outer cylinder moved sideways while a relation holds the inner one,
// so the wall takes part and the inner cylinder follows on the outer's axis.
TEST_F(ConfigureTest, ATubeWallHeldOnItsInnerSideMovesWholeAndKeepsItsThickness)
{
    const int tube = brennik::build::ThinWalledTube(2.0);
    int outer = 0, inner = 0;
    for (int face : BodyFaces(tube)) {
        double radius = 0.0;
        if (GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, &radius, nullptr, nullptr) !=
            KernelClassCylinder)
            continue;
        (std::abs(radius - 20) < 1e-9 ? outer : inner) = face;
    }
    ASSERT_TRUE(outer && inner);
    const int end = BlockFace(tube, 0, 0, -1);
    ASSERT_NE(Relation::CreateBinary(m_interaction, RelationTypePerpendicular, Ref(inner), Ref(end)), nullptr);

    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, outer, 2.0, status, true, Vec(1, 0, 0)));
    ASSERT_NE(status, UpdateSolveFailed);
    const ConfigureFoundData* shell = nullptr;
    for (const ConfigureFoundData& record : m_manager->GetFoundData().GetRecords())
        if (record.GetKind() == ConfigureFoundDataShellCluster)
            shell = &record;
    ASSERT_NE(shell, nullptr);
    EXPECT_FALSE(shell->IsRelaxed());
    // The wall's bonds: the drag's own bonds join other geometry.
    Geometry* outerGeometry = S()->FindGeometry(GeometryKey(outer, nullptr));
    Geometry* innerGeometry = S()->FindGeometry(GeometryKey(inner, nullptr));
    ASSERT_TRUE(outerGeometry && innerGeometry);
    int distances = 0;
    for (Bond* bond : *S()->GetBondList()) {
        ZMR3_d_type type = ZMR3_DISTANCE;
        if (!bond->GetType(type) || type != ZMR3_DISTANCE || bond->GetGeomCount() != 2)
            continue;
        const std::set<GeometryBase*> joined{bond->GetGeom(0), bond->GetGeom(1)};
        distances += joined == std::set<GeometryBase*>{outerGeometry, innerGeometry};
    }
    EXPECT_EQ(distances, 1) << "one face per side: the thickness alone";

    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    ASSERT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(DragSetMoved(drag), Vec(2, 0, 0)), 1e-9);
    EXPECT_LT(Distance(Moved(inner), Vec(2, 0, 0)), 1e-9);
    EXPECT_NEAR(RadiusChange(inner), RadiusChange(outer), 1e-9);
}

// The face under a chain of blends moves: the chain that depends on it is recorded for the
// apply step to make again.
TEST_F(ConfigureTest, TheBlendChainOverAMovedFaceIsRecorded)
{
    const int body = brennik::build::BlockWithBlendChain(2.0);
    const int face = BlockFace(body, 1, 0, 0);
    ASSERT_NE(face, 0);
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, face, 1.0, status, true, Vec(1, 0, 0)));
    std::vector<ReblendChain> chains;
    ASSERT_TRUE(m_manager->GetReblendChains().ContainsTagAsBlendDependent(face, chains));
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains.front().GetFaceArrayCount(), 3u);
    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    EXPECT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
    EXPECT_LT(Distance(DragSetMoved(drag), Vec(1, 0, 0)), 1e-9);
}

// With parallel planes offered to the configure's levels, the relation finder's relation
// between the dragged top and the bottom is walked at level 1, stored as found there, and the
// level loop ends once a level adds nothing.
TEST_F(ConfigureTest, TheLevelLoopTakesTheRelationsTheFinderFinds)
{
    const int block = brennik::build::Block(10, 20, 30);
    const int top = BlockFace(block, 0, 0, 1);
    const int bottom = BlockFace(block, 0, 0, -1);
    RelationFinder::Of(m_interaction)->SetRelationGeometryOption(FindRelationTypeParallel, FindGeometryTypePlane,
                                                                 FindGeometryTypePlane, 5);
    SolverDragLinear* drag = nullptr;
    UpdateStatus status = UpdateApplied;
    ASSERT_TRUE(ConfigureDrag(drag, top, 5.0, status));
    ASSERT_NE(status, UpdateSolveFailed);
    Relation* parallel = nullptr;
    for (FoundData* found : m_interaction->GetFoundData()) {
        Relation* relation = dynamic_cast<Relation*>(found->GetQELObject());
        if (relation && relation->GetType() == RelationTypeParallel && relation->GetNumReferences() == 2 &&
            relation->GetReference(1)->GetEntityTag() == bottom) {
            parallel = relation;
            EXPECT_EQ(found->GetFoundLevel(), 1);
        }
    }
    ASSERT_NE(parallel, nullptr);
    EXPECT_NE(S()->GetRelationBonds(parallel), nullptr);
    EXPECT_EQ(m_manager->GetRelatedEntities().count(bottom), 1u);
    ASSERT_EQ(drag->Solve(S()), ResultTypeOk);
    EXPECT_EQ(S()->GetSolveStatus(), SolveStatusSolved);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
