// The one-shot modelling calls on real bodies: what each does to the body (faces, volume, a
// moved face), the references it carries and the change records it leaves; and that a call the
// add-on refuses leaves every body as it was, with no change records.

#include "../../core/frame/ApiTestFixture.h"
#include "../../model/transaction/ModelFixture.h"

#include "api/model/QelInstanceApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "api/model/QelSectionApi.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ShellOptions.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"

#include <hxr_test.h>

#include <cmath>
#include <functional>
#include <vector>

namespace QEL {
namespace testing {
namespace {

const double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

Array<int> Tags(std::initializer_list<int> tags)
{
    Array<int> array;
    for (int tag : tags)
        array.Add(tag);
    return array;
}

int FaceCount(int body)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    return static_cast<int>(faces.size());
}

std::vector<int> FacesOfClass(int body, int surfaceClass)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    std::vector<int> found;
    for (int face : faces)
        if (GetGeometryClassOfTopology(face) == surfaceClass)
            found.push_back(face);
    return found;
}

// The kernel receives only bodies its checker finds valid, so a body that comes back from
// transmit data is a valid one.
bool SurvivesTransmit(int body)
{
    BQ_MEMORY_block_t* block = nullptr;
    if (BQ_PART_transmit_b(1, &body, nullptr, &block) != BQ_ERROR_no_errors)
        return false;
    int count = 0;
    int* parts = nullptr;
    const int error = BQ_PART_receive_b(block, nullptr, &count, &parts);
    BQ_MEMORY_block_f(block);
    if (error == BQ_ERROR_no_errors && count > 0)
        BQ_ENTITY_delete(count, parts);
    BQ_MEMORY_free(parts);
    return error == BQ_ERROR_no_errors && count == 1;
}

class ModellingApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
    }
    void TearDown() override
    {
        hxr::test::Reset();
        ApiTest::TearDown();
    }
    size_t CountTrackingData()
    {
        TrackingManager& manager = *m_interaction->GetTrackingManager();
        return manager.GetBrennikMapData().size() + manager.GetBrennikLabelData().size() +
               manager.GetQELData().size() + manager.GetQELUpdateData().size();
    }
    int Create(int (*create)(int, ResultType*))
    {
        ResultType result = ResultTypeFail;
        const int tag = create(m_tag, &result);
        EXPECT_EQ(result, ResultTypeOk);
        return tag;
    }
    int Place(int body, double dx)
    {
        double transform[4][4] = {{1, 0, 0, dx}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        ResultType result = ResultTypeFail;
        const int instance = CreateInstance(m_tag, body, transform, &result);
        EXPECT_EQ(result, ResultTypeOk);
        return instance;
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
};

TEST_F(ModellingApiTest, DeleteFacesHealsTheBodyCarriesReferencesAndRecordsChanges)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(body, KernelClassCylinder);
    const int faces = FaceCount(body);
    const double volume = brennik::build::Volume(body);
    std::set<int> all;
    GetBodyFaces(body, all);
    int kept = 0;
    for (int face : all)
        if (face != blend && !AreFacesAdjacent(face, blend))
            kept = face;
    Reference* reference = Reference::Create(m_interaction, kept, nullptr);
    ResultType result = ResultTypeFail;

    DeleteFaces(m_tag, Tags({blend}), Create(CreateDeleteFacesOptions), &result);

    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(FaceCount(body), faces - 1);
    EXPECT_GT(brennik::build::Volume(body), volume);
    EXPECT_EQ(reference->GetEntityTag(), kept);
    EXPECT_GT(CountTrackingData(), 0u);
}

