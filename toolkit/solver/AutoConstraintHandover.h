#pragma once
// What the Solver hands up to the auto-constraint manager: the relationship and bond records
// its relations made, then the bonds the manager made for them. The manager is the update's,
// so the update installs this while the library loads; without it nothing is handed over.

#include "core/enums/Enums.h"
#include "core/support/InstalledSeam.h"
#include "solver/BondRecords.h"

namespace QEL {

class YSKManager;

class AutoConstraintHandover {
public:
    virtual ~AutoConstraintHandover() = default;
    // The records to the manager, then the manager's bonds for them, after which the manager
    // forgets what it reported; false when it refuses either.
    virtual bool HandOver(YSKManager* manager, RelationshipDataArray& relationships,
                          BondDataArray& bonds, UpdateStatus& status) = 0;
};

// Installed by the update while the library loads; always true.
inline bool InstallAutoConstraintHandover(AutoConstraintHandover* handover)
{
    return InstalledSeam<AutoConstraintHandover>::Install(handover);
}

}  // namespace QEL
