// Kernel parts inside XML: transmitted to memory, carried as base64 text, received back; and
// kernel faces, edges and vertices named by identifier and their body's place in the body map.

#include "core/persist/XMLIO.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/xml/Base64Codec.h"

namespace QEL {

namespace {

// 720 bytes encode to ten lines of 72 characters, and only the last chunk can need fill.
constexpr size_t s_chunkBytes = 720;
// The text buffer kept from one body to the next, at most.
constexpr size_t s_keptBodyText = size_t(1) << 20;

}  // namespace

// Transmits the body (or a virtual part made for a point, line or plane) and appends it as
// base64 text to the current element, without the toolkit's attributes. Nothing is marked or
// rolled back: the body is sent as it stands, and the virtual part is taken apart again, so
// the model is unchanged whatever happens and the cost follows the body, not the partition.
int XMLIO::WriteBodyData(int& body, bool& isVirtual)
{
    const int entityClass = GetEntityClass(body);
    int part = 0;
    if (entityClass == KernelClassBody) {
        part = body;
    } else if (IsPointLineOrPlaneClass(entityClass)) {
        part = CreateMinimumBodyForGeometry(body);
        isVirtual = true;
    }
    std::vector<unsigned char>& bytes = m_bodyBytes;
    const bool sent = part && TransmitPartWithoutQELAttributes(part, bytes);
    if (part && part != body) {
        // The geometry goes back to being free before its scaffold body goes.
        RemovePartGeometries(part);
        DeleteEntity(part);
    }
    if (!sent)
        return false;
    // The chunks' lines are gathered into one text, so the body is a single piece of the
    // document however large it is, and the buffers serve every body of the save.
    Base64Codec codec;
    std::string& text = m_bodyText;
    text.clear();
    for (size_t start = 0; start < bytes.size(); start += s_chunkBytes) {
        const size_t length = std::min(s_chunkBytes, bytes.size() - start);
        text += codec.Encode(bytes.data() + start, length, true);
    }
    const bool written = DoIO(nullptr, text.c_str());
    // A long-lived writer (the journal's) does not hold on to the room of one large body.
    if (text.capacity() > s_keptBodyText) {
        std::string().swap(text);
        std::vector<unsigned char>().swap(bytes);
    }
    return written;
}

// Receives the base64 text of the current element as one part into the current partition.
bool XMLIO::ReadBodyData(int& body, bool isVirtual)
{
    body = 0;
    // Decoded straight from the document's text: a body's text is the bulk of a save file and
    // is not copied on its way to the kernel.
    const char* text = m_state->current.IsEmpty() ? nullptr : m_state->current.GetText(0);
    if (!text || !*text)
        return false;
    Base64Codec codec;
    size_t size = 0;
    int error = 0;
    const unsigned char* bytes = codec.Decode(text, &size, &error);
    if (!bytes || error != 0 || size == 0)
        return false;
    BQ_MEMORY_block_t block{size, const_cast<char*>(reinterpret_cast<const char*>(bytes)), nullptr};
    // A refused receive changes nothing, so no mark is needed to take a failure back.
    const BQ_PART_receive_o_t options{1, BQ_PART_format_binary, true};
    int count = 0;
    int* parts = nullptr;
    const int failed = BQ_PART_receive_b(&block, &options, &count, &parts);
    if (failed != BQ_ERROR_no_errors) {
        BQ_MEMORY_free(parts);
        return false;
    }
    bool received = false;
    if (count == 1) {
        received = true;
        std::vector<int> geometries;
        if (isVirtual && GetPartGeometries(parts[0], geometries) && geometries.size() == 1) {
            RemovePartGeometries(parts[0]);
            DeleteEntity(parts[0]);
            body = geometries[0];
        } else {
            body = parts[0];
        }
    } else if (count > 1) {
        // More than one part is not what a "Body" holds: none of them is left behind.
        DeleteEntities(std::vector<int>(parts, parts + count));
    }
    BQ_MEMORY_free(parts);
    return received;
}

bool XMLIO::DoIOBody(int& body, int& id, bool isVirtualGeomPart)
{
    bool isVirtual = isVirtualGeomPart;
    if (!BeginElement("Body", -1))
        return false;
    bool done = false;
    if (!m_reading) {
        done = WriteBodyData(body, isVirtual);
        if (done && id != 0) {
            done = DoIO("id", id);
            if (done && isVirtual)
                done = DoIO("isVirtualGeomPart", "true");
        }
    } else {
        done = DoIO("id", id);
        if (done && id != 0)
            done = DoIO("isVirtualGeomPart", isVirtual, false);
        done = done && ReadBodyData(body, isVirtual);
    }
    if (done && id != 0)
        done = AddToBodyMap(body, id, 0, isVirtual);
    EndElement(true);
    return done;
}

bool XMLIO::DoIOBody(int& body, bool isVirtualGeomPart)
{
    int id = 0;
    return DoIOBody(body, id, isVirtualGeomPart);
}

bool DoIOKernelEntity(XMLIO& xmlio, int& entity, const char* elementName, const char* idAttribute,
                      const char* classAttribute, const char* bodyAttribute)
{
    if (elementName && !xmlio.BeginElement(elementName, -1))
        return false;
    bool done = true;
    int identifier = 0;
    int classCode = KernelClassFace;
    int bodyId = 0;
    int bodyIndex = 0;
    if (!xmlio.IsReading()) {
        identifier = GetEntityIdentifier(entity);
        classCode = GetEntityClass(entity);
        int owner = GetOwningBody(entity);
        if (!owner && (classCode == KernelClassBody || IsPointLineOrPlaneClass(classCode)))
            owner = entity;
        done = (identifier != 0 || owner != 0) && owner != 0 &&
               xmlio.FindBodyIDAndIndex(owner, bodyId, bodyIndex);
    }
    if (done) {
        std::string className = xmlio.IsReading() ? std::string() : KernelClassToString(classCode);
        done = xmlio.DoIO(idAttribute, identifier) && xmlio.DoIO(classAttribute, className) &&
               xmlio.DoIO(bodyAttribute, bodyId);
        if (done && (xmlio.IsReading() || bodyIndex != 0))
            done = xmlio.DoIO("bodyIndex", bodyIndex);
        if (done && xmlio.IsReading()) {
            classCode = className.empty() ? KernelClassFace : KernelClassFromString(className);
            const int owner = xmlio.FindBodyByIdAndIndex(bodyId, bodyIndex);
            entity = 0;
            if (owner && GetEntityClass(owner) == KernelClassBody)
                entity = FindEntityByIdentifier(owner, classCode, identifier);
            else
                entity = owner;
            // An unknown body or identifier is no entity: a reader must not take 0 for one.
            done = entity != 0;
        }
    }
    if (elementName)
        xmlio.EndElement(true);
    return done;
}

bool DoIOKernelEntities(XMLIO& xmlio, const char* elementName, std::vector<int>& tags)
{
    if (xmlio.IsReading())
        tags.assign(static_cast<size_t>(xmlio.GetChildElementCount(elementName)), 0);
    for (int& tag : tags) {
        if (!xmlio.IsReading() && !IsEntity(tag))
            continue;
        if (!DoIOKernelEntity(xmlio, tag, elementName, "id", "class", "bodyId"))
            return false;
    }
    return true;
}

}  // namespace QEL
