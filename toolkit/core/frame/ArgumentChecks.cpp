#include "core/frame/ArgumentChecks.h"

#include "core/frame/ModellingOptionClasses.h"
#include "core/frame/TagCasts.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "core/objects/Interaction.h"
#include "core/objects/ReferenceQueries.h"
#include "core/objects/TagManager.h"
#include "core/tracking/TrackingManager.h"

#include <algorithm>

namespace QEL {

namespace {

ResultType Verdict(bool acceptable) { return acceptable ? ResultTypeOk : ResultTypeBadArgument; }

ResultType CheckRange(int value, int low, int high)
{
    return Verdict(value >= low && value <= high);
}

// Every element passes the test; an empty array passes.
template <typename Test>
bool AllOf(const Array<int>& tags, Test test)
{
    const std::vector<int>& values = GetArrayVector(tags);
    return std::all_of(values.begin(), values.end(), test);
}

bool IsTopologyOrFreeGeometry(int tag)
{
    return IsFaceEdgeOrVertex(tag) || IsPointLineOrPlane(tag);
}

// Every tag a reference whose kernel entity is of one of the classes.
ResultType CheckReferencedClasses(const Array<int>& tags, Interaction* interaction, int classCode,
                                  int otherClassCode)
{
    if (!interaction)
        return ResultTypeBadArgument;
    return Verdict(AllOf(tags, [interaction, classCode, otherClassCode](int tag) {
        Reference* reference = CastTagToReference(interaction, tag);
        if (!reference)
            return false;
        const int entityClass = GetEntityClass(GetReferenceEntityTag(reference));
        return entityClass == classCode || entityClass == otherClassCode;
    }));
}

// Whether the rest of a group, after its first tag, passes the test.
template <typename Test>
bool RestOfGroupPasses(const std::vector<int>& group, Test test)
{
    return std::all_of(group.begin() + 1, group.end(), test);
}

bool IsValidGeometryGroup(const std::vector<int>& group, Interaction* interaction)
{
    if (group.empty())
        return false;
    const int first = group.front();
    // A placed or bare body, then the entities on it that relations are to be found among.
    if (interaction->FindInstanceFromTag(first) || GetEntityClass(first) == KernelClassBody)
        return RestOfGroupPasses(group, IsTopologyOrFreeGeometry);
    // No body: free geometry alone, at least one of it.
    return first == 0 && group.size() >= 2 && RestOfGroupPasses(group, IsPointLineOrPlane);
}

}  // namespace

ResultType CheckArgInteractionTag(int tag)
{
    return Verdict(TagManager::FindInteractionFromTag(tag));
}

ResultType CheckArgObjectTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && tag != 0 &&
                   (tag == interaction->GetTag() || interaction->FindTaggedEntityFromTag(tag)));
}

ResultType CheckArgTagIsObject(int tag, Interaction* interaction)
{
    return Verdict(FindObjectFromTag(interaction, tag) != nullptr);
}

ResultType CheckArgReferenceTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->FindReferenceFromTag(tag));
}

ResultType CheckArgReferenceHasInstance(int tag, Interaction* interaction, bool expectNoInstance)
{
    Reference* reference = interaction ? interaction->FindReferenceFromTag(tag) : nullptr;
    return Verdict(reference && (GetReferenceInstance(reference) == nullptr) == expectNoInstance);
}

ResultType CheckArgReferenceArray(const Array<int>& tags, Interaction* interaction)
{
    return Verdict(interaction && AllOf(tags, [interaction](int tag) {
                       return interaction->FindReferenceFromTag(tag) != nullptr;
                   }));
}

ResultType CheckArgReferencesOnSameInstance(int tag1, int tag2, Interaction* interaction)
{
    if (!interaction)
        return ResultTypeBadArgument;
    Reference* first = interaction->FindReferenceFromTag(tag1);
    Reference* second = interaction->FindReferenceFromTag(tag2);
    return Verdict(!first || !second ||
                   GetReferenceInstance(first) == GetReferenceInstance(second));
}

ResultType CheckArgInstanceTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->FindInstanceFromTag(tag));
}

ResultType CheckArgRelationTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->FindRelationFromTag(tag));
}

ResultType CheckArgFeatureTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->FindFeatureFromTag(tag));
}

