// The symmetric serializer: cursor, layout, value forms, ids, body maps and the header.

#include "core/persist/XMLIO.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/support/Environment.h"
#include "core/xml/XMLCharEncoding.h"
#include "core/xml/XMLStreamWriter.h"

#include <hxr.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <system_error>
#include <type_traits>

namespace QEL {

namespace {

bool EqualNoCase(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Number of ancestors of a node: the root has none.
int Depth(const XMLTreeNode& node)
{
    int depth = 0;
    for (XMLTreeNode parent = node.GetParent(); !parent.IsEmpty(); parent = parent.GetParent())
        ++depth;
    return depth;
}

std::string Indent(int blanks) { return "\n" + std::string(static_cast<size_t>(blanks) * 2, ' '); }

bool HasContent(const XMLTreeNode& node)
{
    return node.CountChildren() > 0 || node.CountTexts() > 0;
}

// A parsed document holds an element: a named top node or a named child.
bool HasElement(const XMLTreeNode& top)
{
    if (top.IsEmpty())
        return false;
    if (top.GetName() && !top.IsDeclaration())
        return true;
    for (int i = 0; i < top.CountChildren(); ++i)
        if (HasElement(top.GetChild(i)))
            return true;
    return false;
}

}  // namespace

XMLIO::XMLIO(const char* rootName, bool journal)
    : m_journal(journal), m_rootName(rootName ? rootName : "QELXML")
{
    Clear();
}

XMLIO::XMLIO(ForReading, const char* rootName, bool journal)
    : m_state(std::make_unique<XMLIOState>()),
      m_reading(true),
      m_journal(journal),
      m_rootName(rootName ? rootName : "QELXML")
{
    m_state->childPositions.emplace_back();
}

XMLIO::~XMLIO() = default;

void XMLIO::Reset()
{
    m_seenIds.clear();
    m_errors.clear();
    m_bodyIdContexts.clear();
}

void XMLIO::Clear()
{
    m_state = std::make_unique<XMLIOState>();
    m_state->root = XMLTreeNode::CreateTop(m_rootName.c_str(), false);
    m_state->current = m_state->root;
    m_state->childPositions.emplace_back();
    m_state->root.AddText("\n");
    m_reading = false;
    m_output = nullptr;
    m_stream.reset();
    Reset();
    WriteHeader();
}

void XMLIO::WriteComponentVersion(const char* name, int major, int minor, int build)
{
    BeginElement("ComponentVersion");
    DoIO("name", name);
    DoIO("major", major);
    DoIO("minor", minor);
    DoIO("build", build);
    EndElement(true);
}

void XMLIO::WriteHeader()
{
    BeginElement("Info");
    DoIO("dateTime", GetDateTimeText().c_str());
    DoIO("os", GetOsVersionText().c_str());
    DoIO("user", GetUserNameText().c_str());
    DoIO("node", GetComputerNameText().c_str());
    DoIO("appName", GetApplicationFileName().c_str());
    EndElement(true);
    m_state->root.AddText("\n");

    BeginElement("QELVersion");
    int major = 1, minor = 2, build = 4;
    DoIO("major", major);
    DoIO("minor", minor);
    DoIO("build", build);
    DoIO("date", "21/04/2008 13:59:54");
    DoIO("buildType", GetBuildType().c_str());
    DoIO("platform", GetPlatformName().c_str());
    EndElement(true);
    m_state->root.AddText("\n");

    int kernel[3] = {0, 0, 0};
    BQ_SESSION_ask_kernel_version(&kernel[0], &kernel[1], &kernel[2]);
    WriteComponentVersion("Brennik", kernel[0], kernel[1], kernel[2]);
    int addOn[3] = {0, 0, 0};
    HXR_SESSION_ask_version(&addOn[0], &addOn[1], &addOn[2]);
    WriteComponentVersion("HXR", addOn[0], addOn[1], addOn[2]);
    for (const char* name : {"ZMR", "YSK", "KEV", "WOF", "JUN"})
        WriteComponentVersion(name, 38, 2, 8);
    m_state->root.AddText("\n");
}

bool XMLIO::FinishLoad(XMLTreeNode parsed, const XMLParseResult& result, bool wellFormed)
{
    m_state = std::make_unique<XMLIOState>();
    m_state->childPositions.emplace_back();
    // Result 1 (unclosed elements) still leaves a usable tree, but a truncated file is not a
    // well-formed one: it is refused like any other malformed input.
    if (result.m_error != XMLParseErrorNone) {
        AddError(0, result.m_error == XMLParseErrorRootNotFound && wellFormed
                        ? XMLErrorCodeWrongRoot
                        : XMLErrorCodeFileUnreadable);
        return false;
    }
    if (parsed.IsEmpty() || !EqualNoCase(parsed.GetName(), m_rootName.c_str())) {
        AddError(0, XMLErrorCodeWrongRoot);
        return false;
    }
    m_state->root = parsed;
    m_state->current = parsed;
    return true;
}

bool XMLIO::Load(const char* path, const char* rootName)
{
    Reset();
    m_reading = true;
    if (rootName)
        m_rootName = rootName;
    if (path) {
        if (FILE* file = std::fopen(path, "rb")) {
            unsigned char head[200];
            const size_t length = std::fread(head, 1, sizeof head, file);
            std::fclose(file);
            SetTreeOptions(GuessCharEncoding(head, length, true), true, true);
        }
    }
    XMLParseResult result;
    XMLTreeNode parsed =
        path ? XMLTreeNode::ParseFile(path, m_rootName.c_str(), &result) : XMLTreeNode();
    if (!path)
        result.m_error = XMLParseErrorCannotOpenForReading;
    // "Another root element" is only said of a document that has elements at all; an empty
    // or garbled file is an unreadable one.
    bool wellFormed = false;
    if (result.m_error == XMLParseErrorRootNotFound) {
        XMLParseResult plain;
        XMLTreeNode any = XMLTreeNode::ParseFile(path, nullptr, &plain);
        wellFormed = plain.m_error == XMLParseErrorNone && HasElement(any);
    }
    return FinishLoad(parsed, result, wellFormed);
}

bool XMLIO::LoadText(const char* text, const char* rootName)
{
    Reset();
    m_reading = true;
    if (rootName)
        m_rootName = rootName;
    SetTreeOptions(XMLCharEncodingUTF8, true, true);
    XMLParseResult result;
    XMLTreeNode parsed =
        text ? XMLTreeNode::ParseText(text, m_rootName.c_str(), &result) : XMLTreeNode();
    if (!text)
        result.m_error = XMLParseErrorNoText;
    bool wellFormed = false;
    if (result.m_error == XMLParseErrorRootNotFound) {
        XMLParseResult plain;
        XMLTreeNode any = XMLTreeNode::ParseText(text, nullptr, &plain);
        wellFormed = plain.m_error == XMLParseErrorNone && HasElement(any);
    }
    return FinishLoad(parsed, result, wellFormed);
}

bool XMLIO::Save(const char* path)
{
    Reset();
    if (m_output) {
        const std::string end = "\n</" + m_rootName + ">\n";
        return m_output->Write(end.data(), end.size());
    }
    if (!path || m_state->root.IsEmpty())
        return false;
    // The tree options are process-wide: the ones saving needs are put back afterwards, so
    // that a later parse elsewhere does not silently keep white space.
    const XMLTreeOptions previous = GetTreeOptions();
    SetTreeOptions(XMLCharEncodingUTF8, true, false);
    if (!m_reading && !m_state->current.IsEmpty())
        m_state->current.AddText("\n");
    const bool saved = m_state->root.WriteFile(path, "utf-8", true) == XMLParseErrorNone;
    SetTreeOptions(previous.m_encoding, previous.m_guessWideCharacters, previous.m_dropWhiteSpace);
    return saved;
}

// Writes what the root holds in document order as one piece and drops the written elements,
// so that the tree keeps only the short line-break pieces of the root.
bool XMLIO::WriteRootContent()
{
    XMLTreeNode& root = m_state->root;
    std::string text;
    std::vector<XMLTreeNode> children;
    for (int index = root.CountAttributes(); index < root.CountContents(); ++index) {
        const XMLTreeContent content = root.GetContent(index);
        if (content.m_kind == XMLContentKindChild) {
            text += content.m_child.ToText(false);
            children.push_back(content.m_child);
        } else if (content.m_kind == XMLContentKindText && content.m_text) {
            text += content.m_text;
        }
    }
    text += "\n\n";
    for (XMLTreeNode& child : children)
        child.DeleteContent(true);
    m_state->current = root;
    return m_output->Write(text.data(), text.size());
}

bool XMLIO::SetOutput(XMLOutput* output)
{
    m_output = nullptr;
    m_stream.reset();
    m_state->current = m_state->root;
    if (!output || m_state->root.IsEmpty())
        return false;
    m_output = output;
    const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<" + m_rootName + ">\n";
    if (!output->Write(head.data(), head.size()) || !WriteRootContent())
        return false;
    m_stream = std::make_unique<XMLStreamWriter>(*output);
    return true;
}

std::string XMLIO::ToText() const
{
    return m_state->root.IsEmpty() ? std::string() : m_state->root.ToText(false);
}

bool XMLIO::BeginElement(const char* name, int index)
{
    if (!name || m_state->current.IsEmpty())
        return false;
    if (!m_reading && m_stream) {
        // Layout goes into elements only: the root's never reaches the output.
        if (const int depth = m_stream->Depth())
            m_stream->AddIndent(depth);
        m_stream->BeginElement(name);
        return true;
    }
    if (!m_reading) {
        m_state->current.AddText(Indent(Depth(m_state->current)).c_str());
        XMLTreeNode child = m_state->current.AddChild(name);
        if (child.IsEmpty())
            return false;
        m_state->current = child;
        return true;
    }
    int& stored = m_state->childPositions.back()[name];
    int position = stored;
    if (index >= 0) {
        position = 0;
        for (int skipped = 0; skipped < index; ++skipped)
            if (m_state->current.GetChild(name, &position).IsEmpty())
                return false;
    }
    XMLTreeNode child = m_state->current.GetChild(name, &position);
    if (child.IsEmpty())
        return false;
    stored = position;
    m_state->current = child;
    m_state->childPositions.emplace_back();
    return true;
}

bool XMLIO::BeginElement(const XMLPreparedStart& start)
{
    if (!m_reading && m_stream && !m_state->current.IsEmpty()) {
        if (const int depth = m_stream->Depth())
            m_stream->AddIndent(depth);
        m_stream->BeginElement(start);
        return true;
    }
    if (m_reading || !BeginElement(start.name.c_str()))
        return false;
    for (const auto& attribute : start.attributes)
        DoIO(attribute.first.c_str(), attribute.second.c_str());
    return true;
}

bool XMLIO::WriteElement(const XMLPreparedStart& start, const char* name, const char* value,
                         std::size_t valueLength)
{
    if (!m_reading && m_stream && !m_state->current.IsEmpty() && m_stream->Depth() > 0) {
        m_stream->AddLeaf(m_stream->Depth(), start, name, value, valueLength);
        return true;
    }
    if (!BeginElement(start))
        return false;
    if (valueLength)
        DoIO(name, std::string(value, valueLength).c_str());
    EndElement(false);
    return true;
}

void XMLIO::EndElement(bool multiLine)
{
    if (!m_reading && m_stream) {
        const int depth = m_stream->Depth();
        if (depth == 0)
            return;
        const bool hasChildren = m_stream->HasChildren();
        if (multiLine && m_stream->HasContent())
            m_stream->AddIndent(depth - 1);
        m_stream->EndElement(multiLine ? "\n\n" : "\n");
        if (hasChildren && depth > 1)
            m_stream->AddIndent(0);
        return;
    }
    XMLTreeNode element = m_state->current;
    if (element.IsEmpty())
        return;
    XMLTreeNode parent = element.GetParent();
    if (m_reading) {
        // The root is never left, so a surplus EndElement cannot lose the cursor.
        if (parent.IsEmpty() || element.IsSameNode(m_state->root))
            return;
        m_state->current = parent;
        if (m_state->childPositions.size() > 1)
            m_state->childPositions.pop_back();
        return;
    }
    if (parent.IsEmpty())
        return;
    const bool hasChildren = element.CountChildren() > 0;
    if (multiLine && HasContent(element))
        element.AddText(Indent(Depth(parent)).c_str());
    m_state->current = parent;
    if (hasChildren)
        parent.AddText("\n");
}

int XMLIO::GetChildElementCount(const char* name) const
{
    return m_state->current.IsEmpty() || !name ? 0 : m_state->current.CountChildren(name);
}

bool XMLIO::DoIO(const char* name, const char* value)
{
    if (m_reading || m_state->current.IsEmpty())
        return false;
    if (!value || !*value)
        return true;
    if (m_stream) {
        if (name)
            m_stream->SetAttribute(name, value);
        else
            m_stream->AddText(value);
        return true;
    }
    if (name)
        m_state->current.AddAttribute(name, value);
    else
        m_state->current.AddText(value);
    return true;
}

bool XMLIO::DoIO(const char* text) { return DoIO(nullptr, text); }

bool XMLIO::DoIOName(const char* name) { return DoIO("name", name); }

void XMLIO::AddNewline()
{
    if (m_reading || m_state->current.IsEmpty())
        return;
    if (m_stream)
        m_stream->AddIndent(0);
    else
        m_state->current.AddText("\n");
}

bool XMLIO::ReadText(const char* name, std::string& value) const
{
    value.clear();
    if (m_state->current.IsEmpty())
        return false;
    const char* text = name ? m_state->current.GetAttribute(name) : m_state->current.GetText(0);
    if (text)
        value = text;
    return true;
}

bool XMLIO::DoIO(const char* name, std::string& value)
{
    if (!m_reading)
        return DoIO(name, value.c_str());
    return ReadText(name, value);
}

bool XMLIO::DoIO(const char* name, bool& value, bool defaultValue)
{
    if (!m_reading)
        return DoIO(name, value ? "true" : "false");
    std::string text;
    if (!ReadText(name, text)) {
        value = false;
        return false;
    }
    value = text.empty() ? defaultValue : EqualNoCase(text.c_str(), "true");
    return true;
}

namespace {

// The digits a stream writes for the number at that precision ("%g" form), appended without
// setting a stream up for each of the many numbers a save file holds.
void AppendNumber(std::string& text, double value, int precision)
{
    char digits[64];
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general,
                      precision < 0 ? 6 : precision);
    text.append(digits, written.ptr);
}

}  // namespace

bool XMLIO::WriteNumber(const char* name, double value, int precision)
{
    std::string text;
    AppendNumber(text, value, precision);
    return DoIO(name, text.c_str());
}

// The number at the start of a text, read as a stream reads it but without setting one up for
// each of the many numbers a document holds: blanks skipped, an optional sign, then the
// longest run that makes a number. Nothing readable, a number out of range, an exponent without
// digits, or a word (nan, inf) that a stream does not take is no number.
template <typename T>
static bool ParseLeadingNumber(const char* text, T& value)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    if (text[0] == '+' && text[1] != '-')
        ++text;
    const char* digits = *text == '-' ? text + 1 : text;
    if (!std::isdigit(static_cast<unsigned char>(*digits)) &&
        (std::is_integral<T>::value || *digits != '.'))
        return false;
    const std::from_chars_result read = std::from_chars(text, text + std::strlen(text), value);
    if (read.ec != std::errc())
        return false;
    // A stream takes "1e" or "1e+" whole and then refuses it; the reader stops before it.
    return std::is_integral<T>::value || (*read.ptr != 'e' && *read.ptr != 'E');
}

