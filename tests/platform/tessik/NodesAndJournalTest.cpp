// Handles, listings, callbacks, the journal and the test controls.
#include "TestHost.h"
#include "tessik_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace tessik_host;

namespace {

TEST(Handles, ErasedNodesStayValidTombstonesAndEraseTwiceDoesNothing)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    auto d = h.Dim(ZMR3_DISTANCE, a, b, 1.0);
    EXPECT_EQ(h.System().erase(a->node), 1);
    EXPECT_EQ(h.System().erase(a->node), 0);
    // Its dimension went with it; the handles still answer, as nothing.
    EXPECT_EQ(h.System().erase(d->node), 0);
    EXPECT_EQ(h.System().status(d->node), ZMR3_D_STATUS_NOT_EVALUATED);
    double m[4][4];
    EXPECT_EQ(h.System().transform(a->node, m), 0);
    EXPECT_EQ(h.System().list_d_nodes(0, nullptr, nullptr), 0);
    EXPECT_EQ(h.System().list_g_nodes(0, nullptr, nullptr), 1);
}

TEST(Handles, ErasingGeometryTakesItsBondsWhateverReferencesCameAndWentBefore)
{
    // References to a geometry are made, moved and dropped before it is erased; whatever still
    // names it when it goes must go with it, and what no longer names it must stay.
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    auto c = h.Circle({5, 0, 0}, {0, 0, 1}, 2.0);
    auto set = h.Set({a});
    auto first = h.Set({});
    h.Dim(ZMR3_DISTANCE, a, b, 1.0);
    auto bc = h.Dim(ZMR3_DISTANCE, b, c, 4.0);
    h.Radius(ZMR3_RADIUS, c, 2.0);
    // b moves between sets; erasing a set it left or is in takes no bond.
    ASSERT_EQ(h.System().move_to_set(b->node, first->node), 1);
    ASSERT_EQ(h.System().move_to_set(b->node, set->node), 1);
    ASSERT_EQ(h.System().move_to_set(b->node, nullptr), 1);
    EXPECT_EQ(h.System().erase(first->node), 1);
    EXPECT_EQ(h.System().erase(set->node), 1);
    EXPECT_EQ(h.System().list_d_nodes(0, nullptr, nullptr), 2);
    // Erasing a takes its one bond; b keeps the other.
    EXPECT_EQ(h.System().erase(a->node), 1);
    EXPECT_EQ(h.System().list_d_nodes(0, nullptr, nullptr), 1);
    // With its last bond erased first, b goes alone; c still takes its radius.
    EXPECT_EQ(h.System().erase(bc->node), 1);
    EXPECT_EQ(h.System().erase(b->node), 1);
    EXPECT_EQ(h.System().list_r_nodes(0, nullptr, nullptr), 1);
    EXPECT_EQ(h.System().erase(c->node), 1);
    EXPECT_EQ(h.System().list_r_nodes(0, nullptr, nullptr), 0);
    EXPECT_EQ(h.System().list_d_nodes(0, nullptr, nullptr), 0);
}

TEST(Handles, AHandleSeenThroughAnotherTypeStillErasesItsNode)
{
    // A procedural feature's handle is a g-node; it may come back to erase as a d-node.
    Host h;
    auto feature = h.Feature({});
    EXPECT_EQ(h.System().erase(reinterpret_cast<d_node*>(feature->node)), 1);
    EXPECT_EQ(h.System().list_g_nodes(0, nullptr, nullptr), 0);
}

TEST(Handles, NodesOnNullOrErasedGeometryAreNull)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    EXPECT_EQ(h.System().add_d(nullptr, a->node, nullptr), nullptr);
    EXPECT_EQ(h.System().add_r(nullptr, nullptr), nullptr);
    h.System().erase(b->node);
    EXPECT_EQ(h.System().add_d(nullptr, a->node, b->node), nullptr);
    EXPECT_EQ(h.System().extended_dimension_system()->add_pattern(nullptr, b->node, JUN_PATTERN_LINEAR), nullptr);
}

TEST(Handles, FixToggles)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    EXPECT_EQ(h.Status(a), ZMR3_G_STATUS_SOLVED);
    h.System().fix(a->node);
    EXPECT_EQ(h.Status(a), ZMR3_G_STATUS_FIXED);
    h.System().fix(a->node);
    EXPECT_EQ(h.Status(a), ZMR3_G_STATUS_SOLVED);
}

