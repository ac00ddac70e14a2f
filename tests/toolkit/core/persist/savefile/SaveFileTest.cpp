// The interaction save file: what it holds, that a saved interaction loads back equal in both
// body forms, the defaults of absent values, and that a failed load leaves nothing behind.
#include "SaveFileFixture.h"

#include "core/kernel/AddOnFacade.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/xml/XMLParseResult.h"
#include "core/xml/XMLTreeNode.h"
#include "core/kernel/AddOnFacade.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/xml/XMLParseResult.h"
#include "core/xml/XMLTreeNode.h"
#include "model/patterns/Section.h"

namespace QEL {
namespace testing {
namespace {

TEST_F(SaveFileContentTest, SavedInteractionLoadsBackEqualWithItsOptions)
{
    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_DOUBLE_EQ(m_loaded->GetModellingTolerance(), 1e-5);
    EXPECT_EQ(m_loaded->GetStepFaceType(), StepFaceOnSmoothEdges);
    EXPECT_EQ(m_loaded->GetPreviewMode(), PreviewModeAlways);
    EXPECT_FALSE(m_loaded->GetCheckArguments());
    EXPECT_TRUE(m_loaded->GetTrackingReportUpdateData());
    EXPECT_EQ(m_loaded->GetSelectionCount(), 2);
    EXPECT_GE(m_loaded->GetEntityIdCounter(), m_interaction->GetEntityIdCounter());
    EXPECT_EQ(m_loaded->GetTagManager()->GetNumTaggedEnts(),
              m_interaction->GetTagManager()->GetNumTaggedEnts());
    EXPECT_TRUE(m_loaded->Compare(m_interaction, false, nullptr));
    // The saved interaction and the kernel model are as they were.
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_interaction->CheckValidity(bad, codes));
    EXPECT_TRUE(m_loaded->CheckValidity(bad, codes));
    EXPECT_TRUE(codes.empty());
}

TEST_F(SaveFileContentTest, FileHoldsHeaderOptionsPartsInWritingOrderAndObjectsByType)
{
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    XMLParseResult parsed;
    XMLTreeNode document = XMLTreeNode::ParseFile(path.c_str(), "QELXML", &parsed);
    ASSERT_FALSE(document.IsEmpty());
    for (const char* header : {"Info", "QELVersion", "ComponentVersion"})
        EXPECT_FALSE(document.GetChild(header).IsEmpty()) << header;
    XMLTreeNode interaction = document.GetChild("Interaction");
    EXPECT_NE(interaction.GetAttribute("lastEntityId"), nullptr);
    EXPECT_EQ(interaction.GetAttribute("markCount"), nullptr);
    EXPECT_STREQ(interaction.GetChild("Options").GetAttribute("modellingTolerance"), "1e-05");
    EXPECT_FALSE(interaction.GetChild("TrackingManager").IsEmpty());
    EXPECT_FALSE(interaction.GetChild("RelationFinder").IsEmpty());
    EXPECT_EQ(interaction.GetChild("SelectedReferences").CountChildren("SelRef"), 2);

    // The free plane first, as a virtual geometry part, then the two bodies; numbered from 1.
    std::vector<std::string> parts;
    int position = 0;
    for (XMLTreeNode part = interaction.GetChild("Part", &position); !part.IsEmpty();
         part = interaction.GetChild("Part", &position)) {
        const char* isVirtual = part.GetAttribute("isVirtualGeomPart");
        parts.push_back(std::string(part.GetAttribute("id")) + (isVirtual ? "v" : ""));
        EXPECT_FALSE(part.GetChild("Body").IsEmpty());
    }
    EXPECT_EQ(parts, (std::vector<std::string>{"id1v", "id2", "id3"}));

    // Objects by type: instances, references, then the option objects.
    std::vector<std::string> order;
    for (int i = 0; i < interaction.CountChildren(); ++i) {
        const std::string name = interaction.GetChild(i).GetName();
        if (order.empty() || order.back() != name)
            order.push_back(name);
    }
    const std::vector<std::string> expected = {
        "Options",      "TrackingManager", "Part",         "SelectedReferences", "RelationFinder",
        "Instance",     "Reference",       "ShellOptions", "PasteOptions",       "TaperOptions",
        "MakeFeatureOptions"};
    EXPECT_EQ(order, expected);
}

TEST_F(SaveFileContentTest, NamedPartFileBesideTheSaveFileLoadsEqual)
{
    // The inline parts of the two bodies become one named part holding both, in their order.
    EXPECT_EQ(SaveLoadNamedCompare(), ResultTypeOk);
}

TEST_F(SaveFileContentTest, MovedFaceAfterLoadGivesBodyDiffers)
{
    ASSERT_EQ(SaveLoadCompare(), ResultTypeOk);
    std::vector<int> seen;
    m_loaded->GetSeenBodies(seen, false);
    ASSERT_FALSE(seen.empty());
    // Moving the whole body stands for any change of its geometry.
    Xform shift;
    shift.SetToTranslation(Vec(0.0, 0.0, 0.5));
    TransformBody(seen.front(), shift.CreateKernelTransf(), 1e-8, nullptr);
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    EXPECT_EQ(result, ResultTypeBodyDiffers);
}

TEST_F(SaveFileTest, AbsentValuesTakeTheirDefaults)
{
    const char* text =
        "<QELXML><Interaction lastEntityId=\"0\"><Options checkArguments=\"false\"/>"
        "<RelationFinder/></Interaction></QELXML>";
    XMLData data;
    m_loaded = LoadText(text, data);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_DOUBLE_EQ(m_loaded->GetModellingTolerance(), 1e-6);
    EXPECT_TRUE(m_loaded->GetExactDragging());
    EXPECT_EQ(m_loaded->GetStepFaceType(), StepFaceOff);
    EXPECT_FALSE(m_loaded->GetAdaptiveLiftMode());
    EXPECT_FALSE(m_loaded->GetCheckArguments());
    EXPECT_TRUE(m_loaded->GetTrackChanges());

    // Without "Options" the constructor's options stay.
    Interaction* bare = LoadText(
        "<QELXML><Interaction lastEntityId=\"7\"><RelationFinder/></Interaction></QELXML>", data,
        "bare.xml");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->GetCheckArguments(), Interaction::GetCheckArgumentsDefault());
    EXPECT_EQ(bare->GetEntityIdCounter(), 7);
    bare->Destroy();
}

TEST_F(SaveFileTest, LastEntityIdBelowTheHighestIdLeavesTheCounterAtTheHighest)
{
    Instance::Create(m_interaction, m_block, nullptr);
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    std::string text = ReadFile(path);
    const size_t at = text.find("lastEntityId=\"");
    text.replace(at, text.find('"', at + 14) - at, "lastEntityId=\"0");
    XMLData data;
    m_loaded = LoadText(text, data);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetEntityIdCounter(), m_interaction->GetInstance(0)->GetEntityId());
}

