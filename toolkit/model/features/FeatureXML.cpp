// The feature's element of the save file and the journal, and its entry in the feature dump.
#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"
#include "model/features/Feature.h"
#include "model/features/FeatureDump.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"

#include <cstdio>

namespace QEL {

namespace {

// One "AppData" child: its type, key and value.
bool DoIOAppDatum(XMLIO& xmlio, std::string& type, int& key, std::string& value)
{
    if (!xmlio.BeginElement("AppData"))
        return false;
    const bool done =
        xmlio.DoIO("type", type) && xmlio.DoIO("id", key) && xmlio.DoIO("value", value);
    xmlio.EndElement(true);
    return done;
}

std::string FormatDouble(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.16g", value);
    return text;
}

}  // namespace

bool Feature::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    Interaction* interaction = GetInteraction();
    const bool reading = xmlio.IsReading();
    bool done = DoIOID(xmlio);
    // The type comes before the lists: adding the references read depends on it.
    done =
        done && xmlio.DoIOEnum("featureType", m_FeatureType, &FeatureTypeToString,
                               static_cast<FeatureType (*)(const char*)>(&FeatureTypeFromString));
    if (done && reading && m_FeatureType == FeatureTypeNone)
        m_FeatureType = FeatureTypeSimple;

    if (!reading) {
        done = done && DoIOReferencePtrs(xmlio, "FeatureRef", m_References, interaction) &&
               DoIOReferencePtrs(xmlio, "FeatureProfileRef", m_ProfileReferences, interaction) &&
               DoIOReferencePtrs(xmlio, "FeatureDependentRef", m_Dependents, interaction);
    } else {
        // Null entries (id 0) are not taken up: there is nothing to link.
        std::vector<Reference*> read;
        done = done && DoIOReferencePtrs(xmlio, "FeatureRef", read, interaction);
        if (done)
            for (Reference* reference : read)
                if (reference)
                    AddReference(reference);
        done = done && DoIOReferencePtrs(xmlio, "FeatureProfileRef", read, interaction);
        if (done)
            for (Reference* reference : read)
                if (reference)
                    AddProfileReference(reference);
        done = done && DoIOReferencePtrs(xmlio, "FeatureDependentRef", read, interaction);
        if (done)
            for (Reference* reference : read)
                if (reference)
                    AddDependents(reference);
    }

    std::string identifier = m_AppIdentifier;
    done = done && xmlio.DoIO("appIdentifier", identifier);
    if (done && reading && !identifier.empty())
        SetAppIdentifier(identifier.c_str());
    done = done && xmlio.DoIO("updateRequired", m_UpdateRequired, false);
    bool pristine = IsPristine();
    bool consumed = HasConsumedFaces();
    done = done && xmlio.DoIO("isPristine", pristine, false) &&
           xmlio.DoIO("hasConsumedFaces", consumed, false);
    if (done && reading)
        m_Flags = (pristine ? s_pristineFlag : 0) | (consumed ? s_consumedFacesFlag : 0);

    if (done && !reading) {
        for (auto& entry : m_AppDataIntegers) {
            std::string type = "int";
            int key = entry.first;
            std::string value = std::to_string(entry.second);
            done = done && DoIOAppDatum(xmlio, type, key, value);
        }
        for (auto& entry : m_AppDataDoubles) {
            std::string type = "double";
            int key = entry.first;
            std::string value = FormatDouble(entry.second);
            done = done && DoIOAppDatum(xmlio, type, key, value);
        }
    } else if (done) {
        const int count = xmlio.GetChildElementCount("AppData");
        for (int i = 0; done && i < count; ++i) {
            std::string type, value;
            int key = 0;
            done = DoIOAppDatum(xmlio, type, key, value);
            if (!done)
                break;
            if (type == "int")
                m_AppDataIntegers[key] = std::atoi(value.c_str());
            else if (type == "double")
                m_AppDataDoubles[key] = std::strtod(value.c_str(), nullptr);
            else
                done = false;
        }
    }
    xmlio.EndElement(true);
    return done;
}

void Feature::Dump(const char* title)
{
    FILE* file = OpenFeatureDump();
    if (!file)
        return;
    std::fprintf(file, "\n%s\n", title ? title : "");
    std::fprintf(file, "Feature Tag: %d\n", GetTag());
    std::fprintf(file, "Feature Type: %d\n", static_cast<int>(m_FeatureType));
    std::fprintf(file, "UpdateRequired: %s\n", m_UpdateRequired ? "yes" : "no");
    std::fprintf(file, "IsPristine: %s\n", IsPristine() ? "yes" : "no");
    std::fprintf(file, "HasConsumedFaces: %s\n", HasConsumedFaces() ? "yes" : "no");
    const std::pair<const char*, const std::vector<Reference*>*> lists[] = {
        {"References", &m_References},
        {"ProfileReferences", &m_ProfileReferences},
        {"Dependents", &m_Dependents},
    };
    for (const auto& list : lists) {
        if (list.second->empty())
            continue;
        std::fprintf(file, "%s Tags (Count %d): ", list.first,
                     static_cast<int>(list.second->size()));
        for (Reference* reference : *list.second)
            if (reference)
                std::fprintf(file, "%d ", reference->GetTag());
        std::fprintf(file, "\n%s BK Tags        : ", list.first);
        for (Reference* reference : *list.second)
            if (reference)
                std::fprintf(file, "%d ", reference->GetEntityTag());
        std::fprintf(file, "\n%s BK Ids         : ", list.first);
        for (Reference* reference : *list.second)
            if (reference)
                std::fprintf(file, "%d ", GetEntityIdentifier(reference->GetEntityTag()));
        std::fprintf(file, "\n");
    }
    std::fprintf(file, "m_ProcedureMapDataTag : %d\n", m_ProcedureMapDataTag);
    std::fprintf(file, "m_tProcedureToolBody: %d\n", m_tProcedureToolBody);
    std::fprintf(file, "m_CutMapDataTag : %d\n", m_CutMapDataTag);
    std::fprintf(file, "m_tCutToolBody : %d\n", m_tCutToolBody);
    std::fprintf(file, "m_tMainBody : %d\n", m_tMainBody);
    std::fprintf(file, "\n");
    std::fclose(file);
    if (MappingData* procedureMapping = GetProcedureMapData())
        procedureMapping->Dump();
    if (MappingData* cutMapping = GetCutMapData())
        cutMapping->Dump();
}

}  // namespace QEL
