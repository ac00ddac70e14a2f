// What the drags tell the auto-constraint manager: the change they want of their drag set, so
// the manager keeps the relations it found while the set moves that way.
#include "solver/operations/SolverOperation.h"

#include "core/objects/Interaction.h"
#include "solver/Bonds.h"
#include "solver/RigidGroup.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"
#include "solver/operations/DesiredChangeStating.h"

namespace QEL {

namespace {

// The drag set's change (stated by state) to the manager. stated: false when nothing was
// asked, without exact dragging, without a drag group or without the update to state it to.
template <typename State>
bool AddDesiredOverDragSet(Interaction* interaction, RigidGroup* group, bool& stated, State state)
{
    DesiredChangeStating* stating = InstalledSeam<DesiredChangeStating>::Get();
    stated = interaction->GetExactDragging() && group && stating;
    if (!stated)
        return true;
    return state(*stating, group->GetDragSet());
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
    const bool ok = AddDesiredOverDragSet(
        m_interaction, m_dragGroup, stated, [&](DesiredChangeStating& stating, Set* set) {
            return stating.StateTranslation(manager, set, m_position.m_direction, status);
        });
    if (stated && ok && m_dimensionAnimation)
        m_animationBond = LastManagerBond(solver);
    return ok;
}

bool SolverDragPlanar::AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    const bool ok = AddDesiredOverDragSet(
        m_interaction, m_dragGroup, stated, [&](DesiredChangeStating& stating, Set* set) {
            return stating.StatePlanarTranslation(manager, set, m_position.m_direction, status);
        });
    if (stated && ok && m_dimensionAnimation)
        TakeAnimationBonds(solver);
    return ok;
}

bool SolverDragRotate::AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    const bool ok = AddDesiredOverDragSet(
        m_interaction, m_dragGroup, stated, [&](DesiredChangeStating& stating, Set* set) {
            return stating.StateRotation(manager, set, m_axisDirection, m_axisPoint, status);
        });
    if (stated && ok && m_dimensionAnimation)
        m_animationBond = LastManagerBond(solver);
    return ok;
}

bool SolverDragByTransform::AddDesiredChange(Solver*, YSKManager* manager, UpdateStatus& status)
{
    bool stated = false;
    return AddDesiredOverDragSet(m_interaction, m_dragGroup, stated,
                                 [&](DesiredChangeStating& stating, Set* set) {
                                     return stating.StateGeneralTransform(manager, set, status);
                                 });
}

}  // namespace QEL
