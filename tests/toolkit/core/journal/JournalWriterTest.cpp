// A journal written through the journal writers into a file, parsed back by the toolkit's own
// parser: records, indices, value kinds, directions, tag descriptions, bodies written once,
// snapshots and callback rejections; and the raw text never repeats an attribute.

#include "core/journal/FindCallbackReject.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/journal/JournalArguments.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"
#include "core/xml/XMLTreeNode.h"
#include "api/debug/QelDebugApi.h"
#include "core/xml/XMLCutOffDocument.h"

#include "JournalReading.h"

#include <brennik.h>
#include <hxr.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace QEL {
namespace testing {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first start tag in the raw text that holds one attribute name twice, or "".
std::string FindRepeatedAttribute(const std::string& text)
{
    size_t at = 0;
    while ((at = text.find('<', at)) != std::string::npos) {
        ++at;
        if (at >= text.size() || text[at] == '/' || text[at] == '?' || text[at] == '!')
            continue;
        std::set<std::string> names;
        size_t end = text.find_first_of(" \t\n/>", at);
        const std::string element = text.substr(at, end - at);
        at = end;
        while (at < text.size() && text[at] != '>') {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '/'))
                ++at;
            if (at >= text.size() || text[at] == '>')
                break;
            const size_t equals = text.find('=', at);
            const std::string name = text.substr(at, equals - at);
            if (!names.insert(name).second)
                return element + " " + name;
            const size_t open = text.find('"', equals);
            at = text.find('"', open + 1) + 1;
        }
    }
    return "";
}

class JournalWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        // One file per test and process: suites run side by side.
        m_path = ::testing::TempDir() + "journal_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                 std::to_string(getpid()) + ".xml";
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block();
        const double matrix[4][4] = {{1, 0, 0, 2}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        m_instance = Instance::Create(m_interaction, m_block, matrix);
        GetBodyFaces(m_block, m_faces);
    }
    void TearDown() override
    {
        if (IsJournalOpen())
            CloseJournal();
        m_interaction->Destroy();
        brennik::test::Reset();
        std::remove(m_path.c_str());
    }
    // Closes the journal, checks the raw text and parses it.
    XMLTreeNode CloseAndParse()
    {
        EXPECT_EQ(CloseJournal(), 0);
        const std::string text = ReadFile(m_path);
        EXPECT_EQ(FindRepeatedAttribute(text), "");
        EXPECT_EQ(text.rfind("\n</QELJournal>\n"), text.size() - 15);
        XMLParseResult result{};
        XMLTreeNode root = XMLTreeNode::ParseText(text.c_str(), "QELJournal", &result);
        EXPECT_FALSE(root.IsEmpty()) << text;
        return root;
    }

    std::string m_path;
    Interaction* m_interaction = nullptr;
    Instance* m_instance = nullptr;
    int m_block = 0;
    std::set<int> m_faces;
};

