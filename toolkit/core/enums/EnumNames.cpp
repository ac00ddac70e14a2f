#include "core/enums/EnumNames.h"

#include "core/support/TextUtils.h"

#include <cstring>

namespace QEL {

namespace {

struct EnumEntry {
    int value;
    const char* name;
};

#define QEL_ENUM_ENTRY(value) \
    {                         \
        value, #value         \
    }

const EnumEntry* ResultTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ResultTypeOk),
        QEL_ENUM_ENTRY(ResultTypeBadArgument),
        QEL_ENUM_ENTRY(ResultTypeUnknown),
        QEL_ENUM_ENTRY(ResultTypeUnhandledException),
        QEL_ENUM_ENTRY(ResultTypeNotSupported),
        QEL_ENUM_ENTRY(ResultTypeFail),
        QEL_ENUM_ENTRY(ResultTypeDragActive),
        QEL_ENUM_ENTRY(ResultTypeDragInactive),
        QEL_ENUM_ENTRY(ResultTypeBadReference),
        QEL_ENUM_ENTRY(ResultTypeNoBrennikSession),
        QEL_ENUM_ENTRY(ResultTypeNoBrennikRollback),
        QEL_ENUM_ENTRY(ResultTypeBrennikBBOn),
        QEL_ENUM_ENTRY(ResultTypeInteractionAlreadyCreated),
        QEL_ENUM_ENTRY(ResultTypeMultipleInteractions),
        QEL_ENUM_ENTRY(ResultTypeBadReferenceCombination),
        QEL_ENUM_ENTRY(ResultTypeNoSelection),
        QEL_ENUM_ENTRY(ResultTypeFaceToOffsetHasFixedRelation),
        QEL_ENUM_ENTRY(ResultTypeFaceToOffsetHasRadiusRelation),
        QEL_ENUM_ENTRY(ResultTypeOffsetFaceCausedSelfIntersection),
        QEL_ENUM_ENTRY(ResultTypeCouldNotOpenFile),
        QEL_ENUM_ENTRY(ResultTypeFaceToOffsetHasConflictNeighborPartnerFace),
        QEL_ENUM_ENTRY(ResultTypeInvalidReferenceBehaviour),
        QEL_ENUM_ENTRY(ResultTypeFaceToOffsetReferencedByFeature),
        QEL_ENUM_ENTRY(ResultTypeFoundBlendFaceShellPartnerFace),
        QEL_ENUM_ENTRY(ResultTypeReplayActive),
        QEL_ENUM_ENTRY(ResultTypeReplayInactive),
        QEL_ENUM_ENTRY(ResultTypeObjectDiffers),
        QEL_ENUM_ENTRY(ResultTypeBodyDiffers),
        QEL_ENUM_ENTRY(ResultTypeInvalidShellTypeInput),
        QEL_ENUM_ENTRY(ResultTypeOperationNotSet),
        QEL_ENUM_ENTRY(ResultTypeOperationStarted),
        QEL_ENUM_ENTRY(ResultTypeOperationNotStarted),
        QEL_ENUM_ENTRY(ResultTypeOperationNotConfigured),
        QEL_ENUM_ENTRY(ResultTypeOperationCombinationNotSupported),
        QEL_ENUM_ENTRY(ResultTypeSheetBodyReferenced),
        QEL_ENUM_ENTRY(ResultTypeReplaceWithSheetFailed),
        QEL_ENUM_ENTRY(ResultTypeReplaceWithSurfaceFailed),
        {2, nullptr},
    };
    return table;
}

