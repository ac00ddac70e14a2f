// Relations on real geometry: the values measured at creation, whether the geometry satisfies
// them, the duplicate search, reference bookkeeping, subtypes, validity and rollback.
#include "RelationFixture.h"

#include "core/enums/EnumNames.h"
#include "core/maths/Tolerance.h"

namespace QEL {
namespace testing {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST_F(RelationTest, GeometricSatisfactionOnRealGeometry)
{
    Instance* part = Place(m_part);
    Instance* nudged = Place(m_part, 1e-7);
    Instance* elsewhere = Place(m_part, 100.0);
    Reference* top = Ref(Top());
    Reference* bottom = Ref(Bottom());
    Reference* side = Ref(Side());
    Reference* front = Ref(Front());
    Reference* wide = Ref(PartFace(KernelClassCylinder, 20.0));
    Reference* narrow = Ref(PartFace(KernelClassCylinder, 12.0));
    Reference* sphere = Ref(PartFace(KernelClassSphere));
    Reference* wideOnPart = Ref(PartFace(KernelClassCylinder, 20.0), part);
    Reference* wideNudged = Ref(PartFace(KernelClassCylinder, 20.0), nudged);
    Reference* wideElsewhere = Ref(PartFace(KernelClassCylinder, 20.0), elsewhere);
    Reference* touching = Ref(brennik::build::FreePlane(20, 0, 0, 1, 0, 0));
    Reference* clear = Ref(brennik::build::FreePlane(20.5, 0, 0, 1, 0, 0));
    Reference* pointOnPlane = Ref(brennik::build::FreePoint(3, 4, 20));
    Reference* freeXY = Ref(brennik::build::FreePlane(0, 0, 20, 0, 0, 1));

    struct Case {
        const char* what;
        RelationType type;
        std::vector<Reference*> references;
        bool satisfied;
    } cases[] = {
        {"tangent plane at the radius", RelationTypeTangent, {wideOnPart, touching}, true},
        {"tangent plane off the radius", RelationTypeTangent, {wideOnPart, clear}, false},
        {"tangent between two planes", RelationTypeTangent, {top, bottom}, false},
        {"coaxial cylinders concentric", RelationTypeConcentric, {wide, narrow}, true},
        {"cylinders 1e-7 apart concentric", RelationTypeConcentric, {wideOnPart, wideNudged}, false},
        {"sphere centred on the axis", RelationTypeConcentric, {sphere, narrow}, true},
        {"opposite faces parallel", RelationTypeParallel, {top, bottom}, true},
        {"neighbours parallel", RelationTypeParallel, {top, side}, false},
        {"neighbours perpendicular", RelationTypePerpendicular, {side, front}, true},
        {"opposite faces perpendicular", RelationTypePerpendicular, {top, bottom}, false},
        {"axis perpendicular to the end face", RelationTypePerpendicular, {wide, Ref(PartPlaneAt(0.0))},
         true},
        {"equal radius of one cylinder placed twice", RelationTypeEqualRadius, {wideOnPart, wideElsewhere}, true},
        {"equal radius of two cylinders", RelationTypeEqualRadius, {wide, narrow}, false},
        {"point on a plane coincident", RelationTypeCoincident, {pointOnPlane, freeXY}, true},
        {"unmeasurable distance across faces", RelationTypeDistance, {top, side}, true},
        {"coplanar is never tested", RelationTypeCoPlanar, {top, side}, true},
        {"similar is never tested", RelationTypeSimilar, {wide, narrow}, true},
        {"fixed is never tested", RelationTypeFixed, {top}, true},
        {"rigid is never tested", RelationTypeRigid, {wideOnPart, clear}, true},
        {"symmetric is never tested", RelationTypeSymmetric, {top, side, front}, true},
    };
    for (const Case& c : cases) {
        Relation* relation = Make(c.type, c.references);
        ASSERT_NE(relation, nullptr) << c.what;
        EXPECT_EQ(relation->IsGeometricallySatisfied(), c.satisfied) << c.what;
    }

