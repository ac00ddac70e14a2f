#pragma once
// The enumerations of the exported surface. Values are stored and journalled by name
// (EnumNames.h); the numbers themselves are part of the surface and never change.

namespace QEL {

enum ResultType {
    ResultTypeOk = 0,
    ResultTypeBadArgument = 1,
    ResultTypeUnknown = 2,
    ResultTypeUnhandledException = 3,
    ResultTypeNotSupported = 4,
    ResultTypeFail = 5,
    ResultTypeDragActive = 6,
    ResultTypeDragInactive = 7,
    ResultTypeBadReference = 8,
    ResultTypeNoBrennikSession = 9,
    ResultTypeNoBrennikRollback = 10,
    ResultTypeBrennikBBOn = 11,
    ResultTypeInteractionAlreadyCreated = 12,
    ResultTypeMultipleInteractions = 13,
    ResultTypeBadReferenceCombination = 14,
    ResultTypeNoSelection = 15,
    ResultTypeFaceToOffsetHasFixedRelation = 16,
    ResultTypeFaceToOffsetHasRadiusRelation = 17,
    ResultTypeOffsetFaceCausedSelfIntersection = 18,
    ResultTypeCouldNotOpenFile = 19,
    ResultTypeFaceToOffsetHasConflictNeighborPartnerFace = 20,
    ResultTypeInvalidReferenceBehaviour = 21,
    ResultTypeFaceToOffsetReferencedByFeature = 22,
    ResultTypeFoundBlendFaceShellPartnerFace = 23,
    ResultTypeReplayActive = 24,
    ResultTypeReplayInactive = 25,
    ResultTypeObjectDiffers = 26,
    ResultTypeBodyDiffers = 27,
    ResultTypeInvalidShellTypeInput = 28,
    ResultTypeOperationNotSet = 29,
    ResultTypeOperationStarted = 30,
    ResultTypeOperationNotStarted = 31,
    ResultTypeOperationNotConfigured = 32,
    ResultTypeOperationCombinationNotSupported = 33,
    ResultTypeSheetBodyReferenced = 34,
    ResultTypeReplaceWithSheetFailed = 35,
    ResultTypeReplaceWithSurfaceFailed = 36,
};

enum ShellType {
    ShellTypeInwards = 1,
    ShellTypeOutwards = 2,
    ShellTypeSymmetric = 3,
};

enum ShellLocalFaceType {
    ShellLocalFaceTypeNone = 0,
    ShellLocalFaceTypeExclude = 1,
    ShellLocalFaceTypeAdd = 2,
};

enum BlendIdentifyType {
    BlendIdentifyTypeAllWithinBody = 0,
    BlendIdentifyTypeExcMinChain = 1,
    BlendIdentifyTypeIncMinChain = 2,
    BlendIdentifyTypeMaxChain = 3,
    BlendIdentifyTypeEqualRadiusWithinBody = 4,
};

enum StepFaceType {
    StepFaceOff = 0,
    StepFaceOnAllEdges = 1,
    StepFaceOnSmoothEdges = 2,
    StepFaceOnIfNotCoincident = 3,
};

enum TaperMethodType {
    TaperMethodTypeCurve = 1,
    TaperMethodTypeSurface = 2,
    TaperMethodTypeIsocline = 3,
    TaperMethodTypeOffset = 4,
    TaperMethodTypeNormal = 5,
};

enum TaperLaminarEdgeType {
    TaperLaminarEdgeTypeNormal = 1,
    TaperLaminarEdgeTypeDraw = 2,
};

enum ReplaceEdgesUseType {
    ReplaceEdgesUseTypeAttempt = 1,
    ReplaceEdgesUseTypeYes = 2,
    ReplaceEdgesUseTypeExisting = 3,
};

enum ReplaceMergeType {
    ReplaceMergeTypeNo = 1,
    ReplaceMergeTypeIn = 2,
    ReplaceMergeTypeOut = 3,
};

enum UpdateStatus {
    UpdateUnknown = 0,
    UpdateSolveFailed = 1,
    UpdateChangeFailed = 2,
    UpdateApplied = 3,
};

enum ExtractBodyPersistentDataStatus {
    ExtractBodyPersistentDataStored = 1,
    ExtractBodyPersistentDataRemoved = 2,
    ExtractBodyPersistentDataAlreadyStored = 3,
};

enum RestoreBodyPersistentDataStatus {
    RestoreBodyPersistentDataRestored = 1,
    RestoreBodyPersistentDataNothingToRestore = 2,
};

enum TrackingDataType {
    TrackingDataTypeNone = 0,
    TrackingDataTypeDelete = 1,
    TrackingDataTypeMerge = 2,
    TrackingDataTypeCreate = 3,
    TrackingDataTypeSplit = 4,
    TrackingDataTypeDerive = 5,
    TrackingDataTypeModify = 6,
};

enum PasteType {
    PasteTypeDefault = 0,
    PasteTypeAdd = 1,
    PasteTypeSubtract = 2,
};

enum InvalidityType {
    InvalidityTypeBadPointer = 1,
    InvalidityTypeBadObject = 2,
    InvalidityTypeBadAttribute = 3,
    InvalidityTypeBadGroup = 4,
    InvalidityTypeBadBrennikEntity = 5,
    InvalidityTypeDuplicateObject = 6,
};

enum ObjectType {
    ObjectTypeUnknown = 0,
    ObjectTypeInteraction = 1,
    ObjectTypeInstance = 2,
    ObjectTypeReference = 3,
    ObjectTypeRelation = 4,
    ObjectTypeFeature = 5,
    ObjectTypeMappingData = 6,
    ObjectTypeReorderBlendsOptions = 7,
    ObjectTypeCutOptions = 8,
    ObjectTypeCopyOptions = 9,
    ObjectTypeDeleteFacesOptions = 10,
    ObjectTypeShellOptions = 11,
    ObjectTypePasteOptions = 12,
    ObjectTypeOffsetFacesOptions = 13,
    ObjectTypeUserDefinedFacePattern = 14,
    ObjectTypeSection = 15,
    ObjectTypeRectangularFacePattern = 16,
    ObjectTypeCircularFacePattern = 17,
    ObjectTypeFeatureProcedureData = 18,
    ObjectTypeVirtualVertex = 19,
    ObjectTypeRule = 20,
    ObjectTypeFoundData = 21,
    ObjectTypeTaperOptions = 22,
    ObjectTypeReplaceOptions = 23,
    ObjectTypeMakeFeatureOptions = 24,
    ObjectTypeReplaceFacesWithSheetOptions = 25,
    ObjectTypeExtractBodyPersistentDataOptions = 26,
    ObjectTypeRestoreBodyPersistentDataOptions = 27,
    ObjectTypeRemoveFaceShellPersistentDataOptions = 28,
    ObjectTypeBodyIsPasteToolOptions = 29,
};

enum FeatureType {
    FeatureTypeNone = 0,
    FeatureTypeSimple = 1,
    FeatureTypeSimpleRecreate = 2,
    FeatureTypeComplexRecreate = 3,
};

enum ReferenceBehaviour {
    ReferenceBehaviourModelling = 1,
    ReferenceBehaviourPositioning = 2,
};

enum RelationType {
    RelationTypeDistance = 0,
    RelationTypeDirectedDistance = 1,
    RelationTypeAngle = 2,
    RelationTypePlanarAngle = 3,
    RelationTypeHalfAngle = 4,
    RelationTypeRadius = 5,
    RelationTypeMinorRadius = 6,
    RelationTypeEqualRadius = 7,
    RelationTypeSimilar = 8,
    RelationTypeParallel = 9,
    RelationTypePerpendicular = 10,
    RelationTypeCoincident = 11,
    RelationTypeConcentric = 12,
    RelationTypeTangent = 13,
    RelationTypeSymmetric = 14,
    RelationTypeCoPlanar = 15,
    RelationTypeCoPlaxis = 16,
    RelationTypeFixed = 17,
    RelationTypeRigid = 18,
};

enum RelationSubtype {
    RelationSubtypeBoundary = 0,
    RelationSubtypeCentre = 1,
    RelationSubtypeAxis = 2,
};

enum FeatureProcedureType {
    FeatureProcedureTypeNone = 0,
    FeatureProcedureTypeCreateToolBody = 1,
    FeatureProcedureTypeModifySolid = 2,
};

enum FindGeometryType {
    FindGeometryTypePlane = 0,
    FindGeometryTypeCylinderFull = 1,
    FindGeometryTypeCylinderPartial = 2,
    FindGeometryTypeConeFull = 3,
    FindGeometryTypeConePartial = 4,
    FindGeometryTypeTorusMajorFull = 5,
    FindGeometryTypeTorusMajorPartial = 6,
    FindGeometryTypeTorusMinorFull = 7,
    FindGeometryTypeTorusMinorPartial = 8,
    FindGeometryTypeLinearEdge = 9,
    FindGeometryTypeCircularEdge = 10,
    FindGeometryTypeSphereFull = 11,
    FindGeometryTypeSpherePartial = 12,
    FindGeometryTypeMax = 13,
};

enum FindRelationType {
    FindRelationTypeCoPlanar = 0,
    FindRelationTypeConcentric = 1,
    FindRelationTypeParallel = 2,
    FindRelationTypePerpendicular = 3,
    FindRelationTypeCoPlaxis = 4,
    FindRelationTypeTangent = 5,
    FindRelationTypeTangentAtEdge = 6,
    FindRelationTypeSymmetric = 7,
    FindRelationTypeSimilar = 8,
    FindRelationTypeMax = 9,
};

enum PreviewMode {
    PreviewModeOff = 0,
    PreviewModeFailureOnly = 1,
    PreviewModeAlways = 2,
};

enum SolutionDataMode {
    SolutionDataModeOff = 0,
    SolutionDataModeOn = 1,
};

enum ReplayStatus {
    ReplaySuccess = 0,
    ReplayIgnored = 1,
    ReplayEndOfJournal = 2,
    ReplayFailure = 3,
    ReplayCheckpointDiffers = 4,
    ReplayArgumentDiffers = 5,
    ReplayResultDiffers = 6,
    ReplayReturnValueDiffers = 7,
    ReplayProcessingFailure = 8,
    ReplayNotSupported = 9,
};

enum RuleState {
    RuleStateApply = 0,
    RuleStateRelax = 1,
};

enum RuleType {
    RuleTypeDoNotMove = 0,
    RuleTypeDoNotRotate = 1,
    RuleTypeRelativeAngle = 2,
    RuleTypeTranslateInDir = 3,
    RuleTypeMinimiseTranslation = 4,
    RuleTypeKeepRadius = 5,
    RuleTypeKeepMinorRadius = 6,
    RuleTypeKeepHalfAngle = 7,
    RuleTypeTreatAsBlend = 8,
};

enum FoundDataType {
    FoundDataTypeRelation = 0,
    FoundDataTypeShell = 1,
};

enum FoundDataState {
    FoundDataStateApply = 0,
    FoundDataStateRelax = 1,
};

enum OperationType {
    OperationTypeNone = 0,
    OperationTypeDragLinear = 1,
    OperationTypeDragByTransform = 2,
    OperationTypeDragPlanar = 3,
    OperationTypeDragRotate = 4,
    OperationTypeEvaluate = 5,
    OperationTypeDragCircularFacePatternSpacing = 6,
    OperationTypeDragRectangularFacePatternXSpacing = 7,
    OperationTypeDragRectangularFacePatternYSpacing = 8,
    OperationTypeDragBlendRadius = 9,
    OperationTypeDragOffsetFaces = 10,
    OperationTypeDragShellThickness = 11,
};

}  // namespace QEL
