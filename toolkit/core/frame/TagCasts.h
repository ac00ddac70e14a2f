#pragma once
// Tags to the typed objects of an interaction, for wrappers that reach an object after its
// checks. Each answers null for a null interaction, a tag that names no object registered with
// it, or an object of another class.

#include "core/frame/ModellingOptionClasses.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/objects/Object.h"

namespace QEL {

class FacePattern;
class FeatureProcedureData;
class FoundData;
class MakeFeatureOptions;
class Reference;
class Section;
class VirtualVertex;

// The one lookup behind every cast: the registered object, tested by run-time type.
template <typename T>
T* CastTagTo(Interaction* interaction, int tag)
{
    return interaction ? DowncastEntity<T>(interaction->FindTaggedEntityFromTag(tag)) : nullptr;
}

// The interaction's object of the tag as an Object (the interaction itself is none).
Object* FindObjectFromTag(Interaction* interaction, int tag);
Reference* CastTagToReference(Interaction* interaction, int tag);
FeatureProcedureData* CastTagToFeatureProcedureData(Interaction* interaction, int tag);
FoundData* CastTagToFoundData(Interaction* interaction, int tag);
MakeFeatureOptions* CastTagToMakeFeatureOptions(Interaction* interaction, int tag);
FacePattern* CastTagToFacePattern(Interaction* interaction, int tag);
Section* CastTagToSection(Interaction* interaction, int tag);
VirtualVertex* CastTagToVirtualVertex(Interaction* interaction, int tag);
ReorderBlendsOptions* CastTagToReorderBlendsOptions(Interaction* interaction, int tag);
CutOptions* CastTagToCutOptions(Interaction* interaction, int tag);
CopyOptions* CastTagToCopyOptions(Interaction* interaction, int tag);
DeleteFacesOptions* CastTagToDeleteFacesOptions(Interaction* interaction, int tag);
ShellOptions* CastTagToShellOptions(Interaction* interaction, int tag);
PasteOptions* CastTagToPasteOptions(Interaction* interaction, int tag);
OffsetFacesOptions* CastTagToOffsetFacesOptions(Interaction* interaction, int tag);
TaperOptions* CastTagToTaperOptions(Interaction* interaction, int tag);
ReplaceOptions* CastTagToReplaceOptions(Interaction* interaction, int tag);
ReplaceFacesWithSheetOptions* CastTagToReplaceFacesWithSheetOptions(Interaction* interaction,
                                                                    int tag);
ExtractBodyPersistentDataOptions* CastTagToExtractBodyPersistentDataOptions(
    Interaction* interaction, int tag);
RestoreBodyPersistentDataOptions* CastTagToRestoreBodyPersistentDataOptions(
    Interaction* interaction, int tag);
RemoveFaceShellPersistentDataOptions* CastTagToRemoveFaceShellPersistentDataOptions(
    Interaction* interaction, int tag);
BodyIsPasteToolOptions* CastTagToBodyIsPasteToolOptions(Interaction* interaction, int tag);

}  // namespace QEL
