#include "core/journal/JournalWriter.h"

#include "core/journal/JournalArgumentStarts.h"
#include "core/journal/JournalVocabulary.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"

#include "os.h"

#include <memory>
#include <vector>

namespace QEL {
namespace {

// The journal's file: each completed record is in the system's hands the moment it is appended,
// so a crash of the application loses none of them, and appending costs no system call.
class JournalFile : public XMLOutput {
public:
    bool Write(const char* text, size_t length) override { return m_file.Append(text, length); }
    os::AppendFile m_file;
};

JournalFile s_journalFile;
XMLIO* s_journalWriter = nullptr;
std::unique_ptr<JournalArgumentStarts> s_argumentStarts;
int s_callIndex = 0;
bool s_minimise = false;
}  // namespace

int OpenJournal(const char* path)
{
    if (s_journalWriter || !path || !*path || !s_journalFile.m_file.Open(path))
        return ResultTypeFail;
    XMLIO* writer = new XMLIO(JournalName::Root, true);
    if (!writer->SetOutput(&s_journalFile)) {
        delete writer;
        s_journalFile.m_file.Close();
        return ResultTypeFail;
    }
    s_journalWriter = writer;
    s_argumentStarts = std::make_unique<JournalArgumentStarts>();
    s_callIndex = 0;
    std::vector<Interaction*> interactions;
    TagManager::GetInteractions(interactions);
    for (Interaction* interaction : interactions) {
        WriteJournalInteraction(interaction);
    }
    return 0;
}

int CloseJournal()
{
    if (!s_journalWriter)
        return ResultTypeFail;
    bool closed = s_journalWriter->Save(nullptr);
    closed = s_journalFile.m_file.Close() && closed;
    delete s_journalWriter;
    s_journalWriter = nullptr;
    s_argumentStarts.reset();
    s_callIndex = 0;
    return closed ? 0 : ResultTypeFail;
}

bool IsJournalOpen() { return s_journalWriter != nullptr; }
XMLIO* GetJournalWriter() { return s_journalWriter; }
JournalArgumentStarts* GetJournalArgumentStarts() { return s_argumentStarts.get(); }
int GetJournalCallIndex() { return s_callIndex; }
int NextJournalCallIndex() { return ++s_callIndex; }
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

}  // namespace QEL
