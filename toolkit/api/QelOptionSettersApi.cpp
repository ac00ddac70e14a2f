#include "api/QelOptionSettersApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

#include <functional>

namespace QEL {
namespace {

// The one setter call: the option object named by the tag must be of the class whatever the
// checks say, since the effect cannot run without it. A setter that refuses its values (lists
// of different lengths) leaves the object as it was and makes the call a bad argument.
template <typename Options>
void RunOptionSetter(const ApiCallProperties& call, int interaction, ResultType* result, int optionsTag,
                     Options* (*cast)(Interaction*, int), std::function<void(JournalArguments&)> inputs,
                     std::function<ResultType(Interaction*)> checks, std::function<bool(Options&)> set)
{
    ApiCall<>(call, interaction, result)
        .Inputs(std::move(inputs))
        .Requires([cast, optionsTag](Interaction* target) {
            return cast(target, optionsTag) ? ResultTypeOk : ResultTypeBadArgument;
        })
        .Checks(std::move(checks))
        .Run([&](Interaction* target, ResultType& status) {
            if (!set(*cast(target, optionsTag)))
                status = ResultTypeBadArgument;
        });
}

// Enumeration arguments are copied to ints on entry: an application may pass any number, and
// the checks and setters take it as the number it is.

// A list that must hold at least one entry.
ResultType CheckArgNotEmpty(const Array<int>& tags) { return IsArrayEmpty(tags) ? ResultTypeBadArgument : ResultTypeOk; }

ResultType CheckArgValues(const Array<double>& values) { return CheckArgDoubleArray(values.GetData(), values.GetSize()); }

}  // namespace

QEL_API_REPLAYABLE_CALL(PasteOptionsSetPasteType, 0);
void PasteOptionsSetPasteType(int interaction, int tagPasteOptions, PasteType pasteTypeValue, ResultType* result)
{
    const int pasteType = pasteTypeValue;
    RunOptionSetter<PasteOptions>(
        s_PasteOptionsSetPasteType, interaction, result, tagPasteOptions, CastTagToPasteOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgPasteOptionsTag(tagPasteOptions, "tagPasteOptions");
            journal.WriteJournalArgPasteType(static_cast<PasteType>(pasteType), "pasteType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsPasteOptions(tagPasteOptions, target), CheckArgEnumIn0To2(pasteType)});
        },
        [&](PasteOptions& options) {
            options.SetPasteType(static_cast<PasteType>(pasteType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(PasteOptionsSetReblend, 0);
void PasteOptionsSetReblend(int interaction, int tagPasteOptions, bool pasteReblend, ResultType* result)
{
    RunOptionSetter<PasteOptions>(
        s_PasteOptionsSetReblend, interaction, result, tagPasteOptions, CastTagToPasteOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgPasteOptionsTag(tagPasteOptions, "tagPasteOptions");
            journal.WriteJournalArgBool(pasteReblend, "pasteReblend");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsPasteOptions(tagPasteOptions, target), CheckArgInt(pasteReblend)});
        },
        [&](PasteOptions& options) {
            options.SetReblend(pasteReblend);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetType, 0);
void ShellOptionsSetType(int interaction, int shellOptionsTag, ShellType shellTypeValue, ResultType* result)
{
    const int shellType = shellTypeValue;
    RunOptionSetter<ShellOptions>(
        s_ShellOptionsSetType, interaction, result, shellOptionsTag, CastTagToShellOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgShellOptionsTag(shellOptionsTag, "ShellOptionsTag");
            journal.WriteJournalArgShellType(static_cast<ShellType>(shellType), "ShellType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgEnumIn1To3(shellType), CheckArgTagIsShellOptions(shellOptionsTag, target)});
        },
        [&](ShellOptions& options) {
            options.SetType(static_cast<ShellType>(shellType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetPierceFaces, 0);
void ShellOptionsSetPierceFaces(int interaction, int shellOptionsTag, const Array<int>& pierceFaces,
                                ResultType* result)
{
    RunOptionSetter<ShellOptions>(
        s_ShellOptionsSetPierceFaces, interaction, result, shellOptionsTag, CastTagToShellOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgShellOptionsTag(shellOptionsTag, "ShellOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(pierceFaces), "pierceFaces");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsShellOptions(shellOptionsTag, target), CheckArgFaceArray(pierceFaces)});
        },
        [&](ShellOptions& options) {
            options.SetPierceFaces(GetArrayVector(pierceFaces));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetLocalFaces, 0);
void ShellOptionsSetLocalFaces(int interaction, int shellOptionsTag, const Array<int>& localFaces,
                               ShellLocalFaceType localFaceTypeValue, ResultType* result)
{
    const int localFaceType = localFaceTypeValue;
    RunOptionSetter<ShellOptions>(
        s_ShellOptionsSetLocalFaces, interaction, result, shellOptionsTag, CastTagToShellOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgShellOptionsTag(shellOptionsTag, "ShellOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(localFaces), "localFaces");
            journal.WriteJournalArgShellLocalFaceType(static_cast<ShellLocalFaceType>(localFaceType), "ShellLocalFaceType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsShellOptions(shellOptionsTag, target), CheckArgFaceArray(localFaces)});
        },
        [&](ShellOptions& options) {
            options.SetLocalFaces(GetArrayVector(localFaces), static_cast<ShellLocalFaceType>(localFaceType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetOffsetInFaces, 0);
void ShellOptionsSetOffsetInFaces(int interaction, int shellOptionsTag, const Array<int>& offsetInFaces,
                                  const Array<double>& offsetInValues, ResultType* result)
{
    RunOptionSetter<ShellOptions>(
        s_ShellOptionsSetOffsetInFaces, interaction, result, shellOptionsTag, CastTagToShellOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgShellOptionsTag(shellOptionsTag, "ShellOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(offsetInFaces), "offsetInFaces");
            journal.WriteJournalArgDoubleArray(GetArrayVector(offsetInValues), "offsetInValues");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsShellOptions(shellOptionsTag, target), CheckArgFaceArray(offsetInFaces),
                                 CheckArgValues(offsetInValues)});
        },
        [&](ShellOptions& options) {
            return options.SetOffsetInFaces(GetArrayVector(offsetInFaces), GetArrayVector(offsetInValues));
        });
}

QEL_API_REPLAYABLE_CALL(ShellOptionsSetOffsetOutFaces, 0);
void ShellOptionsSetOffsetOutFaces(int interaction, int shellOptionsTag, const Array<int>& offsetOutFaces,
                                   const Array<double>& offsetOutValues, ResultType* result)
{
    RunOptionSetter<ShellOptions>(
        s_ShellOptionsSetOffsetOutFaces, interaction, result, shellOptionsTag, CastTagToShellOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgShellOptionsTag(shellOptionsTag, "ShellOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(offsetOutFaces), "offsetOutFaces");
            journal.WriteJournalArgDoubleArray(GetArrayVector(offsetOutValues), "offsetOutValues");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsShellOptions(shellOptionsTag, target),
                                 CheckArgFaceArray(offsetOutFaces), CheckArgValues(offsetOutValues)});
        },
        [&](ShellOptions& options) {
            return options.SetOffsetOutFaces(GetArrayVector(offsetOutFaces), GetArrayVector(offsetOutValues));
        });
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperMethodType, 0);
void TaperOptionsSetTaperMethodType(int interaction, int taperOptionsTag, TaperMethodType taperMethodTypeValue,
                                    ResultType* result)
{
    const int taperMethodType = taperMethodTypeValue;
    RunOptionSetter<TaperOptions>(
        s_TaperOptionsSetTaperMethodType, interaction, result, taperOptionsTag, CastTagToTaperOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgTaperOptionsTag(taperOptionsTag, "TaperOptionsTag");
            journal.WriteJournalArgTaperMethodType(static_cast<TaperMethodType>(taperMethodType), "TaperMethodType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTaperMethodType(taperMethodType),
                                 CheckArgTagIsTaperOptions(taperOptionsTag, target)});
        },
        [&](TaperOptions& options) {
            options.SetTaperMethodType(static_cast<TaperMethodType>(taperMethodType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperLaminarEdgeType, 0);
void TaperOptionsSetTaperLaminarEdgeType(int interaction, int taperOptionsTag,
                                         TaperLaminarEdgeType taperLaminarEdgeTypeValue, ResultType* result)
{
    const int taperLaminarEdgeType = taperLaminarEdgeTypeValue;
    RunOptionSetter<TaperOptions>(
        s_TaperOptionsSetTaperLaminarEdgeType, interaction, result, taperOptionsTag, CastTagToTaperOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgTaperOptionsTag(taperOptionsTag, "TaperOptionsTag");
            journal.WriteJournalArgTaperLaminarEdgeType(static_cast<TaperLaminarEdgeType>(taperLaminarEdgeType), "TaperLaminarEdgeType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTaperLaminarEdgeType(taperLaminarEdgeType),
                                 CheckArgTagIsTaperOptions(taperOptionsTag, target)});
        },
        [&](TaperOptions& options) {
            options.SetTaperLaminarEdgeType(static_cast<TaperLaminarEdgeType>(taperLaminarEdgeType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetMaintainShell, 0);
void TaperOptionsSetMaintainShell(int interaction, int taperOptionsTag, bool maintainShell, ResultType* result)
{
    RunOptionSetter<TaperOptions>(
        s_TaperOptionsSetMaintainShell, interaction, result, taperOptionsTag, CastTagToTaperOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgTaperOptionsTag(taperOptionsTag, "TaperOptionsTag");
            journal.WriteJournalArgBool(maintainShell, "MaintainShell");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsTaperOptions(taperOptionsTag, target), CheckArgInt(maintainShell)});
        },
        [&](TaperOptions& options) {
            options.SetMaintainShell(maintainShell);
            return true;
        });
}

namespace {

// The three list setters of the taper options share their shape: one list, one check.
void SetTaperList(const ApiCallProperties& call, int interaction, int taperOptionsTag, const Array<int>& tags,
                  const char* name, ResultType (*check)(const Array<int>&),
                  void (TaperOptions::*set)(const std::vector<int>&), ResultType* result)
{
    RunOptionSetter<TaperOptions>(
        call, interaction, result, taperOptionsTag, CastTagToTaperOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgTaperOptionsTag(taperOptionsTag, "TaperOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(tags), name);
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsTaperOptions(taperOptionsTag, target), check(tags)});
        },
        [&](TaperOptions& options) {
            (options.*set)(GetArrayVector(tags));
            return true;
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(TaperOptionsSetReblends, 0);
void TaperOptionsSetReblends(int interaction, int taperOptionsTag, const Array<int>& reblendFaces, ResultType* result)
{
    SetTaperList(s_TaperOptionsSetReblends, interaction, taperOptionsTag, reblendFaces, "reblendFaces",
                 CheckArgFaceArray, &TaperOptions::SetReblends, result);
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetTaperEdges, 0);
void TaperOptionsSetTaperEdges(int interaction, int taperOptionsTag, const Array<int>& taperEdges, ResultType* result)
{
    SetTaperList(s_TaperOptionsSetTaperEdges, interaction, taperOptionsTag, taperEdges, "TaperEdges",
                 CheckArgTopolArray, &TaperOptions::SetTaperEdges, result);
}

QEL_API_REPLAYABLE_CALL(TaperOptionsSetNormalEdges, 0);
void TaperOptionsSetNormalEdges(int interaction, int taperOptionsTag, const Array<int>& normalEdges,
                                ResultType* result)
{
    SetTaperList(s_TaperOptionsSetNormalEdges, interaction, taperOptionsTag, normalEdges, "NormalEdges",
                 CheckArgTopolArray, &TaperOptions::SetNormalEdges, result);
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetEdgeData, 0);
void ReplaceOptionsSetEdgeData(int interaction, int replaceOptionsTag, const Array<int>& edgeTags,
                               const Array<int>& replacementCurves, const Array<double>& edgeTolerances,
                               ReplaceEdgesUseType edgesUseTypeValue, ResultType* result)
{
    const int edgesUseType = edgesUseTypeValue;
    RunOptionSetter<ReplaceOptions>(
        s_ReplaceOptionsSetEdgeData, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(edgeTags), "EdgeTags");
            journal.WriteJournalArgTagArray(GetArrayVector(replacementCurves), "replacementCurves");
            journal.WriteJournalArgDoubleArray(GetArrayVector(edgeTolerances), "edgeTolerances");
            journal.WriteJournalArgReplaceEdgesUseType(static_cast<ReplaceEdgesUseType>(edgesUseType), "ReplaceEdgesUseType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target), CheckArgNotEmpty(edgeTags),
                                 CheckArgTopolArray(edgeTags), CheckArgNotEmpty(replacementCurves),
                                 CheckArgGeomArray(replacementCurves), CheckArgValues(edgeTolerances),
                                 CheckArgEnumIn1To3(edgesUseType)});
        },
        [&](ReplaceOptions& options) {
            return options.SetEdgeData(GetArrayVector(edgeTags), GetArrayVector(replacementCurves),
                                       GetArrayVector(edgeTolerances),
                                       static_cast<ReplaceEdgesUseType>(edgesUseType));
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetVertexData, 0);
void ReplaceOptionsSetVertexData(int interaction, int replaceOptionsTag, const Array<int>& vertexTags,
                                 const Array<Position>& vertexPositions, const Array<double>& vertexTolerances,
                                 ResultType* result)
{
    RunOptionSetter<ReplaceOptions>(
        s_ReplaceOptionsSetVertexData, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(vertexTags), "VertexTags");
            journal.WriteJournalArgPositionArray(GetArrayVector(vertexPositions), "VertexPositions");
            journal.WriteJournalArgDoubleArray(GetArrayVector(vertexTolerances), "vertexTolerances");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target), CheckArgNotEmpty(vertexTags),
                                 CheckArgTopolArray(vertexTags), CheckArgPositionArrayNotEmpty(vertexPositions),
                                 CheckArgValues(vertexTolerances)});
        },
        [&](ReplaceOptions& options) {
            return options.SetVertexData(GetArrayVector(vertexTags), GetArrayVector(vertexPositions),
                                         GetArrayVector(vertexTolerances));
        });
}

namespace {

// The two help setters share their shape: entities and one help position each.
void SetReplaceHelp(const ApiCallProperties& call, int interaction, int replaceOptionsTag, const Array<int>& tags,
                    const Array<Position>& positions, const char* tagsName, const char* positionsName,
                    bool (ReplaceOptions::*set)(const std::vector<int>&, const std::vector<Position>&),
                    ResultType* result)
{
    RunOptionSetter<ReplaceOptions>(
        call, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(tags), tagsName);
            journal.WriteJournalArgPositionArray(GetArrayVector(positions), positionsName);
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target), CheckArgNotEmpty(tags),
                                 CheckArgTopolArray(tags), CheckArgPositionArrayNotEmpty(positions)});
        },
        [&](ReplaceOptions& options) { return (options.*set)(GetArrayVector(tags), GetArrayVector(positions)); });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetEdgeHelp, 0);
void ReplaceOptionsSetEdgeHelp(int interaction, int replaceOptionsTag, const Array<int>& edgeHelp,
                               const Array<Position>& edgeHelpPositions, ResultType* result)
{
    SetReplaceHelp(s_ReplaceOptionsSetEdgeHelp, interaction, replaceOptionsTag, edgeHelp, edgeHelpPositions,
                   "EdgeHelp", "EdgeHelpPositions", &ReplaceOptions::SetEdgeHelp, result);
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetVertexHelp, 0);
void ReplaceOptionsSetVertexHelp(int interaction, int replaceOptionsTag, const Array<int>& vertexHelp,
                                 const Array<Position>& vertexHelpPositions, ResultType* result)
{
    SetReplaceHelp(s_ReplaceOptionsSetVertexHelp, interaction, replaceOptionsTag, vertexHelp, vertexHelpPositions,
                   "VertexHelp", "VertexHelpPositions", &ReplaceOptions::SetVertexHelp, result);
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetReplaceMergeType, 0);
void ReplaceOptionsSetReplaceMergeType(int interaction, int replaceOptionsTag, ReplaceMergeType replaceMergeTypeValue,
                                       ResultType* result)
{
    const int replaceMergeType = replaceMergeTypeValue;
    RunOptionSetter<ReplaceOptions>(
        s_ReplaceOptionsSetReplaceMergeType, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgReplaceMergeType(static_cast<ReplaceMergeType>(replaceMergeType), "ReplaceMergeType");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target),
                                 CheckArgEnumIn1To3(replaceMergeType)});
        },
        [&](ReplaceOptions& options) {
            options.SetReplaceMergeType(static_cast<ReplaceMergeType>(replaceMergeType));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetMaintainShell, 0);
void ReplaceOptionsSetMaintainShell(int interaction, int replaceOptionsTag, bool maintainShell, ResultType* result)
{
    RunOptionSetter<ReplaceOptions>(
        s_ReplaceOptionsSetMaintainShell, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgBool(maintainShell, "MaintainShell");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target), CheckArgInt(maintainShell)});
        },
        [&](ReplaceOptions& options) {
            options.SetMaintainShell(maintainShell);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceOptionsSetReblends, 0);
void ReplaceOptionsSetReblends(int interaction, int replaceOptionsTag, const Array<int>& reblendFaces,
                               ResultType* result)
{
    RunOptionSetter<ReplaceOptions>(
        s_ReplaceOptionsSetReblends, interaction, result, replaceOptionsTag, CastTagToReplaceOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgReplaceOptionsTag(replaceOptionsTag, "ReplaceOptionsTag");
            journal.WriteJournalArgTagArray(GetArrayVector(reblendFaces), "reblendFaces");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(replaceOptionsTag, target), CheckArgFaceArray(reblendFaces)});
        },
        [&](ReplaceOptions& options) {
            options.SetReblends(GetArrayVector(reblendFaces));
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(ExtractBodyPersistentDataOptionsSetStore, 0);
void ExtractBodyPersistentDataOptionsSetStore(int interaction, int tagExtractBodyPersistentDataOptions, bool store,
                                              ResultType* result)
{
    const int optionsTag = tagExtractBodyPersistentDataOptions;
    RunOptionSetter<ExtractBodyPersistentDataOptions>(
        s_ExtractBodyPersistentDataOptionsSetStore, interaction, result, optionsTag,
        CastTagToExtractBodyPersistentDataOptions,
        [&](JournalArguments& journal) {
            journal.WriteJournalArgExtractBodyPersistentDataOptionsTag(optionsTag, "tagExtractBodyPersistentDataOptions");
            journal.WriteJournalArgBool(store, "store");
        },
        [&](Interaction* target) {
            return FirstFailure({CheckArgTagIsExtractBodyPersistentDataOptions(optionsTag, target), CheckArgInt(store)});
        },
        [&](ExtractBodyPersistentDataOptions& options) {
            options.SetStore(store);
            return true;
        });
}

}  // namespace QEL
