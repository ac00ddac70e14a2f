// What the configure asks of the interaction's relation finder: the relations and virtual
// vertices it made, its configure-lock options and principal planes, and its level searches
// with the one context a configure keeps across its levels.
#include "update/configure/ConfigureManager.h"

#include "update/finding/RelationFinder.h"
#include "update/finding/RelationFinderContext.h"

namespace QEL {

class ConfigureSearch {
public:
    ConfigureSearch(Interaction* interaction, ConfigureManager* manager)
        : m_finder(RelationFinder::Of(interaction)),
          m_context(interaction, manager),
          m_levelThird(interaction)
    {
    }

    RelationFinder* m_finder;
    RelationFinderContext m_context;
    // The third input as the level found it: the search among the found keys runs with it.
    RelationFinderInputData m_levelThird;
};

namespace {

void DeleteSearch(ConfigureSearch* search) { delete search; }

}  // namespace

bool IsCreatedByRelationFinder(Interaction* interaction, Relation* relation)
{
    RelationFinder* finder = RelationFinder::Of(interaction);
    return finder && finder->IsCreatedRelation(relation);
}

bool IsCreatedByRelationFinder(Interaction* interaction, VirtualVertex* vertex)
{
    RelationFinder* finder = RelationFinder::Of(interaction);
    return finder && finder->IsCreatedVirtualVertex(vertex);
}

ConfigureLockOptions GetConfigureLockOptions(Interaction* interaction)
{
    ConfigureLockOptions options;
    if (RelationFinder* finder = RelationFinder::Of(interaction)) {
        options.cylinderRadius = finder->GetConfigureLockCylinderRadius();
        options.sphereRadius = finder->GetConfigureLockSphereRadius();
        options.torusRadius = finder->GetConfigureLockTorusRadius();
        options.torusMinorRadius = finder->GetConfigureLockTorusMinorRadius();
        options.coneHalfAngle = finder->GetConfigureLockConeHalfAngle();
    }
    return options;
}

void GetPrincipalPlanes(Interaction* interaction, std::vector<Reference*>& planes)
{
    planes.clear();
    if (RelationFinder* finder = RelationFinder::Of(interaction))
        planes = finder->GetPrinciplePlanes();
}

std::unique_ptr<ConfigureSearch, void (*)(ConfigureSearch*)> MakeConfigureSearch(
    Interaction* interaction, ConfigureManager* manager)
{
    return std::unique_ptr<ConfigureSearch, void (*)(ConfigureSearch*)>(
        new ConfigureSearch(interaction, manager), &DeleteSearch);
}

void BeginConfigureSearchLevel(ConfigureSearch& search)
{
    search.m_levelThird = search.m_context.GetThird();
}

void SetConfigureSearchFixedKeys(ConfigureSearch& search, const ConfigureKeySet& fixed)
{
    FinderInputKeySet& keys = search.m_context.GetFixedKeys();
    keys.clear();
    keys.insert(fixed.begin(), fixed.end());
}

bool SearchConfigureLevel(ConfigureSearch& search, int level, bool configureMode,
                          const ConfigureKeyList& keys, std::vector<Relation*>& relations,
                          std::vector<int>& entities)
{
    relations.clear();
    entities.clear();
    if (!search.m_finder)
        return true;
    ConfigureKeyList seeds = keys;
    return search.m_finder->FindForConfigureLevel(level, configureMode, seeds, search.m_context,
                                                  relations, entities);
}

bool SearchAmongFound(ConfigureSearch& search, int level, const ConfigureKeyList& keys,
                      std::vector<Relation*>& relations)
{
    relations.clear();
    if (!search.m_finder)
        return true;
    RelationFinderInputData saved = search.m_context.GetThird();
    search.m_context.GetThird() = search.m_levelThird;
    ConfigureKeyList seeds = keys;
    const bool result = search.m_finder->FindTangentsAndSymmetriesForConfigure(
        level, seeds, search.m_context, relations);
    search.m_context.GetThird() = saved;
    return result;
}

}  // namespace QEL
