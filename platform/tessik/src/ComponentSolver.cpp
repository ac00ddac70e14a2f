#include "ComponentSolver.h"

#include <Eigen/Sparse>
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessik {

namespace {

struct Stacked {
    Eigen::VectorXd hard, soft;
    std::vector<char> hardAngular, softAngular;
    std::vector<int> hardStart, softStart;  // first row of each block in its level
    std::vector<double> hardValues, softValues, values;  // kept between evaluations, with their room
    std::vector<char> angular;
    size_t hardEntries = 0, softEntries = 0;  // at most this many in each level's Jacobian
};

void EvaluateAll(const ComponentProblem& p, Stacked& s)
{
    s.hardValues.clear();
    s.softValues.clear();
    s.hardAngular.clear();
    s.softAngular.clear();
    s.hardStart.assign(p.blocks.size(), -1);
    s.softStart.assign(p.blocks.size(), -1);
    s.hardEntries = s.softEntries = 0;
    for (size_t b = 0; b < p.blocks.size(); ++b) {
        s.values.clear();
        s.angular.clear();
        p.blocks[b]->evaluate(s.values, s.angular);
        auto& v = p.blocks[b]->soft ? s.softValues : s.hardValues;
        auto& a = p.blocks[b]->soft ? s.softAngular : s.hardAngular;
        (p.blocks[b]->soft ? s.softStart : s.hardStart)[b] = static_cast<int>(v.size());
        (p.blocks[b]->soft ? s.softEntries : s.hardEntries) += s.values.size() * p.blocks[b]->dofs.size();
        v.insert(v.end(), s.values.begin(), s.values.end());
        a.insert(a.end(), s.angular.begin(), s.angular.end());
    }
    s.hard = Eigen::Map<Eigen::VectorXd>(s.hardValues.data(), static_cast<Eigen::Index>(s.hardValues.size()));
    s.soft = Eigen::Map<Eigen::VectorXd>(s.softValues.data(), static_cast<Eigen::Index>(s.softValues.size()));
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
    jh.reserve(s.hardEntries);
    js.reserve(s.softEntries);
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
        // What the soft equations can still move is judged against their own size: where the
        // hard equations already decide them (a drag that fixes the very plane a non-rigid
        // distance measures), what is left of them in the null space is rounding, and a rank
        // judged relative to that rounding would take it for a direction and step to infinity.
        const Eigen::MatrixXd free = js * nullBasis;
        const double softSize = js.cwiseAbs().maxCoeff();
        const double freeSize = free.colwise().norm().maxCoeff();
        if (freeSize > kRankThreshold * softSize) {
            Eigen::CompleteOrthogonalDecomposition<Eigen::MatrixXd> cod;
            cod.setThreshold(std::max(kRankThreshold, kRankThreshold * softSize / freeSize));
            cod.compute(free);
            const Eigen::VectorXd y = cod.solve(-rs - js * z);
            z += nullBasis * y;
        }
    }
    return z;
}

// A sparse LDL^T factorisation of a matrix whose upper triangle is already laid out in the order
// wanted: the pattern is analysed as it stands, and each factorisation reads the matrix in place.
class PreorderedLDLT : public Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>, Eigen::Upper, Eigen::NaturalOrdering<int>> {
public:
    void AnalysePattern(const Eigen::SparseMatrix<double>& upper) { analyzePattern_preordered(upper, true); }
};

// Large components: one regularised minimum-norm step through a sparse Cholesky of J J^T in
// the scaled unknowns z, the soft equations weighed down; conflicts show as residuals that
// stay. Each row's regulariser is a tiny share of its own diagonal, so rows of small entries
// (the angles of a long chain of planes, measured against turns that cost the size squared)
// are not held back by the large ones.
// Everything that depends only on where the Jacobian's entries fall (it keeps its structural
// zeros, so they fall on the same places from one iteration to the next) is laid out once:
// which entries of J_x make each entry of J_z, where each product of J_z's columns lands in
// J J^T, a fill-reducing order of J J^T's rows and the symbolic factorisation in that order.
// An iteration then only sums values into arrays it already has.
// A unit that many rows touch (a face held to every hole of a plate) would make all those rows
// one dense block of J J^T. Its columns are kept apart instead, each as an unknown of its own
// beside the rows: [H  J_d; J_d^T  -I] [lambda; z_d] = [-r; 0], whose elimination of z_d gives
// back J J^T exactly. Its rows are taken first, then those unknowns, then the rows that only
// that unit touches, so the block stays as small as the unit.
class SparseMinimumNormStep {
public:
    // scale: x = scale * z, by columns. The analysis is kept while the scale keeps its pattern.
    void SetScale(const Eigen::SparseMatrix<double>& scale)
    {
        Eigen::SparseMatrix<double> compressed;
        const Eigen::SparseMatrix<double>* s = &scale;
        if (!scale.isCompressed()) {
            compressed = scale;
            compressed.makeCompressed();
            s = &compressed;
        }
        const bool same = m_scale.cols() == s->cols() && m_scale.nonZeros() == s->nonZeros() &&
                          std::equal(s->outerIndexPtr(), s->outerIndexPtr() + s->cols() + 1, m_scale.outerIndexPtr()) &&
                          std::equal(s->innerIndexPtr(), s->innerIndexPtr() + s->nonZeros(), m_scale.innerIndexPtr());
        if (same) {
            std::copy(s->valuePtr(), s->valuePtr() + s->nonZeros(), m_scale.valuePtr());
        } else {
            m_scale = *s;
            m_n = s->cols();
            m_analysed = false;
        }
    }

    // The step; it stays valid until the next call.
    const Eigen::VectorXd& Step(const Triplets& jh, const Eigen::VectorXd& rh, const Triplets& js, const Eigen::VectorXd& rs)
    {
        const Eigen::Index m = rh.size() + rs.size();
        if (!SamePattern(jh, js, static_cast<int>(rh.size()), m))
            Analyse();
        std::fill(m_xValues.begin(), m_xValues.end(), 0.0);
        for (size_t k = 0; k < jh.size(); ++k)
            m_xValues[static_cast<size_t>(m_xSlot[k])] += jh[k].value();
        for (size_t k = 0; k < js.size(); ++k)
            m_xValues[static_cast<size_t>(m_xSlot[jh.size() + k])] += kSoftWeight * js[k].value();
        std::fill(m_zValues.begin(), m_zValues.end(), 0.0);
        const double* scale = m_scale.valuePtr();
        for (const Contribution& c : m_contributions)
            m_zValues[static_cast<size_t>(c.z)] += m_xValues[static_cast<size_t>(c.x)] * scale[c.s];
        SumProducts();
        double* values = m_a.valuePtr();
        // Each row's regulariser is taken from its whole diagonal in J J^T, the part of the
        // units kept apart included, so the system is the one it would be without them.
        double trace = 0.0;
        for (Eigen::Index i = 0; i < m; ++i)
            trace += values[m_diagonalSlot[static_cast<size_t>(i)]] + m_apartSquares[static_cast<size_t>(i)];
        const double floor = 1e-20 * std::max(1.0, trace / static_cast<double>(std::max<Eigen::Index>(1, m)));
        for (Eigen::Index i = 0; i < m; ++i) {
            double& d = values[m_diagonalSlot[static_cast<size_t>(i)]];
            d += 1e-12 * (d + m_apartSquares[static_cast<size_t>(i)]) + floor;
        }
        m_ldlt.factorize(m_a);
        if (m_ldlt.info() != Eigen::Success) {
            m_z.setZero();
            return m_z;
        }
        for (Eigen::Index i = 0; i < rh.size(); ++i)
            m_rhs[m_newRow[static_cast<size_t>(i)]] = -rh[i];
        for (Eigen::Index i = 0; i < rs.size(); ++i)
            m_rhs[m_newRow[static_cast<size_t>(rh.size() + i)]] = -kSoftWeight * rs[i];
        m_lambda = m_ldlt.solve(m_rhs);
        // z = J_z^T lambda, column by column.
        for (Eigen::Index c = 0; c < m_n; ++c) {
            double sum = 0.0;
            for (int e = m_zStart[static_cast<size_t>(c)]; e < m_zStart[static_cast<size_t>(c) + 1]; ++e)
                sum += m_zValues[static_cast<size_t>(e)] * m_lambda[m_zNewRow[static_cast<size_t>(e)]];
            m_z[c] = sum;
        }
        return m_z;
    }

private:
    static constexpr double kSoftWeight = 1e-3;

    // An entry of J_x times an entry of the scale, summed into an entry of J_z.
    struct Contribution {
        int z, x, s;
    };
    // Consecutive columns of J_z on the same rows (the unknowns of one unit): their products
    // are summed into one small triangle before they go into J J^T.
    // A group kept apart has its columns' unknowns from firstExtra on and no triangle.
    struct Group {
        int firstColumn, endColumn, rows, firstSlot;
        bool apart;
        int firstExtra;
    };
    // An entry of J_z in a column kept apart, and where it goes in the system.
    struct ApartEntry {
        int z, slot, row;
    };
    // A unit's columns are kept apart when at least this many rows touch it and its triangle
    // would hold far more entries than its columns beside the rows.
    static constexpr int kApartRows = 64;
    static constexpr int kApartRatio = 8;

    // Whether the entries fall on the places remembered, which they then replace.
    bool SamePattern(const Triplets& jh, const Triplets& js, int hardRows, Eigen::Index m)
    {
        const size_t count = jh.size() + js.size();
        bool same = m_analysed && m_m == m && m_places.size() == count;
        m_places.resize(count);
        m_m = m;
        auto record = [&](size_t k, int row, int col) {
            const std::pair<int, int> place(row, col);
            same = same && m_places[k] == place;
            m_places[k] = place;
        };
        for (size_t k = 0; k < jh.size(); ++k)
            record(k, jh[k].row(), jh[k].col());
        for (size_t k = 0; k < js.size(); ++k)
            record(jh.size() + k, hardRows + js[k].row(), js[k].col());
        return same;
    }

    void SumProducts()
    {
        double* values = m_a.valuePtr();
        std::fill(values, values + m_a.nonZeros(), 0.0);
        for (const Group& g : m_groups) {
            if (g.apart)
                continue;
            const int k = g.rows;
            m_triangle.assign(static_cast<size_t>(k * (k + 1) / 2), 0.0);
            for (int c = g.firstColumn; c < g.endColumn; ++c) {
                const double* v = m_zValues.data() + m_zStart[static_cast<size_t>(c)];
                double* t = m_triangle.data();
                for (int i = 0; i < k; ++i)
                    for (int j = 0; j <= i; ++j)
                        *t++ += v[i] * v[j];
            }
            const int* slot = m_slots.data() + g.firstSlot;
            for (double t : m_triangle)
                values[*slot++] += t;
        }
        std::fill(m_apartSquares.begin(), m_apartSquares.end(), 0.0);
        for (const ApartEntry& e : m_apart) {
            const double v = m_zValues[static_cast<size_t>(e.z)];
            values[e.slot] += v;
            m_apartSquares[static_cast<size_t>(e.row)] += v * v;
        }
        for (int slot : m_extraDiagonalSlot)
            values[slot] = -1.0;
    }

    // Lays out J_x, J_z, the groups, the order of J J^T's rows and its pattern, from the places
    // just recorded.
    void Analyse()
    {
        const size_t count = m_places.size();
        const size_t m = static_cast<size_t>(m_m);
        const size_t n = static_cast<size_t>(m_n);
        std::vector<int> stamp(m, -1), slotOf(m, 0);

        // J_x by columns, each row once in its column.
        std::vector<int> byColumn(n + 1, 0), order(count);
        for (const auto& place : m_places)
            ++byColumn[static_cast<size_t>(place.second) + 1];
        for (size_t c = 0; c < n; ++c)
            byColumn[c + 1] += byColumn[c];
        std::vector<int> fill(byColumn.begin(), byColumn.end() - 1);
        for (size_t k = 0; k < count; ++k)
            order[static_cast<size_t>(fill[static_cast<size_t>(m_places[k].second)]++)] = static_cast<int>(k);
        m_xSlot.assign(count, 0);
        std::vector<int> xStart(n + 1, 0), xRow;
        xRow.reserve(count);
        for (size_t c = 0; c < n; ++c) {
            xStart[c] = static_cast<int>(xRow.size());
            for (int e = byColumn[c]; e < byColumn[c + 1]; ++e) {
                const size_t k = static_cast<size_t>(order[static_cast<size_t>(e)]);
                const int row = m_places[k].first;
                if (stamp[static_cast<size_t>(row)] != static_cast<int>(c)) {
                    stamp[static_cast<size_t>(row)] = static_cast<int>(c);
                    slotOf[static_cast<size_t>(row)] = static_cast<int>(xRow.size());
                    xRow.push_back(row);
                }
                m_xSlot[k] = slotOf[static_cast<size_t>(row)];
            }
        }
        xStart[n] = static_cast<int>(xRow.size());
        m_xValues.assign(xRow.size(), 0.0);

        // J_z = J_x S by columns, each column's rows in ascending order.
        std::fill(stamp.begin(), stamp.end(), -1);
        m_zStart.assign(1, 0);
        m_zStart.reserve(n + 1);
        std::vector<int> zRow;
        zRow.reserve(xRow.size());
        m_contributions.clear();
        m_contributions.reserve(xRow.size());
        const int* outer = m_scale.outerIndexPtr();
        const int* inner = m_scale.innerIndexPtr();
        for (size_t c = 0; c < n; ++c) {
            const size_t first = zRow.size();
            for (int s = outer[c]; s < outer[c + 1]; ++s)
                for (int e = xStart[static_cast<size_t>(inner[s])]; e < xStart[static_cast<size_t>(inner[s]) + 1]; ++e)
                    if (stamp[static_cast<size_t>(xRow[static_cast<size_t>(e)])] != static_cast<int>(c)) {
                        stamp[static_cast<size_t>(xRow[static_cast<size_t>(e)])] = static_cast<int>(c);
                        zRow.push_back(xRow[static_cast<size_t>(e)]);
                    }
            std::sort(zRow.begin() + static_cast<std::ptrdiff_t>(first), zRow.end());
            for (size_t e = first; e < zRow.size(); ++e)
                slotOf[static_cast<size_t>(zRow[e])] = static_cast<int>(e);
            for (int s = outer[c]; s < outer[c + 1]; ++s)
                for (int e = xStart[static_cast<size_t>(inner[s])]; e < xStart[static_cast<size_t>(inner[s]) + 1]; ++e)
                    m_contributions.push_back({slotOf[static_cast<size_t>(xRow[static_cast<size_t>(e)])], e, s});
            m_zStart.push_back(static_cast<int>(zRow.size()));
        }
        m_zValues.assign(zRow.size(), 0.0);

        // The groups, and which groups each row is in.
        m_groups.clear();
        int slots = 0;
        for (size_t c = 0; c < n; ++c) {
            const int b = m_zStart[c], e = m_zStart[c + 1];
            if (!m_groups.empty()) {
                Group& last = m_groups.back();
                const int lb = m_zStart[static_cast<size_t>(last.firstColumn)];
                if (e - b == last.rows && std::equal(zRow.begin() + b, zRow.begin() + e, zRow.begin() + lb)) {
                    last.endColumn = static_cast<int>(c) + 1;
                    continue;
                }
            }
            m_groups.push_back({static_cast<int>(c), static_cast<int>(c) + 1, e - b, 0, false, 0});
        }
        int extras = 0;
        for (Group& g : m_groups) {
            const int columns = g.endColumn - g.firstColumn;
            g.apart = g.rows >= kApartRows && g.rows > kApartRatio * columns;
            if (g.apart) {
                g.firstExtra = extras;
                extras += columns;
            } else {
                g.firstSlot = slots;
                slots += g.rows * (g.rows + 1) / 2;
            }
        }
        const size_t total = m + static_cast<size_t>(extras);
        stamp.assign(total, -1);
        auto groupRows = [&](const Group& g) { return zRow.data() + m_zStart[static_cast<size_t>(g.firstColumn)]; };
        // Each row's groups, those kept apart listed on their own.
        auto listGroups = [&](bool apart, std::vector<int>& start, std::vector<int>& list) {
            start.assign(m + 1, 0);
            for (const Group& g : m_groups)
                if (g.apart == apart)
                    for (int i = 0; i < g.rows; ++i)
                        ++start[static_cast<size_t>(groupRows(g)[i]) + 1];
            for (size_t r = 0; r < m; ++r)
                start[r + 1] += start[r];
            list.resize(static_cast<size_t>(start[m]));
            fill.assign(start.begin(), start.end() - 1);
            for (size_t g = 0; g < m_groups.size(); ++g)
                if (m_groups[g].apart == apart)
                    for (int i = 0; i < m_groups[g].rows; ++i)
                        list[static_cast<size_t>(fill[static_cast<size_t>(groupRows(m_groups[g])[i])]++)] = static_cast<int>(g);
        };
        std::vector<int> rowGroupStart, rowGroups, rowApartStart, rowApart;
        listGroups(false, rowGroupStart, rowGroups);
        listGroups(true, rowApartStart, rowApart);
        auto groupsOf = [&](int row) {
            return std::make_pair(rowGroups.begin() + rowGroupStart[static_cast<size_t>(row)],
                                  rowGroups.begin() + rowGroupStart[static_cast<size_t>(row) + 1]);
        };
        auto apartOf = [&](int row) {
            return std::make_pair(rowApart.begin() + rowApartStart[static_cast<size_t>(row)],
                                  rowApart.begin() + rowApartStart[static_cast<size_t>(row) + 1]);
        };

        // Rows in the same groups (the rows of one block) are alike in J J^T: the order is
        // found among kinds of row, a graph as small as the system's bonds, and the rows of a
        // kind are then taken together.
        std::vector<int> rows(m);
        std::iota(rows.begin(), rows.end(), 0);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const auto ga = groupsOf(a), gb = groupsOf(b);
            return std::lexicographical_compare(ga.first, ga.second, gb.first, gb.second);
        });
        std::vector<int> kindOf(m), kindStart;
        for (size_t k = 0; k < m; ++k) {
            const auto ga = groupsOf(rows[k]);
            if (k == 0 || !std::equal(ga.first, ga.second, groupsOf(rows[k - 1]).first, groupsOf(rows[k - 1]).second))
                kindStart.push_back(static_cast<int>(k));
            kindOf[static_cast<size_t>(rows[k])] = static_cast<int>(kindStart.size()) - 1;
        }
        const int kinds = static_cast<int>(kindStart.size());
        kindStart.push_back(static_cast<int>(m));
        Triplets kindPattern;
        std::vector<int> groupKinds;
        for (int k = 0; k < kinds; ++k)
            kindPattern.emplace_back(k, k, 0.0);
        for (const Group& g : m_groups) {
            if (g.apart)
                continue;
            groupKinds.clear();
            for (int i = 0; i < g.rows; ++i)
                groupKinds.push_back(kindOf[static_cast<size_t>(groupRows(g)[i])]);
            std::sort(groupKinds.begin(), groupKinds.end());
            groupKinds.erase(std::unique(groupKinds.begin(), groupKinds.end()), groupKinds.end());
            for (size_t i = 0; i < groupKinds.size(); ++i)
                for (size_t j = 0; j < i; ++j)
                    kindPattern.emplace_back(groupKinds[j], groupKinds[i], 0.0);
        }
        Eigen::SparseMatrix<double> kindGraph(kinds, kinds);
        kindGraph.setFromTriplets(kindPattern.begin(), kindPattern.end());
        Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> elimination;
        Eigen::AMDOrdering<int>()(kindGraph.selfadjointView<Eigen::Upper>(), elimination);
        // Nodes: the rows, then the unknowns kept apart. Rows that only units kept apart touch
        // come after those unknowns.
        m_newRow.assign(total, 0);
        int next = 0;
        std::vector<int> onlyApart;
        for (Eigen::Index e = 0; e < elimination.size(); ++e) {
            const int k = elimination.indices()[e];
            for (int i = kindStart[static_cast<size_t>(k)]; i < kindStart[static_cast<size_t>(k) + 1]; ++i) {
                const int row = rows[static_cast<size_t>(i)];
                const auto gs = groupsOf(row), as = apartOf(row);
                if (gs.first == gs.second && as.first != as.second)
                    onlyApart.push_back(row);
                else
                    m_newRow[static_cast<size_t>(row)] = next++;
            }
        }
        for (size_t t = m; t < total; ++t)
            m_newRow[t] = next++;
        for (int row : onlyApart)
            m_newRow[static_cast<size_t>(row)] = next++;
        std::vector<int> oldRow(total);
        for (size_t r = 0; r < total; ++r)
            oldRow[static_cast<size_t>(m_newRow[r])] = static_cast<int>(r);
        std::vector<int> extraGroup(static_cast<size_t>(extras));
        for (size_t g = 0; g < m_groups.size(); ++g)
            if (m_groups[g].apart)
                for (int c = 0; c < m_groups[g].endColumn - m_groups[g].firstColumn; ++c)
                    extraGroup[static_cast<size_t>(m_groups[g].firstExtra + c)] = static_cast<int>(g);

        // J J^T's upper triangle in that order: column b holds every row a <= b that shares a
        // group with it, and its own diagonal; the unknowns kept apart stand beside the rows of
        // their unit. The columns are counted first and then filled in place.
        auto eachAbove = [&](size_t b, auto&& take) {
            stamp[b] = static_cast<int>(b);
            take(static_cast<int>(b));
            const size_t node = static_cast<size_t>(oldRow[b]);
            if (node >= m) {
                const Group& group = m_groups[static_cast<size_t>(extraGroup[node - m])];
                for (int i = 0; i < group.rows; ++i) {
                    const int a = m_newRow[static_cast<size_t>(groupRows(group)[i])];
                    if (a < static_cast<int>(b))
                        take(a);
                }
                return;
            }
            const auto as = apartOf(oldRow[b]);
            for (auto g = as.first; g != as.second; ++g) {
                const Group& group = m_groups[static_cast<size_t>(*g)];
                for (int c = 0; c < group.endColumn - group.firstColumn; ++c) {
                    const int a = m_newRow[m + static_cast<size_t>(group.firstExtra + c)];
                    if (a < static_cast<int>(b))
                        take(a);
                }
            }
            const auto gs = groupsOf(oldRow[b]);
            for (auto g = gs.first; g != gs.second; ++g) {
                const Group& group = m_groups[static_cast<size_t>(*g)];
                for (int i = 0; i < group.rows; ++i) {
                    const int a = m_newRow[static_cast<size_t>(groupRows(group)[i])];
                    if (a < static_cast<int>(b) && stamp[static_cast<size_t>(a)] != static_cast<int>(b)) {
                        stamp[static_cast<size_t>(a)] = static_cast<int>(b);
                        take(a);
                    }
                }
            }
        };
        m_a.resize(static_cast<Eigen::Index>(total), static_cast<Eigen::Index>(total));
        int* outerIndex = m_a.outerIndexPtr();
        std::fill(stamp.begin(), stamp.end(), -1);
        outerIndex[0] = 0;
        for (size_t b = 0; b < total; ++b) {
            int above = 0;
            eachAbove(b, [&](int) { ++above; });
            outerIndex[b + 1] = outerIndex[b] + above;
        }
        m_a.resizeNonZeros(outerIndex[total]);
        outerIndex = m_a.outerIndexPtr();
        int* innerIndex = m_a.innerIndexPtr();
        std::fill(stamp.begin(), stamp.end(), -1);
        for (size_t b = 0; b < total; ++b) {
            int* next = innerIndex + outerIndex[b];
            eachAbove(b, [&](int a) { *next++ = a; });
            std::sort(innerIndex + outerIndex[b], next);
        }
        std::fill(m_a.valuePtr(), m_a.valuePtr() + m_a.nonZeros(), 0.0);

        m_diagonalSlot.resize(m);
        for (size_t r = 0; r < m; ++r)
            m_diagonalSlot[r] = Position(m_newRow[r], m_newRow[r]);
        m_slots.resize(static_cast<size_t>(slots));
        int* slot = m_slots.data();
        m_apart.clear();
        m_extraDiagonalSlot.clear();
        for (const Group& g : m_groups) {
            if (g.apart) {
                for (int c = g.firstColumn; c < g.endColumn; ++c) {
                    const int extra = m_newRow[m + static_cast<size_t>(g.firstExtra + c - g.firstColumn)];
                    m_extraDiagonalSlot.push_back(Position(extra, extra));
                    for (int e = m_zStart[static_cast<size_t>(c)]; e < m_zStart[static_cast<size_t>(c) + 1]; ++e) {
                        const int row = zRow[static_cast<size_t>(e)];
                        const int a = m_newRow[static_cast<size_t>(row)];
                        m_apart.push_back({e, Position(std::min(a, extra), std::max(a, extra)), row});
                    }
                }
                continue;
            }
            for (int i = 0; i < g.rows; ++i)
                for (int j = 0; j <= i; ++j) {
                    const int a = m_newRow[static_cast<size_t>(groupRows(g)[i])], b = m_newRow[static_cast<size_t>(groupRows(g)[j])];
                    *slot++ = Position(std::min(a, b), std::max(a, b));
                }
        }
        m_apartSquares.assign(m, 0.0);
        m_zNewRow.resize(zRow.size());
        for (size_t e = 0; e < zRow.size(); ++e)
            m_zNewRow[e] = m_newRow[static_cast<size_t>(zRow[e])];
        m_ldlt.AnalysePattern(m_a);
        m_rhs.setZero(static_cast<Eigen::Index>(total));
        m_lambda.resize(static_cast<Eigen::Index>(total));
        m_z.resize(m_n);
        m_analysed = true;
    }

    int Position(int row, int col) const
    {
        const int* begin = m_a.innerIndexPtr() + m_a.outerIndexPtr()[col];
        const int* end = m_a.innerIndexPtr() + m_a.outerIndexPtr()[col + 1];
        return static_cast<int>(std::lower_bound(begin, end, row) - m_a.innerIndexPtr());
    }

    Eigen::SparseMatrix<double> m_scale;
    Eigen::Index m_n = 0;
    Eigen::Index m_m = 0;
    bool m_analysed = false;
    std::vector<std::pair<int, int>> m_places;  // (row, column) of each entry, the soft rows after the hard ones
    std::vector<int> m_xSlot;                   // of each entry, in J_x's values
    std::vector<double> m_xValues, m_zValues, m_triangle;
    std::vector<Contribution> m_contributions;
    std::vector<int> m_zStart, m_zNewRow;
    std::vector<Group> m_groups;
    std::vector<int> m_slots;          // of each group's products, in J J^T's values
    std::vector<int> m_diagonalSlot;   // of each row's diagonal entry
    std::vector<ApartEntry> m_apart;
    std::vector<int> m_extraDiagonalSlot;  // of each unknown kept apart
    std::vector<double> m_apartSquares;    // each row's share of its diagonal from units kept apart
    std::vector<int> m_newRow;         // each row's place in the factorised order
    Eigen::SparseMatrix<double> m_a;
    PreorderedLDLT m_ldlt;
    Eigen::VectorXd m_rhs, m_lambda, m_z;
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

