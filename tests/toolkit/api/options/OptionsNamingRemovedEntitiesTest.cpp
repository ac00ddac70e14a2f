// Option objects naming kernel entities that a later modelling call removed: the interaction
// still saves and takes its checkpoints, the saved options read back naming only the entities
// that remain, and the loaded interaction compares equal to the one saved.

#include "../../core/frame/ApiTestFixture.h"
#include "../../model/transaction/ModelFixture.h"

#include "api/debug/QelDebugApi.h"
#include "api/features/QelFeatureApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "core/calls/QelInteractionApi.h"
#include "core/kernel/KernelFacade.h"
#include "model/features/MakeFeatureOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

#include <functional>

namespace QEL {
namespace testing {
namespace {

// A face with one of its edges, that edge's curve and one of its vertices.
struct Entities {
    int face = 0;
    int edge = 0;
    int curve = 0;
    int vertex = 0;
};

Entities EntitiesOfFace(int face)
{
    Entities entities;
    entities.face = face;
    std::vector<int> edges, vertices;
    GetFaceEdges(face, &edges);
    GetFaceVertices(face, &vertices);
    entities.edge = edges.at(0);
    entities.curve = GetGeometryOfTopology(entities.edge);
    entities.vertex = vertices.at(0);
    return entities;
}

Array<int> Tags(std::initializer_list<int> tags)
{
    Array<int> array;
    for (int tag : tags)
        array.Add(tag);
    return array;
}

const Position s_positions[] = {Position(1, 2, 3), Position(4, 5, 6)};
const Array<Position> s_twoPositions(2, s_positions);
const double s_values[] = {0.25, 0.5};
const Array<double> s_twoValues(2, s_values);

// One list of entities an option object holds: how it is set to name a removed entity and
// a remaining one, in that order, and the entities it then names (with any entity that goes
// with them, as a curve goes with its edge).
struct NamingCase {
    const char* name;
    int (*create)(int, ResultType*);
    std::function<void(int, int, const Entities&, const Entities&, ResultType*)> set;
    std::function<std::vector<int>(TaggedEntity*)> named;
    std::function<std::vector<int>(const Entities&)> expected;
};

template <typename Options>
Options& As(TaggedEntity* options)
{
    return *dynamic_cast<Options*>(options);
}

std::vector<int> ListOf(const int* tags, int count) { return std::vector<int>(tags, tags + count); }

HXR_FACE_change_o_s ChangeBlock(TaggedEntity* options)
{
    ReplaceOptions& replace = As<ReplaceOptions>(options);
    replace.BuildChangeOptions();
    return replace.GetChangeOptionBlock();
}

HXR_FACE_change_taper_o_s TaperBlock(TaggedEntity* options)
{
    HXR_FACE_change_taper_o_s block;
    As<TaperOptions>(options).GetOptionBlock(block);
    return block;
}

const std::vector<NamingCase> s_cases = {
    {"replace edge data", CreateReplaceOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ReplaceOptionsSetEdgeData(i, o, Tags({gone.edge, kept.edge}),
                                   Tags({gone.curve, kept.curve}), s_twoValues,
                                   ReplaceEdgesUseTypeYes, r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_o_s block = ChangeBlock(o);
         std::vector<int> named = ListOf(block.edges, block.n_edges);
         for (int i = 0; i < block.n_edges; ++i)
             named.push_back(block.curves[i]);
         // The tolerance stays with its edge.
         if (block.n_edges == 1) {
             EXPECT_EQ(block.edge_tolerances[0], 0.5);
         }
         return named;
     },
     [](const Entities& kept) { return std::vector<int>{kept.edge, kept.curve}; }},
    {"replace vertex data", CreateReplaceOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ReplaceOptionsSetVertexData(i, o, Tags({gone.vertex, kept.vertex}), s_twoPositions,
                                     s_twoValues, r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_o_s block = ChangeBlock(o);
         // The position stays with its vertex.
         if (block.n_vertices == 1) {
             EXPECT_EQ(block.vertex_positions[0], 4.0);
         }
         return ListOf(block.vertices, block.n_vertices);
     },
     [](const Entities& kept) { return std::vector<int>{kept.vertex}; }},
    {"replace edge help", CreateReplaceOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ReplaceOptionsSetEdgeHelp(i, o, Tags({gone.edge, kept.edge}), s_twoPositions, r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_o_s block = ChangeBlock(o);
         return ListOf(block.help_edges, block.n_help_edges);
     },
     [](const Entities& kept) { return std::vector<int>{kept.edge}; }},
    {"replace vertex help", CreateReplaceOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ReplaceOptionsSetVertexHelp(i, o, Tags({gone.vertex, kept.vertex}), s_twoPositions, r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_o_s block = ChangeBlock(o);
         return ListOf(block.help_vertices, block.n_help_vertices);
     },
     [](const Entities& kept) { return std::vector<int>{kept.vertex}; }},
    {"replace reblends", CreateReplaceOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ReplaceOptionsSetReblends(i, o, Tags({gone.face, kept.face}), r);
     },
     [](TaggedEntity* o) { return As<ReplaceOptions>(o).GetReblendFaces(); },
     [](const Entities& kept) { return std::vector<int>{kept.face}; }},
    {"taper reblends", CreateTaperOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         TaperOptionsSetReblends(i, o, Tags({gone.face, kept.face}), r);
     },
     [](TaggedEntity* o) { return As<TaperOptions>(o).GetReblendFaces(); },
     [](const Entities& kept) { return std::vector<int>{kept.face}; }},
    {"taper tapered edges", CreateTaperOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         TaperOptionsSetTaperEdges(i, o, Tags({gone.edge, kept.edge}), r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_taper_o_s block = TaperBlock(o);
         return ListOf(block.tapered_edges, block.n_tapered_edges);
     },
     [](const Entities& kept) { return std::vector<int>{kept.edge}; }},
    {"taper normal edges", CreateTaperOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         TaperOptionsSetNormalEdges(i, o, Tags({gone.edge, kept.edge}), r);
     },
     [](TaggedEntity* o) {
         const HXR_FACE_change_taper_o_s block = TaperBlock(o);
         return ListOf(block.normal_edges, block.n_normal_edges);
     },
     [](const Entities& kept) { return std::vector<int>{kept.edge}; }},
    {"shell pierce faces", CreateShellOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ShellOptionsSetPierceFaces(i, o, Tags({gone.face, kept.face}), r);
     },
     [](TaggedEntity* o) {
         const HXR_BODY_hollow_o_s& block = As<ShellOptions>(o).GetOptionBlock();
         return ListOf(block.pierce_faces, block.n_pierce_faces);
     },
     [](const Entities& kept) { return std::vector<int>{kept.face}; }},
    {"shell local faces", CreateShellOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ShellOptionsSetLocalFaces(i, o, Tags({gone.face, kept.face}), ShellLocalFaceTypeAdd, r);
     },
     [](TaggedEntity* o) {
         const HXR_BODY_hollow_o_s& block = As<ShellOptions>(o).GetOptionBlock();
         return ListOf(block.local_faces, block.n_local_faces);
     },
     [](const Entities& kept) { return std::vector<int>{kept.face}; }},
    {"shell offset faces", CreateShellOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         ShellOptionsSetOffsetInFaces(i, o, Tags({gone.face, kept.face}), s_twoValues, r);
     },
     [](TaggedEntity* o) {
         const HXR_BODY_hollow_o_s& block = As<ShellOptions>(o).GetOptionBlock();
         // The value stays with its face.
         if (block.n_offset_in_faces == 1) {
             EXPECT_EQ(block.offset_in_values[0], 0.5);
         }
         return ListOf(block.offset_in_faces, block.n_offset_in_faces);
     },
     [](const Entities& kept) { return std::vector<int>{kept.face}; }},
    {"feature unders", CreateMakeFeatureOptions,
     [](int i, int o, const Entities& gone, const Entities& kept, ResultType* r) {
         MakeFeatureOptionsSetUnders(i, o, Tags({gone.face, kept.edge}), Tags({7, 8}), 1, r);
     },
     [](TaggedEntity* o) {
         std::vector<int> unders, labels;
         As<MakeFeatureOptions>(o).GetUnders(unders, labels, nullptr);
         // The label stays with its under.
         if (labels.size() == 1) {
             EXPECT_EQ(labels[0], 8);
         }
         return unders;
     },
     [](const Entities& kept) { return std::vector<int>{kept.edge}; }},
};

