#include "ComponentSolver.h"

#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>

#include <cmath>

namespace tessik {

namespace {

struct Stacked {
    Eigen::VectorXd hard, soft;
    std::vector<char> hardAngular, softAngular;
    std::vector<int> hardStart, softStart;  // first row of each block in its level
};

void EvaluateAll(const ComponentProblem& p, Stacked& s)
{
    std::vector<double> hv, sv, values;
    std::vector<char> angular;
    s.hardAngular.clear();
    s.softAngular.clear();
    s.hardStart.assign(p.blocks.size(), -1);
    s.softStart.assign(p.blocks.size(), -1);
    for (size_t b = 0; b < p.blocks.size(); ++b) {
        values.clear();
        angular.clear();
        p.blocks[b]->evaluate(values, angular);
        auto& v = p.blocks[b]->soft ? sv : hv;
        auto& a = p.blocks[b]->soft ? s.softAngular : s.hardAngular;
        (p.blocks[b]->soft ? s.softStart : s.hardStart)[b] = static_cast<int>(v.size());
        v.insert(v.end(), values.begin(), values.end());
        a.insert(a.end(), angular.begin(), angular.end());
    }
    s.hard = Eigen::Map<Eigen::VectorXd>(hv.data(), static_cast<Eigen::Index>(hv.size()));
    s.soft = Eigen::Map<Eigen::VectorXd>(sv.data(), static_cast<Eigen::Index>(sv.size()));
}

bool Within(const Eigen::VectorXd& v, const std::vector<char>& angular, double lt, double at)
{
    for (Eigen::Index i = 0; i < v.size(); ++i)
        if (!(std::abs(v[i]) <= (angular[static_cast<size_t>(i)] ? at : lt)))
            return false;
    return true;
}

using Triplets = std::vector<Eigen::Triplet<double>>;

// Forward differences: they also give a usable slope where a residual has a kink at
// its solution (the norm of a cross product at parallel directions).
void BuildJacobians(const ComponentProblem& p, Eigen::VectorXd& x, const Stacked& s, const std::vector<int>& local,
                    Triplets& jh, Triplets& js)
{
    jh.clear();
    js.clear();
    std::vector<double> values;
    std::vector<char> angular;
    for (size_t b = 0; b < p.blocks.size(); ++b) {
        const EquationBlock& block = *p.blocks[b];
        const bool soft = block.soft;
        const Eigen::VectorXd& base = soft ? s.soft : s.hard;
        const int start = soft ? s.softStart[b] : s.hardStart[b];
        Triplets& j = soft ? js : jh;
        for (int dof : block.dofs) {
            const int col = local[static_cast<size_t>(dof)];
            if (col < 0)
                continue;
            const double h = p.steps[static_cast<size_t>(col)];
            const double keep = x[dof];
            x[dof] = keep + h;
            values.clear();
            angular.clear();
            block.evaluate(values, angular);
            x[dof] = keep;
            for (size_t r = 0; r < values.size(); ++r) {
                const double slope = (values[r] - base[start + static_cast<Eigen::Index>(r)]) / h;
                if (slope != 0.0)
                    j.emplace_back(start + static_cast<int>(r), col, slope);
            }
        }
    }
}

Eigen::SparseMatrix<double> ToSparse(const Triplets& t, Eigen::Index rows, Eigen::Index cols)
{
    Eigen::SparseMatrix<double> m(rows, cols);
    m.setFromTriplets(t.begin(), t.end());
    return m;
}

constexpr double kRankThreshold = 1e-7;

// Hard equations first (minimum-norm least squares), then the soft ones inside the
// hard equations' null space, all measured in the scaled unknowns z.
Eigen::VectorXd DenseStep(const Eigen::MatrixXd& jh, const Eigen::VectorXd& rh, const Eigen::MatrixXd& js,
                          const Eigen::VectorXd& rs)
{
    const Eigen::Index n = jh.cols() > 0 ? jh.cols() : js.cols();
    Eigen::VectorXd z = Eigen::VectorXd::Zero(n);
    Eigen::MatrixXd nullBasis;
    if (jh.rows() > 0) {
        Eigen::CompleteOrthogonalDecomposition<Eigen::MatrixXd> cod;
        cod.setThreshold(kRankThreshold);
        cod.compute(jh);
        z = cod.solve(-rh);
        if (js.rows() > 0) {
            Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr;
            qr.setThreshold(kRankThreshold);
            qr.compute(jh.transpose());
            const Eigen::Index rank = qr.rank();
            Eigen::MatrixXd q = qr.householderQ();
            nullBasis = q.rightCols(n - rank);
        }
    } else {
        nullBasis = Eigen::MatrixXd::Identity(n, n);
    }
    if (js.rows() > 0 && nullBasis.cols() > 0) {
        Eigen::CompleteOrthogonalDecomposition<Eigen::MatrixXd> cod;
        cod.setThreshold(kRankThreshold);
        cod.compute(js * nullBasis);
        const Eigen::VectorXd y = cod.solve(-rs - js * z);
        z += nullBasis * y;
    }
    return z;
}

// Large components: one regularised minimum-norm step through a sparse Cholesky of
// J J^T, the soft equations weighed down; conflicts show as residuals that stay.
Eigen::VectorXd SparseStep(const Eigen::SparseMatrix<double>& jh, const Eigen::VectorXd& rh,
                           const Eigen::SparseMatrix<double>& js, const Eigen::VectorXd& rs)
{
    const double softWeight = 1e-3;
    const Eigen::Index n = jh.cols();
    const Eigen::Index m = jh.rows() + js.rows();
    Triplets t;
    for (int k = 0; k < jh.outerSize(); ++k)
        for (Eigen::SparseMatrix<double>::InnerIterator it(jh, k); it; ++it)
            t.emplace_back(static_cast<int>(it.row()), static_cast<int>(it.col()), it.value());
    for (int k = 0; k < js.outerSize(); ++k)
        for (Eigen::SparseMatrix<double>::InnerIterator it(js, k); it; ++it)
            t.emplace_back(static_cast<int>(jh.rows() + it.row()), static_cast<int>(it.col()), softWeight * it.value());
    Eigen::SparseMatrix<double> j(m, n);
    j.setFromTriplets(t.begin(), t.end());
    Eigen::VectorXd r(m);
    r << rh, softWeight * rs;
    Eigen::SparseMatrix<double> a = j * j.transpose();
    double trace = 0.0;
    for (Eigen::Index i = 0; i < m; ++i)
        trace += a.coeff(i, i);
    const double mu = 1e-12 * std::max(1.0, trace / std::max<Eigen::Index>(1, m));
    Eigen::SparseMatrix<double> id(m, m);
    id.setIdentity();
    a += mu * id;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> ldlt(a);
    if (ldlt.info() != Eigen::Success)
        return Eigen::VectorXd::Zero(n);
    const Eigen::VectorXd lambda = ldlt.solve(-r);
    return j.transpose() * lambda;
}

// Up to this many unknowns the dense decomposition (exact minimum norm, exact priorities);
// beyond it the sparse factorisation, whose cost grows with the band of the system.
constexpr Eigen::Index kDenseLimit = 150;

bool Better(const Stacked& now, const Stacked& before, double hardFloor)
{
    const double hn = now.hard.squaredNorm(), hb = before.hard.squaredNorm();
    if (hn < hb * (1.0 - 1e-6))
        return true;
    if (hn <= std::max(hb, hardFloor))
        return now.soft.squaredNorm() < before.soft.squaredNorm() * (1.0 - 1e-6);
    return false;
}

}  // namespace

bool BlockMet(const EquationBlock& block, double lengthTolerance, double angleTolerance)
{
    std::vector<double> values;
    std::vector<char> angular;
    block.evaluate(values, angular);
    for (size_t i = 0; i < values.size(); ++i)
        if (!(std::abs(values[i]) <= (angular[i] ? angleTolerance : lengthTolerance)))
            return false;
    return true;
}

ComponentOutcome SolveComponent(const ComponentProblem& p, Eigen::VectorXd& x)
{
    ComponentOutcome out;
    const Eigen::Index n = static_cast<Eigen::Index>(p.dofs.size());
    std::vector<int> local(static_cast<size_t>(x.size()), -1);
    for (Eigen::Index i = 0; i < n; ++i)
        local[static_cast<size_t>(p.dofs[static_cast<size_t>(i)])] = static_cast<int>(i);

    Stacked now;
    EvaluateAll(p, now);
    const double hardFloor = static_cast<double>(now.hard.size()) * p.lengthTolerance * p.lengthTolerance;
    Triplets jh, js;
    for (out.iterations = 0; out.iterations < p.maxIterations; ++out.iterations) {
        const bool hardOk = Within(now.hard, now.hardAngular, p.lengthTolerance, p.angleTolerance);
        const bool softOk = Within(now.soft, now.softAngular, p.lengthTolerance, p.angleTolerance);
        if (hardOk && softOk)
            break;
        BuildJacobians(p, x, now, local, jh, js);
        const Eigen::SparseMatrix<double> jhs = ToSparse(jh, now.hard.size(), n) * p.scale;
        const Eigen::SparseMatrix<double> jss = ToSparse(js, now.soft.size(), n) * p.scale;
        const Eigen::VectorXd z = n <= kDenseLimit ? DenseStep(Eigen::MatrixXd(jhs), now.hard, Eigen::MatrixXd(jss), now.soft)
                                                   : SparseStep(jhs, now.hard, jss, now.soft);
        const Eigen::VectorXd step = p.scale * z;
        if (!step.allFinite() || step.norm() < 1e-300) {
            out.stalled = true;
            break;
        }
        // Damping: shorten the step until the residual falls. With soft equations a step
        // along the hard equations' null space leaves them a little off where they are
        // curved; a few hard-only steps take the trial back onto them before it is judged.
        bool accepted = false;
        double alpha = 1.0;
        Eigen::VectorXd start(n);
        for (Eigen::Index i = 0; i < n; ++i)
            start[i] = x[p.dofs[static_cast<size_t>(i)]];
        for (int tries = 0; tries < 12 && !accepted; ++tries, alpha *= 0.5) {
            for (Eigen::Index i = 0; i < n; ++i)
                x[p.dofs[static_cast<size_t>(i)]] = start[i] + alpha * step[i];
            Stacked trial;
            EvaluateAll(p, trial);
            for (int k = 0; k < 3 && now.soft.size() > 0 && trial.hard.size() > 0 &&
                            !Within(trial.hard, trial.hardAngular, p.lengthTolerance, p.angleTolerance);
                 ++k) {
                Triplets th, ts;
                BuildJacobians(p, x, trial, local, th, ts);
                const Eigen::SparseMatrix<double> ths = ToSparse(th, trial.hard.size(), n) * p.scale;
                const Eigen::SparseMatrix<double> none(0, n);
                const Eigen::VectorXd zc = n <= kDenseLimit
                                               ? DenseStep(Eigen::MatrixXd(ths), trial.hard, Eigen::MatrixXd(0, n),
                                                           Eigen::VectorXd(0))
                                               : SparseStep(ths, trial.hard, none, Eigen::VectorXd(0));
                const Eigen::VectorXd correction = p.scale * zc;
                for (Eigen::Index i = 0; i < n; ++i)
                    x[p.dofs[static_cast<size_t>(i)]] += correction[i];
                EvaluateAll(p, trial);
            }
            if (Better(trial, now, hardFloor)) {
                now = std::move(trial);
                accepted = true;
            }
        }
        if (!accepted) {
            for (Eigen::Index i = 0; i < n; ++i)
                x[p.dofs[static_cast<size_t>(i)]] = start[i];
            out.stalled = true;
            break;
        }
    }
    out.hardMet = Within(now.hard, now.hardAngular, p.lengthTolerance, p.angleTolerance);
    out.softMet = Within(now.soft, now.softAngular, p.lengthTolerance, p.angleTolerance);
    out.blockMet.resize(p.blocks.size());
    for (size_t b = 0; b < p.blocks.size(); ++b)
        out.blockMet[b] = BlockMet(*p.blocks[b], p.lengthTolerance, p.angleTolerance);
    return out;
}

}  // namespace tessik
