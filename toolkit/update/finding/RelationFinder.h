#pragma once
// The relation finder every live interaction holds as its relation-finding state: its
// relation-finding options and the state of the last find. Installed into the core as the
// maker of that state while the library loads.

#include "core/objects/RelationFinderState.h"

namespace QEL {

class RelationFinder : public RelationFinderState {
public:
    // Bound to the live interaction, options at their defaults; null for a snapshot's copy.
    explicit RelationFinder(Interaction* interaction);
    ~RelationFinder() override;

    std::unique_ptr<RelationFinderState> Clone() const override;
    void CopyFrom(const RelationFinderState& other) override;
    bool IsEqual(const RelationFinderState& other) const override;

    void RemoveRelation(Relation* relation) override;
    void RemoveReference(Reference* reference) override;
    void RemoveVirtualVertex(VirtualVertex* vertex) override;

    // Writes or reads the finder's "RelationFinder" element.
    bool DoIO(XMLIO& xmlio) override;

private:
    Interaction* m_interaction;
};

}  // namespace QEL
