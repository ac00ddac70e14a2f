// The relation finder's "RelationFinder" element of the save file: the flags, the reference
// lists, the option entries above level 0, and the found and created objects.
#include "update/finding/RelationFinder.h"

#include "core/enums/EnumNames.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"
#include "core/support/TextUtils.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

namespace QEL {

namespace {

// The most option elements one element can hold: one per entry of the matrix.
constexpr int s_maxOptionElements = 1690;

// An enumeration value read by its name, with or without the type's prefix; false for a name
// that is none of the type's (the parser would read it as the first value).
template <typename E>
bool ParseName(const std::string& text, const char* prefix, const char* (*toString)(E),
               E (*fromString)(const char*), E& value)
{
    value = fromString(text.c_str());
    const char* name = toString(value);
    return name &&
           (IsEqualNoCase(name, text.c_str()) || IsEqualNoCase(name, (prefix + text).c_str()));
}

template <typename T>
T* ObjectOfId(Interaction* interaction, int id)
{
    return interaction && id ? dynamic_cast<T*>(interaction->FindTaggedEntityById(id)) : nullptr;
}

// One element per object with its id; on reading, ids that name no object of the kind are
// left out, so no list ever holds a null.
template <typename T, typename Container>
bool DoIOReferenceList(XMLIO& xmlio, Interaction* interaction, const char* element,
                       const char* attribute, Container& objects)
{
    std::vector<int> ids;
    if (!xmlio.IsReading()) {
        for (const T* object : objects)
            ids.push_back(object->GetEntityId());
        // A set of objects is ordered by address: written by id, one session saves the same text
        // every time. A list keeps the order it was given.
        if constexpr (!std::is_same_v<Container, std::vector<T*>>)
            std::sort(ids.begin(), ids.end());
    }
    if (!xmlio.DoIOObjectReferences(element, attribute, ids))
        return false;
    if (xmlio.IsReading()) {
        objects.clear();
        for (int id : ids)
            if (T* object = ObjectOfId<T>(interaction, id))
                objects.insert(objects.end(), object);
    }
    return true;
}

}  // namespace

bool RelationFinder::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement("RelationFinder"))
        return false;
    const bool reading = xmlio.IsReading();
    const struct {
        const char* name;
        bool* flag;
    } flags[] = {
        {"createRelations", &m_createRelations},
        {"similarMatchAxes", &m_similarMatchAxes},
        {"symmetryMatchExact", &m_symmetryMatchExact},
        {"configureLockCylinderRadius", &m_lockCylinderRadius},
        {"configureLockSphereRadius", &m_lockSphereRadius},
        {"configureLockTorusRadius", &m_lockTorusRadius},
        {"configureLockTorusMinorRadius", &m_lockTorusMinorRadius},
        {"configureLockConeHalfAngle", &m_lockConeHalfAngle},
    };
    bool done = true;
    for (const auto& flag : flags) {
        // An absent attribute reads as false, which the reader leaves in the flag.
        const bool io = xmlio.DoIO(flag.name, *flag.flag);
        done = done && (io || reading);
    }
    done = done &&
           DoIOReferenceList<Reference>(xmlio, m_interaction, "CoplaxisRef", "referenceRef",
                                        m_coPlaxisReferences) &&
           DoIOReferenceList<Reference>(xmlio, m_interaction, "SymmetryRef", "referenceRef",
                                        m_symmetryPlanes) &&
           DoIOReferenceList<Reference>(xmlio, m_interaction, "PrincipleRef", "referenceRef",
                                        m_principalPlanes);

    if (done && reading) {
        ApplyOptionDefaults();
        for (int read = 0;
             done && read < s_maxOptionElements && xmlio.BeginElement("FindRelationsOption");
             ++read) {
            std::string relationName, fromName, toName;
            int level = 0;
            FindRelationType relation = FindRelationTypeMax;
            FindGeometryType from = FindGeometryTypeMax, to = FindGeometryTypeMax;
            done = xmlio.DoIO("relationType", relationName) &&
                   xmlio.DoIO("fromGeomType", fromName) && xmlio.DoIO("toGeomType", toName) &&
                   xmlio.DoIO("level", level) &&
                   ParseName(
                       relationName, "FindRelationType", &FindRelationTypeToString,
                       static_cast<FindRelationType (*)(const char*)>(&FindRelationTypeFromString),
                       relation) &&
                   ParseName(
                       fromName, "FindGeometryType", &FindGeometryTypeToString,
                       static_cast<FindGeometryType (*)(const char*)>(&FindGeometryTypeFromString),
                       from) &&
                   ParseName(
                       toName, "FindGeometryType", &FindGeometryTypeToString,
                       static_cast<FindGeometryType (*)(const char*)>(&FindGeometryTypeFromString),
                       to) &&
                   IsIndexInMatrix(relation, from, to) && m_options[relation][from][to] != -1 &&
                   level >= 0;
            if (done)
                m_options[relation][from][to] = level;
            xmlio.EndElement(true);
        }
    } else if (done) {
        for (int relation = 0; done && relation <= s_relationTypeCount; ++relation)
            for (int from = 0; done && from < s_geometryTypeCount; ++from)
                for (int to = 0; done && to < s_geometryTypeCount; ++to) {
                    int level = GetRelationGeometryOption(static_cast<FindRelationType>(relation),
                                                          static_cast<FindGeometryType>(from),
                                                          static_cast<FindGeometryType>(to));
                    if (level <= 0)
                        continue;
                    std::string relationName =
                        FindRelationTypeToString(static_cast<FindRelationType>(relation));
                    std::string fromName =
                        FindGeometryTypeToString(static_cast<FindGeometryType>(from));
                    std::string toName =
                        FindGeometryTypeToString(static_cast<FindGeometryType>(to));
                    done = xmlio.BeginElement("FindRelationsOption") &&
                           xmlio.DoIO("relationType", relationName) &&
                           xmlio.DoIO("fromGeomType", fromName) &&
                           xmlio.DoIO("toGeomType", toName) && xmlio.DoIO("level", level);
                    xmlio.EndElement(true);
                }
    }

    if (done && reading) {
        m_foundRelations.clear();
        while (done && xmlio.BeginElement("FoundRelationRef")) {
            int id = 0, level = 0;
            done = xmlio.DoIOIDReference("relationRef", id) && xmlio.DoIO("level", level);
            Relation* relation = ObjectOfId<Relation>(m_interaction, id);
            done = done && relation;
            if (done)
                m_foundRelations[relation] = level;
            xmlio.EndElement(true);
        }
    } else if (done) {
        for (const auto& entry : m_foundRelations) {
            int id = entry.first->GetEntityId(), level = entry.second;
            done = done && xmlio.BeginElement("FoundRelationRef") &&
                   xmlio.DoIOIDReference("relationRef", id) && xmlio.DoIO("level", level);
            xmlio.EndElement(true);
        }
    }
    done = done &&
           DoIOReferenceList<Relation>(xmlio, m_interaction, "CreatedRelationRef", "relationRef",
                                       m_createdRelations) &&
           DoIOReferenceList<VirtualVertex>(xmlio, m_interaction, "CreatedVirtualVertexRef",
                                            "virtualVertexRef", m_createdVertices);
    xmlio.EndElement(true);
    return done;
}

}  // namespace QEL
