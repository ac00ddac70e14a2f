#include "api/operations/QelShellApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/operations/ModellingOperations.h"
#include "model/transaction/Model.h"

#include <set>

namespace QEL {
namespace {

void Assign(Array<int>& array, const std::vector<int>& tags)
{
    array.RemoveAll();
    for (int tag : tags)
        array.Add(tag);
}

}  // namespace

QEL_API_REPLAYABLE_CALL(FindSidesOfShell, 0);
void FindSidesOfShell(int interaction, int seedFace, Array<int>& sameSide, Array<int>& oppositeSide,
                      double* thickness, ResultType* result)
{
    Call(s_FindSidesOfShell, interaction, result, EntityArg(seedFace, "SeedFace"),
         TagsOutput(sameSide, "SameSide"), TagsOutput(oppositeSide, "OppositeSide"),
         DoubleOutputAt(thickness, "ShellThickness"))
        .Run([](Interaction*, ResultType& status, int seed, Array<int>& same, Array<int>& opposite,
                double* wall) {
            std::vector<int> sameTags;
            std::vector<int> oppositeTags;
            status = DoFindSidesOfShell(seed, sameTags, oppositeTags, wall);
            if (status == ResultTypeOk) {
                Assign(same, sameTags);
                Assign(opposite, oppositeTags);
            }
        });
}

QEL_API_REPLAYABLE_CALL(FindClusterOfShell, 0);
bool FindClusterOfShell(int interaction, int seedFace, Array<int>& sameSide, Array<int>& otherSide,
                        double* thickness, ResultType* result)
{
    return Call<bool>(s_FindClusterOfShell, interaction, result, EntityArg(seedFace, "seedFace"),
                      TagsOutput(sameSide, "sameSide"), TagsOutput(otherSide, "otherSide"),
                      DoubleOutputAt(thickness, "thickness"))
        .Run([](Interaction*, ResultType&, int seed, Array<int>& same, Array<int>& other,
                double* wall) {
            *wall = 0.0;
            std::vector<int> sameTags;
            std::vector<int> otherTags;
            if (!FindShellCluster(seed, &sameTags, &otherTags, wall))
                return false;
            Assign(same, sameTags);
            Assign(other, otherTags);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(IsBlendFace, ApiCallQuery);
bool IsBlendFace(int interaction, int face, double& radius, ResultType* result)
{
    return Call<bool>(s_IsBlendFace, interaction, result, EntityArg(face, "seedFace"),
                      DoubleOutput(radius, "blendRadius"))
        .Run([](Interaction* target, ResultType&, int seed, double* blendRadius) {
            *blendRadius = 0.0;
            return IdentifyBlendFace(seed, target->GetModellingTolerance(), true, blendRadius);
        });
}

// The options text is handed to the kernel and left out of the journal.
QEL_API_CALL(DisjoinBody, ApiCallReplayable);
bool DisjoinBody(int interaction, int body, const char* options, Array<int>& bodies,
                 ResultType* result)
{
    return Call<bool>(s_DisjoinBody, interaction, result, EntityArg(body, "body"),
                      TagsOutput(bodies, "disjointBodies"))
        .Run([options](Interaction* target, ResultType&, int whole, Array<int>& pieces) {
            if (!target->IsBareBody(whole))
                return false;
            std::vector<int> split;
            Model::StartDebugReport("HXR_BODY_disjoin");
            const bool disjoined = SplitDisjointBody(whole, options, &split);
            Model::StopDebugReport();
            for (int piece : split)
                pieces.Add(piece);
            return disjoined;
        });
}

namespace {

// The options text is not journalled, so a record holds the body and the pieces alone: the
// replay splits with the kernel's own options.
bool DisjoinBodyAsJournalled(int interaction, int body, Array<int>& bodies, ResultType* result)
{
    return DisjoinBody(interaction, body, nullptr, bodies, result);
}

}  // namespace

[[maybe_unused]] static const bool s_disjoinBodyReplayed =
    RegisterReplayFunction("DisjoinBody", &ReplayAdapterFor<&DisjoinBodyAsJournalled>);

QEL_API_REPLAYABLE_CALL(FindBlends, 0);
bool FindBlends(int interaction, int seedFace, BlendIdentifyType type, Array<int>& blends,
                double& radius, ResultType* result)
{
    return Call<bool>(s_FindBlends, interaction, result, EntityArg(seedFace, "seedFace"),
                      EnumArg<BlendIdentifyType>(type, "blendIdentifyType"),
                      TagsOutput(blends, "blends"), DoubleOutput(radius, "blendRadius"))
        .Run([](Interaction* target, ResultType&, int seed, BlendIdentifyType kind,
                Array<int>& found, double* blendRadius) {
            std::set<int> faces;
            const bool answer =
                DoFindBlends(seed, kind, target->GetModellingTolerance(), blendRadius, &faces);
            found.RemoveAll();
            for (int face : faces)
                found.Add(face);
            return answer;
        });
}

}  // namespace QEL
