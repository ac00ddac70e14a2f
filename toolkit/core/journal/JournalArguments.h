#pragma once
// The journal's value writers, as the call frame's guard uses them: each writes one value
// element of the running call's "Function" record through the process-wide journal writer.
// The guard keeps the direction of the values it writes and the call's interaction tag, which
// decides how tags are described. Every writer returns 0: journalling never fails a call.

#include "core/enums/EnumNames.h"
#include "core/enums/Enums.h"
#include "core/maths/Double4x4.h"
#include "core/maths/Position.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace QEL {

class XMLIO;
struct XMLPreparedStart;

// The enumerations written by name: (type, name text of the type).
#define QEL_JOURNAL_ENUMS(X)                                                                  \
    X(FeatureType)                                                                            \
    X(ShellType) X(ShellLocalFaceType) X(BlendIdentifyType) X(ObjectType) X(StepFaceType)     \
        X(TaperMethodType) X(TaperLaminarEdgeType) X(ReplaceEdgesUseType) X(ReplaceMergeType) \
            X(RelationType) X(FindRelationType) X(FindGeometryType) X(FeatureProcedureType)   \
                X(ResultType) X(ReferenceBehaviour) X(UpdateStatus)                           \
                    X(ExtractBodyPersistentDataStatus) X(RestoreBodyPersistentDataStatus)     \
                        X(TrackingDataType) X(PasteType) X(RelationSubtype) X(PreviewMode)    \
                            X(SolutionDataMode) X(RuleState) X(RuleType) X(FoundDataState)    \
                                X(FoundDataType) X(InvalidityType)

// The fallback types of tags that are kernel application items.
#define QEL_JOURNAL_TAG_KINDS(X)                                                                \
    X(Tag)                                                                                      \
    X(ReferenceTag) X(InstanceTag) X(RelationTag) X(FeatureTag) X(MappingDataTag)               \
        X(TrackingDataTag) X(InteractionTag) X(FeatureProcedureDataTag) X(FacePatternTag)       \
            X(SectionTag) X(RuleTag) X(FoundDataTag) X(BodyTag) X(PartitionTag) X(EntityTag)    \
                X(MarkTag) X(VirtualVertexTag) X(UserDefinedFacePatternTag)                     \
                    X(RectangularFacePatternTag) X(CircularFacePatternTag)                      \
                        X(DeleteFacesOptionsTag) X(OffsetFacesOptionsTag) X(CutOptionsTag)      \
                            X(CopyOptionsTag) X(PasteOptionsTag) X(ShellOptionsTag)             \
                                X(ReorderBlendsOptionsTag) X(ReplaceFacesWithSheetOptionsTag)   \
                                    X(ExtractBodyPersistentDataOptionsTag)                      \
                                        X(RestoreBodyPersistentDataOptionsTag)                  \
                                            X(RemoveFaceShellPersistentDataOptionsTag)          \
                                                X(BodyIsPasteToolOptionsTag) X(TaperOptionsTag) \
                                                    X(ReplaceOptionsTag) X(MakeFeatureOptionsTag)

class JournalArguments {
public:
    explicit JournalArguments(int interactionTag = 0) : m_interactionTag(interactionTag) {}

    void SetInteractionTag(int tag) { m_interactionTag = tag; }
    void SetArgTypeInput();
    void SetArgTypeOutput();
    void ClearArgType();
    const char* GetArgType() const { return m_argType; }

    // Records.
    int WriteJournalFunctionBegin();
    // 5 when the name cannot be written.
    int WriteJournalFunctionName(const char* name);
    int WriteJournalFunctionEnd();
    int WriteJournalForceFailure();
    int WriteJournalDoubleField(const char* name, double value, int digits);
    int WriteJournalArgResultType(ResultType result);
    // An "Interaction" snapshot with the interaction's content in a body map of its own;
    // 5 when no journal is open or the snapshot cannot be written.
    int WriteJournalCheckpoint(int interactionTag);

