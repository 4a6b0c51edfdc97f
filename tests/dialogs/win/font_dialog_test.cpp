#include "dialogs/win/font_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "base/sjis.h"
#include "base/win/text.h"
#include "dialogs/dialog_position.h"
#include "support/test_paths.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/screenshot.h"
#include "support/win/window_query.h"

namespace pelmora {
namespace {

constexpr int kFaceList = 1136;
constexpr int kColorList = 1139;
constexpr int kScriptList = 1140;

// Runs the dialog; once it stands, act(dialog) runs on the watcher's thread and then the
// dialog's button is pressed.
bool RunDriven(TFontDialog& dialog, int button, const std::function<void(HWND)>& act) {
  return test::Watched([&] { return dialog.Execute(); },
                       [&](test::Watcher& watcher) {
                         HWND box = watcher.WaitFor(L"#32770");
                         ASSERT_NE(box, nullptr);
                         if (act) act(box);
                         ASSERT_TRUE(test::PressDialogButton(box, button));
                         ASSERT_TRUE(watcher.WaitGone(box));
                       });
}

// The record size the platform passed on to the font dialog, read from the WM_INITDIALOG
// that carries the record to the dialog (a thread hook, so the dialog's code is not asked).
class RecordSizeWatch {
 public:
  RecordSizeWatch()
      : hook_(::SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, ::GetCurrentThreadId())) {
    seen_ = 0;
  }
  ~RecordSizeWatch() { ::UnhookWindowsHookEx(hook_); }
  RecordSizeWatch(const RecordSizeWatch&) = delete;
  RecordSizeWatch& operator=(const RecordSizeWatch&) = delete;

  bool Hooked() const { return hook_ != nullptr; }
  DWORD Seen() const { return seen_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && seen_ == 0 && call->message == WM_INITDIALOG && call->lParam != 0) {
      seen_ = reinterpret_cast<const CHOOSEFONTW*>(call->lParam)->lStructSize;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }

  HHOOK hook_;
  static inline DWORD seen_ = 0;
};

TEST(FontDialogTest, ConfirmWithoutTouchingKeepsColourCodeAndStyle) {
  TFontDialog dialog;
  EXPECT_EQ(dialog.Font().color, 0x80000008u);
  EXPECT_EQ(dialog.Font().name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(dialog.Font().height, -12);
  EXPECT_EQ(dialog.Font().charset, 128);
  dialog.Font().style = fsBold | fsItalic;

  RECT bounds{};
  RecordSizeWatch record_size;
  ASSERT_TRUE(record_size.Hooked());
  const bool confirmed = RunDriven(dialog, IDOK, [&](HWND box) {
    ::GetWindowRect(box, &bounds);
    test::SaveWindowScreenshot(box, test::BuildPath("screenshots/font_dialog.png"));
  });
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(record_size.Seen(), sizeof(CHOOSEFONTW));
  EXPECT_EQ(dialog.Font().color, 0x80000008u);
  EXPECT_EQ(LowerCaseAscii(dialog.Font().name), LowerCaseAscii("ＭＳ Ｐゴシック"));
  EXPECT_EQ(dialog.Font().charset, 128);
  EXPECT_EQ(dialog.Font().style, fsBold | fsItalic);
  // Designed as 12 pixels at 96 pixels per inch: 9 points at the session's scale.
  EXPECT_EQ(dialog.Font().height, -test::Scaled(12));
  EXPECT_EQ(dialog.FontSize(), 9);

  // No form of the program is up, so it stands on the primary monitor.
  const DialogOrigin expected =
      test::CentredOnMonitorOf(nullptr, bounds, VerticalPlace::UpperThird);
  EXPECT_EQ(bounds.left, expected.left);
  EXPECT_EQ(bounds.top, expected.top);
}

TEST(FontDialogTest, PickedColourAndFaceComeBack) {
  {
    // A colour picked in the colour list replaces the window-text code.
    TFontDialog dialog;
    COLORREF picked = 0;
    ASSERT_TRUE(RunDriven(dialog, IDOK, [&](HWND box) {
      EXPECT_TRUE(test::ChooseInDialogList(box, kColorList, 1));
      picked = static_cast<COLORREF>(::SendDlgItemMessageW(box, kColorList, CB_GETITEMDATA, 1, 0));
    }));
    EXPECT_EQ(dialog.Font().color, picked);
    EXPECT_EQ(dialog.Font().charset, 128);
  }
  {
    // Another face brings its character set along although the script list was not
    // touched; the colour code stays.
    TFontDialog dialog;
    dialog.Font().charset = 0;  // ANSI, so a face's own (Shift-JIS) set shows as a change
    std::wstring face;
    int script = -1;
    ASSERT_TRUE(RunDriven(dialog, IDOK, [&](HWND box) {
      HWND faces = ::GetDlgItem(box, kFaceList);
      const int count = static_cast<int>(::SendMessageW(faces, CB_GETCOUNT, 0, 0));
      const std::wstring current = test::WindowText(faces);
      for (int i = 0; i < count; ++i) {
        wchar_t text[LF_FACESIZE + 8] = {};
        if (::SendMessageW(faces, CB_GETLBTEXTLEN, i, 0) >= LF_FACESIZE) continue;
        ::SendMessageW(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        if (::lstrcmpiW(text, current.c_str()) != 0 && text[0] != L'@') {
          EXPECT_TRUE(test::ChooseInDialogList(box, kFaceList, i));
          face = text;
          break;
        }
      }
      HWND scripts = ::GetDlgItem(box, kScriptList);
      const LRESULT selected = ::SendMessageW(scripts, CB_GETCURSEL, 0, 0);
      if (selected >= 0) {
        script = static_cast<int>(::SendMessageW(scripts, CB_GETITEMDATA, selected, 0));
      }
    }));
    ASSERT_FALSE(face.empty());
    EXPECT_EQ(dialog.Font().name, win::SjisFromWide(face));
    if (script >= 0) {
      EXPECT_EQ(dialog.Font().charset, script);
    }
    EXPECT_EQ(dialog.Font().color, 0x80000008u);
  }
}

TEST(FontDialogTest, CancelKeepsTheFont) {
  TFontDialog dialog;
  dialog.Font().height = -20;
  dialog.Font().color = 0x000000FF;
  EXPECT_FALSE(RunDriven(dialog, IDCANCEL, [&](HWND box) {
    EXPECT_TRUE(test::ChooseInDialogList(box, kColorList, 2));
  }));
  EXPECT_EQ(dialog.Font().height, -20);
  EXPECT_EQ(dialog.Font().color, 0x000000FFu);
  EXPECT_EQ(dialog.Font().name, "ＭＳ Ｐゴシック");
}

}  // namespace
}  // namespace pelmora
