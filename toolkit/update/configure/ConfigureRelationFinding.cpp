// What the configure asks of the interaction's relation finder: the relations and virtual
// vertices it made, its configure-lock options and principal planes, and its level searches.
#include "update/configure/ConfigureManager.h"

namespace QEL {

class ConfigureSearch {
public:
    ConfigureSearch(Interaction* interaction, ConfigureManager* manager) : m_interaction(interaction), m_manager(manager) {}

    Interaction* m_interaction;
    ConfigureManager* m_manager;
    ConfigureKeySet m_fixedKeys;
};

namespace {

void DeleteSearch(ConfigureSearch* search) { delete search; }

}  // namespace

bool IsCreatedByRelationFinder(Interaction*, Relation*) { return false; }

bool IsCreatedByRelationFinder(Interaction*, VirtualVertex*) { return false; }

ConfigureLockOptions GetConfigureLockOptions(Interaction*) { return ConfigureLockOptions(); }

void GetPrincipalPlanes(Interaction*, std::vector<Reference*>& planes) { planes.clear(); }

std::unique_ptr<ConfigureSearch, void (*)(ConfigureSearch*)> MakeConfigureSearch(Interaction* interaction,
                                                                                  ConfigureManager* manager)
{
    return std::unique_ptr<ConfigureSearch, void (*)(ConfigureSearch*)>(new ConfigureSearch(interaction, manager),
                                                                         &DeleteSearch);
}

void BeginConfigureSearchLevel(ConfigureSearch&) {}

void SetConfigureSearchFixedKeys(ConfigureSearch& search, const ConfigureKeySet& fixed) { search.m_fixedKeys = fixed; }

bool SearchConfigureLevel(ConfigureSearch&, int, bool, const ConfigureKeyList&, std::vector<Relation*>& relations,
                          std::vector<int>& entities)
{
    relations.clear();
    entities.clear();
    return true;
}

bool SearchAmongFound(ConfigureSearch&, int, const ConfigureKeyList&, std::vector<Relation*>& relations)
{
    relations.clear();
    return true;
}

}  // namespace QEL
