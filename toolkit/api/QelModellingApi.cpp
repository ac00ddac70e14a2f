#include "api/QelModellingApi.h"

#include "core/kernel/AddOnFacade.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "core/frame/TagCasts.h"
#include "model/operations/BlockOptions.h"
#include "model/transaction/Model.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"
#include "model/operations/ModellingOperations.h"

#include <functional>

namespace QEL {
namespace {

constexpr unsigned s_tracked = ApiCallTracked;

ResultType Refused(bool bad) { return bad ? ResultTypeBadArgument : ResultTypeOk; }

ResultType CheckArgNotEmpty(const Array<int>& tags) { return Refused(IsArrayEmpty(tags)); }

// The option object the effect reads must be there whatever the checks say.
template <typename Options>
std::function<ResultType(Interaction*)> RequireOptions(Options* (*cast)(Interaction*, int), int tag)
{
    return [cast, tag](Interaction* target) { return Refused(cast(target, tag) == nullptr); };
}

const std::vector<int>& Tags(const Array<int>& array) { return GetArrayVector(array); }

std::vector<std::vector<int>> TagLists(const Array<Array<int>>& arrays)
{
    std::vector<std::vector<int>> lists;
    for (int i = 0; i < arrays.GetSize(); ++i)
        lists.push_back(GetArrayVector(arrays[i]));
    return lists;
}

// Runs an add-on call on the option object's block inside the add-on's debug report.
template <typename Options, typename Block, typename Call>
auto WithReportedBlock(const Options* options, const char* report, Call call)
{
    Block block;
    options->GetOptionBlock(block);
    Model::StartDebugReport(report);
    auto answer = call(&block);
    Model::StopDebugReport();
    return answer;
}

// Cut and copy differ only in their names, their option class and their body.
template <typename Options, typename Body>
int MakeSheetCall(const ApiCallProperties& call, int interaction, const Array<int>& faces, int partition,
                  int options, ResultType* result, const char* facesName, const char* optionsName,
                  int (JournalArguments::*writeOptions)(int, const char*),
                  Options* (*cast)(Interaction*, int), ResultType (*checkOptions)(int, Interaction*),
                  Body body)
{
    return ApiCall<int>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(faces), facesName);
            journal.WriteJournalArgPartitionTag(partition, "partitionToMakeSheetIn");
            (journal.*writeOptions)(options, optionsName);
        })
        .Requires(RequireOptions(cast, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({checkOptions(options, target), CheckArgNotEmpty(faces),
                                 CheckArgFaceArray(faces), CheckArgPartitionTag(partition)});
        })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnInstanceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Instance* instance = body(target, Tags(faces), partition, cast(target, options), &status);
            return instance ? instance->GetTag() : 0;
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(ReorderBlends, s_tracked);
void ReorderBlends(int interaction, const Array<int>& firstChain, const Array<int>& secondChain, int options,
                   ResultType* result)
{
    ApiCall<>(s_ReorderBlends, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(firstChain), "ReorderBlendChain1");
            journal.WriteJournalArgTagArray(Tags(secondChain), "ReorderBlendChain2");
            journal.WriteJournalArgReorderBlendsOptionsTag(options, "ReorderBlendsOptions");
        })
        .Requires([&](Interaction*) { return Refused(firstChain.GetSize() == 0 || secondChain.GetSize() == 0); })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReorderBlendsOptions(options, target),
                                 CheckArgNotEmpty(firstChain), CheckArgNotEmpty(secondChain),
                                 CheckArgFaceArray(firstChain), CheckArgFaceArray(secondChain)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoReorderBlends(target, Tags(firstChain), Tags(secondChain));
        });
}

QEL_API_REPLAYABLE_CALL(Cut, s_tracked);
int Cut(int interaction, const Array<int>& faces, int partition, int options, ResultType* result)
{
    return MakeSheetCall(s_Cut, interaction, faces, partition, options, result, "facesToCut", "tagCutOptions",
                         &JournalArguments::WriteJournalArgCutOptionsTag, CastTagToCutOptions, CheckArgTagIsCutOptions, DoCut);
}

