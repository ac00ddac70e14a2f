#include "core/journal/JournalArguments.h"

#include "core/journal/JournalArgumentStarts.h"

#include "core/journal/JournalVocabulary.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/objects/TaggedEntity.h"
#include "core/persist/XMLIO.h"

#include <cxxabi.h>

#include <charconv>

#include <cstdlib>
#include <sstream>
#include <typeinfo>

namespace QEL {
namespace {

// The object's class name without its namespace, followed by "Tag".
std::string ObjectTagType(const TaggedEntity& entity)
{
    const char* mangled = typeid(entity).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    const size_t colon = name.rfind("::");
    if (colon != std::string::npos)
        name.erase(0, colon + 2);
    return name + "Tag";
}

// What identifies a tag in the journal, decided before anything is written.
struct TagDescription {
    const char* type = nullptr;
    std::string objectType;  // the text type points at when it names an object's class
    int featureId = 0;
    int id = 0;
    int bodyTag = 0;
    int body = 0;  // the body (or free geometry) journalled for it
    bool ownBody = false;
    bool isPartition = false;
    bool isCurrentPartition = false;
};

TagDescription DescribeTag(int tag, int interactionTag, const char* fallbackType)
{
    TagDescription description;
    if (tag == 0) {
        description.type = JournalName::TagType;
        return description;
    }
    // The call's own interaction, named by most calls, is told without asking the kernel.
    if (tag == interactionTag) {
        description.type = "InteractionTag";
        return description;
    }
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    TaggedEntity* entity = interaction && interaction->GetTagManager()
                               ? interaction->GetTagManager()->FindTaggedEntityFromTag(tag)
                               : nullptr;
    if (entity) {
        description.objectType = ObjectTagType(*entity);
        description.type = description.objectType.c_str();
        description.id = entity->GetEntityId();
        return description;
    }
    if (TagManager::FindInteractionFromTag(tag)) {
        description.type = "InteractionTag";
        return description;
    }
    if (IsApplicationItem(tag)) {
        description.type = fallbackType ? fallbackType : JournalName::TagType;
        return description;
    }
    // A partition is asked for as a partition, whatever class the kernel gives its tag.
    int classCode = IsPartition(tag) ? KernelClassPartition
                    : IsEntity(tag)  ? GetEntityClass(tag)
                                     : KernelClassNull;
    if (classCode == KernelClassPartition) {
        description.isPartition = true;
        description.isCurrentPartition = GetCurrentPartition() == tag;
    } else if (classCode == KernelClassBody) {
        description.bodyTag = tag;
    } else if (classCode != KernelClassNull) {
        description.bodyTag = GetOwningBody(tag);
        if (!description.bodyTag && IsPointLineOrPlaneClass(classCode))
            description.ownBody = true;
        else if (classCode == KernelClassGroup)
            description.featureId = GetAddOnFeatureIdentifier(tag);
        if (!description.ownBody && !description.featureId)
            description.id = GetEntityIdentifier(tag);
    }
    description.body = description.ownBody ? tag : description.bodyTag;
    description.type = description.featureId ? "FeatureTag" : KernelClassToString(classCode);
    return description;
}

// One "Element" of a number array.
template <typename Number>
void WriteNumberElement(XMLIO& writer, const char* typeName, Number value)
{
    if (!writer.BeginElement(JournalName::Element))
        return;
    writer.DoIO(JournalName::Type, typeName);
    writer.DoIO(JournalName::Value, value);
    writer.EndElement(false);
}

}  // namespace

XMLIO* JournalArguments::Writer() const { return GetJournalWriter(); }

void JournalArguments::SetArgTypeInput() { m_argType = JournalName::Input; }
void JournalArguments::SetArgTypeOutput() { m_argType = JournalName::Output; }
void JournalArguments::ClearArgType() { m_argType = nullptr; }

void JournalArguments::WriteJournalText(const char* attribute, const char* value)
{
    if (XMLIO* writer = Writer())
        writer->DoIO(attribute, value);
}

int JournalArguments::WriteJournalEnumValue(const char* text, int number, const char* typeName,
                                            const char* name, const char* elementName)
{
    // A number that names no value is kept as the number, so the record says what was given.
    if (*text) {
        WriteJournalLeaf(name, typeName, elementName, JournalName::Value, text, std::strlen(text));
        return 0;
    }
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, number);
    WriteJournalLeaf(name, typeName, elementName, JournalName::Value, digits,
                     static_cast<std::size_t>(written.ptr - digits));
    return 0;
}