// Numbers share one reading path: absent or unreadable text leaves 0.
template <typename T>
static bool ReadNumber(XMLIO& xmlio, const char* name, T& value)
{
    value = 0;
    std::string text;
    if (!xmlio.DoIO(name, text))
        return false;
    T read = 0;
    if (ParseLeadingNumber(text.c_str(), read))
        value = read;
    return true;
}

bool XMLIO::DoIO(const char* name, int& value)
{
    // The same digits as a stream writes, without setting up a stream for each of the many
    // whole numbers a journal writes.
    if (!m_reading) {
        char digits[16];
        const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
        if (m_stream && name && !m_state->current.IsEmpty()) {
            m_stream->SetAttribute(name, digits, static_cast<size_t>(written.ptr - digits));
            return true;
        }
        *written.ptr = '\0';
        return DoIO(name, digits);
    }
    return ReadNumber(*this, name, value);
}

bool XMLIO::DoIO(const char* name, double& value, int precision)
{
    if (!m_reading)
        return WriteNumber(name, value, precision);
    return ReadNumber(*this, name, value);
}

bool XMLIO::DoIO(const char* name, Position& value)
{
    if (!m_reading) {
        std::string text;
        for (double coordinate : {value.x, value.y, value.z}) {
            if (!text.empty())
                text += ' ';
            AppendNumber(text, coordinate, 16);
        }
        return DoIO(name, text.c_str());
    }
    value = Position(0, 0, 0);
    std::string text;
    if (!DoIO(name, text))
        return false;
    std::istringstream stream(text);
    double xyz[3] = {0, 0, 0};
    for (double& coordinate : xyz)
        if (!(stream >> coordinate)) {
            coordinate = 0;
            break;
        }
    value = Position(xyz);
    return true;
}