    // The element of one value, named by the rule: elementName when given (inside arrays),
    // else "Argument" (with the direction, unless withArgType is false and the value is no
    // output) when there is a name, else "ReturnValue". Then "name" and "type".
    bool BeginJournalArg(const char* name, const char* typeName, const char* elementName,
                         bool withArgType = true);

    // Scalars.
    int WriteJournalArgInt(int value, const char* name);
    int WriteJournalArgBool(bool value, const char* name);
    int WriteJournalArgDouble(double value, const char* name);
    int WriteJournalArgString(const char* value, const char* name);
    int WriteJournalReturnInt(int value) { return WriteJournalArgInt(value, nullptr); }
    int WriteJournalReturnBool(bool value) { return WriteJournalArgBool(value, nullptr); }
    int WriteJournalReturnDouble(double value) { return WriteJournalArgDouble(value, nullptr); }
    int WriteJournalReturnString(const char* value)
    {
        return WriteJournalArgString(value, nullptr);
    }
    int WriteJournalArgNull(const char* name, const char* typeName);
    int WriteJournalArgUnhandled(const char* name, const char* typeName, const char* value);
    int WriteJournalArgPointer(const void* value, const char* name);
    int WriteJournalReturnPointer(const void* value)
    {
        return WriteJournalArgPointer(value, nullptr);
    }
    // Application code handed over as data: recorded, never replayed.
    int WriteJournalArgFeatureProcedure(const char* name)
    {
        return WriteJournalArgUnhandled(name, "FeatureProcedure", "data");
    }
    int WriteJournalArgFeatureProcedureCallback(const char* name)
    {
        return WriteJournalArgUnhandled(name, "FeatureProcedureCallback", "data");
    }
    int WriteJournalArgFeatureTransformCallback(const char* name)
    {
        return WriteJournalArgUnhandled(name, "FeatureTransformCallback", "data");
    }
    int WriteJournalReturnFeatureProcedure() { return WriteJournalArgFeatureProcedure(nullptr); }
    int WriteJournalReturnFeatureProcedureCallback()
    {
        return WriteJournalArgFeatureProcedureCallback(nullptr);
    }
    int WriteJournalReturnFeatureTransformCallback()
    {
        return WriteJournalArgFeatureTransformCallback(nullptr);
    }

    // Arrays.
    // An output array the call appended to carries how many of its leading values it held
    // before the call ("priorLength"), so that a replay starts the call from them.
    int WriteJournalArgIntegerArray(const std::vector<int>& values, const char* name,
                                    int priorLength = 0);
    int WriteJournalArgDoubleArray(const std::vector<double>& values, const char* name);
    int WriteJournalArgTagArray(const std::vector<int>& tags, const char* name,
                                int priorLength = 0);
    int WriteJournalArgTagArrayPointer(const std::vector<int>* tags, const char* name,
                                       int priorLength = 0);
    int WriteJournalArgTagArrayArray(const std::vector<std::vector<int>>& arrays, const char* name);
    int WriteJournalArgDoubleBuffer(const double* values, int count, const char* name);
    int WriteJournalArgTransform(const double (*matrix)[4], const char* name);
    int WriteJournalArgTransformArray(const std::vector<Double4x4>& matrices, const char* name);
    int WriteJournalArgPositionArray(const std::vector<Position>& points, const char* name);
    int WriteJournalArrayOfInvalidityType(const std::vector<InvalidityType>& values,
                                          const char* typeName, const char* name);
    int WriteJournalArgInvalidityTypeArrayPointer(const std::vector<InvalidityType>* values,
                                                  const char* name);

