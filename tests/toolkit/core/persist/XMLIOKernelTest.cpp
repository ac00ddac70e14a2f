// Kernel parts as base64 inside XML, kernel entities named by identifier and body id, and the
// instance element, each written and read back in a fresh kernel session.

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

namespace QEL {
namespace testing {
namespace {

int CountFacesOf(int body)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    return static_cast<int>(faces.size());
}

class XMLIOKernel : public ::testing::Test {
protected:
    void SetUp() override { brennik::test::RestartSession(); }
    void TearDown() override
    {
        if (m_interaction)
            m_interaction->Destroy();
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        brennik::test::Reset();
    }
    // The writer's text loaded into a fresh reader.
    static std::unique_ptr<XMLIO> Reload(XMLIO& writer)
    {
        auto reader = std::make_unique<XMLIO>(writer.GetRootName().c_str(), false);
        EXPECT_TRUE(reader->LoadText(writer.ToText().c_str()));
        return reader;
    }

    Interaction* m_interaction = nullptr;
};

TEST_F(XMLIOKernel, BodiesTravelAsBase64AndCompareEqual)
{
    for (int body : {brennik::build::BlockWithBlendedCorner(), brennik::build::TurnedPart(),
                     brennik::build::Sheet()}) {
        ASSERT_NE(body, 0);
        XMLIO writer("Test", false);
        int id = 3;
        ASSERT_TRUE(writer.DoIOBody(body, id, false));
        const std::string text = writer.ToText();
        EXPECT_NE(text.find("<Body id=\"3\">"), std::string::npos);
        // Writing leaves the model as it was.
        EXPECT_TRUE(IsEntity(body));

        auto reader = Reload(writer);
        int back = 0, backId = 0;
        ASSERT_TRUE(reader->DoIOBody(back, backId, false));
        EXPECT_EQ(backId, 3);
        ASSERT_NE(back, 0);
        EXPECT_NE(back, body);
        EXPECT_EQ(GetEntityClass(back), KernelClassBody);
        EXPECT_TRUE(brennik::test::BodiesEqual(body, back));
        EXPECT_EQ(reader->FindBodyByIdAndIndex(3, 0), back);
    }
}

TEST_F(XMLIOKernel, FreeGeometryTravelsAsAVirtualPart)
{
    int plane = brennik::build::FreePlane(1, 2, 3, 0, 0, 1);
    XMLIO writer("Test", false);
    int id = 2;
    ASSERT_TRUE(writer.DoIOBody(plane, id, false));
    EXPECT_NE(writer.ToText().find("isVirtualGeomPart=\"true\""), std::string::npos);
    auto reader = Reload(writer);
    int back = 0, backId = 0;
    ASSERT_TRUE(reader->DoIOBody(back, backId, false));
    EXPECT_EQ(GetEntityClass(back), KernelClassPlane);
    EXPECT_TRUE(AreGeometriesCoincident(plane, back));
    bool isVirtual = false;
    EXPECT_EQ(reader->FindBodyByIdAndIndex(2, 0, &isVirtual), back);
    EXPECT_TRUE(isVirtual);
}

TEST_F(XMLIOKernel, UnreadableBodyDataFailsWithoutChangingTheModel)
{
    int block = brennik::build::Block();
    XMLIO writer("Test", false);
    int id = 1;
    ASSERT_TRUE(writer.DoIOBody(block, id, false));
    std::string good = writer.ToText();
    const size_t start = good.find("<Body id=\"1\">") + 13;
    const std::string cases[] = {
        "<Test><Body id=\"1\">not*base64!</Body></Test>",
        "<Test><Body id=\"1\"></Body></Test>",
        "<Test><Body id=\"1\">QUJDRA==</Body></Test>",  // valid base64, not transmit data
        "<Test>" + good.substr(start - 13, 13 + 200) + "</Body></Test>",  // cut short
        "<Test/>",
    };
    for (const std::string& text : cases) {
        XMLIO reader("Test", false);
        ASSERT_TRUE(reader.LoadText(text.c_str())) << text;
        int body = 77, bodyId = 0;
        EXPECT_FALSE(reader.DoIOBody(body, bodyId, false)) << text;
        EXPECT_EQ(reader.FindBodyByIdAndIndex(1, 0), 0);
    }
    // A failed write (no entity) writes no data and changes nothing.
    int nothing = 0;
    EXPECT_FALSE(writer.DoIOBody(nothing, id, false));
    EXPECT_EQ(CountFacesOf(block), 6);
}

TEST_F(XMLIOKernel, KernelEntitiesAreNamedByIdentifierAndBody)
{
    int block = brennik::build::Block();
    std::set<int> faceSet;
    GetBodyFaces(block, faceSet);
    std::vector<int> entities(faceSet.begin(), faceSet.end());
    entities.resize(2);
    std::vector<int> edgesAndVertices;
    GetFaceEdgesAndVertices(entities[0], &edgesAndVertices);
    entities.push_back(edgesAndVertices.front());
    entities.push_back(edgesAndVertices.back());

    XMLIO writer("Test", false);
    int id = 1;
    ASSERT_TRUE(writer.DoIOBody(block, id, false));
    ASSERT_TRUE(DoIOKernelEntities(writer, "Entity", entities));
    auto reader = Reload(writer);
    int body = 0, bodyId = 0;
    ASSERT_TRUE(reader->DoIOBody(body, bodyId, false));
    std::vector<int> back;
    ASSERT_TRUE(DoIOKernelEntities(*reader, "Entity", back));
    ASSERT_EQ(back.size(), entities.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(GetEntityClass(back[i]), GetEntityClass(entities[i]));
        EXPECT_EQ(GetEntityIdentifier(back[i]), GetEntityIdentifier(entities[i]));
        EXPECT_EQ(GetOwningBody(back[i]), body);
    }

    // An entity whose body is not in the map is not written; unknown ids do not read.
    XMLIO unmapped("Test", false);
    std::vector<int> one{entities[0]};
    EXPECT_FALSE(DoIOKernelEntities(unmapped, "Entity", one));
    XMLIO unknown("Test", false);
    ASSERT_TRUE(unknown.LoadText("<Test><Entity id=\"5\" class=\"BQ_CLASS_face\" bodyId=\"8\"/></Test>"));
    EXPECT_FALSE(DoIOKernelEntities(unknown, "Entity", back));
}

// The body map names each body by the first (id, index) it was added under, refuses a pair
// already naming another body, and numbers new parts above the largest id; a context of its
// own starts empty and leaves the outer one as it was.
TEST_F(XMLIOKernel, BodyMapKeepsTheFirstNameOfEachBody)
{
    XMLIO xmlio("Test", false);
    EXPECT_EQ(xmlio.FindNextBodyId(), 1);
    ASSERT_TRUE(xmlio.AddToBodyMap(101, 4, 0, false));
    ASSERT_TRUE(xmlio.AddToBodyMap(101, 9, 2, false));
    ASSERT_TRUE(xmlio.AddToBodyMap(102, 4, 1, true));
    EXPECT_TRUE(xmlio.AddToBodyMap(101, 4, 0, false));
    EXPECT_FALSE(xmlio.AddToBodyMap(103, 9, 2, false));
    int id = 0, index = 0;
    ASSERT_TRUE(xmlio.FindBodyIDAndIndex(101, id, index));
    EXPECT_EQ(id, 4);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(xmlio.FindBodyIDAndIndex(103, id, index));
    EXPECT_EQ(id, 0);
    bool isVirtual = false;
    EXPECT_EQ(xmlio.FindBodyByIdAndIndex(4, 1, &isVirtual), 102);
    EXPECT_TRUE(isVirtual);
    EXPECT_EQ(xmlio.FindBodyByIdAndIndex(9, 2), 101);
    EXPECT_EQ(xmlio.FindBodyByIdAndIndex(4, 2), 0);
    EXPECT_EQ(xmlio.FindNextBodyId(), 10);

    xmlio.BeginBodyIdContext();
    EXPECT_EQ(xmlio.FindBodyByIdAndIndex(4, 0), 0);
    EXPECT_EQ(xmlio.FindNextBodyId(), 1);
    ASSERT_TRUE(xmlio.AddToBodyMap(103, 9, 2, false));
    xmlio.EndBodyIdContext();
    EXPECT_EQ(xmlio.FindBodyByIdAndIndex(9, 2), 101);
}

TEST_F(XMLIOKernel, InstanceWrittenAndReadBackComparesEqual)
{
    m_interaction = new Interaction(CreateTypeLive);
    int block = brennik::build::Block();
    const double matrix[4][4] = {{0, -1, 0, 4}, {1, 0, 0, 5.5}, {0, 0, 1, -6}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(m_interaction, block, matrix);

    XMLIO writer("QELXML", false);
    // Without its body in the map the instance cannot be written.
    EXPECT_FALSE(instance->DoIO(writer));
    writer.Clear();
    int partId = 1;
    ASSERT_TRUE(writer.DoIOBody(block, partId, false));
    ASSERT_TRUE(instance->DoIO(writer));
    EXPECT_NE(writer.ToText().find("partRef=\"id1\""), std::string::npos);

    auto reader = Reload(writer);
    EXPECT_EQ(Instance::CreateFromXML(m_interaction, writer), nullptr);  // not reading
    int body = 0, bodyId = 0;
    ASSERT_TRUE(reader->DoIOBody(body, bodyId, false));
    Instance* back = Instance::CreateFromXML(m_interaction, *reader);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetEntityId(), instance->GetEntityId());
    EXPECT_EQ(back->GetBodyTag(), body);
    EXPECT_TRUE(m_interaction->IsSeenBody(body));
    EXPECT_TRUE(back->Compare(instance));
    EXPECT_TRUE(brennik::test::BodiesEqual(block, body));
    EXPECT_EQ(m_interaction->GetInstanceCount(), 2);
}

TEST_F(XMLIOKernel, InstanceWithoutItsBodyIsNotLoaded)
{
    m_interaction = new Interaction(CreateTypeLive);
    const char* cases[] = {
        "<QELXML><Instance id=\"id4\" partRef=\"id9\"/></QELXML>",   // part not in the map
        "<QELXML><Instance id=\"null\" partRef=\"id9\"/></QELXML>",  // no id of its own
        "<QELXML/>",                                                 // no element
    };
    const int expectedKey[] = {4, 0, -1};
    for (int i = 0; i < 3; ++i) {
        XMLIO reader("QELXML", false);
        ASSERT_TRUE(reader.LoadText(cases[i]));
        EXPECT_EQ(Instance::CreateFromXML(m_interaction, reader), nullptr) << cases[i];
        if (expectedKey[i] >= 0) {
            EXPECT_NE(reader.GetError(expectedKey[i]), XMLErrorCodeNone) << cases[i];
        }
    }
    XMLIO reader("QELXML", false);
    ASSERT_TRUE(reader.LoadText(cases[0]));
    Instance::CreateFromXML(m_interaction, reader);
    EXPECT_EQ(reader.GetError(4), XMLErrorCodeBodyNotInMap);
    EXPECT_EQ(m_interaction->GetInstanceCount(), 0);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
