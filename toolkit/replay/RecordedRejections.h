// The rejections an application's accept-relation callback made while a call was recorded,
// given back during its replay: the relation finder refuses exactly the recorded candidates.
#pragma once

#include "core/enums/Enums.h"

namespace QEL {

class Interaction;
class XMLIO;

// Reads the "FindCallbackReject" children of the current record into the process-wide set and,
// when any were read and the interaction's finder has no callback of its own, installs the
// callback that refuses them. Clears what an earlier record left first.
void LoadRecordedRejections(Interaction* interaction, XMLIO& reader);
// Takes the refusing callback off the interaction's finder and empties the set.
void ClearRecordedRejections(Interaction* interaction);
// The accept-relation callback of a replay: false for a recorded candidate, true otherwise.
bool AcceptRelationUnlessRejected(int interactionTag, int level, RelationType type, int fromEntity,
                                  int fromInstance, int toEntity, int toInstance,
                                  int additionalEntity, int additionalInstance);

}  // namespace QEL