XMLErrorCode XMLIO::GetError(int objectId) const
{
    auto found = m_errors.find(objectId);
    return found == m_errors.end() ? XMLErrorCodeNone : found->second;
}

int XMLIO::ParseIdReference(const char* text)
{
    if (!text)
        return 0;
    while (*text && !std::isdigit(static_cast<unsigned char>(*text)))
        ++text;
    long long id = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        id = id * 10 + (*text - '0');
        // An id beyond the int range names no object; it must not wrap into one that does.
        if (id > 0x7fffffff)
            return 0;
    }
    return static_cast<int>(id);
}

bool XMLIO::DoIOIDReference(const char* name, int& id)
{
    if (!m_reading)
        return DoIO(name, id ? ("id" + std::to_string(id)).c_str() : "null");
    id = 0;
    std::string text;
    if (!DoIO(name, text))
        return false;
    id = ParseIdReference(text.c_str());
    return true;
}

bool XMLIO::DoIOID(int& id, bool unique)
{
    const bool checked = unique && !m_journal;
    if (!m_reading) {
        if (id == 0) {
            AddError(0, XMLErrorCodeBadObjectId);
            return false;
        }
        if (checked && !m_seenIds.insert(id).second) {
            AddError(id, XMLErrorCodeBadObjectId);
            return false;
        }
        return DoIOIDReference("id", id);
    }
    if (!DoIOIDReference("id", id))
        return false;
    if (id == 0) {
        AddError(0, XMLErrorCodeBadObjectId);
        return false;
    }
    if (checked && !m_seenIds.insert(id).second) {
        AddError(id, XMLErrorCodeBadObjectId);
        id = 0;
        return false;
    }
    return true;
}

