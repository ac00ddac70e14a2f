#include "core/journal/DebugJournalSwitches.h"

#include <cstring>

namespace QEL {

void DebugJournalSwitch::SetPrefix(const char* prefix)
{
    constexpr size_t room = s_prefixCapacity - 1;
    const size_t length = prefix ? std::strlen(prefix) : 0;
    const size_t kept = length < room ? length : room;
    if (kept)
        std::memcpy(m_prefix, prefix, kept);
    m_prefix[kept] = '\0';
}

void DebugJournalSwitch::Start(const char* prefix)
{
    m_on = true;
    SetPrefix(prefix);
    m_number = 1;
}

void DebugJournalSwitch::Stop()
{
    m_on = false;
    SetPrefix(nullptr);
    m_number = 1;
}

DebugJournalSwitch& GetSolverJournalSwitch()
{
    static DebugJournalSwitch s_solverJournal;
    return s_solverJournal;
}

DebugJournalSwitch& GetAddOnReportSwitch()
{
    static DebugJournalSwitch s_addOnReport;
    return s_addOnReport;
}

}  // namespace QEL
