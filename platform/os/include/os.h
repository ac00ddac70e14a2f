#pragma once
// The operating-system facilities the toolkit relies on: a performance counter, facts about
// the machine, user and process, case-insensitive comparisons, paths and the working
// directory, environment variables, UTF-16 text, fault recovery and the abort timer.
// Every query that can fail answers false and leaves its output empty; nothing throws.

#include <csetjmp>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace os {

// --- Clock -------------------------------------------------------------------------------

// Current value of the monotonic performance counter, in ticks.
std::int64_t QueryPerformanceCounter();
// Ticks of the performance counter per second (always positive).
std::int64_t QueryPerformanceFrequency();

// --- Machine, user and process -------------------------------------------------------------

// Network name of this machine; false when it cannot be read.
bool GetComputerName(std::string& name);
// Login name of the user running the process; false when it cannot be read.
bool GetUserName(std::string& name);
// Full path of the running executable; false when it cannot be read.
bool GetModuleFileName(std::string& path);
// Name and release of the operating system ("Linux 6.1.0-..."); false when it cannot be read.
bool GetOsVersion(std::string& text);
// Value of an environment variable; false (value emptied) when it is not set or name is null.
bool GetEnvironmentVariable(const char* name, std::string& value);

// --- Text ----------------------------------------------------------------------------------

// Compares ignoring ASCII letter case: <0, 0 or >0 like strcmp. Both pointers must be valid.
int CompareNoCase(const char* a, const char* b);
// As CompareNoCase over at most count characters; a shorter string compares up to its end.
int CompareNoCaseN(const char* a, const char* b, std::size_t count);
// True when the bytes look like UTF-16 (little-endian) text: a byte-order mark FF FE, or mostly
// zero high bytes in an even-length buffer. A null or empty buffer is not UTF-16.
bool IsTextUnicode(const void* bytes, std::size_t size);
// Converts count UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
// False (output emptied) for a null text with a non-zero count.
bool WideToMultiByte(const char16_t* text, std::size_t count, std::string& utf8);
// Appends the UTF-8 form of one code point (at most U+10FFFF) to `out`.
void AppendUtf8(std::string& out, char32_t c);

// --- Paths and the working directory -------------------------------------------------------

// Absolute, lexically normalised form of a path (the file need not exist); a relative path is
// taken against the working directory. False for a null path or when it cannot be formed.
bool GetFullPath(const char* path, std::string& fullPath);
// The process's working directory; false when it cannot be read.
bool GetWorkingDirectory(std::string& directory);
// Makes a directory the working directory; false (nothing changed) for a null or bad path.
bool ChangeDirectory(const char* directory);

// --- Files written by appending -----------------------------------------------------------
//
// A file that grows by appended pieces and keeps each one the moment it is appended, without a
// system call per piece: a regular file is written through a mapping of it, so what is appended
// is in the system's page cache at once and outlives a crash of the process. The file grows on
// the disk a large chunk at a time, and a helper thread makes the pages just ahead of the end
// ready, so that the appending thread neither waits for the disk's space nor for fresh memory
// (which a virtual machine makes dear). Close (or the destructor, at the latest when the process
// exits) cuts the file to what was appended; after a crash the file ends in zero bytes where the
// appending stopped. A file that cannot be mapped (a device, a pipe) is written with one system
// call per piece instead.
class AppendFile {
public:
    AppendFile();
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Creates or empties the file; false when it cannot be opened for writing or one is open.
    bool Open(const char* path);
    // False when the file could not take the piece (nothing open, no room on the disk).
    bool Append(const char* data, std::size_t size);
    // Cuts the file to its content and closes it; false when none is open or that failed.
    bool Close();
    bool IsOpen() const { return m_descriptor >= 0; }
    // Bytes appended since Open.
    std::uint64_t GetSize() const { return m_size; }

private:
    struct Mapping;
    bool AppendWritten(const char* data, std::size_t size);

    int m_descriptor = -1;
    std::uint64_t m_size = 0;
    std::unique_ptr<Mapping> m_mapping;  // null when the file is written piece by piece
};

