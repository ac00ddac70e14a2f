#pragma once
// The process-wide switches of the two debug outputs that go beside the toolkit's journal:
// the constraint solver's own journal files ("%sTessik_%04d.jou") and the kernel add-on's
// operation reports ("%s%s_%04d.xml"). The journalling calls set them; the solver and the
// Model transaction read them and count the files they write.

namespace QEL {

// One debug output: whether it is written, the text its file names start with and the number
// of its next file.
class DebugJournalSwitch {
public:
    // Room for the prefix and its terminator; a longer prefix is cut to fit.
    static constexpr int s_prefixCapacity = 1000;

    bool IsOn() const { return m_on; }
    // Never null; empty when none was given.
    const char* GetPrefix() const { return m_prefix; }
    int GetNumber() const { return m_number; }
    // The number of the file about to be written; the next one gets the number after it.
    int TakeNumber() { return m_number++; }

    void SetOn(bool on) { m_on = on; }
    // A null prefix counts as empty.
    void SetPrefix(const char* prefix);
    void SetNumber(int number) { m_number = number; }
    // On, with the prefix, counting from 1.
    void Start(const char* prefix);
    // Off, no prefix, counting from 1 again.
    void Stop();

private:
    bool m_on = false;
    char m_prefix[s_prefixCapacity] = {};
    int m_number = 1;
};

// The solver's journal files.
DebugJournalSwitch& GetSolverJournalSwitch();
// The kernel add-on's operation reports.
DebugJournalSwitch& GetAddOnReportSwitch();

}  // namespace QEL
