#pragma once
// Only one copy of the program runs in the user's logon: a named mutex marks the running
// copy.
#include "base/win/handles.h"

namespace pelmora {

inline constexpr char kInstanceMutexName[] = "EX_Mutex";

struct InstanceGuard {
  // True when another copy holds the mutex: this copy must end at once, silently.
  bool another_copy_running = false;
  // This copy's mutex, held for the life of the process (empty when another copy runs or
  // when the system could not create it; the program then runs without the guard).
  win::UniqueKernelHandle mutex;
};

// Looks for the mutex first and creates it only when none was found.
InstanceGuard AcquireInstanceGuard(const char* name = kInstanceMutexName);

}  // namespace pelmora