TEST_F(JournalWriterTest, RecordsValuesAndTagsReadBackAsWritten)
{
    ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
    const int plane = brennik::build::FreePlane(0, 0, 5, 0, 0, 1);
    const int face1 = *m_faces.begin();
    const int face2 = *m_faces.rbegin();
    const int interactionTag = m_interaction->GetTag();

    JournalArguments guard(interactionTag);
    guard.WriteJournalFunctionBegin();
    EXPECT_EQ(guard.WriteJournalFunctionName("TestCall"), 0);
    guard.SetArgTypeInput();
    guard.WriteJournalArgInt(-7, "count");
    guard.WriteJournalArgDouble(0.1, "distance");
    guard.WriteJournalArgBool(true, "flag");
    guard.WriteJournalArgString("a<b & \"c\"", "text");
    guard.WriteJournalArgString("", "empty");
    guard.WriteJournalArgString(nullptr, "null");
    guard.WriteJournalArgInteractionTag(interactionTag, "interaction");
    guard.WriteJournalArgInstanceTag(m_instance->GetTag(), "instance");
    guard.WriteJournalArgEntityTag(face1, "face1");
    guard.WriteJournalArgEntityTag(face2, "face2");
    guard.WriteJournalArgEntityTag(plane, "plane");
    guard.WriteJournalArgTag(0, "none");
    guard.WriteJournalArgBodyTag(m_block, "body");
    guard.WriteJournalArgRelationType(RelationTypeAngle, "relation");
    guard.WriteJournalArgIntegerArray({1, 2, 3}, "ints");
    guard.WriteJournalArgDoubleArray({0.5, 1e-9}, "doubles");
    guard.WriteJournalArgTagArray({face1, 0}, "tags");
    guard.WriteJournalArgTagArrayArray({{face1}, {face2, 0}}, "tagArrays");
    const double buffer[2] = {1.25, -2};
    guard.WriteJournalArgDoubleBuffer(buffer, 2, "buffer");
    const double matrix[4][4] = {{1, 0, 0, 3}, {0, 1, 0, 4}, {0, 0, 1, 5}, {0, 0, 0, 1}};
    guard.WriteJournalArgTransform(matrix, "transform");
    guard.WriteJournalArgTransformArray({Double4x4(matrix)}, "transforms");
    guard.WriteJournalArgPositionArray({Position(1, 2, 3)}, "points");
    guard.SetArgTypeOutput();
    guard.WriteJournalArgInt(4, "outCount");
    guard.WriteJournalArgTransform(matrix, "outTransform");
    guard.WriteJournalArgTagArrayArray({}, "outTagArrays");
    guard.WriteJournalArgDoubleBuffer(buffer, 1, "outBuffer");
    guard.WriteJournalArgTransformArray({}, "outTransforms");
    guard.WriteJournalReturnInt(9);
    guard.WriteJournalArgResultType(ResultTypeFail);
    guard.WriteJournalFunctionEnd();

    const XMLTreeNode root = CloseAndParse();
    ASSERT_FALSE(root.IsEmpty());
    EXPECT_FALSE(root.GetChild("QELVersion").IsEmpty());
    const std::vector<XMLTreeNode> interactions = Children(root, "Interaction");
    ASSERT_EQ(interactions.size(), 1u);
    EXPECT_EQ(Attribute(interactions[0], "tag"), std::to_string(interactionTag));
    EXPECT_EQ(interactions[0].CountChildren("Instance"), 1);

    const std::vector<XMLTreeNode> records = Children(root, "Function");
    ASSERT_EQ(records.size(), 1u);
    const XMLTreeNode record = records[0];
    EXPECT_EQ(Attribute(record, "index"), "1");
    EXPECT_EQ(Attribute(record, "name"), "TestCall");

    struct Expected {
        const char* name;
        const char* type;
        const char* argType;
        const char* value;
    };
    const Expected scalars[] = {
        {"count", "int", "input", "-7"},
        {"distance", "double", "input", "0.1"},
        {"flag", "bool", "input", "true"},
        {"relation", "RelationType", "input", "RelationTypeAngle"},
        {"outCount", "int", "output", "4"},
        {"result", "ResultType", "<absent>", "ResultTypeFail"},
    };
    for (const Expected& expected : scalars) {
        SCOPED_TRACE(expected.name);
        const XMLTreeNode argument = Argument(record, expected.name);
        ASSERT_FALSE(argument.IsEmpty());
        EXPECT_EQ(Attribute(argument, "type"), expected.type);
        EXPECT_EQ(Attribute(argument, "argType"), expected.argType);
        EXPECT_EQ(Attribute(argument, "value"), expected.value);
    }
    // Strings: escaped text comes back whole; only null is "isNull", an empty text is an
    // element without text, so a replay hands the callee what it was given.
    EXPECT_STREQ(Argument(record, "text").GetText(0), "a<b & \"c\"");
    EXPECT_EQ(Attribute(Argument(record, "empty"), "isNull"), "<absent>");
    EXPECT_EQ(Attribute(Argument(record, "null"), "isNull"), "true");
    EXPECT_EQ(Argument(record, "empty").CountTexts(), 0);

    // The kinds written without a direction carry none as outputs either.
    const Expected directions[] = {
        {"tagArrays", "TagArrayArray", "<absent>", nullptr},
        {"buffer", "double[]", "<absent>", nullptr},
        {"transform", "Transform", "<absent>", nullptr},
        {"transforms", "TransformArray", "<absent>", nullptr},
        {"ints", "IntegerArray", "input", nullptr},
        {"outTransform", "Transform", "<absent>", nullptr},
        {"outTagArrays", "TagArrayArray", "<absent>", nullptr},
        {"outBuffer", "double[]", "<absent>", nullptr},
        {"outTransforms", "TransformArray", "<absent>", nullptr},
    };
    for (const Expected& expected : directions) {
        SCOPED_TRACE(expected.name);
        const XMLTreeNode argument = Argument(record, expected.name);
        ASSERT_FALSE(argument.IsEmpty());
        EXPECT_EQ(Attribute(argument, "type"), expected.type);
        EXPECT_EQ(Attribute(argument, "argType"), expected.argType);
    }

    // Arrays.
    const XMLTreeNode ints = Argument(record, "ints");
    EXPECT_EQ(Attribute(ints, "length"), "3");
    const std::vector<XMLTreeNode> intElements = Children(ints, "Element");
    ASSERT_EQ(intElements.size(), 3u);
    EXPECT_EQ(Attribute(intElements[2], "type"), "int");
    EXPECT_EQ(Attribute(intElements[2], "value"), "3");
    EXPECT_EQ(Attribute(Children(Argument(record, "doubles"), "Element")[1], "value"), "1e-09");
    const XMLTreeNode tagArrays = Argument(record, "tagArrays");
    EXPECT_EQ(Attribute(tagArrays, "length"), "2");
    const std::vector<XMLTreeNode> inner = Children(tagArrays, "Element");
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(Attribute(inner[1], "length"), "2");
    EXPECT_EQ(Attribute(inner[1], "type"), "<absent>");
    EXPECT_EQ(Children(inner[1], "Element").size(), 2u);
    EXPECT_EQ(Attribute(Children(Argument(record, "buffer"), "Element")[1], "value"), "-2");
    EXPECT_STREQ(Argument(record, "transform").GetText(0), "1 0 0 0 0 1 0 0 0 0 1 0 3 4 5 1");
    const XMLTreeNode transforms = Argument(record, "transforms");
    EXPECT_EQ(Attribute(Children(transforms, "Element")[0], "type"), "Transform");
    const XMLTreeNode point = Children(Argument(record, "points"), "Element")[0];
    EXPECT_EQ(Attribute(point, "type"), "Position");
    EXPECT_EQ(Attribute(point, "z"), "3");

    // Tags of every kind.
    EXPECT_EQ(Attribute(Argument(record, "interaction"), "type"), "InteractionTag");
    const XMLTreeNode instance = Argument(record, "instance");
    EXPECT_EQ(Attribute(instance, "type"), "InstanceTag");
    EXPECT_EQ(Attribute(instance, "id"), std::to_string(m_instance->GetEntityId()));
    const XMLTreeNode none = Argument(record, "none");
    EXPECT_EQ(Attribute(none, "type"), "Tag");
    EXPECT_EQ(Attribute(none, "tag"), "0");
    EXPECT_EQ(none.CountAttributes(), 4);  // argType, name, type, tag
    // Two faces of one body: one "Body" before the first, the same body id on both.
    const XMLTreeNode first = Argument(record, "face1");
    const XMLTreeNode second = Argument(record, "face2");
    EXPECT_EQ(Attribute(first, "type"), "BQ_CLASS_face");
    EXPECT_EQ(Attribute(first, "bodyTag"), std::to_string(m_block));
    EXPECT_EQ(Attribute(first, "bodyId"), Attribute(second, "bodyId"));
    EXPECT_NE(Attribute(first, "id"), "<absent>");
    EXPECT_EQ(Attribute(Argument(record, "body"), "bodyId"), Attribute(first, "bodyId"));
    EXPECT_EQ(Attribute(Argument(record, "body"), "type"), "BQ_CLASS_body");
    // The block went out with the interaction record and is not sent again; the free plane
    // goes out once, before its first mention.
    const XMLTreeNode blockPart = interactions[0].GetChild("Part");
    // A part's id is an id reference ("id" and the number), a body argument's the number.
    EXPECT_EQ(Attribute(blockPart, "id"), "id" + Attribute(first, "bodyId"));
    EXPECT_GT(blockPart.GetChild("Body").CountTexts(), 0);
    const std::vector<XMLTreeNode> bodies = Children(record, "Body");
    ASSERT_EQ(bodies.size(), 1u);
    // A free plane stands as its own body and has no identifier.
    const XMLTreeNode planeArgument = Argument(record, "plane");
    EXPECT_EQ(Attribute(planeArgument, "type"), "BQ_CLASS_plane");
    EXPECT_EQ(Attribute(planeArgument, "id"), "<absent>");
    EXPECT_EQ(Attribute(planeArgument, "bodyId"), Attribute(bodies[0], "id"));
    EXPECT_EQ(Attribute(bodies[0], "isVirtualGeomPart"), "true");
    EXPECT_NE("id" + Attribute(bodies[0], "id"), Attribute(blockPart, "id"));

    const XMLTreeNode returned = record.GetChild("ReturnValue");
    EXPECT_EQ(Attribute(returned, "value"), "9");
    EXPECT_EQ(Attribute(returned, "name"), "<absent>");
}

