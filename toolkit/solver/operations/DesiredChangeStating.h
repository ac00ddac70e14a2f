#pragma once
// What a drag tells the auto-constraint manager: the change it wants of its drag set, so that
// the manager keeps the relations it found while the set moves that way, then the manager's
// bonds. The manager and its records are the update's, so the update installs this while the
// library loads; without it a drag states nothing.

#include "core/enums/Enums.h"
#include "core/maths/Dir.h"
#include "core/maths/Vec.h"
#include "core/support/InstalledSeam.h"

namespace QEL {

class Set;
class YSKManager;

class DesiredChangeStating {
public:
    virtual ~DesiredChangeStating() = default;
    // Each states an exact change of the set; false when the manager refuses it or its bonds.
    virtual bool StateTranslation(YSKManager* manager, Set* set, const Dir& direction,
                                  UpdateStatus& status) = 0;
    virtual bool StatePlanarTranslation(YSKManager* manager, Set* set, const Dir& normal,
                                        UpdateStatus& status) = 0;
    virtual bool StateRotation(YSKManager* manager, Set* set, const Dir& axisDirection,
                               const Vec& axisPoint, UpdateStatus& status) = 0;
    virtual bool StateGeneralTransform(YSKManager* manager, Set* set, UpdateStatus& status) = 0;
};

// Installed by the update while the library loads; always true.
inline bool InstallDesiredChangeStating(DesiredChangeStating* stating)
{
    return InstalledSeam<DesiredChangeStating>::Install(stating);
}

}  // namespace QEL