const EnumEntry* ShellTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ShellTypeInwards),
        QEL_ENUM_ENTRY(ShellTypeOutwards),
        QEL_ENUM_ENTRY(ShellTypeSymmetric),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* ShellLocalFaceTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ShellLocalFaceTypeNone),
        QEL_ENUM_ENTRY(ShellLocalFaceTypeExclude),
        QEL_ENUM_ENTRY(ShellLocalFaceTypeAdd),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* BlendIdentifyTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(BlendIdentifyTypeAllWithinBody),
        QEL_ENUM_ENTRY(BlendIdentifyTypeExcMinChain),
        QEL_ENUM_ENTRY(BlendIdentifyTypeIncMinChain),
        QEL_ENUM_ENTRY(BlendIdentifyTypeMaxChain),
        QEL_ENUM_ENTRY(BlendIdentifyTypeEqualRadiusWithinBody),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* StepFaceTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(StepFaceOff),
        QEL_ENUM_ENTRY(StepFaceOnAllEdges),
        QEL_ENUM_ENTRY(StepFaceOnSmoothEdges),
        QEL_ENUM_ENTRY(StepFaceOnIfNotCoincident),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* TaperMethodTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(TaperMethodTypeCurve),    QEL_ENUM_ENTRY(TaperMethodTypeSurface),
        QEL_ENUM_ENTRY(TaperMethodTypeIsocline), QEL_ENUM_ENTRY(TaperMethodTypeOffset),
        QEL_ENUM_ENTRY(TaperMethodTypeNormal),   {1, nullptr},
    };
    return table;
}

const EnumEntry* TaperLaminarEdgeTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(TaperLaminarEdgeTypeNormal),
        QEL_ENUM_ENTRY(TaperLaminarEdgeTypeDraw),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* ReplaceEdgesUseTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ReplaceEdgesUseTypeAttempt),
        QEL_ENUM_ENTRY(ReplaceEdgesUseTypeYes),
        QEL_ENUM_ENTRY(ReplaceEdgesUseTypeExisting),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* ReplaceMergeTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ReplaceMergeTypeNo),
        QEL_ENUM_ENTRY(ReplaceMergeTypeIn),
        QEL_ENUM_ENTRY(ReplaceMergeTypeOut),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* UpdateStatusTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(UpdateUnknown),
        QEL_ENUM_ENTRY(UpdateSolveFailed),
        QEL_ENUM_ENTRY(UpdateChangeFailed),
        QEL_ENUM_ENTRY(UpdateApplied),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* ExtractBodyPersistentDataStatusTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ExtractBodyPersistentDataStored),
        QEL_ENUM_ENTRY(ExtractBodyPersistentDataRemoved),
        QEL_ENUM_ENTRY(ExtractBodyPersistentDataAlreadyStored),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* RestoreBodyPersistentDataStatusTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(RestoreBodyPersistentDataRestored),
        QEL_ENUM_ENTRY(RestoreBodyPersistentDataNothingToRestore),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* TrackingDataTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(TrackingDataTypeNone),   QEL_ENUM_ENTRY(TrackingDataTypeDelete),
        QEL_ENUM_ENTRY(TrackingDataTypeMerge),  QEL_ENUM_ENTRY(TrackingDataTypeCreate),
        QEL_ENUM_ENTRY(TrackingDataTypeSplit),  QEL_ENUM_ENTRY(TrackingDataTypeDerive),
        QEL_ENUM_ENTRY(TrackingDataTypeModify), {0, nullptr},
    };
    return table;
}

const EnumEntry* PasteTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(PasteTypeDefault),
        QEL_ENUM_ENTRY(PasteTypeAdd),
        QEL_ENUM_ENTRY(PasteTypeSubtract),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* InvalidityTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(InvalidityTypeBadPointer),
        QEL_ENUM_ENTRY(InvalidityTypeBadObject),
        QEL_ENUM_ENTRY(InvalidityTypeBadAttribute),
        QEL_ENUM_ENTRY(InvalidityTypeBadGroup),
        QEL_ENUM_ENTRY(InvalidityTypeBadBrennikEntity),
        QEL_ENUM_ENTRY(InvalidityTypeDuplicateObject),
        {2, nullptr},
    };
    return table;
}

