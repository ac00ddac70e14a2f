#pragma once
// The journal's process-wide state: the open file, its streamed writer with the argument starts
// it has rendered, the call index and the minimise flag, with opening and closing. The file
// grows one completed record at a time, each in the system's hands once written, so a crash of
// the application loses at most the record being written (the file of a journal a crash left
// open ends in zero bytes).

#include "core/frame/QelExport.h"

namespace QEL {

class Interaction;
class JournalArgumentStarts;
class XMLIO;

// The application's find-accept-relation callback: interaction tag, level, relation type,
// from entity, from instance, to entity, to instance, additional entity, additional instance;
// true accepts the candidate.
typedef bool (*FindAcceptRelationCallback)(int, int, int, int, int, int, int, int, int);

// Opens the file, writes the declaration, the root and the header, then one "Interaction"
// record per registered interaction. 0, or 5 when a journal is already open or the file
// cannot be written (nothing is left open then).
int OpenJournal(const char* path);
// Writes the closing root tag and closes the file; 5 when none is open or closing failed.
int CloseJournal();
bool IsJournalOpen();
// The streamed writer while a journal is open, else null.
XMLIO* GetJournalWriter();
// The rendered argument starts of the open journal, else null.
JournalArgumentStarts* GetJournalArgumentStarts();
// Number of "Function" records of the open journal; NextJournalCallIndex counts one more.
int GetJournalCallIndex();
int NextJournalCallIndex();
bool IsJournalMinimised();
void SetJournalMinimised(bool minimise);

// An "Interaction" element with the interaction's tag and content into the current element.
// True for a null interaction.
bool WriteJournalInteraction(Interaction* interaction);
// The interaction's content as the save file holds it (defined with the save file).
bool WriteInteractionContent(Interaction* interaction, XMLIO& xmlio);

}  // namespace QEL
