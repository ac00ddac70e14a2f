// Fixture of the process-wide call tests: a fresh kernel session, a folder of the test's own
// for journal files, and every process-wide switch put back to its load value afterwards.
#pragma once

#include "../frame/ApiTestFixture.h"

#include "core/support/AlgorithmSwitches.h"
#include "core/journal/DebugJournalSwitches.h"
#include "core/objects/Interaction.h"
#include "core/journal/JournalWriter.h"
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"
#include "core/objects/TagManager.h"

#include <brennik_test.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace QEL {
namespace testing {

class SystemApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        // One folder per test and process: suites run side by side.
        m_dir = ::testing::TempDir() + "systemapi_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(getpid()) + "/";
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        GetSolverJournalSwitch().Stop();
        GetAddOnReportSwitch().Stop();
        SetNewPFAlgorithm(false);
        SetHXRPFBasedAlgorithm(true);
        Interaction::SetCheckArgumentsDefault(true);
        ApiTest::TearDown();
        std::filesystem::remove_all(m_dir);
    }

    // An interaction made by the exported call; the fixture ends it even after the registry
    // forgot it.
    int NewInteraction()
    {
        ResultType result = ResultTypeFail;
        const int tag = CreateInteraction(&result);
        EXPECT_EQ(result, ResultTypeOk);
        Adopt(tag);
        return tag;
    }

    // The "name" of each "Function" record, checking that the indices count from 1.
    std::vector<std::string> RecordNames(const XMLTreeNode& root)
    {
        std::vector<std::string> names;
        for (const XMLTreeNode& record : Children(root, "Function")) {
            names.push_back(Attribute(record, "name"));
            EXPECT_EQ(Attribute(record, "index"), std::to_string(names.size())) << names.back();
        }
        return names;
    }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    std::string m_dir;
};

}  // namespace testing
}  // namespace QEL
