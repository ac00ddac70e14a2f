// What the drags tell the auto-constraint manager: the change they want of their drag set, so
// the manager keeps the relations it found while the set moves that way.
#include "solver/operations/SolverOperation.h"

#include "core/objects/Interaction.h"
#include "solver/Bonds.h"
#include "solver/RigidGroup.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"
#include "update/autoconstraint/AutoConstraintRecords.h"
#include "update/autoconstraint/YSKManager.h"

namespace QEL {

namespace {

// The drag set's change (made by makeRecord) to the manager, then the manager's bonds. stated:
// false when nothing was asked, without exact dragging or without a drag group.
template <typename MakeRecord>
bool AddDesiredOverDragSet(Interaction* interaction, RigidGroup* group, YSKManager* manager, UpdateStatus& status,
                           bool& stated, MakeRecord makeRecord)
{
    stated = interaction->GetExactDragging() && group;
    if (!stated)
        return true;
    const auto record = makeRecord(group->GetDragSet());
    bool ok = manager->AddDesired(&record, status);
    if (ok && status != UpdateSolveFailed)
        ok = manager->GetBonds(true, true);
    return ok;
}

}  // namespace

Bond* SolverDragOperation::LastManagerBond(Solver* solver)
{
    const std::vector<Node*>& made = solver->GetYSKGeometries();
    return made.empty() ? nullptr : dynamic_cast<Bond*>(made.back());
}

bool SolverDragLinear::AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    const bool ok = AddDesiredOverDragSet(m_interaction, m_dragGroup, manager, status, stated, [this](Set* set) {
        return DesiredChangeTranslateData(set, m_position.m_direction, YSK_COMPLIANCE_EXACT);
    });
    if (stated && ok && m_dimensionAnimation)
        m_animationBond = LastManagerBond(solver);
    return ok;
}

bool SolverDragPlanar::AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    const bool ok = AddDesiredOverDragSet(m_interaction, m_dragGroup, manager, status, stated, [this](Set* set) {
        return DesiredChangePlanarTranslateData(set, m_position.m_direction, YSK_COMPLIANCE_EXACT);
    });
    if (stated && ok && m_dimensionAnimation)
        TakeAnimationBonds(solver);
    return ok;
}

bool SolverDragRotate::AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    const bool ok = AddDesiredOverDragSet(m_interaction, m_dragGroup, manager, status, stated, [this](Set* set) {
        return DesiredChangeRotateData(set, m_axisDirection, m_axisPoint, YSK_COMPLIANCE_EXACT);
    });
    if (stated && ok && m_dimensionAnimation)
        m_animationBond = LastManagerBond(solver);
    return ok;
}

bool SolverDragByTransform::AddDesiredChange(Solver*, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    return AddDesiredOverDragSet(m_interaction, m_dragGroup, manager, status, stated, [](Set* set) {
        return DesiredChangeGeneralTransformData(set, YSK_COMPLIANCE_EXACT);
    });
}

}  // namespace QEL