// --- Fault recovery ------------------------------------------------------------------------
//
// A RecoveryScope lets a call survive a hardware fault or an abort raised inside it:
//
//     os::RecoveryScope scope;
//     if (OS_RECOVERY_POINT(scope) != 0) {
//         // back here after SIGSEGV, SIGBUS, SIGILL, SIGFPE or SIGABRT (scope.GetSignal() says
//         // which), or after JumpToRecoveryPoint; the frames in between are abandoned
//         // without running their destructors.
//     }
//
// OS_RECOVERY_POINT sets the scope's point; from then until the scope ends, any of the five
// signals on this thread jumps back to the point, with the signal mask the thread had when the
// signal came. Scopes nest: an inner scope is the current one while it lives, and the outer one
// becomes current again when it ends.
//
// A system call would cost the toolkit's calls more than the rest of their frame, so setting a
// point and ending a scope make none; the handlers and the alternate stacks go in once:
//  - the process's first point installs our handlers (on an alternate signal stack, so a stack
//    overflow is caught too) and they stay. A signal on a thread with no point set goes on to
//    what the application had installed before them: its own handler, or the default action
//    (the same end of the process, core dump included), or the sanitizer's report;
//  - a handler the application installs over ours later (a crash reporter) comes first; faults
//    inside a call stay contained when it hands a signal it does not want on to the handler it
//    replaced, as such handlers do;
//  - a thread's first point gives the thread an alternate stack of ours unless it has one of
//    its own of at least 64 KB, which is used as it is; an own stack that ours replaced is put
//    back when the thread ends.
// A handler never returns into the faulting code: SIGABRT raised by abort() would otherwise end
// the process. When the process ends (or the library is unloaded) the handlers the application
// had are put back where ours are still in place.
//
// Under AddressSanitizer our handlers stand in front of the sanitizer's SIGSEGV/SIGBUS/SIGFPE
// handlers (allowed by its default allow_user_segv_handler=1); faults outside any scope still
// reach the sanitizer's report.

// Called in the signal handler before the jump back; may itself jump (JumpToRecoveryPoint) or
// return, after which the handler jumps back with the signal.
using FaultHook = void (*)(int signal, void* context);

class RecoveryScope {
public:
    RecoveryScope();
    ~RecoveryScope();
    RecoveryScope(const RecoveryScope&) = delete;
    RecoveryScope& operator=(const RecoveryScope&) = delete;

    // Makes sure the handlers are in place and returns the jump buffer; use through
    // OS_RECOVERY_POINT.
    sigjmp_buf& Arm();
    // The last signal whose handler ran for this scope, 0 when none did (a jump made by
    // JumpToRecoveryPoint outside a handler leaves it 0).
    int GetSignal() const { return m_signal; }
    // Hook run inside the handler of this scope before its jump back (null: none).
    void SetFaultHook(FaultHook hook, void* context);

    // The innermost live scope of this thread, null when none.
    static RecoveryScope* GetCurrent();

private:
    friend struct FaultHandling;
    sigjmp_buf m_jump;
    RecoveryScope* m_outer;
    volatile int m_signal = 0;
    bool m_armed = false;
    FaultHook m_hook = nullptr;
    void* m_hookContext = nullptr;
    bool m_restoreMask = false;
    sigset_t m_faultMask;
};

// The signal mask is not saved here (a system call per point): a jump from a handler puts back
// the mask of the interrupted code instead.
#define OS_RECOVERY_POINT(scope) sigsetjmp((scope).Arm(), 0)

// Jumps to the current armed recovery point, making OS_RECOVERY_POINT answer code (a code of 0
// is answered as 1). Returns false, doing nothing, when no point is set on this thread.
bool JumpToRecoveryPoint(int code);

// --- The abort timer -----------------------------------------------------------------------

using TimerProc = void (*)();

// Starts the one-shot abort timer (5000 ms): when it expires, proc runs once on the thread that
// started it, as a handler of the real-time signal SIGRTMIN + 2 (it may call
// JumpToRecoveryPoint). A running timer is replaced. False when the timer cannot be made or
// proc is null.
bool StartAbortTimer(TimerProc proc);
// Stops and removes the abort timer; nothing when none is running. Safe inside proc.
void CancelAbortTimer();
// True between StartAbortTimer and the timer's expiry or CancelAbortTimer.
bool IsAbortTimerRunning();

}  // namespace os
