// Fixture of the save-file tests: a fresh kernel session, a live interaction with two placed
// bodies, and a scratch folder that the files go to.
#pragma once

#include "core/Instance.h"
#include "core/Interaction.h"
#include "core/KernelFacade.h"
#include "core/TagManager.h"
#include "core/XMLIO.h"
#include "model/Reference.h"
#include "update/XMLData.h"

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

}  // namespace testing
}  // namespace QEL
