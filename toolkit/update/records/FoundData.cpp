#include "update/records/FoundData.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "model/relations/RelationEngine.h"
#include "solver/ConfigureFoundData.h"

#include <algorithm>

namespace QEL {

namespace {

// The faces by their kernel identifiers, in any order: the same faces in two interactions have
// different tags.
bool SameFacesByIdentifier(const std::vector<int>& a, const std::vector<int>& b)
{
    if (a.size() != b.size())
        return false;
    auto identifiers = [](const std::vector<int>& faces) {
        std::vector<int> out;
        for (int face : faces)
            out.push_back(GetEntityIdentifier(face));
        std::sort(out.begin(), out.end());
        return out;
    };
    return identifiers(a) == identifiers(b);
}

void LinkRelation(Object* object, FoundData* foundData)
{
    if (Relation* relation = dynamic_cast<Relation*>(object))
        relation->SetFoundData(foundData);
}

}  // namespace

FoundData::FoundData(Interaction* interaction, FoundDataType type, FoundDataState state,
                     Object* object, int level, bool found)
    : SavedObject(interaction),
      m_foundDataType(type),
      m_state(state),
      m_object(object),
      m_level(level),
      m_found(found)
{
    SetType(ObjectTypeFoundData);
    if (interaction)
        RecordCreated();
}

FoundData::FoundData(Interaction* interaction, FoundDataType type, FoundDataState state,
                     const ShellClusterData& cluster, int level, bool found)
    : FoundData(interaction, type, state, nullptr, level, found)
{
    m_cluster = cluster;
}

FoundData::~FoundData() = default;

QEL_INSTALL_ENTITY_CASTS(FoundData)
QEL_INSTALL_OBJECT_READER(FoundData)

FoundData* FoundData::Create(Interaction* interaction, FoundDataType type, FoundDataState state,
                             Object* object, int level, bool found)
{
    FoundData* foundData = new FoundData(interaction, type, state, object, level, found);
    foundData->AddToInteraction();
    LinkRelation(object, foundData);
    return foundData;
}

FoundData* FoundData::Create(Interaction* interaction, FoundDataType type, FoundDataState state,
                             const ShellClusterData& cluster, int level, bool found)
{
    FoundData* foundData = new FoundData(interaction, type, state, cluster, level, found);
    foundData->AddToInteraction();
    return foundData;
}

FoundData* FoundData::CreateFromConfigureFoundData(Interaction* interaction,
                                                   const ConfigureFoundData& record)
{
    if (record.GetKind() == ConfigureFoundDataRelation)
        return Create(interaction, FoundDataTypeRelation, FoundDataStateApply, record.GetObject(),
                      record.GetLevel(), true);
    if (record.GetKind() == ConfigureFoundDataShellCluster)
        return Create(interaction, FoundDataTypeShell, FoundDataStateApply, record.GetCluster(),
                      record.GetLevel(), true);
    return nullptr;
}

FoundData* FoundData::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    FoundData* foundData = Create(interaction, FoundDataTypeRelation, FoundDataStateApply,
                                  static_cast<Object*>(nullptr), 0, false);
    if (!foundData->DoIO(xmlio)) {
        foundData->Destroy();
        return nullptr;
    }
    return foundData;
}

void FoundData::SetState(FoundDataState state)
{
    if (state == m_state)
        return;
    RecordModified();
    m_state = state;
}

void FoundData::SetFoundInLastConfigure(bool found)
{
    if (found == m_found)
        return;
    RecordModified();
    m_found = found;
}

void FoundData::SetFoundLevel(int level)
{
    if (level == m_level)
        return;
    RecordModified();
    m_level = level;
}

void FoundData::ClearQELObject()
{
    if (!m_object)
        return;
    RecordModified();
    m_object = nullptr;
}

namespace {

// The edit configuration's side of the found data a relation records.
class RecordsFoundDataKeeping : public FoundDataKeeping {
public:
    void ClearFoundDataObject(FoundData* foundData) override
    {
        if (foundData)
            foundData->ClearQELObject();
    }
};

RecordsFoundDataKeeping s_recordsFoundDataKeeping;

[[maybe_unused]] const bool s_recordsFoundDataKeepingInstalled =
    InstallFoundDataKeeping(&s_recordsFoundDataKeeping);

}  // namespace

void FoundData::GetShellData(Array<int>& side1, Array<int>& side2, double& thickness) const
{
    side1.RemoveAll();
    side2.RemoveAll();
    for (int face : m_cluster.GetSide1())
        side1.Add(face);
    for (int face : m_cluster.GetSide2())
        side2.Add(face);
    thickness = m_cluster.GetThickness();
}

void FoundData::CopyState(const FoundData& from)
{
    m_state = from.m_state;
    m_foundDataType = from.m_foundDataType;
    m_level = from.m_level;
    m_object = from.m_object;
    m_cluster = from.m_cluster;
}

void FoundData::Destroy()
{
    // Only a relation still linked to this record lets go of it: one linked to another record
    // since keeps that link.
    Relation* relation = dynamic_cast<Relation*>(m_object);
    if (relation && relation->GetFoundData() == this)
        relation->SetFoundData(nullptr);
    TaggedEntity::Destroy();
}

bool FoundData::Compare(TaggedEntity* other)
{
    FoundData* foundData = dynamic_cast<FoundData*>(other);
    if (!TaggedEntity::Compare(other) || !foundData || m_state != foundData->m_state ||
        m_foundDataType != foundData->m_foundDataType || m_found != foundData->m_found)
        return false;
    if (!m_object || !foundData->m_object) {
        if (m_object != foundData->m_object)
            return false;
    } else if (!m_object->Compare(foundData->m_object)) {
        return false;
    }
    return SameFacesByIdentifier(m_cluster.GetSide1(), foundData->m_cluster.GetSide1()) &&
           SameFacesByIdentifier(m_cluster.GetSide2(), foundData->m_cluster.GetSide2());
}

bool FoundData::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    const bool reading = xmlio.IsReading();
    bool done = DoIOID(xmlio) &&
                xmlio.DoIOEnum<FoundDataType>("type", m_foundDataType, FoundDataTypeToString,
                                              FoundDataTypeFromString) &&
                xmlio.DoIOEnum<FoundDataState>("state", m_state, FoundDataStateToString,
                                               FoundDataStateFromString);
    if (done && (reading || m_object))
        done = DoIOObjectPtr(xmlio, "objectRef", m_object, GetInteraction());
    done = done && xmlio.DoIO("foundLevel", m_level) && xmlio.DoIO("wasFound", m_found, false);
    if (done && m_foundDataType == FoundDataTypeShell)
        done = m_cluster.DoIO(xmlio);
    xmlio.EndElement(true);
    if (done && reading)
        LinkRelation(m_object, this);
    return done;
}

}  // namespace QEL
