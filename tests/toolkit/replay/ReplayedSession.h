// A session an application runs through the exported calls while the toolkit journals it, and
// the replay of that journal in a process of its own through the replay driver, as a developer
// replays a user's journal.
#pragma once

#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"
#include "api/debug/QelDebugApi.h"
#include "api/model/QelReferenceApi.h"
#include "core/frame/Array.h"
#include "core/kernel/KernelFacade.h"

#include "../core/kernel/FaceAtPlane.h"

#include "ReplayDriver.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace QEL {
namespace testing {

// What a session works with: its interaction and the last result of a call.
struct SessionContext {
    int tag = 0;
    ResultType result = ResultTypeOk;

    int Ref(int entity, int instance = 0) { return CreateReference(tag, entity, instance, &result); }
    static Array<int> Tags(std::initializer_list<int> tags)
    {
        Array<int> array;
        for (int each : tags)
            array.Add(each);
        return array;
    }
};

// A session of one family of calls, run on the context's interaction while journalled.
struct ReplaySession {
    const char* name;
    void (*run)(SessionContext&);
};
inline void PrintTo(const ReplaySession& session, std::ostream* out) { *out << session.name; }

// The sessions of each family of calls.
std::vector<ReplaySession> EditSessions();
std::vector<ReplaySession> ModellingSessions();
std::vector<ReplaySession> ModelSessions();
std::vector<ReplaySession> PatternSessions();
std::vector<ReplaySession> FeatureSessions();
std::vector<ReplaySession> FinderSessions();
std::vector<ReplaySession> AppendingSessions();

// The faces of the body whose surface is of the kernel class.
inline std::vector<int> FacesOfClass(int body, KernelClass surfaceClass)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    std::vector<int> found;
    for (int face : faces)
        if (GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) ==
            surfaceClass)
            found.push_back(face);
    return found;
}

// Journals the session into <folder>/<name>-journal.xml: the journal opens before the
// interaction is made and closes after a checkpoint of it, as an application's run would.
inline std::string JournalSession(const ReplaySession& session, const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const std::string file = std::string(session.name) + "-journal.xml";
    ResultType result = ResultTypeOk;
    StartJournalling((folder + "/").c_str(), file.c_str(), false, false, &result);
    SessionContext context;
    context.tag = CreateInteraction(&result);
    session.run(context);
    DebugJournalCheckpoint(context.tag, "end", false, &result);
    StopJournalling(&result);
    DestroyInteraction(context.tag, &result);
    return folder + "/" + file;
}

// The names of the calls a journal records.
inline std::set<std::string> RecordedCallNames(const std::string& journal)
{
    std::ifstream in(journal, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::set<std::string> names;
    const std::regex record("<Function\\b[^>]*\\bname=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), record); it != std::sregex_iterator(); ++it)
        names.insert((*it)[1].str());
    return names;
}

}  // namespace testing
}  // namespace QEL
