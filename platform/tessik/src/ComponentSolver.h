// Gauss-Newton with minimum weighted-norm steps for one connected component.
#pragma once

#include <Eigen/Dense>
#include <Eigen/Sparse>

#include <functional>
#include <memory>
#include <vector>

namespace tessik {

// One group of residual components, evaluated from the whole unknown vector.
struct EquationBlock {
    bool soft = false;                     // met as closely as the hard blocks allow
    std::vector<int> dofs;                 // indices (into the unknown vector) it depends on
    std::function<void(std::vector<double>&, std::vector<char>&)> evaluate;  // values, angular flags
};

struct ComponentProblem {
    std::vector<int> dofs;                 // the unknowns of the component
    std::vector<double> steps;             // finite-difference step per unknown (same order)
    Eigen::SparseMatrix<double> scale;     // x = scale * z; z is measured by the plain norm
    std::vector<const EquationBlock*> blocks;
    double lengthTolerance = 1e-10;
    double angleTolerance = 1e-12;
    int maxIterations = 60;
    // Room for each unknown's column in the component, one entry per unknown of the whole
    // vector, every entry -1; the solve fills the component's entries and sets them back to -1
    // before it returns. Shared by the components of one evaluation, so that none of them
    // costs the size of the whole vector; without it the solve uses room of its own.
    std::vector<int>* columns = nullptr;
};

struct ComponentOutcome {
    bool hardMet = false;
    bool softMet = false;
    bool stalled = false;                  // stopped at a least-squares minimum
    int iterations = 0;
    std::vector<bool> blockMet;            // per block, after the solve
};

// What a component's solve keeps for the next solve of the same component: its buffers, and
// the analysis of its Jacobian's pattern while the pattern stays. It changes no result.
class ComponentMemory {
public:
    ComponentMemory();
    ~ComponentMemory();
    ComponentMemory(const ComponentMemory&) = delete;
    ComponentMemory& operator=(const ComponentMemory&) = delete;

    struct Parts;

private:
    friend ComponentOutcome SolveComponent(const ComponentProblem&, Eigen::VectorXd&, ComponentMemory&);
    std::unique_ptr<Parts> m_parts;
};

// Solves in place on x (only the component's unknowns change), with what the last solve of the
// same component left in memory.
ComponentOutcome SolveComponent(const ComponentProblem& problem, Eigen::VectorXd& x, ComponentMemory& memory);

// Whether a block's components are within the tolerances.
bool BlockMet(const EquationBlock& block, double lengthTolerance, double angleTolerance);

}  // namespace tessik
