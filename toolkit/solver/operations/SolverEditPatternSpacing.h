#pragma once
// The value edit that gives a face pattern a new spacing: X or Y of a rectangular pattern, or
// the angle of a circular one. The Solver moves the occurrences; the new spacing is written
// back into the pattern when the solution is applied.

#include "solver/operations/SolverOperation.h"

namespace QEL {

class FacePattern;
class PatternSpacing;

class SolverEditPatternSpacing : public SolverEvaluate {
public:
    // kind: 0 X spacing of a rectangular pattern, 1 its Y spacing, 2 a circular pattern's angle.
    SolverEditPatternSpacing(Interaction* interaction, FacePattern* pattern, int kind,
                             double spacing);
    static SolverEditPatternSpacing* CreateXSpacingEdit(Interaction* interaction,
                                                        FacePattern* pattern, double spacing);
    static SolverEditPatternSpacing* CreateYSpacingEdit(Interaction* interaction,
                                                        FacePattern* pattern, double spacing);
    static SolverEditPatternSpacing* CreateAxisSpacingEdit(Interaction* interaction,
                                                           FacePattern* pattern, double spacing);

    // The spacing dimension when the pattern is of the kind's class, then the relations.
    int AddToSolver(Solver* solver) override;
    // ResultTypeFail without a spacing dimension; else the dimension, no longer rigid, is
    // driven to the spacing.
    int Solve(Solver* solver) override;
    int SetDragValue(double value) override;
    int GetDragValue(double& value) override;
    // Every reference of every occurrence, then the pattern's direction or axis references,
    // all without Instance, then the relations' references.
    void GetConfigureSeeds(SeedList& seeds) override;
    // The pattern's present spacing; the dimension belonged to the last Solver.
    void ResetDragValues() override;

    FacePattern* GetPattern() const { return m_pattern; }
    int GetKind() const { return m_kind; }
    double GetSpacing() const { return m_spacing; }
    PatternSpacing* GetSpacingBond() const { return m_spacingBond; }

protected:
    // The spacing dimension belonged to the last Solver.
    void DropSolverPointers() override;

private:
    FacePattern* m_pattern;
    int m_kind;
    double m_spacing;
    PatternSpacing* m_spacingBond = nullptr;
};

}  // namespace QEL
