#pragma once
// The about window: the program's version and where to find new versions and the author.
// Created hidden, shown modally, hidden again on close and shown unchanged the next time.
#include <windows.h>

#include <string>
#include <vector>

#include "base/win/handles.h"

namespace pelmora {

class TApplication;

class AboutWindow {
 public:
  explicit AboutWindow(TApplication& application);
  ~AboutWindow();
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;

  HWND Handle() const { return window_.Get(); }
  // The scale the window is drawn at: the pixels per inch of its monitor.
  int PixelsPerInch() const { return pixels_per_inch_; }

  // Shows the window and returns when the user closes it; the program's other windows are
  // disabled meanwhile. Calling it while it is up does nothing.
  void ShowModal();

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void CreateControls(HWND window);
  // The font, and the controls' places and sizes, for pixels_per_inch.
  void LayOut(int pixels_per_inch);
  // The window came to a monitor of another scale: it takes the place the system suggests.
  void OnDpiChanged(int pixels_per_inch, const RECT& suggested);

  win::UniqueFont font_;
  int pixels_per_inch_ = 0;
  HWND group_ = nullptr;
  std::vector<HWND> labels_;
  bool modal_ = false;
  bool close_requested_ = false;
  win::UniqueWindow window_;
};

}  // namespace pelmora
