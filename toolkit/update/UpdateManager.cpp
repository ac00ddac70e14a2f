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

}  // namespace QEL
