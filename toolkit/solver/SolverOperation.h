#pragma once
// The edit the interaction runs through its update manager: a drag or a value edit. While one
// is current, options that change the edit are refused.

#include <utility>
#include <vector>

namespace QEL {

class Instance;

class SolverOperation {
public:
    SolverOperation() = default;
    SolverOperation(const SolverOperation&) = delete;
    SolverOperation& operator=(const SolverOperation&) = delete;
    virtual ~SolverOperation();

    // Appends the (entity, instance) pairs the operation moves directly.
    virtual void GetConfigureSeeds(std::vector<std::pair<int, Instance*>>& seeds);
};

}  // namespace QEL
