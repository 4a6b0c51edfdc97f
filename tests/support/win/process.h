#pragma once
// Starting Pelmora.exe from the Windows tests; a copy still running when its owner goes
// out of scope is ended, so no test leaves a process behind.
#include <windows.h>

#include <optional>
#include <string>

#include "base/win/handles.h"

namespace pelmora::test {

class Process {
 public:
  // Starts the program file with the arguments; check Started().
  explicit Process(const std::wstring& program, const std::wstring& arguments = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  bool Running() const;
  // The exit code once the process has ended within timeout_ms; nothing if it has not.
  std::optional<DWORD> WaitForExit(DWORD timeout_ms);

 private:
  win::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// The path of the Pelmora.exe built next to the tests, in the platform's form.
std::wstring PelmoraProgramPath();

}  // namespace pelmora::test
