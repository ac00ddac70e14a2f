// A reference's "Reference" element, and the XML helpers of the classes that hold references.
#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"

namespace QEL {

namespace {

// Resolves an id of the interaction to an object of class T; false when nothing of that class
// has it. Id 0 is null.
template <typename T>
bool DoIOTypedPtr(XMLIO& xmlio, const char* name, T*& object, Interaction* interaction)
{
    int id = object ? static_cast<TaggedEntity*>(object)->GetEntityId() : 0;
    if (!xmlio.DoIOIDReference(name, id))
        return false;
    if (!xmlio.IsReading())
        return true;
    object = nullptr;
    if (id == 0)
        return true;
    TaggedEntity* found = interaction ? interaction->FindTaggedEntityById(id) : nullptr;
    object = dynamic_cast<T*>(found);
    return object != nullptr;
}

}  // namespace

bool DoIOReferencePtr(XMLIO& xmlio, const char* name, Reference*& reference,
                      Interaction* interaction)
{
    return DoIOTypedPtr(xmlio, name, reference, interaction);
}

bool DoIOInstancePtr(XMLIO& xmlio, const char* name, Instance*& instance, Interaction* interaction)
{
    return DoIOTypedPtr(xmlio, name, instance, interaction);
}

bool DoIOObjectPtr(XMLIO& xmlio, const char* name, Object*& object, Interaction* interaction)
{
    return DoIOTypedPtr(xmlio, name, object, interaction);
}

bool DoIOReferencePtrs(XMLIO& xmlio, const char* elementName, std::vector<Reference*>& references,
                       Interaction* interaction)
{
    std::vector<int> ids;
    if (!xmlio.IsReading())
        for (Reference* reference : references)
            ids.push_back(reference ? reference->GetEntityId() : 0);
    if (!xmlio.DoIOObjectReferences(elementName, "referenceRef", ids))
        return false;
    if (!xmlio.IsReading())
        return true;
    references.clear();
    for (int id : ids) {
        if (id == 0) {
            references.push_back(nullptr);
            continue;
        }
        TaggedEntity* found = interaction ? interaction->FindTaggedEntityById(id) : nullptr;
        Reference* reference = found ? DowncastEntity<Reference>(found) : nullptr;
        if (!reference) {
            xmlio.AddError(id, XMLErrorCodeBadObjectId);
            return false;
        }
        references.push_back(reference);
    }
    return true;
}

bool DoIOEntityClass(XMLIO& xmlio, const char* name, int& classCode)
{
    std::string text;
    if (!xmlio.IsReading())
        text = KernelClassToString(classCode);
    if (!xmlio.DoIO(name, text))
        return false;
    if (xmlio.IsReading())
        classCode = KernelClassFromString(text);
    return true;
}

bool DoIOReferenceBehaviour(XMLIO& xmlio, const char* name, ReferenceBehaviour& behaviour)
{
    return xmlio.DoIOEnum<ReferenceBehaviour>(name, behaviour, ReferenceBehaviourToString,
                                              ReferenceBehaviourFromString);
}

Reference* Reference::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    Reference* reference = new Reference(interaction, 0, nullptr, ReferenceBehaviourModelling);
    if (!reference->DoIO(xmlio)) {
        reference->Destroy();
        return nullptr;
    }
    reference->AddToInteraction();
    return reference;
}

namespace {

[[maybe_unused]] const bool s_referenceReaderInstalled =
    InstallObjectReader("Reference", [](Interaction* interaction, XMLIO& xmlio) {
        return Reference::CreateFromXML(interaction, xmlio) != nullptr;
    });

}  // namespace

bool Reference::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement("Reference"))
        return false;
    Interaction* interaction = GetInteraction();
    const bool reading = xmlio.IsReading();
    int id = GetEntityId();
    bool done = xmlio.DoIOID(id, true);
    if (done && reading)
        SetEntityId(id);
    if (done && (reading || m_instance)) {
        done = DoIOInstancePtr(xmlio, "instanceRef", m_instance, interaction);
        if (!done)
            xmlio.AddError(id, XMLErrorCodeObjectMissing);
        else if (reading && m_instance)
            m_instance->AddReference(this);
    }
    done = done && DoIOReferenceBehaviour(xmlio, "behavior", m_behaviour);

    int partId = 0;
    int bodyIndex = 0;
    int classCode = KernelClassNull;
    int identifier = 0;
    if (done && !reading) {
        if (!m_instance) {
            const int owner = GetOwningBody(m_entity);
            const int body = owner != 0 ? owner : m_entity;
            if (IsEntity(body))
                done = xmlio.FindBodyIDAndIndex(body, partId, bodyIndex);
        }
        classCode = GetEntityClass(m_entity);
        identifier = GetEntityIdentifier(m_entity);
    }
    if (done && (reading || partId != 0))
        done = xmlio.DoIOIDReference("partRef", partId);
    if (done && (reading || bodyIndex != 0))
        done = xmlio.DoIO("bodyIndex", bodyIndex);
    done = done && DoIOEntityClass(xmlio, "class", classCode);
    if (done && (reading || identifier != 0))
        done = xmlio.DoIO("entityID", identifier);

    if (done && reading) {
        bool virtualPart = false;
        const int body = m_instance ? m_instance->GetBodyTag()
                                    : xmlio.FindBodyByIdAndIndex(partId, bodyIndex, &virtualPart);
        if (body == 0 && partId != 0) {
            xmlio.AddError(id, XMLErrorCodeBodyNotInMap);
            done = false;
        } else if (IsEntityOfClass(body, KernelClassBody)) {
            if (identifier != 0) {
                m_entity = FindEntityByIdentifier(body, classCode, identifier);
                done = m_entity != 0;
                if (done)
                    WriteBrennikData();
            }
            if (done && virtualPart) {
                int removed = 0;
                BQ_PART_remove_geoms(body, 1, &m_entity, &removed);
            } else if (done && interaction) {
                interaction->AddSeenBody(body);
            }
        } else if (IsEntity(body)) {
            m_entity = body;
        }
        // A reference names an entity: one whose part, instance or entity identifier led to
        // nothing (id 0, missing or not a number) is corrupt data, not a reference.
        if (done && !IsEntity(m_entity)) {
            xmlio.AddError(id, XMLErrorCodeObjectMissing);
            done = false;
        }
    }
    xmlio.EndElement(true);
    return done;
}

}  // namespace QEL
