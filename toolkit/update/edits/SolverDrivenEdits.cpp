#include "update/edits/SolverDrivenEdits.h"

#include "core/kernel/AddOnFacade.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ModellingOperations.h"
#include "model/patterns/FacePattern.h"
#include "solver/operations/BlendRadiusOp.h"
#include "solver/operations/OffsetFacesOp.h"
#include "solver/operations/SolverEditPatternSpacing.h"

#include <cmath>
#include <memory>

namespace QEL {

namespace {

// Kinds of offset edit.
const int s_offsetValues = 1;
const int s_shellOneSide = 2;
const int s_shellBothSides = 3;

// One update with the edit; anything but an applied update fails the call.
UpdateStatus RunUpdate(Interaction* interaction, SolverOperation* edit, ResultType* result)
{
    const UpdateStatus status = interaction->Update(edit);
    if (status != UpdateApplied)
        *result = ResultTypeFail;
    return status;
}

}  // namespace

UpdateStatus DoOffsetFaces(Interaction* interaction, const std::vector<int>& faces,
                           const std::vector<double>& offsets, const OffsetFacesOptions* options,
                           ResultType* result)
{
    *result = CheckFacesToOffset(interaction, faces);
    if (*result != ResultTypeOk)
        return UpdateUnknown;
    std::unique_ptr<OffsetFacesOp> edit(new OffsetFacesOp(interaction, faces, s_offsetValues));
    if (options)
        edit->SetOptionBlock(options->GetOptionBlock());
    // Values that do not match the faces would run the edit with no offsets at all and report
    // it done.
    if (!edit->SetOffsetValues(offsets)) {
        *result = ResultTypeBadArgument;
        return UpdateUnknown;
    }
    interaction->PrepareEntitiesForChange(faces);
    return RunUpdate(interaction, edit.get(), result);
}

UpdateStatus DoEditShellThickness(Interaction* interaction, const std::vector<int>& faces,
                                  double thickness, bool symmetric, ResultType* result)
{
    *result = CheckFacesToOffset(interaction, faces);
    if (*result != ResultTypeOk)
        return UpdateUnknown;
    // No faces name no wall to thicken.
    if (faces.empty()) {
        *result = ResultTypeBadArgument;
        return UpdateUnknown;
    }
    bool allThere = true;
    for (int face : faces) {
        std::vector<int> side, partners;
        double present = 0.0;
        if (!FindShellCluster(face, &side, &partners, &present) || partners.empty()) {
            *result = ResultTypeBadArgument;
            return UpdateUnknown;
        }
        // Every wall must have the thickness already for nothing to be done, not just the
        // last face's.
        allThere = allThere && std::abs(present - thickness) < 1e-8;
    }
    if (allThere)
        return UpdateApplied;
    interaction->PrepareEntitiesForChange(faces);
    std::unique_ptr<OffsetFacesOp> edit(
        new OffsetFacesOp(interaction, faces, symmetric ? s_shellBothSides : s_shellOneSide));
    *result = static_cast<ResultType>(edit->SetDragValue(thickness));
    return RunUpdate(interaction, edit.get(), result);
}

UpdateStatus DoEditBlendRadius(Interaction* interaction, const std::vector<int>& faces,
                               double radius, ResultType* result)
{
    *result = CheckBlendRadiusFaces(interaction, faces);
    if (*result != ResultTypeOk)
        return UpdateUnknown;
    interaction->PrepareEntitiesForChange(faces);
    std::unique_ptr<BlendRadiusOp> edit(new BlendRadiusOp(interaction, faces, &radius));
    return RunUpdate(interaction, edit.get(), result);
}

UpdateStatus RunPatternSpacingEdit(Interaction* interaction, SolverEditPatternSpacing* edit)
{
    std::unique_ptr<SolverEditPatternSpacing> owned(edit);
    FacePattern* pattern = edit->GetPattern();
    if (interaction->GetCurrentSolverOperation() || !pattern)
        return UpdateSolveFailed;
    const bool rigid = pattern->GetRigidOccurrences();
    pattern->SetRigidOccurrences(true);
    const UpdateStatus status = interaction->Update(edit);
    pattern->SetRigidOccurrences(rigid);
    return status;
}

UpdateStatus EditRectangularPatternXSpacing(Interaction* interaction,
                                            RectangularFacePattern* pattern, double spacing)
{
    return RunPatternSpacingEdit(
        interaction, SolverEditPatternSpacing::CreateXSpacingEdit(interaction, pattern, spacing));
}

UpdateStatus EditRectangularPatternYSpacing(Interaction* interaction,
                                            RectangularFacePattern* pattern, double spacing)
{
    return RunPatternSpacingEdit(
        interaction, SolverEditPatternSpacing::CreateYSpacingEdit(interaction, pattern, spacing));
}

UpdateStatus EditCircularPatternSpacing(Interaction* interaction, CircularFacePattern* pattern,
                                        double spacing)
{
    return RunPatternSpacingEdit(interaction, SolverEditPatternSpacing::CreateAxisSpacingEdit(
                                                  interaction, pattern, spacing));
}

}  // namespace QEL
