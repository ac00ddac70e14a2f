#include "model/operations/ModellingOperations.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/FaceChangeBuilder.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellClusterData.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"
#include "model/transaction/Model.h"

namespace QEL {

namespace {

// The add-on's track record of one call, freed on every path: freeing an emptied record again
// does nothing, so a wrapper that freed it already is no matter.
class TrackRecord {
public:
    TrackRecord() = default;
    TrackRecord(const TrackRecord&) = delete;
    TrackRecord& operator=(const TrackRecord&) = delete;
    ~TrackRecord() { HXR_ENTITY_track_r_f(&m_record); }
    HXR_ENTITY_track_r_s* Get() { return &m_record; }

private:
    HXR_ENTITY_track_r_s m_record = {0, nullptr};
};

ResultType FailedIf(int error) { return error != 0 ? ResultTypeFail : ResultTypeOk; }

// Cut and copy share every step but the wrapper they call.
template <typename Block, typename Options, typename Wrapper>
Instance* MakeSheetOfFaces(Interaction* interaction, const std::vector<int>& faces, int partition,
                           const Options* options, ResultType* result, Wrapper wrapper)
{
    *result = ResultTypeOk;
    interaction->PrepareEntitiesForChange(faces);
    interaction->MarkPartitionForRollback(partition);
    Block block;
    options->GetOptionBlock(block);
    block.partition = partition;
    std::vector<int> list(faces);
    int sheet = 0;
    TrackRecord tracking;
    if (wrapper(interaction, static_cast<int>(list.size()), list.data(), &block, &sheet,
                tracking.Get(), true, nullptr) != 0 ||
        sheet == 0) {
        *result = ResultTypeFail;
        return nullptr;
    }
    static const double s_identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(interaction, sheet, s_identity);
    if (!instance)
        *result = ResultTypeFail;
    return instance;
}

// Replace and taper collect their changes in a builder over arrays of their own.
template <typename Collect>
ResultType ApplyCollectedChanges(Interaction* interaction, const std::vector<int>& faces,
                                 const HXR_FACE_change_o_s* block, Collect collect)
{
    interaction->PrepareEntitiesForChange(faces);
    ReblendChainArray chains;
    ShellClusterDataArray clusters;
    FaceChangeBuilder builder(interaction, false, nullptr, &chains, &clusters, 0);
    collect(builder);
    return FailedIf(builder.Apply(block));
}

}  // namespace

Instance* DoCut(Interaction* interaction, const std::vector<int>& faces, int partition,
                const CutOptions* options, ResultType* result)
{
    return MakeSheetOfFaces<HXR_FACE_cut_o_s>(interaction, faces, partition, options, result,
                                              Model::FaceCut);
}

Instance* DoCopy(Interaction* interaction, const std::vector<int>& faces, int partition,
                 const CopyOptions* options, ResultType* result)
{
    return MakeSheetOfFaces<HXR_FACE_copy_o_s>(interaction, faces, partition, options, result,
                                               Model::FaceCopy);
}

void DoPaste(Interaction* interaction, int tool, int target, int transform,
             const PasteOptions* options, ResultType* result)
{
    *result = ResultTypeOk;
    HXR_BODY_paste_o_s block;
    options->GetOptionBlock(block);
    TrackRecord tracking;
    if (Model::BodyPaste(interaction, target, tool, transform, &block, tracking.Get(), true,
                         nullptr) != 0)
        *result = ResultTypeFail;
}

ResultType DoDeleteFaces(Interaction* interaction, const std::vector<int>& faces,
                         const DeleteFacesOptions* options)
{
    interaction->PrepareEntitiesForChange(faces);
    HXR_FACE_delete_o_s block;
    options->GetOptionBlock(block);
    std::vector<int> list(faces);
    TrackRecord tracking;
    return FailedIf(Model::FaceDelete(interaction, static_cast<int>(list.size()), list.data(),
                                      &block, tracking.Get(), true, nullptr));
}

ResultType DoShell(Interaction* interaction, int body, double thickness,
                   const ShellOptions* options)
{
    interaction->PrepareBodyForChange(body);
    double first = 0.0;
    double second = 0.0;
    switch (options->GetType()) {
        case ShellTypeInwards:
            second = thickness;
            break;
        case ShellTypeOutwards:
            first = thickness;
            break;
        case ShellTypeSymmetric:
            first = second = thickness * 0.5;
            break;
        default:
            return ResultTypeInvalidShellTypeInput;
    }
    HXR_BODY_hollow_o_s block = options->GetOptionBlock();
    TrackRecord tracking;
    return FailedIf(Model::BodyHollow(interaction, body, first, second,
                                      interaction->GetModellingTolerance(), &block, tracking.Get(),
                                      true, nullptr));
}

ResultType DoReorderBlends(Interaction* interaction, const std::vector<int>& firstChain,
                           const std::vector<int>& secondChain)
{
    interaction->PrepareEntitiesForChange(firstChain);
    interaction->PrepareEntitiesForChange(secondChain);
    HXR_FACE_reorder_blends_o_s block = {1, interaction->GetModellingTolerance()};
    std::vector<int> first(firstChain);
    std::vector<int> second(secondChain);
    TrackRecord tracking;
    return FailedIf(Model::FaceReorderBlends(interaction, static_cast<int>(first.size()),
                                             first.data(), static_cast<int>(second.size()),
                                             second.data(), &block, tracking.Get(), true, nullptr));
}

ResultType DoReplaceFacesWithSheet(Interaction* interaction, const std::vector<int>& faces,
                                   int sheet, const ReplaceFacesWithSheetOptions* options)
{
    if (!interaction->IsBareBody(sheet))
        return ResultTypeSheetBodyReferenced;
    interaction->PrepareEntitiesForChange(faces);
    interaction->PrepareBodyForChange(sheet);
    HXR_FACE_replace_with_sheet_o_s block;
    options->GetOptionBlock(block);
    block.tolerance = interaction->GetModellingTolerance();
    std::vector<int> list(faces);
    TrackRecord tracking;
    return FailedIf(Model::ReplaceFaceWithSheet(interaction, static_cast<int>(list.size()),
                                                list.data(), sheet, &block, tracking.Get(), true,
                                                nullptr));
}

ResultType DoReplaceFaces(Interaction* interaction, const std::vector<int>& faces,
                          const std::vector<int>& surfaces, const std::vector<int>& senses,
                          ReplaceOptions* options)
{
    if (surfaces.size() != faces.size() || senses.size() != faces.size())
        return ResultTypeBadArgument;
    options->BuildChangeOptions();
    const HXR_FACE_change_o_s block = options->GetChangeOptionBlock();
    return ApplyCollectedChanges(interaction, faces, &block, [&](FaceChangeBuilder& builder) {
        builder.AddReplaceFacesChanges(faces, surfaces, senses, options);
    });
}

ResultType DoTaperFaces(Interaction* interaction, const std::vector<int>& faces,
                        const double direction[3], double angle,
                        const std::vector<std::vector<int>>& edgeLists, TaperOptions* options)
{
    if (edgeLists.size() != faces.size())
        return ResultTypeBadArgument;
    return ApplyCollectedChanges(interaction, faces, nullptr, [&](FaceChangeBuilder& builder) {
        builder.AddTaperFacesChanges(faces, direction, angle, edgeLists, options);
    });
}

ResultType DoFindSidesOfShell(int face, std::vector<int>& sameSide, std::vector<int>& oppositeSide,
                              double* thickness)
{
    if (!thickness)
        return ResultTypeBadArgument;
    *thickness = -1.0;
    KernelArray<int> same;
    KernelArray<int> opposite;
    Model::StartDebugReport("HXR_FACE_find_shell_sides");
    const int error = HXR_FACE_find_shell_sides(face, same.Count(), same.Slot(), opposite.Count(),
                                                opposite.Slot(), thickness);
    Model::StopDebugReport();
    if (error != 0 || (same.Size() == 0 && opposite.Size() == 0))
        return ResultTypeFail;
    sameSide.clear();
    oppositeSide.clear();
    same.AppendTo(sameSide);
    opposite.AppendTo(oppositeSide);
    return ResultTypeOk;
}

}  // namespace QEL
