// One text line per call of a dimension system, through the stream it was given.
#pragma once

#include "tessik.h"

#include <optional>
#include <sstream>
#include <string>

namespace tessik {

class Journal {
public:
    void Attach(ZMR3_file* file, unsigned options, int digits);
    bool On() const { return m_file != nullptr && (m_options & ZMR3_JOURNAL_CALLS) != 0; }
    bool Summaries() const { return m_file != nullptr && (m_options & ZMR3_JOURNAL_SUMMARY) != 0; }
    bool Answers() const { return (m_options & ZMR3_JOURNAL_ANSWERS) != 0; }
    int Digits() const { return m_digits; }
    void WriteLine(const std::string& line);

private:
    ZMR3_file* m_file = nullptr;
    unsigned m_options = 0;
    int m_digits = 17;
};

// Builds one journal line and, when the call log is on, one log entry: the call's
// name, its arguments, and on Finish its answer.
class CallRecord {
public:
    CallRecord(Journal& journal, const char* name);
    ~CallRecord();
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    CallRecord& Arg(const void* pointer);
    CallRecord& Arg(long long value);
    CallRecord& Arg(int value) { return Arg(static_cast<long long>(value)); }
    CallRecord& Arg(unsigned value) { return Arg(static_cast<long long>(value)); }
    CallRecord& Arg(double value);
    template <class T>
    T Answer(T value)
    {
        if (m_line && m_journal.Answers()) {
            *m_line << " ->";
            Arg(value);
        }
        return value;
    }

private:
    Journal& m_journal;
    // Made only while the journal is on: a call that journals nothing builds no stream.
    std::optional<std::ostringstream> m_line;
};

}  // namespace tessik