// What one solve of a component leaves for the next: every buffer at its full size, and the
// sparse steps' layouts of the Jacobian's pattern.
struct ComponentMemory::Parts {
    Stacked now, trial;
    Triplets jh, js, th, ts;
    Eigen::VectorXd z, step, start, correction;
    std::vector<int> local;
    SparseMinimumNormStep sparse, correcting;
};

ComponentMemory::ComponentMemory() : m_parts(std::make_unique<Parts>()) {}
ComponentMemory::~ComponentMemory() = default;

ComponentOutcome SolveComponent(const ComponentProblem& p, Eigen::VectorXd& x, ComponentMemory& memory)
{
    ComponentOutcome out;
    ComponentMemory::Parts& w = *memory.m_parts;
    const Eigen::Index n = static_cast<Eigen::Index>(p.dofs.size());
    if (!p.columns)
        w.local.assign(static_cast<size_t>(x.size()), -1);
    std::vector<int>& local = p.columns ? *p.columns : w.local;
    for (Eigen::Index i = 0; i < n; ++i)
        local[static_cast<size_t>(p.dofs[static_cast<size_t>(i)])] = static_cast<int>(i);
    // The shared room goes back as it came, however the solve ends.
    struct Restore {
        const ComponentProblem& p;
        ~Restore()
        {
            if (p.columns)
                for (int dof : p.dofs)
                    (*p.columns)[static_cast<size_t>(dof)] = -1;
        }
    } restore{p};
    if (n > kDenseLimit) {
        w.sparse.SetScale(p.scale);
        w.correcting.SetScale(p.scale);
    }

    Stacked& now = w.now;
    Stacked& trial = w.trial;
    Eigen::VectorXd& z = w.z;
    EvaluateAll(p, now);
    const double hardFloor = static_cast<double>(now.hard.size()) * p.lengthTolerance * p.lengthTolerance;
    w.start.resize(n);
    for (out.iterations = 0; out.iterations < p.maxIterations; ++out.iterations) {
        const bool hardOk = Within(now.hard, now.hardAngular, p.lengthTolerance, p.angleTolerance);
        const bool softOk = Within(now.soft, now.softAngular, p.lengthTolerance, p.angleTolerance);
        if (hardOk && softOk)
            break;
        BuildJacobians(p, x, now, local, w.jh, w.js);
        if (n <= kDenseLimit)
            z = DenseStep(Eigen::MatrixXd(ToSparse(w.jh, now.hard.size(), n) * p.scale), now.hard,
                          Eigen::MatrixXd(ToSparse(w.js, now.soft.size(), n) * p.scale), now.soft);
        else
            z = w.sparse.Step(w.jh, now.hard, w.js, now.soft);
        w.step.noalias() = p.scale * z;
        if (!w.step.allFinite() || w.step.norm() < 1e-300) {
            out.stalled = true;
            break;
        }
        // Damping: shorten the step until the residual falls. With soft equations a step
        // along the hard equations' null space leaves them a little off where they are
        // curved; a few hard-only steps take the trial back onto them before it is judged.
        bool accepted = false;
        double alpha = 1.0;
        for (Eigen::Index i = 0; i < n; ++i)
            w.start[i] = x[p.dofs[static_cast<size_t>(i)]];
        for (int tries = 0; tries < 12 && !accepted; ++tries, alpha *= 0.5) {
            for (Eigen::Index i = 0; i < n; ++i)
                x[p.dofs[static_cast<size_t>(i)]] = w.start[i] + alpha * w.step[i];
            EvaluateAll(p, trial);
            for (int k = 0; k < 3 && now.soft.size() > 0 && trial.hard.size() > 0 &&
                            !Within(trial.hard, trial.hardAngular, p.lengthTolerance, p.angleTolerance);
                 ++k) {
                BuildJacobians(p, x, trial, local, w.th, w.ts);
                if (n <= kDenseLimit)
                    z = DenseStep(Eigen::MatrixXd(ToSparse(w.th, trial.hard.size(), n) * p.scale), trial.hard,
                                  Eigen::MatrixXd(0, n), Eigen::VectorXd(0));
                else
                    z = w.correcting.Step(w.th, trial.hard, Triplets(), Eigen::VectorXd(0));
                w.correction.noalias() = p.scale * z;
                for (Eigen::Index i = 0; i < n; ++i)
                    x[p.dofs[static_cast<size_t>(i)]] += w.correction[i];
                EvaluateAll(p, trial);
            }
            if (Better(trial, now, hardFloor)) {
                std::swap(now, trial);
                accepted = true;
            }
        }
        if (!accepted) {
            for (Eigen::Index i = 0; i < n; ++i)
                x[p.dofs[static_cast<size_t>(i)]] = w.start[i];
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
