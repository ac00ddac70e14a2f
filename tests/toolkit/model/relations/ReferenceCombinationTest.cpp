// Which references may be constrained together: counts per type, no reference twice,
// constrainable geometry, and one bare body or distinct rigid parts, never a mixture.
#include "RelationFixture.h"

#include "model/references/ReferenceCombination.h"

#include <functional>

namespace QEL {
namespace testing {
namespace {

using ReferenceCombinationTest = RelationTest;

TEST_F(ReferenceCombinationTest, CombinationRulesPerRelationType)
{
    const int otherBlock = brennik::build::Block(5, 5, 5);
    Instance* first = Place(m_block);
    Instance* second = Place(m_block, 50.0);
    Reference* top = Ref(Top());
    Reference* side = Ref(Side());
    Reference* front = Ref(Front());
    Reference* onOtherBody = Ref(BodyFaces(otherBlock)[0]);
    Reference* topOnFirst = Ref(Top(), first);
    Reference* sideOnFirst = Ref(Side(), first);
    Reference* topOnSecond = Ref(Top(), second);
    Reference* freePlane = Ref(brennik::build::FreePlane(0, 0, 40, 0, 0, 1));
    std::vector<Reference*> allFaces;
    for (int face : BodyFaces(m_block))
        allFaces.push_back(Ref(face));

    struct Case {
        const char* what;
        RelationType type;
        std::vector<Reference*> references;
        bool valid;
    } cases[] = {
        {"two faces of one bare body", RelationTypeDistance, {top, side}, true},
        {"two faces of two bare bodies", RelationTypeDistance, {top, onOtherBody}, false},
        {"two faces of two bare bodies, fixed", RelationTypeFixed, {top, onOtherBody}, false},
        {"two faces of one instance", RelationTypeDistance, {topOnFirst, sideOnFirst}, false},
        {"two faces of one instance, fixed", RelationTypeFixed, {topOnFirst, sideOnFirst}, true},
        {"faces of two instances of one body", RelationTypeDistance, {topOnFirst, topOnSecond}, true},
        {"a placed face and a free plane", RelationTypeDistance, {topOnFirst, freePlane}, true},
        {"a bare face and a placed one", RelationTypeDistance, {top, topOnFirst}, false},
        {"a bare face and a free plane", RelationTypeDistance, {top, freePlane}, false},
        {"one free plane alone, fixed", RelationTypeFixed, {freePlane}, true},
        {"the same reference twice", RelationTypeParallel, {top, top}, false},
        {"three references for a distance", RelationTypeDistance, {top, side, front}, false},
        {"one reference for parallel", RelationTypeParallel, {top}, false},
        {"three for a directed distance", RelationTypeDirectedDistance, {top, side, front}, true},
        {"one for a radius", RelationTypeRadius, {top}, true},
        {"every face of the body, fixed", RelationTypeFixed, allFaces, true},
        {"no reference, fixed", RelationTypeFixed, {}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Relation::IsReferenceCombinationValid(c.references, c.type), c.valid) << c.what;

    // One positioning reference on the bare body spoils every combination on it.
    side->SetBehaviour(ReferenceBehaviourPositioning);
    EXPECT_FALSE(Relation::IsReferenceCombinationValid({top, side}, RelationTypeDistance));
    EXPECT_FALSE(Relation::IsReferenceCombinationValid({side}, RelationTypeFixed));
}

TEST_F(ReferenceCombinationTest, RigidAloneAcceptsEntitiesWithoutConstrainableGeometry)
{
    // A body has no constrainable geometry of its own; placed twice it is two rigid parts.
    Instance* first = Place(m_block);
    Instance* second = Place(m_block, 50.0);
    const std::vector<ReferenceKey> bodies{{m_block, first, ReferenceBehaviourModelling},
                                           {m_block, second, ReferenceBehaviourModelling}};
    EXPECT_TRUE(ReferenceCombination(bodies).IsValidForRelationType(RelationTypeRigid));
    EXPECT_FALSE(ReferenceCombination(bodies).IsValidForRelationType(RelationTypeFixed));
    const std::vector<ReferenceKey> faces{{Top(), first, ReferenceBehaviourModelling},
                                          {Top(), second, ReferenceBehaviourModelling}};
    EXPECT_TRUE(ReferenceCombination(faces).IsValidForRelationType(RelationTypeFixed));
    // Keys differing only in behaviour are not duplicates.
    const std::vector<ReferenceKey> behaviours{{Top(), first, ReferenceBehaviourModelling},
                                               {Top(), first, ReferenceBehaviourPositioning}};
    EXPECT_TRUE(ReferenceCombination(behaviours).IsValidForRelationType(RelationTypeFixed));
}

TEST_F(ReferenceCombinationTest, ClassificationCountsWhereTheReferencesLive)
{
    Instance* first = Place(m_block);
    Reference* top = Ref(Top());
    Reference* topOnFirst = Ref(Top(), first);
    Reference* freePlane = Ref(brennik::build::FreePlane(0, 0, 40, 0, 0, 1));

    const ReferenceCombination bare({top}, Ref(Side()));
    EXPECT_TRUE(bare.IsSingleBody());
    EXPECT_FALSE(bare.IsRigidPartsOnly());
    EXPECT_EQ(bare.GetBodyCount(), 1);

    const ReferenceCombination rigid({topOnFirst}, freePlane);
    EXPECT_FALSE(rigid.IsSingleBody());
    EXPECT_TRUE(rigid.IsRigidPartsOnly());
    EXPECT_EQ(rigid.GetInstanceCount(), 1);
    EXPECT_EQ(rigid.GetFreeCount(), 1);

    const ReferenceCombination mixed({top}, topOnFirst);
    EXPECT_FALSE(mixed.IsSingleBody());
    EXPECT_FALSE(mixed.IsRigidPartsOnly());

    topOnFirst->SetBehaviour(ReferenceBehaviourPositioning);
    const ReferenceCombination positioned(std::vector<Reference*>{topOnFirst});
    EXPECT_EQ(positioned.GetPositioningCount(), 1);
    EXPECT_TRUE(positioned.IsRigidPartsOnly());
}

// The selection takes a reference only while it stays on one bare body or among rigid parts;
// a refused reference leaves the selection as it was, and one selected already is accepted
// again without a second entry.
TEST_F(ReferenceCombinationTest, SelectionStaysOnOneBodyOrAmongRigidParts)
{
    const int otherBlock = brennik::build::Block(5, 5, 5);
    Instance* first = Place(m_block);
    Instance* second = Place(m_block, 50.0);
    Reference* top = Ref(Top());
    Reference* side = Ref(Side());
    Reference* onOtherBody = Ref(BodyFaces(otherBlock)[0]);
    Reference* topOnFirst = Ref(Top(), first);
    Reference* sideOnFirst = Ref(Side(), first);
    Reference* topOnSecond = Ref(Top(), second);
    Reference* freePlane = Ref(brennik::build::FreePlane(0, 0, 40, 0, 0, 1));
    Reference* positioned = Ref(Front());
    positioned->SetBehaviour(ReferenceBehaviourPositioning);

    struct Case {
        const char* what;
        std::vector<Reference*> added;
        std::vector<bool> accepted;
        std::vector<Reference*> selection;
    } const cases[] = {
        {"two faces of one bare body", {top, side}, {true, true}, {top, side}},
        {"a bare face, then a placed one", {top, topOnFirst}, {true, false}, {top}},
        {"a placed face, then a bare one", {topOnFirst, top}, {true, false}, {topOnFirst}},
        {"faces of two bare bodies", {top, onOtherBody}, {true, false}, {top}},
        {"a bare face, then a free plane", {top, freePlane}, {true, false}, {top}},
        {"two on one instance, then another instance", {topOnFirst, sideOnFirst, topOnSecond},
         {true, true, true}, {topOnFirst, sideOnFirst, topOnSecond}},
        {"a placed face and a free plane", {topOnFirst, freePlane}, {true, true}, {topOnFirst, freePlane}},
        {"a positioning reference on a bare body, first", {positioned}, {false}, {}},
        {"a positioning reference after a bare face", {top, positioned}, {true, false}, {top}},
        {"the same reference twice", {side, side}, {true, true}, {side}},
        {"a refused face does not count against the next", {top, topOnFirst, side},
         {true, false, true}, {top, side}},
    };
    for (const Case& c : cases) {
        m_interaction->ClearSelections();
        for (size_t i = 0; i < c.added.size(); ++i)
            EXPECT_EQ(m_interaction->AddSelectedReference(c.added[i]), c.accepted[i]) << c.what << ", " << i;
        EXPECT_EQ(m_interaction->GetSelectedReferences(), c.selection) << c.what;
    }
}

TEST_F(ReferenceCombinationTest, ReferencePredicates)
{
    Instance* first = Place(m_block);
    Reference* top = Ref(Top());
    Reference* topOnFirst = Ref(Top(), first);
    Reference* freePlane = Ref(brennik::build::FreePlane(0, 0, 40, 0, 0, 1));
    Reference* cylinder = Ref(PartFace(KernelClassCylinder, 20.0));

    EXPECT_TRUE(IsUninstancedReferenceOnBody(top, m_block));
    EXPECT_FALSE(IsUninstancedReferenceOnBody(topOnFirst, m_block));
    EXPECT_FALSE(IsUninstancedReferenceOnBody(top, m_part));
    EXPECT_TRUE(IsUninstancedReferenceOnBody(freePlane, 0));

    EXPECT_TRUE(IsGeometryReference(freePlane));
    EXPECT_FALSE(IsGeometryReference(top));

    EXPECT_TRUE(IsPlanarFaceReference(top, true));
    EXPECT_TRUE(IsPlanarFaceReference(freePlane, false));
    EXPECT_FALSE(IsPlanarFaceReference(freePlane, true));
    EXPECT_FALSE(IsPlanarFaceReference(cylinder, false));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