void JournalArguments::EndJournalArg()
{
    if (XMLIO* writer = Writer())
        writer->EndElement(false);
}

const XMLPreparedStart* JournalArguments::FindJournalArgStart(const char* name,
                                                              const char* typeName,
                                                              const char* elementName,
                                                              bool withArgType)
{
    JournalArgumentStarts* starts = GetJournalArgumentStarts();
    if (!starts || !Writer())
        return nullptr;
    const bool named = name && *name;
    const char* element =
        elementName ? elementName : (named ? JournalName::Argument : JournalName::ReturnValue);
    // The kinds that leave the direction out (matrices, buffers, lists of lists) leave it out
    // as outputs too; a reader takes them for inputs.
    const char* argType = !elementName && named && withArgType ? m_argType : nullptr;
    return &starts->Find(element, argType, named ? name : nullptr, typeName);
}

bool JournalArguments::BeginJournalArg(const char* name, const char* typeName,
                                       const char* elementName, bool withArgType)
{
    const XMLPreparedStart* start = FindJournalArgStart(name, typeName, elementName, withArgType);
    return start && Writer()->BeginElement(*start);
}

void JournalArguments::WriteJournalLeaf(const char* name, const char* typeName,
                                        const char* elementName, const char* attribute,
                                        const char* value, std::size_t valueLength)
{
    if (const XMLPreparedStart* start = FindJournalArgStart(name, typeName, elementName, true))
        Writer()->WriteElement(*start, attribute, value, valueLength);
}

int JournalArguments::WriteJournalFunctionBegin()
{
    XMLIO* writer = Writer();
    if (writer && writer->BeginElement(JournalName::Function)) {
        int index = NextJournalCallIndex();
        writer->DoIO(JournalName::Index, index);
    }
    return 0;
}

int JournalArguments::WriteJournalFunctionName(const char* name)
{
    XMLIO* writer = Writer();
    return writer && name && *name && writer->DoIO(JournalName::Name, name) ? 0 : ResultTypeFail;
}

int JournalArguments::WriteJournalFunctionEnd()
{
    if (XMLIO* writer = Writer())
        writer->EndElement(true);
    return 0;
}

int JournalArguments::WriteJournalForceFailure()
{
    WriteJournalText(JournalName::ForceFailure, "true");
    return 0;
}

int JournalArguments::WriteJournalDoubleField(const char* name, double value, int digits)
{
    if (XMLIO* writer = Writer())
        writer->DoIO(name, value, digits);
    return 0;
}

int JournalArguments::WriteJournalArgResultType(ResultType result)
{
    const char* saved = m_argType;
    m_argType = nullptr;  // the result never carries a direction
    WriteJournalResultType(&result, JournalName::Result, nullptr);
    m_argType = saved;
    return 0;
}

int JournalArguments::WriteJournalCheckpoint(int interactionTag)
{
    XMLIO* writer = Writer();
    if (!writer || !writer->BeginElement(JournalName::Interaction))
        return ResultTypeFail;
    // The snapshot's bodies get ids of their own, so the journal's map is left as it was.
    writer->BeginBodyIdContext();
    bool written = writer->DoIO(JournalName::Tag, interactionTag);
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    written = written && interaction && WriteInteractionContent(interaction, *writer);
    writer->EndBodyIdContext();
    writer->EndElement(true);
    return written ? 0 : ResultTypeFail;
}

int JournalArguments::WriteJournalArgInt(int value, const char* name)
{
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    WriteJournalLeaf(name, JournalName::Int, nullptr, JournalName::Value, digits,
                     static_cast<std::size_t>(written.ptr - digits));
    return 0;
}

int JournalArguments::WriteJournalArgBool(bool value, const char* name)
{
    WriteJournalLeaf(name, JournalName::Bool, nullptr, JournalName::Value, value ? "true" : "false",
                     value ? 4 : 5);
    return 0;
}

int JournalArguments::WriteJournalArgDouble(double value, const char* name)
{
    if (BeginJournalArg(name, JournalName::Double, nullptr)) {
        Writer()->DoIO(JournalName::Value, value, 16);
        EndJournalArg();
    }
    return 0;
}

