// Writing a whole interaction into an XML document and building a new one from it: the
// options, the bodies as parts, the selected references, every object in its class's place of
// the load order, and the application's feature data.
#include "core/persist/XMLData.h"

#include "core/enums/EnumNames.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/persist/XMLIO.h"
#include "core/tracking/TrackingManager.h"

#include <brennik.h>
#include <hxr.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

namespace QEL {

namespace {

const char* const s_root = "QELXML";
const char* const s_journalRoot = "QELJournal";
const char* const s_interaction = "Interaction";
const char* const s_part = "Part";
const char* const s_namedPartPrefix = "qel_part_data:";
const double s_defaultModellingTolerance = 1e-6;

template <typename E>
bool DoIOEnumOption(XMLIO& xmlio, const char* name, E& value, const char* (*toString)(E),
                    E (*fromString)(const char*))
{
    return xmlio.DoIOEnum(name, value, toString, fromString);
}

// A bool whose absence reads as the given value.
bool DoIOBoolOption(XMLIO& xmlio, const char* name, bool& value, bool absent)
{
    return xmlio.DoIO(name, value, absent);
}

void DeleteBodies(const std::vector<int>& bodies)
{
    for (int body : bodies)
        if (IsEntity(body))
            DeleteEntity(body);
}

}  // namespace

// ---- Parts ---------------------------------------------------------------------------------

void XMLPartRecord::Clear()
{
    m_bodies.clear();
    m_name.clear();
    m_newPartition = false;
    m_isVirtualGeomPart = false;
}

bool XMLPartRecord::DoIO(XMLIO& xmlio)
{
    const bool reading = xmlio.IsReading();
    if (reading)
        Clear();
    if (!xmlio.BeginElement(s_part))
        return false;
    bool done = xmlio.DoIOID(m_ID, false);
    if (done && (reading || m_newPartition))
        done = xmlio.DoIO("newPartition", m_newPartition, false);
    if (done && (reading || !m_name.empty()))
        done = xmlio.DoIO("name", m_name);
    if (done && (reading || m_isVirtualGeomPart))
        done = xmlio.DoIO("isVirtualGeomPart", m_isVirtualGeomPart, false);
    if (done && m_name.empty()) {
        if (reading) {
            const int previous = GetCurrentPartition();
            if (m_newPartition)
                SetCurrentPartition(CreateEmptyPartition());
            int body = 0;
            if (xmlio.DoIOBody(body, m_isVirtualGeomPart))
                m_bodies.push_back(body);
            else
                xmlio.AddError(m_ID, XMLErrorCodePartBodyUnreadable);
            SetCurrentPartition(previous);
            done = !m_bodies.empty();
        } else {
            done = m_bodies.size() == 1 && xmlio.DoIOBody(m_bodies[0], false);
        }
        if (done)
            done = xmlio.AddToBodyMap(m_bodies[0], m_ID, 0, m_isVirtualGeomPart);
    }
    xmlio.EndElement(true);
    return done;
}

// ---- Saving --------------------------------------------------------------------------------

bool XMLData::SaveToFile(Interaction* interaction, const char* path)
{
    if (!interaction)
        return false;
    // Resolved once, before anything is written: the working directory is never changed.
    std::string fullPath;
    if (!MakeAbsolutePath(path, fullPath))
        return false;
    XMLIO xmlio(s_root, false);
    return SaveToXML(interaction, xmlio) && xmlio.Save(fullPath.c_str());
}

bool XMLData::SaveToXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!interaction)
        return false;
    const bool journal = xmlio.IsJournal();
    const bool opened = !journal && xmlio.BeginElement(s_interaction);
    bool done = journal || opened;
    int lastEntityId = interaction->GetEntityIdCounter();
    done = done && xmlio.DoIO("lastEntityId", lastEntityId);
    if (done && journal) {
        int markCount = interaction->GetMarkCount();
        if (markCount > 0)
            done = xmlio.DoIO("markCount", markCount);
    }
    done = done && DoIOOptions(interaction, xmlio) && DoIOTrackingOptions(interaction, xmlio);
    done = done && WriteParts(interaction, xmlio);
    done = done && DoIOSelectedReferences(interaction, xmlio);
    done =
        done && interaction->GetRelationFinder() && interaction->GetRelationFinder()->DoIO(xmlio);
    // The objects are written even after a failure, so that their errors are reported too.
    done = WriteObjects(interaction, xmlio) && done;
    if (done)
        DoIOAppFeatureData(interaction, xmlio);
    CopyErrors(xmlio);
    if (opened)
        xmlio.EndElement(true);
    return done;
}