    // A measured dimension is satisfied at its own value only.
    Relation* distance = Make(RelationTypeDistance, {top, bottom});
    EXPECT_TRUE(distance->IsGeometricallySatisfied());
    distance->SetValue(30.0 + 2e-8);
    EXPECT_FALSE(distance->IsGeometricallySatisfied());
}

TEST_F(RelationTest, DimensionRelationsCarryTheMeasuredValue)
{
    Reference* top = Ref(Top());
    Reference* bottom = Ref(Bottom());
    Reference* side = Ref(Side());
    Reference* front = Ref(Front());
    Reference* wide = Ref(PartFace(KernelClassCylinder, 20.0));
    Reference* torus = Ref(PartFace(KernelClassTorus));

    EXPECT_NEAR(Make(RelationTypeDistance, {bottom, top})->GetValue(), 30.0, 1e-9);
    EXPECT_NEAR(Make(RelationTypeRadius, {wide})->GetValue(), 20.0, 1e-9);
    EXPECT_NEAR(Make(RelationTypeMinorRadius, {torus})->GetValue(), 2.0, 1e-9);
    const double angle = Make(RelationTypePlanarAngle, {side, front, top})->GetValue();
    EXPECT_NEAR(std::fmod(angle, kPi), kPi / 2.0, 1e-9) << angle;
    // Not measurable: faces that meet have no distance.
    EXPECT_EQ(Make(RelationTypeDistance, {top, side})->GetValue(), 0.0);
    for (RelationType type : {RelationTypeParallel, RelationTypeTangent, RelationTypeCoPlanar})
        EXPECT_EQ(Make(type, {top, bottom})->GetValue(), 0.0) << RelationTypeToString(type);
}

TEST_F(RelationTest, DuplicatesNeedTheSameTypeReferencesSubtypesAndExactValue)
{
    Reference* wide = Ref(PartFace(KernelClassCylinder, 20.0));
    Reference* end = Ref(PartPlaneAt(0.0));
    Relation* first = Make(RelationTypeDistance, {wide, end});
    Relation* second = Make(RelationTypeDistance, {end, wide});
    Make(RelationTypeParallel, {wide, end});
    first->SetValue(10.0);
    second->SetValue(10.0000000001);

    std::vector<Relation*> found;
    EXPECT_EQ(first->FindDuplicates(found), 0);
    second->SetValue(10.0);
    EXPECT_EQ(first->FindDuplicates(found), 1);
    EXPECT_EQ(found[0], second);

    // Another subtype of one reference makes another relation.
    ASSERT_TRUE(second->SetRelationSubtype(wide, RelationSubtypeAxis, false));
    found.clear();
    EXPECT_EQ(first->FindDuplicates(found), 0);

    // Without a given relation the keys name the references and their subtypes.
    Relation::KeyMap keys{{{wide->GetEntityTag(), nullptr}, RelationSubtypeAxis},
                          {{end->GetEntityTag(), nullptr}, RelationSubtypeBoundary}};
    EXPECT_EQ(Relation::FindMatchingRelations(m_interaction, nullptr, RelationTypeDistance, 10.0, keys, found), 1);
    EXPECT_EQ(found[0], second);
    // A key with no reference behind it finds nothing.
    keys[{Top(), nullptr}] = RelationSubtypeBoundary;
    found.clear();
    EXPECT_EQ(Relation::FindMatchingRelations(m_interaction, nullptr, RelationTypeDistance, 10.0, keys, found), 0);
}

TEST_F(RelationTest, ReferencesComeAndGoWhileTheRelationStays)
{
    Instance* first = Place(m_block);
    Instance* second = Place(m_block, 50.0);
    Reference* topOnFirst = Ref(Top(), first);
    Reference* topOnSecond = Ref(Top(), second);
    Reference* sideOnSecond = Ref(Side(), second);
    Relation* relation = Make(RelationTypeParallel, {topOnFirst, topOnSecond});
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(topOnFirst->GetRelationCount(), 1);
    EXPECT_EQ(relation->GetReference(-1), nullptr);
    EXPECT_EQ(relation->GetReference(2), nullptr);

    EXPECT_FALSE(relation->ReplaceReference(topOnFirst, topOnSecond)) << "the replacement is there already";
    EXPECT_FALSE(relation->ReplaceReference(sideOnSecond, topOnFirst)) << "the old one is not there";
    EXPECT_EQ(relation->GetReference(0), topOnFirst);

    // Replaced by a reference on the same instance as the other: the combination is refused,
    // and the old reference is gone all the same.
    EXPECT_FALSE(relation->ReplaceReference(topOnFirst, sideOnSecond));
    EXPECT_EQ(relation->GetNumReferences(), 1);
    EXPECT_EQ(topOnFirst->GetRelationCount(), 0);

    // A destroyed reference leaves the relation alive with the others.
    Relation* fixed = Make(RelationTypeFixed, {topOnSecond, sideOnSecond});
    ASSERT_TRUE(fixed->SetRelationSubtype(topOnSecond, RelationSubtypeBoundary, false));
    topOnSecond->Destroy();
    EXPECT_EQ(fixed->GetNumReferences(), 1);
    EXPECT_EQ(fixed->GetReference(0), sideOnSecond);
    EXPECT_EQ(relation->GetNumReferences(), 0);
    EXPECT_EQ(m_interaction->GetRelationCount(), 2);
}

TEST_F(RelationTest, SubtypesMustSuitTheTypeAndTheGeometry)
{
    Reference* wide = Ref(PartFace(KernelClassCylinder, 20.0));
    Reference* sphere = Ref(PartFace(KernelClassSphere));
    Reference* end = Ref(PartPlaneAt(0.0));
    Reference* stranger = Ref(PartFace(KernelClassCone));
    Relation* distance = Make(RelationTypeDistance, {sphere, end});
    Relation* tangent = Make(RelationTypeTangent, {wide, end});

    EXPECT_FALSE(distance->SetRelationSubtype(end, RelationSubtypeCentre, false)) << "a plane has no centre";
    EXPECT_FALSE(tangent->SetRelationSubtype(wide, RelationSubtypeCentre, false)) << "a cylinder has no centre";
    EXPECT_FALSE(distance->SetRelationSubtype(stranger, RelationSubtypeBoundary, false)) << "not its reference";
    EXPECT_EQ(distance->GetRelationSubtype(stranger), RelationSubtypeBoundary);
    EXPECT_TRUE(tangent->SetRelationSubtype(wide, RelationSubtypeAxis, false));
    EXPECT_EQ(tangent->GetRelationSubtype(wide), RelationSubtypeAxis);

    // The sphere's centre lies 34 above its end face; remeasuring takes that value.
    const double boundary = distance->GetValue();
    ASSERT_TRUE(distance->SetRelationSubtype(sphere, RelationSubtypeCentre, true));
    EXPECT_NEAR(distance->GetValue(), 34.0, 1e-9) << "from " << boundary;

    struct Case {
        RelationType type;
        int entity;
        RelationSubtype subtype;
        bool valid;
    } cases[] = {
        {RelationTypeRigid, wide->GetEntityTag(), RelationSubtypeAxis, false},
        {RelationTypeRigid, wide->GetEntityTag(), RelationSubtypeBoundary, true},
        {RelationTypeParallel, wide->GetEntityTag(), RelationSubtypeAxis, true},
        {RelationTypeParallel, sphere->GetEntityTag(), RelationSubtypeCentre, false},
        {RelationTypeFixed, sphere->GetEntityTag(), RelationSubtypeCentre, true},
        {RelationTypeRadius, wide->GetEntityTag(), RelationSubtypeAxis, false},
        {RelationTypeDistance, wide->GetEntityTag(), static_cast<RelationSubtype>(3), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Relation::IsReferenceRelationSubtypeCombinationValid(c.type, c.entity, c.subtype), c.valid)
            << RelationTypeToString(c.type) << " " << c.subtype;
}

TEST_F(RelationTest, RefusedCombinationsMakeNoRelation)
{
    Reference* top = Ref(Top());
    const int before = m_interaction->GetRelationCount();
    EXPECT_EQ(Relation::CreateBinary(m_interaction, RelationTypeParallel, top, top), nullptr);
    EXPECT_EQ(Relation::CreateUnary(m_interaction, RelationTypeDistance, top), nullptr);
    EXPECT_EQ(m_interaction->GetRelationCount(), before);
    EXPECT_EQ(top->GetRelationCount(), 0);
}

TEST_F(RelationTest, ValidityFindsDamagedRelations)
{
    Reference* top = Ref(Top());
    Reference* side = Ref(Side());
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(Make(RelationTypeFixed, {top, side})->CheckValidity(bad, codes));

    Relation* notARelation = Relation::TestCreateInvalid(1, m_interaction, RelationTypeFixed, 0.0, top, nullptr);
    EXPECT_FALSE(notARelation->CheckValidity(bad, codes));
    EXPECT_EQ(codes, std::vector<InvalidityType>{InvalidityTypeBadObject});
    notARelation->TestDestroyInvalid(1);

    bad.clear();
    codes.clear();
    Relation* foreign = Relation::TestCreateInvalid(2, m_interaction, RelationTypeFixed, 0.0, top, side);
    EXPECT_FALSE(foreign->CheckValidity(bad, codes));
    EXPECT_EQ(codes, std::vector<InvalidityType>(2, InvalidityTypeBadPointer));
    foreign->TestDestroyInvalid(2);
    EXPECT_EQ(top->GetRelationCount(), 1);
}

TEST_F(RelationTest, RollbackRestoresValuesAndDestroyedRelations)
{
    m_interaction->EnableRollback();
    Reference* top = Ref(Top());
    Reference* bottom = Ref(Bottom());
    Relation* relation = Make(RelationTypeDistance, {top, bottom});
    relation->SetApplicationString("gap");
    const int mark = m_interaction->CreateMark();

    relation->SetValue(12.5);
    relation->SetApplicationString(nullptr);
    EXPECT_EQ(relation->GetApplicationString(), nullptr);
    m_interaction->RollToMark(mark);
    EXPECT_NEAR(relation->GetValue(), 30.0, 1e-9);
    EXPECT_STREQ(relation->GetApplicationString(), "gap");

    const int tag = relation->GetTag();
    relation->Destroy();
    EXPECT_EQ(top->GetRelationCount(), 0);
    EXPECT_EQ(m_interaction->GetRelationCount(), 0);
    m_interaction->RollToMark(mark);
    ASSERT_EQ(m_interaction->GetRelationCount(), 1);
    EXPECT_EQ(m_interaction->GetRelation(0)->GetTag(), tag);
    EXPECT_EQ(top->GetRelationCount(), 1);
    EXPECT_EQ(m_interaction->GetRelation(0)->GetNumReferences(), 2);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
