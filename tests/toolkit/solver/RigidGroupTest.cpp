// Rigid groups: which reference lists are refused, the body-level and global Sets a placed
// group gets and the link between them, geometry made later joining the group's Set, and
// groups sharing a face merging into the oldest Set.
#include "SolverFixture.h"

#include "model/features/Feature.h"
#include "model/references/Reference.h"
#include "solver/RigidGroup.h"
#include "solver/Stars.h"

#include <hxr.h>

#include <functional>
#include <string>

namespace QEL {
namespace testing {
namespace {

class RigidGroupTest : public BlockSolverTest {
protected:
    void SetUp() override
    {
        BlockSolverTest::SetUp();
        m_front = BlockFace(m_block, 0, -1, 0);
        m_placed = Place(m_block, Moved(50, 0, 0));
    }
    Reference* Ref(int entity, Instance* instance = nullptr,
                   ReferenceBehaviour behaviour = ReferenceBehaviourModelling)
    {
        // References are shared per key: each use states its behaviour.
        Reference* reference = Reference::Create(m_interaction, entity, instance);
        if (reference && GetOwningBody(entity))
            reference->SetBehaviour(behaviour);
        return reference;
    }
    // The placed block's star with the faces entered as references, as relations leave them.
    void Enter(std::vector<int> faces, ReferenceBehaviour behaviour = ReferenceBehaviourModelling)
    {
        m_solver->CreateBodyStars({m_placed});
        for (int face : faces)
            m_solver->AddReferenceGeometry(m_interaction, GeometryKey(face, m_placed), behaviour,
                                           RelationSubtypeBoundary);
    }
    bool Holds(Set* set, GeometryBase* g) { return set && g && g->GetSet() == set && set->GetGeometry().count(g); }

