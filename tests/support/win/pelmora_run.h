#pragma once
// A running Pelmora.exe for end-to-end tests: started, its main window found, and at the
// end closed through its window (or ended) so no copy outlives the test.
#include <windows.h>

#include <memory>

#include "support/test_paths.h"
#include "support/win/process.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"

namespace pelmora::test {

class PelmoraRun {
 public:
  // Starts the program built next to the tests, or the given program file.
  explicit PelmoraRun(const std::wstring& program = PelmoraProgramPath())
      : process_(std::make_unique<Process>(program)) {
    if (!process_->Started()) return;
    WaitUntil([&] {
      main_ = FindProcessWindow(process_->Id(), L"PelmoraMainWindow", true);
      return main_ != nullptr || !process_->Running();
    }, 20000);
  }
  ~PelmoraRun() {
    if (process_->Running() && main_ && ::IsWindow(main_)) {
      ::PostMessageW(main_, WM_CLOSE, 0, 0);
      process_->WaitForExit(10000);
    }
  }
  PelmoraRun(const PelmoraRun&) = delete;
  PelmoraRun& operator=(const PelmoraRun&) = delete;

  Process& process() { return *process_; }
  // The visible main window, or null when it did not appear.
  HWND main() const { return main_; }
  HWND Find(const wchar_t* class_name, bool visible_only = true) const {
    return FindProcessWindow(process_->Id(), class_name, visible_only);
  }
  // Closes the main window as its close box does and returns the exit code, if the
  // process ended within the time.
  std::optional<DWORD> Close() {
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    return process_->WaitForExit(10000);
  }

 private:
  std::unique_ptr<Process> process_;
  HWND main_ = nullptr;
};

// The folder for screenshots of the running program.
inline std::filesystem::path ScreenshotPath(const char* name) {
  return BuildPath("screenshots/" + std::string(name));
}

}  // namespace pelmora::test
