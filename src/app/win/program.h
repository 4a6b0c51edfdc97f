#pragma once
// The program as it runs: what start-up sets for the whole process before any window exists
// (the display's facts, the program's clipboard formats, the JPEG image kind), the
// application's hidden window, the owners it stands for (of the clipboard, the error boxes
// and the dialogs), the main window and the about window. Made in the order start-up needs
// and undone in reverse; nothing else sets what the process shares.
#include <windows.h>

#include "app/win/about_window.h"
#include "app/win/application.h"
#include "app/win/main_window.h"
#include "base/win/error_display.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/dialog_host.h"
#include "raster/screen.h"

namespace pelmora {

class Program {
 public:
  explicit Program(HINSTANCE instance);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  TApplication& Application() { return application_; }
  MainWindow& Window() { return main_window_; }
  AboutWindow& About() { return about_window_; }

  // Shows the main window and runs the message loop until the program ends.
  int Run(int show_command);

 private:
  // The program's own clipboard formats and the JPEG image kind, whose decoded depth
  // follows the screen.
  struct Registries {
    Registries();
    ~Registries();
    Registries(const Registries&) = delete;
    Registries& operator=(const Registries&) = delete;
  };

  raster::ScopedScreen screen_;
  Registries registries_;
  TApplication application_;
  win::ErrorDisplayOwnership error_display_owner_;
  ClipboardOwnerWindow clipboard_owner_;
  AboutWindow about_window_;
  MainWindow main_window_;
  win::DialogWindows dialog_windows_;
};

// Starts the program, shows its main window and runs it until it ends; a failure of the
// start is shown like any other error, under the application title. Returns the exit code.
int RunProgram(HINSTANCE instance, int show_command);

}  // namespace pelmora
