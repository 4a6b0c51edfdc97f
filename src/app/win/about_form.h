#pragma once
// The about window: the program's version and where to find new versions and the author.
// Created hidden, shown modally, hidden again on close and shown unchanged the next time.
#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace pelmora {

class TApplication;

class TForm2 {
 public:
  explicit TForm2(TApplication& application);
  ~TForm2();
  TForm2(const TForm2&) = delete;
  TForm2& operator=(const TForm2&) = delete;

  HWND Handle() const { return window_.Get(); }

  // Shows the window and returns when the user closes it; the program's other windows are
  // disabled meanwhile. Calling it while it is up does nothing.
  void ShowModal();

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void CreateControls(HWND window);
  HWND AddControl(HWND parent, const wchar_t* window_class, const std::string& text,
                  DWORD style, const RECT& bounds);

  win::UniqueFont font_;
  bool modal_ = false;
  bool close_requested_ = false;
  win::UniqueWindow window_;
};

}  // namespace pelmora
