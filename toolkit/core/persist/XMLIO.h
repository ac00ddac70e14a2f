#pragma once
// The symmetric serializer: one object either writes or reads an XML document, and every
// DoIO call serves both directions with the same arguments, so each persistent class has a
// single routine for saving and loading.

#include "core/frame/QelExport.h"
#include "core/maths/Position.h"
#include "core/maths/Xform.h"
#include "core/xml/XMLErrorCode.h"
#include "core/xml/XMLOutput.h"
#include "core/xml/XMLPreparedStart.h"
#include "core/xml/XMLTreeNode.h"

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace QEL {

class XMLStreamWriter;

// One body known under an (id, index) pair; for a virtual geometry part the body is the
// point, line or plane itself.
struct XMLBodyRecord {
    int body = 0;
    bool isVirtualGeomPart = false;
    int id = 0;
    int index = 0;
};

// The bodies of one body id context, found by body and by (id, index) without a search, so
// that a document's many bodies cost each lookup the same. The first record of a body is
// the one its lookups give.
struct XMLBodyMap {
    std::vector<XMLBodyRecord> records;
    std::unordered_map<int, size_t> firstOfBody;
    std::unordered_map<long long, size_t> byIdAndIndex;
    int largestId = 0;
};

// The document and the reading cursor: per entered element, the position just after the last
// child of each name entered.
struct XMLIOState {
    XMLTreeNode root;
    XMLTreeNode current;
    std::deque<std::map<std::string, int>> childPositions;
};

class QEL_API XMLIO {
public:
    XMLIO(const char* rootName = "QELXML", bool journal = false);
    // A reader from the start: no document until Load or LoadText gives one, and no header
    // made only to be thrown away by them.
    struct ForReading {};
    XMLIO(ForReading, const char* rootName, bool journal = false);
    ~XMLIO();
    XMLIO(const XMLIO&) = delete;
    XMLIO& operator=(const XMLIO&) = delete;

    // A fresh writing document holding the version header.
    void Clear();
    // Parses a file and switches to reading; errors 14 (unreadable or malformed) and 20
    // (another root element) are recorded under key 0.
    bool Load(const char* path, const char* rootName = nullptr);
    // The same from text in memory.
    bool LoadText(const char* text, const char* rootName = nullptr);
    // Streamed mode: Save writes only the closing root tag; the output stays open.
    bool Save(const char* path);
    // Streamed mode (the journal): writes the declaration, the opening root tag and what the
    // root holds so far; from then on elements are written as text as they are made, with no
    // tree behind them, and each element closed directly under the root goes to the output
    // complete and leaves memory. The output is not owned.
    bool SetOutput(XMLOutput* output);
    // The document as text, as Save would write it (without the declaration).
    std::string ToText() const;

    bool IsReading() const { return m_reading; }
    bool IsJournal() const { return m_journal; }
    const std::string& GetRootName() const { return m_rootName; }

    // Elements. Reading: index >= 0 enters the index-th child of that name, -1 the next one.
    bool BeginElement(const char* name, int index = -1);
    // Writing only: an element begun from a prepared start, as BeginElement followed by DoIO
    // for each of its attributes.
    bool BeginElement(const XMLPreparedStart& start);
    void EndElement(bool multiLine = true);
    // Writing only: an element with no content from a prepared start and one more attribute
    // (none when the value is empty), as BeginElement, DoIO and EndElement(false) write it.
    bool WriteElement(const XMLPreparedStart& start, const char* name, const char* value,
                      std::size_t valueLength);
    int GetChildElementCount(const char* name) const;

    // Writing only.
    bool DoIO(const char* name, const char* value);
    bool DoIO(const char* text);
    bool DoIOName(const char* name);
    void AddNewline();

    // Both directions. A null name means the element's text.
    bool DoIO(const char* name, std::string& value);
    bool DoIO(std::string& value) { return DoIO(nullptr, value); }
    bool DoIOName(std::string& name) { return DoIO("name", name); }
    bool DoIO(const char* name, bool& value, bool defaultValue = false);
    bool DoIO(bool& value) { return DoIO(nullptr, value, false); }
    bool DoIO(const char* name, int& value);
    bool DoIO(int& value) { return DoIO(nullptr, value); }
    bool DoIO(const char* name, double& value, int precision = 16);
    bool DoIO(double& value) { return DoIO(nullptr, value, 16); }
    // Three numbers separated by blanks.
    bool DoIO(const char* name, Position& value);
    // Enumerations by name, through the enumeration's own name table.
    template <typename E>
    bool DoIOEnum(const char* name, E& value, const char* (*toString)(E),
                  E (*fromString)(const char*))
    {
        std::string text;
        if (!m_reading) {
            text = toString(value);
            return DoIO(name, text);
        }
        if (!DoIO(name, text))
            return false;
        value = fromString(text.c_str());
        return true;
    }

    // Object ids: "id" followed by the number, or "null" for 0.
    bool DoIOIDReference(const char* name, int& id);
    // The object's own id in "id"; with unique (and not a journal) an id may appear once.
    bool DoIOID(int& id, bool unique = true);
    bool DoIOObjectReferences(const char* elementName, const char* attributeName,
                              std::vector<int>& ids);
    // A transform as 16 numbers, column by column; wrapped in a "Transform" child.
    bool DoIO(Xform& xform, bool wrapped = true);

    // A kernel part as base64 transmit data in a "Body" child.
    bool DoIOBody(int& body, int& id, bool isVirtualGeomPart);
    bool DoIOBody(int& body, bool isVirtualGeomPart);

    // Body maps.
    void BeginBodyIdContext();
    void EndBodyIdContext();
    bool AddToBodyMap(int body, int id, int index, bool isVirtualGeomPart);
    bool FindBodyIDAndIndex(int body, int& id, int& index);
    int FindBodyByIdAndIndex(int id, int index, bool* isVirtualGeomPart = nullptr);
    int FindNextBodyId();

    // Errors.
    void AddError(int objectId, XMLErrorCode code) { m_errors[objectId] = code; }
    const std::map<int, XMLErrorCode>& GetErrors() const { return m_errors; }
    // The code kept for an object id, XMLErrorCodeNone when there is none.
    XMLErrorCode GetError(int objectId) const;

    // The number in an id text, from its first digit; 0 when there is none.
    static int ParseIdReference(const char* text);

private:
    void Reset();
    bool ReadText(const char* name, std::string& value) const;
    bool WriteNumber(const char* name, double value, int precision);
    XMLBodyMap& CurrentBodyMap();
    void WriteHeader();
    void WriteComponentVersion(const char* name, int major, int minor, int build);
    bool FinishLoad(XMLTreeNode parsed, const XMLParseResult& result, bool wellFormed);
    int WriteBodyData(int& body, bool& isVirtual);
    bool ReadBodyData(int& body, bool isVirtual);
    bool WriteRootContent();

    std::unique_ptr<XMLIOState> m_state;
    bool m_reading = false;
    bool m_journal = false;
    std::string m_rootName;
    std::deque<XMLBodyMap> m_bodyIdContexts;
    std::set<int> m_seenIds;
    std::map<int, XMLErrorCode> m_errors;
    XMLOutput* m_output = nullptr;
    std::unique_ptr<XMLStreamWriter> m_stream;
    // A body's transmit data and its text, kept from one body to the next.
    std::vector<unsigned char> m_bodyBytes;
    std::string m_bodyText;
};

// Kernel faces, edges and vertices as identifier, class name and the owning body's id and
// "bodyIndex" in the current body map.
QEL_API bool DoIOKernelEntity(XMLIO& xmlio, int& entity, const char* elementName,
                              const char* idAttribute, const char* classAttribute,
                              const char* bodyAttribute);
QEL_API bool DoIOKernelEntities(XMLIO& xmlio, const char* elementName, std::vector<int>& tags);

}  // namespace QEL