const EnumEntry* ObjectTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ObjectTypeUnknown),
        QEL_ENUM_ENTRY(ObjectTypeInteraction),
        QEL_ENUM_ENTRY(ObjectTypeInstance),
        QEL_ENUM_ENTRY(ObjectTypeReference),
        QEL_ENUM_ENTRY(ObjectTypeRelation),
        QEL_ENUM_ENTRY(ObjectTypeFeature),
        QEL_ENUM_ENTRY(ObjectTypeMappingData),
        QEL_ENUM_ENTRY(ObjectTypeReorderBlendsOptions),
        QEL_ENUM_ENTRY(ObjectTypeCutOptions),
        QEL_ENUM_ENTRY(ObjectTypeCopyOptions),
        QEL_ENUM_ENTRY(ObjectTypeDeleteFacesOptions),
        QEL_ENUM_ENTRY(ObjectTypeShellOptions),
        QEL_ENUM_ENTRY(ObjectTypePasteOptions),
        QEL_ENUM_ENTRY(ObjectTypeOffsetFacesOptions),
        QEL_ENUM_ENTRY(ObjectTypeUserDefinedFacePattern),
        QEL_ENUM_ENTRY(ObjectTypeSection),
        QEL_ENUM_ENTRY(ObjectTypeRectangularFacePattern),
        QEL_ENUM_ENTRY(ObjectTypeCircularFacePattern),
        QEL_ENUM_ENTRY(ObjectTypeFeatureProcedureData),
        QEL_ENUM_ENTRY(ObjectTypeVirtualVertex),
        QEL_ENUM_ENTRY(ObjectTypeRule),
        QEL_ENUM_ENTRY(ObjectTypeFoundData),
        QEL_ENUM_ENTRY(ObjectTypeTaperOptions),
        QEL_ENUM_ENTRY(ObjectTypeReplaceOptions),
        QEL_ENUM_ENTRY(ObjectTypeMakeFeatureOptions),
        QEL_ENUM_ENTRY(ObjectTypeReplaceFacesWithSheetOptions),
        QEL_ENUM_ENTRY(ObjectTypeExtractBodyPersistentDataOptions),
        QEL_ENUM_ENTRY(ObjectTypeRestoreBodyPersistentDataOptions),
        QEL_ENUM_ENTRY(ObjectTypeRemoveFaceShellPersistentDataOptions),
        QEL_ENUM_ENTRY(ObjectTypeBodyIsPasteToolOptions),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* FeatureTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FeatureTypeNone),
        QEL_ENUM_ENTRY(FeatureTypeSimple),
        QEL_ENUM_ENTRY(FeatureTypeSimpleRecreate),
        QEL_ENUM_ENTRY(FeatureTypeComplexRecreate),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* ReferenceBehaviourTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ReferenceBehaviourModelling),
        QEL_ENUM_ENTRY(ReferenceBehaviourPositioning),
        {1, nullptr},
    };
    return table;
}

const EnumEntry* RelationTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(RelationTypeDistance),      QEL_ENUM_ENTRY(RelationTypeDirectedDistance),
        QEL_ENUM_ENTRY(RelationTypeAngle),         QEL_ENUM_ENTRY(RelationTypePlanarAngle),
        QEL_ENUM_ENTRY(RelationTypeHalfAngle),     QEL_ENUM_ENTRY(RelationTypeRadius),
        QEL_ENUM_ENTRY(RelationTypeMinorRadius),   QEL_ENUM_ENTRY(RelationTypeEqualRadius),
        QEL_ENUM_ENTRY(RelationTypeSimilar),       QEL_ENUM_ENTRY(RelationTypeParallel),
        QEL_ENUM_ENTRY(RelationTypePerpendicular), QEL_ENUM_ENTRY(RelationTypeCoincident),
        QEL_ENUM_ENTRY(RelationTypeConcentric),    QEL_ENUM_ENTRY(RelationTypeTangent),
        QEL_ENUM_ENTRY(RelationTypeSymmetric),     QEL_ENUM_ENTRY(RelationTypeCoPlanar),
        QEL_ENUM_ENTRY(RelationTypeCoPlaxis),      QEL_ENUM_ENTRY(RelationTypeFixed),
        QEL_ENUM_ENTRY(RelationTypeRigid),         {17, nullptr},
    };
    return table;
}