// Each broken file fails with the error it deserves, and nothing of it stays in the kernel
// or the registry.
TEST_F(SaveFileTest, FailedLoadsLeaveNothingBehind)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference* reference = Reference::Create(m_interaction, Faces(m_block)[0], instance);
    ASSERT_TRUE(m_interaction->AddSelectedReference(reference));
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    const std::string saved = ReadFile(path);
    const std::string instanceId = "id" + std::to_string(instance->GetEntityId());
    const std::string referenceId = "id" + std::to_string(reference->GetEntityId());

    struct Case {
        const char* what;
        std::string from, to;
        int errorKey;
        XMLErrorCode code;
    };
    const Case cases[] = {
        {"duplicate object id", "<Reference id=\"" + referenceId,
         "<Reference id=\"" + instanceId, instance->GetEntityId(), XMLErrorCodeBadObjectId},
        {"part with id 0", "<Part id=\"id1\"", "<Part id=\"null\"", 0, XMLErrorCodeBadObjectId},
        {"unreadable body", "<Body>", "<Body>AAAA", 1, XMLErrorCodePartBodyUnreadable},
        {"selection naming an instance", "referenceRef=\"" + referenceId,
         "referenceRef=\"" + instanceId, instance->GetEntityId(), XMLErrorCodeBadObjectId},
        {"wrong root", "QELXML", "Other", 0, XMLErrorCodeWrongRoot},
        {"malformed", "</Interaction>", "</Interactio>", 0, XMLErrorCodeFileUnreadable},
    };
    const int entities = CountKernelEntities();
    for (const Case& c : cases) {
        std::string text = saved;
        ReplaceAll(text, c.from, c.to);
        ASSERT_NE(text, saved) << c.what;
        XMLData data;
        EXPECT_EQ(LoadText(text, data), nullptr) << c.what;
        ASSERT_TRUE(data.ErrorsExist()) << c.what;
        EXPECT_EQ(data.GetErrors().count(c.errorKey), 1u) << c.what;
        if (data.GetErrors().count(c.errorKey)) {
            EXPECT_EQ(data.GetErrors().at(c.errorKey), c.code) << c.what;
        }
        EXPECT_EQ(TagManager::GetInteractionCount(), 1) << c.what;
        EXPECT_EQ(CountKernelEntities(), entities) << c.what;
    }
}