// Kernel tags that replay finds again by what they are: a partition says whether it is the
// current one, an add-on feature goes by its feature identifier, any other group by its own.
TEST_F(JournalWriterTest, PartitionsAndAddOnFeaturesAreWrittenAsWhatTheyAre)
{
    const int current = GetCurrentPartition();
    const int other = CreateEmptyPartition();
    ASSERT_NE(other, 0);
    ASSERT_EQ(GetCurrentPartition(), current);
    const int top = *m_faces.begin();
    const int labels[] = {1};
    int feature = 0;
    ASSERT_EQ(HXR_TOPOL_make_feat(1, &top, labels, 0, 42, nullptr, &feature), HXR_ERROR_none);
    int group = 0;
    ASSERT_EQ(BQ_GROUP_create_from_entities(m_block, BQ_CLASS_face, 1, &top, &group), BQ_ERROR_no_errors);

    ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
    JournalArguments guard(m_interaction->GetTag());
    guard.WriteJournalFunctionBegin();
    guard.WriteJournalFunctionName("TestCall");
    guard.SetArgTypeInput();
    guard.WriteJournalArgPartitionTag(current, "current");
    guard.WriteJournalArgPartitionTag(other, "other");
    guard.WriteJournalArgEntityTag(feature, "feature");
    guard.WriteJournalArgEntityTag(group, "group");
    guard.WriteJournalArgFeatureProcedureType(FeatureProcedureTypeModifySolid, "procedure");
    guard.WriteJournalArgResultType(ResultTypeOk);
    guard.WriteJournalFunctionEnd();
    const XMLTreeNode record = Children(CloseAndParse(), "Function").at(0);

    const struct {
        const char* name;
        const char* type;
        const char* isCurrentPartition;
        const char* featureId;
    } cases[] = {
        {"current", "BQ_CLASS_partition", "true", "<absent>"},
        {"other", "BQ_CLASS_partition", "false", "<absent>"},
        {"feature", "FeatureTag", "<absent>", "42"},
        {"group", "BQ_CLASS_group", "<absent>", "<absent>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const XMLTreeNode argument = Argument(record, c.name);
        EXPECT_EQ(Attribute(argument, "type"), c.type);
        EXPECT_EQ(Attribute(argument, "isCurrentPartition"), c.isCurrentPartition);
        EXPECT_EQ(Attribute(argument, "featureId"), c.featureId);
        EXPECT_EQ(Attribute(argument, "bodyTag"), c.name[0] == 'c' || c.name[0] == 'o'
                                                      ? "<absent>"
                                                      : std::to_string(m_block));
    }
    const XMLTreeNode procedure = Argument(record, "procedure");
    EXPECT_EQ(Attribute(procedure, "type"), "FeatureProcedureType");
    EXPECT_EQ(Attribute(procedure, "value"), "FeatureProcedureTypeModifySolid");
    // A feature goes by its feature identifier alone.
    EXPECT_EQ(Attribute(Argument(record, "feature"), "id"), "<absent>");
}

TEST_F(JournalWriterTest, NullsUnhandledValuesAndRecordFieldsReadBackAsWritten)
{
    ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
    JournalArguments guard(m_interaction->GetTag());
    guard.WriteJournalFunctionBegin();
    guard.WriteJournalFunctionName("OperationUpdate");
    guard.WriteJournalForceFailure();
    guard.WriteJournalDoubleField("time", 1.23456789, 6);
    guard.SetArgTypeInput();
    guard.WriteJournalArgInvalidityTypeArrayPointer(nullptr, "noInvalidities");
    const std::vector<InvalidityType> invalidities{InvalidityTypeBadObject};
    guard.WriteJournalArgInvalidityTypeArrayPointer(&invalidities, "invalidities");
    guard.WriteJournalArgTagArrayPointer(nullptr, "noTags");
    guard.WriteJournalArgDoubleBuffer(nullptr, 3, "noBuffer");
    guard.WriteJournalArgFeatureProcedure("procedure");
    guard.WriteJournalArgPointer(nullptr, "noPointer");
    int pointed = 0;
    guard.WriteJournalArgPointer(&pointed, "pointer");
    guard.WriteJournalArgTag(999999, "unknown");
    guard.ClearArgType();
    guard.WriteJournalArgInt(1, "plain");
    guard.WriteJournalFunctionEnd();

    const XMLTreeNode record = CloseAndParse().GetChild("Function");
    ASSERT_FALSE(record.IsEmpty());
    EXPECT_EQ(Attribute(record, "forceFailure"), "true");
    EXPECT_EQ(Attribute(record, "time"), "1.23457");
    struct Expected {
        const char* name;
        const char* attribute;
        const char* value;
    };
    const Expected cases[] = {
        {"noInvalidities", "type", "InvalidityTypeArray*"},
        {"noInvalidities", "isNull", "true"},
        {"invalidities", "type", "InvalidityTypeArray"},
        {"invalidities", "length", "1"},
        {"noTags", "type", "TagArray*"},
        {"noTags", "isNull", "true"},
        {"noBuffer", "type", "double[]"},
        {"noBuffer", "argType", "input"},  // a null buffer is a plain value element
        {"noBuffer", "isNull", "true"},
        {"procedure", "value", "data"},
        {"procedure", "unhandled", "true"},
        // A null application pointer is a value a replay can hand on; an address is not.
        {"noPointer", "type", "void*"},
        {"noPointer", "isNull", "true"},
        {"noPointer", "unhandled", "<absent>"},
        {"pointer", "unhandled", "true"},
        {"unknown", "type", "BQ_CLASS_null"},
        {"unknown", "tag", "999999"},
        {"plain", "argType", "<absent>"},  // no direction set
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(std::string(expected.name) + " " + expected.attribute);
        EXPECT_EQ(Attribute(Argument(record, expected.name), expected.attribute), expected.value);
    }
    const XMLTreeNode element = Argument(record, "invalidities").GetChild("Element");
    EXPECT_EQ(Attribute(element, "type"), "InvalidityType");
    EXPECT_EQ(Attribute(element, "value"), "InvalidityTypeBadObject");
}

TEST_F(JournalWriterTest, CallIndexCountsFromOneInEveryJournal)
{
    EXPECT_EQ(CloseJournal(), 5);
    JournalArguments guard(m_interaction->GetTag());
    EXPECT_EQ(guard.WriteJournalCheckpoint(m_interaction->GetTag()), 5);  // no journal
    for (int journal = 0; journal < 2; ++journal) {
        ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
        EXPECT_EQ(OpenJournal(m_path.c_str()), 5);  // one journal at a time
        for (int call = 0; call < 2; ++call) {
            guard.WriteJournalFunctionBegin();
            guard.WriteJournalFunctionName("Call");
            guard.WriteJournalArgResultType(ResultTypeOk);
            guard.WriteJournalFunctionEnd();
            // Each completed record is in the file already, before the journal is closed.
            const std::string text = ReadFile(m_path);
            EXPECT_NE(text.find("index=\"" + std::to_string(call + 1) + "\""), std::string::npos);
            EXPECT_EQ(text.find("</QELJournal>"), std::string::npos);
        }
        const std::vector<XMLTreeNode> records = Children(CloseAndParse(), "Function");
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(Attribute(records[0], "index"), "1");
        EXPECT_EQ(Attribute(records[1], "index"), "2");
    }
    EXPECT_FALSE(IsJournalOpen());
}

TEST_F(JournalWriterTest, CheckpointSnapshotHasItsOwnBodyIds)
{
    ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
    JournalArguments guard(m_interaction->GetTag());
    guard.WriteJournalFunctionBegin();
    guard.WriteJournalFunctionName("DebugJournalCheckpoint");
    guard.SetArgTypeInput();
    guard.WriteJournalArgInteractionTag(m_interaction->GetTag(), "interaction");
    guard.WriteJournalArgString("here", "checkpointName");
    guard.WriteJournalArgBool(false, "bodyCompareOnly");
    EXPECT_EQ(guard.WriteJournalCheckpoint(m_interaction->GetTag()), 0);
    EXPECT_EQ(guard.WriteJournalCheckpoint(-1), 5);  // no such interaction
    // The snapshot's body map is dropped afterwards: the journal's map still knows the block
    // from the interaction record, under the id it had there.
    guard.WriteJournalArgBodyTag(m_block, "body");
    guard.WriteJournalArgResultType(ResultTypeOk);
    guard.WriteJournalFunctionEnd();

    const XMLTreeNode root = CloseAndParse();
    const XMLTreeNode record = root.GetChild("Function");
    ASSERT_FALSE(record.IsEmpty());
    const XMLTreeNode snapshot = record.GetChild("Interaction");
    ASSERT_FALSE(snapshot.IsEmpty());
    EXPECT_EQ(Attribute(snapshot, "tag"), std::to_string(m_interaction->GetTag()));
    EXPECT_EQ(snapshot.CountChildren("Part"), 1);
    EXPECT_EQ(snapshot.CountChildren("Instance"), 1);
    EXPECT_EQ(record.CountChildren("Body"), 0);
    const XMLTreeNode journalBody = root.GetChild("Interaction").GetChild("Part");
    EXPECT_EQ("id" + Attribute(Argument(record, "body"), "bodyId"), Attribute(journalBody, "id"));
}

// The application's rejection is recorded inside the running call; the three entities share
// one "bodyIndex" name, which is written once (the from entity's).
TEST_F(JournalWriterTest, CallbackRejectionIsRecordedWithEachAttributeOnce)
{
    const int one = brennik::build::Block(5, 5, 5);
    const int other = brennik::build::Block(5, 5, 5);
    std::set<int> oneFaces, otherFaces;
    GetBodyFaces(one, oneFaces);
    GetBodyFaces(other, otherFaces);

    ASSERT_EQ(OpenJournal(m_path.c_str()), 0);
    XMLIO* writer = GetJournalWriter();
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(writer->AddToBodyMap(one, 7, 2, false));
    ASSERT_TRUE(writer->AddToBodyMap(other, 8, 3, false));
    JournalArguments guard(m_interaction->GetTag());
    guard.WriteJournalFunctionBegin();
    guard.WriteJournalFunctionName("Find");
    const int from = *oneFaces.begin(), to = *otherFaces.begin();
    FindCallbackRejectRecord rejection{1, RelationTypeAngle, from, m_instance->GetTag(), to, 0, to, 0};
    ASSERT_TRUE(FindCallbackRejectRecord::DoIO(rejection, m_interaction, *writer));
    guard.WriteJournalArgResultType(ResultTypeOk);
    guard.WriteJournalFunctionEnd();

    const XMLTreeNode record = CloseAndParse().GetChild("Function");
    const std::vector<XMLTreeNode> rejects = Children(record, "FindCallbackReject");
    ASSERT_EQ(rejects.size(), 1u);
    const XMLTreeNode reject = rejects[0];
    EXPECT_EQ(Attribute(reject, "level"), "1");
    EXPECT_EQ(Attribute(reject, "relationType"), "RelationTypeAngle");
    EXPECT_EQ(Attribute(reject, "fromEntityClass"), "BQ_CLASS_face");
    EXPECT_EQ(Attribute(reject, "fromEntityBodyId"), "7");
    EXPECT_EQ(Attribute(reject, "bodyIndex"), "2");
    EXPECT_EQ(Attribute(reject, "fromInstanceId"), std::to_string(m_instance->GetEntityId()));
    EXPECT_EQ(Attribute(reject, "toEntityBodyId"), "8");
    EXPECT_EQ(Attribute(reject, "toInstanceId"), "<absent>");
    EXPECT_EQ(Attribute(reject, "additionalEntityBodyId"), "8");
    // The rejection stands before the result.
    std::vector<std::string> order;
    for (int index = record.CountAttributes(); index < record.CountContents(); ++index) {
        const XMLTreeContent content = record.GetContent(index);
        if (content.m_kind == XMLContentKindChild)
            order.push_back(content.m_child.GetName());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"FindCallbackReject", "Argument"}));
}

}  // namespace
}  // namespace testing
}  // namespace QEL

