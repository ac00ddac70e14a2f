#pragma once
// The checks an exported call runs on its arguments before its implementation. Each answers
// ResultTypeOk for an acceptable argument and ResultTypeBadArgument otherwise (the reference
// behaviour check alone has a result of its own). A check only asks: it never throws, never
// changes the interaction or the kernel, and a null interaction gives ResultTypeBadArgument.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"

namespace QEL {

class Interaction;

// Tags of the toolkit's own objects.
// The tag of an interaction in the process-wide registry.
ResultType CheckArgInteractionTag(int tag);
// The interaction's own tag or any object registered with it.
ResultType CheckArgObjectTag(int tag, Interaction* interaction);
// An object of the interaction that carries application data (the interaction itself does not).
ResultType CheckArgTagIsObject(int tag, Interaction* interaction);
ResultType CheckArgReferenceTag(int tag, Interaction* interaction);
// A reference with an instance, or (expectNoInstance) one without.
ResultType CheckArgReferenceHasInstance(int tag, Interaction* interaction, bool expectNoInstance);
// Every tag a reference; an empty array passes.
ResultType CheckArgReferenceArray(const Array<int>& tags, Interaction* interaction);
// Refuses two references on different instances; a tag that is no reference is not its concern.
ResultType CheckArgReferencesOnSameInstance(int tag1, int tag2, Interaction* interaction);
ResultType CheckArgInstanceTag(int tag, Interaction* interaction);
ResultType CheckArgRelationTag(int tag, Interaction* interaction);
ResultType CheckArgFeatureTag(int tag, Interaction* interaction);
ResultType CheckArgMappingDataTag(int tag, Interaction* interaction);
// A rollback mark of the interaction.
ResultType CheckArgMarkTag(int tag, Interaction* interaction);
// A change record of the interaction's tracking manager.
ResultType CheckArgTagIsTrackingData(int tag, Interaction* interaction);
// The class of the tagged object, by run-time type.
ResultType CheckArgTagIsFeatureProcedureData(int tag, Interaction* interaction);
ResultType CheckArgTagIsFeature(int tag, Interaction* interaction);
ResultType CheckArgTagIsReference(int tag, Interaction* interaction);
ResultType CheckArgTagsAreReferences(const Array<int>& tags, Interaction* interaction);
ResultType CheckArgTagIsFoundData(int tag, Interaction* interaction);
ResultType CheckArgTagIsMakeFeatureOptions(int tag, Interaction* interaction);
// The option objects of the one-shot modelling operations, each of its own class.
ResultType CheckArgTagIsReorderBlendsOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsCutOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsCopyOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsDeleteFacesOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsShellOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsPasteOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsOffsetFacesOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsTaperOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsReplaceOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsReplaceFacesWithSheetOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsExtractBodyPersistentDataOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsRestoreBodyPersistentDataOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsRemoveFaceShellPersistentDataOptions(int tag, Interaction* interaction);
ResultType CheckArgTagIsBodyIsPasteToolOptions(int tag, Interaction* interaction);

// Kernel tags. Array checks pass an empty array.
ResultType CheckArgKernelEntityTag(int tag);
// A face, edge or vertex, or a free point, line or plane.
ResultType CheckArgReferenceEntityTag(int tag);
// Faces, edges and vertices.
ResultType CheckArgTopolArray(const Array<int>& tags);
ResultType CheckArgFaceArray(const Array<int>& tags);
ResultType CheckArgGeomArray(const Array<int>& tags);
ResultType CheckArgPartitionTag(int tag);
ResultType CheckArgBodyTag(int tag);

// Plain values.
template <typename Result, typename... Arguments>
ResultType CheckArgFunctionPointer(Result (*function)(Arguments...))
{
    return function ? ResultTypeOk : ResultTypeBadArgument;
}
ResultType CheckArgPointer(const void* pointer);
// At least one value and a pointer to them; the values themselves are not read.
ResultType CheckArgDoubleArray(const double* values, int length);
// Any value is acceptable; the checks exist so that every argument has one.
ResultType CheckArgDouble(double value);
ResultType CheckArgInt(int value);
// Greater than the linear tolerance.
ResultType CheckArgPositiveLength(double value);
ResultType CheckArgTransformCount(const Array<Double4x4>& transforms, int count);
// At least one position.
ResultType CheckArgPositionArrayNotEmpty(const Array<Position>& positions);

// Enumeration ranges; values come as ints, as an application may pass any number.
ResultType CheckArgBlendIdentifyType(int value);
ResultType CheckArgStepFaceType(int value);
ResultType CheckArgTaperMethodType(int value);
ResultType CheckArgTaperLaminarEdgeType(int value);
// ShellType, ReplaceEdgesUseType, ReplaceMergeType, FeatureType (whose 0 is refused).
ResultType CheckArgEnumIn1To3(int value);
// RelationSubtype, PreviewMode, FeatureProcedureType, PasteType.
ResultType CheckArgEnumIn0To2(int value);
ResultType CheckArgSolutionDataMode(int value);

// Checks that combine an argument with the model.
// ResultTypeInvalidReferenceBehaviour when a reference to free geometry that lies on no body
// and has no instance would be made positioning: there is nothing for it to position.
ResultType CheckArgReferenceBehaviour(int referenceTag, ReferenceBehaviour behaviour,
                                      Interaction* interaction);
// References to kernel planes only (an empty array passes).
ResultType CheckArgTagsArePlaneReferences(const Array<int>& tags, Interaction* interaction);
// References to kernel planes or lines only (an empty array passes).
ResultType CheckArgTagsArePlaneOrLineReferences(const Array<int>& tags, Interaction* interaction);
// A reference to free geometry whose standard form is a plane.
ResultType CheckArgSectionPlaneReference(int tag, Interaction* interaction);
// Two non-empty topology arrays of equal length.
ResultType CheckArgSectionGeometryArrays(const Array<int>& first, const Array<int>& second);
// Each group is an instance or body followed by its topology or free geometry, or 0 followed
// by at least one free geometry.
ResultType CheckArgGeometryGroups(const Array<Array<int>>& groups, Interaction* interaction);

// Face patterns. A direction or axis of a pattern of count copies: for two or more, a
// reference without an instance to a line that the pattern's body owns; otherwise 0.
ResultType CheckArgPatternDirection(Interaction* interaction, int count, int tag, int patternBody);
// One occurrence: each tag a reference without instance to a face of the one body, and each
// position of one kind of analytic surface throughout. body and classes carry over from one
// occurrence to the next. 0 tags are skipped with allowNull; an occurrence of only 0 tags
// passes only with anyCount.
ResultType CheckFacePatternOccurrence(const Array<int>& occurrence, Interaction* interaction,
                                      int& body, std::vector<int>& classes, bool anyCount,
                                      bool allowNull);
// At least one occurrence; every non-empty one of the expected size (that of the first, or
// with anyCount of the first non-empty one) and acceptable; some face named. body is the
// pattern's body, 0 on failure.
ResultType CheckFacePatternOccurrencesArgument(const Array<Array<int>>& occurrences,
                                               Interaction* interaction, int& body, bool anyCount,
                                               bool allowNull);
// The occurrences of an xCount by yCount grid and its two directions; spacings are free.
ResultType CheckRectangularFacePatternArguments(Interaction* interaction,
                                                const Array<Array<int>>& occurrences, int xCount,
                                                int yCount, double xSpacing, double ySpacing,
                                                int xDirection, int yDirection);
// The occurrences about an axis and the axis; the spacing is free.
ResultType CheckCircularFacePatternArguments(Interaction* interaction,
                                             const Array<Array<int>>& occurrences, int axis,
                                             double spacing);
ResultType CheckArgTagIsSection(int tag, Interaction* interaction);
ResultType CheckArgTagIsVirtualVertex(int tag, Interaction* interaction);

// A reference a feature may take as its own: no free geometry, nothing of a face pattern, and
// placed like the feature's first reference (or, for a feature with only profile references,
// on another body than they position it from). Defined beside the feature.
ResultType CheckArgFeatureReference(Interaction* interaction, int featureTag, int referenceTag);
// A reference through an instance that may position the feature: the instance of its other
// profile references, or another body than the one instance all its references share.
ResultType CheckArgFeatureProfileReference(Interaction* interaction, int featureTag,
                                           int referenceTag);

// The axis of a rotation drag: a reference whose standard form is a line, circle or cylinder.
// With a selection, the selected references and the axis must either all lie on one body
// without instances, free geometry or positioning references, or lie on no body at all with
// at least one placed through an instance or being free geometry.
ResultType CheckDragRotateAxisArgument(int axisTag, Interaction* interaction);

// Whether a wrapper hands its implementation a list or nothing.
bool IsArrayNonEmpty(const Array<int>& tags);
bool IsArrayEmpty(const Array<int>& tags);

}  // namespace QEL