bool XMLData::DoIOOptions(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.BeginElement("Options"))
        return false;
    Interaction& in = *interaction;
    bool done =
        DoIOBoolOption(xmlio, "checkArguments", in.m_checkArguments,
                       Interaction::GetCheckArgumentsDefault()) &&
        DoIOBoolOption(xmlio, "exactDragging", in.m_exactDragging, true) &&
        DoIOEnumOption<StepFaceType>(xmlio, "stepFaceType", in.m_stepFaceType,
                                     &StepFaceTypeToString, &StepFaceTypeFromString) &&
        DoIOEnumOption<PreviewMode>(xmlio, "previewMode", in.m_previewMode, &PreviewModeToString,
                                    &PreviewModeFromString) &&
        DoIOEnumOption<SolutionDataMode>(xmlio, "solutionDataMode", in.m_solutionDataMode,
                                         &SolutionDataModeToString, &SolutionDataModeFromString) &&
        DoIOBoolOption(xmlio, "adaptiveLiftMode", in.m_adaptiveLiftMode, false) &&
        DoIOBoolOption(xmlio, "includeMutuallyDependentBlends", in.m_includeMutuallyDependentBlends,
                       in.m_includeMutuallyDependentBlends);
    if (done) {
        // An absent tolerance is the default one: a tolerance of 0 would make every
        // comparison of the interaction exact.
        std::string text;
        done = !xmlio.IsReading() || xmlio.DoIO("modellingTolerance", text);
        if (done && xmlio.IsReading() && text.empty())
            in.m_modellingTolerance = s_defaultModellingTolerance;
        else if (done)
            done = xmlio.DoIO("modellingTolerance", in.m_modellingTolerance, 16);
    }
    xmlio.EndElement(true);
    return done;
}

bool XMLData::DoIOTrackingOptions(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.BeginElement("TrackingManager"))
        return false;
    bool track = interaction->GetTrackChanges();
    bool merge = interaction->GetTrackingMergeCallbackData();
    bool report = interaction->GetTrackingReportUpdateData();
    const bool done = DoIOBoolOption(xmlio, "trackChanges", track, true) &&
                      DoIOBoolOption(xmlio, "mergeCallbackData", merge, false) &&
                      DoIOBoolOption(xmlio, "reportUpdateData", report, false);
    if (done && xmlio.IsReading()) {
        interaction->SetTrackChanges(track);
        interaction->SetTrackingMergeCallbackData(merge);
        interaction->SetTrackingReportUpdateData(report);
    }
    xmlio.EndElement(true);
    return done;
}

// Orphan points, lines and planes first (each as a virtual geometry part), then every live
// seen body; a body the journal has numbered already keeps its number.
bool XMLData::WriteParts(Interaction* interaction, XMLIO& xmlio)
{
    std::vector<int> geometry;
    std::vector<int> orphans;
    interaction->CollectDatumEntities(geometry, orphans);
    for (int orphan : orphans) {
        XMLPartRecord record(true);
        record.m_ID = xmlio.FindNextBodyId();
        record.m_bodies.push_back(orphan);
        if (!record.DoIO(xmlio))
            return false;
    }
    std::vector<int> seen;
    interaction->GetSeenBodies(seen, false);
    for (int body : seen) {
        XMLPartRecord record(false);
        int index = 0;
        if (!xmlio.FindBodyIDAndIndex(body, record.m_ID, index))
            record.m_ID = xmlio.FindNextBodyId();
        record.m_bodies.push_back(body);
        if (!record.DoIO(xmlio))
            return false;
    }
    return true;
}

bool XMLData::DoIOSelectedReferences(Interaction* interaction, XMLIO& xmlio)
{
    const char* const list = "SelectedReferences";
    if (!xmlio.IsReading()) {
        const std::vector<Reference*>& selected = interaction->GetSelectedReferences();
        if (selected.empty())
            return true;
        if (!xmlio.BeginElement(list))
            return false;
        bool done = true;
        for (Reference* reference : selected) {
            if (!xmlio.BeginElement("SelRef"))
                return false;
            int id = UpcastEntity(reference)->GetEntityId();
            done = xmlio.DoIOIDReference("referenceRef", id);
            xmlio.EndElement(true);
            if (!done)
                break;
        }
        xmlio.EndElement(true);
        return done;
    }
    if (xmlio.GetChildElementCount(list) == 0)
        return true;
    if (!xmlio.BeginElement(list))
        return false;
    bool done = true;
    const int count = xmlio.GetChildElementCount("SelRef");
    for (int i = 0; i < count && done; ++i) {
        done = xmlio.BeginElement("SelRef");
        int id = 0;
        done = done && xmlio.DoIOIDReference("referenceRef", id);
        if (done) {
            Reference* reference = DowncastEntity<Reference>(interaction->FindTaggedEntityById(id));
            done = reference && interaction->AddSelectedReference(reference);
            if (!done)
                xmlio.AddError(id, XMLErrorCodeBadObjectId);
        }
        xmlio.EndElement(true);
    }
    xmlio.EndElement(true);
    return done;
}