ResultType CheckArgMappingDataTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->FindMappingDataFromTag(tag));
}

ResultType CheckArgMarkTag(int tag, Interaction* interaction)
{
    return Verdict(interaction && interaction->GetMarkByTag(tag));
}

ResultType CheckArgTagIsTrackingData(int tag, Interaction* interaction)
{
    TrackingManager* manager = interaction ? interaction->GetTrackingManager() : nullptr;
    return Verdict(manager && manager->FindTrackingDataFromTag(tag));
}

ResultType CheckArgTagIsFeatureProcedureData(int tag, Interaction* interaction)
{
    return Verdict(CastTagToFeatureProcedureData(interaction, tag));
}

ResultType CheckArgTagIsFeature(int tag, Interaction* interaction)
{
    return Verdict(CastTagTo<Feature>(interaction, tag));
}

ResultType CheckArgTagIsReference(int tag, Interaction* interaction)
{
    return Verdict(CastTagToReference(interaction, tag));
}

ResultType CheckArgTagsAreReferences(const Array<int>& tags, Interaction* interaction)
{
    return Verdict(interaction && AllOf(tags, [interaction](int tag) {
                       return CastTagToReference(interaction, tag) != nullptr;
                   }));
}

ResultType CheckArgTagIsFoundData(int tag, Interaction* interaction)
{
    return Verdict(CastTagToFoundData(interaction, tag));
}

ResultType CheckArgTagIsMakeFeatureOptions(int tag, Interaction* interaction)
{
    return Verdict(CastTagToMakeFeatureOptions(interaction, tag));
}

