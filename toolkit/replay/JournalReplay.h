// The journal replay engine: loads a journal written by the call frame, rebuilds the
// interactions and bodies it starts from, and calls every recorded function again against the
// live toolkit, one record per step, mapping recorded tags onto live objects and comparing
// outputs, result and return value with the record.
#pragma once

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/persist/XMLIO.h"
#include "replay/ReplayValue.h"

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace QEL {

class Interaction;

class JournalReplay : public XMLIO {
public:
    JournalReplay();
    // Destroys nothing the replay made: interactions, partitions and bodies stay as if the
    // application had made them.
    ~JournalReplay();

    // Loads the journal and rebuilds its interactions and bodies; ResultTypeCouldNotOpenFile
    // for a missing or unreadable file or another root. The count of "Function" records goes to
    // functionCount only when everything succeeded.
    ResultType Start(const char* path, int* functionCount);
    // Replays the next record. replayedResult: what the replayed call gave (0 when the record
    // carries none); stepResult: Ok, ResultTypeNotSupported or ResultTypeFail for the step's own
    // work. Either may be null.
    ReplayStatus Step(ResultType* replayedResult, ResultType* stepResult);
    // Steps at least once, on while the steps succeed and the index is below the target;
    // stepResult is ResultTypeBadArgument when the target index was not the one reached.
    ReplayStatus ReplayToIndex(int index, ResultType* replayedResult, ResultType* stepResult);
    // Steps up to the checkpoint of that name (any checkpoint for null or empty); the result is
    // ResultTypeBadArgument when it was not reached.
    ReplayStatus ReplayToCheckpoint(const char* name, ResultType* result);
    // Steps while the steps succeed, then ends.
    ResultType Play();
    // Drops the document and the tag map; the ignored names and the last error stay.
    void End();

    int GetActiveInteractionTag() const;
    int GetIndex() const { return m_index; }
    const std::string& GetFunctionName() const { return m_functionName; }
    // The text of the last step; valid until the next call.
    const char* GetLastError();

    // One "Argument" of the current record (index -1: the next one). isResultType tells
    // whether it was read as a ResultType.
    bool ReadArgument(ReplayValue& value, bool& isResultType, int index);
    // The "Element" children of the current element as live tags; the tags read before a
    // failure stay.
    bool ReadTagArray(Array<int>& tags);
    // The live tag standing for the recorded tag described by the current element.
    bool ResolveRecordedTag(const std::string& type, int& tag);

private:
    void LoadIgnoredFunctions();
    void ReadBodiesOfRecords();
    bool ReadTransformText(Double4x4& matrix);
    // Records, for the tags of an output that the journal names by tag alone, the live tags the
    // replayed call gave in their places, so later records find them.
    void MapOutputTags(int argumentIndex, ReplayValue& replayed);
    // The index of the output that carries the value of an argument journalled as the
    // unhandled address of that output (an output with its name, after it); -1 for none.
    int FindValueOfAddress(int address, int count);
    void CompareReturnValue(ReplayValue& returnValue, ReplayStatus& status, bool& ok);
    void CompareCheckpoint(Interaction* live, bool bodyCompareOnly, ReplayStatus& status, bool& ok);
    void WriteRecordName();
    // Makes the recorded call again: through its adapter, or for a load of an interaction
    // through the installed load call. False when there is no way to make it.
    bool CallRecordedFunction(std::vector<ReplayValue>& arguments, ReplayValue& returnValue);

    std::set<std::string> m_ignoredFunctions;
    std::map<int, int> m_tagMap;
    // Kernel entities an output named by an identifier the replay gave another one: (body id,
    // body index, class, recorded identifier) to the live entity made in its place.
    std::map<std::tuple<int, int, int, int>, int> m_entityMap;
    // Bodies first journalled as a call's output: (body id, body index) to the body the replayed
    // call made, which stands for the journal's copy.
    std::map<std::pair<int, int>, int> m_bodyMap;
    // Every recorded tag the replay found a live object or entity for, with that live tag: a
    // later record that names it after it is gone (the journal then knows it by its tag alone)
    // means the same, now dead, tag.
    std::map<int, int> m_seenTags;
    // While an output is read again after its call: the values the replayed call gave, so
    // that a tag recorded as naming nothing alive may take the replayed tag in its place when
    // that names nothing alive either.
    ReplayValue* m_replayedOutput = nullptr;
    int m_outputPosition = 0;
    // The recorded tag of a gone object or entity, as the replay stands for it.
    bool ResolveGoneTag(int recorded, int& tag);
    // The recorded body as it stands in the replay.
    int FindRecordedBody(int bodyId, int bodyIndex);
    std::string m_functionName;
    // The name of the argument ReadArgument read last, for the text of a failure to read it.
    std::string m_argumentName;
    // How many leading tags of the output array ReadArgument read last the caller's array held
    // before the call ("priorLength"; 0 when absent, as in journals that predate it).
    int m_priorLength = 0;
    std::string m_checkpointName;
    std::string m_lastError;
    std::ostringstream m_errorText;
    int m_index = 0;
    Interaction* m_activeInteraction = nullptr;
    bool m_isCheckpoint = false;
    bool m_atStart = true;
    bool m_loaded = false;
};

// "int", every type ending in "Tag" and every type beginning with "BQ_CLASS".
bool IsIntegerReplayType(const std::string& type);

// The replay sits below the exported calls, so the exported validity check that a
// "DebugCheckValidity" record reruns is installed by the API layer as the library loads.
typedef bool (*ReplayValidityCheck)(int interaction, int object);
void SetReplayValidityCheck(ReplayValidityCheck check);

// Likewise the exported call that loads an interaction from a save file: a recorded load is
// made again through it (the file is the one the record names), so that the interaction it
// loads is mapped and later records reach it.
typedef int (*ReplayInteractionLoad)(const char* path, ResultType* result);
void SetReplayInteractionLoad(ReplayInteractionLoad load);

// And the exported checkpoint call: a checkpoint replayed while a journal is open is taken
// again into that journal, so that a journal of a replay holds the same checkpoints as the one
// replayed, and replays in turn.
typedef void (*ReplayCheckpoint)(int interaction, const char* name, bool bodyCompareOnly);
void SetReplayCheckpoint(ReplayCheckpoint checkpoint);

}  // namespace QEL
