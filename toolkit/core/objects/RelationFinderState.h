#pragma once
// The relation-finding state an interaction holds for the layer that finds relations: its
// options and what the last find left. The interaction holds, copies, compares, saves and
// prunes it without knowing its contents; the update layer installs its maker while the
// library loads.

#include "core/support/InstalledSeam.h"

#include <memory>

namespace QEL {

class Interaction;
class Reference;
class Relation;
class VirtualVertex;
class XMLIO;

class RelationFinderState {
public:
    virtual ~RelationFinderState() = default;

    // A copy of the options and state that belongs to no interaction (a snapshot).
    virtual std::unique_ptr<RelationFinderState> Clone() const = 0;
    // Takes the options and state of other; the owner stays (a restore).
    virtual void CopyFrom(const RelationFinderState& other) = 0;
    virtual bool IsEqual(const RelationFinderState& other) const = 0;

    // Drop the object from the finder's lists, reporting the interaction as modified first
    // when they change something.
    virtual void RemoveRelation(Relation* relation) = 0;
    virtual void RemoveReference(Reference* reference) = 0;
    virtual void RemoveVirtualVertex(VirtualVertex* vertex) = 0;

    // Writes or reads the finder's element of the save file.
    virtual bool DoIO(XMLIO& xmlio) = 0;
};

// Makes the state of a live interaction.
using RelationFinderStateMaking = std::unique_ptr<RelationFinderState>(Interaction* interaction);
typedef RelationFinderStateMaking* RelationFinderStateMaker;

// Installed by the layer that finds relations while the library loads; always true, so that
// the installation can initialise a static flag.
inline bool InstallRelationFinderStateMaker(RelationFinderStateMaker maker)
{
    return InstalledSeam<RelationFinderStateMaking>::Install(maker);
}

// The state for a new live interaction; null while no maker is installed (the core alone), in
// which case the interaction keeps none and cannot be saved.
std::unique_ptr<RelationFinderState> MakeRelationFinderState(Interaction* interaction);

}  // namespace QEL
