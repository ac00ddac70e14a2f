#include "update/UpdateManager.h"

#include "core/Interaction.h"
#include "core/UpperLayerSeams.h"

namespace QEL {

UpdateManager::UpdateManager(Interaction* interaction) : m_interaction(interaction) {}

UpdateManager::~UpdateManager() = default;

void DeleteUpdateManager(UpdateManager* manager) { delete manager; }

bool Interaction::CreateUpdateManager()
{
    if (!m_updateManager)
        m_updateManager = new UpdateManager(this);
    return true;
}

// The pass configures, solves and applies what the model holds. A model without relations and
// features gives it nothing to configure or solve, so the pass applies at once.
UpdateStatus Interaction::Update(SolverOperation*)
{
    if (m_currentSolverOperation)
        return UpdateSolveFailed;
    CreateUpdateManager();
    return UpdateApplied;
}

}  // namespace QEL
