#pragma once
// The journal's element and attribute names. The replay reader keeps its own copy of these
// texts, so a name is changed only together with the reader.

namespace QEL {
namespace JournalName {

constexpr const char* Root = "QELJournal";
constexpr const char* Index = "index";
constexpr const char* ReturnValue = "ReturnValue";
constexpr const char* Element = "Element";
constexpr const char* Value = "value";
constexpr const char* Type = "type";
constexpr const char* Tag = "tag";
constexpr const char* TagType = "Tag";
constexpr const char* Length = "length";
constexpr const char* PriorLength = "priorLength";
constexpr const char* DoubleArray = "DoubleArray";
constexpr const char* TagArray = "TagArray";
constexpr const char* IntegerArray = "IntegerArray";
constexpr const char* TagArrayArray = "TagArrayArray";
constexpr const char* DoubleBuffer = "double[]";
constexpr const char* Transform = "Transform";
constexpr const char* TransformArray = "TransformArray";
constexpr const char* String = "String";
constexpr const char* Id = "id";
constexpr const char* FeatureId = "featureId";
constexpr const char* ArgType = "argType";
constexpr const char* Input = "input";
constexpr const char* Output = "output";
constexpr const char* ForceFailure = "forceFailure";
constexpr const char* IsNull = "isNull";
constexpr const char* Double = "double";
constexpr const char* Int = "int";
constexpr const char* Bool = "bool";
constexpr const char* Position = "Position";
constexpr const char* PositionArray = "PositionArray";
constexpr const char* Information = "Information";
constexpr const char* Time = "time";
constexpr const char* BodyIndex = "bodyIndex";
constexpr const char* Interaction = "Interaction";
constexpr const char* Function = "Function";
constexpr const char* Argument = "Argument";
constexpr const char* Name = "name";
constexpr const char* Result = "result";

}  // namespace JournalName
}  // namespace QEL
