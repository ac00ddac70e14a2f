#include "solver/SolverOperation.h"

#include "core/UpperLayerSeams.h"


namespace QEL {

SolverOperation::~SolverOperation() = default;

void SolverOperation::GetConfigureSeeds(std::vector<std::pair<int, Instance*>>&) {}

ResultType SolverOperation::SetDragValue(double) { return ResultTypeOk; }

void DeleteSolverOperation(SolverOperation* operation) { delete operation; }

BlendRadiusOp::BlendRadiusOp(Interaction* interaction, const std::vector<int>& faces,
                             const double* radius)
    : SolverEvaluate(interaction), m_faces(faces), m_hasRadius(radius != nullptr),
      m_radius(radius ? *radius : 0.0)
{
}

}  // namespace QEL
