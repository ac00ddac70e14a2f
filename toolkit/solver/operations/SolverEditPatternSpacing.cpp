#include "solver/operations/SolverEditPatternSpacing.h"

#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/Bonds.h"
#include "solver/Solver.h"

namespace QEL {

SolverEditPatternSpacing::SolverEditPatternSpacing(Interaction* interaction, FacePattern* pattern,
                                                   int kind, double spacing)
    : SolverEvaluate(interaction), m_pattern(pattern), m_kind(kind), m_spacing(spacing)
{
}

SolverEditPatternSpacing* SolverEditPatternSpacing::CreateXSpacingEdit(Interaction* interaction,
                                                                       FacePattern* pattern,
                                                                       double spacing)
{
    return new SolverEditPatternSpacing(interaction, pattern, 0, spacing);
}

SolverEditPatternSpacing* SolverEditPatternSpacing::CreateYSpacingEdit(Interaction* interaction,
                                                                       FacePattern* pattern,
                                                                       double spacing)
{
    return new SolverEditPatternSpacing(interaction, pattern, 1, spacing);
}

SolverEditPatternSpacing* SolverEditPatternSpacing::CreateAxisSpacingEdit(Interaction* interaction,
                                                                          FacePattern* pattern,
                                                                          double spacing)
{
    return new SolverEditPatternSpacing(interaction, pattern, 2, spacing);
}

int SolverEditPatternSpacing::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    const bool rectangular = dynamic_cast<RectangularFacePattern*>(m_pattern) != nullptr;
    const bool circular = dynamic_cast<CircularFacePattern*>(m_pattern) != nullptr;
    if (m_kind == 0 && rectangular)
        m_spacingBond = solver->AddXSpacingDimension(m_pattern, m_spacing, false);
    else if (m_kind == 1 && rectangular)
        m_spacingBond = solver->AddYSpacingDimension(m_pattern, m_spacing, false);
    else if (m_kind == 2 && circular)
        m_spacingBond = solver->AddAxisSpacingDimension(m_pattern, m_spacing, false);
    // The pattern's directions (or axis) are held where they are: a spacing edit moves the
    // occurrences along them. Left free, the solve turns them by its tolerance, which skews the
    // grid and drifts the spacing the edit does not drive, so that a pattern sharing those
    // occurrences without rigid occurrences refuses the update.
    if (m_spacingBond) {
        std::vector<Reference*> defining;
        m_pattern->GetDefiningReferences(defining);
        for (Reference* reference : defining)
            if (GeometryBase* direction =
                    reference ? solver->GetOrMakeGeometry(reference) : nullptr)
                direction->Fix(true);
    }
    // The Solver moves only the occurrences whose faces it holds: each takes its place in the
    // pattern's star as its geometry is made.
    if (m_spacingBond)
        for (Reference* reference : m_pattern->GetAllReferences(false))
            solver->AddEntityGeometry(m_interaction, reference->GetEntityTag());
    // The relations alone: a spacing edit moves no selection, so it lifts no faces.
    return SolverOperation::AddToSolver(solver);
}

void SolverEditPatternSpacing::DropSolverPointers()
{
    SolverEvaluate::DropSolverPointers();
    m_spacingBond = nullptr;
}

int SolverEditPatternSpacing::Solve(Solver* solver)
{
    if (!m_spacingBond)
        return ResultTypeFail;
    m_spacingBond->SetValue(m_spacing);
    m_spacingBond->SetRigid(false);
    PushDragValues(solver);
    solver->SolveSystem();
    return ResultTypeOk;
}

int SolverEditPatternSpacing::SetDragValue(double value)
{
    m_spacing = value;
    return ResultTypeOk;
}

int SolverEditPatternSpacing::GetDragValue(double& value)
{
    value = m_spacing;
    return ResultTypeOk;
}

void SolverEditPatternSpacing::GetConfigureSeeds(SeedList& seeds)
{
    if (m_pattern) {
        for (Reference* reference : m_pattern->GetAllReferences(false))
            seeds.emplace_back(reference->GetEntityTag(), nullptr);
        std::vector<Reference*> defining;
        m_pattern->GetDefiningReferences(defining);
        for (Reference* reference : defining)
            if (reference)
                seeds.emplace_back(reference->GetEntityTag(), nullptr);
    }
    SolverEvaluate::GetConfigureSeeds(seeds);
}

void SolverEditPatternSpacing::ResetDragValues()
{
    if (auto* rectangular = dynamic_cast<RectangularFacePattern*>(m_pattern)) {
        if (m_kind == 0)
            m_spacing = rectangular->GetXSpacing();
        else if (m_kind == 1)
            m_spacing = rectangular->GetYSpacing();
    } else if (auto* circular = dynamic_cast<CircularFacePattern*>(m_pattern)) {
        if (m_kind == 2)
            m_spacing = circular->GetSpacing();
    }
    m_spacingBond = nullptr;
    SolverEvaluate::ResetDragValues();
}

}  // namespace QEL