    // Tags: section rules decide "type"; the body a tag needs is written once, before it.
    int WriteJournalTag(int tag, const char* name, const char* fallbackType,
                        const char* elementName);
#define QEL_JOURNAL_TAG_WRITERS(Kind)                      \
    int WriteJournalArg##Kind(int tag, const char* name)   \
    {                                                      \
        return WriteJournalTag(tag, name, #Kind, nullptr); \
    }                                                      \
    int WriteJournalReturn##Kind(int tag) { return WriteJournalTag(tag, nullptr, #Kind, nullptr); }
    QEL_JOURNAL_TAG_KINDS(QEL_JOURNAL_TAG_WRITERS)
#undef QEL_JOURNAL_TAG_WRITERS

    // Enumerations by name; a number that names no value is written as the number, and a
    // missing value without "value".
    template <typename E>
    int WriteJournalEnum(const E* value, const char* typeName, const char* name,
                         const char* elementName);
    // A number given for an enumeration, as it was given.
    template <typename E>
    int WriteJournalEnumNumber(int number, const char* name)
    {
        return WriteJournalEnumValue(NameOfNumber(static_cast<const E*>(nullptr), number), number,
                                     EnumTypeName<E>(), name, nullptr);
    }
#define QEL_JOURNAL_ENUM_WRITERS(Enum)                                                   \
    int WriteJournal##Enum(const Enum* value, const char* name, const char* elementName) \
    {                                                                                    \
        return WriteJournalEnum(value, #Enum, name, elementName);                        \
    }                                                                                    \
    int WriteJournalArg##Enum(Enum value, const char* name)                              \
    {                                                                                    \
        return WriteJournal##Enum(&value, name, nullptr);                                \
    }                                                                                    \
    int WriteJournalReturn##Enum(Enum value)                                             \
    {                                                                                    \
        return WriteJournal##Enum(&value, nullptr, nullptr);                             \
    }
    QEL_JOURNAL_ENUMS(QEL_JOURNAL_ENUM_WRITERS)
#undef QEL_JOURNAL_ENUM_WRITERS

private:
    int WriteJournalEnumValue(const char* text, int number, const char* typeName, const char* name,
                              const char* elementName);
    template <typename E>
    static const char* EnumTypeName();
    // "length" then one element per item, each written by writeItem into an open "Element".
    template <typename Item, typename WriteItem>
    int WriteJournalArray(const std::vector<Item>& items, const char* name, const char* typeName,
                          bool withArgType, WriteItem writeItem, int priorLength = 0);
    void EndJournalArg();
    // The start BeginJournalArg begins with, null when no journal is open.
    const XMLPreparedStart* FindJournalArgStart(const char* name, const char* typeName,
                                                const char* elementName, bool withArgType);
    // A value element with no content and one attribute past its start (none when the value
    // is empty), written in one piece.
    void WriteJournalLeaf(const char* name, const char* typeName, const char* elementName,
                          const char* attribute, const char* value, std::size_t valueLength);
    // One text attribute of the open element; an empty text is left out.
    void WriteJournalText(const char* attribute, const char* value);
    XMLIO* Writer() const;

    const char* m_argType = nullptr;
    int m_interactionTag = 0;
};

template <typename E>
int JournalArguments::WriteJournalEnum(const E* value, const char* typeName, const char* name,
                                       const char* elementName)
{
    if (!value) {
        if (BeginJournalArg(name, typeName, elementName))
            EndJournalArg();
        return 0;
    }
    // An application may pass any number for an enumeration: read it as the number it is.
    std::underlying_type_t<E> number;
    std::memcpy(&number, value, sizeof number);
    const int asInt = static_cast<int>(number);
    return WriteJournalEnumValue(NameOfNumber(value, asInt), asInt, typeName, name, elementName);
}

#define QEL_JOURNAL_ENUM_TYPE_NAME(Enum)                      \
    template <>                                               \
    inline const char* JournalArguments::EnumTypeName<Enum>() \
    {                                                         \
        return #Enum;                                         \
    }
QEL_JOURNAL_ENUMS(QEL_JOURNAL_ENUM_TYPE_NAME)
#undef QEL_JOURNAL_ENUM_TYPE_NAME

}  // namespace QEL
