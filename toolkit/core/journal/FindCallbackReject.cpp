#include "core/journal/FindCallbackReject.h"

#include "core/enums/EnumNames.h"
#include "core/journal/JournalVocabulary.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/objects/TaggedEntity.h"
#include "core/persist/XMLIO.h"

#include <string>

namespace QEL {
namespace {

// One kernel entity as identifier, class name and the journal id of its body. The element
// keeps a single "bodyIndex", the from entity's, since a reader finds only the first; the writer
// leaves it out for index 0, which a reader reads back as 0. An entity 0 is written as
// nothing, and a reader finding no identifier reads 0 and says so through absent.
bool DoIORejectEntity(XMLIO& xmlio, int& entity, const char* prefix, bool withBodyIndex,
                      bool& absent)
{
    const std::string idName = std::string(prefix) + "EntityId";
    const std::string className = std::string(prefix) + "EntityClass";
    const std::string bodyName = std::string(prefix) + "EntityBodyId";
    int identifier = 0, bodyId = 0, bodyIndex = 0;
    std::string classText;
    absent = false;
    if (xmlio.IsReading()) {
        std::string idText;
        if (!xmlio.DoIO(idName.c_str(), idText) || idText.empty()) {
            entity = 0;
            absent = true;
            return true;
        }
    } else {
        if (entity == 0) {
            absent = true;
            return true;
        }
        identifier = GetEntityIdentifier(entity);
        const int classCode = GetEntityClass(entity);
        int owner = GetOwningBody(entity);
        if (!owner && (classCode == KernelClassBody || IsPointLineOrPlaneClass(classCode)))
            owner = entity;
        if (!owner || !xmlio.FindBodyIDAndIndex(owner, bodyId, bodyIndex))
            return false;
        classText = KernelClassToString(classCode);
    }
    if (!xmlio.DoIO(idName.c_str(), identifier) || !xmlio.DoIO(className.c_str(), classText) ||
        !xmlio.DoIO(bodyName.c_str(), bodyId))
        return false;
    if (withBodyIndex && (xmlio.IsReading() || bodyIndex != 0) &&
        !xmlio.DoIO(JournalName::BodyIndex, bodyIndex))
        return false;
    if (xmlio.IsReading()) {
        const int classCode =
            classText.empty() ? KernelClassFace : KernelClassFromString(classText);
        const int owner = xmlio.FindBodyByIdAndIndex(bodyId, bodyIndex);
        entity = owner && GetEntityClass(owner) == KernelClassBody
                     ? FindEntityByIdentifier(owner, classCode, identifier)
                     : owner;
        return entity != 0;
    }
    return true;
}

// An instance as its entity id in the interaction; an instance without one is written as
// nothing and read back as 0.
bool DoIOInstance(XMLIO& xmlio, Interaction* interaction, int& instanceTag, const char* attribute)
{
    TagManager* tags = interaction ? interaction->GetTagManager() : nullptr;
    if (!xmlio.IsReading()) {
        TaggedEntity* instance = tags ? tags->FindTaggedEntityFromTag(instanceTag) : nullptr;
        int id = instance ? instance->GetEntityId() : 0;
        return id == 0 || xmlio.DoIO(attribute, id);
    }
    int id = 0;
    if (!xmlio.DoIO(attribute, id))
        return false;
    instanceTag = 0;
    if (id == 0)
        return true;
    TaggedEntity* instance = tags ? tags->FindTaggedEntityById(id) : nullptr;
    instanceTag = instance ? instance->GetTag() : 0;
    return instanceTag != 0;
}

}  // namespace

bool DoIORelationType(XMLIO& xmlio, const char* name, RelationType& value)
{
    return xmlio.DoIOEnum(name, value, RelationTypeToString, RelationTypeFromString);
}

bool FindCallbackRejectRecord::DoIO(FindCallbackRejectRecord& record, Interaction* interaction,
                                    XMLIO& xmlio)
{
    if (!xmlio.BeginElement("FindCallbackReject"))
        return false;
    RelationType relationType = static_cast<RelationType>(record.relationType);
    // The groups follow one another: a group absent (an entity 0) ends the record there, and a
    // record read holds nothing of an earlier one past that point.
    if (xmlio.IsReading())
        record.fromEntity = record.fromInstance = record.toEntity = record.toInstance =
            record.additionalEntity = record.additionalInstance = 0;
    bool absent = false;
    const bool done =
        xmlio.DoIO("level", record.level) &&
        DoIORelationType(xmlio, "relationType", relationType) &&
        DoIORejectEntity(xmlio, record.fromEntity, "from", true, absent) &&
        (absent ||
         (DoIOInstance(xmlio, interaction, record.fromInstance, "fromInstanceId") &&
          DoIORejectEntity(xmlio, record.toEntity, "to", false, absent) &&
          (absent ||
           (DoIOInstance(xmlio, interaction, record.toInstance, "toInstanceId") &&
            DoIORejectEntity(xmlio, record.additionalEntity, "additional", false, absent) &&
            (absent || DoIOInstance(xmlio, interaction, record.additionalInstance,
                                    "additionalInstanceId"))))));
    record.relationType = relationType;
    xmlio.EndElement(false);
    return done;
}

}  // namespace QEL
