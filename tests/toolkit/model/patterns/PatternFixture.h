// Fixture of the face-pattern, section and virtual-vertex tests: the model fixture's session,
// interaction and block, references on the block's faces, and saving the interaction to a
// scratch file and loading it back.
#pragma once

#include "../transaction/ModelFixture.h"

#include "core/persist/XMLIO.h"
#include "core/persist/XMLData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace QEL {
namespace testing {

class PatternTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Interaction::SetAllowMultipleInteractions(true);
        m_path = (std::filesystem::temp_directory_path() /
                  ("qel_patterns_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml"))
                     .string();
    }
    void TearDown() override
    {
        if (m_loaded)
            m_loaded->Destroy();
        std::filesystem::remove(m_path);
        Interaction::SetAllowMultipleInteractions(false);
        ModelTest::TearDown();
    }

    // One reference per face of the body, in tag order.
    std::vector<Reference*> FaceReferences(int body)
    {
        std::set<int> faces;
        GetBodyFaces(body, faces);
        std::vector<Reference*> references;
        for (int face : faces)
            references.push_back(Reference::Create(m_interaction, face, nullptr));
        return references;
    }
    Reference* LineReference(double x, double y, double z, double dx, double dy, double dz)
    {
        return Reference::Create(m_interaction, brennik::build::FreeLine(x, y, z, dx, dy, dz), nullptr);
    }

    std::string SavedText()
    {
        EXPECT_TRUE(m_interaction->SaveToFile(m_path.c_str()));
        std::ifstream in(m_path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Loads the text as a save file into m_loaded; null when it does not load.
    Interaction* Load(const std::string& text)
    {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text;
        XMLData data;
        m_loaded = data.CreateInteractionFromFile(m_path.c_str());
        return m_loaded;
    }
    // Saves, loads back and compares.
    bool RoundTripsEqual()
    {
        if (!Load(SavedText()))
            return false;
        ResultType result = ResultTypeUnknown;
        return m_interaction->Compare(m_loaded, false, &result) && result == ResultTypeOk;
    }

    Interaction* m_loaded = nullptr;
    std::string m_path;
};

inline void ReplaceFirst(std::string& text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

}  // namespace testing
}  // namespace QEL
