#include "solver/SolverOperation.h"

#include "core/UpperLayerSeams.h"

namespace QEL {

SolverOperation::~SolverOperation() = default;

void SolverOperation::GetConfigureSeeds(std::vector<std::pair<int, Instance*>>&) {}

void DeleteSolverOperation(SolverOperation* operation) { delete operation; }

}  // namespace QEL
