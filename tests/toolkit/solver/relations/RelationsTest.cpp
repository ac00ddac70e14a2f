// Relations into the Solver: what each relation type becomes under the two auto-constraint
// switches (bonds, a pending record for the manager, fixed geometry, a rigid group or nothing),
// and that adding a relation or a virtual vertex again adds nothing more.
#include "../SolverFixture.h"

#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "model/references/VirtualVertex.h"
#include "solver/RigidGroup.h"
#include "solver/SolverObjects.h"

#include <hxr.h>

#include <string>

namespace QEL {
namespace testing {
namespace {

// The references a case names: faces of a block, faces of a turned part, and the top faces of
// two separate blocks placed by Instances.
enum Named {
    Top, Bottom, Side, Front, Left,
    Cylinder, OtherCylinder, Cone, Torus, TurnedPlane,
    PlacedTop, OtherPlacedTop,
};

class RelationsTest : public SolverTest {
protected:
    void SetUp() override
    {
        SolverTest::SetUp();
        const int block = brennik::build::Block(10, 20, 30);
        const int turned = brennik::build::TurnedPart();
        const std::vector<int> cylinders = OfClass(BodyFaces(turned), KernelClassCylinder);
        ASSERT_GE(cylinders.size(), 2u);
        const std::vector<int> cones = OfClass(BodyFaces(turned), KernelClassCone);
        const std::vector<int> tori = OfClass(BodyFaces(turned), KernelClassTorus);
        const std::vector<int> planes = OfClass(BodyFaces(turned), KernelClassPlane);
        ASSERT_FALSE(cones.empty() || tori.empty() || planes.empty());
        const int first = brennik::build::Block(10, 10, 10);
        const int second = brennik::build::Block(10, 10, 10);
        Instance* a = Place(first, Moved(0, 0, 0));
        Instance* b = Place(second, Moved(40, 0, 0));
        m_named = {Make(BlockFace(block, 0, 0, 1)), Make(BlockFace(block, 0, 0, -1)), Make(BlockFace(block, 1, 0, 0)),
                   Make(BlockFace(block, 0, -1, 0)), Make(BlockFace(block, -1, 0, 0)), Make(cylinders[0]),
                   Make(cylinders[1]), Make(cones[0]), Make(tori[0]), Make(planes[0]),
                   Make(BlockFace(first, 0, 0, 1), a), Make(BlockFace(second, 0, 0, 1), b)};
    }
    Reference* Make(int entity, Instance* instance = nullptr)
    {
        Reference* reference = Reference::Create(m_interaction, entity, instance);
        EXPECT_NE(reference, nullptr);
        return reference;
    }
    Relation* Relate(RelationType type, std::vector<Named> names)
    {
        std::vector<Reference*> references;
        for (Named name : names)
            references.push_back(m_named[name]);
        return Relation::Create(m_interaction, type, references);
    }

