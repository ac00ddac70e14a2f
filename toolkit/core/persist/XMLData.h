#pragma once
// The interaction save file: one XML document holding a whole interaction (its options, its
// kernel bodies, its selected references, every object in a fixed order and the application's
// feature data), and the same content inside a journal's "Interaction" snapshots.

#include "core/xml/XMLErrorCode.h"

#include <map>
#include <string>
#include <vector>

namespace QEL {

class Interaction;
class XMLIO;

// One "Part": kernel bodies inline (one "Body" of base64 transmit data) or named (a kernel
// transmit file, resolved against the save file's directory).
class XMLPartRecord {
public:
    explicit XMLPartRecord(bool isVirtualGeomPart) : m_isVirtualGeomPart(isVirtualGeomPart) {}
    ~XMLPartRecord() = default;

    void Clear();
    void SetName(const std::string& name) { m_name = name; }
    std::vector<int>& GetBodies() { return m_bodies; }
    bool GetIsVirtualGeomPart() const { return m_isVirtualGeomPart; }
    // Writes or reads the element; an inline part's body goes into the body map under ID.
    bool DoIO(XMLIO& xmlio);

    int m_ID = 0;
    std::string m_name;
    bool m_newPartition = false;
    std::vector<int> m_bodies;
    bool m_isVirtualGeomPart;
};

class XMLData {
public:
    XMLData() = default;
    ~XMLData() = default;

    bool SaveToFile(Interaction* interaction, const char* path);
    // In a journal's XMLIO the caller has opened the "Interaction" record already.
    bool SaveToXML(Interaction* interaction, XMLIO& xmlio);
    Interaction* CreateInteractionFromFile(const char* path);
    Interaction* CreateInteractionFromXML(XMLIO& xmlio);

    bool ErrorsExist() const { return !m_errors.empty(); }
    const std::map<int, XMLErrorCode>& GetErrors() const { return m_errors; }

private:
    bool DoIOOptions(Interaction* interaction, XMLIO& xmlio);
    bool DoIOTrackingOptions(Interaction* interaction, XMLIO& xmlio);
    bool WriteParts(Interaction* interaction, XMLIO& xmlio);
    bool ReadParts(Interaction* interaction, XMLIO& xmlio, std::vector<int>& setAside);
    bool ReceivePartFile(XMLPartRecord& record);
    bool DoIOSelectedReferences(Interaction* interaction, XMLIO& xmlio);
    bool WriteObjects(Interaction* interaction, XMLIO& xmlio);
    bool LoadObjects(Interaction* interaction, XMLIO& xmlio);
    void DoIOAppFeatureData(Interaction* interaction, XMLIO& xmlio);
    Interaction* CreateInteractionFromJournal(XMLIO& xmlio);
    void CopyErrors(const XMLIO& xmlio);

    std::map<int, XMLErrorCode> m_errors;
    std::string m_directory;
};

}  // namespace QEL