std::size_t CaseNamed(const std::string& name)
{
    for (std::size_t i = 0; i < s_cases.size(); ++i)
        if (name == s_cases[i].name)
            return i;
    ADD_FAILURE() << "no case " << name;
    return 0;
}

class OptionsNamingRemovedEntitiesTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_blended = brennik::build::BlockWithBlend(2.0);
        m_other = brennik::build::Block();
        ResultType result = ResultTypeFail;
        CreateInstance(m_tag, m_blended, nullptr, &result);
        ASSERT_EQ(result, ResultTypeOk);
        CreateInstance(m_tag, m_other, nullptr, &result);
        ASSERT_EQ(result, ResultTypeOk);
        m_blend = FaceOfClass(m_blended, KernelClassCylinder);
        m_gone = EntitiesOfFace(m_blend);
        std::set<int> faces;
        GetBodyFaces(m_other, faces);
        m_kept = EntitiesOfFace(*faces.begin());
    }
    // The entity of the loaded model that is the saved one: same body place, class and
    // identifier are what the save file keeps of it.
    static bool SameEntity(int saved, int loaded)
    {
        return IsEntity(loaded) && GetEntityClass(loaded) == GetEntityClass(saved) &&
               GetEntityIdentifier(loaded) == GetEntityIdentifier(saved);
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    int m_blended = 0;
    int m_other = 0;
    int m_blend = 0;
    Entities m_gone;
    Entities m_kept;
};

