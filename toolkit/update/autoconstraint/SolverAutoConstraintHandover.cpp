// The update hands the Solver's pending records to its auto-constraint manager.
#include "solver/AutoConstraintHandover.h"

#include "update/autoconstraint/YSKManager.h"

namespace QEL {

namespace {

class ManagerHandover final : public AutoConstraintHandover {
public:
    bool HandOver(YSKManager* manager, RelationshipDataArray& relationships, BondDataArray& bonds,
                  UpdateStatus& status) override
    {
        bool ok = manager->AddBonds(relationships, bonds, status) && status != UpdateSolveFailed;
        // The manager's bonds for the records become the Solver's and stay for the whole edit;
        // what it reported is then forgotten so that a later hand-over reports only new bonds.
        return ok && manager->GetBonds(false, true);
    }
};

ManagerHandover s_managerHandover;
[[maybe_unused]] const bool s_managerHandoverInstalled =
    InstallAutoConstraintHandover(&s_managerHandover);

}  // namespace

}  // namespace QEL
