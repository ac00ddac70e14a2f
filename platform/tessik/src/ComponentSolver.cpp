#include "ComponentSolver.h"

#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>

#include <algorithm>
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
                // Zeros are kept: the pattern stays the same from one iteration to the next.
                j.emplace_back(start + static_cast<int>(r), col,
                               (values[r] - base[start + static_cast<Eigen::Index>(r)]) / h);
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

// Large components: one regularised minimum-norm step through a sparse Cholesky of J J^T in
// the scaled unknowns z, the soft equations weighed down; conflicts show as residuals that
// stay. Each row's regulariser is a tiny share of its own diagonal, so rows of small entries
// (the angles of a long chain of planes, measured against turns that cost the size squared)
// are not held back by the large ones. J J^T is summed straight from the Jacobian's entries,
// and while those fall on the same places as at the first iteration (the Jacobian keeps its
// structural zeros), it keeps its pattern, its ordering and its symbolic factorisation.
class SparseMinimumNormStep {
public:
    // scale: x = scale * z, by columns.
    SparseMinimumNormStep(const Eigen::SparseMatrix<double>& scale, Eigen::Index n) : m_scale(scale), m_n(n) {}

    Eigen::VectorXd Step(const Triplets& jh, const Eigen::VectorXd& rh, const Triplets& js, const Eigen::VectorXd& rs)
    {
        const bool samePattern = SameJacobianPattern(jh, js);
        const Eigen::Index m = rh.size() + rs.size();
        Eigen::VectorXd r(m);
        r << rh, kSoftWeight * rs;
        // Every diagonal entry is in the pattern, whether a column reaches it or not. The terms
        // are gathered to lay out the pattern; once it is there, they go straight into place.
        m_gathering = !samePattern;
        m_terms.clear();
        if (m_gathering) {
            m_terms.reserve(static_cast<size_t>(m) + jh.size() + js.size());
            for (Eigen::Index i = 0; i < m; ++i)
                m_terms.emplace_back(static_cast<int>(i), static_cast<int>(i), 0.0);
        } else {
            std::fill(m_a.valuePtr(), m_a.valuePtr() + m_a.nonZeros(), 0.0);
            m_nextTerm = static_cast<size_t>(m);
        }
        GatherColumns(jh, js, static_cast<int>(rh.size()));
        AddColumns();
        double* values = m_a.valuePtr();
        if (m_gathering) {
            Analyse(m);
            values = m_a.valuePtr();
            std::fill(values, values + m_a.nonZeros(), 0.0);
            for (size_t k = 0; k < m_terms.size(); ++k)
                values[m_positions[k]] += m_terms[k].value();
        }
        double trace = 0.0;
        for (Eigen::Index i = 0; i < m; ++i)
            trace += values[m_positions[static_cast<size_t>(i)]];
        const double floor = 1e-20 * std::max(1.0, trace / static_cast<double>(std::max<Eigen::Index>(1, m)));
        for (Eigen::Index i = 0; i < m; ++i) {
            double& d = values[m_positions[static_cast<size_t>(i)]];
            d += 1e-12 * d + floor;
        }
        m_ldlt.factorize(m_a);
        if (m_ldlt.info() != Eigen::Success)
            return Eigen::VectorXd::Zero(m_n);
        const Eigen::VectorXd lambda = m_ldlt.solve(-r);
        // z = J^T lambda, column by column.
        Eigen::VectorXd z = Eigen::VectorXd::Zero(m_n);
        for (Eigen::Index c = 0; c < m_n; ++c)
            for (int e = m_zStart[static_cast<size_t>(c)]; e < m_zStart[static_cast<size_t>(c) + 1]; ++e)
                z[c] += m_zEntries[static_cast<size_t>(e)].second * lambda[m_zEntries[static_cast<size_t>(e)].first];
        return z;
    }

private:
    static constexpr double kSoftWeight = 1e-3;

    bool SameJacobianPattern(const Triplets& jh, const Triplets& js)
    {
        const bool hard = SamePlaces(jh, m_hardPlaces), soft = SamePlaces(js, m_softPlaces);
        return m_analysed && hard && soft;
    }

    // Whether the entries fall on the places remembered, which they then replace.
    static bool SamePlaces(const Triplets& j, std::vector<std::pair<int, int>>& places)
    {
        bool same = places.size() == j.size();
        places.resize(j.size());
        for (size_t k = 0; k < j.size(); ++k) {
            const std::pair<int, int> place(j[k].row(), j[k].col());
            same = same && places[k] == place;
            places[k] = place;
        }
        return same;
    }

    // The entries of J_x by column, the soft rows after the hard ones and weighed down; then
    // the columns of J_z = J_x S.
    void GatherColumns(const Triplets& jh, const Triplets& js, int softRow)
    {
        m_xStart.assign(static_cast<size_t>(m_n) + 1, 0);
        for (const Triplets* j : {&jh, &js})
            for (const auto& t : *j)
                ++m_xStart[static_cast<size_t>(t.col()) + 1];
        for (size_t i = 1; i < m_xStart.size(); ++i)
            m_xStart[i] += m_xStart[i - 1];
        m_xEntries.resize(jh.size() + js.size());
        m_fill.assign(m_xStart.begin(), m_xStart.end() - 1);
        for (const auto& t : jh)
            m_xEntries[static_cast<size_t>(m_fill[static_cast<size_t>(t.col())]++)] = {t.row(), t.value()};
        for (const auto& t : js)
            m_xEntries[static_cast<size_t>(m_fill[static_cast<size_t>(t.col())]++)] = {softRow + t.row(), kSoftWeight * t.value()};
        m_zStart.assign(1, 0);
        m_zEntries.clear();
        for (Eigen::Index c = 0; c < m_n; ++c) {
            const size_t first = m_zEntries.size();
            for (Eigen::SparseMatrix<double>::InnerIterator it(m_scale, c); it; ++it) {
                const size_t k = static_cast<size_t>(it.row());
                for (int e = m_xStart[k]; e < m_xStart[k + 1]; ++e) {
                    const int row = m_xEntries[static_cast<size_t>(e)].first;
                    const double v = m_xEntries[static_cast<size_t>(e)].second * it.value();
                    auto found = std::find_if(m_zEntries.begin() + static_cast<std::ptrdiff_t>(first), m_zEntries.end(),
                                              [row](const std::pair<int, double>& entry) { return entry.first == row; });
                    if (found == m_zEntries.end())
                        m_zEntries.emplace_back(row, v);
                    else
                        found->second += v;
                }
            }
            m_zStart.push_back(static_cast<int>(m_zEntries.size()));
        }
    }

