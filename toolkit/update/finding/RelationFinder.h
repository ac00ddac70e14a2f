#pragma once
// The relation finder every interaction embeds by value: its relation-finding options and the
// state of the last find. The core declares it so that the interaction can hold, copy and
// compare it; the update layer defines it.

namespace QEL {

class Interaction;
class Reference;
class Relation;
class VirtualVertex;
class XMLIO;

class RelationFinder {
public:
    // Empty containers, no interaction.
    RelationFinder();
    ~RelationFinder();
    RelationFinder(const RelationFinder& other);
    // Copies options and state (an interaction's snapshot and its restore).
    RelationFinder& operator=(const RelationFinder& other);

    // Binds the finder to a live interaction and resets its options to the defaults.
    void Initialise(Interaction* interaction);
    bool IsEqual(const RelationFinder& other) const;

    // Drop the object from the finder's lists, reporting the interaction as modified first
    // when they change something.
    void RemoveRelation(Relation* relation);
    void RemoveReference(Reference* reference);
    void RemoveVirtualVertex(VirtualVertex* vertex);

    // Writes or reads the finder's "RelationFinder" element.
    bool DoIO(XMLIO& xmlio);

private:
    Interaction* m_interaction;
};

}  // namespace QEL
