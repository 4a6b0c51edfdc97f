// The program's entry point: one copy at a time, then the program.
#include <windows.h>

#include "app/win/instance_guard.h"
#include "app/win/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  using namespace pelmora;
  const InstanceGuard guard = AcquireInstanceGuard();
  if (guard.another_copy_running) return 0;
  RunProgram(instance, show_command);
  return 0;
}