QEL_API_REPLAYABLE_CALL(Copy, s_tracked);
int Copy(int interaction, const Array<int>& faces, int partition, int options, ResultType* result)
{
    return MakeSheetCall(s_Copy, interaction, faces, partition, options, result, "facesToCopy",
                         "tagCopyOptions", &JournalArguments::WriteJournalArgCopyOptionsTag, CastTagToCopyOptions, CheckArgTagIsCopyOptions, DoCopy);
}

QEL_API_REPLAYABLE_CALL(Paste, s_tracked);
void Paste(int interaction, int tool, int target, int options, ResultType* result)
{
    ApiCall<>(s_Paste, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgBodyTag(tool, "tool");
            journal.WriteJournalArgBodyTag(target, "target");
            journal.WriteJournalArgPasteOptionsTag(options, "tagPasteOptions");
        })
        .Requires([&](Interaction* owner) {
            return Refused(!CastTagToPasteOptions(owner, options) || !owner->FindInstanceFromTag(tool) ||
                           !owner->FindInstanceFromTag(target));
        })
        .Checks([&](Interaction* owner) {
            return FirstFailure({CheckArgTagIsPasteOptions(options, owner), CheckArgInstanceTag(tool, owner),
                                 CheckArgInstanceTag(target, owner)});
        })
        .Run([&](Interaction* owner, ResultType& status) {
            Instance* toolInstance = owner->FindInstanceFromTag(tool);
            Instance* targetInstance = owner->FindInstanceFromTag(target);
            const Xform relative = MultiplyXforms(targetInstance->GetXform().GetInverse(), toolInstance->GetXform());
            const int transform = relative.IsIdentity() ? 0 : relative.CreateKernelTransf();
            DoPaste(owner, toolInstance->GetBodyTag(), targetInstance->GetBodyTag(), transform,
                    CastTagToPasteOptions(owner, options), &status);
        });
}

QEL_API_REPLAYABLE_CALL(DeleteFaces, s_tracked);
void DeleteFaces(int interaction, const Array<int>& faces, int options, ResultType* result)
{
    ApiCall<>(s_DeleteFaces, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(faces), "facesToDelete");
            journal.WriteJournalArgDeleteFacesOptionsTag(options, "DeleteFacesOptionsTag");
        })
        .Requires(RequireOptions(CastTagToDeleteFacesOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsDeleteFacesOptions(options, target), CheckArgNotEmpty(faces),
                                 CheckArgFaceArray(faces)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoDeleteFaces(target, Tags(faces), CastTagToDeleteFacesOptions(target, options));
        });
}

QEL_API_REPLAYABLE_CALL(Shell, s_tracked);
void Shell(int interaction, double thickness, int body, int options, ResultType* result)
{
    ApiCall<>(s_Shell, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgDouble(thickness, "ShellThickness");
            journal.WriteJournalArgEntityTag(body, "BodyToShell");
            journal.WriteJournalArgShellOptionsTag(options, "ShellOptionsTag");
        })
        .Requires(RequireOptions(CastTagToShellOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgPositiveLength(thickness), CheckArgTagIsShellOptions(options, target),
                                 CheckArgKernelEntityTag(body)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoShell(target, body, thickness, CastTagToShellOptions(target, options));
        });
}

