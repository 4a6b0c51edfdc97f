#pragma once
// Bounded waiting for the Windows tests: nothing waits without a deadline.
#include <windows.h>

#include <functional>

namespace pelmora::test {

// Dispatches this thread's messages and polls condition until it holds or timeout_ms
// have passed; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = 10000);

// Dispatches this thread's pending messages for a while.
void PumpMessages(DWORD duration_ms = 50);

// Dispatches this thread's messages until none is waiting (for at most timeout_ms): what
// the messages already queued make the window do has then been done.
bool DrainMessages(DWORD timeout_ms = 5000);

}  // namespace pelmora::test
