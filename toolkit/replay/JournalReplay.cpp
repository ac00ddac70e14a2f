#include "replay/JournalReplay.h"

#include "core/enums/EnumNames.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/objects/TaggedEntity.h"
#include "core/persist/XMLData.h"
#include "replay/RecordedRejections.h"
#include "replay/ReplayRegistry.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace QEL {

namespace {
ReplayValidityCheck s_validityCheck = nullptr;
ReplayInteractionLoad s_interactionLoad = nullptr;
ReplayCheckpoint s_checkpoint = nullptr;
}  // namespace

void SetReplayCheckpoint(ReplayCheckpoint checkpoint) { s_checkpoint = checkpoint; }

void SetReplayValidityCheck(ReplayValidityCheck check) { s_validityCheck = check; }

void SetReplayInteractionLoad(ReplayInteractionLoad load) { s_interactionLoad = load; }

namespace {

// The reader keeps its own copy of the journal's names (the writer's vocabulary may change
// only together with this reader).
const char* const s_root = "QELJournal";
const char* const s_function = "Function";
const char* const s_argument = "Argument";
const char* const s_element = "Element";
const char* const s_interaction = "Interaction";
const char* const s_returnValue = "ReturnValue";
const char* const s_body = "Body";

// Recorded but never replayed: journalling control, application data, files and callbacks.
const char* const s_defaultIgnoredFunctions[] = {
    "GetMarkCount",
    "StartJournalling",
    "StopJournalling",
    "IsJournalling",
    "GetTessikJournalling",
    "GetBrennikJournalling",
    "SetTessikJournalling",
    "SetBrennikJournalling",
    "AskVersion",
    "ObjectSetApplicationData",
    "ObjectGetApplicationData",
    "DebugSaveInteraction",
    "GetReportChannel",
    "OptionSetFindAcceptRelationCallback",
};
// Calls whose return value is a clock reading: the replay takes its own time, so the value is
// not compared (the call and its result still are).
const std::set<std::string> s_measuredReturnValues = {"GetBuildTime", "GetSolveTime",
                                                      "GetApplyTime", "GetFaceChangeTime"};

// A load of an interaction from a save file is made again (not skipped): the interaction it
// gives is the one later records name, and skipping it would leave them naming none.
const char* const s_interactionLoadName = "DebugLoadInteraction";

bool EndsWith(const std::string& text, const char* suffix)
{
    const size_t length = std::char_traits<char>::length(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

bool BeginsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// An enumeration value as the writer gives it: by name, or as its number when the number names
// no value of the enumeration.
bool ReadEnumValue(const std::string& type, const std::string& text, int& number)
{
    const size_t digits =
        text.find_first_not_of("0123456789", text.size() > 1 && text[0] == '-' ? 1 : 0);
    if (!text.empty() && text != "-" && digits == std::string::npos) {
        try {
            number = std::stoi(text);
            return true;
        } catch (const std::out_of_range&) {
            return false;
        }
    }
    return EnumFromString(type, text, number);
}

const char* ResultName(int result)
{
    const char* name = ResultTypeToString(static_cast<ResultType>(result));
    return name ? name : "";
}

// Opens a child element of the reader for the scope and closes it again when it was opened.
class XMLElementScope {
public:
    XMLElementScope(XMLIO* xmlio, const char* name, int index = -1)
        : m_xmlio(xmlio->BeginElement(name, index) ? xmlio : nullptr)
    {
    }
    ~XMLElementScope()
    {
        if (m_xmlio)
            m_xmlio->EndElement(true);
    }
    XMLElementScope(const XMLElementScope&) = delete;
    XMLElementScope& operator=(const XMLElementScope&) = delete;
    bool IsOpen() const { return m_xmlio != nullptr; }

private:
    XMLIO* m_xmlio;
};

// Reads every "Body" child of the reader's current element into the body map.
void ReadBodies(XMLIO& reader)
{
    const int count = reader.GetChildElementCount(s_body);
    for (int i = 0; i < count; ++i) {
        int body = 0;
        int id = 0;
        reader.DoIOBody(body, id, false);
    }
}

}  // namespace

bool IsIntegerReplayType(const std::string& type)
{
    return type == "int" || EndsWith(type, "Tag") || BeginsWith(type, "BQ_CLASS");
}

// The reader is made in journal mode: only then does the save-file reader take an
// "Interaction" snapshot as already entered by its caller and recreate its marks, so the
// interactions of a journal can be rebuilt at all.
JournalReplay::JournalReplay() : XMLIO(ForReading(), s_root, true)
{
    m_errorText.precision(16);
    m_errorText << std::boolalpha;
}

JournalReplay::~JournalReplay() = default;

int JournalReplay::GetActiveInteractionTag() const
{
    return m_activeInteraction ? m_activeInteraction->GetTag() : 0;
}

const char* JournalReplay::GetLastError()
{
    m_lastError = m_errorText.str();
    return m_lastError.c_str();
}

void JournalReplay::LoadIgnoredFunctions()
{
    m_ignoredFunctions.clear();
    for (const char* name : s_defaultIgnoredFunctions)
        m_ignoredFunctions.insert(name);
    const int count = GetChildElementCount("IgnoreFunction");
    for (int i = 0; i < count; ++i) {
        XMLElementScope scope(this, "IgnoreFunction", i);
        std::string name;
        if (scope.IsOpen() && DoIO("name", name) && !name.empty())
            m_ignoredFunctions.insert(name);
    }
}

// Each element is entered as the next of its name, not by its index: finding the n-th anew
// walks all before it, which over every record of a long journal grows with its square.
void JournalReplay::ReadBodiesOfRecords()
{
    const int functions = GetChildElementCount(s_function);
    for (int f = 0; f < functions; ++f) {
        XMLElementScope record(this, s_function, f == 0 ? 0 : -1);
        if (!record.IsOpen())
            return;
        ReadBodies(*this);
        const int arguments = GetChildElementCount(s_argument);
        for (int a = 0; a < arguments; ++a) {
            XMLElementScope argument(this, s_argument);
            if (!argument.IsOpen())
                break;
            ReadBodies(*this);
            // The bodies named inside a list of lists stand before the tag in its element.
            const int elements = GetChildElementCount(s_element);
            for (int e = 0; e < elements; ++e) {
                XMLElementScope element(this, s_element);
                ReadBodies(*this);
            }
        }
    }
}

ResultType JournalReplay::Start(const char* path, int* functionCount)
{
    ResultType result = ResultTypeOk;
    m_loaded = Load(path);
    if (!m_loaded) {
        result = ResultTypeCouldNotOpenFile;
    } else {
        LoadIgnoredFunctions();
        bool rebuilt = true;
        const int interactions = GetChildElementCount(s_interaction);
        for (int i = 0; i < interactions && rebuilt; ++i) {
            XMLElementScope snapshot(this, s_interaction, i);
            int recordedTag = 0;
            rebuilt = snapshot.IsOpen() && DoIO("tag", recordedTag) && recordedTag != 0;
            if (!rebuilt)
                break;
            XMLData data;
            Interaction* interaction = data.CreateInteractionFromXML(*this);
            rebuilt = interaction != nullptr;
            if (rebuilt) {
                m_activeInteraction = interaction;
                m_tagMap[recordedTag] = interaction->GetTag();
            }
        }
        if (rebuilt && functionCount)
            *functionCount = GetChildElementCount(s_function);
        ReadBodiesOfRecords();
    }
    m_atStart = true;
    return result;
}

void JournalReplay::End()
{
    Clear();
    m_loaded = false;
    m_tagMap.clear();
    m_entityMap.clear();
    m_bodyMap.clear();
    m_functionName.clear();
    m_checkpointName.clear();
    m_index = 0;
    m_activeInteraction = nullptr;
    m_isCheckpoint = false;
}

void JournalReplay::WriteRecordName() { m_errorText << m_functionName << " (" << m_index << ")"; }

bool JournalReplay::CallRecordedFunction(std::vector<ReplayValue>& arguments,
                                         ReplayValue& returnValue)
{
    if (m_functionName != s_interactionLoadName || !s_interactionLoad)
        return CallReplayFunction(m_functionName, arguments, &returnValue);
    // The file's name and the result, as the adapter of an int(const char*, ResultType*) call
    // would take them.
    if (arguments.size() != 2)
        throw std::invalid_argument("Unexpected number of arguments");
    const char* path = arguments[0].GetString();
    ResultType* result = arguments[1].GetResultTypePointer();
    returnValue.SetInt(s_interactionLoad(path, result));
    return true;
}

bool JournalReplay::ResolveRecordedTag(const std::string& type, int& tag)
{
    tag = 0;
    int bodyId = 0;
    DoIO("bodyId", bodyId);
    if (bodyId == 0) {
        int recorded = 0;
        DoIO("tag", recorded);
        if (recorded == 0)
            return DoIO("value", tag);
        const auto mapped = m_tagMap.find(recorded);
        const int mappedTag = mapped == m_tagMap.end() ? 0 : mapped->second;
        if (type == "InteractionTag") {
            tag = mappedTag;
            // A tag that named no interaction when recorded is handed on as it was, so the
            // replayed call is refused as the recorded one was, unless it names one now.
            if (mapped == m_tagMap.end() && !TagManager::FindInteractionFromTag(recorded))
                tag = recorded;
            if (!m_activeInteraction)
                m_activeInteraction = TagManager::FindInteractionFromTag(tag);
            return true;
        }
        if (EndsWith(type, "Tag")) {
            int id = 0;
            DoIOIDReference("id", id);
            if (id > 0 && m_activeInteraction) {
                TaggedEntity* entity =
                    m_activeInteraction->GetTagManager()
                        ? m_activeInteraction->GetTagManager()->FindTaggedEntityById(id)
                        : nullptr;
                if (!entity) {
                    m_errorText << " failed to find [" << type << "] entity using ID [" << id
                                << "]";
                    return false;
                }
                tag = entity->GetTag();
                m_seenTags[recorded] = tag;
                return true;
            }
            // Without an id the object was gone when recorded: it stands for what the tag
            // stood for when the replay last saw it.
            if (mapped == m_tagMap.end())
                ResolveGoneTag(recorded, tag);
            else
                tag = mappedTag;
            return true;
        }
        if (KernelClassFromString(type) == KernelClassPartition) {
            bool current = false;
            DoIO("isCurrentPartition", current, false);
            tag = mappedTag;
            if (tag == 0) {
                tag = current ? GetCurrentPartition() : CreateEmptyPartition();
                m_tagMap[recorded] = tag;
            }
            return true;
        }
        // A tag that named nothing alive when it was written.
        if (KernelClassFromString(type) == KernelClassNull && ResolveGoneTag(recorded, tag))
            return true;
        m_errorText << "Unhandled type: [" << type << "]";
        return false;
    }
    const int classCode = KernelClassFromString(type);
    // The writer names a body by id and by its index in the part; most parts hold one body.
    int bodyIndex = 0;
    DoIO("bodyIndex", bodyIndex);
    const int body = FindRecordedBody(bodyId, bodyIndex);
    if (body == 0) {
        m_errorText << "failed to find body using body ID: [" << bodyId << "]";
        return false;
    }
    int featureId = 0;
    DoIO("featureId", featureId);
    if (featureId != 0) {
        std::vector<int> features;
        const HXR_PART_find_feats_o_s options{1, featureId};
        FindPartFeatures(body, &options, &features);
        if (features.empty()) {
            m_errorText << "failed to find feature using feature ID [" << featureId << "]";
            return false;
        }
        tag = features.front();
        return true;
    }
    if (classCode == KernelClassBody) {
        tag = body;
        return true;
    }
    if (classCode == KernelClassNull) {
        m_errorText << "Unhandled type: [" << type << "]";
        return false;
    }
    int id = 0;
    DoIOIDReference("id", id);
    const auto mapped = m_entityMap.find(std::make_tuple(bodyId, bodyIndex, classCode, id));
    if (id > 0 && mapped != m_entityMap.end() && GetEntityClass(mapped->second) == classCode)
        tag = mapped->second;
    else
        tag = id > 0 ? FindEntityByIdentifier(body, classCode, id) : body;
    if (tag == 0) {
        m_errorText << "failed to find [" << type << "] entity using entity ID [" << id << "]";
        return false;
    }
    int recorded = 0;
    if (DoIO("tag", recorded) && recorded != 0)
        m_seenTags[recorded] = tag;
    return true;
}

bool JournalReplay::ResolveGoneTag(int recorded, int& tag)
{
    const auto seen = m_seenTags.find(recorded);
    if (seen != m_seenTags.end()) {
        tag = seen->second;
        return true;
    }
    // Never seen alive (an edge a call deleted before any record named it): the replayed
    // output's tag in its place stands for it when that is gone too.
    if (!m_replayedOutput)
        return false;
    int replayed = 0;
    if (m_replayedOutput->GetKind() == ReplayValueKindTagArray) {
        const Array<int>& tags = m_replayedOutput->GetTagArray();
        if (m_outputPosition >= tags.GetSize())
            return false;
        replayed = tags[m_outputPosition];
    } else if (m_replayedOutput->GetKind() == ReplayValueKindInt) {
        replayed = m_replayedOutput->GetInt();
    }
    TagManager* objects = m_activeInteraction ? m_activeInteraction->GetTagManager() : nullptr;
    const bool alive = replayed != 0 && (IsEntity(replayed) || IsPartition(replayed) ||
                                         (objects && objects->FindTaggedEntityFromTag(replayed)) ||
                                         TagManager::FindInteractionFromTag(replayed));
    if (replayed == 0 || alive)
        return false;
    tag = m_seenTags[recorded] = replayed;
    return true;
}

int JournalReplay::FindRecordedBody(int bodyId, int bodyIndex)
{
    const auto mapped = m_bodyMap.find({bodyId, bodyIndex});
    return mapped != m_bodyMap.end() ? mapped->second : FindBodyByIdAndIndex(bodyId, bodyIndex);
}

bool JournalReplay::ReadTagArray(Array<int>& tags)
{
    int length = 0;
    DoIO("length", length);
    for (int i = 0; i < length; ++i) {
        XMLElementScope element(this, s_element);
        std::string type;
        if (!element.IsOpen() || !DoIO("type", type))
            return false;
        int tag = 0;
        m_outputPosition = i;
        if (!ResolveRecordedTag(type, tag))
            return false;
        tags.Add(tag);
    }
    return true;
}

bool JournalReplay::ReadTransformText(Double4x4& matrix)
{
    Xform xform;
    if (!DoIO(xform, false))
        return false;
    xform.Get4x4(matrix.m);
    return true;
}

bool JournalReplay::ReadArgument(ReplayValue& value, bool& isResultType, int index)
{
    isResultType = false;
    XMLElementScope scope(this, s_argument, index);
    bool isNull = false;
    std::string type;
    m_argumentName.clear();
    m_priorLength = 0;
    bool ok = scope.IsOpen();
    if (ok) {
        ok = DoIO("isNull", isNull, false) && DoIO("type", type);
        if (type.empty())
            isNull = false;
        DoIO("name", m_argumentName);
    }
    if (!ok)
        return false;
    std::string argType;
    DoIO("argType", argType);
    const bool isOutput = argType == "output";
    if (isNull) {
        // A null value takes no payload and keeps its kind.
        value.SetNull(true);
    } else if (IsIntegerReplayType(type)) {
        int tag = 0;
        m_outputPosition = 0;
        // As for a list of tags: an output may name an object the call itself makes, found
        // when Step reads the argument again after the call.
        ok = ResolveRecordedTag(type, tag) || isOutput;
        value.SetInt(tag);
    } else if (IsEnumTypeName(type)) {
        isResultType = type == "ResultType";
        std::string text;
        DoIO("value", text);
        int number = 0;
        ReadEnumValue(type, text, number);
        value.SetInt(number);
    } else if (type == "double") {
        double number = 0.0;
        DoIO("value", number);
        value.SetDouble(number);
    } else if (type == "bool") {
        bool flag = false;
        DoIO("value", flag, false);
        value.SetBool(flag);
    } else if (type == "double[]" || type == "DoubleArray" || type == "IntegerArray") {
        int length = 0;
        DoIO("length", length);
        if (isOutput && type == "IntegerArray")
            DoIO("priorLength", m_priorLength);
        ok = type != "double[]" || length == 3;
        Array<int> ints;
        Array<double> doubles;
        for (int i = 0; ok && i < length; ++i) {
            XMLElementScope element(this, s_element);
            ok = element.IsOpen();
            if (ok && type == "IntegerArray") {
                int number = 0;
                ok = DoIO("value", number);
                ints.Add(number);
            } else if (ok) {
                double number = 0.0;
                ok = DoIO("value", number);
                doubles.Add(number);
            }
        }
        if (ok && type == "IntegerArray")
            value.SetTagArray(ints);
        else if (ok && type == "double[]")
            value.SetDoubleTriple(&doubles[0]);
        else if (ok)
            value.SetDoubleArray(doubles);
    } else if (type == "Transform") {
        Double4x4 matrix;
        ok = ReadTransformText(matrix);
        if (ok)
            value.SetTransform(matrix.m);
    } else if (type == "TagArray") {
        if (isOutput)
            DoIO("priorLength", m_priorLength);
        Array<int> tags;
        const bool read = ReadTagArray(tags);
        value.SetTagArray(tags);
        // The objects an output names may be made by the call itself: Step reads it again
        // after the call.
        ok = read || isOutput;
    } else if (type == "TagArrayArray") {
        int length = 0;
        DoIO("length", length);
        Array<Array<int>> arrays;
        for (int i = 0; ok && i < length; ++i) {
            XMLElementScope element(this, s_element);
            Array<int> tags;
            ok = element.IsOpen() && ReadTagArray(tags);
            arrays.Add(tags);
        }
        if (ok)
            value.SetTagArrayArray(arrays);
    } else if (type == "TransformArray") {
        int length = 0;
        DoIO("length", length);
        Array<Double4x4> matrices;
        for (int i = 0; ok && i < length; ++i) {
            XMLElementScope element(this, s_element);
            Double4x4 matrix;
            ok = element.IsOpen() && ReadTransformText(matrix);
            matrices.Add(matrix);
        }
        if (ok)
            value.SetTransformArray(matrices);
    } else if (type == "String") {
        std::string text;
        DoIO(text);
        value.SetString(text.c_str());
    } else if (type == "Position") {
        double xyz[3] = {0, 0, 0};
        ok = DoIO("x", xyz[0]) && DoIO("y", xyz[1]) && DoIO("z", xyz[2]);
        if (ok)
            value.SetPosition(Position(xyz));
    } else if (type == "PositionArray") {
        int length = 0;
        DoIO("length", length);
        Array<Position> points;
        for (int i = 0; ok && i < length; ++i) {
            XMLElementScope element(this, s_element);
            double xyz[3] = {0, 0, 0};
            ok = element.IsOpen() && DoIO("x", xyz[0]) && DoIO("y", xyz[1]) && DoIO("z", xyz[2]);
            points.Add(Position(xyz));
        }
        if (ok)
            value.SetPositionArray(points);
    } else {
        // "void*" and the other kinds the writer marks unhandled cannot be called with.
        ok = false;
    }
    if (ok) {
        if (isNull)
            value.SetNull(true);
        value.SetDirection(isOutput ? ReplayDirectionOutput : ReplayDirectionInput);
    }
    return ok;
}

int JournalReplay::FindValueOfAddress(int address, int count)
{
    std::string type, name, argType;
    {
        XMLElementScope scope(this, s_argument, address);
        if (!scope.IsOpen() || !DoIO("type", type) || type != "void*" || !DoIO("name", name))
            return -1;
    }
    int found = -1;
    for (int j = address + 1; j < count && found < 0; ++j) {
        XMLElementScope scope(this, s_argument, j);
        std::string other;
        argType.clear();
        if (scope.IsOpen() && DoIO("name", other) && other == name && DoIO("argType", argType) &&
            argType == "output")
            found = j;
    }
    // Reading by index moves the reader: the next argument read is the one after the address.
    XMLElementScope back(this, s_argument, address);
    return found;
}

void JournalReplay::MapOutputTags(int argumentIndex, ReplayValue& replayed)
{
    XMLElementScope scope(this, s_argument, argumentIndex);
    std::string type;
    if (!scope.IsOpen() || !DoIO("type", type))
        return;
    // Bodies journalled first here were made by the call: the replayed call made its own.
    std::set<int> madeHere;
    for (int b = 0, bodies = GetChildElementCount(s_body); b < bodies; ++b) {
        XMLElementScope body(this, s_body, b);
        int id = 0;
        if (body.IsOpen() && DoIO("id", id))
            madeHere.insert(id);
    }
    // A recorded tag with neither an entity id nor a body is found later only through the map.
    auto mapTag = [this, &madeHere](int live) {
        int bodyId = 0, recorded = 0, id = 0;
        DoIO("bodyId", bodyId);
        DoIO("tag", recorded);
        DoIOIDReference("id", id);
        std::string type;
        DoIO("type", type);
        if (bodyId == 0 && recorded != 0 && id == 0 && live != 0 && EndsWith(type, "Tag") &&
            type != "InteractionTag" && m_tagMap.find(recorded) == m_tagMap.end())
            m_tagMap[recorded] = live;
        // A kernel entity the call made gets the kernel's next identifier, which need not be
        // the recorded one: the entity of the same class on the same body that the replayed
        // call gave in its place stands for it from now on, unless it already stands for
        // another.
        const int classCode = bodyId != 0 ? KernelClassFromString(type) : KernelClassNull;
        // A body the call made (a piece split off another) is the live body the replayed call
        // gave in its place, not the journal's copy of it.
        if (classCode == KernelClassBody && madeHere.count(bodyId) && live != 0 &&
            GetEntityClass(live) == KernelClassBody) {
            int bodyIndex = 0;
            DoIO("bodyIndex", bodyIndex);
            if (!m_bodyMap.count({bodyId, bodyIndex}))
                m_bodyMap[{bodyId, bodyIndex}] = live;
            return;
        }
        if (classCode == KernelClassNull || classCode == KernelClassBody || id <= 0 || live == 0 ||
            GetEntityClass(live) != classCode)
            return;
        int bodyIndex = 0;
        DoIO("bodyIndex", bodyIndex);
        const int liveBody = GetOwningBody(live);
        if (madeHere.count(bodyId) && liveBody != 0 && !m_bodyMap.count({bodyId, bodyIndex}))
            m_bodyMap[{bodyId, bodyIndex}] = liveBody;
        const int body = FindRecordedBody(bodyId, bodyIndex);
        if (body == 0 || liveBody != body || FindEntityByIdentifier(body, classCode, id) == live)
            return;
        for (const auto& entry : m_entityMap)
            if (entry.second == live)
                return;
        m_entityMap[std::make_tuple(bodyId, bodyIndex, classCode, id)] = live;
    };
    if (type == "TagArray" && replayed.GetKind() == ReplayValueKindTagArray && !replayed.IsNull()) {
        const Array<int>& tags = replayed.GetTagArray();
        int length = 0;
        DoIO("length", length);
        if (length != tags.GetSize())
            return;
        for (int i = 0; i < length; ++i) {
            XMLElementScope element(this, s_element);
            if (!element.IsOpen())
                return;
            mapTag(tags[i]);
        }
    } else if (EndsWith(type, "Tag") && replayed.GetKind() == ReplayValueKindInt &&
               !replayed.IsNull()) {
        mapTag(replayed.GetInt());
    }
}

void JournalReplay::CompareReturnValue(ReplayValue& returnValue, ReplayStatus& status, bool& ok)
{
    XMLElementScope scope(this, s_returnValue);
    std::string type;
    int recordedTag = 0;
    if (!DoIO("type", type) || !DoIO("tag", recordedTag)) {
        ok = false;
        return;
    }
    auto differs = [this, &status](auto recorded, auto replayed) {
        WriteRecordName();
        m_errorText << " journal return value [" << recorded
                    << "] not equal to replay return value [" << replayed << "]";
        status = ReplayReturnValueDiffers;
    };
    if (recordedTag > 0) {
        if (returnValue.GetKind() != ReplayValueKindInt) {
            ok = false;
            return;
        }
        const int live = returnValue.GetInt();
        if (type == "InteractionTag") {
            m_tagMap[recordedTag] = live;
            m_activeInteraction = TagManager::FindInteractionFromTag(live);
            return;
        }
        if (!EndsWith(type, "Tag") || live == 0)
            return;
        m_seenTags[recordedTag] = live;
        int id = 0;
        if (DoIOIDReference("id", id) && id > 0) {
            TagManager* tags = m_activeInteraction ? m_activeInteraction->GetTagManager() : nullptr;
            TaggedEntity* created = tags ? tags->FindTaggedEntityFromTag(live) : nullptr;
            if (!created) {
                ok = false;
                return;
            }
            if (created->GetEntityId() == id)
                return;
            if (tags->FindTaggedEntityById(id)) {
                WriteRecordName();
                m_errorText << " returned an entity with a different ID";
                status = ReplayReturnValueDiffers;
                return;
            }
            // Later records name the object by the id it had when recorded.
            created->SetEntityId(id);
            return;
        }
        m_tagMap[recordedTag] = live;
        return;
    }
    switch (returnValue.GetKind()) {
        case ReplayValueKindInt: {
            int recorded = 0;
            if (IsEnumTypeName(type)) {
                std::string text;
                ok = DoIO("value", text) && ReadEnumValue(type, text, recorded);
            } else {
                ok = DoIO("value", recorded);
            }
            if (ok && recorded != returnValue.GetInt())
                differs(recorded, returnValue.GetInt());
            break;
        }
        case ReplayValueKindDouble: {
            double recorded = 0.0;
            ok = DoIO("value", recorded);
            if (ok && std::fabs(recorded - returnValue.GetDouble()) > s_linearTolerance)
                differs(recorded, returnValue.GetDouble());
            break;
        }
        case ReplayValueKindBool: {
            bool recorded = false;
            ok = DoIO("value", recorded, false);
            if (ok && recorded != returnValue.GetBool())
                differs(recorded, returnValue.GetBool());
            break;
        }
        case ReplayValueKindString: {
            std::string recorded;
            ok = DoIO(recorded);
            const char* replayed = returnValue.GetString();
            // A text recorded as null or empty matches a null or empty reply.
            const bool mismatch =
                !recorded.empty() ? (!replayed || recorded != replayed) : (replayed && *replayed);
            if (ok && mismatch)
                differs(recorded.empty() ? std::string("<Null>") : recorded,
                        replayed ? std::string(replayed) : std::string("<Null>"));
            break;
        }
        default:
            break;
    }
}

void JournalReplay::CompareCheckpoint(Interaction* live, bool bodyCompareOnly, ReplayStatus& status,
                                      bool& ok)
{
    XMLElementScope scope(this, s_interaction);
    if (!scope.IsOpen()) {
        ok = false;
        return;
    }
    // The snapshot is built beside the live model, in a partition of its own, and leaves
    // nothing behind.
    const bool allowMultiple = Interaction::GetAllowMultipleInteractions();
    const int previousPartition = GetCurrentPartition();
    const int partition = CreateEmptyPartition();
    SetCurrentPartition(partition);
    Interaction::SetAllowMultipleInteractions(true);
    BeginBodyIdContext();
    XMLData data;
    Interaction* snapshot = data.CreateInteractionFromXML(*this);
    EndBodyIdContext();
    if (!snapshot || !live) {
        ok = false;
    } else if (!snapshot->Compare(live, bodyCompareOnly, nullptr)) {
        WriteRecordName();
        m_errorText << " Interaction compare failed";
        status = ReplayCheckpointDiffers;
    }
    if (snapshot)
        snapshot->Destroy();
    SetCurrentPartition(previousPartition);
    DeletePartition(partition);
    Interaction::SetAllowMultipleInteractions(allowMultiple);
}

ReplayStatus JournalReplay::Step(ResultType* replayedResult, ResultType* stepResult)
{
    ReplayStatus status = ReplaySuccess;
    bool ok = true;
    bool handled = false;
    bool bodyCompareOnly = false;
    int replayed = ResultTypeOk;
    int stepped = ResultTypeOk;
    m_errorText.str("");
    m_errorText.clear();

    const bool opened = m_loaded && BeginElement(s_function, m_atStart ? 0 : -1);
    m_atStart = false;
    m_isCheckpoint = false;
    auto finish = [&]() {
        if (!ok && stepped == ResultTypeOk)
            stepped = ResultTypeFail;
        if (replayedResult)
            *replayedResult = static_cast<ResultType>(replayed);
        if (stepResult)
            *stepResult = static_cast<ResultType>(stepped);
        if (!ok && status == ReplaySuccess)
            status = ReplayFailure;
        if (opened)
            EndElement(true);
        return status;
    };
    if (!opened) {
        status = ReplayEndOfJournal;
        ok = false;
        return finish();
    }
    if (!DoIO("name", m_functionName) || !DoIO("index", m_index)) {
        ok = false;
        return finish();
    }

    // The interaction a checkpoint was taken of: with several live, each checkpoint compares
    // its own, not whichever was made or named last.
    Interaction* checkpointed = nullptr;
    if (m_functionName == "DebugJournalCheckpoint") {
        m_isCheckpoint = true;
        const int count = GetChildElementCount(s_argument);
        for (int i = 0; i < count; ++i) {
            XMLElementScope argument(this, s_argument, i);
            std::string name, type;
            DoIO("name", name);
            DoIO("type", type);
            if (name == "bodyCompareOnly") {
                DoIO("value", bodyCompareOnly, false);
            } else if (name == "checkpointName") {
                DoIO(m_checkpointName);
            } else if (type == "InteractionTag") {
                int recorded = 0;
                DoIO("tag", recorded);
                const auto mapped = m_tagMap.find(recorded);
                if (mapped != m_tagMap.end())
                    checkpointed = TagManager::FindInteractionFromTag(mapped->second);
            }
        }
        if (!checkpointed)
            checkpointed = m_activeInteraction;
    } else if (m_functionName == "DebugCheckValidity") {
        ReplayValue interaction, object;
        bool isResultType = false;
        ok = ReadArgument(interaction, isResultType, -1) && ReadArgument(object, isResultType, -1);
        m_errorText.str("");
        if (ok) {
            ok = s_validityCheck && s_validityCheck(interaction.GetInt(), object.GetInt());
            if (!ok) {
                WriteRecordName();
                m_errorText << "  FAILED.";
                status = ReplayCheckpointDiffers;
            }
        }
        handled = true;
    }
    if (!ok)
        return finish();
    if (!handled && m_ignoredFunctions.count(m_functionName)) {
        handled = true;
        status = ReplayIgnored;
    }
    bool forceFailure = false;
    DoIO("forceFailure", forceFailure, false);
    if (forceFailure) {
        WriteRecordName();
        m_errorText << "  [FORCED FAILURE]";
        status = ReplayFailure;
        ok = false;
        return finish();
    }
    if (m_isCheckpoint) {
        CompareCheckpoint(checkpointed, bodyCompareOnly, status, ok);
        if (ok && s_checkpoint && IsJournalOpen())
            s_checkpoint(checkpointed->GetTag(), m_checkpointName.c_str(), bodyCompareOnly);
        return finish();
    }
    if (handled)
        return finish();

    const int count = GetChildElementCount(s_argument);
    std::vector<ReplayValue> recorded(static_cast<size_t>(count));
    // An output journalled by its address before the call and by its value after it is called
    // with the value in the address's place.
    std::vector<int> valueOfAddress(static_cast<size_t>(count), -1);
    std::vector<bool> isAddressedValue(static_cast<size_t>(count), false);
    std::vector<int> priorLengths(static_cast<size_t>(count), 0);
    bool isResultType = false;
    for (int i = 0; i < count; ++i) {
        const bool read = ReadArgument(recorded[i], isResultType, -1);
        priorLengths[i] = m_priorLength;
        if (!read) {
            // The argument's place goes before what the reading said of it; it is written
            // only now, as most records read clean.
            const std::string detail = m_errorText.str();
            const std::string argumentName = m_argumentName;
            const int value = FindValueOfAddress(i, count);
            if (value >= 0) {
                valueOfAddress[i] = value;
                isAddressedValue[value] = true;
                m_errorText.str("");
                continue;
            }
            m_errorText.str("");
            WriteRecordName();
            m_errorText << "  [arg #" << i << " '" << argumentName << "'] " << detail;
            status = ReplayProcessingFailure;
            ok = false;
            return finish();
        }
        // An output may name what only the call makes: what its reading said is no failure.
        m_errorText.str("");
    }
    std::vector<ReplayValue> replayedValues(recorded);
    for (int i = 0; i < count; ++i) {
        ReplayValue& value = replayedValues[i];
        if (value.GetDirection() != ReplayDirectionOutput)
            continue;
        value.Clear();
        // A call that appends to the caller's array starts from what the array held, as it
        // did when it was recorded; tags among them were alive before the call and read as such.
        if (priorLengths[i] > 0 && value.GetKind() == ReplayValueKindTagArray && !value.IsNull()) {
            const Array<int>& tags = recorded[i].GetTagArray();
            Array<int> prior;
            for (int k = 0; k < priorLengths[i] && k < tags.GetSize(); ++k)
                prior.Add(tags[k]);
            value.SetTagArray(prior);
            value.SetDirection(ReplayDirectionOutput);
        }
    }

    ReplayValue returnValue;
    // The candidates the application refused while recording are refused again, and only
    // during this record's call.
    Interaction* rejecting = m_activeInteraction;
    const int activeTag = GetActiveInteractionTag();
    LoadRecordedRejections(rejecting, *this);
    // Values the call journals beyond its parameters sit last before the result: the call is
    // made without them and they are remade after it. A record without them (all inputs
    // there) is called as it stands.
    ReplayRecordedOutputs remakeOutputs = nullptr;
    const int extra = GetReplayRecordedOutputs(m_functionName, &remakeOutputs);
    const int firstExtra = count - (isResultType ? 1 : 0) - extra;
    bool withExtra = extra > 0 && firstExtra >= 0;
    for (int i = firstExtra; withExtra && i < firstExtra + extra; ++i)
        withExtra = recorded[i].GetDirection() == ReplayDirectionOutput;
    std::vector<int> callSlots;
    for (int i = 0; i < count; ++i)
        if ((!withExtra || i < firstExtra || i >= firstExtra + extra) && !isAddressedValue[i])
            callSlots.push_back(valueOfAddress[i] >= 0 ? valueOfAddress[i] : i);
    std::vector<ReplayValue> callValues;
    callValues.reserve(callSlots.size());
    for (int slot : callSlots)
        callValues.push_back(replayedValues[slot]);
    try {
        const bool called = CallRecordedFunction(callValues, returnValue);
        for (size_t c = 0; called && c < callSlots.size(); ++c)
            replayedValues[callSlots[c]] = callValues[c];
        if (called && withExtra) {
            for (int i = 0, c = 0; i < count; ++i)
                if (i < firstExtra || i >= firstExtra + extra)
                    replayedValues[i] = callValues[c++];
            std::vector<ReplayValue> outputs(static_cast<size_t>(extra));
            remakeOutputs(m_activeInteraction ? m_activeInteraction->GetTag() : 0, outputs);
            for (int k = 0; k < extra; ++k) {
                outputs[k].SetDirection(ReplayDirectionOutput);
                replayedValues[firstExtra + k] = outputs[k];
            }
        }
        if (!called) {
            m_errorText << "Failed to call replay function for " << m_functionName << " ("
                        << m_index << ")";
            status = ReplayNotSupported;
            replayed = stepped = ResultTypeNotSupported;
            ok = false;
        }
    } catch (const std::invalid_argument& error) {
        WriteRecordName();
        m_errorText << " Error:  [" << error.what() << "]";
        status = ReplayFailure;
        replayed = stepped = ResultTypeFail;
        ok = false;
    }
    // A call that destroyed the active interaction (its own destroy, or a reset of them all)
    // leaves nothing to reject for or to compare against.
    if (m_activeInteraction &&
        TagManager::FindInteractionFromTag(activeTag) != m_activeInteraction) {
        m_activeInteraction = nullptr;
        rejecting = nullptr;
    }
    ClearRecordedRejections(rejecting);
    if (!ok)
        return finish();

    for (int i = 0; i < count; ++i) {
        const bool isResult = isResultType && i == count - 1;
        if (isResult)
            replayed = replayedValues[i].GetInt();
        if (recorded[i] == replayedValues[i])
            continue;
        if (isResult) {
            WriteRecordName();
            m_errorText << " journal result [" << ResultName(recorded[i].GetInt())
                        << "] not equal to replay result [" << ResultName(replayed) << "]";
            status = ReplayResultDiffers;
            break;
        }
        bool same = false;
        if (recorded[i].GetDirection() == ReplayDirectionOutput) {
            // The call may have made the objects its output names: they resolve now.
            MapOutputTags(i, replayedValues[i]);
            bool unused = false;
            ReplayValue reread;
            m_replayedOutput = &replayedValues[i];
            ok = ReadArgument(reread, unused, i) && ok;
            m_replayedOutput = nullptr;
            m_errorText.str("");
            same = ok && reread == replayedValues[i];
        }
        if (!same) {
            WriteRecordName();
            m_errorText << " argument " << i << " is different";
            status = ReplayArgumentDiffers;
            break;
        }
    }
    if (ok && GetChildElementCount(s_returnValue) > 0 &&
        !s_measuredReturnValues.count(m_functionName))
        CompareReturnValue(returnValue, status, ok);
    return finish();
}

ReplayStatus JournalReplay::ReplayToIndex(int index, ResultType* replayedResult,
                                          ResultType* stepResult)
{
    ResultType replayed = ResultTypeOk;
    ResultType stepped = ResultTypeOk;
    ReplayStatus status = Step(&replayed, &stepped);
    while ((status == ReplaySuccess || status == ReplayIgnored) && m_index < index)
        status = Step(&replayed, &stepped);
    if (replayedResult)
        *replayedResult = replayed;
    if (stepResult)
        *stepResult = m_index == index ? stepped : ResultTypeBadArgument;
    return status;
}

ReplayStatus JournalReplay::ReplayToCheckpoint(const char* name, ResultType* result)
{
    ResultType stepped = ResultTypeOk;
    ResultType outcome = ResultTypeBadArgument;
    ReplayStatus status = Step(nullptr, &stepped);
    for (;;) {
        if (status == ReplayEndOfJournal || stepped != ResultTypeOk)
            break;
        if (m_isCheckpoint && (!name || !*name || m_checkpointName == name)) {
            outcome = stepped;
            break;
        }
        if (status != ReplaySuccess && status != ReplayIgnored)
            break;
        status = Step(nullptr, &stepped);
    }
    if (result)
        *result = outcome;
    return status;
}

ResultType JournalReplay::Play()
{
    ReplayStatus status = ReplaySuccess;
    while (status == ReplaySuccess || status == ReplayIgnored)
        status = Step(nullptr, nullptr);
    End();
    return ResultTypeOk;
}

}  // namespace QEL