const EnumEntry* RelationSubtypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(RelationSubtypeBoundary),
        QEL_ENUM_ENTRY(RelationSubtypeCentre),
        QEL_ENUM_ENTRY(RelationSubtypeAxis),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* FeatureProcedureTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FeatureProcedureTypeNone),
        QEL_ENUM_ENTRY(FeatureProcedureTypeCreateToolBody),
        QEL_ENUM_ENTRY(FeatureProcedureTypeModifySolid),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* FindGeometryTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FindGeometryTypePlane),
        QEL_ENUM_ENTRY(FindGeometryTypeCylinderFull),
        QEL_ENUM_ENTRY(FindGeometryTypeCylinderPartial),
        QEL_ENUM_ENTRY(FindGeometryTypeConeFull),
        QEL_ENUM_ENTRY(FindGeometryTypeConePartial),
        QEL_ENUM_ENTRY(FindGeometryTypeTorusMajorFull),
        QEL_ENUM_ENTRY(FindGeometryTypeTorusMajorPartial),
        QEL_ENUM_ENTRY(FindGeometryTypeTorusMinorFull),
        QEL_ENUM_ENTRY(FindGeometryTypeTorusMinorPartial),
        QEL_ENUM_ENTRY(FindGeometryTypeLinearEdge),
        QEL_ENUM_ENTRY(FindGeometryTypeCircularEdge),
        QEL_ENUM_ENTRY(FindGeometryTypeSphereFull),
        QEL_ENUM_ENTRY(FindGeometryTypeSpherePartial),
        QEL_ENUM_ENTRY(FindGeometryTypeMax),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* FindRelationTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FindRelationTypeCoPlanar),
        QEL_ENUM_ENTRY(FindRelationTypeConcentric),
        QEL_ENUM_ENTRY(FindRelationTypeParallel),
        QEL_ENUM_ENTRY(FindRelationTypePerpendicular),
        QEL_ENUM_ENTRY(FindRelationTypeCoPlaxis),
        QEL_ENUM_ENTRY(FindRelationTypeTangent),
        QEL_ENUM_ENTRY(FindRelationTypeTangentAtEdge),
        QEL_ENUM_ENTRY(FindRelationTypeSymmetric),
        QEL_ENUM_ENTRY(FindRelationTypeSimilar),
        QEL_ENUM_ENTRY(FindRelationTypeMax),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* PreviewModeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(PreviewModeOff),
        QEL_ENUM_ENTRY(PreviewModeFailureOnly),
        QEL_ENUM_ENTRY(PreviewModeAlways),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* SolutionDataModeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(SolutionDataModeOff),
        QEL_ENUM_ENTRY(SolutionDataModeOn),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* ReplayStatusTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(ReplaySuccess),
        QEL_ENUM_ENTRY(ReplayIgnored),
        QEL_ENUM_ENTRY(ReplayEndOfJournal),
        QEL_ENUM_ENTRY(ReplayFailure),
        QEL_ENUM_ENTRY(ReplayCheckpointDiffers),
        QEL_ENUM_ENTRY(ReplayArgumentDiffers),
        QEL_ENUM_ENTRY(ReplayResultDiffers),
        QEL_ENUM_ENTRY(ReplayReturnValueDiffers),
        QEL_ENUM_ENTRY(ReplayProcessingFailure),
        QEL_ENUM_ENTRY(ReplayNotSupported),
        {3, nullptr},
    };
    return table;
}

const EnumEntry* RuleStateTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(RuleStateApply),
        QEL_ENUM_ENTRY(RuleStateRelax),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* RuleTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(RuleTypeDoNotMove),           QEL_ENUM_ENTRY(RuleTypeDoNotRotate),
        QEL_ENUM_ENTRY(RuleTypeRelativeAngle),       QEL_ENUM_ENTRY(RuleTypeTranslateInDir),
        QEL_ENUM_ENTRY(RuleTypeMinimiseTranslation), QEL_ENUM_ENTRY(RuleTypeKeepRadius),
        QEL_ENUM_ENTRY(RuleTypeKeepMinorRadius),     QEL_ENUM_ENTRY(RuleTypeKeepHalfAngle),
        QEL_ENUM_ENTRY(RuleTypeTreatAsBlend),        {0, nullptr},
    };
    return table;
}

