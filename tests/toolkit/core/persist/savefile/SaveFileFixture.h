// Fixture of the save-file tests: a fresh kernel session, a live interaction with two placed
// bodies, and a scratch folder that the files go to.
#pragma once

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"
#include "model/operations/BlockOptions.h"
#include "model/features/MakeFeatureOptions.h"
#include "model/references/Reference.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"
#include "core/persist/XMLData.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>
#include <hxr.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace QEL {
namespace testing {

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Bodies and free geometry of the session's current partition, to see that a failed load
// leaves nothing behind.
inline int CountKernelEntities()
{
    const int partition = GetCurrentPartition();
    int bodies = 0, geometries = 0;
    int* list = nullptr;
    BQ_PARTITION_ask_bodies(partition, &bodies, &list);
    BQ_MEMORY_free(list);
    list = nullptr;
    BQ_PARTITION_ask_geoms(partition, &geometries, &list);
    BQ_MEMORY_free(list);
    return bodies + geometries;
}

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        Interaction::SetAllowMultipleInteractions(true);
        m_folder = std::filesystem::temp_directory_path() /
                   ("qel_savefile_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block();
        m_blended = brennik::build::BlockWithBlend();
    }
    void TearDown() override
    {
        for (Interaction* interaction : {m_interaction, m_loaded})
            if (interaction)
                interaction->Destroy();
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        Interaction::SetAllowMultipleInteractions(false);
        brennik::test::Reset();
        std::filesystem::remove_all(m_folder);
    }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }

    std::vector<int> Faces(int body) const
    {
        std::set<int> faces;
        GetBodyFaces(body, faces);
        return std::vector<int>(faces.begin(), faces.end());
    }

    // Saves m_interaction, loads the file into m_loaded and answers the comparison's code.
    ResultType SaveLoadCompare(const char* name = "a.xml")
    {
        const std::string path = PathOf(name);
        EXPECT_TRUE(m_interaction->SaveToFile(path.c_str()));
        XMLData data;
        m_loaded = data.CreateInteractionFromFile(path.c_str());
        EXPECT_NE(m_loaded, nullptr) << ReadFile(path);
        EXPECT_FALSE(data.ErrorsExist());
        ResultType result = ResultTypeUnknown;
        if (m_loaded)
            m_interaction->Compare(m_loaded, false, &result);
        return result;
    }

    // The saved text with every inline body part replaced by one part naming a transmit file
    // of those bodies, in the order they were written.
    static std::string WithNamedPart(const std::string& saved, const char* name)
    {
        std::string text = saved;
        std::vector<std::string> ids;
        size_t at = 0;
        while ((at = text.find("<Part id=\"", at)) != std::string::npos) {
            const size_t close = text.find('>', at);
            const size_t end = text.find("</Part>", at) + 7;
            const std::string head = text.substr(at, close - at);
            if (head.find("isVirtualGeomPart") != std::string::npos) {
                at = end;
                continue;
            }
            const size_t idStart = at + 10;
            ids.push_back(text.substr(idStart, text.find('"', idStart) - idStart));
            const std::string replacement =
                ids.size() == 1 ? "<Part id=\"" + ids[0] + "\" name=\"" + name + "\"/>" : "";
            text.replace(at, end - at, replacement);
            at += replacement.size();
        }
        for (size_t i = 0; i < ids.size(); ++i) {
            const std::string reference = "partRef=\"" + ids[i] + "\"";
            ReplaceAll(text, reference + " bodyIndex=\"0\"", reference);
            ReplaceAll(text, reference,
                       "partRef=\"" + ids[0] + "\" bodyIndex=\"" + std::to_string(i) + "\"");
        }
        return text;
    }

    // Saves m_interaction with its bodies in a kernel transmit file named by the save file,
    // beside it in a folder of its own, loads that into m_loaded and answers the comparison's
    // code.
    ResultType SaveLoadNamedCompare()
    {
        const std::string path = PathOf("a.xml");
        EXPECT_TRUE(m_interaction->SaveToFile(path.c_str()));
        const std::string text = WithNamedPart(ReadFile(path), "bodies.b_t");
        EXPECT_NE(text.find("name=\"bodies.b_t\""), std::string::npos);
        EXPECT_EQ(text.find("<Body", text.find("name=\"bodies.b_t\"")), std::string::npos);
        std::filesystem::create_directories(m_folder / "named");
        WriteFile(PathOf("named/a.xml"), text);
        std::vector<int> seen;
        m_interaction->GetSeenBodies(seen, false);
        Array<int> bodies;
        for (int body : seen)
            bodies.Add(body);
        EXPECT_TRUE(SaveBodiesWithoutQELAttributes(bodies, PathOf("named/bodies.b_t").c_str()));
        XMLData data;
        m_loaded = data.CreateInteractionFromFile(PathOf("named/a.xml").c_str());
        EXPECT_NE(m_loaded, nullptr) << text;
        ResultType result = ResultTypeUnknown;
        if (m_loaded)
            m_interaction->Compare(m_loaded, false, &result);
        return result;
    }

    // Loads the text as a save file; null expected when it cannot be read.
    Interaction* LoadText(const std::string& text, XMLData& data, const char* name = "t.xml")
    {
        WriteFile(PathOf(name), text);
        return data.CreateInteractionFromFile(PathOf(name).c_str());
    }

    std::filesystem::path m_folder;
    Interaction* m_interaction = nullptr;
    Interaction* m_loaded = nullptr;
    int m_block = 0;
    int m_blended = 0;
};

// The interaction holds two placed bodies with references through the instances, a
// reference on a body, a free plane, options, option objects and a selection.
class SaveFileContentTest : public SaveFileTest {
protected:
    void SetUp() override
    {
        SaveFileTest::SetUp();
        Instance* block = Instance::Create(m_interaction, m_block, nullptr);
        Xform moved;
        moved.SetToTranslation(Vec(5.0, 0.0, 1.0));
        Instance* blended = Instance::Create(m_interaction, m_blended, nullptr);
        blended->SetXform(moved);
        m_faceReference = Reference::Create(m_interaction, Faces(m_block)[0], block);
        Reference::Create(m_interaction, Faces(m_blended)[2], blended);
        m_bodyReference = Reference::Create(m_interaction, Faces(m_blended)[1], nullptr);
        m_planeReference =
            Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 40, 0, 0, 1), nullptr);
        // Rigid parts only: a placed face and the free plane; the bare body's face could not
        // join them.
        ASSERT_TRUE(m_interaction->AddSelectedReference(m_faceReference));
        ASSERT_TRUE(m_interaction->AddSelectedReference(m_planeReference));
        ASSERT_FALSE(m_interaction->AddSelectedReference(m_bodyReference));
        (new ShellOptions(m_interaction))->SetType(ShellTypeOutwards);
        (new TaperOptions(m_interaction))->SetMaintainShell(true);
        (new PasteOptions(m_interaction))->SetReblend(true);
        new MakeFeatureOptions(m_interaction);
        ASSERT_EQ(m_interaction->SetModellingTolerance(1e-5), ResultTypeOk);
        ASSERT_EQ(m_interaction->SetStepFaceType(StepFaceOnSmoothEdges), ResultTypeOk);
        m_interaction->SetPreviewMode(PreviewModeAlways);
        m_interaction->SetCheckArguments(false);
        m_interaction->SetTrackingReportUpdateData(true);
    }

    Reference* m_faceReference = nullptr;
    Reference* m_bodyReference = nullptr;
    Reference* m_planeReference = nullptr;
};

}  // namespace testing
}  // namespace QEL
