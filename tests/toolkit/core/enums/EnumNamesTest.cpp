#include "core/enums/EnumNames.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace QEL;

struct EnumCase {
    const char* typeName;
    const char* valuePrefix;   // what the value names begin with
    bool acceptsBareNames;     // the value names begin with the type name
    int parseDefault;
    const char* (*toString)(int value);   // null: the enumeration has none
    int (*parse)(const char* name);       // null: the enumeration has none
    std::vector<std::pair<int, const char*>> values;
};

// Every enumeration with every value and name, as the file formats know them.
const EnumCase kEnums[] = {
    {"ResultType", "ResultType", true, 2, [](int v) { return ResultTypeToString(static_cast<ResultType>(v)); },
     [](const char* n) -> int { return ResultTypeFromString(n); },
     {{0, "ResultTypeOk"}, {1, "ResultTypeBadArgument"}, {2, "ResultTypeUnknown"}, {3, "ResultTypeUnhandledException"}, {4, "ResultTypeNotSupported"}, {5, "ResultTypeFail"}, {6, "ResultTypeDragActive"}, {7, "ResultTypeDragInactive"}, {8, "ResultTypeBadReference"}, {9, "ResultTypeNoBrennikSession"}, {10, "ResultTypeNoBrennikRollback"}, {11, "ResultTypeBrennikBBOn"}, {12, "ResultTypeInteractionAlreadyCreated"}, {13, "ResultTypeMultipleInteractions"}, {14, "ResultTypeBadReferenceCombination"}, {15, "ResultTypeNoSelection"}, {16, "ResultTypeFaceToOffsetHasFixedRelation"}, {17, "ResultTypeFaceToOffsetHasRadiusRelation"}, {18, "ResultTypeOffsetFaceCausedSelfIntersection"}, {19, "ResultTypeCouldNotOpenFile"}, {20, "ResultTypeFaceToOffsetHasConflictNeighborPartnerFace"}, {21, "ResultTypeInvalidReferenceBehaviour"}, {22, "ResultTypeFaceToOffsetReferencedByFeature"}, {23, "ResultTypeFoundBlendFaceShellPartnerFace"}, {24, "ResultTypeReplayActive"}, {25, "ResultTypeReplayInactive"}, {26, "ResultTypeObjectDiffers"}, {27, "ResultTypeBodyDiffers"}, {28, "ResultTypeInvalidShellTypeInput"}, {29, "ResultTypeOperationNotSet"}, {30, "ResultTypeOperationStarted"}, {31, "ResultTypeOperationNotStarted"}, {32, "ResultTypeOperationNotConfigured"}, {33, "ResultTypeOperationCombinationNotSupported"}, {34, "ResultTypeSheetBodyReferenced"}, {35, "ResultTypeReplaceWithSheetFailed"}, {36, "ResultTypeReplaceWithSurfaceFailed"}}},
    {"ShellType", "ShellType", true, 1, [](int v) { return ShellTypeToString(static_cast<ShellType>(v)); },
     [](const char* n) -> int { return ShellTypeFromString(n); },
     {{1, "ShellTypeInwards"}, {2, "ShellTypeOutwards"}, {3, "ShellTypeSymmetric"}}},
    {"ShellLocalFaceType", "ShellLocalFaceType", true, 0, [](int v) { return ShellLocalFaceTypeToString(static_cast<ShellLocalFaceType>(v)); },
     [](const char* n) -> int { return ShellLocalFaceTypeFromString(n); },
     {{0, "ShellLocalFaceTypeNone"}, {1, "ShellLocalFaceTypeExclude"}, {2, "ShellLocalFaceTypeAdd"}}},
    {"BlendIdentifyType", "BlendIdentifyType", true, 0, [](int v) { return BlendIdentifyTypeToString(static_cast<BlendIdentifyType>(v)); },
     [](const char* n) -> int { return BlendIdentifyTypeFromString(n); },
     {{0, "BlendIdentifyTypeAllWithinBody"}, {1, "BlendIdentifyTypeExcMinChain"}, {2, "BlendIdentifyTypeIncMinChain"}, {3, "BlendIdentifyTypeMaxChain"}, {4, "BlendIdentifyTypeEqualRadiusWithinBody"}}},
    {"StepFaceType", "StepFace", false, 0, [](int v) { return StepFaceTypeToString(static_cast<StepFaceType>(v)); },
     [](const char* n) -> int { return StepFaceTypeFromString(n); },
     {{0, "StepFaceOff"}, {1, "StepFaceOnAllEdges"}, {2, "StepFaceOnSmoothEdges"}, {3, "StepFaceOnIfNotCoincident"}}},
    {"TaperMethodType", "TaperMethodType", true, 1, [](int v) { return TaperMethodTypeToString(static_cast<TaperMethodType>(v)); },
     [](const char* n) -> int { return TaperMethodTypeFromString(n); },
     {{1, "TaperMethodTypeCurve"}, {2, "TaperMethodTypeSurface"}, {3, "TaperMethodTypeIsocline"}, {4, "TaperMethodTypeOffset"}, {5, "TaperMethodTypeNormal"}}},
    {"TaperLaminarEdgeType", "TaperLaminarEdgeType", true, 1, [](int v) { return TaperLaminarEdgeTypeToString(static_cast<TaperLaminarEdgeType>(v)); },
     [](const char* n) -> int { return TaperLaminarEdgeTypeFromString(n); },
     {{1, "TaperLaminarEdgeTypeNormal"}, {2, "TaperLaminarEdgeTypeDraw"}}},
    {"ReplaceEdgesUseType", "ReplaceEdgesUseType", true, 1, [](int v) { return ReplaceEdgesUseTypeToString(static_cast<ReplaceEdgesUseType>(v)); },
     [](const char* n) -> int { return ReplaceEdgesUseTypeFromString(n); },
     {{1, "ReplaceEdgesUseTypeAttempt"}, {2, "ReplaceEdgesUseTypeYes"}, {3, "ReplaceEdgesUseTypeExisting"}}},
    {"ReplaceMergeType", "ReplaceMergeType", true, 1, [](int v) { return ReplaceMergeTypeToString(static_cast<ReplaceMergeType>(v)); },
     [](const char* n) -> int { return ReplaceMergeTypeFromString(n); },
     {{1, "ReplaceMergeTypeNo"}, {2, "ReplaceMergeTypeIn"}, {3, "ReplaceMergeTypeOut"}}},
    {"UpdateStatus", "Update", false, 0, [](int v) { return UpdateStatusToString(static_cast<UpdateStatus>(v)); },
     [](const char* n) -> int { return UpdateStatusFromString(n); },
     {{0, "UpdateUnknown"}, {1, "UpdateSolveFailed"}, {2, "UpdateChangeFailed"}, {3, "UpdateApplied"}}},
    {"ExtractBodyPersistentDataStatus", "ExtractBodyPersistentData", false, 1, [](int v) { return ExtractBodyPersistentDataStatusToString(static_cast<ExtractBodyPersistentDataStatus>(v)); },
     [](const char* n) -> int { return ExtractBodyPersistentDataStatusFromString(n); },
     {{1, "ExtractBodyPersistentDataStored"}, {2, "ExtractBodyPersistentDataRemoved"}, {3, "ExtractBodyPersistentDataAlreadyStored"}}},
    {"RestoreBodyPersistentDataStatus", "RestoreBodyPersistentData", false, 1, [](int v) { return RestoreBodyPersistentDataStatusToString(static_cast<RestoreBodyPersistentDataStatus>(v)); },
     [](const char* n) -> int { return RestoreBodyPersistentDataStatusFromString(n); },
     {{1, "RestoreBodyPersistentDataRestored"}, {2, "RestoreBodyPersistentDataNothingToRestore"}}},
    {"TrackingDataType", "TrackingDataType", true, 0, [](int v) { return TrackingDataTypeToString(static_cast<TrackingDataType>(v)); },
     [](const char* n) -> int { return TrackingDataTypeFromString(n); },
     {{0, "TrackingDataTypeNone"}, {1, "TrackingDataTypeDelete"}, {2, "TrackingDataTypeMerge"}, {3, "TrackingDataTypeCreate"}, {4, "TrackingDataTypeSplit"}, {5, "TrackingDataTypeDerive"}, {6, "TrackingDataTypeModify"}}},
    {"PasteType", "PasteType", true, 0, [](int v) { return PasteTypeToString(static_cast<PasteType>(v)); },
     [](const char* n) -> int { return PasteTypeFromString(n); },
     {{0, "PasteTypeDefault"}, {1, "PasteTypeAdd"}, {2, "PasteTypeSubtract"}}},
    {"InvalidityType", "InvalidityType", true, 2, [](int v) { return InvalidityTypeToString(static_cast<InvalidityType>(v)); },
     [](const char* n) -> int { return InvalidityTypeFromString(n); },
     {{1, "InvalidityTypeBadPointer"}, {2, "InvalidityTypeBadObject"}, {3, "InvalidityTypeBadAttribute"}, {4, "InvalidityTypeBadGroup"}, {5, "InvalidityTypeBadBrennikEntity"}, {6, "InvalidityTypeDuplicateObject"}}},
    {"ObjectType", "ObjectType", true, 0, [](int v) { return ObjectTypeToString(static_cast<ObjectType>(v)); },
     [](const char* n) -> int { return ObjectTypeFromString(n); },
     {{0, "ObjectTypeUnknown"}, {1, "ObjectTypeInteraction"}, {2, "ObjectTypeInstance"}, {3, "ObjectTypeReference"}, {4, "ObjectTypeRelation"}, {5, "ObjectTypeFeature"}, {6, "ObjectTypeMappingData"}, {7, "ObjectTypeReorderBlendsOptions"}, {8, "ObjectTypeCutOptions"}, {9, "ObjectTypeCopyOptions"}, {10, "ObjectTypeDeleteFacesOptions"}, {11, "ObjectTypeShellOptions"}, {12, "ObjectTypePasteOptions"}, {13, "ObjectTypeOffsetFacesOptions"}, {14, "ObjectTypeUserDefinedFacePattern"}, {15, "ObjectTypeSection"}, {16, "ObjectTypeRectangularFacePattern"}, {17, "ObjectTypeCircularFacePattern"}, {18, "ObjectTypeFeatureProcedureData"}, {19, "ObjectTypeVirtualVertex"}, {20, "ObjectTypeRule"}, {21, "ObjectTypeFoundData"}, {22, "ObjectTypeTaperOptions"}, {23, "ObjectTypeReplaceOptions"}, {24, "ObjectTypeMakeFeatureOptions"}, {25, "ObjectTypeReplaceFacesWithSheetOptions"}, {26, "ObjectTypeExtractBodyPersistentDataOptions"}, {27, "ObjectTypeRestoreBodyPersistentDataOptions"}, {28, "ObjectTypeRemoveFaceShellPersistentDataOptions"}, {29, "ObjectTypeBodyIsPasteToolOptions"}}},
    {"FeatureType", "FeatureType", true, 1, [](int v) { return FeatureTypeToString(static_cast<FeatureType>(v)); },
     [](const char* n) -> int { return FeatureTypeFromString(n); },
     {{0, "FeatureTypeNone"}, {1, "FeatureTypeSimple"}, {2, "FeatureTypeSimpleRecreate"}, {3, "FeatureTypeComplexRecreate"}}},
    {"ReferenceBehaviour", "ReferenceBehaviour", true, 1, [](int v) { return ReferenceBehaviourToString(static_cast<ReferenceBehaviour>(v)); },
     [](const char* n) -> int { return ReferenceBehaviourFromString(n); },
     {{1, "ReferenceBehaviourModelling"}, {2, "ReferenceBehaviourPositioning"}}},
    {"RelationType", "RelationType", true, 17, [](int v) { return RelationTypeToString(static_cast<RelationType>(v)); },
     [](const char* n) -> int { return RelationTypeFromString(n); },
     {{0, "RelationTypeDistance"}, {1, "RelationTypeDirectedDistance"}, {2, "RelationTypeAngle"}, {3, "RelationTypePlanarAngle"}, {4, "RelationTypeHalfAngle"}, {5, "RelationTypeRadius"}, {6, "RelationTypeMinorRadius"}, {7, "RelationTypeEqualRadius"}, {8, "RelationTypeSimilar"}, {9, "RelationTypeParallel"}, {10, "RelationTypePerpendicular"}, {11, "RelationTypeCoincident"}, {12, "RelationTypeConcentric"}, {13, "RelationTypeTangent"}, {14, "RelationTypeSymmetric"}, {15, "RelationTypeCoPlanar"}, {16, "RelationTypeCoPlaxis"}, {17, "RelationTypeFixed"}, {18, "RelationTypeRigid"}}},
    {"RelationSubtype", "RelationSubtype", true, 0, [](int v) { return RelationSubtypeToString(static_cast<RelationSubtype>(v)); },
     [](const char* n) -> int { return RelationSubtypeFromString(n); },
     {{0, "RelationSubtypeBoundary"}, {1, "RelationSubtypeCentre"}, {2, "RelationSubtypeAxis"}}},
    {"FeatureProcedureType", "FeatureProcedureType", true, 0, nullptr,
     [](const char* n) -> int { return FeatureProcedureTypeFromString(n); },
     {{0, "FeatureProcedureTypeNone"}, {1, "FeatureProcedureTypeCreateToolBody"}, {2, "FeatureProcedureTypeModifySolid"}}},
    {"FindGeometryType", "FindGeometryType", true, 0, [](int v) { return FindGeometryTypeToString(static_cast<FindGeometryType>(v)); },
     [](const char* n) -> int { return FindGeometryTypeFromString(n); },
     {{0, "FindGeometryTypePlane"}, {1, "FindGeometryTypeCylinderFull"}, {2, "FindGeometryTypeCylinderPartial"}, {3, "FindGeometryTypeConeFull"}, {4, "FindGeometryTypeConePartial"}, {5, "FindGeometryTypeTorusMajorFull"}, {6, "FindGeometryTypeTorusMajorPartial"}, {7, "FindGeometryTypeTorusMinorFull"}, {8, "FindGeometryTypeTorusMinorPartial"}, {9, "FindGeometryTypeLinearEdge"}, {10, "FindGeometryTypeCircularEdge"}, {11, "FindGeometryTypeSphereFull"}, {12, "FindGeometryTypeSpherePartial"}, {13, "FindGeometryTypeMax"}}},
    {"FindRelationType", "FindRelationType", true, 0, [](int v) { return FindRelationTypeToString(static_cast<FindRelationType>(v)); },
     [](const char* n) -> int { return FindRelationTypeFromString(n); },
     {{0, "FindRelationTypeCoPlanar"}, {1, "FindRelationTypeConcentric"}, {2, "FindRelationTypeParallel"}, {3, "FindRelationTypePerpendicular"}, {4, "FindRelationTypeCoPlaxis"}, {5, "FindRelationTypeTangent"}, {6, "FindRelationTypeTangentAtEdge"}, {7, "FindRelationTypeSymmetric"}, {8, "FindRelationTypeSimilar"}, {9, "FindRelationTypeMax"}}},
    {"PreviewMode", "PreviewMode", true, 0, [](int v) { return PreviewModeToString(static_cast<PreviewMode>(v)); },
     [](const char* n) -> int { return PreviewModeFromString(n); },
     {{0, "PreviewModeOff"}, {1, "PreviewModeFailureOnly"}, {2, "PreviewModeAlways"}}},
    {"SolutionDataMode", "SolutionDataMode", true, 0, [](int v) { return SolutionDataModeToString(static_cast<SolutionDataMode>(v)); },
     [](const char* n) -> int { return SolutionDataModeFromString(n); },
     {{0, "SolutionDataModeOff"}, {1, "SolutionDataModeOn"}}},
    {"ReplayStatus", "ReplayStatus", true, 3, [](int v) { return ReplayStatusToString(static_cast<ReplayStatus>(v)); },
     nullptr,
     {{0, "ReplaySuccess"}, {1, "ReplayIgnored"}, {2, "ReplayEndOfJournal"}, {3, "ReplayFailure"}, {4, "ReplayCheckpointDiffers"}, {5, "ReplayArgumentDiffers"}, {6, "ReplayResultDiffers"}, {7, "ReplayReturnValueDiffers"}, {8, "ReplayProcessingFailure"}, {9, "ReplayNotSupported"}}},
    {"RuleState", "RuleState", true, 0, [](int v) { return RuleStateToString(static_cast<RuleState>(v)); },
     [](const char* n) -> int { return RuleStateFromString(n); },
     {{0, "RuleStateApply"}, {1, "RuleStateRelax"}}},
    {"RuleType", "RuleType", true, 0, [](int v) { return RuleTypeToString(static_cast<RuleType>(v)); },
     [](const char* n) -> int { return RuleTypeFromString(n); },
     {{0, "RuleTypeDoNotMove"}, {1, "RuleTypeDoNotRotate"}, {2, "RuleTypeRelativeAngle"}, {3, "RuleTypeTranslateInDir"}, {4, "RuleTypeMinimiseTranslation"}, {5, "RuleTypeKeepRadius"}, {6, "RuleTypeKeepMinorRadius"}, {7, "RuleTypeKeepHalfAngle"}, {8, "RuleTypeTreatAsBlend"}}},
    {"FoundDataType", "FoundDataType", true, 0, [](int v) { return FoundDataTypeToString(static_cast<FoundDataType>(v)); },
     [](const char* n) -> int { return FoundDataTypeFromString(n); },
     {{0, "FoundDataTypeRelation"}, {1, "FoundDataTypeShell"}}},
    {"FoundDataState", "FoundDataState", true, 0, [](int v) { return FoundDataStateToString(static_cast<FoundDataState>(v)); },
     [](const char* n) -> int { return FoundDataStateFromString(n); },
     {{0, "FoundDataStateApply"}, {1, "FoundDataStateRelax"}}},
    {"OperationType", "OperationType", true, 0, [](int v) { return OperationTypeToString(static_cast<OperationType>(v)); },
     [](const char* n) -> int { return OperationTypeFromString(n); },
     {{0, "OperationTypeNone"}, {1, "OperationTypeDragLinear"}, {2, "OperationTypeDragByTransform"}, {3, "OperationTypeDragPlanar"}, {4, "OperationTypeDragRotate"}, {5, "OperationTypeEvaluate"}, {6, "OperationTypeDragCircularFacePatternSpacing"}, {7, "OperationTypeDragRectangularFacePatternXSpacing"}, {8, "OperationTypeDragRectangularFacePatternYSpacing"}, {9, "OperationTypeDragBlendRadius"}, {10, "OperationTypeDragOffsetFaces"}, {11, "OperationTypeDragShellThickness"}}},
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void PrintTo(const EnumCase& c, std::ostream* out) { *out << c.typeName; }

class EnumNames : public ::testing::TestWithParam<EnumCase> {};

TEST_P(EnumNames, EveryValueNamesItselfAndParsesBack)
{
    const EnumCase& e = GetParam();
    for (const auto& [value, name] : e.values) {
        SCOPED_TRACE(name);
        if (e.toString) {
            EXPECT_STREQ(e.toString(value), name);
        }
        if (!e.parse)
            continue;
        const std::string bare = std::string(name).substr(std::strlen(e.valuePrefix));
        EXPECT_EQ(e.parse(name), value);
        EXPECT_EQ(e.parse(Lower(name).c_str()), value);
        EXPECT_EQ(e.parse(bare.c_str()), e.acceptsBareNames ? value : e.parseDefault);
        EXPECT_EQ(e.parse(Lower(bare).c_str()), e.acceptsBareNames ? value : e.parseDefault);
        int parsed = -99;
        EXPECT_TRUE(EnumFromString(e.typeName, name, parsed));
        EXPECT_EQ(parsed, value);
    }
}

TEST_P(EnumNames, ValuesOutsideTheTableNameAsEmptyText)
{
    const EnumCase& e = GetParam();
    if (!e.toString)
        return;  // the enumeration has no name function
    EXPECT_STREQ(e.toString(-1), "");
    EXPECT_STREQ(e.toString(e.values.back().first + 1), "");
}

TEST_P(EnumNames, UnknownNamesParseToTheDefault)
{
    const EnumCase& e = GetParam();
    if (!e.parse)
        return;  // the enumeration has no parser
    EXPECT_EQ(e.parse("NoSuchValueName"), e.parseDefault);
    EXPECT_EQ(e.parse(""), e.parseDefault);
    EXPECT_EQ(e.parse(e.typeName), e.parseDefault);
    EXPECT_EQ(e.parse(nullptr), e.parseDefault);
}

TEST_P(EnumNames, TypeNameIsKnownExactlyWhenThereIsAParser)
{
    const EnumCase& e = GetParam();
    EXPECT_EQ(IsEnumTypeName(e.typeName), e.parse != nullptr);
    EXPECT_FALSE(IsEnumTypeName(Lower(e.typeName)));
}

INSTANTIATE_TEST_SUITE_P(AllEnumerations, EnumNames, ::testing::ValuesIn(kEnums),
                         [](const auto& info) { return std::string(info.param.typeName); });

TEST(EnumNames, ThirtyOneEnumerationsThirtyParsers)
{
    int parsers = 0;
    for (const EnumCase& e : kEnums)
        parsers += e.parse != nullptr;
    EXPECT_EQ(std::size(kEnums), 31u);
    EXPECT_EQ(parsers, 30);
}

TEST(EnumNames, TypeNamePrefixIsOnlyAddedWhereTheValuesCarryIt)
{
    EXPECT_EQ(ResultTypeFromString("fail"), ResultTypeFail);
    EXPECT_EQ(ResultTypeFromString("RESULTTYPEFAIL"), ResultTypeFail);
    EXPECT_EQ(StepFaceTypeFromString("stepfaceonsmoothedges"), StepFaceOnSmoothEdges);
    EXPECT_EQ(StepFaceTypeFromString("StepFaceTypeOff"), StepFaceOff);
    EXPECT_EQ(StepFaceTypeFromString("OnAllEdges"), StepFaceOff);
    EXPECT_EQ(ShellTypeFromString("Outwards"), ShellTypeOutwards);
    EXPECT_EQ(RelationTypeFromString(std::string("coplanar")), RelationTypeCoPlanar);
}

TEST(EnumNames, EnumFromStringLeavesTheOutputAloneForUnknownTypes)
{
    int value = 42;
    EXPECT_TRUE(EnumFromString("PreviewMode", "always", value));
    EXPECT_EQ(value, 2);
    value = 42;
    EXPECT_FALSE(EnumFromString("ReplayStatus", "ReplaySuccess", value));
    EXPECT_FALSE(EnumFromString("previewmode", "always", value));
    EXPECT_FALSE(EnumFromString("NoSuchType", "always", value));
    EXPECT_EQ(value, 42);
    EXPECT_STREQ(ResultTypeEnumName(), "ResultType");
}

}  // namespace