QEL_API_REPLAYABLE_CALL(TaperFaces, s_tracked);
void TaperFaces(int interaction, const Array<int>& faces, const double* direction, double angle,
                const Array<Array<int>>& references, int options, ResultType* result)
{
    ApiCall<>(s_TaperFaces, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(faces), "facesToTaper");
            journal.WriteJournalArgDoubleBuffer(direction, direction ? 3 : 0, "taperDirection");
            journal.WriteJournalArgDouble(angle, "taperAngle");
            journal.WriteJournalArgTagArrayArray(TagLists(references), "referencesArray");
            journal.WriteJournalArgTaperOptionsTag(options, "TaperOptionsTag");
        })
        .Requires([&](Interaction* target) {
            return Refused(!CastTagToTaperOptions(target, options) || !direction);
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsTaperOptions(options, target), CheckArgNotEmpty(faces),
                                 CheckArgFaceArray(faces), CheckArgDoubleArray(direction, 3)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoTaperFaces(target, Tags(faces), direction, angle, TagLists(references),
                                  CastTagToTaperOptions(target, options));
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceFaces, s_tracked);
void ReplaceFaces(int interaction, const Array<int>& faces, const Array<int>& surfaces, const Array<int>& senses,
                  int options, ResultType* result)
{
    ApiCall<>(s_ReplaceFaces, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(faces), "facesToReplace");
            journal.WriteJournalArgTagArray(Tags(surfaces), "ReplacementSurfaces");
            journal.WriteJournalArgIntegerArray(Tags(senses), "NewSurfaceSenses");
            journal.WriteJournalArgReplaceOptionsTag(options, "ReplaceOptionsTag");
        })
        .Requires(RequireOptions(CastTagToReplaceOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceOptions(options, target), CheckArgNotEmpty(faces),
                                 CheckArgFaceArray(faces), CheckArgNotEmpty(surfaces),
                                 CheckArgGeomArray(surfaces), CheckArgNotEmpty(senses)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoReplaceFaces(target, Tags(faces), Tags(surfaces), Tags(senses),
                                    CastTagToReplaceOptions(target, options));
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceFacesWithSheet, s_tracked);
void ReplaceFacesWithSheet(int interaction, const Array<int>& faces, int sheet, int options, ResultType* result)
{
    ApiCall<>(s_ReplaceFacesWithSheet, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(Tags(faces), "FacesToReplace");
            journal.WriteJournalArgTag(sheet, "SheetBody");
            journal.WriteJournalArgReplaceFacesWithSheetOptionsTag(options, "ReplaceFacesWithSheetOptions");
        })
        .Requires(RequireOptions(CastTagToReplaceFacesWithSheetOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsReplaceFacesWithSheetOptions(options, target),
                                 CheckArgNotEmpty(faces), CheckArgFaceArray(faces), CheckArgKernelEntityTag(sheet)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            status = DoReplaceFacesWithSheet(target, Tags(faces), sheet,
                                             CastTagToReplaceFacesWithSheetOptions(target, options));
        });
}

QEL_API_REPLAYABLE_CALL(RejoinBody, 0);
int RejoinBody(int interaction, const Array<int>& bodies, ResultType* result)
{
    return ApiCall<int>(s_RejoinBody, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgTagArray(Tags(bodies), "disjointBodies"); })
        .Requires([&](Interaction*) { return CheckArgNotEmpty(bodies); })
        .Checks([&](Interaction*) { return CheckArgNotEmpty(bodies); })
        .Returns([](JournalArguments& journal, int body) { journal.WriteJournalReturnEntityTag(body); })
        .Run([&](Interaction* target, ResultType& status) {
            const int partition = GetEntityPartition(bodies[0]);
            for (int i = 0; i < bodies.GetSize(); ++i) {
                if (!target->IsBareBody(bodies[i]) || (i > 0 && GetEntityPartition(bodies[i]) != partition)) {
                    status = ResultTypeBadArgument;
                    return 0;
                }
            }
            Model::StartDebugReport("HXR_BODY_rejoin");
            const int body = RejoinBodies(Tags(bodies));
            Model::StopDebugReport();
            if (body == 0)
                status = ResultTypeBadArgument;
            return body;
        });
}

