#pragma once
// The value edit that gives blend faces a new radius. Configure hands it each blend chain it
// meets among the edit's blends; the first chain carries the one radius dimension the edit
// drives, every later one is held to the same radius, and the faces under the blends stay put.

#include "solver/operations/SolverOperation.h"

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace QEL {

class BlendRadiusOp : public SolverEvaluate {
public:
    // The blends around the given faces; without a radius the edit starts from the faces' own.
    BlendRadiusOp(Interaction* interaction, const std::vector<int>& faces, const double* radius);

    // Appends the blend faces the kernel identifies around each face, each once, in the order
    // found.
    void SetBlendFaces(const std::vector<int>& faces);
    // The first blend's radius (-1.0 when the kernel does not take it for a blend); nothing
    // changes without blend faces.
    void TakeRadiusFromFaces();
    // For a blend of the edit not handed over yet in this configure: the blend with the faces
    // under it goes into the Solver, the under faces are appended to underFaces and their keys
    // to fixedKeys.
    void AddBlendChain(Solver* solver, int face, std::vector<int>& underFaces,
                       std::set<std::pair<int, Instance*>>& fixedKeys);

    // The radius dimension and the handled blends belong to one configured Solver: a new
    // configure starts without them.
    int AddToSolver(Solver* solver) override;
    // The blends are re-blended whatever moves; none is kept from re-blending.
    void GetChangedFaces(std::set<int>& forcedBlendFaces, std::set<int>& neverBlendFaces) override;
    int SetDragValue(double value) override;
    // ResultTypeFail while no radius is known.
    int GetDragValue(double& value) override;
    void GetConfigureSeeds(SeedList& seeds) override;
    void ResetDragValues() override;

    const std::vector<int>& GetFaces() const { return m_blendFaces; }
    bool HasRadius() const { return m_radius != nullptr; }
    double GetRadius() const { return m_radius ? *m_radius : 0.0; }
    Bond* GetRadiusBond() const { return m_radiusBond; }
    const std::set<int>& GetHandledFaces() const { return m_handledFaces; }

private:
    std::vector<int> m_blendFaces;
    std::set<int> m_handledFaces;
    std::unique_ptr<double> m_radius;
    Bond* m_radiusBond = nullptr;
};

}  // namespace QEL
