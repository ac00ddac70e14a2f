// The relation finder as the interaction holds it. It keeps no lists or options yet: copying,
// comparing and removing objects have nothing to act on.
#include "update/finding/RelationFinder.h"
#include "core/persist/XMLIO.h"

namespace QEL {

RelationFinder::RelationFinder() : m_interaction(nullptr) {}

RelationFinder::~RelationFinder() = default;

RelationFinder::RelationFinder(const RelationFinder& other) : m_interaction(other.m_interaction) {}

RelationFinder& RelationFinder::operator=(const RelationFinder&)
{
    // The owner stays: a snapshot's finder belongs to no interaction.
    return *this;
}

void RelationFinder::Initialise(Interaction* interaction) { m_interaction = interaction; }

bool RelationFinder::IsEqual(const RelationFinder&) const { return true; }

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
