#include "api/model/QelVirtualVertexApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiLookups.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"

namespace QEL {

QEL_API_REPLAYABLE_CALL(CreateVirtualVertex, 0);
int CreateVirtualVertex(int interaction, Array<int>& definingRefTags, const double* seedCoords,
                        ResultType* result)
{
    return Call<int>(s_CreateVirtualVertex, interaction, result,
                     TagListArg(definingRefTags, "definingRefTags"),
                     DoublesAt(seedCoords, 3, "seedCoords"))
        .Checks(
            [&](Interaction* target) { return CheckArgReferenceArray(definingRefTags, target); })
        .ReturnsTag("VirtualVertexTag")
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& tags,
                const double* seed) {
            std::vector<Reference*> defining;
            for (int tag : tags)
                defining.push_back(CastTagToReference(target, tag));
            return TagOrFail(VirtualVertex::Create(target, defining, seed), status);
        });
}

QEL_API_REPLAYABLE_CALL(VirtualVertexGetDefiningRefs, ApiCallQuery);
void VirtualVertexGetDefiningRefs(int interaction, int virtualVertexTag,
                                  Array<int>& definingRefTagsArray, ResultType* result)
{
    Call(s_VirtualVertexGetDefiningRefs, interaction, result,
         ObjectTagArg(virtualVertexTag, "virtualVertexTag", CheckArgTagIsVirtualVertex),
         TagsOutput(definingRefTagsArray, "definingRefTagsArray"))
        .Checks([&](Interaction*) { return RefusedUnless(!IsArrayNonEmpty(definingRefTagsArray)); })
        .Run([](Interaction* target, ResultType& status, int tag, Array<int>& list) {
            VirtualVertex* vertex = target->FindVirtualVertexFromTag(tag);
            if (!vertex) {
                status = ResultTypeFail;
                return;
            }
            for (int i = 0; i < vertex->GetDefiningReferenceCount(); ++i) {
                Reference* reference = vertex->GetDefiningReference(i);
                list.Add(reference ? reference->GetTag() : 0);
            }
        });
}

QEL_API_REPLAYABLE_CALL(VirtualVertexGetVirtualPoint, ApiCallQuery);
int VirtualVertexGetVirtualPoint(int interaction, int virtualVertexTag, ResultType* result)
{
    return Call<int>(s_VirtualVertexGetVirtualPoint, interaction, result,
                     OptionsArg<VirtualVertex>(virtualVertexTag, "virtualVertexTag", "Tag"))
        .ReturnsTag("EntityTag")
        .Run([](Interaction*, ResultType& status, VirtualVertex* vertex) {
            const int point = vertex->GetVirtualPoint();
            if (point == 0)
                status = ResultTypeFail;
            return point;
        });
}

}  // namespace QEL
