#pragma once
// One rejection by the application's find-accept-relation callback, as a journal element.

#include "core/enums/Enums.h"

namespace QEL {

class Interaction;
class XMLIO;

struct FindCallbackRejectRecord {
    int level = 0;
    int relationType = 0;
    int fromEntity = 0;
    int fromInstance = 0;
    int toEntity = 0;
    int toInstance = 0;
    int additionalEntity = 0;
    int additionalInstance = 0;

    // Writes or reads one "FindCallbackReject" element; false when any item fails. Instances
    // travel as their entity ids in the interaction. Only the from entity carries "bodyIndex",
    // so the element never holds that attribute twice.
    static bool DoIO(FindCallbackRejectRecord& record, Interaction* interaction, XMLIO& xmlio);
};

bool DoIORelationType(XMLIO& xmlio, const char* name, RelationType& value);

}  // namespace QEL