namespace QEL {
namespace testing {
namespace {

TEST_F(JournalWriterTest, CallbackRejectionReadsBackToTheSameTagsAndInstances)
{
    const int other = brennik::build::Block(5, 5, 5);
    std::set<int> otherFaces;
    GetBodyFaces(other, otherFaces);
    FindCallbackRejectRecord written{2, RelationTypeAngle, *m_faces.begin(), m_instance->GetTag(),
                                     *otherFaces.begin(), 0, other, 0};
    XMLIO writer("QELJournal", true);
    ASSERT_TRUE(writer.AddToBodyMap(m_block, 1, 0, false));
    ASSERT_TRUE(writer.AddToBodyMap(other, 2, 0, false));
    ASSERT_TRUE(FindCallbackRejectRecord::DoIO(written, m_interaction, writer));

    XMLIO reader("QELJournal", true);
    ASSERT_TRUE(reader.LoadText(writer.ToText().c_str()));
    ASSERT_TRUE(reader.AddToBodyMap(m_block, 1, 0, false));
    ASSERT_TRUE(reader.AddToBodyMap(other, 2, 0, false));
    FindCallbackRejectRecord read;
    ASSERT_TRUE(FindCallbackRejectRecord::DoIO(read, m_interaction, reader));
    EXPECT_EQ(read.level, 2);
    EXPECT_EQ(read.relationType, RelationTypeAngle);
    EXPECT_EQ(read.fromEntity, written.fromEntity);
    EXPECT_EQ(read.fromInstance, m_instance->GetTag());
    EXPECT_EQ(read.toEntity, written.toEntity);
    EXPECT_EQ(read.additionalEntity, other);

    // A candidate of fewer entities (the rest 0, as the finder gives most) reads back whole.
    FindCallbackRejectRecord single{1, RelationTypeFixed, *m_faces.begin(), m_instance->GetTag(), 0, 0, 0, 0};
    XMLIO singleWriter("QELJournal", true);
    ASSERT_TRUE(singleWriter.AddToBodyMap(m_block, 1, 0, false));
    ASSERT_TRUE(FindCallbackRejectRecord::DoIO(single, m_interaction, singleWriter));
    XMLIO singleReader("QELJournal", true);
    ASSERT_TRUE(singleReader.LoadText(singleWriter.ToText().c_str()));
    ASSERT_TRUE(singleReader.AddToBodyMap(m_block, 1, 0, false));
    FindCallbackRejectRecord readSingle{9, 9, 9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(FindCallbackRejectRecord::DoIO(readSingle, m_interaction, singleReader));
    EXPECT_EQ(std::vector<int>({readSingle.level, readSingle.relationType, readSingle.fromEntity,
                                readSingle.fromInstance, readSingle.toEntity, readSingle.toInstance,
                                readSingle.additionalEntity, readSingle.additionalInstance}),
              std::vector<int>({1, RelationTypeFixed, single.fromEntity, m_instance->GetTag(), 0, 0, 0, 0}));

    // An entity whose body is not journalled ends the element there: writing fails.
    XMLIO unknown("QELJournal", true);
    EXPECT_FALSE(FindCallbackRejectRecord::DoIO(written, m_interaction, unknown));
}

TEST_F(JournalWriterTest, AJournalWhoseProcessWasKilledReadsAsEveryCompleteRecord)
{
    int reports[2];
    ASSERT_EQ(pipe(reports), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        // The child journals records one after another, telling the parent each one it has
        // finished, until it is killed.
        close(reports[0]);
        if (OpenJournal(m_path.c_str()) != 0)
            _exit(1);
        for (int index = 1; index < 1000000; ++index) {
            JournalArguments record(m_interaction->GetTag());
            record.WriteJournalFunctionBegin();
            record.WriteJournalFunctionName("TestCall");
            record.SetArgTypeInput();
            record.WriteJournalArgInt(index, "count");
            record.WriteJournalArgString("a<b & \"c\"", "text");
            record.WriteJournalFunctionEnd();
            if (write(reports[1], &index, sizeof index) != static_cast<ssize_t>(sizeof index))
                _exit(1);
        }
        _exit(0);
    }
    close(reports[1]);
    int finished = 0;
    for (int index = 0; finished < 200 && read(reports[0], &index, sizeof index) == sizeof index;)
        finished = index;
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    close(reports[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(finished, 200);

    // Every record the child finished is there, in order; one it was writing may follow.
    const XMLTreeNode root = ParseJournalFile(m_path);
    ASSERT_FALSE(root.IsEmpty());
    EXPECT_EQ(Children(root, "Interaction").size(), 1u);
    const std::vector<XMLTreeNode> records = Children(root, "Function");
    ASSERT_GE(records.size(), static_cast<size_t>(finished));
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(Attribute(records[i], "name"), "TestCall");
        EXPECT_EQ(Attribute(Argument(records[i], "count"), "value"), std::to_string(i + 1));
    }

    // The interaction it holds loads as one, beside the fixture's.
    Interaction::SetAllowMultipleInteractions(true);
    ResultType result = ResultTypeFail;
    const int loaded = DebugLoadInteraction(m_path.c_str(), &result);
    Interaction::SetAllowMultipleInteractions(false);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_NE(loaded, 0);
    if (Interaction* interaction = TagManager::FindInteractionFromTag(loaded))
        interaction->Destroy();
    std::remove(m_path.c_str());
}

TEST(CutOffDocument, OnlyAJournalEndingInZeroBytesIsClosedAfterItsLastCompleteRecord)
{
    const std::string head = "<?xml version=\"1.0\"?>\n<QELJournal>\n<Function index=\"1\" a=\"x>y\"><A/></Function>\n";
    const std::string zeros(64, '\0');
    const std::string closed = head.substr(0, head.size() - 1) + "\n</QELJournal>\n";
    struct Case {
        const char* name;
        std::string bytes;
        bool closed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"cut between records", head + zeros, true, closed},
        {"cut inside a record", head + "<Function index=\"2\"><A/><!-- > -->" + zeros, true, closed},
        {"cut inside a start tag", head + "<Function index=\"2" + zeros, true, closed},
        {"no record yet", std::string("<QELJournal>") + zeros, true, "<QELJournal>\n</QELJournal>\n"},
        {"closed journal", head + "</QELJournal>\n" + zeros, false, ""},
        {"no zero bytes", head, false, ""},
        {"zero byte inside", head + '\0' + "<Function/>" + zeros, false, ""},
        {"a save file", "<Interaction><Instance/>" + zeros, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = c.bytes;
        EXPECT_EQ(CloseCutOffDocument(bytes, "QELJournal"), c.closed);
        EXPECT_EQ(bytes, c.closed ? c.expected : c.bytes);
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
