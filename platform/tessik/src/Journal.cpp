#include "Journal.h"
#include "TestHooks.h"

#include <algorithm>
#include <iomanip>

namespace tessik {

void Journal::Attach(ZMR3_file* file, unsigned options, int digits)
{
    m_file = file;
    m_options = options;
    m_digits = std::clamp(digits, 1, 17);
}

void Journal::WriteLine(const std::string& line)
{
    if (m_file == nullptr || m_file->stream == nullptr || m_file->write == nullptr)
        return;
    const std::string text = line + "\n";
    m_file->write(text.data(), 1, text.size(), m_file->stream);
    if (m_file->flush != nullptr)
        m_file->flush(m_file->stream);
}

CallRecord::CallRecord(Journal& journal, const char* name) : m_journal(journal)
{
    LogCall(name);
    if (m_journal.On()) {
        m_line.emplace();
        *m_line << name << std::setprecision(m_journal.Digits());
    }
}

CallRecord::~CallRecord()
{
    if (m_line)
        m_journal.WriteLine(m_line->str());
}

CallRecord& CallRecord::Arg(const void* pointer)
{
    if (m_line)
        *m_line << ' ' << pointer;
    return *this;
}

CallRecord& CallRecord::Arg(long long value)
{
    if (m_line)
        *m_line << ' ' << value;
    return *this;
}

CallRecord& CallRecord::Arg(double value)
{
    if (m_line)
        *m_line << ' ' << value;
    return *this;
}

}  // namespace tessik

int ZMR3_file_construct_full(ZMR3_file* file, FILE* stream, ZMR3_write_fn write, ZMR3_flush_fn flush)
{
    if (file == nullptr)
        return 1;
    file->stream = stream;
    file->write = write;
    file->flush = flush;
    return stream == nullptr || write == nullptr || flush == nullptr ? 1 : 0;
}