    // J J^T's lower triangle, column by column of J_z. Columns on the same rows (the unknowns of
    // one unit) are summed into one small outer product first.
    void AddColumns()
    {
        size_t groupBegin = 0, groupEnd = 0;  // entries of the group's first column
        std::fill(m_group.begin(), m_group.end(), 0.0);
        auto sameRows = [this](size_t b1, size_t e1, size_t b2, size_t e2) {
            if (e1 - b1 != e2 - b2)
                return false;
            for (size_t i = 0; i < e1 - b1; ++i)
                if (m_zEntries[b1 + i].first != m_zEntries[b2 + i].first)
                    return false;
            return true;
        };
        for (Eigen::Index c = 0; c < m_n; ++c) {
            const size_t b = static_cast<size_t>(m_zStart[static_cast<size_t>(c)]);
            const size_t e = static_cast<size_t>(m_zStart[static_cast<size_t>(c) + 1]);
            if (c == 0 || !sameRows(groupBegin, groupEnd, b, e)) {
                FlushGroup(groupBegin, groupEnd);
                groupBegin = b;
                groupEnd = e;
                m_group.assign((e - b) * (e - b), 0.0);
            }
            const size_t k = e - b;
            for (size_t i = 0; i < k; ++i)
                for (size_t j = 0; j < k; ++j)
                    m_group[i * k + j] += m_zEntries[b + i].second * m_zEntries[b + j].second;
        }
        FlushGroup(groupBegin, groupEnd);
    }

    void FlushGroup(size_t begin, size_t end)
    {
        const size_t k = end - begin;
        for (size_t i = 0; i < k; ++i)
            for (size_t j = 0; j < k; ++j)
                if (m_zEntries[begin + j].first <= m_zEntries[begin + i].first)
                    AddTerm(m_zEntries[begin + i].first, m_zEntries[begin + j].first, m_group[i * k + j]);
    }

    void AddTerm(int row, int col, double value)
    {
        if (m_gathering)
            m_terms.emplace_back(row, col, value);
        else
            m_a.valuePtr()[m_positions[m_nextTerm++]] += value;
    }

    void Analyse(Eigen::Index m)
    {
        m_a.resize(m, m);
        m_a.setFromTriplets(m_terms.begin(), m_terms.end());
        m_positions.resize(m_terms.size());
        for (size_t k = 0; k < m_terms.size(); ++k)
            m_positions[k] = Position(m_terms[k].row(), m_terms[k].col());
        m_ldlt.analyzePattern(m_a);
        m_analysed = true;
    }

    Eigen::Index Position(int row, int col) const
    {
        const int* begin = m_a.innerIndexPtr() + m_a.outerIndexPtr()[col];
        const int* end = m_a.innerIndexPtr() + m_a.outerIndexPtr()[col + 1];
        return std::lower_bound(begin, end, row) - m_a.innerIndexPtr();
    }

    const Eigen::SparseMatrix<double>& m_scale;
    Eigen::Index m_n;
    bool m_analysed = false;
    bool m_gathering = false;
    size_t m_nextTerm = 0;
    std::vector<std::pair<int, int>> m_hardPlaces, m_softPlaces;
    std::vector<int> m_xStart, m_fill, m_zStart;
    std::vector<std::pair<int, double>> m_xEntries, m_zEntries;
    std::vector<double> m_group;
    Triplets m_terms;
    std::vector<Eigen::Index> m_positions;  // of each term in the matrix, the diagonal's first
    Eigen::SparseMatrix<double> m_a;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> m_ldlt;
};

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
    SparseMinimumNormStep sparse(p.scale, n), correcting(p.scale, n);
    for (out.iterations = 0; out.iterations < p.maxIterations; ++out.iterations) {
        const bool hardOk = Within(now.hard, now.hardAngular, p.lengthTolerance, p.angleTolerance);
        const bool softOk = Within(now.soft, now.softAngular, p.lengthTolerance, p.angleTolerance);
        if (hardOk && softOk)
            break;
        BuildJacobians(p, x, now, local, jh, js);
        const Eigen::VectorXd z = n <= kDenseLimit ? DenseStep(Eigen::MatrixXd(ToSparse(jh, now.hard.size(), n) * p.scale), now.hard,
                                                               Eigen::MatrixXd(ToSparse(js, now.soft.size(), n) * p.scale), now.soft)
                                                   : sparse.Step(jh, now.hard, js, now.soft);
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
                const Eigen::VectorXd zc = n <= kDenseLimit
                                               ? DenseStep(Eigen::MatrixXd(ToSparse(th, trial.hard.size(), n) * p.scale),
                                                           trial.hard, Eigen::MatrixXd(0, n), Eigen::VectorXd(0))
                                               : correcting.Step(th, trial.hard, Triplets(), Eigen::VectorXd(0));
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
