// The update states a drag's desired change to its auto-constraint manager.
#include "solver/operations/DesiredChangeStating.h"

#include "solver/SolverObjects.h"
#include "update/autoconstraint/AutoConstraintRecords.h"
#include "update/autoconstraint/YSKManager.h"

namespace QEL {

namespace {

// The record to the manager, then the manager's bonds.
template <typename Record>
bool StateToManager(YSKManager* manager, const Record& record, UpdateStatus& status)
{
    bool ok = manager->AddDesired(&record, status);
    if (ok && status != UpdateSolveFailed)
        ok = manager->GetBonds(true, true);
    return ok;
}

class ManagerDesiredChangeStating final : public DesiredChangeStating {
public:
    bool StateTranslation(YSKManager* manager, Set* set, const Dir& direction,
                          UpdateStatus& status) override
    {
        return StateToManager(
            manager, DesiredChangeTranslateData(set, direction, YSK_COMPLIANCE_EXACT), status);
    }

    bool StatePlanarTranslation(YSKManager* manager, Set* set, const Dir& normal,
                                UpdateStatus& status) override
    {
        return StateToManager(
            manager, DesiredChangePlanarTranslateData(set, normal, YSK_COMPLIANCE_EXACT), status);
    }

    bool StateRotation(YSKManager* manager, Set* set, const Dir& axisDirection,
                       const Vec& axisPoint, UpdateStatus& status) override
    {
        return StateToManager(
            manager, DesiredChangeRotateData(set, axisDirection, axisPoint, YSK_COMPLIANCE_EXACT),
            status);
    }

    bool StateGeneralTransform(YSKManager* manager, Set* set, UpdateStatus& status) override
    {
        return StateToManager(manager, DesiredChangeGeneralTransformData(set, YSK_COMPLIANCE_EXACT),
                              status);
    }
};

ManagerDesiredChangeStating s_managerDesiredChangeStating;
[[maybe_unused]] const bool s_managerDesiredChangeStatingInstalled =
    InstallDesiredChangeStating(&s_managerDesiredChangeStating);

}  // namespace

}  // namespace QEL
