#include "os.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace os {

namespace {

// The file grows on the disk by what it holds already, in steps of at least s_step and at most
// s_chunk: a short journal reserves (and gives back at its close) little, a long one grows once
// per some hundred thousand records, and a crash leaves at most s_chunk of zeros behind. The
// least step spans whole large pages: the kernel makes pages near the file's end in small
// pieces only, at several times the cost.
constexpr std::uint64_t s_step = 4u << 20;
constexpr std::uint64_t s_chunk = 32u << 20;
// The address range the file is mapped into, once: a file never outgrows it.
constexpr std::uint64_t s_span = std::uint64_t(1) << 36;
// How far ahead of the end of the content the helper keeps pages ready; it is asked again when
// the end has come halfway. Making a page ready costs far more than filling it on some virtual
// machines (about what a dozen short records take to write), so the helper needs a lead that a
// busy machine cannot eat up; but every page made ready past the end of a journal when it
// closes is work thrown away, so the lead grows with the content, from s_leastAhead to
// s_mostAhead, and stays a small part of what was written.
constexpr std::uint64_t s_leastAhead = 64u << 10;
constexpr std::uint64_t s_mostAhead = 4u << 20;
// What Open makes ready itself before it returns, so that the first records of a new file
// never wait for pages the helper has not reached yet.
constexpr std::uint64_t s_readyAtOpen = 64u << 10;

std::uint64_t Lead(std::uint64_t end) { return std::min(s_mostAhead, std::max(s_leastAhead, end / 8)); }

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t unit) { return (value + unit - 1) / unit * unit; }

bool WriteAll(int descriptor, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

// The mapping of a regular file, shared by the appending thread and the helper.
struct AppendFile::Mapping {
    int descriptor = -1;
    char* base = nullptr;
    std::uint64_t page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    std::atomic<std::uint64_t> reserved{0};  // the file's length on the disk
    std::atomic<std::uint64_t> end{0};       // of the content, as the appending thread left it
    std::uint64_t asked = 0;                 // the appending thread's last request
    std::mutex growing;
    std::mutex mutex;
    std::condition_variable wake;
    std::uint64_t wanted = 0;  // under mutex: pages ready up to here
    std::uint64_t ready = 0;   // the helper's own once it runs: pages made ready so far
    std::uint64_t released = 0;  // the helper's own: pages let go of below here
    bool stop = false;         // under mutex
    std::thread helper;

    // The file at least length long on the disk, its blocks reserved, so that writing through
    // the mapping cannot run out of disk (which would end the process rather than fail).
    bool Reserve(std::uint64_t length)
    {
        if (length <= reserved.load(std::memory_order_acquire))
            return true;
        std::lock_guard<std::mutex> lock(growing);
        const std::uint64_t from = reserved.load(std::memory_order_relaxed);
        if (length <= from)
            return true;
        const std::uint64_t to = RoundUp(std::max(length, from + std::min(s_chunk, from)), s_step);
        if (fallocate(descriptor, 0, static_cast<off_t>(from), static_cast<off_t>(to - from)) != 0 &&
            ((errno != EOPNOTSUPP && errno != ENOSYS) || ftruncate(descriptor, static_cast<off_t>(to)) != 0))
            return false;
        reserved.store(to, std::memory_order_release);
        return true;
    }

    void Ask(std::uint64_t upTo)
    {
        asked = upTo;
        {
            std::lock_guard<std::mutex> lock(mutex);
            wanted = upTo;
        }
        wake.notify_one();
    }

    // Makes each page from..to ready for writing, so that its memory and its mapping (the
    // shadow one of a virtual machine included) are made here and not in the appending thread:
    // in one system call where the kernel can, else by touching each page once. The touch adds
    // nothing to the byte and is one locked instruction, so a page the appending thread
    // reaches meanwhile keeps what it writes there.
    void MakeReady(std::uint64_t from, std::uint64_t to)
    {
        from = from / page * page;
        to = std::min(RoundUp(to, page), reserved.load(std::memory_order_acquire));
        if (from >= to)
            return;
#ifdef MADV_POPULATE_WRITE
        if (madvise(base + from, to - from, MADV_POPULATE_WRITE) == 0)
            return;
#endif
        for (std::uint64_t at = from; at < to; at += page)
            __atomic_fetch_or(base + at, 0, __ATOMIC_RELAXED);
    }

    // The helper: makes the pages ahead of the content ready. Whole pages behind the end are
    // let go of: their content stays in the file and the page cache, and the process's memory
    // does not grow with the file.
    void Prepare()
    {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        for (;;) {
            std::uint64_t target = 0;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return stop || wanted > ready; });
                if (stop)
                    return;
                target = std::min(wanted, s_span);
            }
            if (!Reserve(target)) {
                ready = target;  // the appending thread meets the full disk itself
                continue;
            }
            const std::uint64_t written = end.load(std::memory_order_acquire);
            const std::uint64_t from = RoundUp(written, page);
            MakeReady(std::max(ready, from), target);
            ready = target;
            const std::uint64_t behind = written / page * page;
            if (behind >= released + s_mostAhead && madvise(base + released, behind - released, MADV_DONTNEED) == 0)
                released = behind;
        }
    }
};

