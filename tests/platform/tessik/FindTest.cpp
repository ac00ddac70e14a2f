// Finding relationships between kernel entities: which are found, within which tolerance,
// once each, only for what is offered; and the binned choice of pairs against every pair.
#include "RelationshipFinder.h"
#include "YskHost.h"
#include "brennik.h"
#include "brennik_build.h"
#include "brennik_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

using namespace ysk_host;

namespace {

class Find : public ::testing::Test {
protected:
    void SetUp() override { brennik::test::RestartSession(); }
    void TearDown() override { brennik::test::Reset(); }
};

// What the kernel lists of the body (its faces or edges).
std::vector<int> Listed(int (*ask)(int, int*, int**), int body)
{
    int n = 0;
    int* tags = nullptr;
    ask(body, &n, &tags);
    std::vector<int> out(tags, tags + n);
    BQ_MEMORY_free(tags);
    return out;
}

std::vector<int> Faces(int body) { return Listed(&BQ_BODY_ask_faces, body); }
std::vector<int> Edges(int body) { return Listed(&BQ_BODY_ask_edges, body); }

// The cylindrical face of the body with this radius whose axis passes through (x, y).
int Cylinder(int body, double radius, double x, double y)
{
    for (int f : Faces(body)) {
        int surf = 0;
        BQ_CYL_sf_t sf;
        BQ_FACE_ask_surf(f, &surf);
        if (BQ_CYL_ask(surf, &sf) == 0 && std::abs(sf.radius - radius) < 1e-9 &&
            std::hypot(sf.basis_set.location.coord[0] - x, sf.basis_set.location.coord[1] - y) < 1e-9)
            return f;
    }
    return 0;
}

std::vector<YSK_pointer_s> Entries(const std::vector<int>& tags, Instance* instance = nullptr)
{
    std::vector<YSK_pointer_s> out;
    for (int t : tags)
        out.push_back(Entry(t, instance));
    return out;
}

std::multiset<std::tuple<int, int, int>> Pairs(const std::vector<Found>& found, int relation)
{
    std::multiset<std::tuple<int, int, int>> out;
    for (const Found& f : found)
        if (f.relation == relation)
            out.insert({std::min(f.entity[0], f.entity[1]), std::max(f.entity[0], f.entity[1]), f.entity[2]});
    return out;
}

// The plate: holes of radius 5 and 4 mirrored about x = 50, a counterbore (radius 3 and 6
// on one axis) and a boss on that plane, eight planar faces in three directions.
TEST_F(Find, PlateReportsEachRelationshipOnceWithTheFromEntityFirst)
{
    const int plate = brennik::build::PlateWithHoles();
    const int mirror = brennik::build::FreePlane(50, 0, 0, 1, 0, 0);
    const int hole5 = Cylinder(plate, 5, 30, 30), hole4 = Cylinder(plate, 4, 70, 30);
    const int bore3 = Cylinder(plate, 3, 50, 15), bore6 = Cylinder(plate, 6, 50, 15);
    ASSERT_TRUE(hole5 && hole4 && bore3 && bore6);
    struct Case {
        int exact;
        size_t symmetric;
    };
    for (const Case c : {Case{0, 2}, Case{1, 1}}) {
        SCOPED_TRACE(c.exact);
        YskHost h;
        for (int g : {YSK_OPTION_CYLINDER_FULL, YSK_OPTION_CYLINDER_PARTIAL})
            for (int t : {YSK_OPTION_CYLINDER_FULL, YSK_OPTION_CYLINDER_PARTIAL}) {
                h.Offer(YSK_OPTION_CONCENTRIC, g, t);
                h.Offer(YSK_OPTION_SYMMETRIC, g, t);
            }
        h.Offer(YSK_OPTION_PARALLEL, YSK_OPTION_PLANE, YSK_OPTION_PLANE);
        h.Offer(YSK_OPTION_SYMMETRIC, YSK_OPTION_PLANE, YSK_OPTION_PLANE);
        YSK_pointer_s symmetry = Entry(mirror);
        YSK_fr_option_s options;
        options.symmetry_planes = &symmetry;
        options.symmetry_plane_count = 1;
        options.symmetry_match_exact = c.exact;
        // Every face against the body, so that each pair is met from both sides.
        ASSERT_EQ(h.Find(Entries(Faces(plate)), {Entry(plate)}, options), YSK_RESULT_OK);

        const auto concentric = Pairs(h.found, YSK_RELATION_CONCENTRIC);
        ASSERT_EQ(concentric.size(), 1u);
        EXPECT_EQ(*concentric.begin(), std::make_tuple(std::min(bore3, bore6), std::max(bore3, bore6), 0));
        const auto symmetric = Pairs(h.found, YSK_RELATION_SYMMETRIC);
        EXPECT_EQ(symmetric.size(), c.symmetric);
        EXPECT_EQ(symmetric.count(std::make_tuple(std::min(hole5, hole4), std::max(hole5, hole4), mirror)),
                  c.symmetric - 1);
        const auto parallel = Pairs(h.found, YSK_RELATION_PARALLEL);
        EXPECT_EQ(parallel.size(), 8u);  // six among four horizontal planes, one per side pair
        using Triple = std::tuple<int, int, int>;
        EXPECT_EQ(std::set<Triple>(parallel.begin(), parallel.end()).size(), parallel.size());
        EXPECT_EQ(h.counts[0], 8);
        EXPECT_EQ(h.counts[2], static_cast<int>(h.found.size()));
        for (const Found& f : h.found)
            EXPECT_LT(f.entity[0], f.entity[1]) << "the face met first is the from entity";
    }
}

TEST_F(Find, RelationshipsHoldWithinTheLinearToleranceOnly)
{
    const int plate = brennik::build::PlateWithHoles();
    const int bore3 = Cylinder(plate, 3, 50, 15), bore6 = Cylinder(plate, 6, 50, 15);
    struct Case {
        double shift;
        bool concentric;
    };
    for (const Case c : {Case{0.0, true}, Case{5e-9, true}, Case{1e-7, false}, Case{1e-6, false}}) {
        SCOPED_TRACE(c.shift);
        YskHost h;
        h.Offer(YSK_OPTION_CONCENTRIC, YSK_OPTION_CYLINDER_FULL, YSK_OPTION_CYLINDER_FULL);
        Instance here, there;
        there.m[0][3] = c.shift;
        ASSERT_EQ(h.Find({Entry(bore3, &here)}, {Entry(plate, &there)}), YSK_RESULT_OK);
        // The bore's axis is the counterbore's too.
        ASSERT_EQ(h.found.size(), c.concentric ? 2u : 0u);
        std::set<int> partners;
        for (const Found& f : h.found) {
            EXPECT_EQ(f.entity[0], bore3);
            EXPECT_EQ(f.instance[0], &here);
            EXPECT_EQ(f.instance[1], &there);
            partners.insert(f.entity[1]);
        }
        if (c.concentric) {
            EXPECT_EQ(partners, (std::set<int>{bore3, bore6}));
        }
    }
}

TEST_F(Find, OnlyOfferedCombinationsOfThePassAreReported)
{
    const int plate = brennik::build::PlateWithHoles();
    const int mirror = brennik::build::FreePlane(50, 0, 0, 1, 0, 0);
    YSK_pointer_s symmetry = Entry(mirror);
    struct Case {
        const char* name;
        bool everything;
        int pass;
        std::set<int> relations;
    };
    const Case cases[] = {
        {"concentric only", false, 0, {YSK_RELATION_CONCENTRIC}},
        {"standard pass", true, 0, {YSK_RELATION_CONCENTRIC, YSK_RELATION_PARALLEL, YSK_RELATION_PERPENDICULAR,
                                     YSK_RELATION_SYMMETRIC}},
        {"tangent and symmetry pass", true, 1, {YSK_RELATION_SYMMETRIC}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        YskHost h;
        if (c.everything)
            h.OfferEverything();
        else
            h.Offer(YSK_OPTION_CONCENTRIC, YSK_OPTION_CYLINDER_FULL, YSK_OPTION_CYLINDER_FULL);
        YSK_fr_option_s options;
        options.pass = c.pass;
        options.symmetry_planes = &symmetry;
        options.symmetry_plane_count = 1;
        ASSERT_EQ(h.Find({Entry(plate)}, {Entry(plate)}, options), YSK_RESULT_OK);
        std::set<int> relations;
        for (const Found& f : h.found)
            relations.insert(f.relation);
        EXPECT_EQ(relations, c.relations);
    }
}

// The manager asks a face whether it goes all the way round only when the offer tells full
// faces from partial ones, and that on either side of the pair: the blend is the only
// partial cylinder, every cylinder of the plate is full.
TEST_F(Find, AFaceIsFullOrPartialAsTheOfferOnEitherSideNeedsIt)
{
    const int plate = brennik::build::PlateWithHoles();
    const int block = brennik::build::BlockWithBlend();
    std::set<int> cylinders;
    int blend = 0;
    for (int body : {plate, block})
        for (int f : Faces(body)) {
            int surf = 0;
            BQ_CYL_sf_t sf;
            BQ_FACE_ask_surf(f, &surf);
            if (BQ_CYL_ask(surf, &sf) == 0) {
                cylinders.insert(f);
                blend = body == block ? f : blend;
            }
        }
    ASSERT_NE(blend, 0);
    std::vector<YSK_pointer_s> faces = Entries(Faces(plate));
    for (int f : Faces(block))
        faces.push_back(Entry(f));
    std::vector<YSK_pointer_s> partners = faces;
    for (int body : {plate, block})
        for (int e : Edges(body))
            partners.push_back(Entry(e));
    struct Case {
        const char* name;
        int relation, from, to;
        bool partial;
    };
    const Case cases[] = {
        {"full cylinder concentric with a circle", YSK_OPTION_CONCENTRIC, YSK_OPTION_CYLINDER_FULL,
         YSK_OPTION_CIRCULAR_EDGE, false},
        {"partial cylinder concentric with a circle", YSK_OPTION_CONCENTRIC, YSK_OPTION_CYLINDER_PARTIAL,
         YSK_OPTION_CIRCULAR_EDGE, true},
        {"plane across a full cylinder", YSK_OPTION_PERPENDICULAR, YSK_OPTION_PLANE, YSK_OPTION_CYLINDER_FULL, false},
        {"plane across a partial cylinder", YSK_OPTION_PERPENDICULAR, YSK_OPTION_PLANE, YSK_OPTION_CYLINDER_PARTIAL,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        YskHost h;
        h.Offer(c.relation, c.from, c.to);
        ASSERT_EQ(h.Find(faces, partners), YSK_RESULT_OK);
        std::set<int> met;
        for (const Found& f : h.found)
            for (int end : {f.entity[0], f.entity[1]})
                if (cylinders.count(end))
                    met.insert(end);
        ASSERT_FALSE(met.empty());
        EXPECT_EQ(met.count(blend) == 1, c.partial);
        EXPECT_EQ(met.size() == 1, c.partial);
    }
}

// Members of a direction cluster may lean from its first direction; items far from the
// origin are still binned with their partners: two planes far apart on one plane, two lines
// far apart on one axis, each beside a slightly leaning first member (and the lines among
// enough others that the bins are searched, not passed over).
TEST_F(Find, BinnedPairsMeetFarFromTheOriginBesideALeaningDirection)
{
    using namespace tessik;
    const double lean = 9e-8;
    std::vector<YSK_pointer_s> entries = {
        Entry(brennik::build::FreePlane(0, 0, 5, lean, 0, 1)), Entry(brennik::build::FreePlane(0, 0, 0, 0, 0, 1)),
        Entry(brennik::build::FreePlane(1000, 0, 0, 0, 0, 1)), Entry(brennik::build::FreeLine(7, 7, 0, lean, 0, 1)),
        Entry(brennik::build::FreeLine(3, 0, 0, 0, 0, 1)),     Entry(brennik::build::FreeLine(3, 0, 1000, 0, 0, 1))};
    for (int k = 0; k < 30; ++k)
        entries.push_back(Entry(brennik::build::FreeLine(10 + k, 20, 0, 0, 0, 1)));
    std::vector<FindItem> items;
    ASSERT_TRUE(ReadItems(entries.data(), static_cast<int>(entries.size()), [](const YSK_pointer_s&) { return Rigid(); },
                          items));
    bool offered[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT] = {};
    offered[YSK_OPTION_COPLANAR][YSK_OPTION_PLANE][YSK_OPTION_PLANE] = true;
    offered[YSK_OPTION_CONCENTRIC][YSK_OPTION_LINEAR_EDGE][YSK_OPTION_LINEAR_EDGE] = true;
    FindSettings settings;
    settings.offered = offered;
    for (PairChoice choice : {PairChoice::Binned, PairChoice::AllPairs}) {
        std::set<std::pair<int, int>> found;
        FindCounts counts;
        FindRelationships(settings, items, items, {}, choice, [&](const FoundRelationship& r) {
            found.insert({r.relation, std::min(r.from->entity, r.to->entity)});
        }, counts);
        EXPECT_EQ(found, (std::set<std::pair<int, int>>{{YSK_RELATION_COPLANAR, entries[1].entity},
                                                         {YSK_RELATION_CONCENTRIC, entries[4].entity}}));
    }
}

// Directions and angles count as equal within the angular tolerance given, however loose:
// the bins gather them as every pair does. Two planes and two lines turned 5e-5 apart, a
// plane that far from square to the first pair, and two cones whose half angles differ by it.
TEST_F(Find, BinnedPairsFollowTheAngularToleranceGiven)
{
    using namespace tessik;
    const double turn = 5e-5;
    auto cone = [](double half) {
        BQ_CONE_sf_t sf{{{{20, 0, 0}}, {{0, 0, 1}}, {{1, 0, 0}}}, 2.0, half};
        int tag = 0;
        BQ_CONE_create(&sf, &tag);
        return tag;
    };
    const YSK_pointer_s entries[] = {
        Entry(brennik::build::FreePlane(0, 0, 0, 0, 0, 1)),    Entry(brennik::build::FreePlane(0, 0, 4, turn, 0, 1)),
        Entry(brennik::build::FreeLine(1, 2, 3, 0, 0, 1)),     Entry(brennik::build::FreeLine(1, 2, 3, 0, turn, 1)),
        Entry(brennik::build::FreePlane(9, 0, 0, 1, 0, turn)), Entry(cone(0.3)),
        Entry(cone(0.3 + turn))};
    std::vector<FindItem> items;
    ASSERT_TRUE(ReadItems(entries, 7, [](const YSK_pointer_s&) { return Rigid(); }, items));
    ASSERT_EQ(items.size(), 7u);
    bool offered[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT] = {};
    offered[YSK_OPTION_PARALLEL][YSK_OPTION_PLANE][YSK_OPTION_PLANE] = true;
    offered[YSK_OPTION_PERPENDICULAR][YSK_OPTION_PLANE][YSK_OPTION_PLANE] = true;
    offered[YSK_OPTION_CONCENTRIC][YSK_OPTION_LINEAR_EDGE][YSK_OPTION_LINEAR_EDGE] = true;
    offered[YSK_OPTION_SIMILAR][YSK_OPTION_CONE_PARTIAL][YSK_OPTION_CONE_PARTIAL] = true;
    struct Case {
        double angular;
        size_t found;
    };
    for (const Case c : {Case{1e-11, 0}, Case{1e-4, 5}}) {
        SCOPED_TRACE(c.angular);
        FindSettings settings;
        settings.angular = c.angular;
        settings.offered = offered;
        std::set<std::tuple<int, int, int>> found[2];
        for (PairChoice choice : {PairChoice::Binned, PairChoice::AllPairs}) {
            FindCounts counts;
            FindRelationships(settings, items, items, {}, choice, [&](const FoundRelationship& r) {
                found[choice == PairChoice::Binned].insert(
                    {r.relation, std::min(r.from->entity, r.to->entity), std::max(r.from->entity, r.to->entity)});
            }, counts);
        }
        EXPECT_EQ(found[1], found[0]);
        EXPECT_EQ(found[0].size(), c.found);
    }
}

TEST_F(Find, ThirdListEntitiesAreNoPartnersAndBadListsAreRefused)
{
    const int plate = brennik::build::PlateWithHoles();
    const int bore3 = Cylinder(plate, 3, 50, 15), bore6 = Cylinder(plate, 6, 50, 15);
    YskHost h;
    h.OfferEverything();
    ASSERT_EQ(h.Find({Entry(bore3)}, {Entry(plate)}, {}, {Entry(bore6)}), YSK_RESULT_OK);
    EXPECT_TRUE(Pairs(h.found, YSK_RELATION_CONCENTRIC).empty());

    YSK_fr_option_s options;
    int counts[3];
    EXPECT_EQ(h.Manager().find_relationships(1e-8, 1e-11, &options, nullptr, 2, nullptr, 0, nullptr, 0, &counts[0],
                                             &counts[1], &counts[2]),
              YSK_RESULT_BAD_ARGUMENT);
    YSK_pointer_s one = Entry(bore3);
    EXPECT_EQ(h.Manager().find_relationships(1e-8, 1e-11, nullptr, &one, 1, nullptr, 0, nullptr, 0, &counts[0],
                                             &counts[1], &counts[2]),
              YSK_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(h.Manager().set_fr_option(YSK_OPTION_RELATION_COUNT, YSK_OPTION_PLANE, YSK_OPTION_PLANE, 1),
              YSK_RESULT_BAD_ARGUMENT);
}

// The bins only choose which pairs to test: on fixtures of every kind, placed twice (once
// turned about a skew axis), they find exactly what testing every pair finds.
TEST_F(Find, BinnedPairsFindWhatEveryPairFinds)
{
    using namespace tessik;
    const int bodies[] = {brennik::build::PlateWithHoles(), brennik::build::PlateWithHolePatterns(),
                          brennik::build::TurnedPart(), brennik::build::BlockWithBlendChain(),
                          brennik::build::BlockWithBlendedCorner()};
    const Vec3 axis = Vec3(1, 2, 3).normalized();
    Rigid turned;
    turned.R = Eigen::AngleAxisd(0.7, axis).toRotationMatrix();
    turned.t = Vec3(5, -3, 2);
    Instance first, second;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            second.m[i][j] = turned.R(i, j);
        second.m[i][3] = turned.t(i);
    }
    InstancePlacement place = [&](const YSK_pointer_s& e) { return e.instance == &second ? turned : Rigid(); };
    std::vector<YSK_pointer_s> entries;
    for (int b : bodies)
        for (Instance* in : {&first, &second})
            entries.push_back(Entry(b, in));
    std::vector<FindItem> items;
    ASSERT_TRUE(ReadItems(entries.data(), static_cast<int>(entries.size()), place, items));

    bool offered[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT];
    std::fill(&offered[0][0][0], &offered[0][0][0] + sizeof offered / sizeof(bool), true);
    FindSettings settings;
    settings.offered = offered;
    const YSK_pointer_s refs[] = {Entry(brennik::build::FreePlane(50, 0, 0, 1, 0, 0)),
                                  Entry(brennik::build::FreeLine(0, 0, 0, 0, 0, 1))};
    ASSERT_TRUE(ReadItems(&refs[0], 1, place, settings.symmetryPlanes));
    ASSERT_TRUE(ReadItems(&refs[0], 2, place, settings.coplaxis));

    auto run = [&](PairChoice choice, FindCounts& counts) {
        std::multiset<std::tuple<int, int, const void*, int, const void*, int>> out;
        FindRelationships(settings, items, items, {}, choice, [&](const FoundRelationship& r) {
            out.insert({r.relation, r.from->entity, r.from->instance, r.to->entity, r.to->instance,
                        r.third ? r.third->entity : 0});
        }, counts);
        return out;
    };
    FindCounts binned, every;
    const auto fromBins = run(PairChoice::Binned, binned);
    const auto fromAll = run(PairChoice::AllPairs, every);
    std::set<int> relations;
    for (const auto& r : fromAll)
        relations.insert(std::get<0>(r));
    EXPECT_GE(relations.size(), 7u) << "the fixtures show most kinds of relationship";
    EXPECT_EQ(fromBins, fromAll);

    EXPECT_EQ(binned.fromParallelPlanes, every.fromParallelPlanes);
    EXPECT_EQ(binned.reported, every.reported);
}

}  // namespace
