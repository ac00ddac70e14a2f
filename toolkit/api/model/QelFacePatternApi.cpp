#include "api/model/QelFacePatternApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/objects/Interaction.h"
#include "model/patterns/FacePattern.h"

namespace QEL {

namespace {

// Tags that name no reference become null entries, in place.
std::vector<Reference*> ReferencesOf(Interaction* interaction, const Array<int>& tags)
{
    std::vector<Reference*> references;
    for (int tag : GetArrayVector(tags))
        references.push_back(CastTagToReference(interaction, tag));
    return references;
}

// Every pattern call takes its occurrence list first; a direction or axis is a reference.
TagListsArg Occurrences(const Array<Array<int>>& occurrences)
{
    return TagListsOf(occurrences, "occurrences");
}
TagArg DirectionArg(int tag, const char* name) { return AnyTagArg(tag, name, "ReferenceTag"); }

// The occurrence of the circular pattern after the seed, in order. Occurrences are read
// through the array's range-tested access: with checks off a short list ends the call.
template <typename Pattern>
int FillCircular(Interaction* target, Pattern* pattern, const Array<Array<int>>& occurrences)
{
    for (int i = 1; i < occurrences.GetSize(); ++i) {
        std::vector<Reference*> references = ReferencesOf(target, occurrences[i]);
        pattern->SetOccurrence(references, i);
    }
    return pattern->GetTag();
}

// The axis of a circular pattern of several occurrences, checks on or off: a pattern without
// its axis saves into a file that cannot be loaded, so an axis tag naming no reference is a
// bad argument.
Reference* AxisOrRefuse(Interaction* target, int axis, int occurrenceCount, ResultType& status)
{
    Reference* reference = CastTagToReference(target, axis);
    if (!reference && occurrenceCount >= 2)
        status = ResultTypeBadArgument;
    return reference;
}

}  // namespace

QEL_API_REPLAYABLE_CALL(LoadUserDefinedFacePattern, 0);
int LoadUserDefinedFacePattern(int interaction, Array<Array<int>>& occurrences,
                               Array<Double4x4>& transforms, ResultType* result)
{
    return Call<int>(s_LoadUserDefinedFacePattern, interaction, result, Occurrences(occurrences),
                     TransformsArg(transforms, "transforms"))
        .Checks([&](Interaction* target) {
            int body = 0;
            const ResultType status =
                CheckFacePatternOccurrencesArgument(occurrences, target, body, false, true);
            return status != ResultTypeOk
                       ? status
                       : CheckArgTransformCount(transforms, occurrences.GetSize() - 1);
        })
        .ReturnsTag("UserDefinedFacePatternTag")
        .Run([&](Interaction* target, ResultType&, auto&&, auto&&) {
            std::vector<Reference*> seed = ReferencesOf(target, occurrences[0]);
            UserDefinedFacePattern* pattern = UserDefinedFacePattern::Create(target, seed);
            // An occurrence the pattern refuses (another number of faces) is left out.
            for (int i = 1; i < occurrences.GetSize(); ++i) {
                std::vector<Reference*> references = ReferencesOf(target, occurrences[i]);
                pattern->AddOccurrence(references, Xform(transforms[i - 1]));
            }
            return pattern->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(LoadRectangularFacePattern, 0);
int LoadRectangularFacePattern(int interaction, Array<Array<int>>& occurrences, int xCount,
                               int yCount, double xSpacing, double ySpacing, int xDirection,
                               int yDirection, ResultType* result)
{
    return Call<int>(s_LoadRectangularFacePattern, interaction, result, Occurrences(occurrences),
                     IntArg(xCount, "xCount"), IntArg(yCount, "yCount"),
                     DoubleArg(xSpacing, "xSpacing"), DoubleArg(ySpacing, "ySpacing"),
                     DirectionArg(xDirection, "xDirection"), DirectionArg(yDirection, "yDirection"))
        .Checks([&](Interaction* target) {
            return CheckRectangularFacePatternArguments(target, occurrences, xCount, yCount,
                                                        xSpacing, ySpacing, xDirection, yDirection);
        })
        .ReturnsTag("RectangularFacePatternTag")
        .Run([&](Interaction* target, ResultType&, auto&&...) {
            std::vector<Reference*> seed = ReferencesOf(target, occurrences[0]);
            RectangularFacePattern* pattern = RectangularFacePattern::Create(
                target, seed, xCount, yCount, xSpacing, ySpacing,
                CastTagToReference(target, xDirection), CastTagToReference(target, yDirection));
            for (int y = 0; y < pattern->GetYCount(); ++y)
                for (int x = 0; x < pattern->GetXCount(); ++x) {
                    const int k = pattern->GetOccurrenceNum(x, y);
                    if (k == 0)
                        continue;
                    std::vector<Reference*> references = ReferencesOf(target, occurrences[k]);
                    pattern->SetOccurrence(references, x, y);
                }
            return pattern->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(LoadOpenCircularFacePattern, 0);
int LoadOpenCircularFacePattern(int interaction, Array<Array<int>>& occurrences, double spacing,
                                int axis, ResultType* result)
{
    return Call<int>(s_LoadOpenCircularFacePattern, interaction, result, Occurrences(occurrences),
                     DoubleArg(spacing, "spacing"), DirectionArg(axis, "axis"))
        .Checks([&](Interaction* target) {
            return CheckCircularFacePatternArguments(target, occurrences, axis, spacing);
        })
        .ReturnsTag("CircularFacePatternTag")
        .Run([&](Interaction* target, ResultType& status, auto&&...) {
            Reference* axisReference = AxisOrRefuse(target, axis, occurrences.GetSize(), status);
            if (status != ResultTypeOk)
                return 0;
            std::vector<Reference*> seed = ReferencesOf(target, occurrences[0]);
            return FillCircular(target,
                                CircularFacePattern::CreateOpen(target, seed, occurrences.GetSize(),
                                                                spacing, axisReference),
                                occurrences);
        });
}

QEL_API_REPLAYABLE_CALL(LoadClosedCircularFacePattern, 0);
int LoadClosedCircularFacePattern(int interaction, Array<Array<int>>& occurrences, int axis,
                                  ResultType* result)
{
    return Call<int>(s_LoadClosedCircularFacePattern, interaction, result, Occurrences(occurrences),
                     DirectionArg(axis, "axis"))
        .Checks([&](Interaction* target) {
            return CheckCircularFacePatternArguments(target, occurrences, axis, 0.0);
        })
        .ReturnsTag("CircularFacePatternTag")
        .Run([&](Interaction* target, ResultType& status, auto&&...) {
            Reference* axisReference = AxisOrRefuse(target, axis, occurrences.GetSize(), status);
            if (status != ResultTypeOk)
                return 0;
            std::vector<Reference*> seed = ReferencesOf(target, occurrences[0]);
            return FillCircular(target,
                                CircularFacePattern::CreateClosed(
                                    target, seed, occurrences.GetSize(), axisReference),
                                occurrences);
        });
}

}  // namespace QEL
