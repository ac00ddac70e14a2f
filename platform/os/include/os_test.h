#pragma once
// Test controls of the OS layer. Tests only; production code never includes this header.

namespace os {
namespace test {

// Delay of the abort timer in milliseconds; 5000 unless a test changes it.
int GetAbortTimerDelay();
void SetAbortTimerDelay(int milliseconds);

// While set, the machine, user, process and path queries answer false, as when the platform
// cannot answer them.
void SetQueriesFail(bool fail);

// How many system calls the fault recovery has made to install handlers or alternate stacks or
// to ask for them, in the life of the process.
long GetSignalSetupCount();

}  // namespace test
}  // namespace os