// Every operation whose add-on call fails leaves the body as the kernel's compare sees it and
// no change records.
TEST_F(ModellingApiTest, RefusedAddOnCallLeavesEveryBodyEqualAndNoChangeRecords)
{
    struct Case {
        const char* addOnCall;
        std::function<void(int body, int face, ResultType*)> run;
    };
    const std::vector<Case> cases = {
        {"HXR_FACE_delete",
         [&](int, int face, ResultType* r) { DeleteFaces(m_tag, Tags({face}), Create(CreateDeleteFacesOptions), r); }},
        {"HXR_FACE_cut",
         [&](int, int face, ResultType* r) {
             EXPECT_EQ(Cut(m_tag, Tags({face}), GetEntityPartition(face), Create(CreateCutOptions), r), 0);
         }},
        {"HXR_BODY_hollow", [&](int body, int, ResultType* r) { Shell(m_tag, 1.0, body, Create(CreateShellOptions), r); }},
        {"HXR_FACE_change",
         [&](int, int face, ResultType* r) {
             int surface = 0;
             BQ_FACE_ask_surf(face, &surface);
             ReplaceFaces(m_tag, Tags({face}), Tags({surface}), Tags({1}), Create(CreateReplaceOptions), r);
         }},
    };
    for (const Case& c : cases) {
        const int body = brennik::build::BlockWithBlend(2.0);
        const int blend = FaceOfClass(body, KernelClassCylinder);
        int witness = 0;
        ASSERT_EQ(BQ_ENTITY_copy(body, &witness), BQ_ERROR_no_errors);
        hxr::test::FailNextCall(c.addOnCall, HXR_ERROR_algorithm_failed);
        ResultType result = ResultTypeOk;
        c.run(body, blend, &result);
        EXPECT_EQ(result, ResultTypeFail) << c.addOnCall;
        EXPECT_TRUE(BodiesEqual(body, witness)) << c.addOnCall;
        EXPECT_EQ(CountTrackingData(), 0u) << c.addOnCall;
        hxr::test::Reset();
    }
}

TEST_F(ModellingApiTest, CutMakesAPlacedSheetAndLeavesTheOptionPartitionUnset)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(body, KernelClassCylinder);
    const int faces = FaceCount(body);
    const int options = Create(CreateCutOptions);
    ResultType result = ResultTypeFail;

    const int instance = Cut(m_tag, Tags({blend}), GetEntityPartition(body), options, &result);

    ASSERT_EQ(result, ResultTypeOk);
    ASSERT_NE(instance, 0);
    Instance* placed = m_interaction->FindInstanceFromTag(instance);
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(placed->GetXform().IsIdentity());
    EXPECT_EQ(FaceCount(placed->GetBodyTag()), 1);
    EXPECT_EQ(FaceCount(body), faces - 1);
    EXPECT_EQ(CastTagToCutOptions(m_interaction, options)->GetOptionBlock().partition, 0);
}

// The tool goes in where its instance places it as seen from the target's instance: the
// inverse of the target's placement times the tool's.
TEST_F(ModellingApiTest, PastePlacesTheToolRelativeToTheTarget)
{
    const int target = brennik::build::Block();
    const int tool = brennik::build::Block(2.0, 2.0, 2.0);
    const int options = Create(CreatePasteOptions);
    ResultType result = ResultTypeFail;

    Paste(m_tag, Place(tool, 109.0), Place(target, 100.0), options, &result);

    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_NEAR(brennik::build::Volume(target), 6000.0 + 4.0, 1e-6);
    EXPECT_NE(FaceAt(target, 1, 0, 0, 11.0), 0);
    EXPECT_GT(CountTrackingData(), 0u);
}

TEST_F(ModellingApiTest, PasteOfAToolPlacedLikeItsTargetNeedsNoTransform)
{
    const int target = brennik::build::Block();
    const int tool = brennik::build::Block(12.0, 2.0, 2.0);
    ResultType result = ResultTypeFail;
    Paste(m_tag, Place(tool, 5.0), Place(target, 5.0), Create(CreatePasteOptions), &result);
    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_NEAR(brennik::build::Volume(target), 6000.0 + 8.0, 1e-6);
}

TEST_F(ModellingApiTest, ShellSplitsTheThicknessByItsType)
{
    struct Case {
        int type;
        double volume;
    };
    // A 10 x 20 x 30 block opened at its top and hollowed 1.0 thick: inwards keeps the
    // outside, outwards adds a skin, symmetric half of each (its opening grows with the
    // outer half).
    const std::vector<Case> cases = {
        {ShellTypeInwards, 6000.0 - 8.0 * 18.0 * 29.0},
        {ShellTypeOutwards, 12.0 * 22.0 * 31.0 - 6000.0},
        {ShellTypeSymmetric, 11.0 * 21.0 * 31.0 - 9.0 * 19.0 * 30.0},
    };
    for (const Case& c : cases) {
        const int body = brennik::build::Block();
        const int options = Create(CreateShellOptions);
        ResultType result = ResultTypeFail;
        ShellOptionsSetType(m_tag, options, static_cast<ShellType>(c.type), &result);
        ShellOptionsSetPierceFaces(m_tag, options, Tags({FaceAt(body, 0, 0, 1, 30)}), &result);
        ASSERT_EQ(result, ResultTypeOk);
        Shell(m_tag, 1.0, body, options, &result);
        ASSERT_EQ(result, ResultTypeOk) << c.type;
        EXPECT_NEAR(brennik::build::Volume(body), c.volume, 1e-3) << c.type;
        EXPECT_GT(CountTrackingData(), 0u);
    }
}