bool XMLData::WriteObjects(Interaction* interaction, XMLIO& xmlio)
{
    std::vector<SerializableObject*> objects;
    if (TagManager* manager = interaction->GetTagManager())
        for (TaggedEntity* entity : manager->GetTaggedEntities())
            if (SerializableObject* object = dynamic_cast<SerializableObject*>(entity))
                objects.push_back(object);
    std::sort(objects.begin(), objects.end(), [](SerializableObject* a, SerializableObject* b) {
        if (a->GetType() != b->GetType())
            return a->GetType() < b->GetType();
        return a->GetEntityId() < b->GetEntityId();
    });
    for (SerializableObject* object : objects)
        if (!object->DoIO(xmlio))
            return false;
    return true;
}

// Application values per add-on feature, found again by the feature's identifier in its
// body. The identifiers are checked against each other only: they are not entity ids, so an
// entity with the same number takes nothing from them.
void XMLData::DoIOAppFeatureData(Interaction* interaction, XMLIO& xmlio)
{
    const char* const element = "AppFeatureData";
    std::set<int> identifiers;
    auto& data = interaction->m_appFeatureData;
    if (!xmlio.IsReading()) {
        for (const auto& entry : data) {
            if (!xmlio.BeginElement(element))
                return;
            int identifier = GetFeatureIdentifier(entry.first);
            const bool unique = identifier != 0 && identifiers.insert(identifier).second;
            if (!unique)
                xmlio.AddError(identifier, XMLErrorCodeBadObjectId);
            bool done = unique && xmlio.DoIOID(identifier, false);
            int partId = 0;
            int bodyIndex = 0;
            done = done &&
                   xmlio.FindBodyIDAndIndex(GetOwningBody(entry.first), partId, bodyIndex) &&
                   xmlio.DoIOIDReference("partRef", partId) && xmlio.DoIO("bodyIndex", bodyIndex);
            for (auto value = entry.second.begin(); done && value != entry.second.end(); ++value) {
                done = xmlio.BeginElement("Data");
                std::string name = value->first;
                double number = value->second;
                done = done && xmlio.DoIO("name", name) && xmlio.DoIO("value", number, 16);
                xmlio.EndElement(true);
            }
            xmlio.EndElement(true);
        }
        return;
    }
    const int count = xmlio.GetChildElementCount(element);
    for (int i = 0; i < count; ++i) {
        if (!xmlio.BeginElement(element))
            return;
        int identifier = 0;
        int partId = 0;
        int bodyIndex = 0;
        bool done = xmlio.DoIOID(identifier, false);
        if (done && !identifiers.insert(identifier).second) {
            xmlio.AddError(identifier, XMLErrorCodeBadObjectId);
            done = false;
        }
        done =
            done && xmlio.DoIOIDReference("partRef", partId) && xmlio.DoIO("bodyIndex", bodyIndex);
        const int body = done ? xmlio.FindBodyByIdAndIndex(partId, bodyIndex) : 0;
        if (done && body == 0)
            xmlio.AddError(identifier, XMLErrorCodeBodyNotInMap);
        std::vector<int> features;
        if (body != 0) {
            const HXR_PART_find_feats_o_s options{1, identifier};
            FindPartFeatures(body, &options, &features);
        }
        if (features.size() == 1) {
            const int values = xmlio.GetChildElementCount("Data");
            for (int v = 0; v < values; ++v) {
                if (!xmlio.BeginElement("Data"))
                    break;
                std::string name;
                double number = 0.0;
                if (xmlio.DoIO("name", name) && xmlio.DoIO("value", number, 16))
                    data[features[0]][name] = number;
                xmlio.EndElement(true);
            }
        }
        xmlio.EndElement(true);
    }
}

void XMLData::CopyErrors(const XMLIO& xmlio)
{
    for (const auto& error : xmlio.GetErrors())
        m_errors.insert(error);
}

