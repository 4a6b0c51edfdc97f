#pragma once
// The program's main window for the Windows benchmarks, started as the program starts it
// (its clipboard formats and the JPEG image kind first) and shown; put away at the end.
#include <windows.h>

#include <memory>

#include "app/win/application.h"
#include "app/win/main_window.h"
#include "clipboard/win/clipboard.h"
#include "picture/jpeg_image.h"

#include "measure.h"

namespace pelmora::bench {

class StartedProgram {
 public:
  StartedProgram() {
    TClipboard::SetApplicationWindow(application_.Handle());
    window_ = std::make_unique<MainWindow>(application_);
    window_->Show();
    PumpMessages();
  }
  ~StartedProgram() {
    window_.reset();
    TClipboard::SetApplicationWindow(nullptr);
    DoneJpegImageKind();
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  MainWindow& window() { return *window_; }

 private:
  // Before any window exists.
  struct Kinds {
    Kinds() {
      RegisterClipboardFormats();
      InitJpegImageKind(32);
    }
  } kinds_;
  TApplication application_{::GetModuleHandleW(nullptr)};
  std::unique_ptr<MainWindow> window_;
};

}  // namespace pelmora::bench
