// Fixtures of the exported-call tests: a fresh kernel session, a journal file of the test's
// own read back with the toolkit's parser, and the faults a call must survive.
#pragma once

#include "core/frame/ApiCall.h"
#include "core/frame/ApiCallTable.h"
#include "core/objects/Interaction.h"
#include "core/journal/JournalWriter.h"
#include "core/objects/TagManager.h"
#include "../journal/JournalReading.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace QEL {
namespace testing {

// No application item has this tag.
constexpr int kUnknownTag = 0x3fff0001;

// Faults brought into a call from inside it.
inline void RaiseFatalKernelError()
{
    brennik::test::RaiseFatalInNextCall(901);
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(0, &count, &faces);
}
inline void AbortKernelFromInside()
{
    brennik::test::AbortInNextCall();
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(0, &count, &faces);
}
inline void RaiseSegmentationFault() { std::raise(SIGSEGV); }
inline void RaiseAbortSignal() { std::abort(); }
inline void ThrowFromCall() { throw std::runtime_error("thrown inside a call"); }

struct InjectedFault {
    const char* name;
    void (*raise)();
};
inline const std::vector<InjectedFault>& InjectedFaults()
{
    static const std::vector<InjectedFault> s_faults = {
        {"fatal kernel error", &RaiseFatalKernelError},
        {"kernel abort", &AbortKernelFromInside},
        {"segmentation fault", &RaiseSegmentationFault},
        {"abort signal", &RaiseAbortSignal},
        {"exception", &ThrowFromCall},
    };
    return s_faults;
}

class ApiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        m_path = ::testing::TempDir() + "api_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                 std::to_string(getpid()) + ".xml";
    }
    void TearDown() override
    {
        if (IsJournalOpen())
            CloseJournal();
        SetJournalMinimised(false);
        DestroyAllInteractions();
        Interaction::SetAllowMultipleInteractions(false);
        brennik::test::Reset();
        std::remove(m_path.c_str());
    }

    // A registered interaction made directly, destroyed by the fixture.
    int NewInteraction()
    {
        Interaction* interaction = new Interaction(CreateTypeLive);
        m_made.push_back(interaction);
        return interaction->GetTag();
    }
    // Interactions a fault dropped from the registry still exist; the fixture ends them all.
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
    // Keeps an interaction made by an exported call for the end of the test.
    void Adopt(int tag)
    {
        if (Interaction* interaction = TagManager::FindInteractionFromTag(tag))
            m_made.push_back(interaction);
    }

    void OpenJournalFile() { ASSERT_EQ(OpenJournal(m_path.c_str()), 0); }
    // Closes the journal when still open and answers its root, failing on a malformed file.
    XMLTreeNode ReadJournal()
    {
        if (IsJournalOpen())
            CloseJournal();
        return ParseJournalFile(m_path);
    }
    std::vector<XMLTreeNode> Records(const XMLTreeNode& root) { return Children(root, "Function"); }

    std::string m_path;
    std::vector<Interaction*> m_made;
};

}  // namespace testing
}  // namespace QEL