TEST_F(SaveFileTest, ObjectsTheToolkitCallsInvalidAreRefusedWithTheFile)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference* placed = Reference::Create(m_interaction, Faces(m_block)[0], instance);
    Reference* bare = Reference::Create(m_interaction, Faces(m_blended)[1], nullptr);
    Reference* plane = Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 15, 0, 0, 1), nullptr);
    Section* section = Section::Create(m_interaction, plane);
    ASSERT_NE(section, nullptr);
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    const std::string saved = ReadFile(path);
    {
        XMLData data;
        Interaction* loaded = LoadText(saved, data);
        ASSERT_NE(loaded, nullptr) << saved;
        loaded->Destroy();
    }

    // The start tag of the element with that name and id, its attribute set to a value or,
    // with no value, left out.
    auto edit = [&](const char* element, const TaggedEntity* object, const std::string& attribute,
                    const char* value) {
        std::string text = saved;
        const std::string start = std::string("<") + element + " id=\"id" + std::to_string(object->GetEntityId()) + "\"";
        const size_t at = text.find(start);
        const size_t end = text.find('>', at);
        const size_t found = text.find(" " + attribute + "=\"", at);
        if (at == std::string::npos || found == std::string::npos || found > end)
            return std::string();
        const size_t close = text.find('"', found + attribute.size() + 3);
        text.replace(found, close + 1 - found, value ? " " + attribute + "=\"" + value + "\"" : "");
        return text;
    };
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"reference through an instance of id 0", edit("Reference", placed, "instanceRef", "null")},
        {"reference on a part of id 0", edit("Reference", bare, "partRef", "null")},
        {"entity identifier zero", edit("Reference", placed, "entityID", "0")},
        {"entity identifier missing", edit("Reference", bare, "entityID", nullptr)},
        {"entity identifier not a number", edit("Reference", placed, "entityID", "face")},
        {"section on a plane of id 0", edit("Section", section, "planeReference", "null")},
    };
    const int entities = CountKernelEntities();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.text.empty()) << saved;
        XMLData data;
        EXPECT_EQ(LoadText(c.text, data), nullptr);
        EXPECT_TRUE(data.ErrorsExist());
        EXPECT_EQ(TagManager::GetInteractionCount(), 1);
        EXPECT_EQ(CountKernelEntities(), entities);
    }
}

TEST_F(SaveFileTest, RelativePathIsResolvedOnceAndTheWorkingDirectoryStays)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_folder);
    std::filesystem::create_directories("out");
    Instance::Create(m_interaction, m_block, nullptr);
    EXPECT_TRUE(m_interaction->SaveToFile("out/a.xml"));
    EXPECT_EQ(std::filesystem::current_path(), m_folder);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "out" / "a.xml"));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "out" / "out"));
    m_loaded = Interaction::CreateFromFile("out/a.xml");
    EXPECT_NE(m_loaded, nullptr);
    std::filesystem::current_path(before);
}

TEST_F(SaveFileTest, JournalServesAsInput)
{
    // A journal without snapshots: the bodies its calls carry make a new interaction.
    XMLIO journal("QELJournal", false);
    ASSERT_TRUE(journal.BeginElement("Function"));
    ASSERT_TRUE(journal.BeginElement("Argument"));
    int body = m_block;
    ASSERT_TRUE(journal.DoIOBody(body, false));
    journal.EndElement(true);
    journal.EndElement(true);
    ASSERT_TRUE(journal.Save(PathOf("journal.xml").c_str()));

    m_loaded = Interaction::CreateFromFile(PathOf("journal.xml").c_str());
    ASSERT_NE(m_loaded, nullptr);
    std::vector<int> seen;
    m_loaded->GetSeenBodies(seen, false);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(brennik::test::BodiesEqual(seen[0], m_block));

    // A journal with a snapshot gives the snapshot's interaction.
    Instance::Create(m_interaction, m_block, nullptr);
    XMLIO withSnapshot("QELJournal", false);
    XMLData data;
    ASSERT_TRUE(data.SaveToXML(m_interaction, withSnapshot));
    ASSERT_TRUE(withSnapshot.Save(PathOf("snapshot.xml").c_str()));
    Interaction* fromSnapshot = Interaction::CreateFromFile(PathOf("snapshot.xml").c_str());
    ASSERT_NE(fromSnapshot, nullptr);
    EXPECT_TRUE(m_interaction->Compare(fromSnapshot, false, nullptr));
    fromSnapshot->Destroy();
}

