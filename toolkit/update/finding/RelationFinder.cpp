// The relation finder as the interaction holds it. It keeps no lists or options yet: copying,
// comparing and removing objects have nothing to act on.
#include "update/finding/RelationFinder.h"
#include "core/persist/XMLIO.h"

namespace QEL {

namespace {

std::unique_ptr<RelationFinderState> MakeRelationFinder(Interaction* interaction)
{
    return std::make_unique<RelationFinder>(interaction);
}

[[maybe_unused]] const bool s_relationFinderInstalled = InstallRelationFinderStateMaker(&MakeRelationFinder);

}  // namespace

RelationFinder::RelationFinder(Interaction* interaction) : m_interaction(interaction) {}

RelationFinder::~RelationFinder() = default;

std::unique_ptr<RelationFinderState> RelationFinder::Clone() const
{
    // A snapshot's finder belongs to no interaction.
    return std::make_unique<RelationFinder>(nullptr);
}

void RelationFinder::CopyFrom(const RelationFinderState&)
{
    // The owner stays.
}

bool RelationFinder::IsEqual(const RelationFinderState&) const { return true; }

void RelationFinder::RemoveRelation(Relation*) {}

void RelationFinder::RemoveReference(Reference*) {}

void RelationFinder::RemoveVirtualVertex(VirtualVertex*) {}

bool RelationFinder::DoIO(XMLIO& xmlio)
{
    // The finder keeps no options yet: its element is there so that files carry it.
    if (!xmlio.BeginElement("RelationFinder"))
        return false;
    xmlio.EndElement(true);
    return true;
}

}  // namespace QEL