    int m_front = 0;
    Instance* m_placed = nullptr;
};

TEST_F(RigidGroupTest, ReferenceListsThatCannotMoveAsOneBodyAreRefused)
{
    const int other = brennik::build::Block(5, 5, 5);
    const int line = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
    struct Case {
        std::string name;
        std::function<std::vector<Reference*>()> references;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"empty", [&] { return std::vector<Reference*>{}; }, false},
        {"two faces of one placement", [&] { return std::vector<Reference*>{Ref(m_top, m_placed), Ref(m_side, m_placed)}; }, true},
        {"two bare faces of one body", [&] { return std::vector<Reference*>{Ref(m_top), Ref(m_side)}; }, true},
        {"a placed face with free geometry", [&] { return std::vector<Reference*>{Ref(m_top, m_placed), Ref(line)}; }, true},
        {"free geometry alone", [&] { return std::vector<Reference*>{Ref(line)}; }, true},
        {"two behaviours on one body",
         [&] { return std::vector<Reference*>{Ref(m_top), Ref(m_side, nullptr, ReferenceBehaviourPositioning)}; }, false},
        {"two behaviours through placements",
         [&] {
             return std::vector<Reference*>{Ref(m_top, m_placed),
                                            Ref(m_side, m_placed, ReferenceBehaviourPositioning)};
         },
         false},
        {"placed, then bare", [&] { return std::vector<Reference*>{Ref(m_top, m_placed), Ref(m_side)}; }, false},
        {"bare, then placed", [&] { return std::vector<Reference*>{Ref(m_side), Ref(m_top, m_placed)}; }, false},
        {"bare faces of two bodies", [&] { return std::vector<Reference*>{Ref(m_top), Ref(BlockFace(other, 0, 0, 1))}; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_solver.reset(new Solver());
        const std::vector<Reference*> references = c.references();
        int body = -1;
        std::map<int, ReferenceBehaviour> behaviours;
        EXPECT_EQ(RigidGroup::CheckReferences(m_solver.get(), references, body, behaviours), c.accepted);
        RigidGroup* group = m_solver->MakeRigidGroup(references, true);
        EXPECT_EQ(group != nullptr, c.accepted);
        if (group) {
            EXPECT_NE(group->GetDragSet(), nullptr);
        }
    }
}

// A face a complex feature drives through its references cannot be held rigid; a parent face of
// the feature stands on its own and can.
TEST_F(RigidGroupTest, AFaceDrivenByAFeatureIsRefused)
{
    Feature* feature = Feature::Create(m_interaction, FeatureTypeComplexRecreate);
    feature->AddReference(Ref(m_top));
    Reference* dependent = Ref(m_side);
    feature->AddDependents(dependent);
    m_solver->AddFeature(feature);
    EXPECT_EQ(m_solver->MakeRigidGroup({Ref(m_top)}, true), nullptr);
    EXPECT_NE(m_solver->MakeRigidGroup({dependent}, true), nullptr);
}

// Geometry already rigid with a reference's geometry must have the behaviour the group keeps
// for its body.
TEST_F(RigidGroupTest, GeometryRigidWithAReferenceMustShareItsBodysBehaviour)
{
    for (ReferenceBehaviour behaviour : {ReferenceBehaviourModelling, ReferenceBehaviourPositioning}) {
        SCOPED_TRACE(behaviour);
        m_solver.reset(new Solver());
        Ref(m_front, nullptr, behaviour);
        Set* set = Set::CreateSet(m_solver.get());
        set->AddGeometry(Geom(m_top));
        set->AddGeometry(Geom(m_front));
        RigidGroup* group = m_solver->MakeRigidGroup({Ref(m_top), Ref(m_side)}, true);
        EXPECT_EQ(group != nullptr, behaviour == ReferenceBehaviourModelling);
    }
}

TEST_F(RigidGroupTest, TwoFacesOfOnePlacementGetABodyLevelSetAGlobalSetAndALink)
{
    Enter({m_top, m_side});
    RigidGroup* group = m_solver->MakeRigidGroup({Ref(m_top, m_placed), Ref(m_side, m_placed)}, true);
    ASSERT_NE(group, nullptr);
    Set* level = group->GetBodyLevelSet(m_placed);
    Set* global = group->GetGlobalSet();
    ASSERT_NE(level, nullptr);
    ASSERT_NE(global, nullptr);
    EXPECT_NE(level, global);
    EXPECT_EQ(group->GetDragSet(), global);
    EXPECT_EQ(group->GetBodyLevelSet(nullptr), nullptr);
    EXPECT_EQ(group->GetBodyLevelSetForEnt(m_side), level);
    EXPECT_EQ(group->GetBodyLevelSetForEnt(m_front), nullptr);
    for (int face : {m_top, m_side}) {
        SCOPED_TRACE(face);
        EXPECT_TRUE(Holds(level, Geom(face)));
        EXPECT_TRUE(Holds(global, Geom(face, m_placed)));
        for (Instance* instance : {static_cast<Instance*>(nullptr), m_placed}) {
            const std::list<RigidGroup*>* groups = m_solver->FindRigidGroups(GeometryKey(face, instance));
            ASSERT_NE(groups, nullptr);
            EXPECT_EQ(groups->front(), group);
        }
    }
    EXPECT_EQ(m_solver->FindRigidGroups(GeometryKey(m_front, nullptr)), nullptr);

    // The link: a line pair of the star centre in the body-level Set, tied through the
    // placement's relative transform to a line pair in the global Set.
    BodyStar* star = m_solver->GetBodyStar(m_block);
    ASSERT_NE(star, nullptr);
    const std::list<StarElement::LinePair>& centrePairs = star->GetStarCentre()->GetConstructionPairs();
    ASSERT_EQ(centrePairs.size(), 1u);
    const StarElement::LinePair centrePair = centrePairs.front();
    EXPECT_TRUE(Holds(level, centrePair.first));
    EXPECT_TRUE(Holds(level, centrePair.second));
    int links = 0;
    for (RTConstraint* constraint : star->GetStarElement(m_placed)->GetRTConstraints()) {
        GeometryBase* from = constraint->GetGeom(0);
        if (from == centrePair.first || from == centrePair.second) {
            EXPECT_TRUE(Holds(global, constraint->GetGeom(1)));
            ++links;
        }
    }
    EXPECT_EQ(links, 2);

    // Dragging one placed face moves the other with it, by exactly the delta.
    Vec delta(0, 0, 4);
    ASSERT_EQ(m_solver->DragByTranslation(Geom(m_top, m_placed)->GetGNode(), delta), SolveStatusSolved);
    double m[4][4];
    ASSERT_NE(Change(Geom(m_side, m_placed), m), 0);
    EXPECT_LT(Distance(Vec(m[0][3], m[1][3], m[2][3]), delta), 1e-9);
}

// Geometry made after the group joins the group's Set as it is made, and enters the
// dimension system; the Sets were not empty before (link lines or an anchor point).
TEST_F(RigidGroupTest, GeometryMadeAfterTheGroupJoinsItsSet)
{
    for (bool placed : {true, false}) {
        SCOPED_TRACE(placed);
        m_solver.reset(new Solver());
        Instance* instance = placed ? m_placed : nullptr;
        if (placed)
            m_solver->CreateBodyStars({m_placed});
        RigidGroup* group = m_solver->MakeRigidGroup({Ref(m_top, instance)}, true);
        ASSERT_NE(group, nullptr);
        Set* level = group->GetBodyLevelSet(instance);
        ASSERT_NE(level, nullptr);
        EXPECT_FALSE(level->GetGeometry().empty());
        EXPECT_EQ(group->GetAnchorPoints().size(), placed ? 0u : 1u);
        ASSERT_EQ(m_solver->FindGeometry(GeometryKey(m_top, nullptr)), nullptr);

        Geometry* bodyLevel = Geom(m_top);
        EXPECT_TRUE(Holds(level, bodyLevel));
        EXPECT_NE(bodyLevel->GetGNode(), nullptr);
        if (placed) {
            ASSERT_NE(group->GetGlobalSet(), nullptr);
            EXPECT_FALSE(group->GetGlobalSet()->GetGeometry().empty());
            EXPECT_TRUE(Holds(group->GetGlobalSet(), Geom(m_top, m_placed)));
        }
        // A key no group holds gets plain geometry.
        EXPECT_EQ(Geom(m_side)->GetSet(), nullptr);
        EXPECT_EQ(Geom(m_top), bodyLevel);
    }
}

// A group that shares faces with two earlier groups unites their Sets into the oldest.
TEST_F(RigidGroupTest, GroupsSharingAFaceMergeIntoTheOlderSet)
{
    Enter({m_top, m_side, m_front});
    RigidGroup* first = m_solver->MakeRigidGroup({Ref(m_front, m_placed)}, true);
    RigidGroup* second = m_solver->MakeRigidGroup({Ref(m_top, m_placed), Ref(m_side, m_placed)}, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Set* olderLevel = first->GetBodyLevelSet(m_placed);
    Set* olderGlobal = first->GetGlobalSet();
    Set* youngerLevel = second->GetBodyLevelSet(m_placed);
    Set* youngerGlobal = second->GetGlobalSet();
    ASSERT_NE(olderLevel, youngerLevel);
    ASSERT_NE(olderGlobal, youngerGlobal);

    RigidGroup* third = m_solver->MakeRigidGroup({Ref(m_side, m_placed), Ref(m_front, m_placed)}, true);
    ASSERT_NE(third, nullptr);
    for (RigidGroup* group : {first, second, third}) {
        EXPECT_EQ(group->GetBodyLevelSet(m_placed), olderLevel);
        EXPECT_EQ(group->GetGlobalSet(), olderGlobal);
    }
    EXPECT_TRUE(youngerLevel->GetGeometry().empty());
    EXPECT_TRUE(youngerGlobal->GetGeometry().empty());
    for (int face : {m_top, m_side, m_front}) {
        EXPECT_TRUE(Holds(olderLevel, Geom(face)));
        EXPECT_TRUE(Holds(olderGlobal, Geom(face, m_placed)));
    }
    // Every group stays listed under the shared key, the oldest first.
    const std::list<RigidGroup*>* groups = m_solver->FindRigidGroups(GeometryKey(m_side, nullptr));
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(*groups, (std::list<RigidGroup*>{second, third}));
}

// Positioning references move the placement itself: its main Set, unfixed, joins the global Set.
TEST_F(RigidGroupTest, APositioningPlacementsMainSetJoinsTheGlobalSet)
{
    Enter({m_top}, ReferenceBehaviourPositioning);
    Set* main = m_solver->GetBodyStar(m_block)->GetMainSet(m_placed);
    RigidGroup* group =
        m_solver->MakeRigidGroup({Ref(m_top, m_placed, ReferenceBehaviourPositioning)}, true);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetGlobalSet(), main);
    EXPECT_FALSE(main->IsFixed());
    EXPECT_TRUE(Holds(main, Geom(m_top, m_placed)));
}

// The add-on features with rigid groups are listed by tag, ascending, after what was there.
TEST_F(RigidGroupTest, TheFeaturesWithRigidGroupsAreListedInTagOrder)
{
    const HXR_TOPOL_make_feat_o_s options{1, 0, nullptr, nullptr, 0};
    const int labels[] = {1};
    int features[2] = {0, 0};
    const int faces[2] = {m_top, m_side};
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(HXR_TOPOL_make_feat(1, &faces[i], labels, 1, 7, &options, &features[i]), HXR_ERROR_none);
    std::vector<int> listed{-1};
    m_solver->GetFeatures(listed);
    EXPECT_EQ(listed, std::vector<int>{-1});
    for (int i : {1, 0})
        ASSERT_TRUE(m_solver->MakeRigidGroupForFeature(m_interaction, features[i]));
    EXPECT_FALSE(m_solver->MakeRigidGroupForFeature(m_interaction, features[1] + 1000));
    m_solver->GetFeatures(listed);
    EXPECT_EQ(listed, (std::vector<int>{-1, std::min(features[0], features[1]), std::max(features[0], features[1])}));
}

// A feature's transform is how far the solve moved its rigid group; the identity for a feature
// without a group and for a group the solve left in place.
TEST_F(RigidGroupTest, AFeatureTransformIsHowFarItsGroupMoved)
{
    const HXR_TOPOL_make_feat_o_s options{1, 0, nullptr, nullptr, 0};
    const int labels[] = {1};
    int feature = 0;
    ASSERT_EQ(HXR_TOPOL_make_feat(1, &m_top, labels, 1, 7, &options, &feature), HXR_ERROR_none);
    ASSERT_TRUE(m_solver->MakeRigidGroupForFeature(m_interaction, feature));
    Geometry* bottom = Geom(m_bottom);
    bottom->AddToZMR();
    bottom->Fix(true);

    // Unsolved first, then pulled up by 12.
    Bond2(ZMR3_DISTANCE, bottom, Geom(m_top), 42.0);
    for (const bool solved : {false, true}) {
        SCOPED_TRACE(solved);
        if (solved) {
            ASSERT_EQ(m_solver->SolveSystem(), SolveStatusSolved);
        }
        for (const int tag : {feature, feature + 1000}) {
            Xform transform = Moved(1, 2, 3, 0.5);
            m_solver->GetFeatureTransform(tag, transform);
            const Xform expected = solved && tag == feature ? Moved(0, 0, 12.0) : Xform();
            EXPECT_TRUE(transform.IsClose(expected, 1e-9, 1e-9)) << tag;
        }
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
