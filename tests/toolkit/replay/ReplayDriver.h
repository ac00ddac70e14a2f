// The replay of a journal in a process of its own through the replay driver, as a developer
// replays a user's journal.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace QEL {
namespace testing {

// The driver's exit code and the lines of the steps that neither succeeded nor were ignored.
struct DriverReplay {
    int exitCode = -1;
    std::vector<std::string> differing;
};

// Replays the journal while journalling the replay into second; with procedures the driver
// first registers the feature procedures the feature-edit example registers.
inline DriverReplay ReplayThroughDriver(const std::string& journal, const std::string& second,
                                        bool withProcedures = false)
{
    DriverReplay replay;
    const std::string command = std::string(QEL_REPLAY_JOURNAL) +
                                (withProcedures ? " --feature-edit-procedures" : "") + " '" +
                                journal + "' '" + second + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return replay;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text = line;
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        replay.differing.push_back(text);
    }
    const int status = pclose(pipe);
    replay.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return replay;
}

}  // namespace testing
}  // namespace QEL