TEST_F(OptionsNamingRemovedEntitiesTest, SaveAndCheckpointLeaveOutTheRemovedEntitiesOnly)
{
    OpenJournalFile();
    std::vector<TaggedEntity*> options;
    for (const NamingCase& c : s_cases) {
        SCOPED_TRACE(c.name);
        ResultType result = ResultTypeFail;
        const int tag = c.create(m_tag, &result);
        ASSERT_EQ(result, ResultTypeOk);
        c.set(m_tag, tag, m_gone, m_kept, &result);
        ASSERT_EQ(result, ResultTypeOk);
        options.push_back(m_interaction->FindTaggedEntityFromTag(tag));
    }

    ResultType result = ResultTypeFail;
    const int deleteOptions = CreateDeleteFacesOptions(m_tag, &result);
    DeleteFaces(m_tag, Tags({m_blend}), deleteOptions, &result);
    ASSERT_EQ(result, ResultTypeOk);
    for (int removed : {m_gone.face, m_gone.edge, m_gone.curve, m_gone.vertex})
        ASSERT_FALSE(IsEntity(removed));

    DebugJournalCheckpoint(m_tag, "after the delete", false, &result);
    EXPECT_EQ(result, ResultTypeOk);
    const std::string file = m_path + ".save.xml";
    DebugSaveInteraction(m_tag, file.c_str(), &result);
    ASSERT_EQ(result, ResultTypeOk);

    Interaction::SetAllowMultipleInteractions(true);
    const int loadedTag = DebugLoadInteraction(file.c_str(), &result);
    Adopt(loadedTag);
    std::remove(file.c_str());
    ASSERT_EQ(result, ResultTypeOk);
    Interaction* loaded = TagManager::FindInteractionFromTag(loadedTag);
    for (std::size_t i = 0; i < s_cases.size(); ++i) {
        SCOPED_TRACE(s_cases[i].name);
        TaggedEntity* read = loaded->FindTaggedEntityById(options[i]->GetEntityId());
        ASSERT_NE(read, nullptr);
        const std::vector<int> named = s_cases[i].named(read);
        const std::vector<int> expected = s_cases[i].expected(m_kept);
        ASSERT_EQ(named.size(), expected.size());
        for (std::size_t k = 0; k < named.size(); ++k)
            EXPECT_TRUE(SameEntity(expected[k], named[k]));
    }
    EXPECT_TRUE(DebugCompareInteractions(m_tag, loadedTag, false, &result));
    EXPECT_EQ(result, ResultTypeOk);

    // The shell options read back are whole: a shell opens the remaining face they name. The
    // saved ones still name the removed face too, which the add-on refuses: the shell fails
    // and the body stays as it was.
    const std::size_t shell = CaseNamed("shell pierce faces");
    TaggedEntity* readShell = loaded->FindTaggedEntityById(options[shell]->GetEntityId());
    const int loadedBody = GetOwningBody(s_cases[shell].named(readShell).at(0));
    const double loadedVolume = brennik::build::Volume(loadedBody);
    Shell(loadedTag, 1.0, loadedBody, readShell->GetTag(), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_LT(brennik::build::Volume(loadedBody), loadedVolume);
    const double volume = brennik::build::Volume(m_other);
    Shell(m_tag, 1.0, m_other, options[shell]->GetTag(), &result);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_EQ(brennik::build::Volume(m_other), volume);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