TEST(Listings, CountThenFillHandlesAndApplicationPointers)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 1}, {0, 0, 1});
    auto loose = h.Point({5, 5, 5});
    auto set = h.Set({a});
    auto d = h.Dim(ZMR3_DISTANCE, a, b, 1.0);
    auto r = h.Radius(ZMR3_RADIUS, h.Cylinder({0, 0, 0}, {0, 0, 1}, 1.0), 1.0);

    ZMR3_dimension_system& s = h.System();
    const int count = s.list_g_nodes(0, nullptr, nullptr);
    EXPECT_EQ(count, 5);
    std::vector<g_node*> nodes(static_cast<size_t>(count));
    std::vector<void*> apps(static_cast<size_t>(count));
    EXPECT_EQ(s.list_g_nodes(count, nodes.data(), apps.data()), count);
    EXPECT_EQ(nodes[0], a->node);
    EXPECT_EQ(apps[2], loose);

    d_node* dn = nullptr;
    void* dapp = nullptr;
    EXPECT_EQ(s.list_d_nodes(1, &dn, &dapp), 1);
    EXPECT_EQ(dn, d->node);
    EXPECT_EQ(dapp, d);
    r_node* rn = nullptr;
    EXPECT_EQ(s.list_r_nodes(1, &rn, nullptr), 1);
    EXPECT_EQ(rn, r->rnode);
    EXPECT_EQ(s.get_d_of_g(b->node, 0, nullptr, nullptr), 1);

    g_node* owner = nullptr;
    void* ownerApp = nullptr;
    EXPECT_EQ(s.get_s_of_g(a->node, &owner, &ownerApp), 1);
    EXPECT_EQ(owner, set->node);
    EXPECT_EQ(ownerApp, set);
    EXPECT_EQ(s.get_s_of_g(b->node, &owner, &ownerApp), 0);

    g_node* passive = nullptr;
    EXPECT_EQ(s.list_passive_g_nodes(0, nullptr, nullptr), 1);
    EXPECT_EQ(s.list_passive_g_nodes(1, &passive, nullptr), 1);
    EXPECT_EQ(passive, loose->node);
}

TEST(Handles, NodeMadeHereCanBeHandedToTheApplication)
{
    Host h;
    auto a = h.Plane({0, 0, 0}, {0, 0, 1});
    auto b = h.Plane({0, 0, 3}, {0, 0, 1});
    h.System().fix(a->node);
    // Made with no application, then handed over: the callbacks reach the new owner.
    d_node* d = h.System().add_d(nullptr, a->node, b->node);
    Bond bond;
    bond.type = ZMR3_DISTANCE;
    bond.value = 4.0;
    bond.a = a;
    bond.b = b;
    ASSERT_EQ(h.System().set_application_pointer(d, &bond), 1);
    EXPECT_EQ(h.System().application_pointer(d), &bond);
    ASSERT_EQ(h.Solve(), ZMR3_SOLVED);
    h.Apply();
    EXPECT_NEAR(b->p[2], 4.0, 1e-8);
}

struct Counting {
    static int calls;
    static int Type(void*)
    {
        ++calls;
        return ZMR3_G_POINT;
    }
    static void Location(double out[3], void*)
    {
        ++calls;
        out[0] = out[1] = out[2] = 0.0;
    }
};
int Counting::calls = 0;

TEST(Callbacks, AreCalledOnlyInsideEvaluation)
{
    WOF_dimension_system_manager system(nullptr, 1e-8, 1000.0);
    ZMR3_frustum_functions table;
    system.enquire_frustum_functions(&table);
    table.entries[ZMR3_FR_GEOM_TYPE] = ZMR3_frustum_entry(&Counting::Type);
    table.entries[ZMR3_FR_POINT_LOCATION] = ZMR3_frustum_entry(&Counting::Location);
    system.register_frustum_functions(&table);
    Counting::calls = 0;
    g_node* a = system.add_g(nullptr);
    g_node* b = system.add_g(nullptr);
    system.fix(a);
    system.move_to_set(b, nullptr);
    system.status(a);
    system.list_g_nodes(0, nullptr, nullptr);
    EXPECT_EQ(Counting::calls, 0);
    system.re_evaluate(0, ZMR3_EVALUATE_FULL);
    EXPECT_GT(Counting::calls, 0);
    const int afterEvaluation = Counting::calls;
    system.erase(b);
    system.undo_evaluation(ZMR3_UNDO_TO_INITIAL);
    EXPECT_EQ(Counting::calls, afterEvaluation);
}