QEL_API_REPLAYABLE_CALL(ExtractBodyPersistentData, 0);
ExtractBodyPersistentDataStatus ExtractBodyPersistentData(int interaction, int body, int options, ResultType* result)
{
    return ApiCall<ExtractBodyPersistentDataStatus>(s_ExtractBodyPersistentData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(body, "body");
            journal.WriteJournalArgExtractBodyPersistentDataOptionsTag(options, "ExtractBodyPersistentDataOptions");
        })
        .Requires(RequireOptions(CastTagToExtractBodyPersistentDataOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgKernelEntityTag(body),
                                 CheckArgTagIsExtractBodyPersistentDataOptions(options, target)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            return WithReportedBlock<ExtractBodyPersistentDataOptions, HXR_BODY_extract_relations_o_s>(
                CastTagToExtractBodyPersistentDataOptions(target, options), "HXR_BODY_extract_relations",
                [&](const HXR_BODY_extract_relations_o_s* block) { return ExtractBodyRelations(body, block, &status); });
        });
}

QEL_API_REPLAYABLE_CALL(RestoreBodyPersistentData, 0);
RestoreBodyPersistentDataStatus RestoreBodyPersistentData(int interaction, int body, int options, ResultType* result)
{
    return ApiCall<RestoreBodyPersistentDataStatus>(s_RestoreBodyPersistentData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(body, "body");
            journal.WriteJournalArgRestoreBodyPersistentDataOptionsTag(options, "RestoreBodyPersistentDataOptions");
        })
        .Requires(RequireOptions(CastTagToRestoreBodyPersistentDataOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgKernelEntityTag(body),
                                 CheckArgTagIsRestoreBodyPersistentDataOptions(options, target)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            return WithReportedBlock<RestoreBodyPersistentDataOptions, HXR_BODY_restore_relations_o_s>(
                CastTagToRestoreBodyPersistentDataOptions(target, options), "HXR_BODY_restore_relations",
                [&](const HXR_BODY_restore_relations_o_s* block) { return RestoreBodyRelations(body, block, &status); });
        });
}

QEL_API_REPLAYABLE_CALL(RemoveFaceShellPersistentData, 0);
void RemoveFaceShellPersistentData(int interaction, int face, int options, ResultType* result)
{
    ApiCall<>(s_RemoveFaceShellPersistentData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(face, "face");
            journal.WriteJournalArgRemoveFaceShellPersistentDataOptionsTag(options,
                                                                          "RemoveFaceShellPersistentDataOptions");
        })
        .Requires(RequireOptions(CastTagToRemoveFaceShellPersistentDataOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgKernelEntityTag(face),
                                 CheckArgTagIsRemoveFaceShellPersistentDataOptions(options, target)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            const bool removed = WithReportedBlock<RemoveFaceShellPersistentDataOptions, HXR_FACE_remove_shell_relns_o_s>(
                CastTagToRemoveFaceShellPersistentDataOptions(target, options), "HXR_FACE_remove_shell_relns",
                [&](const HXR_FACE_remove_shell_relns_o_s* block) { return RemoveFaceShellRelations(face, block); });
            if (!removed)
                status = ResultTypeBadArgument;
        });
}

QEL_API_REPLAYABLE_CALL(BodyIsPasteTool, ApiCallQuery);
bool BodyIsPasteTool(int interaction, int body, int options, ResultType* result)
{
    return ApiCall<bool>(s_BodyIsPasteTool, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(body, "Body");
            journal.WriteJournalArgBodyIsPasteToolOptionsTag(options, "BodyIsPasteToolOptions");
        })
        .Requires(RequireOptions(CastTagToBodyIsPasteToolOptions, options))
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgKernelEntityTag(body), CheckArgTagIsBodyIsPasteToolOptions(options, target)});
        })
        .Run([&](Interaction* target, ResultType&) {
            return WithReportedBlock<BodyIsPasteToolOptions, HXR_BODY_is_paste_tool_o_s>(
                CastTagToBodyIsPasteToolOptions(target, options), "HXR_BODY_is_paste_tool",
                [&](const HXR_BODY_is_paste_tool_o_s* block) { return IsBodyPasteTool(body, block); });
        });
}

}  // namespace QEL