// A journal load that fails part way takes back every body it received: one cut off after
// some of its records, one with an unreadable body between good ones, with and without a
// snapshot before the records.
TEST_F(SaveFileTest, FailedJournalLoadsTakeBackWhatTheyReceived)
{
    Instance::Create(m_interaction, m_block, nullptr);
    auto journalOf = [&](bool snapshot) {
        XMLIO journal("QELJournal", false);
        if (snapshot) {
            XMLData data;
            EXPECT_TRUE(data.SaveToXML(m_interaction, journal));
        }
        for (int i = 0; i < 5; ++i) {
            int body = i % 2 ? m_blended : m_block;
            EXPECT_TRUE(journal.BeginElement("Function") && journal.BeginElement("Argument") &&
                        journal.DoIOBody(body, false));
            journal.EndElement(true);
            journal.EndElement(true);
        }
        EXPECT_TRUE(journal.Save(PathOf("journal.xml").c_str()));
        return ReadFile(PathOf("journal.xml"));
    };
    // Where the body text of the record at `index` starts.
    auto bodyOf = [](const std::string& text, int index) {
        size_t at = text.find("<Function");
        for (int i = 0; i < index; ++i)
            at = text.find("<Function", at + 1);
        return text.find("<Body>", at) + 6;
    };
    auto corruptBody = [&](std::string text, int index) { return text.insert(bodyOf(text, index), "AAAA"); };
    // The text up to and with the record at `index`.
    auto cutAfter = [](const std::string& text, int index) {
        size_t at = text.find("</Function>");
        for (int i = 0; i < index; ++i)
            at = text.find("</Function>", at + 1);
        return text.substr(0, at + 11);
    };
    for (bool snapshot : {false, true}) {
        const std::string whole = journalOf(snapshot);
        const int entities = CountKernelEntities();
        {
            XMLData data;
            Interaction* loaded = LoadText(whole, data);
            ASSERT_NE(loaded, nullptr) << whole;
            std::vector<int> seen;
            loaded->GetSeenBodies(seen, false);
            EXPECT_EQ(seen.size(), snapshot ? 6u : 5u);
            loaded->Destroy();
            for (int body : seen)
                DeleteEntity(body);
            ASSERT_EQ(CountKernelEntities(), entities);
        }
        struct Case {
            const char* what;
            std::string text;
        };
        const Case cases[] = {
            {"cut off after two records", cutAfter(whole, 1)},
            {"cut off inside the third body", whole.substr(0, bodyOf(whole, 2) + 40)},
            {"unreadable third body", corruptBody(whole, 2)},
            {"unreadable last body", corruptBody(whole, 4)},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (snapshot ? " after a snapshot" : ""));
            XMLData data;
            EXPECT_EQ(LoadText(c.text, data), nullptr);
            EXPECT_TRUE(data.ErrorsExist());
            EXPECT_EQ(TagManager::GetInteractionCount(), 1);
            EXPECT_EQ(CountKernelEntities(), entities);
        }
    }
}

// A journal's snapshot goes into the record its caller opened and carries the number of marks,
// which a replay must find again under the same numbers.
TEST_F(SaveFileTest, JournalSnapshotRestoresItsMarks)
{
    Instance::Create(m_interaction, m_block, nullptr);
    m_interaction->CreateMark();
    m_interaction->CreateMark();
    XMLIO writer("QELJournal", true);
    ASSERT_TRUE(writer.BeginElement("Interaction"));
    XMLData data;
    ASSERT_TRUE(data.SaveToXML(m_interaction, writer));
    writer.EndElement(true);
    const std::string text = writer.ToText();
    EXPECT_NE(text.find("markCount=\"2\""), std::string::npos) << text;

    XMLIO reader("QELJournal", true);
    ASSERT_TRUE(reader.LoadText(text.c_str()));
    ASSERT_TRUE(reader.BeginElement("Interaction"));
    m_loaded = data.CreateInteractionFromXML(reader);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetMarkCount(), 2);
    EXPECT_TRUE(m_interaction->Compare(m_loaded, false, nullptr));
}

TEST_F(SaveFileTest, FeatureDataSurvivesAnIdentifierEqualToAnEntityId)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    const int face = Faces(m_block)[0];
    const int label = 1;
    int feature = 0;
    const HXR_TOPOL_make_feat_o_s options{1, 0, nullptr, nullptr, 0};
    // The feature's identifier is the instance's entity id.
    ASSERT_EQ(HXR_TOPOL_make_feat(1, &face, &label, 0, instance->GetEntityId(), &options, &feature),
              0);
    m_interaction->SetAppData(feature, "depth", 2.5);
    m_interaction->SetAppData(feature, "angle", 0.125);
    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
    ASSERT_NE(m_loaded, nullptr);
    Array<int> features;
    m_loaded->GetAppFeatures(features);
    ASSERT_EQ(features.GetSize(), 1);
    double value = 0.0;
    EXPECT_TRUE(m_loaded->GetAppData(features[0], "depth", value));
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_TRUE(m_loaded->GetAppData(features[0], "angle", value));
    EXPECT_DOUBLE_EQ(value, 0.125);
}