int JournalArguments::WriteJournalArgString(const char* value, const char* name)
{
    if (BeginJournalArg(name, JournalName::String, nullptr)) {
        // Null and empty are different texts to the callee: only null is marked null, an
        // empty text is an element without text.
        if (!value)
            WriteJournalText(JournalName::IsNull, "true");
        else if (*value)
            Writer()->DoIO(value);  // element text, escaped by the document writer
        EndJournalArg();
    }
    return 0;
}

int JournalArguments::WriteJournalArgNull(const char* name, const char* typeName)
{
    WriteJournalLeaf(name, typeName, nullptr, JournalName::IsNull, "true", 4);
    return 0;
}

int JournalArguments::WriteJournalArgUnhandled(const char* name, const char* typeName,
                                               const char* value)
{
    if (BeginJournalArg(name, typeName, nullptr)) {
        WriteJournalText(JournalName::Value, value);
        WriteJournalText("unhandled", "true");
        EndJournalArg();
    }
    return 0;
}

int JournalArguments::WriteJournalArgPointer(const void* value, const char* name)
{
    // A null pointer is a value a replay can hand on; any other address means nothing there.
    if (!value)
        return WriteJournalArgNull(name, "void*");
    std::ostringstream stream;
    stream << value;
    return WriteJournalArgUnhandled(name, "void*", stream.str().c_str());
}

template <typename Item, typename WriteItem>
int JournalArguments::WriteJournalArray(const std::vector<Item>& items, const char* name,
                                        const char* typeName, bool withArgType, WriteItem writeItem,
                                        int priorLength)
{
    if (!BeginJournalArg(name, typeName, nullptr, withArgType))
        return 0;
    XMLIO* writer = Writer();
    int length = static_cast<int>(items.size());
    writer->DoIO(JournalName::Length, length);
    if (priorLength > 0)
        writer->DoIO(JournalName::PriorLength, priorLength);
    for (const Item& item : items)
        writeItem(*writer, item);
    EndJournalArg();
    return 0;
}

int JournalArguments::WriteJournalArgIntegerArray(const std::vector<int>& values, const char* name,
                                                  int priorLength)
{
    return WriteJournalArray(
        values, name, JournalName::IntegerArray, true,
        [](XMLIO& writer, int value) { WriteNumberElement(writer, JournalName::Int, value); },
        priorLength);
}

int JournalArguments::WriteJournalArgDoubleArray(const std::vector<double>& values,
                                                 const char* name)
{
    return WriteJournalArray(values, name, JournalName::DoubleArray, true,
                             [](XMLIO& writer, double value) {
                                 WriteNumberElement(writer, JournalName::Double, value);
                             });
}

int JournalArguments::WriteJournalArgTagArray(const std::vector<int>& tags, const char* name,
                                              int priorLength)
{
    return WriteJournalArray(
        tags, name, JournalName::TagArray, true,
        [this](XMLIO&, int tag) {
            WriteJournalTag(tag, nullptr, JournalName::TagType, JournalName::Element);
        },
        priorLength);
}

int JournalArguments::WriteJournalArgTagArrayPointer(const std::vector<int>* tags, const char* name,
                                                     int priorLength)
{
    return tags ? WriteJournalArgTagArray(*tags, name, priorLength)
                : WriteJournalArgNull(name, "TagArray*");
}

int JournalArguments::WriteJournalArgTagArrayArray(const std::vector<std::vector<int>>& arrays,
                                                   const char* name)
{
    return WriteJournalArray(arrays, name, JournalName::TagArrayArray, false,
                             [this](XMLIO& writer, const std::vector<int>& tags) {
                                 if (!writer.BeginElement(JournalName::Element))
                                     return;
                                 int length = static_cast<int>(tags.size());
                                 writer.DoIO(JournalName::Length, length);
                                 for (int tag : tags)
                                     WriteJournalTag(tag, nullptr, JournalName::TagType,
                                                     JournalName::Element);
                                 writer.EndElement(false);
                             });
}

int JournalArguments::WriteJournalArgDoubleBuffer(const double* values, int count, const char* name)
{
    if (!values)
        return WriteJournalArgNull(name, JournalName::DoubleBuffer);
    const std::vector<double> items(values, values + (count > 0 ? count : 0));
    return WriteJournalArray(items, name, JournalName::DoubleBuffer, false,
                             [](XMLIO& writer, double value) {
                                 WriteNumberElement(writer, JournalName::Double, value);
                             });
}

