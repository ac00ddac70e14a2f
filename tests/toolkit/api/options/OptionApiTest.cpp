// The exported calls of the option objects: creation of each class, the check and cast of
// each class against every other, and the setters with their checks, their refusals and the
// values they leave in the objects.

#include "../../core/frame/ApiTestFixture.h"

#include "api/operations/QelOptionObjectsApi.h"
#include "api/operations/QelOptionSettersApi.h"
#include "core/frame/ArgumentChecks.h"
#include "core/kernel/KernelFacade.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

#include <functional>
#include <set>

namespace QEL {
namespace testing {
namespace {

struct OptionCalls {
    std::string name;
    ObjectType type;
    int (*create)(int, ResultType*);
    ResultType (*check)(int, Interaction*);
    std::function<TaggedEntity*(Interaction*, int)> cast;
};

#define QEL_OPTION_CALLS(Class)                                                            \
    {#Class, Class::s_objectType, &Create##Class, &CheckArgTagIs##Class,                   \
     [](Interaction* interaction, int tag) -> TaggedEntity* { return CastTagTo##Class(interaction, tag); }},
const std::vector<OptionCalls> s_optionCalls = {QEL_MODELLING_OPTION_CLASSES(QEL_OPTION_CALLS)};
#undef QEL_OPTION_CALLS

class OptionApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        m_interaction = TagManager::FindInteractionFromTag(m_tag);
        const int block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(block, faces);
        m_faces.assign(faces.begin(), faces.end());
        GetFaceEdges(m_faces[0], &m_edges);
    }
    template <typename Options>
    Options* Make(int (*create)(int, ResultType*))
    {
        ResultType result = ResultTypeFail;
        Options* options = CastTo<Options>(create(m_tag, &result));
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_NE(options, nullptr);
        return options;
    }
    template <typename Options>
    Options* CastTo(int tag)
    {
        return dynamic_cast<Options*>(m_interaction->FindTaggedEntityFromTag(tag));
    }

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    std::vector<int> m_faces;
    std::vector<int> m_edges;
};

TEST_F(OptionApiTest, EachCreationCallMakesANewObjectOfItsClassJournalledAsItsTag)
{
    OpenJournalFile();
    SetJournalMinimised(true);
    for (const OptionCalls& calls : s_optionCalls) {
        SCOPED_TRACE(calls.name);
        ResultType result = ResultTypeFail;
        const int first = calls.create(m_tag, &result);
        EXPECT_EQ(result, ResultTypeOk);
        const int second = calls.create(m_tag, nullptr);
        TaggedEntity* firstObject = calls.cast(m_interaction, first);
        TaggedEntity* secondObject = calls.cast(m_interaction, second);
        ASSERT_TRUE(firstObject && secondObject);
        EXPECT_NE(first, second);
        EXPECT_EQ(firstObject->GetType(), calls.type);
        EXPECT_LT(firstObject->GetEntityId(), secondObject->GetEntityId());
    }
    const XMLTreeNode root = ReadJournal();
    std::vector<XMLTreeNode> records = Records(root);
    ASSERT_EQ(records.size(), 2 * s_optionCalls.size());
    for (std::size_t i = 0; i < s_optionCalls.size(); ++i) {
        EXPECT_EQ(Attribute(records[2 * i], "name"), "Create" + s_optionCalls[i].name);
        EXPECT_EQ(Attribute(records[2 * i].GetChild("ReturnValue"), "type"), s_optionCalls[i].name + "Tag");
    }
}

TEST_F(OptionApiTest, ChecksAndCastsAcceptOnlyTheirOwnClassInTheirOwnInteraction)
{
    Interaction::SetAllowMultipleInteractions(true);
    Interaction* other = TagManager::FindInteractionFromTag(NewInteraction());
    for (const OptionCalls& made : s_optionCalls) {
        const int tag = made.create(m_tag, nullptr);
        const int elsewhere = made.create(other->GetTag(), nullptr);
        for (const OptionCalls& asked : s_optionCalls) {
            SCOPED_TRACE(made.name + " asked as " + asked.name);
            const bool own = &made == &asked;
            EXPECT_EQ(asked.check(tag, m_interaction), own ? ResultTypeOk : ResultTypeBadArgument);
            EXPECT_EQ(asked.cast(m_interaction, tag) != nullptr, own);
            EXPECT_EQ(asked.check(elsewhere, m_interaction), ResultTypeBadArgument);
            EXPECT_EQ(asked.cast(m_interaction, elsewhere), nullptr);
            EXPECT_EQ(asked.check(tag, nullptr), ResultTypeBadArgument);
            EXPECT_EQ(asked.cast(nullptr, tag), nullptr);
        }
    }
    EXPECT_EQ(CheckArgPositionArrayNotEmpty(Array<Position>()), ResultTypeBadArgument);
    const Position one(1, 2, 3);
    EXPECT_EQ(CheckArgPositionArrayNotEmpty(Array<Position>(1, &one)), ResultTypeOk);
}

TEST_F(OptionApiTest, EnumerationSettersRefuseValuesOutsideTheirRangeOnlyWithChecksOn)
{
    ShellOptions* shell = Make<ShellOptions>(CreateShellOptions);
    PasteOptions* paste = Make<PasteOptions>(CreatePasteOptions);
    TaperOptions* taper = Make<TaperOptions>(CreateTaperOptions);
    for (int value : {0, 4}) {
        ResultType result = ResultTypeOk;
        ShellOptionsSetType(m_tag, shell->GetTag(), static_cast<ShellType>(value), &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_EQ(shell->GetType(), ShellTypeInwards);
    }
    ResultType result = ResultTypeOk;
    PasteOptionsSetPasteType(m_tag, paste->GetTag(), static_cast<PasteType>(3), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    TaperOptionsSetTaperMethodType(m_tag, taper->GetTag(), static_cast<TaperMethodType>(6), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);

    m_interaction->SetCheckArguments(false);
    ShellOptionsSetType(m_tag, shell->GetTag(), static_cast<ShellType>(3), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(shell->GetType(), 3);
    PasteOptionsSetPasteType(m_tag, paste->GetTag(), PasteTypeAdd, &result);
    PasteOptionsSetPasteType(m_tag, paste->GetTag(), static_cast<PasteType>(3), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(paste->GetOptionBlock().paste_type, 50201);
    // The local-face type is never checked: any type but none adds.
    const Array<int> faces(2, m_faces.data());
    ShellOptionsSetLocalFaces(m_tag, shell->GetTag(), faces, static_cast<ShellLocalFaceType>(3), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(shell->GetOptionBlock().local_face_type, 50280);
    EXPECT_EQ(shell->GetOptionBlock().n_local_faces, 2);
}

TEST_F(OptionApiTest, ListsOfDifferentLengthsAreAcceptedWithChecksOnAndOff)
{
    ShellOptions* shell = Make<ShellOptions>(CreateShellOptions);
    ReplaceOptions* replace = Make<ReplaceOptions>(CreateReplaceOptions);
    const Array<int> threeEdges(3, m_edges.data());
    const int curve = GetGeometryOfTopology(m_edges[0]);
    const int curveTags[] = {curve, curve, curve};
    const Array<int> threeCurves(3, curveTags);
    const double values[] = {0.5, 0.5, 0.5};
    const Array<double> oneValue(1, values);
    const Array<int> twoFaces(2, m_faces.data());
    const Position positions[] = {Position(1, 2, 3), Position(4, 5, 6)};
    const Array<Position> onePosition(1, positions);
    const Array<Position> twoPositions(2, positions);
    const std::vector<std::pair<const char*, std::function<void(ResultType*)>>> mismatches = {
        {"edges and tolerances",
         [&](ResultType* r) {
             ReplaceOptionsSetEdgeData(m_tag, replace->GetTag(), threeEdges, threeCurves, oneValue,
                                       ReplaceEdgesUseTypeYes, r);
         }},
        {"edges and curves",
         [&](ResultType* r) {
             ReplaceOptionsSetEdgeData(m_tag, replace->GetTag(), threeEdges, Array<int>(1, &curve),
                                       Array<double>(3, values), ReplaceEdgesUseTypeYes, r);
         }},
        {"vertices and positions",
         [&](ResultType* r) {
             ReplaceOptionsSetVertexData(m_tag, replace->GetTag(), Array<int>(1, m_edges.data()), twoPositions,
                                         oneValue, r);
         }},
        {"help edges", [&](ResultType* r) { ReplaceOptionsSetEdgeHelp(m_tag, replace->GetTag(), threeEdges, twoPositions, r); }},
        {"help vertices", [&](ResultType* r) { ReplaceOptionsSetVertexHelp(m_tag, replace->GetTag(), twoFaces, onePosition, r); }},
        {"offset-in faces", [&](ResultType* r) { ShellOptionsSetOffsetInFaces(m_tag, shell->GetTag(), twoFaces, oneValue, r); }},
        {"offset-out faces",
         [&](ResultType* r) {
             ShellOptionsSetOffsetOutFaces(m_tag, shell->GetTag(), Array<int>(1, m_faces.data()),
                                           Array<double>(2, values), r);
         }},
    };
    for (bool checksOn : {true, false}) {
        m_interaction->SetCheckArguments(checksOn);
        for (const auto& mismatch : mismatches) {
            SCOPED_TRACE(std::string(mismatch.first) + (checksOn ? ", checks on" : ", checks off"));
            ResultType result = ResultTypeFail;
            mismatch.second(&result);
            EXPECT_EQ(result, ResultTypeOk);
        }
    }
    // Each entity the block names has its own value, curve or position.
    replace->BuildChangeOptions();
    const HXR_FACE_change_o_s& block = replace->GetChangeOptionBlock();
    EXPECT_EQ(block.n_edges, 1);
    EXPECT_EQ(block.n_vertices, 1);
    EXPECT_EQ(block.n_help_edges, 2);
    EXPECT_EQ(block.n_help_vertices, 1);
    EXPECT_EQ(shell->GetOptionBlock().n_offset_in_faces, 2);
    EXPECT_EQ(shell->GetOptionBlock().offset_in_values[1], 0.5);
    EXPECT_EQ(shell->GetOptionBlock().n_offset_out_faces, 1);

    // Three edges with one tolerance: all three are taken.
    ResultType result = ResultTypeFail;
    ReplaceOptionsSetEdgeData(m_tag, replace->GetTag(), threeEdges, threeCurves, oneValue,
                              ReplaceEdgesUseTypeExisting, &result);
    EXPECT_EQ(result, ResultTypeOk);
    replace->BuildChangeOptions();
    EXPECT_EQ(replace->GetChangeOptionBlock().n_edges, 3);
    EXPECT_EQ(replace->GetChangeOptionBlock().edge_tolerances[2], 0.5);
    EXPECT_EQ(replace->GetChangeOptionBlock().edges_use, 50102);
}

TEST_F(OptionApiTest, ChecksRefuseEmptyAndWrongListsAndATagOfAnotherClassIsRefusedAlways)
{
    ReplaceOptions* replace = Make<ReplaceOptions>(CreateReplaceOptions);
    TaperOptions* taper = Make<TaperOptions>(CreateTaperOptions);
    const int cut = CreateCutOptions(m_tag, nullptr);
    const Array<int> oneEdge(1, m_edges.data());
    const double tolerance = 1e-6;
    ResultType result = ResultTypeOk;
    ReplaceOptionsSetEdgeData(m_tag, replace->GetTag(), oneEdge, Array<int>(), Array<double>(1, &tolerance),
                              ReplaceEdgesUseTypeYes, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    ReplaceOptionsSetVertexHelp(m_tag, replace->GetTag(), oneEdge, Array<Position>(), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    TaperOptionsSetReblends(m_tag, taper->GetTag(), oneEdge, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_TRUE(taper->GetReblendFaces().empty());
    TaperOptionsSetReblends(m_tag, taper->GetTag(), Array<int>(1, m_faces.data()), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(taper->GetReblendFaces(), std::vector<int>{m_faces[0]});

    for (bool checksOn : {true, false}) {
        m_interaction->SetCheckArguments(checksOn);
        result = ResultTypeOk;
        TaperOptionsSetMaintainShell(m_tag, cut, false, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
        ExtractBodyPersistentDataOptionsSetStore(m_tag, replace->GetTag(), false, &result);
        EXPECT_EQ(result, ResultTypeBadArgument);
    }
}

TEST_F(OptionApiTest, SettersAreJournalledUnderTheirArgumentNames)
{
    ReplaceOptions* replace = Make<ReplaceOptions>(CreateReplaceOptions);
    ExtractBodyPersistentDataOptions* extract =
        Make<ExtractBodyPersistentDataOptions>(CreateExtractBodyPersistentDataOptions);
    OpenJournalFile();
    const Position position(1, 2, 3);
    const double tolerance = 1e-5;
    ResultType result = ResultTypeFail;
    ReplaceOptionsSetVertexData(m_tag, replace->GetTag(), Array<int>(1, m_edges.data()), Array<Position>(1, &position),
                                Array<double>(1, &tolerance), &result);
    EXPECT_EQ(result, ResultTypeOk);
    ExtractBodyPersistentDataOptionsSetStore(m_tag, extract->GetTag(), false, &result);
    EXPECT_FALSE(extract->GetOptionBlock().store);
    const std::vector<XMLTreeNode> records = Records(ReadJournal());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Attribute(records[0], "name"), "ReplaceOptionsSetVertexData");
    EXPECT_EQ(Attribute(Argument(records[0], "ReplaceOptionsTag"), "type"), "ReplaceOptionsTag");
    for (const char* name : {"interaction", "VertexTags", "VertexPositions", "vertexTolerances", "result"})
        EXPECT_FALSE(Argument(records[0], name).IsEmpty()) << name;
    EXPECT_TRUE(records[0].GetChild("ReturnValue").IsEmpty());
    EXPECT_EQ(Attribute(Argument(records[1], "tagExtractBodyPersistentDataOptions"), "type"),
              "ExtractBodyPersistentDataOptionsTag");
    EXPECT_EQ(Attribute(Argument(records[1], "store"), "value"), "false");
}

}  // namespace
}  // namespace testing
}  // namespace QEL
