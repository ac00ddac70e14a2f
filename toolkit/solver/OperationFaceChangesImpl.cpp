// The solver tells the face-change builder what each of its operations changes itself.
#include "model/operations/OperationFaceChanges.h"

#include "solver/operations/BlendRadiusOp.h"
#include "solver/operations/OffsetFacesOp.h"
#include "solver/operations/SolverOperation.h"

namespace QEL {

namespace {

// The offset edit's kinds that bring further changes: faces offset by their own values
// (their shells follow), and a shell thickened from both sides (the far side's offsets).
constexpr int s_offsetFaces = 1;
constexpr int s_offsetShellSymmetric = 3;

class SolverOperationFaceChanges final : public OperationFaceChanges {
public:
    void AddOperationChanges(FaceChangeBuilder& builder, SolverOperation* operation, int body,
                             const SolvedFaceChangeMap& changes) override
    {
        if (!operation)
            return;
        if (const auto* blendRadius = dynamic_cast<const BlendRadiusOp*>(operation)) {
            const double radius = blendRadius->HasRadius() ? blendRadius->GetRadius() : 0.0;
            builder.AddBlendRadiusChanges(blendRadius->GetFaces(), radius, body);
            return;
        }
        if (const auto* offset = dynamic_cast<const OffsetFacesOp*>(operation)) {
            static const std::map<int, double> s_none;
            const bool symmetric = offset->GetKind() == s_offsetShellSymmetric;
            builder.AddOffsetOperationChanges(
                offset->GetFaces(), offset->GetOffsets(), offset->GetKind() == s_offsetFaces,
                symmetric ? offset->GetPartnerOffsets() : s_none, offset->GetOptionBlock(), body);
            return;
        }
        SolverOperation::SeedList seeds;
        operation->GetConfigureSeeds(seeds);
        builder.AddSeedChanges(seeds, changes);
    }
};

SolverOperationFaceChanges s_solverOperationFaceChanges;
[[maybe_unused]] const bool s_solverOperationFaceChangesInstalled =
    InstallOperationFaceChanges(&s_solverOperationFaceChanges);

}  // namespace

}  // namespace QEL