const EnumEntry* FoundDataTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FoundDataTypeRelation),
        QEL_ENUM_ENTRY(FoundDataTypeShell),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* FoundDataStateTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(FoundDataStateApply),
        QEL_ENUM_ENTRY(FoundDataStateRelax),
        {0, nullptr},
    };
    return table;
}

const EnumEntry* OperationTypeTable()
{
    static const EnumEntry table[] = {
        QEL_ENUM_ENTRY(OperationTypeNone),
        QEL_ENUM_ENTRY(OperationTypeDragLinear),
        QEL_ENUM_ENTRY(OperationTypeDragByTransform),
        QEL_ENUM_ENTRY(OperationTypeDragPlanar),
        QEL_ENUM_ENTRY(OperationTypeDragRotate),
        QEL_ENUM_ENTRY(OperationTypeEvaluate),
        QEL_ENUM_ENTRY(OperationTypeDragCircularFacePatternSpacing),
        QEL_ENUM_ENTRY(OperationTypeDragRectangularFacePatternXSpacing),
        QEL_ENUM_ENTRY(OperationTypeDragRectangularFacePatternYSpacing),
        QEL_ENUM_ENTRY(OperationTypeDragBlendRadius),
        QEL_ENUM_ENTRY(OperationTypeDragOffsetFaces),
        QEL_ENUM_ENTRY(OperationTypeDragShellThickness),
        {0, nullptr},
    };
    return table;
}

const char* NameOfValue(const EnumEntry* table, int value)
{
    for (; table->name; ++table)
        if (table->value == value)
            return table->name;
    return "";
}

int ParseValueName(const EnumEntry* table, const char* typeName, const char* name)
{
    if (!name)
        name = "";
    // The bare rest of a name is accepted only where the value names carry the type name.
    const int typeLength = static_cast<int>(std::strlen(typeName));
    std::string wanted = name;
    if (!IsEqualNoCaseN(name, typeName, typeLength) &&
        IsEqualNoCaseN(table->name, typeName, typeLength))
        wanted = std::string(typeName) + name;
    for (; table->name; ++table)
        if (IsEqualNoCase(table->name, wanted.c_str()))
            return table->value;
    return table->value;
}

}  // namespace

