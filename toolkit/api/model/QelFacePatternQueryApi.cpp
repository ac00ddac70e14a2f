#include "api/model/QelFacePatternQueryApi.h"

#include "api/ApiCallRows.h"
#include "api/model/FacePatternCasts.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/TagCasts.h"
#include "core/maths/Xform.h"
#include "core/objects/Interaction.h"
#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "update/edits/SolverDrivenEdits.h"

namespace QEL {

namespace {

// The reads leave the tracking data alone and stay out of a minimised journal; the spacing
// edits collect the changes of their update.
constexpr unsigned s_query = ApiCallQuery;
constexpr unsigned s_tracked = ApiCallTracked;

template <typename T>
struct PatternKind;
template <>
struct PatternKind<FacePattern> {
    static constexpr const char* s_tagKind = "FacePatternTag";
    static FacePattern* Find(Interaction* interaction, int tag)
    {
        return CastTagToFacePattern(interaction, tag);
    }
};
template <>
struct PatternKind<UserDefinedFacePattern> {
    static constexpr const char* s_tagKind = "UserDefinedFacePatternTag";
    static UserDefinedFacePattern* Find(Interaction* interaction, int tag)
    {
        return CastTagToUserDefinedFacePattern(interaction, tag);
    }
};
template <>
struct PatternKind<RectangularFacePattern> {
    static constexpr const char* s_tagKind = "RectangularFacePatternTag";
    static RectangularFacePattern* Find(Interaction* interaction, int tag)
    {
        return CastTagToRectangularFacePattern(interaction, tag);
    }
};
template <>
struct PatternKind<CircularFacePattern> {
    static constexpr const char* s_tagKind = "CircularFacePatternTag";
    static CircularFacePattern* Find(Interaction* interaction, int tag)
    {
        return CastTagToCircularFacePattern(interaction, tag);
    }
};

// The pattern argument of a call on patterns of kind T. The effect reads the pattern, so a tag
// naming no pattern of the kind is refused whether checks are on or not.
template <typename T>
ObjectArg<T> PatternArg(int tag)
{
    return {{"pattern"}, tag, PatternKind<T>::s_tagKind, &PatternKind<T>::Find};
}

// The interaction's patterns of kind T, in creation order.
template <typename T>
std::vector<T*> PatternsOfKind(Interaction* interaction)
{
    std::vector<T*> found;
    for (FacePattern* pattern : interaction->GetFacePatterns())
        if (T* typed = dynamic_cast<T*>(pattern))
            found.push_back(typed);
    return found;
}

template <typename T>
int CountOfKind(const ApiCallProperties& call, int interaction, ResultType* result)
{
    return Call<int>(call, interaction, result).Run([](Interaction* target, ResultType&) {
        return static_cast<int>(PatternsOfKind<T>(target).size());
    });
}

template <typename T>
int PatternAt(const ApiCallProperties& call, int interaction, int index, ResultType* result)
{
    return Call<int>(call, interaction, result, IntArg(index, "index"))
        .ReturnsTag(PatternKind<T>::s_tagKind)
        .Run([](Interaction* target, ResultType& status, int position) {
            const std::vector<T*> patterns = PatternsOfKind<T>(target);
            T* found = position >= 0 && position < static_cast<int>(patterns.size())
                           ? patterns[position]
                           : nullptr;
            return TagOrFail(found, status);
        });
}

// A value read from a pattern of kind T.
template <typename T, typename Value, typename Read>
Value ReadPattern(const ApiCallProperties& call, int interaction, int pattern, ResultType* result,
                  Read read, Value start = Value())
{
    return Call<Value>(call, interaction, result, PatternArg<T>(pattern))
        .StartsWith(start)
        .Run([read](Interaction*, ResultType&, T* found) {
            return static_cast<Value>(read(found));
        });
}

// A direction or axis reference of a pattern, 0 when it has none.
template <typename T, typename Read>
int ReadReference(const ApiCallProperties& call, int interaction, int pattern, ResultType* result,
                  Read read)
{
    return Call<int>(call, interaction, result, PatternArg<T>(pattern))
        .ReturnsTag("ReferenceTag")
        .Run([read](Interaction*, ResultType&, T* found) {
            Reference* reference = read(found);
            return reference ? reference->GetTag() : 0;
        });
}

// A spacing edit through one update. Only an applied update is a success: a solve or apply
// that failed has left the model as it was, and saying ResultTypeOk would hide that.
template <typename T, typename Edit>
UpdateStatus EditSpacing(const ApiCallProperties& call, int interaction, int pattern,
                         double spacing, ResultType* result, Reference* (T::*needed)() const,
                         Edit edit)
{
    return Call<UpdateStatus>(call, interaction, result, PatternArg<T>(pattern),
                              DoubleArg(spacing, "spacing"))
        .Run([needed, edit](Interaction* target, ResultType& status, T* found, double value) {
            if (target->GetCurrentSolverOperation()) {
                status = ResultTypeDragActive;
                return UpdateUnknown;
            }
            if (!(found->*needed)()) {
                status = ResultTypeFail;
                return UpdateUnknown;
            }
            const UpdateStatus update = edit(target, found, value);
            if (update != UpdateApplied)
                status = ResultTypeFail;
            return update;
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(GetUserDefinedFacePatternCount, s_query);
int GetUserDefinedFacePatternCount(int interaction, ResultType* result)
{
    return CountOfKind<UserDefinedFacePattern>(s_GetUserDefinedFacePatternCount, interaction,
                                               result);
}

QEL_API_REPLAYABLE_CALL(GetUserDefinedFacePattern, s_query);
int GetUserDefinedFacePattern(int interaction, int index, ResultType* result)
{
    return PatternAt<UserDefinedFacePattern>(s_GetUserDefinedFacePattern, interaction, index,
                                             result);
}

QEL_API_REPLAYABLE_CALL(GetRectangularFacePatternCount, s_query);
int GetRectangularFacePatternCount(int interaction, ResultType* result)
{
    return CountOfKind<RectangularFacePattern>(s_GetRectangularFacePatternCount, interaction,
                                               result);
}

QEL_API_REPLAYABLE_CALL(GetRectangularFacePattern, s_query);
int GetRectangularFacePattern(int interaction, int index, ResultType* result)
{
    return PatternAt<RectangularFacePattern>(s_GetRectangularFacePattern, interaction, index,
                                             result);
}

QEL_API_REPLAYABLE_CALL(GetCircularFacePatternCount, s_query);
int GetCircularFacePatternCount(int interaction, ResultType* result)
{
    return CountOfKind<CircularFacePattern>(s_GetCircularFacePatternCount, interaction, result);
}

QEL_API_REPLAYABLE_CALL(GetCircularFacePattern, s_query);
int GetCircularFacePattern(int interaction, int index, ResultType* result)
{
    return PatternAt<CircularFacePattern>(s_GetCircularFacePattern, interaction, index, result);
}

QEL_API_REPLAYABLE_CALL(FacePatternGetOccurrenceCount, s_query);
int FacePatternGetOccurrenceCount(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<FacePattern, int>(
        s_FacePatternGetOccurrenceCount, interaction, pattern, result,
        [](FacePattern* found) { return found->GetOccurrenceCount(); });
}

QEL_API_REPLAYABLE_CALL(FacePatternGetOccurrence, s_query);
void FacePatternGetOccurrence(int interaction, int pattern, int index, Array<int>& occurrence,
                              ResultType* result)
{
    Call(s_FacePatternGetOccurrence, interaction, result, PatternArg<FacePattern>(pattern),
         IntArg(index, "index"), TagsOutput(occurrence, "occurrence"))
        .Run([](Interaction*, ResultType& status, FacePattern* found, int position,
                Array<int>& tags) {
            std::vector<Reference*> references;
            if (!found->GetOccurrence(position, references)) {
                status = ResultTypeBadArgument;
                return;
            }
            tags.Reserve(tags.GetSize() + static_cast<int>(references.size()));
            for (Reference* reference : references)
                tags.Add(reference ? reference->GetTag() : 0);
        });
}

// The flag changes how the solver treats the pattern and is recorded for rollback: a change,
// journalled as one, so that a minimised journal still replays it.
QEL_API_REPLAYABLE_CALL(FacePatternSetRigidOccurrences, 0);
void FacePatternSetRigidOccurrences(int interaction, int pattern, bool rigidOccurrences,
                                    ResultType* result)
{
    Call(s_FacePatternSetRigidOccurrences, interaction, result, PatternArg<FacePattern>(pattern),
         BoolArg(rigidOccurrences, "rigidOccurrences"))
        .Run([](Interaction*, ResultType&, FacePattern* found, bool rigid) {
            found->SetRigidOccurrences(rigid);
        });
}

QEL_API_REPLAYABLE_CALL(FacePatternGetRigidOccurrences, s_query);
bool FacePatternGetRigidOccurrences(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<FacePattern, bool>(
        s_FacePatternGetRigidOccurrences, interaction, pattern, result,
        [](FacePattern* found) { return found->GetRigidOccurrences(); });
}

QEL_API_REPLAYABLE_CALL(UserDefinedFacePatternDivorceOccurrence, 0);
void UserDefinedFacePatternDivorceOccurrence(int interaction, int pattern, int index,
                                             ResultType* result)
{
    Call(s_UserDefinedFacePatternDivorceOccurrence, interaction, result,
         PatternArg<UserDefinedFacePattern>(pattern), IntArg(index, "index"))
        .Run([](Interaction*, ResultType& status, UserDefinedFacePattern* found, int position) {
            status = found->DivorceOccurrence(position);
        });
}

QEL_API_REPLAYABLE_CALL(UserDefinedFacePatternGetTransform, 0);
void UserDefinedFacePatternGetTransform(int interaction, int pattern, int fromIndex, int toIndex,
                                        double (*transform)[4], ResultType* result)
{
    Call(s_UserDefinedFacePatternGetTransform, interaction, result,
         PatternArg<UserDefinedFacePattern>(pattern), IntArg(fromIndex, "fromIndex"),
         IntArg(toIndex, "toIndex"), TransformOutput(transform, "transform"))
        .Run([](Interaction*, ResultType& status, UserDefinedFacePattern* found, int from, int to,
                double(*matrix)[4]) {
            Xform relative;
            if (!found->IsOccurrenceIndex(from) || !found->IsOccurrenceIndex(to) ||
                !found->GetRelativeTransform(from, to, relative)) {
                status = ResultTypeBadArgument;
                return;
            }
            relative.Get4x4(matrix);
        });
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(RectangularFacePatternGetXCount, s_query, 1);
int RectangularFacePatternGetXCount(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<RectangularFacePattern, int>(
        s_RectangularFacePatternGetXCount, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetXCount(); },
        s_RectangularFacePatternGetXCountStart);
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(RectangularFacePatternGetYCount, s_query, 1);
int RectangularFacePatternGetYCount(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<RectangularFacePattern, int>(
        s_RectangularFacePatternGetYCount, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetYCount(); },
        s_RectangularFacePatternGetYCountStart);
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternGetXSpacing, s_query);
double RectangularFacePatternGetXSpacing(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<RectangularFacePattern, double>(
        s_RectangularFacePatternGetXSpacing, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetXSpacing(); });
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternGetYSpacing, s_query);
double RectangularFacePatternGetYSpacing(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<RectangularFacePattern, double>(
        s_RectangularFacePatternGetYSpacing, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetYSpacing(); });
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternGetXDirectionReference, s_query);
int RectangularFacePatternGetXDirectionReference(int interaction, int pattern, ResultType* result)
{
    return ReadReference<RectangularFacePattern>(
        s_RectangularFacePatternGetXDirectionReference, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetXDirectionReference(); });
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternGetYDirectionReference, s_query);
int RectangularFacePatternGetYDirectionReference(int interaction, int pattern, ResultType* result)
{
    return ReadReference<RectangularFacePattern>(
        s_RectangularFacePatternGetYDirectionReference, interaction, pattern, result,
        [](RectangularFacePattern* found) { return found->GetYDirectionReference(); });
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternEditXSpacing, s_tracked);
UpdateStatus RectangularFacePatternEditXSpacing(int interaction, int pattern, double spacing,
                                                ResultType* result)
{
    return EditSpacing<RectangularFacePattern>(
        s_RectangularFacePatternEditXSpacing, interaction, pattern, spacing, result,
        &RectangularFacePattern::GetXDirectionReference,
        [](Interaction* target, RectangularFacePattern* found, double value) {
            return EditRectangularPatternXSpacing(target, found, value);
        });
}

QEL_API_REPLAYABLE_CALL(RectangularFacePatternEditYSpacing, s_tracked);
UpdateStatus RectangularFacePatternEditYSpacing(int interaction, int pattern, double spacing,
                                                ResultType* result)
{
    return EditSpacing<RectangularFacePattern>(
        s_RectangularFacePatternEditYSpacing, interaction, pattern, spacing, result,
        &RectangularFacePattern::GetYDirectionReference,
        [](Interaction* target, RectangularFacePattern* found, double value) {
            return EditRectangularPatternYSpacing(target, found, value);
        });
}

QEL_API_REPLAYABLE_CALL(CircularFacePatternGetSpacing, s_query);
double CircularFacePatternGetSpacing(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<CircularFacePattern, double>(
        s_CircularFacePatternGetSpacing, interaction, pattern, result,
        [](CircularFacePattern* found) { return found->GetSpacing(); });
}

QEL_API_REPLAYABLE_CALL(CircularFacePatternGetAxisReference, s_query);
int CircularFacePatternGetAxisReference(int interaction, int pattern, ResultType* result)
{
    return ReadReference<CircularFacePattern>(
        s_CircularFacePatternGetAxisReference, interaction, pattern, result,
        [](CircularFacePattern* found) { return found->GetAxisReference(); });
}

QEL_API_REPLAYABLE_CALL(CircularFacePatternGetIsClosed, s_query);
bool CircularFacePatternGetIsClosed(int interaction, int pattern, ResultType* result)
{
    return ReadPattern<CircularFacePattern, bool>(
        s_CircularFacePatternGetIsClosed, interaction, pattern, result,
        [](CircularFacePattern* found) { return found->GetIsClosed(); });
}

QEL_API_REPLAYABLE_CALL(CircularFacePatternEditSpacing, s_tracked);
UpdateStatus CircularFacePatternEditSpacing(int interaction, int pattern, double spacing,
                                            ResultType* result)
{
    return EditSpacing<CircularFacePattern>(
        s_CircularFacePatternEditSpacing, interaction, pattern, spacing, result,
        &CircularFacePattern::GetAxisReference,
        [](Interaction* target, CircularFacePattern* found, double value) {
            return EditCircularPatternSpacing(target, found, value);
        });
}

}  // namespace QEL
