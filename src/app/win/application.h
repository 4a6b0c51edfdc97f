#pragma once
// The application object: its hidden window, which carries the title and the taskbar
// button and owns the program's other windows, and the message loop.
#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace pelmora {

class TApplication {
 public:
  explicit TApplication(HINSTANCE instance);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HINSTANCE Instance() const { return instance_; }
  // The hidden window: the owner of the program's top-level windows.
  HWND Handle() const { return window_.Get(); }
  // Derived from the program file's name; the caption of the hidden window and of every
  // error box.
  const std::string& Title() const { return title_; }

  // The window whose closing ends the program; the main window registers itself.
  void SetMainWindow(HWND window);
  HWND MainWindowHandle() const { return main_window_; }

  // Shows the hidden window's taskbar button; call once the main window is shown.
  void ShowTaskbarButton();
  // Minimises the program to its taskbar button; restoring it from there shows the main
  // window again.
  void Minimize();
  // Runs the message loop until Terminate; returns the exit code.
  int Run();
  // Ends the message loop.
  void Terminate();

  // The hidden window's messages (through win::AttachedWindowProc).
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  HINSTANCE instance_;
  std::string title_;
  win::UniqueWindow window_;
  HWND main_window_ = nullptr;
};

}  // namespace pelmora