#define QEL_DEFINE_TO_STRING(Type)                                                       \
    const char* Type##ToString(Type value) { return NameOfValue(Type##Table(), value); } \
    const char* NameOfNumber(const Type*, int number) { return NameOfValue(Type##Table(), number); }

#define QEL_DEFINE_PARSER(Type)                                               \
    const char* Type##EnumName() { return #Type; }                            \
    Type Type##FromString(const char* name)                                   \
    {                                                                         \
        return static_cast<Type>(ParseValueName(Type##Table(), #Type, name)); \
    }

#define QEL_DEFINE_STRING_PARSER(Type) \
    Type Type##FromString(const std::string& name) { return Type##FromString(name.c_str()); }

QEL_DEFINE_TO_STRING(ResultType)
QEL_DEFINE_PARSER(ResultType)
QEL_DEFINE_TO_STRING(ShellType)
QEL_DEFINE_PARSER(ShellType)
QEL_DEFINE_TO_STRING(ShellLocalFaceType)
QEL_DEFINE_PARSER(ShellLocalFaceType)
QEL_DEFINE_TO_STRING(BlendIdentifyType)
QEL_DEFINE_PARSER(BlendIdentifyType)
QEL_DEFINE_STRING_PARSER(BlendIdentifyType)
QEL_DEFINE_TO_STRING(StepFaceType)
QEL_DEFINE_PARSER(StepFaceType)
QEL_DEFINE_STRING_PARSER(StepFaceType)
QEL_DEFINE_TO_STRING(TaperMethodType)
QEL_DEFINE_PARSER(TaperMethodType)
QEL_DEFINE_STRING_PARSER(TaperMethodType)
QEL_DEFINE_TO_STRING(TaperLaminarEdgeType)
QEL_DEFINE_PARSER(TaperLaminarEdgeType)
QEL_DEFINE_STRING_PARSER(TaperLaminarEdgeType)
QEL_DEFINE_TO_STRING(ReplaceEdgesUseType)
QEL_DEFINE_PARSER(ReplaceEdgesUseType)
QEL_DEFINE_STRING_PARSER(ReplaceEdgesUseType)
QEL_DEFINE_TO_STRING(ReplaceMergeType)
QEL_DEFINE_PARSER(ReplaceMergeType)
QEL_DEFINE_STRING_PARSER(ReplaceMergeType)
QEL_DEFINE_TO_STRING(UpdateStatus)
QEL_DEFINE_PARSER(UpdateStatus)
QEL_DEFINE_STRING_PARSER(UpdateStatus)
QEL_DEFINE_TO_STRING(ExtractBodyPersistentDataStatus)
QEL_DEFINE_PARSER(ExtractBodyPersistentDataStatus)
QEL_DEFINE_STRING_PARSER(ExtractBodyPersistentDataStatus)
QEL_DEFINE_TO_STRING(RestoreBodyPersistentDataStatus)
QEL_DEFINE_PARSER(RestoreBodyPersistentDataStatus)
QEL_DEFINE_STRING_PARSER(RestoreBodyPersistentDataStatus)
QEL_DEFINE_TO_STRING(TrackingDataType)
QEL_DEFINE_PARSER(TrackingDataType)
QEL_DEFINE_STRING_PARSER(TrackingDataType)
QEL_DEFINE_TO_STRING(PasteType)
QEL_DEFINE_PARSER(PasteType)
QEL_DEFINE_STRING_PARSER(PasteType)
QEL_DEFINE_TO_STRING(InvalidityType)
QEL_DEFINE_PARSER(InvalidityType)
QEL_DEFINE_STRING_PARSER(InvalidityType)
QEL_DEFINE_TO_STRING(ObjectType)
QEL_DEFINE_PARSER(ObjectType)
QEL_DEFINE_STRING_PARSER(ObjectType)
QEL_DEFINE_TO_STRING(FeatureType)
QEL_DEFINE_PARSER(FeatureType)
QEL_DEFINE_STRING_PARSER(FeatureType)
QEL_DEFINE_TO_STRING(ReferenceBehaviour)
QEL_DEFINE_PARSER(ReferenceBehaviour)
QEL_DEFINE_STRING_PARSER(ReferenceBehaviour)
QEL_DEFINE_TO_STRING(RelationType)
QEL_DEFINE_PARSER(RelationType)
QEL_DEFINE_STRING_PARSER(RelationType)
QEL_DEFINE_TO_STRING(RelationSubtype)
QEL_DEFINE_PARSER(RelationSubtype)
QEL_DEFINE_STRING_PARSER(RelationSubtype)
QEL_DEFINE_TO_STRING(FeatureProcedureType)
QEL_DEFINE_PARSER(FeatureProcedureType)
QEL_DEFINE_STRING_PARSER(FeatureProcedureType)
QEL_DEFINE_TO_STRING(FindGeometryType)
QEL_DEFINE_PARSER(FindGeometryType)
QEL_DEFINE_STRING_PARSER(FindGeometryType)
QEL_DEFINE_TO_STRING(FindRelationType)
QEL_DEFINE_PARSER(FindRelationType)
QEL_DEFINE_STRING_PARSER(FindRelationType)
QEL_DEFINE_TO_STRING(PreviewMode)
QEL_DEFINE_PARSER(PreviewMode)
QEL_DEFINE_STRING_PARSER(PreviewMode)
QEL_DEFINE_TO_STRING(SolutionDataMode)
QEL_DEFINE_PARSER(SolutionDataMode)
QEL_DEFINE_STRING_PARSER(SolutionDataMode)
QEL_DEFINE_TO_STRING(ReplayStatus)
QEL_DEFINE_TO_STRING(RuleState)
QEL_DEFINE_PARSER(RuleState)
QEL_DEFINE_STRING_PARSER(RuleState)
QEL_DEFINE_TO_STRING(RuleType)
QEL_DEFINE_PARSER(RuleType)
QEL_DEFINE_STRING_PARSER(RuleType)
QEL_DEFINE_TO_STRING(FoundDataType)
QEL_DEFINE_PARSER(FoundDataType)
QEL_DEFINE_STRING_PARSER(FoundDataType)
QEL_DEFINE_TO_STRING(FoundDataState)
QEL_DEFINE_PARSER(FoundDataState)
QEL_DEFINE_STRING_PARSER(FoundDataState)
QEL_DEFINE_TO_STRING(OperationType)
QEL_DEFINE_PARSER(OperationType)
QEL_DEFINE_STRING_PARSER(OperationType)

namespace {

struct EnumParser {
    const char* typeName;
    int (*parse)(const char* name);
};

#define QEL_PARSER_ENTRY(Type)                                                \
    {                                                                         \
#Type, [](const char* name) -> int { return Type##FromString(name); } \
    }

// In the order in which the journal replay looks type names up.
const EnumParser kParsers[] = {
    QEL_PARSER_ENTRY(ResultType),
    QEL_PARSER_ENTRY(ShellType),
    QEL_PARSER_ENTRY(ShellLocalFaceType),
    QEL_PARSER_ENTRY(BlendIdentifyType),
    QEL_PARSER_ENTRY(StepFaceType),
    QEL_PARSER_ENTRY(TaperMethodType),
    QEL_PARSER_ENTRY(TaperLaminarEdgeType),
    QEL_PARSER_ENTRY(ReplaceEdgesUseType),
    QEL_PARSER_ENTRY(ReplaceMergeType),
    QEL_PARSER_ENTRY(UpdateStatus),
    QEL_PARSER_ENTRY(ExtractBodyPersistentDataStatus),
    QEL_PARSER_ENTRY(RestoreBodyPersistentDataStatus),
    QEL_PARSER_ENTRY(TrackingDataType),
    QEL_PARSER_ENTRY(PasteType),
    QEL_PARSER_ENTRY(InvalidityType),
    QEL_PARSER_ENTRY(ObjectType),
    QEL_PARSER_ENTRY(FeatureType),
    QEL_PARSER_ENTRY(ReferenceBehaviour),
    QEL_PARSER_ENTRY(RelationType),
    QEL_PARSER_ENTRY(RelationSubtype),
    QEL_PARSER_ENTRY(FeatureProcedureType),
    QEL_PARSER_ENTRY(FindGeometryType),
    QEL_PARSER_ENTRY(FindRelationType),
    QEL_PARSER_ENTRY(PreviewMode),
    QEL_PARSER_ENTRY(SolutionDataMode),
    QEL_PARSER_ENTRY(RuleType),
    QEL_PARSER_ENTRY(RuleState),
    QEL_PARSER_ENTRY(FoundDataType),
    QEL_PARSER_ENTRY(FoundDataState),
    QEL_PARSER_ENTRY(OperationType),
};

const EnumParser* FindParser(const std::string& typeName)
{
    for (const EnumParser& parser : kParsers)
        if (typeName == parser.typeName)
            return &parser;
    return nullptr;
}

}  // namespace

bool IsEnumTypeName(const std::string& typeName) { return FindParser(typeName) != nullptr; }

bool EnumFromString(const std::string& typeName, const std::string& valueName, int& value)
{
    const EnumParser* parser = FindParser(typeName);
    if (!parser)
        return false;
    value = parser->parse(valueName.c_str());
    return true;
}

}  // namespace QEL
