#include "app/win/instance_guard.h"

#include <windows.h>

namespace pelmora {

InstanceGuard AcquireInstanceGuard(const char* name) {
  InstanceGuard guard;
  // MUTEX_ALL_ACCESS: a handle is only asked for to learn whether the name exists.
  win::UniqueKernelHandle existing(::OpenMutexA(0x1F0001, FALSE, name));
  if (existing) {
    guard.another_copy_running = true;
    return guard;  // the handle is closed here
  }
  guard.mutex = win::UniqueKernelHandle(::CreateMutexA(nullptr, FALSE, name));
  return guard;
}

}  // namespace pelmora