// A number that names no shell type never becomes one: the setter refuses it with checks off
// too, so the options keep their type and a shell is not asked to read it.
TEST_F(ModellingApiTest, ShellTypeOutsideTheTypesIsRefusedAndChangesNothing)
{
    const int options = Create(CreateShellOptions);
    ShellOptions* shell = CastTagTo<ShellOptions>(m_interaction, options);
    ASSERT_NE(shell, nullptr);
    const int before = shell->GetType();
    m_interaction->SetCheckArguments(false);
    for (int number : {4, 0, -1}) {
        ResultType result = ResultTypeOk;
        ShellOptionsSetType(m_tag, options, static_cast<ShellType>(number), &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << number;
        EXPECT_EQ(shell->GetType(), before);
    }
}

// Stopped before its effect, a call answers its start value and only its result tells: 1 for
// the persistent-data calls, true for the section calls; 0 or false for the others.
TEST_F(ModellingApiTest, CallsStoppedBeforeTheirEffectAnswerTheirStartValue)
{
    int sectionInstance = 0;
    Array<int> sources;
    Array<int> sections;
    Array<int> two = Tags({1, 2});
    struct Case {
        const char* name;
        std::function<int(ResultType*)> call;
        int start;
    };
    const Case cases[] = {
        {"ExtractBodyPersistentData", [&](ResultType* r) { return int(ExtractBodyPersistentData(m_tag, 0, 0, r)); },
         ExtractBodyPersistentDataStored},
        {"RestoreBodyPersistentData", [&](ResultType* r) { return int(RestoreBodyPersistentData(m_tag, 0, 0, r)); },
         RestoreBodyPersistentDataRestored},
        {"SectionGenerateGeometry",
         [&](ResultType* r) { return int(SectionGenerateGeometry(m_tag, 0, 0, sectionInstance, sources, sections, r)); },
         1},
        {"SectionGetMapping",
         [&](ResultType* r) { return int(SectionGetMapping(m_tag, 0, 0, sectionInstance, sources, sections, r)); }, 1},
        {"SectionAddGeometry", [&](ResultType* r) { return int(SectionAddGeometry(m_tag, 0, 0, 0, two, sections, r)); },
         1},
        {"BodyIsPasteTool", [&](ResultType* r) { return int(BodyIsPasteTool(m_tag, 0, 0, r)); }, 0},
    };
    for (bool checksOn : {true, false}) {
        m_interaction->SetCheckArguments(checksOn);
        for (const Case& c : cases) {
            ResultType result = ResultTypeOk;
            EXPECT_EQ(c.call(&result), c.start) << c.name;
            EXPECT_EQ(result, ResultTypeBadArgument) << c.name;
        }
    }
}

TEST_F(ModellingApiTest, ReplaceFacesMovesAFaceOntoTheNewSurface)
{
    const int body = brennik::build::Block();
    const int top = FaceAt(body, 0, 0, 1, 30);
    const int plane = brennik::build::FreePlane(0, 0, 32, 0, 0, 1);
    Reference* reference = Reference::Create(m_interaction, top, nullptr);
    ResultType result = ResultTypeFail;

    ReplaceFaces(m_tag, Tags({top}), Tags({plane}), Tags({1}), Create(CreateReplaceOptions), &result);

    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_EQ(FaceAt(body, 0, 0, 1, 32), top);
    EXPECT_NEAR(brennik::build::Volume(body), 10.0 * 20.0 * 32.0, 1e-6);
    EXPECT_EQ(reference->GetEntityTag(), top);
}

// Surfaces, senses and edge lists are read by the index of each face: lists of another length
// are refused before anything changes, with the checks on or off.
TEST_F(ModellingApiTest, ListsThatDoNotRunWithTheFacesAreBadArguments)
{
    const int body = brennik::build::Block();
    const int top = FaceAt(body, 0, 0, 1, 30);
    const int side = FaceAt(body, 1, 0, 0, 10);
    int surface = 0;
    BQ_FACE_ask_surf(top, &surface);
    const double direction[3] = {0, 0, 1};
    for (bool checks : {true, false}) {
        m_interaction->SetCheckArguments(checks);
        ResultType result = ResultTypeOk;
        ReplaceFaces(m_tag, Tags({top, side}), Tags({surface}), Tags({1, 1}), Create(CreateReplaceOptions), &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << checks;
        ReplaceFaces(m_tag, Tags({top}), Tags({surface}), Tags({1, 0}), Create(CreateReplaceOptions), &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << checks;
        Array<Array<int>> edges;
        TaperFaces(m_tag, Tags({side}), direction, 0.1, edges, Create(CreateTaperOptions), &result);
        EXPECT_EQ(result, ResultTypeBadArgument) << checks;
    }
    EXPECT_EQ(CountTrackingData(), 0u);
}

TEST_F(ModellingApiTest, ReplaceWithAReferencedSheetChangesNothing)
{
    const int body = brennik::build::Block();
    const int sheet = brennik::build::Sheet();
    int witness = 0;
    ASSERT_EQ(BQ_ENTITY_copy(body, &witness), BQ_ERROR_no_errors);
    std::set<int> sheetFaces;
    GetBodyFaces(sheet, sheetFaces);
    Reference::Create(m_interaction, *sheetFaces.begin(), nullptr);
    ResultType result = ResultTypeOk;

    ReplaceFacesWithSheet(m_tag, Tags({FaceAt(body, 0, 0, 1, 30)}), sheet,
                          Create(CreateReplaceFacesWithSheetOptions), &result);

    EXPECT_EQ(result, ResultTypeSheetBodyReferenced);
    EXPECT_TRUE(BodiesEqual(body, witness));
}

// A one-face sheet that nothing holds gives the face its plane: the face stays in the body on
// the sheet's tilted plane and the body stays valid.
TEST_F(ModellingApiTest, ReplaceWithABareSheetPutsTheFaceOnTheSheetsPlane)
{
    const int body = brennik::build::Block();
    const int top = FaceAt(body, 0, 0, 1, 30);
    // The plane 0.1 x + z = 32 over the block's top.
    const int sheet = brennik::build::PlanarSheet(0, 0, 32, 0.1, 0, 1);
    ASSERT_NE(sheet, 0);
    Reference* reference = Reference::Create(m_interaction, top, nullptr);
    ResultType result = ResultTypeFail;

    ReplaceFacesWithSheet(m_tag, Tags({top}), sheet, Create(CreateReplaceFacesWithSheetOptions), &result);

    ASSERT_EQ(result, ResultTypeOk);
    const double length = std::sqrt(1.01);
    EXPECT_EQ(FaceAt(body, 0.1 / length, 0, 1 / length, 32 / length), top);
    EXPECT_EQ(FaceCount(body), 6);
    EXPECT_NEAR(brennik::build::Volume(body), 10.0 * 20.0 * 31.5, 1e-6);
    EXPECT_EQ(reference->GetEntityTag(), top);
    EXPECT_GT(CountTrackingData(), 0u);
    EXPECT_TRUE(SurvivesTransmit(body));
}

// Blends are made again in the order asked for. Apart, each stays a blend of the body, which
// keeps its faces and volume. Meeting at the block's corner (10, 0, 30), the later rolls over
// the earlier there, in either order: every face keeps its tag, the body stays valid, and it
// changes only in the corner cube of the larger radius (2), so its volume stays within that
// cube's 8 of the input's. When the add-on fails, the body is as it was and no change is recorded.
TEST_F(ModellingApiTest, ReorderBlendsMakesBlendsAgainApartOrMeeting)
{
    const int refused = brennik::build::BlockWithTwoBlends(2.0, 1.0);
    std::vector<int> blends = FacesOfClass(refused, KernelClassCylinder);
    int witness = 0;
    ASSERT_EQ(BQ_ENTITY_copy(refused, &witness), BQ_ERROR_no_errors);
    hxr::test::FailNextCall("HXR_FACE_reorder_blends", HXR_ERROR_algorithm_failed);
    ResultType result = ResultTypeOk;

    ReorderBlends(m_tag, Tags({blends[0]}), Tags({blends[1]}), Create(CreateReorderBlendsOptions), &result);

    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_TRUE(BodiesEqual(refused, witness));
    EXPECT_EQ(CountTrackingData(), 0u);

    const int apart = brennik::build::BlockWithOppositeBlends(2.0, 1.0);
    blends = FacesOfClass(apart, KernelClassCylinder);
    ASSERT_EQ(blends.size(), 2u);
    const double volume = brennik::build::Volume(apart);

    ReorderBlends(m_tag, Tags({blends[0]}), Tags({blends[1]}), Create(CreateReorderBlendsOptions), &result);

    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_EQ(FaceCount(apart), 8);
    EXPECT_EQ(FacesOfClass(apart, KernelClassCylinder), blends);
    EXPECT_NEAR(brennik::build::Volume(apart), volume, 1e-6);
    EXPECT_TRUE(SurvivesTransmit(apart));
    EXPECT_GT(CountTrackingData(), 0u);

    for (bool swapped : {false, true}) {
        SCOPED_TRACE(swapped ? "second blend first" : "first blend first");
        const int meeting = brennik::build::BlockWithTwoBlends(2.0, 1.0);
        blends = FacesOfClass(meeting, KernelClassCylinder);
        ASSERT_EQ(blends.size(), 2u);
        if (swapped)
            std::swap(blends[0], blends[1]);
        std::set<int> faces;
        GetBodyFaces(meeting, faces);
        const double before = brennik::build::Volume(meeting);

        ReorderBlends(m_tag, Tags({blends[0]}), Tags({blends[1]}), Create(CreateReorderBlendsOptions), &result);

        ASSERT_EQ(result, ResultTypeOk);
        std::set<int> after;
        GetBodyFaces(meeting, after);
        for (int face : faces)
            EXPECT_EQ(after.count(face), 1u) << face;
        for (int blend : blends)
            EXPECT_EQ(GetGeometryClassOfTopology(blend), KernelClassCylinder);
        EXPECT_NEAR(brennik::build::Volume(meeting), before, 8.0);
        EXPECT_TRUE(SurvivesTransmit(meeting));
    }

}

// A copied face makes a placed sheet of that one face and leaves its body whole.
TEST_F(ModellingApiTest, CopyMakesASheetAndLeavesTheBodyWhole)
{
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = FaceOfClass(body, KernelClassCylinder);
    const int faces = FaceCount(body);
    const double volume = brennik::build::Volume(body);
    ResultType result = ResultTypeFail;
    const int instance = Copy(m_tag, Tags({blend}), GetEntityPartition(body), Create(CreateCopyOptions), &result);
    ASSERT_EQ(result, ResultTypeOk);
    Instance* placed = m_interaction->FindInstanceFromTag(instance);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(FaceCount(placed->GetBodyTag()), 1);
    EXPECT_EQ(FaceCount(body), faces);
    EXPECT_EQ(FaceOfClass(body, KernelClassCylinder), blend);
    EXPECT_NEAR(brennik::build::Volume(body), volume, 1e-9);
}

// With the checks off the calls still refuse what they cannot run without.
TEST_F(ModellingApiTest, ChecksOffStillRefuseWhatTheCallCannotRunWithout)
{
    m_interaction->SetCheckArguments(false);
    const int body = brennik::build::Block();
    const int instance = Place(body, 0.0);
    ResultType result = ResultTypeOk;
    EXPECT_EQ(RejoinBody(m_tag, Array<int>(), &result), 0);
    EXPECT_EQ(result, ResultTypeBadArgument);
    Paste(m_tag, instance, instance, kUnknownTag, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    Paste(m_tag, kUnknownTag, instance, Create(CreatePasteOptions), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    DeleteFaces(m_tag, Tags({FaceAt(body, 0, 0, 1, 30)}), kUnknownTag, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    Shell(m_tag, 1.0, body, Create(CreateCutOptions), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
}

TEST_F(ModellingApiTest, RejoinBodyRefusesBodiesTheInteractionHoldsOrFromTwoPartitions)
{
    const int first = brennik::build::Block();
    const int placed = brennik::build::Block();
    Place(placed, 0.0);
    int partition = 0;
    ASSERT_EQ(BQ_PARTITION_create_empty(&partition), BQ_ERROR_no_errors);
    int previous = 0;
    BQ_SESSION_ask_curr_partition(&previous);
    BQ_PARTITION_set_current(partition);
    const int elsewhere = brennik::build::Block();
    BQ_PARTITION_set_current(previous);
    for (bool checks : {true, false}) {
        m_interaction->SetCheckArguments(checks);
        for (int second : {placed, elsewhere}) {
            ResultType result = ResultTypeOk;
            EXPECT_EQ(RejoinBody(m_tag, Tags({first, second}), &result), 0);
            EXPECT_EQ(result, ResultTypeBadArgument);
        }
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