    std::vector<Reference*> m_named;
};

// What the Solver made of one relation.
enum Kind { Bonds, BondRecord, RelationshipRecord, Nothing, Fixed, Rigid };
struct Outcome {
    Kind kind;
    int type = 0;    // the main bond's or the record's type
    int count = 0;   // bonds made
};
Outcome B(int type, int count = 1) { return {Bonds, type, count}; }
Outcome Record(int type) { return {BondRecord, type, 0}; }
Outcome Relationship(int type) { return {RelationshipRecord, type, 0}; }
const Outcome kNothing{Nothing};
const Outcome kFixed{Fixed};
const Outcome kRigid{Rigid};

struct Case {
    const char* name;
    RelationType type;
    std::vector<Named> references;
    // With both switches at their defaults; with every suitable relation to the manager;
    // with the manager left out.
    Outcome defaults, toManager, direct;
};

TEST_F(RelationsTest, EachTypeBecomesBondsOrRecordsAsTheSwitchesSay)
{
    const Case cases[] = {
        {"distance", RelationTypeDistance, {Top, Bottom}, B(ZMR3_DISTANCE), B(ZMR3_DISTANCE), B(ZMR3_DISTANCE)},
        {"directed distance", RelationTypeDirectedDistance, {Side, Left, Front}, B(ZMR3_DISTANCE), B(ZMR3_DISTANCE),
         B(ZMR3_DISTANCE)},
        {"angle", RelationTypeAngle, {Top, Side}, B(ZMR3_ANGLE), B(ZMR3_ANGLE), B(ZMR3_ANGLE)},
        {"planar angle", RelationTypePlanarAngle, {Side, Front, Top}, B(ZMR3_ANGLE, 3), B(ZMR3_ANGLE, 3),
         B(ZMR3_ANGLE, 3)},
        {"half angle", RelationTypeHalfAngle, {Cone}, B(ZMR3_HALF_ANGLE), B(ZMR3_HALF_ANGLE), B(ZMR3_HALF_ANGLE)},
        {"radius", RelationTypeRadius, {Cylinder}, B(ZMR3_RADIUS), B(ZMR3_RADIUS), B(ZMR3_RADIUS)},
        {"radius of a torus", RelationTypeRadius, {Torus}, B(ZMR3_MAJOR_RADIUS), B(ZMR3_MAJOR_RADIUS),
         B(ZMR3_MAJOR_RADIUS)},
        {"minor radius", RelationTypeMinorRadius, {Torus}, B(ZMR3_MINOR_RADIUS), B(ZMR3_MINOR_RADIUS),
         B(ZMR3_MINOR_RADIUS)},
        {"equal radius", RelationTypeEqualRadius, {Cylinder, OtherCylinder}, B(ZMR3_EQUAL_RADIUS),
         Record(ZMR3_EQUAL_RADIUS), B(ZMR3_EQUAL_RADIUS)},
        {"similar", RelationTypeSimilar, {Cylinder, OtherCylinder}, Relationship(YSK_RELATION_SIMILAR),
         Relationship(YSK_RELATION_SIMILAR), kNothing},
        {"parallel", RelationTypeParallel, {Top, Bottom}, B(ZMR3_PARALLEL), Record(ZMR3_PARALLEL), B(ZMR3_PARALLEL)},
        {"perpendicular", RelationTypePerpendicular, {Top, Side}, B(ZMR3_PERPENDICULAR), Record(ZMR3_PERPENDICULAR),
         B(ZMR3_PERPENDICULAR)},
        {"coincident", RelationTypeCoincident, {Top, Bottom}, B(ZMR3_COINCIDENT), Record(ZMR3_COINCIDENT),
         B(ZMR3_COINCIDENT)},
        {"concentric", RelationTypeConcentric, {Cylinder, OtherCylinder}, B(ZMR3_CONCENTRIC), Record(ZMR3_CONCENTRIC),
         B(ZMR3_CONCENTRIC)},
        {"tangent, adjacent faces", RelationTypeTangent, {Top, Side}, Relationship(YSK_RELATION_TANGENT),
         Relationship(YSK_RELATION_TANGENT), B(ZMR3_TANGENT)},
        {"tangent, faces of two bodies", RelationTypeTangent, {PlacedTop, OtherPlacedTop}, B(ZMR3_TANGENT),
         Record(ZMR3_TANGENT), B(ZMR3_TANGENT)},
        {"symmetric", RelationTypeSymmetric, {Side, Left, Front}, B(ZMR3_SYMMETRIC), Record(ZMR3_SYMMETRIC),
         B(ZMR3_SYMMETRIC)},
        {"coplanar planes", RelationTypeCoPlanar, {Top, Bottom}, Relationship(YSK_RELATION_COPLANAR),
         Relationship(YSK_RELATION_COPLANAR), B(ZMR3_COINCIDENT)},
        {"coplanar plane and cylinder", RelationTypeCoPlanar, {TurnedPlane, Cylinder},
         Relationship(YSK_RELATION_COPLANAR), Relationship(YSK_RELATION_COPLANAR), kNothing},
        {"coplaxis", RelationTypeCoPlaxis, {Cylinder, OtherCylinder, TurnedPlane}, Relationship(YSK_RELATION_COPLAXIS),
         Relationship(YSK_RELATION_COPLAXIS), kNothing},
        {"fixed", RelationTypeFixed, {Top}, kFixed, kFixed, kFixed},
        {"rigid", RelationTypeRigid, {Top, Side}, kRigid, kRigid, kRigid},
    };
    for (const Case& c : cases) {
        Relation* relation = Relate(c.type, c.references);
        ASSERT_NE(relation, nullptr) << c.name;
        const struct {
            const char* column;
            bool toManager, relationshipsOnly;
            Outcome expected;
        } columns[] = {{"defaults", true, true, c.defaults},
                       {"to the manager", true, false, c.toManager},
                       {"direct", false, true, c.direct}};
        for (const auto& column : columns) {
            SCOPED_TRACE(std::string(c.name) + ", " + column.column);
            m_solver.reset(new Solver());
            m_solver->SetUseAddBondsForRelations(column.toManager);
            m_solver->SetUseAddBondsForRelationshipsOnly(column.relationshipsOnly);
            // The references' geometry as the configure leaves it, so a rigid group has it to hold.
            for (Reference* reference : relation->GetReferences())
                m_solver->GetOrMakeGeometryToDrag(reference);
            m_solver->AddRelation(relation);

            const Outcome& expected = column.expected;
            const std::list<Bond*>* bonds = m_solver->GetRelationBonds(relation);
            const size_t pendingBonds = m_solver->GetPendingBonds().Size();
            const size_t pendingRelationships = m_solver->GetPendingRelationships().Size();
            switch (expected.kind) {
            case Bonds: {
                ASSERT_NE(bonds, nullptr);
                ASSERT_EQ(bonds->size(), static_cast<size_t>(expected.count));
                ZMR3_d_type type = ZMR3_DISTANCE;
                ASSERT_TRUE(bonds->front() && bonds->front()->GetType(type));
                EXPECT_EQ(type, expected.type);
                bool rigid = false;
                EXPECT_TRUE(bonds->front()->GetRigid(rigid) && rigid);
                double value = -1;
                bonds->front()->GetValue(value);
                EXPECT_DOUBLE_EQ(value, relation->GetValue());
                EXPECT_EQ(pendingBonds + pendingRelationships, 0u);
                break;
            }
            case BondRecord:
                ASSERT_NE(bonds, nullptr);
                EXPECT_EQ(*bonds, std::list<Bond*>{nullptr});
                ASSERT_EQ(pendingBonds, 1u);
                EXPECT_EQ(pendingRelationships, 0u);
                EXPECT_EQ(m_solver->GetPendingBonds().GetData()[0].GetType(), expected.type);
                EXPECT_FALSE(m_solver->GetPendingBonds().GetData()[0].GetRigid());
                EXPECT_EQ(m_solver->GetPendingBonds().GetData()[0].GetValue(), -1.0);
                EXPECT_EQ(m_solver->GetPendingBonds().GetData()[0].GetEndCount(), c.references.size());
                break;
            case RelationshipRecord:
                ASSERT_NE(bonds, nullptr);
                EXPECT_EQ(*bonds, std::list<Bond*>{nullptr});
                EXPECT_EQ(pendingBonds, 0u);
                ASSERT_EQ(pendingRelationships, 1u);
                EXPECT_EQ(m_solver->GetPendingRelationships().GetData()[0].GetType(), expected.type);
                for (const BondEndData& end : m_solver->GetPendingRelationships().GetData()[0].GetEnds())
                    EXPECT_NE(end.GetGeometry(), nullptr);
                break;
            case Nothing:
                EXPECT_EQ(bonds, nullptr);
                EXPECT_EQ(pendingBonds + pendingRelationships, 0u);
                EXPECT_TRUE(m_solver->GetBondList()->empty());
                break;
            case Fixed:
                EXPECT_EQ(bonds, nullptr);
                for (Reference* reference : relation->GetReferences())
                    EXPECT_TRUE(m_solver->FindGeometry(reference) && m_solver->FindGeometry(reference)->IsFixed());
                break;
            case Rigid: {
                EXPECT_EQ(bonds, nullptr);
                Geometry* first = m_solver->FindGeometry(relation->GetReference(0));
                Geometry* second = m_solver->FindGeometry(relation->GetReference(1));
                ASSERT_TRUE(first && second);
                EXPECT_NE(first->GetSet(), nullptr);
                EXPECT_EQ(first->GetSet(), second->GetSet());
                break;
            }
            }
        }
    }
}

// A relation already in the Solver adds no second set of bonds, and a pending record is
// queued once.
TEST_F(RelationsTest, TheSameRelationAddedTwiceMakesItsBondsOnce)
{
    Relation* angle = Relate(RelationTypePlanarAngle, {Side, Front, Top});
    Relation* coplanar = Relate(RelationTypeCoPlanar, {Top, Bottom});
    for (int pass = 0; pass < 2; ++pass) {
        m_solver->AddRelation(angle);
        m_solver->AddRelation(coplanar);
    }
    EXPECT_EQ(m_solver->GetRelationBonds(angle)->size(), 3u);
    EXPECT_EQ(m_solver->GetBondList()->size(), 3u);
    EXPECT_EQ(m_solver->GetPendingRelationships().Size(), 1u);
}

// The planar angle's extra bonds hold its two lines across its plane, so the angle is measured
// in that plane.
TEST_F(RelationsTest, PlanarAngleHoldsBothLinesAcrossItsPlane)
{
    Relation* angle = Relate(RelationTypePlanarAngle, {Side, Front, Top});
    m_solver->AddRelation(angle);
    const std::list<Bond*>& bonds = *m_solver->GetRelationBonds(angle);
    ASSERT_EQ(bonds.size(), 3u);
    std::vector<Bond*> list(bonds.begin(), bonds.end());
    EXPECT_NE(dynamic_cast<PlanarAngleBond*>(list[0]), nullptr);
    GeometryBase* plane = m_solver->FindGeometry(m_named[Top]);
    for (int i : {1, 2}) {
        ZMR3_d_type type = ZMR3_DISTANCE;
        ASSERT_TRUE(list[i]->GetType(type));
        EXPECT_EQ(type, ZMR3_PERPENDICULAR);
        EXPECT_EQ(list[i]->GetGeom(0), m_solver->FindGeometry(m_named[i == 1 ? Side : Front]));
        EXPECT_EQ(list[i]->GetGeom(1), plane);
    }
}

// A virtual vertex's point coincides with each defining face; a second add changes nothing.
TEST_F(RelationsTest, VirtualVertexTiesItsPointToEachDefiningReferenceOnce)
{
    std::vector<Reference*> defining = {m_named[Top], m_named[Side], m_named[Front]};
    const double corner[3] = {10, 0, 30};
    VirtualVertex* vertex = VirtualVertex::Create(m_interaction, defining, corner);
    ASSERT_NE(vertex, nullptr);
    m_solver->AddVirtualVertex(vertex);
    m_solver->AddVirtualVertex(vertex);
    const std::list<Bond*>* bonds = m_solver->GetVirtualVertexBonds(vertex);
    ASSERT_NE(bonds, nullptr);
    ASSERT_EQ(bonds->size(), 3u);
    GeometryBase* point = m_solver->FindGeometry(vertex->GetPointReference());
    int i = 0;
    for (Bond* bond : *bonds) {
        ZMR3_d_type type = ZMR3_DISTANCE;
        ASSERT_TRUE(bond->GetType(type));
        EXPECT_EQ(type, ZMR3_COINCIDENT);
        EXPECT_EQ(bond->GetGeom(0), point);
        EXPECT_EQ(bond->GetGeom(1), m_solver->FindGeometry(defining[i++]));
    }
    EXPECT_EQ(m_solver->GetBondList()->size(), 3u);
    EXPECT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
}

// An add-on feature's faces make one rigid group, made on the first request and given back on
// every later one; a tag the add-on does not know gives no group and leaves the output alone.
TEST_F(RelationsTest, AddOnFeatureFacesMakeOneRigidGroup)
{
    const int topols[] = {m_named[Top]->GetEntityTag(), m_named[Side]->GetEntityTag()};
    const int labels[] = {1, 2};
    const HXR_TOPOL_make_feat_o_s options{1, 0, nullptr, nullptr, 0};
    int feature = 0;
    ASSERT_EQ(HXR_TOPOL_make_feat(2, topols, labels, 1, 7, &options, &feature), HXR_ERROR_none);

    std::vector<Reference*> references;
    m_solver->GetFeatureReferences(m_interaction, feature, references);
    EXPECT_EQ(references, (std::vector<Reference*>{m_named[Top], m_named[Side]}));
    std::vector<Reference*> again;
    m_solver->GetFeatureReferences(m_interaction, feature, again);
    EXPECT_EQ(again, references);

    std::vector<Reference*> untouched = {m_named[Bottom]};
    EXPECT_FALSE(m_solver->MakeRigidGroupForFeature(m_interaction, feature + 1000));
    m_solver->GetFeatureReferences(m_interaction, feature + 1000, untouched);
    EXPECT_EQ(untouched, std::vector<Reference*>{m_named[Bottom]});
}

}  // namespace
}  // namespace testing
}  // namespace QEL
