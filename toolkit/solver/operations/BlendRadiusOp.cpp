#include "solver/operations/BlendRadiusOp.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "solver/Bonds.h"
#include "solver/Solver.h"

#include <algorithm>

namespace QEL {

namespace {

// The kernel's identification of the minimal blend chain through a face.
const int s_minimalChain = 22241;

}  // namespace

BlendRadiusOp::BlendRadiusOp(Interaction* interaction, const std::vector<int>& faces,
                             const double* radius)
    : SolverEvaluate(interaction)
{
    m_blendRadius = true;
    SetBlendFaces(faces);
    if (radius)
        m_radius.reset(new double(*radius));
    else
        TakeRadiusFromFaces();
}

void BlendRadiusOp::SetBlendFaces(const std::vector<int>& faces)
{
    const double tolerance = m_interaction->GetModellingTolerance();
    for (int face : faces) {
        std::vector<int> blends;
        IdentifyBlendFacesOfFace(face, s_minimalChain, tolerance, true, &blends);
        for (int blend : blends)
            if (std::find(m_blendFaces.begin(), m_blendFaces.end(), blend) == m_blendFaces.end())
                m_blendFaces.push_back(blend);
    }
}

void BlendRadiusOp::TakeRadiusFromFaces()
{
    if (m_blendFaces.empty())
        return;
    double radius = -1.0;
    IdentifyBlendFace(m_blendFaces.front(), m_interaction->GetModellingTolerance(), true, &radius);
    if (!m_radius)
        m_radius.reset(new double(radius));
    else
        *m_radius = radius;
}

void BlendRadiusOp::AddBlendChain(Solver* solver, int face, std::vector<int>& underFaces,
                                  std::set<std::pair<int, Instance*>>& fixedKeys)
{
    if (m_handledFaces.count(face) ||
        std::find(m_blendFaces.begin(), m_blendFaces.end(), face) == m_blendFaces.end())
        return;
    std::vector<int> chain{face};
    std::vector<int> unders;
    GetBlendUnderFaces(face, m_interaction->GetModellingTolerance(), &unders);
    chain.insert(chain.end(), unders.begin(), unders.end());
    solver->AddBlendRadiusOpData(m_interaction, chain, m_radius ? *m_radius : 0.0, m_radiusBond);
    for (size_t i = 1; i < chain.size(); ++i) {
        underFaces.push_back(chain[i]);
        fixedKeys.insert({chain[i], nullptr});
    }
    m_handledFaces.insert(face);
}

int BlendRadiusOp::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    return SolverEvaluate::AddToSolver(solver);
}

void BlendRadiusOp::DropSolverPointers()
{
    // What an earlier Solver made died with it: a radius step must not write a freed bond,
    // and every chain must be handed to this Solver again.
    SolverEvaluate::DropSolverPointers();
    m_radiusBond = nullptr;
    m_handledFaces.clear();
}

void BlendRadiusOp::GetChangedFaces(std::set<int>& forcedBlendFaces, std::set<int>& neverBlendFaces)
{
    forcedBlendFaces.insert(m_blendFaces.begin(), m_blendFaces.end());
    neverBlendFaces.clear();
}

int BlendRadiusOp::SetDragValue(double value)
{
    if (!m_radius)
        m_radius.reset(new double(value));
    else
        *m_radius = value;
    if (m_radiusBond)
        m_radiusBond->SetValue(value);
    return ResultTypeOk;
}

int BlendRadiusOp::GetDragValue(double& value)
{
    value = 0.0;
    if (!m_radius)
        return ResultTypeFail;
    value = *m_radius;
    return ResultTypeOk;
}

void BlendRadiusOp::GetConfigureSeeds(SeedList& seeds)
{
    for (int face : m_blendFaces)
        seeds.emplace_back(face, nullptr);
    SolverEvaluate::GetConfigureSeeds(seeds);
}

void BlendRadiusOp::ResetDragValues()
{
    TakeRadiusFromFaces();
    m_radiusBond = nullptr;
    m_handledFaces.clear();
    SolverEvaluate::ResetDragValues();
}

}  // namespace QEL
