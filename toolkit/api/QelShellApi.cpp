#include "api/QelShellApi.h"

#include "core/kernel/AddOnFacade.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/transaction/Model.h"
#include "model/operations/ModellingOperations.h"

#include <functional>
#include <set>

namespace QEL {
namespace {

// The shell calls write through the thickness pointer whatever the checks say.
std::function<ResultType(Interaction*)> RequireThickness(const double* thickness)
{
    return [thickness](Interaction*) { return CheckArgPointer(thickness); };
}

// The two wall queries share their journal form.
std::function<void(JournalArguments&)> WallOutputs(const Array<int>& same, const Array<int>& other,
                                                   const double* thickness, const char* sameName,
                                                   const char* otherName, const char* thicknessName)
{
    return [&same, &other, thickness, sameName, otherName, thicknessName](JournalArguments& journal) {
        journal.WriteJournalArgTagArray(GetArrayVector(same), sameName);
        journal.WriteJournalArgTagArray(GetArrayVector(other), otherName);
        if (thickness)
            journal.WriteJournalArgDouble(*thickness, thicknessName);
    };
}

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
    ApiCall<>(s_FindSidesOfShell, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(seedFace, "SeedFace"); })
        .Requires(RequireThickness(thickness))
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(seedFace); })
        .Outputs(WallOutputs(sameSide, oppositeSide, thickness, "SameSide", "OppositeSide", "ShellThickness"))
        .Run([&](Interaction*, ResultType& status) {
            std::vector<int> same;
            std::vector<int> opposite;
            status = DoFindSidesOfShell(seedFace, same, opposite, thickness);
            if (status == ResultTypeOk) {
                Assign(sameSide, same);
                Assign(oppositeSide, opposite);
            }
        });
}

QEL_API_REPLAYABLE_CALL(FindClusterOfShell, 0);
bool FindClusterOfShell(int interaction, int seedFace, Array<int>& sameSide, Array<int>& otherSide,
                        double* thickness, ResultType* result)
{
    return ApiCall<bool>(s_FindClusterOfShell, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(seedFace, "seedFace"); })
        .Requires(RequireThickness(thickness))
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(seedFace); })
        .Outputs(WallOutputs(sameSide, otherSide, thickness, "sameSide", "otherSide", "thickness"))
        .Run([&](Interaction*, ResultType&) {
            *thickness = 0.0;
            std::vector<int> same;
            std::vector<int> other;
            if (!FindShellCluster(seedFace, &same, &other, thickness))
                return false;
            Assign(sameSide, same);
            Assign(otherSide, other);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(IsBlendFace, ApiCallQuery);
bool IsBlendFace(int interaction, int face, double& radius, ResultType* result)
{
    return ApiCall<bool>(s_IsBlendFace, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(face, "seedFace"); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(face); })
        .Outputs([&](JournalArguments& journal) { journal.WriteJournalArgDouble(radius, "blendRadius"); })
        .Run([&](Interaction* target, ResultType&) {
            radius = 0.0;
            return IdentifyBlendFace(face, target->GetModellingTolerance(), true, &radius);
        });
}

QEL_API_REPLAYABLE_CALL(DisjoinBody, 0);
bool DisjoinBody(int interaction, int body, const char* options, Array<int>& bodies, ResultType* result)
{
    return ApiCall<bool>(s_DisjoinBody, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(body, "body");
            journal.WriteJournalArgString(options, "options");
        })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(body); })
        .Outputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(bodies), "disjointBodies");
        })
        .Run([&](Interaction* target, ResultType&) {
            if (!target->IsBareBody(body))
                return false;
            std::vector<int> pieces;
            Model::StartDebugReport("HXR_BODY_disjoin");
            const bool split = SplitDisjointBody(body, options, &pieces);
            Model::StopDebugReport();
            for (int piece : pieces)
                bodies.Add(piece);
            return split;
        });
}

QEL_API_REPLAYABLE_CALL(FindBlends, 0);
bool FindBlends(int interaction, int seedFace, BlendIdentifyType type, Array<int>& blends, double& radius,
                ResultType* result)
{
    return ApiCall<bool>(s_FindBlends, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(seedFace, "seedFace");
            journal.WriteJournalArgBlendIdentifyType(type, "blendIdentifyType");
        })
        .Checks([&](Interaction*) {
            return FirstFailure({CheckArgKernelEntityTag(seedFace), CheckArgBlendIdentifyType(type)});
        })
        .Outputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(blends), "blends");
            journal.WriteJournalArgDouble(radius, "blendRadius");
        })
        .Run([&](Interaction* target, ResultType&) {
            std::set<int> found;
            const bool answer = DoFindBlends(seedFace, type, target->GetModellingTolerance(), &radius, &found);
            blends.RemoveAll();
            for (int face : found)
                blends.Add(face);
            return answer;
        });
}

}  // namespace QEL
