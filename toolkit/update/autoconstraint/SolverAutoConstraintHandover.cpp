// What the Solver hands up to the auto-constraint manager: its pending bonds and
// relationships, and the rules of an autodefine. The Solver sits below the manager, so these
// of its calls are written here, beside the wrapper they drive.
#include "solver/Solver.h"

#include "update/autoconstraint/YSKManager.h"

namespace QEL {

bool Solver::AddBondsToYSK(YSKManager* manager, UpdateStatus& status)
{
    AddDelayedBonds();
    if (m_pendingBonds.Empty() && m_pendingRelationships.Empty())
        return true;
    bool ok = manager && manager->AddBonds(m_pendingRelationships, m_pendingBonds, status) &&
              status != UpdateSolveFailed;
    // The manager's bonds for the records become the Solver's and stay for the whole edit;
    // what it reported is then forgotten so that a later hand-over reports only new bonds.
    if (ok)
        ok = manager->GetBonds(false, true);
    if (!ok)
        status = UpdateSolveFailed;
    // A record goes to the manager once, whether it took it or not.
    m_pendingBonds.Clear();
    m_pendingRelationships.Clear();
    return ok;
}

bool Solver::Autodefine(YSKRuleSource* rules, YSKManager* manager, UpdateStatus* status)
{
    if (!rules)
        return true;
    if (!manager || !status)
        return false;
    return manager->Autodefine(*rules, *status);
}

}  // namespace QEL
