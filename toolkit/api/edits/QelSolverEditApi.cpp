#include "api/edits/QelSolverEditApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "update/edits/SolverDrivenEdits.h"

namespace QEL {

namespace {

// The edits take a tracking mark, so the faces they change come back as tracking data.
constexpr unsigned s_tracked = ApiCallTracked;

}  // namespace

QEL_API_REPLAYABLE_CALL(OffsetFaces, s_tracked);
UpdateStatus OffsetFaces(int interaction, const Array<int>& facesToOffset,
                         const Array<double>& offsetValues, int offsetFacesOptions,
                         ResultType* result)
{
    return Call<UpdateStatus>(
               s_OffsetFaces, interaction, result,
               FacesArg(facesToOffset, "facesToOffset").NotEmpty(),
               DoublesArg(offsetValues, "offsetValues"),
               OptionsArg<OffsetFacesOptions>(offsetFacesOptions, "OffsetFacesOptionsTag"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& faces,
                const std::vector<double>& values, OffsetFacesOptions* options) {
            // One value for all faces, or one each: any other count, checks on or off, would
            // read past the values.
            if (faces.empty() || (values.size() != 1 && values.size() != faces.size())) {
                status = ResultTypeBadArgument;
                return UpdateUnknown;
            }
            const std::vector<double> offsets =
                values.size() == 1 ? std::vector<double>(faces.size(), values[0]) : values;
            return DoOffsetFaces(target, faces, offsets, options, &status);
        });
}

QEL_API_REPLAYABLE_CALL(EditShellThickness, s_tracked);
UpdateStatus EditShellThickness(int interaction, const Array<int>& shellSide, double newThickness,
                                bool changeShellSymmetrically, ResultType* result)
{
    return Call<UpdateStatus>(s_EditShellThickness, interaction, result,
                              FacesArg(shellSide, "shellSide").NotEmpty(),
                              LengthArg(newThickness, "NewThickness"),
                              BoolArg(changeShellSymmetrically, "changeShellSymmetrically"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& faces,
                double thickness, bool symmetric) {
            return DoEditShellThickness(target, faces, thickness, symmetric, &status);
        });
}

QEL_API_REPLAYABLE_CALL(EditBlendRadius, s_tracked);
UpdateStatus EditBlendRadius(int interaction, const Array<int>& facesToChange,
                             double newBlendRadius, ResultType* result)
{
    return Call<UpdateStatus>(s_EditBlendRadius, interaction, result,
                              FacesArg(facesToChange, "FacesToChange").Required(),
                              LengthArg(newBlendRadius, "newBlendRadius"))
        .Run([](Interaction* target, ResultType& status, const std::vector<int>& faces,
                double radius) { return DoEditBlendRadius(target, faces, radius, &status); });
}

}  // namespace QEL
