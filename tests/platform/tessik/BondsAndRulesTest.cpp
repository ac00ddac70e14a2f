// Bonds and relationships into the dimension system, handed over through get_bonds; the
// desired changes and their animation bonds; autodefine answering each rule after a
// trial solve; the journal.
#include "YskHost.h"
#include "tessik_test.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

using namespace ysk_host;

namespace {

YSK_dnode_data_s Record(std::initializer_list<Geometry*> ends)
{
    YSK_dnode_data_s r;
    int i = 0;
    for (Geometry* g : ends) {
        r.ends[i].node = g->node;
        r.ends[i].application = g;
        ++i;
    }
    return r;
}

YSK_dnode_data_s Relationship(int relation, std::initializer_list<Geometry*> ends)
{
    YSK_dnode_data_s r = Record(ends);
    r.relation = relation;
    return r;
}

YSK_dnode_data_s BondRecord(int type, std::initializer_list<Geometry*> ends, double value = 0.0, bool rigid = true)
{
    YSK_dnode_data_s r = Record(ends);
    r.type = type;
    r.value = value;
    r.rigid = rigid ? 1 : 0;
    return r;
}

int DNodes(Host& h) { return h.System().list_d_nodes(0, nullptr, nullptr) + h.System().list_r_nodes(0, nullptr, nullptr); }

TEST(YskBonds, RelationshipsBecomeBondsThatStayLiveAfterTheyAreHandedOver)
{
    YskHost h;
    Geometry* p1 = h.Plane({0, 0, 0}, {0, 0, 1});
    Geometry* p2 = h.Plane({20, 0, 0}, {0, 0, 1});
    Geometry* c1 = h.Cylinder({0, 0, 0}, {0, 0, 1}, 2.0);
    Geometry* c2 = h.Cylinder({10, 0, 0}, {0, 0, 1}, 2.0);
    const YSK_dnode_data_s relationships[] = {Relationship(YSK_RELATION_COPLANAR, {p1, p2}),
                                              Relationship(YSK_RELATION_SIMILAR, {c1, c2})};
    ASSERT_EQ(h.Manager().add_bonds(relationships, 2, nullptr, 0), YSK_RESULT_OK);
    ASSERT_EQ(h.Manager().get_bonds(nullptr), YSK_RESULT_OK);
    ASSERT_EQ(h.adoptedBonds.size(), 2u);
    EXPECT_EQ(h.adoptedBonds[0]->type, ZMR3_COINCIDENT);
    EXPECT_EQ(h.adoptedBonds[1]->type, ZMR3_EQUAL_RADIUS);
    EXPECT_EQ(h.events, 1);

    // Forgetting the changes keeps the nodes: nothing is reported again, and a solve still
    // carries the plane and the radius along.
    h.Manager().reset_changes();
    h.Manager().get_bonds(nullptr);
    EXPECT_EQ(h.adoptedBonds.size(), 2u);
    Geometry* q = h.Point({0, 0, 5});
    h.System().fix(q->node);
    h.Dim(ZMR3_DISTANCE, q, p1, 0.0);
    h.Radius(ZMR3_RADIUS, c1, 3.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(Dot(p1->d, q->p - p1->p), 0.0, 1e-9);
    EXPECT_NEAR(Norm(Cross(p1->d, p2->d)), 0.0, 1e-9);
    EXPECT_NEAR(Dot(p1->d, p2->p - p1->p), 0.0, 1e-9);
    EXPECT_NEAR(c2->r1, 3.0, 1e-9);
    for (Bond* b : h.adoptedBonds)
        EXPECT_EQ(h.Status(b), ZMR3_D_STATUS_SATISFIED);
}

// The application's bond record cannot say "minor radius": that half of a similarity of tori
// stays with the manager and still holds.
TEST(YskBonds, SimilarToriHandOverTheirMajorRadiiAndKeepTheMinorOnesHeld)
{
    YskHost h;
    Geometry* t1 = h.Torus({0, 0, 0}, {0, 0, 1}, 10.0, 2.0);
    Geometry* t2 = h.Torus({30, 0, 0}, {0, 0, 1}, 10.0, 2.0);
    const YSK_dnode_data_s similar = Relationship(YSK_RELATION_SIMILAR, {t1, t2});
    ASSERT_EQ(h.Manager().add_bonds(&similar, 1, nullptr, 0), YSK_RESULT_OK);
    h.Manager().get_bonds(nullptr);
    ASSERT_EQ(h.adoptedBonds.size(), 1u);
    EXPECT_EQ(h.adoptedBonds[0]->type, ZMR3_EQUAL_RADIUS);
    h.Radius(ZMR3_MINOR_RADIUS, t1, 3.0);
    h.Radius(ZMR3_MAJOR_RADIUS, t1, 12.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(t2->r1, 12.0, 1e-9);
    EXPECT_NEAR(t2->r2, 3.0, 1e-9);
}

// A three-end bond is not taken over: the manager answers for it and it still solves.
TEST(YskBonds, ASymmetryLeftToTheManagerStillHolds)
{
    YskHost h;
    Geometry* a = h.Plane({-5, 0, 0}, {1, 0, 0});
    Geometry* b = h.Plane({5, 0, 0}, {1, 0, 0});
    Geometry* mirror = h.Plane({0, 0, 0}, {1, 0, 0});
    h.System().fix(mirror->node);
    const YSK_dnode_data_s symmetric = Relationship(YSK_RELATION_SYMMETRIC, {a, b, mirror});
    ASSERT_EQ(h.Manager().add_bonds(&symmetric, 1, nullptr, 0), YSK_RESULT_OK);
    h.Manager().get_bonds(nullptr);
    EXPECT_EQ(h.unadopted, 1);
    EXPECT_TRUE(h.adoptedBonds.empty());
    Geometry* q = h.Point({-7, 0, 0});
    h.System().fix(q->node);
    h.Dim(ZMR3_DISTANCE, q, a, 0.0);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(b->p[0] * b->d[0], 7.0, 1e-9);
}

TEST(YskBonds, ARefusedRecordTakesBackTheWholeCall)
{
    YskHost h;
    Geometry* p1 = h.Plane({0, 0, 0}, {0, 0, 1});
    Geometry* p2 = h.Plane({0, 0, 3}, {0, 0, 1});
    Geometry* point = h.Point({1, 1, 1});
    struct Case {
        const char* name;
        YSK_dnode_data_s bond;
        YSK_autocon_result result;
    };
    YSK_dnode_data_s noNode = BondRecord(ZMR3_PARALLEL, {p1, p2});
    noNode.ends[1].node = nullptr;
    const Case cases[] = {
        {"a type the system does not solve", BondRecord(ZMR3_CURVE_LENGTH, {p1}), YSK_RESULT_UNSUPPORTED},
        {"a combination it does not solve", BondRecord(ZMR3_PARALLEL, {p1, point}), YSK_RESULT_UNSUPPORTED},
        {"an end without node", noNode, YSK_RESULT_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = DNodes(h);
        const YSK_dnode_data_s bonds[] = {BondRecord(ZMR3_DISTANCE, {p1, p2}, 3.0), c.bond};
        EXPECT_EQ(h.Manager().add_bonds(nullptr, 0, bonds, 2), c.result);
        EXPECT_EQ(DNodes(h), before);
    }
    EXPECT_EQ(h.Manager().add_bonds(nullptr, 2, nullptr, 0), YSK_RESULT_BAD_ARGUMENT);
    YSK_autoconstrain_manager alone(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(alone.add_bonds(nullptr, 0, nullptr, 0), YSK_RESULT_NO_SYSTEM);
}

// The system and the manager may go in either order; a manager whose system went answers
// that it has none.
TEST(YskBonds, TheSystemAndTheManagerMayGoInEitherOrder)
{
    for (bool systemFirst : {false, true}) {
        SCOPED_TRACE(systemFirst);
        auto system = std::make_unique<WOF_dimension_system_manager>(nullptr, 1e-8, 1000.0);
        auto manager = std::make_unique<YSK_autoconstrain_manager>(nullptr, system.get(), nullptr, 1);
        g_node* set = system->add_g(nullptr);
        ASSERT_EQ(manager->add_desired_general_transform(set, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
        if (systemFirst) {
            system.reset();
            EXPECT_EQ(manager->add_bonds(nullptr, 0, nullptr, 0), YSK_RESULT_NO_SYSTEM);
        }
        manager.reset();
    }
}

// The drag set holds F; its partner P is kept parallel by a bond handed in.
struct Drag {
    YskHost h;
    Geometry* f = h.Plane({0, 0, 0}, {1, 0, 0});
    Geometry* p = h.Plane({10, 5, 0}, {1, 0, 0});
    Geometry* set = h.Set({f});
    Bond* animation = nullptr;

    Drag()
    {
        const YSK_dnode_data_s parallel = BondRecord(ZMR3_PARALLEL, {f, p});
        h.Manager().add_bonds(nullptr, 0, &parallel, 1);
    }
    // Hands over the bonds and takes the last non-rigid one as the animation bond.
    void Take()
    {
        h.Manager().get_bonds(nullptr);
        h.Manager().reset_changes();
        for (Bond* b : h.adoptedBonds)
            if (!b->rigid)
                animation = b;
    }
};

TEST(YskDesiredChange, EachDragGetsItsNonRigidAnimationBonds)
{
    struct Case {
        const char* name;
        std::function<YSK_autocon_result(YSK_autoconstrain_manager&, g_node*)> add;
        int type;
        int count;
    };
    const Case cases[] = {
        {"translation", [](auto& m, g_node* n) { return m.add_desired_translation(n, 1, 0, 0, YSK_COMPLIANCE_EXACT); },
         ZMR3_DISTANCE, 1},
        {"planar", [](auto& m, g_node* n) { return m.add_desired_planar_translate(n, 0, 0, 1, YSK_COMPLIANCE_EXACT); },
         ZMR3_DISTANCE, 2},
        {"rotation",
         [](auto& m, g_node* n) { return m.add_desired_rotation(n, 0, 0, 0, 0, 0, 1, YSK_COMPLIANCE_EXACT); },
         ZMR3_ANGLE, 1},
        {"general", [](auto& m, g_node* n) { return m.add_desired_general_transform(n, YSK_COMPLIANCE_EXACT); }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drag d;
        ASSERT_EQ(c.add(d.h.Manager(), d.set->node), YSK_RESULT_OK);
        d.Take();
        int animation = 0;
        for (Bond* b : d.h.adoptedBonds) {
            if (b->rigid)
                continue;
            ++animation;
            EXPECT_EQ(b->type, c.type);
            // Construction geometry: a fixed plane, and one the set carries.
            const Geometry* planes[2] = {b->a, b->b};
            for (const Geometry* g : planes)
                EXPECT_EQ(g->type, ZMR3_G_PLANE);
        }
        EXPECT_EQ(animation, c.count);
    }
    Drag d;
    EXPECT_EQ(d.h.Manager().add_desired_translation(nullptr, 1, 0, 0, YSK_COMPLIANCE_EXACT), YSK_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(d.h.Manager().add_desired_translation(d.set->node, 0, 0, 0, YSK_COMPLIANCE_EXACT), YSK_RESULT_BAD_ARGUMENT);
}

TEST(YskDesiredChange, ATranslationMovesTheFaceAndItsPartnerStaysParallel)
{
    Drag d;
    const double n = std::sqrt(0.5);
    ASSERT_EQ(d.h.Manager().add_desired_translation(d.set->node, n, n, 0, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
    d.Take();
    ASSERT_NE(d.animation, nullptr);
    // The value is the signed distance moved along the direction: backwards too.
    for (double along : {2.0, -1.5}) {
        SCOPED_TRACE(along);
        d.animation->value = along;
        ASSERT_EQ(d.h.Solve(), ZMR3_SOLVED);
        d.h.Apply();
        EXPECT_NEAR(Dot(d.f->p, {n, n, 0}), along, 1e-9);
        EXPECT_NEAR(Norm(Cross(d.f->d, d.p->d)), 0.0, 1e-9);
        EXPECT_EQ(d.h.Status(d.h.adoptedBonds[0]), ZMR3_D_STATUS_SATISFIED);  // the parallel bond
    }
}

TEST(YskDesiredChange, ARotationTurnsTheFaceAndItsPartnerWithIt)
{
    Drag d;
    ASSERT_EQ(d.h.Manager().add_desired_rotation(d.set->node, 0, 0, 0, 0, 0, 1, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
    d.Take();
    ASSERT_NE(d.animation, nullptr);
    d.animation->value = 0.3;
    ASSERT_EQ(d.h.Solve(), ZMR3_SOLVED);
    d.h.Apply();
    EXPECT_NEAR(Angle(d.f->d, {1, 0, 0}), 0.3, 1e-9);
    EXPECT_NEAR(Norm(Cross(d.f->d, d.p->d)), 0.0, 1e-9);
    EXPECT_NEAR(Norm(d.f->p), 0.0, 1e-9) << "the face turns about the axis through it";
}

// A plane outside any set is turned itself: its angle starts at 0 like a set's.
TEST(YskDesiredChange, ALoosePlaneTurnsByTheAngleItIsGiven)
{
    YskHost h;
    const double c = std::sqrt(0.5);
    Geometry* f = h.Plane({0, 0, 0}, {c, c, 0});
    ASSERT_EQ(h.Manager().add_desired_rotation(f->node, 0, 0, 0, 0, 0, 1, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
    h.Manager().get_bonds(nullptr);
    Bond* animation = nullptr;
    for (Bond* b : h.adoptedBonds)
        if (!b->rigid)
            animation = b;
    ASSERT_NE(animation, nullptr);
    animation->value = 0.3;
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(Angle(f->d, {c, c, 0}), 0.3, 1e-9);
}

TEST(YskAutodefine, EachRuleIsAppliedOnlyWhenTheSystemAndTheDesiredChangeStillSolve)
{
    Drag d;
    Geometry* loose = d.h.Cylinder({30, 0, 0}, {0, 0, 1}, 2.0);
    Geometry* fixed = d.h.Point({0, 40, 0});
    d.h.System().fix(fixed->node);
    ASSERT_EQ(d.h.Manager().add_desired_translation(d.set->node, 1, 0, 0, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
    d.Take();
    const size_t handedOver = d.h.adoptedBonds.size();

    struct Case {
        const char* name;
        Geometry* g;
        int code;
        YSK_autodefine_rule_return answer;
    };
    const Case cases[] = {
        {"the partner does not move", d.p, YSK_RULE_DO_NOT_MOVE, YSK_RULE_APPLIED},
        {"the moved face does not move", d.f, YSK_RULE_DO_NOT_MOVE, YSK_RULE_NO_ANSWER},
        {"a loose cylinder does not move", loose, YSK_RULE_DO_NOT_MOVE, YSK_RULE_APPLIED},
        {"a loose cylinder keeps its radius", loose, YSK_RULE_KEEP_RADIUS, YSK_RULE_APPLIED},
        {"the partner keeps its angle", d.p, YSK_RULE_RELATIVE_ANGLE, YSK_RULE_APPLIED},
        {"a plane has no radius", d.p, YSK_RULE_KEEP_RADIUS, YSK_RULE_NO_ANSWER},
        {"a fixed point", fixed, YSK_RULE_DO_NOT_MOVE, YSK_RULE_ALREADY_HELD},
        {"least translation", d.p, YSK_RULE_MINIMISE_TRANSLATION, YSK_RULE_ALREADY_HELD},
        {"an unknown code", d.p, 42, YSK_RULE_NO_ANSWER},
    };
    std::vector<YSK_autodefine_rule> rules;
    std::vector<YSK_autodefine_rule_return> answers(std::size(cases), YSK_RULE_NO_ANSWER);
    for (size_t i = 0; i < std::size(cases); ++i) {
        YSK_autodefine_rule r;
        r.node = cases[i].g->node;
        r.node_given = 1;
        r.code = &cases[i].code;
        r.answer = &answers[i];
        r.direction1[0] = 1.0;
        rules.push_back(r);
    }
    ASSERT_EQ(d.h.Manager().autodefine(rules.data(), static_cast<int>(rules.size())), YSK_RESULT_OK);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(answers[i], cases[i].answer) << cases[i].name;
    // Rule constraints stay with the manager.
    d.h.Manager().get_bonds(nullptr);
    EXPECT_EQ(d.h.adoptedBonds.size(), handedOver);

    // The rules hold in the solve of the drag.
    d.animation->value = 1.0;
    ASSERT_EQ(d.h.Solve(), ZMR3_SOLVED);
    d.h.Apply();
    EXPECT_NEAR(d.f->p[0], 1.0, 1e-9);
    EXPECT_NEAR(loose->p[0], 30.0, 1e-9);
    EXPECT_NEAR(loose->r1, 2.0, 1e-9);
    EXPECT_NEAR(d.p->p[0], 10.0, 1e-9);
}

// A drag of a block's top face: the top in the moved set, tied to both side faces through the
// model (edges on the top and a side, or a blend tangent to the top and a side). The rules
// that hold the sides and a loose cylinder's radius are applied while the animation bond is
// in the system, and the drag they were tried against still succeeds.
TEST(YskAutodefine, RulesApplyWhileTheMovedSetIsTiedToTheModel)
{
    struct Case {
        const char* name;
        bool blend;
    };
    for (const Case c : {Case{"edges on the top and a side", false}, Case{"a blend on the top and a side", true}}) {
        SCOPED_TRACE(c.name);
        YskHost h;
        Geometry* top = h.Plane({0, 0, 30}, {0, 0, 1});
        Geometry* left = h.Plane({0, 0, 0}, {-1, 0, 0});
        Geometry* right = h.Plane({10, 0, 0}, {1, 0, 0});
        Geometry* loose = h.Cylinder({30, 0, 0}, {0, 0, 1}, 2.0);
        Geometry* set = h.Set({top});
        std::vector<YSK_dnode_data_s> bonds;
        Geometry* tie = nullptr;
        if (c.blend) {
            tie = h.Cylinder({8, 0, 28}, {0, 1, 0}, 2.0);
            bonds.push_back(BondRecord(ZMR3_TANGENT, {top, tie}));
            bonds.push_back(BondRecord(ZMR3_TANGENT, {right, tie}));
        } else {
            tie = h.Line({0, 0, 30}, {0, 1, 0});
            Geometry* other = h.Line({10, 0, 30}, {0, 1, 0});
            bonds.push_back(BondRecord(ZMR3_COINCIDENT, {tie, top}));
            bonds.push_back(BondRecord(ZMR3_COINCIDENT, {tie, left}));
            bonds.push_back(BondRecord(ZMR3_COINCIDENT, {other, top}));
            bonds.push_back(BondRecord(ZMR3_COINCIDENT, {other, right}));
        }
        ASSERT_EQ(h.Manager().add_bonds(nullptr, 0, bonds.data(), static_cast<int>(bonds.size())), YSK_RESULT_OK);
        ASSERT_EQ(h.Manager().add_desired_translation(set->node, 0, 0, 1, YSK_COMPLIANCE_EXACT), YSK_RESULT_OK);
        h.Manager().get_bonds(nullptr);
        h.Manager().reset_changes();

        const int doNotMove = YSK_RULE_DO_NOT_MOVE, keepRadius = YSK_RULE_KEEP_RADIUS;
        const std::pair<Geometry*, const int*> asked[] = {{left, &doNotMove}, {right, &doNotMove}, {loose, &keepRadius}};
        std::vector<YSK_autodefine_rule> rules;
        std::vector<YSK_autodefine_rule_return> answers(std::size(asked), YSK_RULE_NO_ANSWER);
        for (size_t i = 0; i < std::size(asked); ++i) {
            YSK_autodefine_rule r;
            r.node = asked[i].first->node;
            r.node_given = 1;
            r.code = asked[i].second;
            r.answer = &answers[i];
            rules.push_back(r);
        }
        ASSERT_EQ(h.Manager().autodefine(rules.data(), static_cast<int>(rules.size())), YSK_RESULT_OK);
        for (size_t i = 0; i < std::size(asked); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(answers[i] == YSK_RULE_APPLIED || answers[i] == YSK_RULE_ALREADY_HELD);
        }

        double up[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0.1}, {0, 0, 0, 1}};
        g_node* moved[1] = {set->node};
        ZMR3_drag_result result = ZMR3_DRAG_BAD_INPUT;
        h.System().dynamic_evaluate(1, moved, up, &result, ZMR3_DT_TRANSLATION, ZMR3_DRAG_MODE_MINIMUM_CHANGE,
                                    ZMR3_DRAG_EXACT);
        ASSERT_EQ(result, ZMR3_DRAG_OK);
        h.Apply();
        EXPECT_NEAR(top->p[2], 30.1, 1e-9);
        EXPECT_NEAR(left->p[0], 0.0, 1e-9);
        EXPECT_NEAR(right->p[0], 10.0, 1e-9);
        EXPECT_NEAR(loose->r1, 2.0, 1e-9);
    }
}

TEST(YskJournal, EveryCallWritesOneLineThroughTheStream)
{
    YskHost h;
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    YSK_file file;
    ASSERT_EQ(YSK_file_construct_full(&file, stream, &std::fwrite, &std::fflush), 0);
    h.Manager().journal_by_ptr(&file, YSK_JOURNAL_CALLS | YSK_JOURNAL_RESULTS, 0);
    h.Manager().add_bonds(nullptr, 0, nullptr, 0);
    h.Manager().reset_changes();
    h.Manager().journal_by_ptr(&file, 0, 0);
    h.Manager().reset_changes();  // after the journal stopped: not written
    std::rewind(stream);
    std::vector<std::string> lines;
    char line[256];
    while (std::fgets(line, sizeof line, stream))
        lines.push_back(line);
    std::fclose(stream);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].rfind("YSK::add_bonds 0 0 -> 0", 0), 0u) << lines[1];
    EXPECT_EQ(lines[3].rfind("YSK::journal_by_ptr", 0), 0u);
    EXPECT_EQ(YSK_file_construct_full(&file, nullptr, &std::fwrite, &std::fflush), 1);
}

}  // namespace