AppendFile::AppendFile() = default;

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Open(const char* path)
{
    if (IsOpen() || !path)
        return false;
    int descriptor = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0)
        descriptor = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    m_descriptor = descriptor;
    m_size = 0;
    struct stat facts {};
    if ((fcntl(descriptor, F_GETFL) & O_ACCMODE) != O_RDWR || fstat(descriptor, &facts) != 0 ||
        !S_ISREG(facts.st_mode))
        return true;
    void* base = mmap(nullptr, s_span, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_NORESERVE, descriptor, 0);
    if (base == MAP_FAILED)
        return true;
    // Pages made ready a large piece at a time cost far less each than one by one (above all
    // in the first megabytes of a file, where the kernel would otherwise start small); the
    // hint is only a hint, and a kernel without it makes them one by one.
    madvise(base, s_span, MADV_HUGEPAGE);
    m_mapping = std::make_unique<Mapping>();
    m_mapping->descriptor = descriptor;
    m_mapping->base = static_cast<char*>(base);
    if (m_mapping->Reserve(s_readyAtOpen)) {
        m_mapping->MakeReady(0, s_readyAtOpen);
        m_mapping->ready = s_readyAtOpen;
    }
    try {
        m_mapping->helper = std::thread([mapping = m_mapping.get()] { mapping->Prepare(); });
        m_mapping->Ask(s_readyAtOpen + s_leastAhead);
    } catch (const std::system_error&) {
        // Without a helper the appending thread makes its pages ready itself.
    }
    return true;
}

bool AppendFile::AppendWritten(const char* data, std::size_t size)
{
    if (!WriteAll(m_descriptor, data, size))
        return false;
    m_size += size;
    return true;
}

bool AppendFile::Append(const char* data, std::size_t size)
{
    if (!IsOpen())
        return false;
    if (!m_mapping)
        return AppendWritten(data, size);
    Mapping& mapping = *m_mapping;
    const std::uint64_t end = m_size + size;
    if (end > s_span || !mapping.Reserve(end))
        return false;
    std::memcpy(mapping.base + m_size, data, size);
    m_size = end;
    mapping.end.store(end, std::memory_order_release);
    if (mapping.helper.joinable()) {
        const std::uint64_t lead = Lead(end);
        if (end + lead / 2 > mapping.asked)
            mapping.Ask(end + lead);
    }
    return true;
}

bool AppendFile::Close()
{
    if (!IsOpen())
        return false;
    bool closed = true;
    if (m_mapping) {
        Mapping& mapping = *m_mapping;
        if (mapping.helper.joinable()) {
            {
                std::lock_guard<std::mutex> lock(mapping.mutex);
                mapping.stop = true;
            }
            mapping.wake.notify_one();
            mapping.helper.join();
        }
        munmap(mapping.base, s_span);
        closed = ftruncate(m_descriptor, static_cast<off_t>(m_size)) == 0;
        m_mapping.reset();
    }
    closed = close(m_descriptor) == 0 && closed;
    m_descriptor = -1;
    m_size = 0;
    return closed;
}

}  // namespace os