// ---- Loading -------------------------------------------------------------------------------

bool XMLData::ReceivePartFile(XMLPartRecord& record)
{
    std::string path;
    if (record.m_name.find(s_namedPartPrefix) != std::string::npos)
        path = record.m_name;
    else if (!MakeAbsolutePath(record.m_name.c_str(), path, m_directory.c_str()))
        path.clear();
    // The kernel adds the extension of the format itself.
    const size_t point = path.rfind('.');
    const size_t separator = path.find_last_of("/\\");
    if (point != std::string::npos && (separator == std::string::npos || point > separator))
        path.erase(point);
    // Only a plain file is read: a name of a device or a folder would never give a part, and
    // reading some devices never ends.
    std::error_code error;
    const std::string file = path + ".b_t";
    if (record.m_name.find(s_namedPartPrefix) == std::string::npos &&
        !std::filesystem::is_regular_file(file, error))
        path.clear();
    const int previous = GetCurrentPartition();
    if (record.m_newPartition && !path.empty())
        SetCurrentPartition(CreateEmptyPartition());
    const BQ_PART_receive_o_t options{1, BQ_PART_format_text, true};
    int count = 0;
    int* parts = nullptr;
    const bool received = !path.empty() && BQ_PART_receive(path.c_str(), &options, &count,
                                                           &parts) == BQ_ERROR_no_errors;
    SetCurrentPartition(previous);
    if (!received) {
        BQ_MEMORY_free(parts);
        m_errors[record.m_ID] = XMLErrorCodePartBodyUnreadable;
        return false;
    }
    for (int i = 0; i < count; ++i) {
        StripQELAttributeDefinitions(parts[i]);
        record.m_bodies.push_back(parts[i]);
    }
    BQ_MEMORY_free(parts);
    return true;
}

// Every part's bodies enter the body map; the kernel bodies become seen bodies of the new
// interaction, the virtual parts' geometries stay free. Everything received is listed in
// received, so that a failed load can take it all back.
bool XMLData::ReadParts(Interaction* interaction, XMLIO& xmlio, std::vector<int>& received)
{
    const int count = xmlio.GetChildElementCount(s_part);
    for (int i = 0; i < count; ++i) {
        XMLPartRecord record(false);
        const bool read = record.DoIO(xmlio) && (record.m_name.empty() || ReceivePartFile(record));
        received.insert(received.end(), record.m_bodies.begin(), record.m_bodies.end());
        if (!read)
            return false;
        for (size_t index = 0; index < record.m_bodies.size(); ++index) {
            const int body = record.m_bodies[index];
            if (!xmlio.AddToBodyMap(body, record.m_ID, static_cast<int>(index),
                                    record.m_isVirtualGeomPart))
                return false;
            if (!record.m_isVirtualGeomPart && GetEntityClass(body) == KernelClassBody)
                interaction->AddSeenBody(body);
        }
    }
    return true;
}

bool XMLData::LoadObjects(Interaction* interaction, XMLIO& xmlio)
{
    return LoadObjectsOfStage(ObjectLoadStage::BeforeFinder, interaction, xmlio) &&
           interaction->GetRelationFinder() && interaction->GetRelationFinder()->DoIO(xmlio) &&
           LoadObjectsOfStage(ObjectLoadStage::AfterFinder, interaction, xmlio);
}

Interaction* XMLData::CreateInteractionFromXML(XMLIO& xmlio)
{
    m_errors.clear();
    const bool journal = xmlio.IsJournal();
    const bool entered = !journal && xmlio.BeginElement(s_interaction);
    if (!journal && !entered) {
        m_errors[0] = XMLErrorCodeObjectMissing;
        return nullptr;
    }
    Interaction* interaction = new Interaction(CreateTypeLive);
    std::vector<int> received;
    bool done = ReadParts(interaction, xmlio, received);
    if (done) {
        DoIOOptions(interaction, xmlio);
        DoIOTrackingOptions(interaction, xmlio);
        done = LoadObjectsOfStage(ObjectLoadStage::BeforeSelection, interaction, xmlio) &&
               DoIOSelectedReferences(interaction, xmlio) && LoadObjects(interaction, xmlio);
    }
    CopyErrors(xmlio);
    if (!done || ErrorsExist()) {
        // Nothing of a failed load stays: the interaction and everything received for it.
        std::vector<int> seen;
        interaction->GetSeenBodies(seen, false);
        interaction->Destroy();
        DeleteBodies(seen);
        DeleteBodies(received);
        if (entered)
            xmlio.EndElement(true);
        return nullptr;
    }
    int lastEntityId = 0;
    xmlio.DoIO("lastEntityId", lastEntityId);
    interaction->FixEntityIdsAfterLoad(lastEntityId);
    if (journal) {
        // The journal's later calls name the marks by number: they must exist again.
        int markCount = 0;
        xmlio.DoIO("markCount", markCount);
        for (int i = 0; i < markCount; ++i)
            interaction->CreateMark();
    }
    DoIOAppFeatureData(interaction, xmlio);
    CopyErrors(xmlio);
    if (entered)
        xmlio.EndElement(true);
    return interaction;
}

