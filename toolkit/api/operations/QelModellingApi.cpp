#include "api/operations/QelModellingApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ModellingOperations.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"
#include "model/transaction/Model.h"

namespace QEL {
namespace {

constexpr unsigned s_tracked = ApiCallTracked;

// Runs an add-on call on the option object's block inside the add-on's debug report.
template <typename Block, typename Options, typename AddOnCall>
auto WithReportedBlock(const Options* options, const char* report, AddOnCall call)
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
int MakeSheetCall(const ApiCallProperties& call, int interaction, const Array<int>& faces,
                  int partition, int options, ResultType* result, const char* facesName,
                  const char* optionsName, Body body)
{
    return Call<int>(call, interaction, result, FacesArg(faces, facesName).NotEmpty(),
                     PartitionArg(partition, "partitionToMakeSheetIn"),
                     OptionsArg<Options>(options, optionsName))
        .ReturnsTag("InstanceTag")
        .Run([&](Interaction* target, ResultType& status, const std::vector<int>& tags,
                 int partitionTag, Options* found) {
            Instance* instance = body(target, tags, partitionTag, found, &status);
            return instance ? instance->GetTag() : 0;
        });
}

// Extracting and restoring a body's persistent data differ only in their option class and
// add-on call; stopped before the add-on runs, both answer their start value.
template <typename Options, typename Status, typename Block>
Status PersistentDataCall(const ApiCallProperties& call, int interaction, int body, int options,
                          const char* optionsName, const char* report,
                          Status (*addOn)(int, const Block*, ResultType*), Status start,
                          ResultType* result)
{
    return Call<Status>(call, interaction, result, EntityArg(body, "body"),
                        OptionsArg<Options>(options, optionsName))
        .StartsWith(start)
        .Run([report, addOn](Interaction*, ResultType& status, int of, Options* found) {
            return WithReportedBlock<Block>(
                found, report, [&](const Block* block) { return addOn(of, block, &status); });
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(ReorderBlends, s_tracked);
void ReorderBlends(int interaction, const Array<int>& firstChain, const Array<int>& secondChain,
                   int options, ResultType* result)
{
    Call(s_ReorderBlends, interaction, result,
         FacesArg(firstChain, "ReorderBlendChain1").Required(),
         FacesArg(secondChain, "ReorderBlendChain2").Required(),
         OptionsArg<ReorderBlendsOptions>(options, "ReorderBlendsOptions").CheckedOnly())
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& first,
                const std::vector<int>& second,
                auto) { status = DoReorderBlends(target, first, second); });
}

QEL_API_REPLAYABLE_CALL(Cut, s_tracked);
int Cut(int interaction, const Array<int>& faces, int partition, int options, ResultType* result)
{
    return MakeSheetCall<CutOptions>(s_Cut, interaction, faces, partition, options, result,
                                     "facesToCut", "tagCutOptions", DoCut);
}

QEL_API_REPLAYABLE_CALL(Copy, s_tracked);
int Copy(int interaction, const Array<int>& faces, int partition, int options, ResultType* result)
{
    return MakeSheetCall<CopyOptions>(s_Copy, interaction, faces, partition, options, result,
                                      "facesToCopy", "tagCopyOptions", DoCopy);
}

QEL_API_REPLAYABLE_CALL(Paste, s_tracked);
void Paste(int interaction, int tool, int target, int options, ResultType* result)
{
    Call(s_Paste, interaction, result, InstanceArg(tool, "tool", "BodyTag"),
         InstanceArg(target, "target", "BodyTag"),
         OptionsArg<PasteOptions>(options, "tagPasteOptions"))
        .Run([](Interaction* owner, ResultType& status, Instance* toolInstance,
                Instance* targetInstance, PasteOptions* found) {
            const Xform relative =
                MultiplyXforms(targetInstance->GetXform().GetInverse(), toolInstance->GetXform());
            const int transform = relative.IsIdentity() ? 0 : relative.CreateKernelTransf();
            DoPaste(owner, toolInstance->GetBodyTag(), targetInstance->GetBodyTag(), transform,
                    found, &status);
        });
}

QEL_API_REPLAYABLE_CALL(DeleteFaces, s_tracked);
void DeleteFaces(int interaction, const Array<int>& faces, int options, ResultType* result)
{
    Call(s_DeleteFaces, interaction, result, FacesArg(faces, "facesToDelete").NotEmpty(),
         OptionsArg<DeleteFacesOptions>(options, "DeleteFacesOptionsTag"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags,
                DeleteFacesOptions* found) { status = DoDeleteFaces(target, tags, found); });
}

QEL_API_REPLAYABLE_CALL(Shell, s_tracked);
void Shell(int interaction, double thickness, int body, int options, ResultType* result)
{
    Call(s_Shell, interaction, result, LengthArg(thickness, "ShellThickness"),
         EntityArg(body, "BodyToShell"), OptionsArg<ShellOptions>(options, "ShellOptionsTag"))
        .Run([](Interaction* target, ResultType& status, double by, int shelled,
                ShellOptions* found) { status = DoShell(target, shelled, by, found); });
}

QEL_API_REPLAYABLE_CALL(TaperFaces, s_tracked);
void TaperFaces(int interaction, const Array<int>& faces, const double* direction, double angle,
                const Array<Array<int>>& references, int options, ResultType* result)
{
    Call(s_TaperFaces, interaction, result, FacesArg(faces, "facesToTaper").NotEmpty(),
         DoublesAt(direction, 3, "taperDirection"), DoubleArg(angle, "taperAngle"),
         TagListsOf(references, "referencesArray"),
         OptionsArg<TaperOptions>(options, "TaperOptionsTag"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags,
                const double* along, double by, const std::vector<std::vector<int>>& lists,
                TaperOptions* found) {
            status = DoTaperFaces(target, tags, along, by, lists, found);
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceFaces, s_tracked);
void ReplaceFaces(int interaction, const Array<int>& faces, const Array<int>& surfaces,
                  const Array<int>& senses, int options, ResultType* result)
{
    Call(s_ReplaceFaces, interaction, result, FacesArg(faces, "facesToReplace").NotEmpty(),
         GeometryArg(surfaces, "ReplacementSurfaces").NotEmpty(),
         IntegersArg(senses, "NewSurfaceSenses").NotEmpty(),
         OptionsArg<ReplaceOptions>(options, "ReplaceOptionsTag"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags,
                const std::vector<int>& with, const std::vector<int>& signs,
                ReplaceOptions* found) {
            status = DoReplaceFaces(target, tags, with, signs, found);
        });
}

QEL_API_REPLAYABLE_CALL(ReplaceFacesWithSheet, s_tracked);
void ReplaceFacesWithSheet(int interaction, const Array<int>& faces, int sheet, int options,
                           ResultType* result)
{
    Call(s_ReplaceFacesWithSheet, interaction, result, FacesArg(faces, "FacesToReplace").NotEmpty(),
         AnyTagArg(sheet, "SheetBody", "Tag", CheckArgKernelEntityTag),
         OptionsArg<ReplaceFacesWithSheetOptions>(options, "ReplaceFacesWithSheetOptions"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags,
                int sheetBody, ReplaceFacesWithSheetOptions* found) {
            status = DoReplaceFacesWithSheet(target, tags, sheetBody, found);
        });
}

QEL_API_REPLAYABLE_CALL(RejoinBody, 0);
int RejoinBody(int interaction, const Array<int>& bodies, ResultType* result)
{
    return Call<int>(s_RejoinBody, interaction, result,
                     TagListArg(bodies, "disjointBodies").Required())
        .ReturnsTag("EntityTag")
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags) {
            const int partition = GetEntityPartition(tags[0]);
            for (size_t i = 0; i < tags.size(); ++i) {
                if (!target->IsBareBody(tags[i]) ||
                    (i > 0 && GetEntityPartition(tags[i]) != partition)) {
                    status = ResultTypeBadArgument;
                    return 0;
                }
            }
            Model::StartDebugReport("HXR_BODY_rejoin");
            const int body = RejoinBodies(tags);
            Model::StopDebugReport();
            if (body == 0)
                status = ResultTypeBadArgument;
            return body;
        });
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(ExtractBodyPersistentData, 0, ExtractBodyPersistentDataStored);
ExtractBodyPersistentDataStatus ExtractBodyPersistentData(int interaction, int body, int options,
                                                          ResultType* result)
{
    return PersistentDataCall<ExtractBodyPersistentDataOptions>(
        s_ExtractBodyPersistentData, interaction, body, options, "ExtractBodyPersistentDataOptions",
        "HXR_BODY_extract_relations", ExtractBodyRelations, s_ExtractBodyPersistentDataStart,
        result);
}

QEL_API_REPLAYABLE_CALL_STARTING_AT(RestoreBodyPersistentData, 0,
                                    RestoreBodyPersistentDataRestored);
RestoreBodyPersistentDataStatus RestoreBodyPersistentData(int interaction, int body, int options,
                                                          ResultType* result)
{
    return PersistentDataCall<RestoreBodyPersistentDataOptions>(
        s_RestoreBodyPersistentData, interaction, body, options, "RestoreBodyPersistentDataOptions",
        "HXR_BODY_restore_relations", RestoreBodyRelations, s_RestoreBodyPersistentDataStart,
        result);
}

QEL_API_REPLAYABLE_CALL(RemoveFaceShellPersistentData, 0);
void RemoveFaceShellPersistentData(int interaction, int face, int options, ResultType* result)
{
    Call(s_RemoveFaceShellPersistentData, interaction, result, EntityArg(face, "face"),
         OptionsArg<RemoveFaceShellPersistentDataOptions>(options,
                                                          "RemoveFaceShellPersistentDataOptions"))
        .Run([](Interaction*, ResultType& status, int from,
                RemoveFaceShellPersistentDataOptions* found) {
            if (!WithReportedBlock<HXR_FACE_remove_shell_relns_o_s>(
                    found, "HXR_FACE_remove_shell_relns",
                    [&](const HXR_FACE_remove_shell_relns_o_s* block) {
                        return RemoveFaceShellRelations(from, block);
                    }))
                status = ResultTypeBadArgument;
        });
}

QEL_API_REPLAYABLE_CALL(BodyIsPasteTool, ApiCallQuery);
bool BodyIsPasteTool(int interaction, int body, int options, ResultType* result)
{
    return Call<bool>(s_BodyIsPasteTool, interaction, result, EntityArg(body, "Body"),
                      OptionsArg<BodyIsPasteToolOptions>(options, "BodyIsPasteToolOptions"))
        .Run([](Interaction*, ResultType&, int tool, BodyIsPasteToolOptions* found) {
            return WithReportedBlock<HXR_BODY_is_paste_tool_o_s>(
                found, "HXR_BODY_is_paste_tool", [&](const HXR_BODY_is_paste_tool_o_s* block) {
                    return IsBodyPasteTool(tool, block);
                });
        });
}

}  // namespace QEL