bool XMLIO::DoIOObjectReferences(const char* elementName, const char* attributeName,
                                 std::vector<int>& ids)
{
    if (!m_reading) {
        for (int id : ids) {
            if (!BeginElement(elementName))
                return false;
            const bool written = DoIOIDReference(attributeName, id);
            EndElement(true);
            if (!written)
                return false;
        }
        return true;
    }
    ids.clear();
    while (BeginElement(elementName, -1)) {
        int id = 0;
        const bool read = DoIOIDReference(attributeName, id);
        EndElement(true);
        if (!read)
            return false;
        ids.push_back(id);
    }
    return true;
}

bool XMLIO::DoIO(Xform& xform, bool wrapped)
{
    if (!m_reading) {
        if (wrapped && !BeginElement("Transform"))
            return false;
        double matrix[4][4];
        xform.Get4x4(matrix);
        std::string text;
        for (int column = 0; column < 4; ++column)
            for (int row = 0; row < 4; ++row) {
                if (column || row)
                    text += ' ';
                AppendNumber(text, matrix[row][column], 16);
            }
        const bool written = DoIO(nullptr, text.c_str());
        if (wrapped)
            EndElement(true);
        return written;
    }
    xform.SetIdentity();
    if (wrapped && !BeginElement("Transform", -1))
        return true;
    std::string text;
    const bool read = DoIO(nullptr, text);
    if (read) {
        double matrix[4][4] = {};
        std::istringstream stream(text);
        for (int column = 0; column < 4 && stream; ++column)
            for (int row = 0; row < 4; ++row)
                if (!(stream >> matrix[row][column])) {
                    matrix[row][column] = 0;
                    break;
                }
        xform.SetFrom4x4(matrix);
    }
    if (wrapped)
        EndElement(true);
    return read;
}

