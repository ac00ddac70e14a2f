#pragma once
// Tags to the typed objects of an interaction, for wrappers that reach an object after its
// checks. Each answers null for a null interaction, a tag that names no object registered with
// it, or an object of another class.

namespace QEL {

class Interaction;
class Reference;
class Feature;
class FeatureProcedureData;
class FoundData;

// The one lookup behind every cast: the registered object by run-time type.
template <typename T>
T* CastTagTo(Interaction* interaction, int tag);

Reference* CastTagToReference(Interaction* interaction, int tag);
FeatureProcedureData* CastTagToFeatureProcedureData(Interaction* interaction, int tag);
FoundData* CastTagToFoundData(Interaction* interaction, int tag);

}  // namespace QEL