// Many placed bodies, each with a reference on a face, and a free plane saved as a virtual
// part: the loaded interaction compares equal, and saving changed nothing in the model, the
// references' groups included.
TEST_F(SaveFileTest, ManyPlacedBodiesSaveLoadAndCompareEqual)
{
    constexpr int s_bodies = 1000;
    std::vector<int> blocks;
    for (int i = 0; i < s_bodies; ++i) {
        const int block = brennik::build::Block(10, 20, 30);
        double matrix[4][4] = {{1, 0, 0, 20.0 * i}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        Instance* instance = Instance::Create(m_interaction, block, matrix);
        Reference::Create(m_interaction, Faces(block)[0], instance);
        blocks.push_back(block);
    }
    const int plane = brennik::build::FreePlane(0, 0, 40, 0, 0, 1);
    Reference::Create(m_interaction, plane, nullptr);
    std::vector<int> groups;
    Reference::FindInteractionReferencesGroupsForBody(m_interaction, blocks.back(), groups);
    ASSERT_FALSE(groups.empty());
    const int entities = CountKernelEntities();

    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);

    std::vector<int> after;
    Reference::FindInteractionReferencesGroupsForBody(m_interaction, blocks.back(), after);
    EXPECT_EQ(after, groups);
    // The plane left its scaffold part free again.
    EXPECT_TRUE(IsPointLineOrPlaneClass(GetEntityClass(plane)));
    int part = -1;
    BQ_SURF_ask_part(plane, &part);
    EXPECT_EQ(part, 0);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_interaction->CheckValidity(bad, codes));
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_TRUE(m_loaded->CheckValidity(bad, codes));
    // The loaded interaction's bodies and plane are all that was added: saving left nothing.
    EXPECT_EQ(CountKernelEntities(), entities + s_bodies + 1);
}

// Saving and loading take nothing back, so a session running without rollback does both.
TEST_F(SaveFileTest, SaveAndLoadSucceedWithRollbackOff)
{
    m_interaction->Destroy();
    m_interaction = nullptr;
    BQ_SESSION_stop();
    const BQ_SESSION_start_o_t options{1, false, true};
    ASSERT_EQ(BQ_SESSION_start(&options), BQ_ERROR_no_errors);
    bool rollback = true;
    BQ_SESSION_is_rollback_on(&rollback);
    ASSERT_FALSE(rollback);
    m_interaction = new Interaction(CreateTypeLive);
    const int block = brennik::build::Block();
    Instance* instance = Instance::Create(m_interaction, block, nullptr);
    Reference::Create(m_interaction, Faces(block)[0], instance);
    Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 40, 0, 0, 1), nullptr);

    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
}

TEST_F(SaveFileTest, BodiesWithoutAttributesLeaveTheModelUnchanged)
{
    Instance* instance = Instance::Create(m_interaction, m_block, nullptr);
    Reference::Create(m_interaction, Faces(m_block)[0], instance);
    std::vector<int> groups;
    Reference::FindInteractionReferencesGroupsForBody(m_interaction, m_block, groups);
    ASSERT_FALSE(groups.empty());
    Array<int> bodies;
    bodies.Add(m_block);
    ASSERT_TRUE(SaveBodiesWithoutQELAttributes(bodies, PathOf("bare.b_t").c_str()));
    std::vector<int> after;
    Reference::FindInteractionReferencesGroupsForBody(m_interaction, m_block, after);
    EXPECT_EQ(after, groups);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_interaction->CheckValidity(bad, codes));

    // The file holds the body without the reference groups.
    int count = 0;
    int* parts = nullptr;
    const BQ_PART_receive_o_t receive{1, BQ_PART_format_text, true};
    ASSERT_EQ(BQ_PART_receive(PathOf("bare").c_str(), &receive, &count, &parts), BQ_ERROR_no_errors);
    ASSERT_EQ(count, 1);
    int groupCount = 0;
    int* received = nullptr;
    BQ_PART_ask_groups(parts[0], &groupCount, &received);
    EXPECT_EQ(groupCount, 0);
    BQ_MEMORY_free(received);
    EXPECT_TRUE(brennik::test::BodiesEqual(parts[0], m_block));
    BQ_MEMORY_free(parts);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
