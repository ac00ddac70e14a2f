// Feeds arbitrary files to the interaction loader, as a save file or, with the journal's root,
// as a journal. Any input must end in an interaction or in null with nothing left behind,
// never in a crash, a hang or a sanitizer report.
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/persist/XMLData.h"

#include <brennik_test.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace QEL;

namespace {

// Each input is written into a folder of its own process, where named parts would be looked
// for; nothing else is there.
const std::string& InputPath()
{
    static const std::string s_path = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("qel_fuzz_savefile_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        return (folder / "input.xml").string();
    }();
    return s_path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh session per input, so that nothing one input makes can change the next.
    brennik::test::RestartSession();
    Interaction::SetAllowMultipleInteractions(true);
    if (FILE* file = std::fopen(InputPath().c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    XMLData loader;
    if (Interaction* interaction = loader.CreateInteractionFromFile(InputPath().c_str())) {
        std::vector<int> bodies;
        interaction->GetSeenBodies(bodies, false);
        interaction->Destroy();
        DeleteEntities(bodies);
    }
    return 0;
}
