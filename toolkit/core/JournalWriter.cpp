#include "core/JournalWriter.h"

#include "core/FindCallbackReject.h"
#include "core/Instance.h"
#include "core/Interaction.h"
#include "core/JournalVocabulary.h"
#include "core/TagManager.h"
#include "core/XMLIO.h"

#include <vector>

namespace QEL {
namespace {

FILE* s_journalFile = nullptr;
XMLIO* s_journalWriter = nullptr;
int s_callIndex = 0;
bool s_minimise = false;
FindAcceptRelationCallback s_applicationFindCallback = nullptr;

bool JournallingFindAcceptRelation(int interactionTag, int level, int relationType, int fromEntity,
                                   int fromInstance, int toEntity, int toInstance,
                                   int additionalEntity, int additionalInstance)
{
    if (!s_applicationFindCallback)
        return true;
    const bool accept = s_applicationFindCallback(interactionTag, level, relationType, fromEntity,
                                                  fromInstance, toEntity, toInstance,
                                                  additionalEntity, additionalInstance);
    if (accept || !IsJournalOpen())
        return accept;
    FindCallbackRejectRecord record{level,    relationType, fromEntity,       fromInstance,
                                    toEntity, toInstance,   additionalEntity, additionalInstance};
    FindCallbackRejectRecord::DoIO(record, TagManager::FindInteractionFromTag(interactionTag),
                                   *s_journalWriter);
    return accept;
}

}  // namespace

int OpenJournal(const char* path)
{
    if (s_journalFile || !path || !*path)
        return ResultTypeFail;
    FILE* file = std::fopen(path, "w");
    if (!file)
        return ResultTypeFail;
    XMLIO* writer = new XMLIO(JournalName::Root, true);
    if (!writer->SetOutputFile(file)) {
        delete writer;
        std::fclose(file);
        return ResultTypeFail;
    }
    s_journalFile = file;
    s_journalWriter = writer;
    s_callIndex = 0;
    std::vector<Interaction*> interactions;
    TagManager::GetInteractions(interactions);
    for (Interaction* interaction : interactions) {
        WriteJournalInteraction(interaction);
    }
    std::fflush(file);
    return 0;
}

int CloseJournal()
{
    if (!s_journalFile)
        return ResultTypeFail;
    s_journalWriter->Save(nullptr);
    const bool closed = std::fclose(s_journalFile) == 0;
    s_journalFile = nullptr;
    delete s_journalWriter;
    s_journalWriter = nullptr;
    s_callIndex = 0;
    return closed ? 0 : ResultTypeFail;
}

bool IsJournalOpen() { return s_journalFile != nullptr; }
XMLIO* GetJournalWriter() { return s_journalWriter; }
int GetJournalCallIndex() { return s_callIndex; }
int NextJournalCallIndex() { return ++s_callIndex; }
void FlushJournal()
{
    if (s_journalFile)
        std::fflush(s_journalFile);
}
bool IsJournalMinimised() { return s_minimise; }
void SetJournalMinimised(bool minimise) { s_minimise = minimise; }

bool WriteJournalInteraction(Interaction* interaction)
{
    if (!interaction)
        return true;
    if (!s_journalWriter || !s_journalWriter->BeginElement(JournalName::Interaction))
        return false;
    int tag = interaction->GetTag();
    bool written = s_journalWriter->DoIO(JournalName::Tag, tag);
    written = written && WriteInteractionContent(interaction, *s_journalWriter);
    s_journalWriter->AddNewline();
    s_journalWriter->EndElement(true);
    return written;
}

FindAcceptRelationCallback SetFindAcceptRelationCallback(FindAcceptRelationCallback callback)
{
    s_applicationFindCallback = callback;
    return callback ? &JournallingFindAcceptRelation : nullptr;
}

}  // namespace QEL