int JournalArguments::WriteJournalArgTransform(const double (*matrix)[4], const char* name)
{
    if (!matrix)
        return WriteJournalArgNull(name, JournalName::Transform);
    if (BeginJournalArg(name, JournalName::Transform, nullptr, false)) {
        Xform xform(matrix);
        Writer()->DoIO(xform, false);
        EndJournalArg();
    }
    return 0;
}

int JournalArguments::WriteJournalArgTransformArray(const std::vector<Double4x4>& matrices,
                                                    const char* name)
{
    return WriteJournalArray(matrices, name, JournalName::TransformArray, false,
                             [](XMLIO& writer, const Double4x4& matrix) {
                                 if (!writer.BeginElement(JournalName::Element))
                                     return;
                                 writer.DoIO(JournalName::Type, JournalName::Transform);
                                 Xform xform(matrix);
                                 writer.DoIO(xform, false);
                                 writer.EndElement(false);
                             });
}

int JournalArguments::WriteJournalArgPositionArray(const std::vector<Position>& points,
                                                   const char* name)
{
    return WriteJournalArray(points, name, JournalName::PositionArray, true,
                             [](XMLIO& writer, const Position& point) {
                                 if (!writer.BeginElement(JournalName::Element))
                                     return;
                                 writer.DoIO(JournalName::Type, JournalName::Position);
                                 double x = point.x, y = point.y, z = point.z;
                                 writer.DoIO("x", x, 16);
                                 writer.DoIO("y", y, 16);
                                 writer.DoIO("z", z, 16);
                                 writer.EndElement(false);
                             });
}

int JournalArguments::WriteJournalArrayOfInvalidityType(const std::vector<InvalidityType>& values,
                                                        const char* typeName, const char* name)
{
    return WriteJournalArray(values, name, typeName, true, [this](XMLIO&, InvalidityType value) {
        WriteJournalInvalidityType(&value, nullptr, JournalName::Element);
    });
}

int JournalArguments::WriteJournalArgInvalidityTypeArrayPointer(
    const std::vector<InvalidityType>* values, const char* name)
{
    return values ? WriteJournalArrayOfInvalidityType(*values, "InvalidityTypeArray", name)
                  : WriteJournalArgNull(name, "InvalidityTypeArray*");
}

int JournalArguments::WriteJournalTag(int tag, const char* name, const char* fallbackType,
                                      const char* elementName)
{
    XMLIO* writer = Writer();
    if (!writer)
        return 0;
    const TagDescription description = DescribeTag(tag, m_interactionTag, fallbackType);
    int bodyId = 0, bodyIndex = 0;
    if (description.body && !writer->FindBodyIDAndIndex(description.body, bodyId, bodyIndex)) {
        // First mention of this body in the journal: it goes before the value naming it.
        int body = description.body;
        bodyId = writer->FindNextBodyId();
        bodyIndex = 0;
        if (!writer->DoIOBody(body, bodyId, description.ownBody))
            bodyId = 0;
    }
    int featureId = description.featureId, id = description.id, bodyTag = description.bodyTag;
    // Most tags are told by the tag alone: the element is then written in one piece.
    if (!featureId && !id && !bodyTag && !bodyId && !bodyIndex && !description.isPartition) {
        char digits[16];
        const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, tag);
        WriteJournalLeaf(name, description.type, elementName, JournalName::Tag, digits,
                         static_cast<std::size_t>(written.ptr - digits));
        return 0;
    }
    if (!BeginJournalArg(name, description.type, elementName))
        return 0;
    int value = tag;
    writer->DoIO(JournalName::Tag, value);
    if (featureId)
        writer->DoIO(JournalName::FeatureId, featureId);
    if (id)
        writer->DoIO(JournalName::Id, id);
    if (bodyTag)
        writer->DoIO("bodyTag", bodyTag);
    if (bodyId)
        writer->DoIO("bodyId", bodyId);
    if (bodyIndex)
        writer->DoIO(JournalName::BodyIndex, bodyIndex);
    if (description.isPartition)
        WriteJournalText("isCurrentPartition", description.isCurrentPartition ? "true" : "false");
    EndJournalArg();
    return 0;
}

}  // namespace QEL
