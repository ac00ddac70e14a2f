// Fixture of the process-wide call tests: a fresh kernel session, a folder of the test's own
// for journal files, and every process-wide switch put back to its load value afterwards.
#pragma once

#include "core/AlgorithmSwitches.h"
#include "core/DebugJournalSwitches.h"
#include "core/Interaction.h"
#include "core/JournalWriter.h"
#include "core/QelInteractionApi.h"
#include "core/QelSystemApi.h"
#include "core/TagManager.h"
#include "core/XMLTreeNode.h"

#include <brennik_test.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace QEL {
namespace testing {

inline std::string Attribute(const XMLTreeNode& node, const char* name)
{
    const char* value = node.GetAttribute(name);
    return value ? value : "<absent>";
}

inline std::vector<XMLTreeNode> Children(const XMLTreeNode& node, const char* name)
{
    std::vector<XMLTreeNode> children;
    int position = 0;
    for (XMLTreeNode child = node.GetChild(name, &position); !child.IsEmpty();
         child = node.GetChild(name, &position))
        children.push_back(child);
    return children;
}

// The value element of a record with the given "name", or the empty node.
inline XMLTreeNode Argument(const XMLTreeNode& record, const std::string& name)
{
    for (const XMLTreeNode& child : Children(record, "Argument"))
        if (Attribute(child, "name") == name)
            return child;
    return XMLTreeNode();
}

// The first text of an element, "<absent>" when it has none.
inline std::string TextOf(const XMLTreeNode& node)
{
    const char* text = node.IsEmpty() ? nullptr : node.GetText(0);
    return text ? text : "<absent>";
}

class SystemApiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        // One folder per test and process: suites run side by side.
        m_dir = ::testing::TempDir() + "systemapi_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(getpid()) + "/";
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        if (IsJournalOpen())
            CloseJournal();
        SetJournalMinimised(false);
        GetSolverJournalSwitch().Stop();
        GetAddOnReportSwitch().Stop();
        SetNewPFAlgorithm(false);
        SetHXRPFBasedAlgorithm(true);
        Interaction::SetCheckArgumentsDefault(true);
        DestroyAllInteractions();
        Interaction::SetAllowMultipleInteractions(false);
        brennik::test::Reset();
        std::filesystem::remove_all(m_dir);
    }

    // An interaction made by the exported call; the fixture ends it even after the registry
    // forgot it.
    int NewInteraction()
    {
        ResultType result = ResultTypeFail;
        const int tag = CreateInteraction(&result);
        EXPECT_EQ(result, ResultTypeOk);
        Keep(tag);
        return tag;
    }
    void Keep(int tag)
    {
        if (Interaction* interaction = TagManager::FindInteractionFromTag(tag))
            m_made.push_back(interaction);
    }
    void DestroyAllInteractions()
    {
        std::vector<Interaction*> registered;
        TagManager::GetInteractions(registered);
        for (Interaction* interaction : registered)
            if (std::find(m_made.begin(), m_made.end(), interaction) == m_made.end())
                m_made.push_back(interaction);
        for (Interaction* interaction : m_made)
            interaction->Destroy();
        m_made.clear();
    }

    // The journal's root, failing on a file that does not parse.
    XMLTreeNode ReadJournal(const std::string& path)
    {
        XMLParseResult parse{};
        XMLTreeNode root = XMLTreeNode::ParseFile(path.c_str(), "QELJournal", &parse);
        EXPECT_FALSE(root.IsEmpty()) << "journal " << path << " does not parse";
        return root;
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
    std::vector<Interaction*> m_made;
};

}  // namespace testing
}  // namespace QEL
