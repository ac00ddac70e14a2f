#pragma once
// Names of the enumeration values, as written to journals and save files, and their parsers;
// the names of kernel classes and of the solver's dimension kinds.
//
// Every enumeration has one table of (value, name) entries closed by an entry whose name is
// null and whose value is the parse default. XxxToString gives the name of a value, or an
// empty text (never null) for a value outside the table. XxxFromString matches a name ignoring
// letter case; where the value names begin with the type name, the bare rest is accepted too
// ("Fail" and "RESULTTYPEFAIL" both give ResultTypeFail). A name that matches nothing, or a
// null name, gives the parse default.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

#include <string>

namespace QEL {

// The name of a number given for an enumeration, or an empty text when it names no value. The
// number is taken as an int, so a number outside the enumeration is never held as one.
#define QEL_DECLARE_NUMBER_NAME(Type) const char* NameOfNumber(const Type*, int number);
QEL_DECLARE_NUMBER_NAME(ResultType)
QEL_DECLARE_NUMBER_NAME(ShellType)
QEL_DECLARE_NUMBER_NAME(ShellLocalFaceType)
QEL_DECLARE_NUMBER_NAME(BlendIdentifyType)
QEL_DECLARE_NUMBER_NAME(StepFaceType)
QEL_DECLARE_NUMBER_NAME(TaperMethodType)
QEL_DECLARE_NUMBER_NAME(TaperLaminarEdgeType)
QEL_DECLARE_NUMBER_NAME(ReplaceEdgesUseType)
QEL_DECLARE_NUMBER_NAME(ReplaceMergeType)
QEL_DECLARE_NUMBER_NAME(UpdateStatus)
QEL_DECLARE_NUMBER_NAME(ExtractBodyPersistentDataStatus)
QEL_DECLARE_NUMBER_NAME(RestoreBodyPersistentDataStatus)
QEL_DECLARE_NUMBER_NAME(TrackingDataType)
QEL_DECLARE_NUMBER_NAME(PasteType)
QEL_DECLARE_NUMBER_NAME(InvalidityType)
QEL_DECLARE_NUMBER_NAME(ObjectType)
QEL_DECLARE_NUMBER_NAME(FeatureType)
QEL_DECLARE_NUMBER_NAME(ReferenceBehaviour)
QEL_DECLARE_NUMBER_NAME(RelationType)
QEL_DECLARE_NUMBER_NAME(RelationSubtype)
QEL_DECLARE_NUMBER_NAME(FeatureProcedureType)
QEL_DECLARE_NUMBER_NAME(FindGeometryType)
QEL_DECLARE_NUMBER_NAME(FindRelationType)
QEL_DECLARE_NUMBER_NAME(PreviewMode)
QEL_DECLARE_NUMBER_NAME(SolutionDataMode)
QEL_DECLARE_NUMBER_NAME(ReplayStatus)
QEL_DECLARE_NUMBER_NAME(RuleState)
QEL_DECLARE_NUMBER_NAME(RuleType)
QEL_DECLARE_NUMBER_NAME(FoundDataType)
QEL_DECLARE_NUMBER_NAME(FoundDataState)
QEL_DECLARE_NUMBER_NAME(OperationType)
#undef QEL_DECLARE_NUMBER_NAME

// ResultType
QEL_API const char* ResultTypeToString(ResultType value);
const char* ResultTypeEnumName();
ResultType ResultTypeFromString(const char* name);

// ShellType
const char* ShellTypeToString(ShellType value);
const char* ShellTypeEnumName();
ShellType ShellTypeFromString(const char* name);

// ShellLocalFaceType
const char* ShellLocalFaceTypeToString(ShellLocalFaceType value);
const char* ShellLocalFaceTypeEnumName();
ShellLocalFaceType ShellLocalFaceTypeFromString(const char* name);

// BlendIdentifyType
QEL_API const char* BlendIdentifyTypeToString(BlendIdentifyType value);
const char* BlendIdentifyTypeEnumName();
BlendIdentifyType BlendIdentifyTypeFromString(const char* name);
BlendIdentifyType BlendIdentifyTypeFromString(const std::string& name);

// StepFaceType
QEL_API const char* StepFaceTypeToString(StepFaceType value);
const char* StepFaceTypeEnumName();
StepFaceType StepFaceTypeFromString(const char* name);
StepFaceType StepFaceTypeFromString(const std::string& name);

// TaperMethodType
QEL_API const char* TaperMethodTypeToString(TaperMethodType value);
const char* TaperMethodTypeEnumName();
TaperMethodType TaperMethodTypeFromString(const char* name);
TaperMethodType TaperMethodTypeFromString(const std::string& name);

// TaperLaminarEdgeType
QEL_API const char* TaperLaminarEdgeTypeToString(TaperLaminarEdgeType value);
const char* TaperLaminarEdgeTypeEnumName();
TaperLaminarEdgeType TaperLaminarEdgeTypeFromString(const char* name);
TaperLaminarEdgeType TaperLaminarEdgeTypeFromString(const std::string& name);

// ReplaceEdgesUseType
QEL_API const char* ReplaceEdgesUseTypeToString(ReplaceEdgesUseType value);
const char* ReplaceEdgesUseTypeEnumName();
ReplaceEdgesUseType ReplaceEdgesUseTypeFromString(const char* name);
ReplaceEdgesUseType ReplaceEdgesUseTypeFromString(const std::string& name);

// ReplaceMergeType
QEL_API const char* ReplaceMergeTypeToString(ReplaceMergeType value);
const char* ReplaceMergeTypeEnumName();
ReplaceMergeType ReplaceMergeTypeFromString(const char* name);
ReplaceMergeType ReplaceMergeTypeFromString(const std::string& name);

// UpdateStatus
QEL_API const char* UpdateStatusToString(UpdateStatus value);
const char* UpdateStatusEnumName();
UpdateStatus UpdateStatusFromString(const char* name);
UpdateStatus UpdateStatusFromString(const std::string& name);

// ExtractBodyPersistentDataStatus
QEL_API const char* ExtractBodyPersistentDataStatusToString(ExtractBodyPersistentDataStatus value);
const char* ExtractBodyPersistentDataStatusEnumName();
ExtractBodyPersistentDataStatus ExtractBodyPersistentDataStatusFromString(const char* name);
ExtractBodyPersistentDataStatus ExtractBodyPersistentDataStatusFromString(const std::string& name);

// RestoreBodyPersistentDataStatus
QEL_API const char* RestoreBodyPersistentDataStatusToString(RestoreBodyPersistentDataStatus value);
const char* RestoreBodyPersistentDataStatusEnumName();
RestoreBodyPersistentDataStatus RestoreBodyPersistentDataStatusFromString(const char* name);
RestoreBodyPersistentDataStatus RestoreBodyPersistentDataStatusFromString(const std::string& name);

// TrackingDataType
QEL_API const char* TrackingDataTypeToString(TrackingDataType value);
const char* TrackingDataTypeEnumName();
TrackingDataType TrackingDataTypeFromString(const char* name);
TrackingDataType TrackingDataTypeFromString(const std::string& name);

// PasteType
QEL_API const char* PasteTypeToString(PasteType value);
const char* PasteTypeEnumName();
PasteType PasteTypeFromString(const char* name);
PasteType PasteTypeFromString(const std::string& name);

// InvalidityType
QEL_API const char* InvalidityTypeToString(InvalidityType value);
const char* InvalidityTypeEnumName();
InvalidityType InvalidityTypeFromString(const char* name);
InvalidityType InvalidityTypeFromString(const std::string& name);

// ObjectType
QEL_API const char* ObjectTypeToString(ObjectType value);
const char* ObjectTypeEnumName();
ObjectType ObjectTypeFromString(const char* name);
ObjectType ObjectTypeFromString(const std::string& name);

// FeatureType
QEL_API const char* FeatureTypeToString(FeatureType value);
const char* FeatureTypeEnumName();
FeatureType FeatureTypeFromString(const char* name);
FeatureType FeatureTypeFromString(const std::string& name);

// ReferenceBehaviour
QEL_API const char* ReferenceBehaviourToString(ReferenceBehaviour value);
const char* ReferenceBehaviourEnumName();
ReferenceBehaviour ReferenceBehaviourFromString(const char* name);
ReferenceBehaviour ReferenceBehaviourFromString(const std::string& name);

// RelationType
QEL_API const char* RelationTypeToString(RelationType value);
const char* RelationTypeEnumName();
RelationType RelationTypeFromString(const char* name);
RelationType RelationTypeFromString(const std::string& name);

// RelationSubtype
QEL_API const char* RelationSubtypeToString(RelationSubtype value);
const char* RelationSubtypeEnumName();
RelationSubtype RelationSubtypeFromString(const char* name);
RelationSubtype RelationSubtypeFromString(const std::string& name);

// FeatureProcedureType
const char* FeatureProcedureTypeToString(FeatureProcedureType value);
const char* FeatureProcedureTypeEnumName();
FeatureProcedureType FeatureProcedureTypeFromString(const char* name);
FeatureProcedureType FeatureProcedureTypeFromString(const std::string& name);

// FindGeometryType
QEL_API const char* FindGeometryTypeToString(FindGeometryType value);
const char* FindGeometryTypeEnumName();
FindGeometryType FindGeometryTypeFromString(const char* name);
FindGeometryType FindGeometryTypeFromString(const std::string& name);

// FindRelationType
QEL_API const char* FindRelationTypeToString(FindRelationType value);
const char* FindRelationTypeEnumName();
FindRelationType FindRelationTypeFromString(const char* name);
FindRelationType FindRelationTypeFromString(const std::string& name);

// PreviewMode
QEL_API const char* PreviewModeToString(PreviewMode value);
const char* PreviewModeEnumName();
PreviewMode PreviewModeFromString(const char* name);
PreviewMode PreviewModeFromString(const std::string& name);

// SolutionDataMode
QEL_API const char* SolutionDataModeToString(SolutionDataMode value);
const char* SolutionDataModeEnumName();
SolutionDataMode SolutionDataModeFromString(const char* name);
SolutionDataMode SolutionDataModeFromString(const std::string& name);

// ReplayStatus
QEL_API const char* ReplayStatusToString(ReplayStatus value);

// RuleState
QEL_API const char* RuleStateToString(RuleState value);
const char* RuleStateEnumName();
RuleState RuleStateFromString(const char* name);
RuleState RuleStateFromString(const std::string& name);

// RuleType
QEL_API const char* RuleTypeToString(RuleType value);
const char* RuleTypeEnumName();
RuleType RuleTypeFromString(const char* name);
RuleType RuleTypeFromString(const std::string& name);

// FoundDataType
QEL_API const char* FoundDataTypeToString(FoundDataType value);
const char* FoundDataTypeEnumName();
FoundDataType FoundDataTypeFromString(const char* name);
FoundDataType FoundDataTypeFromString(const std::string& name);

// FoundDataState
QEL_API const char* FoundDataStateToString(FoundDataState value);
const char* FoundDataStateEnumName();
FoundDataState FoundDataStateFromString(const char* name);
FoundDataState FoundDataStateFromString(const std::string& name);

// OperationType
QEL_API const char* OperationTypeToString(OperationType value);
const char* OperationTypeEnumName();
OperationType OperationTypeFromString(const char* name);
OperationType OperationTypeFromString(const std::string& name);

// True when the text is exactly (case-sensitively) the type name of an enumeration that has a
// parser.
bool IsEnumTypeName(const std::string& typeName);
// Parses valueName with the parser of the enumeration named typeName into value; false, value
// untouched, when no enumeration has that type name.
bool EnumFromString(const std::string& typeName, const std::string& valueName, int& value);

// Kernel class codes and their names ("BQ_CLASS_face" ...).
struct KernelClassName {
    int code;
    const char* name;
};
// The table of kernel class names, closed by an entry (500, null).
const KernelClassName* GetBqClassNames();
// The name of a kernel class code; an empty text for a code not in the table.
const char* KernelClassToString(int code);
// The code of a kernel class name, ignoring letter case, with or without "BQ_CLASS_"; the null
// class 500 when the name matches nothing.
int KernelClassFromString(const char* name);
int KernelClassFromString(const std::string& name);

// The name of a dimension kind of the constraint solver ("ZMR3_DISTANCE" ...), for debug
// output; an empty text for a value without a name.
std::string DTypeToString(int value);

}  // namespace QEL