#define QEL_DEFINE_OPTION_CHECK(Class)                                 \
    ResultType CheckArgTagIs##Class(int tag, Interaction* interaction) \
    {                                                                  \
        return Verdict(CastTagTo##Class(interaction, tag));            \
    }
QEL_MODELLING_OPTION_CLASSES(QEL_DEFINE_OPTION_CHECK)
#undef QEL_DEFINE_OPTION_CHECK

ResultType CheckArgKernelEntityTag(int tag) { return Verdict(IsEntity(tag)); }

ResultType CheckArgReferenceEntityTag(int tag) { return Verdict(IsTopologyOrFreeGeometry(tag)); }

ResultType CheckArgTopolArray(const Array<int>& tags)
{
    return Verdict(AllOf(tags, IsFaceEdgeOrVertex));
}

ResultType CheckArgFaceArray(const Array<int>& tags) { return Verdict(AllOf(tags, IsFace)); }

ResultType CheckArgGeomArray(const Array<int>& tags)
{
    // Asked of live entities only, so that a stray tag makes no kernel error report.
    return Verdict(AllOf(tags, [](int tag) { return IsEntity(tag) && IsGeometry(tag); }));
}

ResultType CheckArgPartitionTag(int tag) { return Verdict(IsPartition(tag)); }

ResultType CheckArgBodyTag(int tag) { return Verdict(GetEntityClass(tag) == KernelClassBody); }

ResultType CheckArgPointer(const void* pointer) { return Verdict(pointer != nullptr); }

ResultType CheckArgDoubleArray(const double* values, int length)
{
    return Verdict(values != nullptr && length >= 1);
}

ResultType CheckArgDouble(double) { return ResultTypeOk; }

ResultType CheckArgInt(int) { return ResultTypeOk; }

// Written so that a NaN, which compares false, is refused too.
ResultType CheckArgPositiveLength(double value) { return Verdict(value > s_linearTolerance); }

ResultType CheckArgTransformCount(const Array<Double4x4>& transforms, int count)
{
    return Verdict(transforms.GetSize() == count);
}

ResultType CheckArgPositionArrayNotEmpty(const Array<Position>& positions)
{
    return Verdict(positions.GetSize() > 0);
}

ResultType CheckArgBlendIdentifyType(int value)
{
    return CheckRange(value, BlendIdentifyTypeAllWithinBody,
                      BlendIdentifyTypeEqualRadiusWithinBody);
}

ResultType CheckArgStepFaceType(int value)
{
    return CheckRange(value, StepFaceOff, StepFaceOnIfNotCoincident);
}

ResultType CheckArgTaperMethodType(int value)
{
    return CheckRange(value, TaperMethodTypeCurve, TaperMethodTypeNormal);
}

ResultType CheckArgTaperLaminarEdgeType(int value)
{
    return CheckRange(value, TaperLaminarEdgeTypeNormal, TaperLaminarEdgeTypeDraw);
}

ResultType CheckArgEnumIn1To3(int value) { return CheckRange(value, 1, 3); }

ResultType CheckArgEnumIn0To2(int value) { return CheckRange(value, 0, 2); }

ResultType CheckArgSolutionDataMode(int value)
{
    return CheckRange(value, SolutionDataModeOff, SolutionDataModeOn);
}

ResultType CheckArgReferenceBehaviour(int referenceTag, ReferenceBehaviour behaviour,
                                      Interaction* interaction)
{
    if (behaviour == ReferenceBehaviourModelling)
        return ResultTypeOk;
    // A number outside the enumeration would otherwise be stored as a behaviour.
    if (behaviour != ReferenceBehaviourPositioning)
        return ResultTypeBadArgument;
    Reference* reference = interaction ? interaction->FindReferenceFromTag(referenceTag) : nullptr;
    if (!reference)
        return ResultTypeBadArgument;
    const int entity = GetReferenceEntityTag(reference);
    if (IsEntity(entity) && !GetReferenceInstance(reference) && GetOwningBody(entity) == 0)
        return ResultTypeInvalidReferenceBehaviour;
    return ResultTypeOk;
}

ResultType CheckArgTagsArePlaneReferences(const Array<int>& tags, Interaction* interaction)
{
    return CheckReferencedClasses(tags, interaction, KernelClassPlane, KernelClassPlane);
}

ResultType CheckArgTagsArePlaneOrLineReferences(const Array<int>& tags, Interaction* interaction)
{
    return CheckReferencedClasses(tags, interaction, KernelClassPlane, KernelClassLine);
}

ResultType CheckArgSectionPlaneReference(int tag, Interaction* interaction)
{
    Reference* reference = interaction ? interaction->FindReferenceFromTag(tag) : nullptr;
    if (!reference || !IsPointLineOrPlane(GetReferenceEntityTag(reference)))
        return ResultTypeBadArgument;
    return Verdict(GetStandardGeometry(GetReferenceEntityTag(reference), nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr) == KernelClassPlane);
}

ResultType CheckArgPatternDirection(Interaction* interaction, int count, int tag, int patternBody)
{
    if (count < 2)
        return Verdict(tag == 0);
    Reference* reference = CastTagToReference(interaction, tag);
    return Verdict(reference && !GetReferenceInstance(reference) &&
                   GetOwningBody(GetReferenceEntityTag(reference)) == patternBody &&
                   GetEntityClass(GetReferenceEntityTag(reference)) == KernelClassLine);
}

ResultType CheckFacePatternOccurrence(const Array<int>& occurrence, Interaction* interaction,
                                      int& body, std::vector<int>& classes, bool anyCount,
                                      bool allowNull)
{
    const std::vector<int>& tags = GetArrayVector(occurrence);
    bool named = false;
    for (size_t position = 0; position < tags.size(); ++position) {
        if (tags[position] == 0) {
            if (!allowNull)
                return ResultTypeBadArgument;
            continue;
        }
        Reference* reference = CastTagToReference(interaction, tags[position]);
        if (!reference || GetReferenceInstance(reference))
            return ResultTypeBadArgument;
        const int face = GetReferenceEntityTag(reference);
        const int faceBody = GetEntityClass(face) == KernelClassFace ? GetBodyOfTopology(face) : 0;
        if (faceBody == 0 || (body != 0 && faceBody != body))
            return ResultTypeBadArgument;
        // A face that a procedural feature rebuilds cannot be held in step by a pattern too.
        if (IsReferenceEntityUsedByNonSimpleFeature(interaction, face))
            return ResultTypeBadArgument;
        // Corresponding faces carry one kind of analytic surface in every copy.
        const int surfaceClass = GetStandardGeometry(face, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr);
        if (classes.size() <= position)
            classes.resize(position + 1, 0);
        if (classes[position] == 0)
            classes[position] = surfaceClass;
        else if (classes[position] != surfaceClass)
            return ResultTypeBadArgument;
        body = faceBody;
        named = true;
    }
    return Verdict(named || anyCount);
}

ResultType CheckFacePatternOccurrencesArgument(const Array<Array<int>>& occurrences,
                                               Interaction* interaction, int& body, bool anyCount,
                                               bool allowNull)
{
    body = 0;
    const std::vector<Array<int>>& list = GetArrayVector(occurrences);
    if (list.empty() || !interaction)
        return ResultTypeBadArgument;
    int expected = list[0].GetSize();
    if (anyCount)
        for (const Array<int>& occurrence : list)
            if (occurrence.GetSize() > 0) {
                expected = occurrence.GetSize();
                break;
            }
    std::vector<int> classes;
    for (const Array<int>& occurrence : list) {
        if (occurrence.GetSize() == 0)
            continue;
        if (occurrence.GetSize() != expected ||
            CheckFacePatternOccurrence(occurrence, interaction, body, classes, anyCount,
                                       allowNull) != ResultTypeOk) {
            body = 0;
            return ResultTypeBadArgument;
        }
    }
    return Verdict(body != 0);
}

ResultType CheckRectangularFacePatternArguments(Interaction* interaction,
                                                const Array<Array<int>>& occurrences, int xCount,
                                                int yCount, double, double, int xDirection,
                                                int yDirection)
{
    int body = 0;
    if (occurrences.GetSize() == 0 ||
        CheckFacePatternOccurrencesArgument(occurrences, interaction, body, true, true) !=
            ResultTypeOk ||
        body == 0 || xCount < 1 || yCount < 1 ||
        static_cast<long long>(occurrences.GetSize()) != static_cast<long long>(xCount) * yCount)
        return ResultTypeBadArgument;
    const ResultType x = CheckArgPatternDirection(interaction, xCount, xDirection, body);
    return x != ResultTypeOk ? x : CheckArgPatternDirection(interaction, yCount, yDirection, body);
}

ResultType CheckCircularFacePatternArguments(Interaction* interaction,
                                             const Array<Array<int>>& occurrences, int axis, double)
{
    int body = 0;
    if (occurrences.GetSize() == 0 ||
        CheckFacePatternOccurrencesArgument(occurrences, interaction, body, true, true) !=
            ResultTypeOk ||
        body == 0)
        return ResultTypeBadArgument;
    return CheckArgPatternDirection(interaction, occurrences.GetSize(), axis, body);
}

ResultType CheckArgTagIsSection(int tag, Interaction* interaction)
{
    return Verdict(CastTagToSection(interaction, tag) != nullptr);
}

ResultType CheckArgTagIsVirtualVertex(int tag, Interaction* interaction)
{
    return Verdict(CastTagToVirtualVertex(interaction, tag) != nullptr);
}

ResultType CheckDragRotateAxisArgument(int axisTag, Interaction* interaction)
{
    Reference* axis = interaction ? interaction->FindReferenceFromTag(axisTag) : nullptr;
    if (!axis)
        return ResultTypeBadArgument;
    const int axisClass = GetStandardGeometry(GetReferenceEntityTag(axis), nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr);
    if (axisClass != KernelClassLine && axisClass != KernelClassCircle &&
        axisClass != KernelClassCylinder)
        return ResultTypeBadArgument;
    const std::vector<Reference*>& selection = interaction->GetSelectedReferences();
    return Verdict(selection.empty() || IsSelectableReferenceCombination(selection, axis));
}

ResultType CheckArgSectionGeometryArrays(const Array<int>& first, const Array<int>& second)
{
    if (CheckArgTopolArray(first) != ResultTypeOk || CheckArgTopolArray(second) != ResultTypeOk)
        return ResultTypeBadArgument;
    return Verdict(first.GetSize() > 0 && first.GetSize() == second.GetSize());
}

ResultType CheckArgGeometryGroups(const Array<Array<int>>& groups, Interaction* interaction)
{
    if (!interaction)
        return ResultTypeBadArgument;
    for (const Array<int>& group : GetArrayVector(groups))
        if (!IsValidGeometryGroup(GetArrayVector(group), interaction))
            return ResultTypeBadArgument;
    return ResultTypeOk;
}

bool IsArrayNonEmpty(const Array<int>& tags) { return tags.GetSize() > 0; }

bool IsArrayEmpty(const Array<int>& tags) { return tags.GetSize() == 0; }

}  // namespace QEL
