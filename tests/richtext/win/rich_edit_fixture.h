#pragma once
// A text view inside a parent window of the test's own, which hands the view its
// notifications, and scratch files for the view to load and save.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/win/text.h"
#include "richtext/win/rich_edit.h"
#include "support/temp_folder.h"

namespace pelmora::test {

class RichEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const ATOM parent_class = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &ParentProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"PelmoraRichEditTestParent";
      return ::RegisterClassW(&wc);
    }();
    ASSERT_NE(parent_class, 0);
    parent_ = ::CreateWindowExW(0, L"PelmoraRichEditTestParent", L"rich edit test",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 460, 300, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    view_ = std::make_unique<TRichEdit>(parent_, RECT{0, 0, 424, 231});
    notified_view_ = view_.get();
  }

  void TearDown() override {
    notified_view_ = nullptr;
    view_.reset();
    if (parent_) ::DestroyWindow(parent_);
  }

  HWND Control() const { return view_->Handle(); }
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return ::SendMessageW(view_->Handle(), message, wparam, lparam);
  }

  // The control's text as it gives it, and the same in Shift-JIS for the tests' own strings.
  std::wstring WideText() const {
    const LRESULT length = Send(WM_GETTEXTLENGTH);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
  }
  std::string Text() const { return win::SjisFromWide(WideText()); }

  void SetText(const char* text) {
    const std::wstring wide = win::WideFromSjis(text);
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }

  void Select(LONG start, LONG end) {
    CHARRANGE range{start, end};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }

  CHARRANGE Selection() const {
    CHARRANGE range{-2, -2};
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
  }

  // The format of the selection (SCF_SELECTION) or the default format (0).
  CHARFORMAT2W Format(WPARAM target) const {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    Send(EM_GETCHARFORMAT, target, reinterpret_cast<LPARAM>(&format));
    return format;
  }

  HWND parent_ = nullptr;
  std::unique_ptr<TRichEdit> view_;

 private:
  static inline TRichEdit* notified_view_ = nullptr;

  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NOTIFY && notified_view_) {
      LRESULT result = 0;
      if (notified_view_->HandleNotify(*reinterpret_cast<const NMHDR*>(lparam), result)) {
        return result;
      }
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
};

// A file name in a scratch folder of the tests (Shift-JIS), removed at the end.
class TempFile {
 public:
  explicit TempFile(const std::string& name) {
    static const std::wstring folder = test::EmptyTempFolder(L"pelmora-richtext").native();
    path_ = win::SjisFromWide(folder) + "\\" + name;
    Remove();
  }
  ~TempFile() { Remove(); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& Path() const { return path_; }
  bool Remove() const { return ::DeleteFileW(win::WideFromSjis(path_).c_str()) != 0; }

 private:
  std::string path_;
};

}  // namespace pelmora::test