struct Captured {
    static std::string text;
    static int flushes;
    static size_t Write(const void* data, size_t size, size_t count, FILE*)
    {
        text.append(static_cast<const char*>(data), size * count);
        return count;
    }
    static int Flush(FILE*)
    {
        ++flushes;
        return 0;
    }
};
std::string Captured::text;
int Captured::flushes = 0;

TEST(Journal, WritesOneLinePerCallThroughTheGivenFunctions)
{
    Host h;
    Captured::text.clear();
    Captured::flushes = 0;
    ZMR3_file file;
    ASSERT_EQ(ZMR3_file_construct_full(&file, stdout, &Captured::Write, &Captured::Flush), 0);
    h.System().journal_by_ptr(&file, ZMR3_JOURNAL_CALLS | ZMR3_JOURNAL_ANSWERS, 17);
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    h.Dim(ZMR3_DISTANCE, a, b, 2.0);
    h.Solve();
    const std::string expected = "ZMR3::journal_by_ptr 3 17 -> 0\n"
                                 "ZMR3::add_g -> 1\n"
                                 "ZMR3::add_g -> 2\n"
                                 "ZMR3::add_d 1 2 0 -> 3\n"
                                 "ZMR3::undo_evaluation 0 -> 0\n"
                                 "ZMR3::re_evaluate 0 2 -> 0\n";
    EXPECT_EQ(Captured::text, expected);
    EXPECT_EQ(Captured::flushes, 6);
}

TEST(Journal, WritesToAStreamWithTheRuntimeFunctionsAndSummarisesEvaluations)
{
    FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        Host h;
        ZMR3_file file;
        ASSERT_EQ(ZMR3_file_construct_full(&file, stream, &std::fwrite, &std::fflush), 0);
        h.System().journal_by_ptr(&file, 7, 20);
        auto a = h.Point({0, 0, 0});
        auto b = h.Point({1, 0, 0});
        h.Dim(ZMR3_DISTANCE, a, b, 2.0);
        h.Solve();
    }
    std::rewind(stream);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, stream) != nullptr)
        text += buffer;
    std::fclose(stream);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    EXPECT_NE(text.find("ZMR3::evaluation components 1"), std::string::npos);
}

TEST(Journal, RefusesAnIncompleteFileRecord)
{
    ZMR3_file file;
    EXPECT_EQ(ZMR3_file_construct_full(&file, stdout, nullptr, &Captured::Flush), 1);
    EXPECT_EQ(ZMR3_file_construct_full(nullptr, stdout, &Captured::Write, &Captured::Flush), 1);
}

TEST(TestControl, CallLogListsEachCall)
{
    tessik_test::ResetControls();
    tessik_test::EnableCallLog(true);
    Host h;
    auto a = h.Point({0, 0, 0});
    h.Feature({a});
    h.Solve();
    tessik_test::EnableCallLog(false);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::add_g"), 1);
    EXPECT_EQ(tessik_test::CallCount("KEV::add_procedural_feature"), 1);
    EXPECT_EQ(tessik_test::CallCount("KEV::move_to_feature"), 1);
    EXPECT_EQ(tessik_test::CallCount("ZMR3::re_evaluate"), 1);
    tessik_test::ResetControls();
    EXPECT_TRUE(tessik_test::CallLog().empty());
}

TEST(TestControl, ForcedStatusesLastOneEvaluation)
{
    Host h;
    auto a = h.Point({0, 0, 0});
    auto b = h.Point({1, 0, 0});
    auto d = h.Dim(ZMR3_DISTANCE, a, b, 1.0);
    tessik_test::ForceGNodeStatus(a, ZMR3_G_STATUS_NOT_CONVERGED);
    tessik_test::ForceDNodeStatus(d, ZMR3_D_STATUS_OVER_DEFINED);
    EXPECT_EQ(h.Solve(), ZMR3_NOT_SOLVED);
    EXPECT_EQ(h.Status(a), ZMR3_G_STATUS_NOT_CONVERGED);
    EXPECT_EQ(h.Status(d), ZMR3_D_STATUS_OVER_DEFINED);
    EXPECT_EQ(h.Solve(), ZMR3_SOLVED);
    EXPECT_EQ(h.Status(d), ZMR3_D_STATUS_SATISFIED);
}

}  // namespace
