#include "update/pass/ConfigureStep.h"

#include "core/objects/Interaction.h"
#include "model/relations/Relation.h"
#include "solver/Solver.h"
#include "solver/operations/SolverOperation.h"

#include <set>

namespace QEL {

// Without the finders' walk the full configure has nothing beyond the relations to add, so both
// entries enter the same constraints.
bool ConfigureStep::Configure(UpdateStatus& status) { return ConfigureFromRelations(status); }

bool ConfigureStep::ConfigureFromRelations(UpdateStatus& status)
{
    m_solver->CreateBodyStars(m_interaction->GetInstances());
    m_solver->DefineFeatureData(m_interaction->GetFeatures());
    if (m_operation) {
        m_operation->AddToSolver(m_solver);
        std::set<int> forcedBlendFaces;
        std::set<int> neverBlendFaces;
        m_operation->GetChangedFaces(forcedBlendFaces, neverBlendFaces);
    }
    // The Solver never adds a relation twice, so the operation's own relations stay as its
    // slot entered them.
    for (Relation* relation : m_interaction->GetRelations())
        if (relation && !relation->GetIsDangling() && relation->IsReferenceCombinationValid())
            m_solver->AddRelation(relation);
    // Relations the auto-constraint manager makes the bonds of wait as pending records.
    if (m_solver->GetDelayAddDCalls())
        return m_solver->AddBondsToYSK(m_ysk, status);
    if (!m_solver->GetUseAddBondsForRelations())
        return true;
    if (!m_solver->GetPendingBonds().Empty() || !m_solver->GetPendingRelationships().Empty())
        return m_solver->AddBondsToYSK(m_ysk, status);
    return true;
}

}  // namespace QEL