namespace {

long long IdAndIndexKey(int id, int index)
{
    return (static_cast<long long>(id) << 32) | static_cast<unsigned>(index);
}

}  // namespace

XMLBodyMap& XMLIO::CurrentBodyMap()
{
    if (m_bodyIdContexts.empty())
        m_bodyIdContexts.emplace_back();
    return m_bodyIdContexts.back();
}

void XMLIO::BeginBodyIdContext() { m_bodyIdContexts.emplace_back(); }

void XMLIO::EndBodyIdContext()
{
    if (!m_bodyIdContexts.empty())
        m_bodyIdContexts.pop_back();
}

bool XMLIO::AddToBodyMap(int body, int id, int index, bool isVirtualGeomPart)
{
    XMLBodyMap& map = CurrentBodyMap();
    const auto added = map.byIdAndIndex.emplace(IdAndIndexKey(id, index), map.records.size());
    if (!added.second)
        return map.records[added.first->second].body == body;
    map.firstOfBody.emplace(body, map.records.size());
    map.records.push_back({body, isVirtualGeomPart, id, index});
    map.largestId = id > map.largestId ? id : map.largestId;
    return true;
}

bool XMLIO::FindBodyIDAndIndex(int body, int& id, int& index)
{
    const XMLBodyMap& map = CurrentBodyMap();
    const auto found = map.firstOfBody.find(body);
    if (found == map.firstOfBody.end()) {
        id = 0;
        index = 0;
        return false;
    }
    id = map.records[found->second].id;
    index = map.records[found->second].index;
    return true;
}

int XMLIO::FindBodyByIdAndIndex(int id, int index, bool* isVirtualGeomPart)
{
    const XMLBodyMap& map = CurrentBodyMap();
    const auto found = map.byIdAndIndex.find(IdAndIndexKey(id, index));
    if (found == map.byIdAndIndex.end())
        return 0;
    const XMLBodyRecord& record = map.records[found->second];
    if (isVirtualGeomPart)
        *isVirtualGeomPart = record.isVirtualGeomPart;
    return record.body;
}

int XMLIO::FindNextBodyId() { return CurrentBodyMap().largestId + 1; }

}  // namespace QEL
