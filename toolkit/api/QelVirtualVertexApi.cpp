#include "api/QelVirtualVertexApi.h"

#include "api/ApiLookups.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/frame/TagCasts.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"

namespace QEL {

QEL_API_REPLAYABLE_CALL(CreateVirtualVertex, 0);
int CreateVirtualVertex(int interaction, Array<int>& definingRefTags, const double* seedCoords, ResultType* result)
{
    return ApiCall<int>(s_CreateVirtualVertex, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(definingRefTags), "definingRefTags");
            journal.WriteJournalArgDoubleBuffer(seedCoords, 3, "seedCoords");
        })
        // The seed is read whatever the checking option: without it there is nothing to read.
        .Requires([&](Interaction*) { return CheckArgPointer(seedCoords); })
        .Checks([&](Interaction* target) { return CheckArgReferenceArray(definingRefTags, target); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnVirtualVertexTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            std::vector<Reference*> defining;
            for (int tag : GetArrayVector(definingRefTags))
                defining.push_back(CastTagToReference(target, tag));
            VirtualVertex* vertex = VirtualVertex::Create(target, defining, seedCoords);
            if (!vertex)
                status = ResultTypeFail;
            return vertex ? vertex->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(VirtualVertexGetDefiningRefs, ApiCallQuery);
void VirtualVertexGetDefiningRefs(int interaction, int virtualVertexTag, Array<int>& definingRefTagsArray,
                                  ResultType* result)
{
    ApiCall<>(s_VirtualVertexGetDefiningRefs, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgTag(virtualVertexTag, "virtualVertexTag"); })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgTagIsVirtualVertex(virtualVertexTag, target),
                                 IsArrayNonEmpty(definingRefTagsArray) ? ResultTypeBadArgument : ResultTypeOk});
        })
        .Outputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(definingRefTagsArray), "definingRefTagsArray");
        })
        .Run([&](Interaction* target, ResultType& status) {
            VirtualVertex* vertex = target->FindVirtualVertexFromTag(virtualVertexTag);
            if (!vertex) {
                status = ResultTypeFail;
                return;
            }
            for (int i = 0; i < vertex->GetDefiningReferenceCount(); ++i) {
                Reference* reference = vertex->GetDefiningReference(i);
                definingRefTagsArray.Add(reference ? reference->GetTag() : 0);
            }
        });
}

QEL_API_REPLAYABLE_CALL(VirtualVertexGetVirtualPoint, ApiCallQuery);
int VirtualVertexGetVirtualPoint(int interaction, int virtualVertexTag, ResultType* result)
{
    return ApiCall<int>(s_VirtualVertexGetVirtualPoint, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgTag(virtualVertexTag, "virtualVertexTag"); })
        .Checks([&](Interaction* target) { return CheckArgTagIsVirtualVertex(virtualVertexTag, target); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnEntityTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            VirtualVertex* vertex = CastTagToVirtualVertex(target, virtualVertexTag);
            const int point = vertex ? vertex->GetVirtualPoint() : 0;
            if (point == 0)
                status = vertex ? ResultTypeFail : ResultTypeBadArgument;
            return point;
        });
}

}  // namespace QEL