Interaction* XMLData::CreateInteractionFromFile(const char* path)
{
    m_errors.clear();
    std::string fullPath;
    if (!MakeAbsolutePath(path, fullPath))
        return nullptr;
    SplitPath(fullPath.c_str(), &m_directory, nullptr, nullptr);
    {
        XMLIO xmlio(s_root, false);
        if (xmlio.Load(fullPath.c_str(), s_root))
            return CreateInteractionFromXML(xmlio);
        CopyErrors(xmlio);
        const auto first = xmlio.GetErrors().begin();
        if (first == xmlio.GetErrors().end() || first->second != XMLErrorCodeWrongRoot)
            return nullptr;
    }
    XMLIO journal(s_journalRoot, false);
    if (!journal.Load(fullPath.c_str(), s_journalRoot)) {
        CopyErrors(journal);
        return nullptr;
    }
    m_errors.clear();
    return CreateInteractionFromJournal(journal);
}

namespace {

// The kernel bodies of the "Body" children of the current element, each added to `bodies` as
// it is received; false at the first that cannot be read.
bool CollectBodies(XMLIO& xmlio, std::vector<int>& bodies)
{
    const int count = xmlio.GetChildElementCount("Body");
    for (int i = 0; i < count; ++i) {
        int body = 0;
        const bool read = xmlio.DoIOBody(body, false);
        if (body != 0 && IsEntity(body))
            bodies.push_back(body);
        if (!read)
            return false;
    }
    return true;
}

}  // namespace

// A journal as input: the interaction of its first snapshot, then every body its calls carry.
// A body that cannot be read fails the whole load, and a failed load takes back everything it
// received: the kernel holds the same bodies afterwards as before.
Interaction* XMLData::CreateInteractionFromJournal(XMLIO& xmlio)
{
    Interaction* interaction = nullptr;
    if (xmlio.GetChildElementCount(s_interaction) > 0) {
        interaction = CreateInteractionFromXML(xmlio);
        if (!interaction)
            return nullptr;
    }
    std::vector<int> received;
    bool done = true;
    const int functions = xmlio.GetChildElementCount("Function");
    for (int f = 0; done && f < functions; ++f) {
        if (!xmlio.BeginElement("Function"))
            break;
        const size_t first = received.size();
        done = CollectBodies(xmlio, received);
        const int arguments = xmlio.GetChildElementCount("Argument");
        for (int a = 0; done && a < arguments; ++a) {
            if (!xmlio.BeginElement("Argument"))
                break;
            done = CollectBodies(xmlio, received);
            xmlio.EndElement(true);
        }
        xmlio.EndElement(true);
        if (!done)
            break;
        for (size_t i = first; i < received.size(); ++i) {
            if (GetEntityClass(received[i]) != KernelClassBody)
                continue;
            if (!interaction)
                interaction = new Interaction(CreateTypeLive);
            interaction->AddSeenBody(received[i]);
        }
    }
    if (!done) {
        m_errors[0] = XMLErrorCodePartBodyUnreadable;
        std::vector<int> seen;
        if (interaction) {
            interaction->GetSeenBodies(seen, false);
            interaction->Destroy();
        }
        DeleteBodies(seen);
        DeleteBodies(received);
        return nullptr;
    }
    return interaction;
}

// ---- The interaction's side ----------------------------------------------------------------

bool Interaction::SaveToFile(const char* path)
{
    XMLData data;
    return data.SaveToFile(this, path);
}

Interaction* Interaction::CreateFromFile(const char* path)
{
    XMLData data;
    return data.CreateInteractionFromFile(path);
}

bool WriteInteractionContent(Interaction* interaction, XMLIO& xmlio)
{
    XMLData data;
    return data.SaveToXML(interaction, xmlio);
}

}  // namespace QEL
