// The journal replay engine on journals written by hand and on a journal of a real session:
// what each kind of record gives, and a session that replays clean after the toolkit is reset,
// with one changed record found at exactly its index.
#include "../core/frame/ApiTestFixture.h"

#include "api/debug/QelDebugApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/debug/QelJournalReplayApi.h"
#include "api/model/QelMarkApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelRelationApi.h"
#include "api/model/QelTrackingApi.h"
#include "api/operations/QelModellingApi.h"
#include "api/operations/QelOptionObjectsApi.h"
#include "api/finding/QelRelationFindingApi.h"
#include "api/finding/QelRelationFindingOptionsApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/calls/QelInteractionApi.h"
#include "model/relations/Relation.h"
#include "replay/JournalReplay.h"
#include "update/finding/RelationFinder.h"

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace QEL {
namespace testing {
namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool RefusePerpendicular(int, int, RelationType type, int, int, int, int, int, int)
{
    return type != RelationTypePerpendicular;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

class JournalReplayTest : public ApiTest {
protected:
    // A journal of the given records under the root.
    std::string Journal(const std::string& records)
    {
        WriteText(m_path, "<?xml version=\"1.0\"?>\n<QELJournal>\n" + records + "</QELJournal>\n");
        return m_path;
    }

    struct StepOutcome {
        ReplayStatus status;
        ResultType replayed;
        ResultType stepped;
        std::string error;
    };
    StepOutcome StepOnce(JournalReplay& replay)
    {
        StepOutcome outcome{ReplaySuccess, ResultTypeOk, ResultTypeOk, ""};
        outcome.status = replay.Step(&outcome.replayed, &outcome.stepped);
        outcome.error = replay.GetLastError();
        return outcome;
    }
};

TEST_F(JournalReplayTest, AJournalWithoutRecordsEndsAtEveryStep)
{
    JournalReplay replay;
    // Before any start there is nothing to step through.
    EXPECT_EQ(StepOnce(replay).status, ReplayEndOfJournal);

    int count = -1;
    ASSERT_EQ(replay.Start(Journal("").c_str(), &count), ResultTypeOk);
    EXPECT_EQ(count, 0);
    for (int i = 0; i < 2; ++i) {
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_EQ(outcome.status, ReplayEndOfJournal);
        EXPECT_EQ(outcome.stepped, ResultTypeFail);
    }
}

TEST_F(JournalReplayTest, AMissingFileOrAnotherRootCannotBeOpened)
{
    for (const std::string& path : {m_path + ".missing", std::string()}) {
        JournalReplay replay;
        if (path.empty())
            WriteText(m_path, "<?xml version=\"1.0\"?>\n<QELXML/>\n");
        int count = -1;
        EXPECT_EQ(replay.Start(path.empty() ? m_path.c_str() : path.c_str(), &count),
                  ResultTypeCouldNotOpenFile);
        EXPECT_EQ(count, -1);
        EXPECT_EQ(StepOnce(replay).status, ReplayEndOfJournal);
    }
}

// One record each: what the step gives and the text it leaves.
TEST_F(JournalReplayTest, EachKindOfRecordGivesItsStatus)
{
    struct Case {
        const char* what;
        std::string records;
        ReplayStatus status;
        ResultType replayed;
        ResultType stepped;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"ignored by default", "<Function index=\"1\" name=\"GetMarkCount\"/>", ReplayIgnored,
         ResultTypeOk, ResultTypeOk, ""},
        {"ignored by the journal",
         "<IgnoreFunction name=\"CreateMark\"/><Function index=\"1\" name=\"CreateMark\"/>",
         ReplayIgnored, ResultTypeOk, ResultTypeOk, ""},
        {"forced failure on an ignored record",
         "<Function index=\"4\" name=\"GetMarkCount\" forceFailure=\"true\"/>", ReplayFailure,
         ResultTypeOk, ResultTypeFail, "GetMarkCount (4)  [FORCED FAILURE]"},
        {"no adapter", "<Function index=\"2\" name=\"NoSuchCall\"/>", ReplayNotSupported,
         ResultTypeNotSupported, ResultTypeNotSupported,
         "Failed to call replay function for NoSuchCall (2)"},
        {"pointer argument",
         "<Function index=\"3\" name=\"CreateMark\"><Argument name=\"p\" type=\"void*\" value=\"0x1\" "
         "unhandled=\"true\"/></Function>",
         ReplayProcessingFailure, ResultTypeOk, ResultTypeFail, "CreateMark (3)  [arg #0 'p'] "},
        {"buffer of two",
         "<Function index=\"5\" name=\"CreateMark\"><Argument name=\"d\" type=\"double[]\" length=\"2\">"
         "<Element type=\"double\" value=\"1\"/><Element type=\"double\" value=\"2\"/></Argument></Function>",
         ReplayProcessingFailure, ResultTypeOk, ResultTypeFail, "CreateMark (5)  [arg #0 'd'] "},
        {"too many arguments for the adapter",
         "<Function index=\"6\" name=\"CreateMark\"><Argument name=\"a\" type=\"int\" value=\"1\"/>"
         "<Argument name=\"b\" type=\"int\" value=\"1\"/><Argument name=\"c\" type=\"int\" value=\"1\"/>"
         "</Function>",
         ReplayFailure, ResultTypeFail, ResultTypeFail,
         "CreateMark (6) Error:  [Unexpected number of arguments]"},
        {"kernel class outside a body",
         "<Function index=\"8\" name=\"GetMark\"><Argument name=\"f\" type=\"BQ_CLASS_face\" tag=\"9\"/>"
         "</Function>",
         ReplayProcessingFailure, ResultTypeOk, ResultTypeFail,
         "GetMark (8)  [arg #0 'f'] Unhandled type: [BQ_CLASS_face]"},
        {"body id not journalled",
         "<Function index=\"9\" name=\"GetMark\"><Argument name=\"f\" type=\"BQ_CLASS_face\" tag=\"9\" "
         "id=\"3\" bodyId=\"4\"/></Function>",
         ReplayProcessingFailure, ResultTypeOk, ResultTypeFail,
         "GetMark (9)  [arg #0 'f'] failed to find body using body ID: [4]"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        JournalReplay replay;
        ASSERT_EQ(replay.Start(Journal(each.records).c_str(), nullptr), ResultTypeOk);
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_EQ(outcome.status, each.status);
        EXPECT_EQ(outcome.replayed, each.replayed);
        EXPECT_EQ(outcome.stepped, each.stepped);
        EXPECT_EQ(outcome.error, each.error);
        EXPECT_EQ(StepOnce(replay).status, ReplayEndOfJournal);
        DestroyAllInteractions();
    }
}

// The application refused some of a find's candidates while recording; the replay, where no
// callback of the application's is installed, refuses the same ones, finds the relations the
// find recorded, and reaches them in later records.
TEST_F(JournalReplayTest, AReplayedFindRefusesWhatTheApplicationRefused)
{
    OpenJournalFile();
    ResultType result = ResultTypeOk;
    const int interaction = CreateInteraction(&result);
    const int block = brennik::build::Block(10, 20, 30);
    std::set<int> faces;
    GetBodyFaces(block, faces);
    int top = 0;
    for (int face : faces) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        if (normal.z > 0.5)
            top = face;
    }
    const int instance = CreateInstance(interaction, block, nullptr, &result);
    ASSERT_EQ(result, ResultTypeOk);
    OptionSetFindAcceptRelationCallback(interaction, &RefusePerpendicular, &result);
    for (FindRelationType type : {FindRelationTypeParallel, FindRelationTypePerpendicular})
        OptionSetFindRelationsData(interaction, type, FindGeometryTypePlane, FindGeometryTypePlane, 1, &result);
    Array<Array<int>> from, to;
    Array<int> topGroup, blockGroup;
    topGroup.Add(instance);
    topGroup.Add(top);
    blockGroup.Add(instance);
    from.Add(topGroup);
    to.Add(blockGroup);
    FindGeometricRelations(interaction, from, to, &result);
    ASSERT_EQ(result, ResultTypeOk);
    ASSERT_EQ(GetFoundRelations(interaction, nullptr, &result), 1) << "the bottom parallel only";
    // A later record names the relation the find made, known to the journal only from the
    // find's own record.
    const auto& found = RelationFinder::Of(TagManager::FindInteractionFromTag(interaction))->GetFoundRelations();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(GetFoundRelationLevel(interaction, found.begin()->first->GetTag(), &result), 1);
    ASSERT_EQ(result, ResultTypeOk);
    const int functions = GetJournalCallIndex();
    ASSERT_EQ(CloseJournal(), 0);
    DestroyAllInteractions();
    brennik::test::RestartSession();

    JournalReplay replay;
    ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
    for (int i = 1; i <= functions; ++i) {
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_TRUE(outcome.status == ReplaySuccess || outcome.status == ReplayIgnored)
            << replay.GetFunctionName() << ": " << ReplayStatusToString(outcome.status) << " " << outcome.error;
    }
    // The refusals lasted only for the find's own record.
    const int live = replay.GetActiveInteractionTag();
    EXPECT_EQ(OptionGetFindAcceptRelationCallback(live, &result), nullptr);
    EXPECT_EQ(GetFoundRelations(live, nullptr, &result), 1);
}

// A short session journalled through the exported calls: an interaction, a block as an
// instance without a transform, references, a mark, a relation rolled back and made again, a
// text set to empty, and a checkpoint.
class JournalRoundTripTest : public JournalReplayTest {
protected:
    void RecordSession()
    {
        OpenJournalFile();
        ResultType result = ResultTypeOk;
        const int interaction = CreateInteraction(&result);
        ASSERT_EQ(result, ResultTypeOk);
        const int block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(block, faces);
        const int instance = CreateInstance(interaction, block, nullptr, &result);
        ASSERT_EQ(result, ResultTypeOk);
        Array<int> references;
        for (int face : faces) {
            references.Add(CreateReference(interaction, face, instance, &result));
            ASSERT_EQ(result, ResultTypeOk);
        }
        const int mark = CreateMark(interaction, &result);
        Array<int> fixed;
        fixed.Add(references[0]);
        CreateRelation(interaction, RelationTypeFixed, fixed, &result);
        ASSERT_EQ(result, ResultTypeOk);
        RollToMark(interaction, mark, &result);
        ASSERT_EQ(result, ResultTypeOk);
        const int relation = CreateRelation(interaction, RelationTypeFixed, fixed, &result);
        ASSERT_EQ(result, ResultTypeOk);
        // A number that names no subtype is refused; it replays as the same number, not as the
        // first subtype.
        RelationSetSubtype(interaction, relation, references[0], static_cast<RelationSubtype>(9), false, &result);
        ASSERT_EQ(result, ResultTypeBadArgument);
        RelationSetApplicationIdentifier(interaction, relation, "", &result);
        ASSERT_EQ(result, ResultTypeOk);
        RelationGetApplicationIdentifier(interaction, relation, &result);
        DebugJournalCheckpoint(interaction, "end", false, &result);
        ASSERT_EQ(result, ResultTypeOk);
        m_functions = GetJournalCallIndex();
        ASSERT_EQ(CloseJournal(), 0);
        m_journal = ReadText(m_path);
        // The replay starts from nothing the recording left behind.
        DestroyAllInteractions();
        brennik::test::RestartSession();
    }

    std::string m_journal;
    int m_functions = 0;
};

TEST_F(JournalRoundTripTest, AReplayedSessionBehavesAsRecordedAtEveryStep)
{
    RecordSession();
    JournalReplay replay;
    int count = 0;
    ASSERT_EQ(replay.Start(m_path.c_str(), &count), ResultTypeOk);
    EXPECT_EQ(count, m_functions);
    for (int i = 1; i <= m_functions; ++i) {
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_TRUE(outcome.status == ReplaySuccess || outcome.status == ReplayIgnored)
            << "record " << replay.GetIndex() << " " << replay.GetFunctionName() << ": "
            << ReplayStatusToString(outcome.status) << " " << outcome.error;
        EXPECT_EQ(replay.GetIndex(), i);
        EXPECT_EQ(outcome.stepped, ResultTypeOk);
    }
    EXPECT_NE(replay.GetActiveInteractionTag(), 0);
    EXPECT_EQ(StepOnce(replay).status, ReplayEndOfJournal);
}

// Records that name what was gone when they were written: a deleted face, edges and vertices a
// call deleted before any record named them, a reference rolled back, and an interaction tag
// that names none. Each replays as the replay's own gone entity, object or tag.
TEST_F(JournalRoundTripTest, TagsOfWhatIsGoneReplayAsTheReplaysOwnGoneTags)
{
    OpenJournalFile();
    ResultType result = ResultTypeOk;
    const int interaction = CreateInteraction(&result);
    const int body = brennik::build::BlockWithBlend(2.0);
    int blend = 0;
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces) {
        int surface = 0;
        if (BQ_FACE_ask_surf(face, &surface) == BQ_ERROR_no_errors && GetEntityClass(surface) == KernelClassCylinder)
            blend = face;
    }
    ASSERT_NE(blend, 0);
    const int instance = CreateInstance(interaction, body, nullptr, &result);
    const int mark = CreateMark(interaction, &result);
    const int reference = CreateReference(interaction, blend, instance, &result);
    Array<int> deleted;
    deleted.Add(blend);
    DeleteFaces(interaction, deleted, CreateDeleteFacesOptions(interaction, &result), &result);
    ASSERT_EQ(result, ResultTypeOk);
    Array<int> records;
    ASSERT_GT(TrackingGetBrennikMapData(interaction, &records, &result), 0);
    int goneOld = 0;
    for (int i = 0; i < records.GetSize(); ++i) {
        Array<int> olds;
        TrackingDataGetOldTags(interaction, records[i], &olds, &result);
        for (int j = 0; j < olds.GetSize(); ++j)
            goneOld += olds[j] != blend && !IsEntity(olds[j]);
    }
    EXPECT_GT(goneOld, 0);  // the edges and vertices of the blend, never named alive
    CreateReference(interaction, blend, instance, &result);
    EXPECT_NE(result, ResultTypeOk);
    RollToMark(interaction, mark, &result);
    ReferenceGetEntity(interaction, reference, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    OptionGetCheckArguments(interaction + 1000, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    m_functions = GetJournalCallIndex();
    ASSERT_EQ(CloseJournal(), 0);
    DestroyAllInteractions();
    brennik::test::RestartSession();

    JournalReplay replay;
    ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
    for (int i = 1; i <= m_functions; ++i) {
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_TRUE(outcome.status == ReplaySuccess || outcome.status == ReplayIgnored)
            << "record " << replay.GetIndex() << " " << replay.GetFunctionName() << ": "
            << ReplayStatusToString(outcome.status) << " " << outcome.error;
    }
}

TEST_F(JournalRoundTripTest, ReplayRunsToAnIndexOrToACheckpoint)
{
    RecordSession();
    {
        JournalReplay replay;
        ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
        ResultType stepped = ResultTypeFail;
        EXPECT_EQ(replay.ReplayToIndex(3, nullptr, &stepped), ReplaySuccess);
        EXPECT_EQ(replay.GetIndex(), 3);
        EXPECT_EQ(stepped, ResultTypeOk);
        // An index already passed: one step, and the index is missed.
        EXPECT_EQ(replay.ReplayToIndex(2, nullptr, &stepped), ReplaySuccess);
        EXPECT_EQ(replay.GetIndex(), 4);
        EXPECT_EQ(stepped, ResultTypeBadArgument);
        ResultType result = ResultTypeFail;
        EXPECT_EQ(replay.ReplayToCheckpoint("end", &result), ReplaySuccess);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_EQ(replay.GetFunctionName(), "DebugJournalCheckpoint");
    }
    DestroyAllInteractions();
    brennik::test::RestartSession();
    JournalReplay replay;
    ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
    ResultType result = ResultTypeOk;
    EXPECT_EQ(replay.ReplayToCheckpoint("no such checkpoint", &result), ReplayEndOfJournal);
    EXPECT_EQ(result, ResultTypeBadArgument);
}

// One recorded value changed by hand differs at exactly its record, with its text.
TEST_F(JournalRoundTripTest, AChangedRecordDiffersAtExactlyItsIndex)
{
    struct Change {
        const char* record;
        const char* from;  // the first text after the record's name that is replaced
        const char* to;
        const char* differs;  // the function name, the status and the text after the index
    };
    const Change changes[] = {
        {"RollToMark", "value=\"ResultTypeOk\"", "value=\"ResultTypeFail\"",
         "RollToMark ReplayResultDiffers ) journal result [ResultTypeFail] not equal to replay result "
         "[ResultTypeOk]"},
        {"RelationGetApplicationIdentifier", "<ReturnValue type=\"String\" isNull=\"true\"/>",
         "<ReturnValue type=\"String\">bolt</ReturnValue>",
         "RelationGetApplicationIdentifier ReplayReturnValueDiffers ) journal return value [bolt] not "
         "equal to replay return value [<Null>]"},
    };
    RecordSession();
    for (const Change& change : changes) {
        SCOPED_TRACE(change.record);
        const size_t record = m_journal.find(std::string("name=\"") + change.record + "\"");
        ASSERT_NE(record, std::string::npos);
        const size_t at = m_journal.find(change.from, record);
        ASSERT_NE(at, std::string::npos);
        std::string changed = m_journal;
        changed.replace(at, std::string(change.from).size(), change.to);
        WriteText(m_path, changed);

        JournalReplay replay;
        ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
        std::vector<std::string> differing;
        for (ReplayStatus status = ReplaySuccess; status != ReplayEndOfJournal;) {
            const StepOutcome outcome = StepOnce(replay);
            status = outcome.status;
            if (status != ReplaySuccess && status != ReplayIgnored && status != ReplayEndOfJournal) {
                const std::string text = outcome.error;
                const std::string prefix = replay.GetFunctionName() + " (" + std::to_string(replay.GetIndex());
                differing.push_back(replay.GetFunctionName() + " " + ReplayStatusToString(status) + " " +
                                    (text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text));
            }
        }
        ASSERT_EQ(differing.size(), 1u);
        EXPECT_EQ(differing[0], change.differs);
        DestroyAllInteractions();
        brennik::test::RestartSession();
    }
}

// An interaction loaded from a save file while recording is loaded again from that file, and
// the records after the load reach it.
TEST_F(JournalRoundTripTest, AnInteractionLoadedFromAFileIsLoadedAgainAndReached)
{
    const std::string saved = m_path + ".interaction.xml";
    OpenJournalFile();
    ResultType result = ResultTypeOk;
    const int first = CreateInteraction(&result);
    CreateInstance(first, brennik::build::Block(), nullptr, &result);
    ASSERT_EQ(result, ResultTypeOk);
    DebugSaveInteraction(first, saved.c_str(), &result);
    ASSERT_EQ(result, ResultTypeOk);
    DestroyInteraction(first, &result);
    const int loaded = DebugLoadInteraction(saved.c_str(), &result);
    ASSERT_EQ(result, ResultTypeOk);
    ASSERT_EQ(GetInstanceCount(loaded, &result), 1);
    CreateMark(loaded, &result);
    ASSERT_EQ(result, ResultTypeOk);
    const int functions = GetJournalCallIndex();
    ASSERT_EQ(CloseJournal(), 0);
    DestroyAllInteractions();
    brennik::test::RestartSession();

    JournalReplay replay;
    ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
    for (int i = 1; i <= functions; ++i) {
        const StepOutcome outcome = StepOnce(replay);
        EXPECT_TRUE(outcome.status == ReplaySuccess || outcome.status == ReplayIgnored)
            << replay.GetFunctionName() << ": " << ReplayStatusToString(outcome.status) << " " << outcome.error;
        if (replay.GetFunctionName() == "DebugLoadInteraction") {
            EXPECT_EQ(outcome.status, ReplaySuccess);
        }
    }
    Interaction* active = TagManager::FindInteractionFromTag(replay.GetActiveInteractionTag());
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(GetInstanceCount(active->GetTag(), &result), 1);
    std::remove(saved.c_str());
}

// A failure point the application recorded stops a replay there: the step fails with its text,
// and running to a later index or to the end stops at it.
TEST_F(JournalRoundTripTest, ARecordedFailurePointStopsTheReplayThere)
{
    OpenJournalFile();
    ResultType result = ResultTypeOk;
    const int interaction = CreateInteraction(&result);
    DebugJournalFailurePoint(&result);
    ASSERT_EQ(result, ResultTypeOk);
    CreateMark(interaction, &result);
    ASSERT_EQ(CloseJournal(), 0);
    DestroyAllInteractions();

    JournalReplay replay;
    ASSERT_EQ(replay.Start(m_path.c_str(), nullptr), ResultTypeOk);
    ResultType stepped = ResultTypeOk;
    EXPECT_EQ(replay.ReplayToIndex(3, nullptr, &stepped), ReplayFailure);
    EXPECT_EQ(replay.GetIndex(), 2);
    EXPECT_EQ(stepped, ResultTypeBadArgument);
    EXPECT_STREQ(replay.GetLastError(), "DebugJournalFailurePoint (2)  [FORCED FAILURE]");
}

// The exported replay calls: one replay at a time, and each call refused without one.
TEST_F(JournalRoundTripTest, TheReplayCallsDriveOneReplayAtATime)
{
    ResultType result = ResultTypeOk;
    const char* name = "unset";
    EXPECT_EQ(DebugJournalReplayStep(nullptr, &name, nullptr, nullptr, &result), ReplayFailure);
    EXPECT_EQ(result, ResultTypeReplayInactive);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(DebugJournalReplayToCheckpoint("end", nullptr, &result), ReplayFailure);
    EXPECT_EQ(result, ResultTypeReplayInactive);
    EXPECT_STREQ(DebugJournalReplayGetLastError(&result), "");
    EXPECT_EQ(result, ResultTypeReplayInactive);
    DebugJournalReplayEnd(&result);
    EXPECT_EQ(result, ResultTypeReplayInactive);

    // A failed start keeps its replay until it is ended.
    DebugJournalReplayStart((m_path + ".missing").c_str(), nullptr, &result);
    EXPECT_EQ(result, ResultTypeCouldNotOpenFile);
    DebugJournalReplayStart(m_path.c_str(), nullptr, &result);
    EXPECT_EQ(result, ResultTypeReplayActive);
    DebugJournalReplayEnd(&result);
    EXPECT_EQ(result, ResultTypeOk);

    RecordSession();
    int interaction = -1;
    DebugJournalReplayStart(m_path.c_str(), &interaction, &result);
    ASSERT_EQ(result, ResultTypeOk);
    EXPECT_EQ(interaction, 0);  // the journal made its interaction itself
    int index = 0;
    ResultType replayed = ResultTypeFail;
    EXPECT_EQ(DebugJournalReplayStep(&index, &name, &replayed, &interaction, &result), ReplaySuccess);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(index, 1);
    EXPECT_STREQ(name, "CreateInteraction");
    EXPECT_EQ(replayed, ResultTypeOk);
    EXPECT_NE(TagManager::FindInteractionFromTag(interaction), nullptr);
    EXPECT_EQ(DebugJournalReplayToIndex(9, &index, &name, &replayed, nullptr, &result), ReplaySuccess);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(index, 9);
    EXPECT_STREQ(name, "CreateMark");
    EXPECT_EQ(DebugJournalReplayToCheckpoint("end", &index, &result), ReplaySuccess);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(index, m_functions);
    EXPECT_EQ(DebugJournalReplayStep(&index, &name, nullptr, nullptr, &result), ReplayEndOfJournal);
    EXPECT_EQ(result, ResultTypeFail);
    EXPECT_STREQ(DebugJournalReplayGetLastError(&result), "");
    EXPECT_EQ(result, ResultTypeOk);
    DebugJournalReplayEnd(&result);
    EXPECT_EQ(result, ResultTypeOk);
    // The replayed interaction stays with the application.
    EXPECT_NE(TagManager::FindInteractionFromTag(interaction), nullptr);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
