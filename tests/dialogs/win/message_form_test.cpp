#include "dialogs/win/message_form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/errors.h"
#include "base/strings.h"
#include "base/win/text.h"
#include "dialogs/message_box_layout.h"
#include "support/test_paths.h"
#include "support/win/clipboard_holder.h"
#include "support/win/clipboard_text.h"
#include "support/win/input.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/screenshot.h"
#include "support/win/window_query.h"
#include "support/win/wait.h"

namespace pelmora {
namespace {

constexpr char kDashes[] = "---------------------------";  // 27

using test::ClipboardText;
using test::ClipboardWideText;

void PutOnClipboard(const char* text) { ASSERT_TRUE(test::PutClipboardText(text)); }

TEST(MessageFormTest, CopyPlacesTheFramedTextByteForByte) {
  {
    TMessageForm form(strings::kFileWriteError, "Dialogs_win_tests");
    const std::string expected = std::string(kDashes) + "\r\nDialogs_win_tests\r\n" + kDashes +
                                 "\r\n\x83\x74\x83\x40\x83\x43\x83\x8B\x8F\x91\x82\xAB\x8D\x9E"
                                 "\x82\xDD\x83\x47\x83\x89\x81\x5B\r\n" +
                                 kDashes + "\r\nOK   \r\n" + kDashes + "\r\n";
    EXPECT_EQ(form.ClipboardText(), expected);
    PutOnClipboard("before");
    form.CopyToClipboard();
    EXPECT_EQ(ClipboardText(), expected);
    // The same text as UTF-16, whatever the system's code page.
    EXPECT_EQ(ClipboardWideText(), win::WideFromSjis(expected));
  }
  {
    // Held by someone else: the clipboard's own error, and the content stays.
    PutOnClipboard("before");
    TMessageForm form("text", "Caption");
    test::ClipboardHolder holder;
    ASSERT_TRUE(holder.Held());
    try {
      form.CopyToClipboard();
      ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), strings::kCannotOpenClipboard);
    }
  }
  EXPECT_EQ(ClipboardText(), "before");
}

// Where a form placed its text and its button, in its client area.
struct FormLayout {
  RECT client{};
  RECT text{};
  RECT ok{};
  std::wstring button;
};

FormLayout LayoutOf(const TMessageForm& form) {
  FormLayout layout;
  HWND button = ::GetDlgItem(form.Handle(), IDOK);
  ::GetClientRect(form.Handle(), &layout.client);
  ::GetWindowRect(::GetDlgItem(form.Handle(), TMessageForm::kMessageId), &layout.text);
  ::GetWindowRect(button, &layout.ok);
  ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&layout.text), 2);
  ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&layout.ok), 2);
  layout.button = test::WindowText(button);
  return layout;
}

TEST(MessageFormTest, LayoutWrapsLongTextAndKeepsRoomForTheButton) {
  const int wrap_width = MessageWrapWidth(::GetSystemMetrics(SM_CXSCREEN));
  {
    std::string long_text;
    for (int i = 0; i < 60; ++i) long_text += "word ";
    const FormLayout layout = LayoutOf(TMessageForm(long_text, "Caption"));
    const RECT& text = layout.text;
    const RECT& ok = layout.ok;
    EXPECT_LE(text.right - text.left, wrap_width);
    EXPECT_GT(text.right - text.left, wrap_width / 2);
    EXPECT_GE(text.bottom - text.top, 2 * (ok.bottom - ok.top) / 2);  // more than one line
    EXPECT_GT(layout.client.right, text.right - text.left);
    // The button sits centred under the text.
    EXPECT_EQ(ok.left, (layout.client.right - (ok.right - ok.left)) / 2);
    EXPECT_EQ(layout.button, L"OK");
  }
  {
    TMessageForm form("!", "Caption");
    const FormLayout layout = LayoutOf(form);
    const int margin = layout.text.left;
    EXPECT_GT(margin, 0);
    EXPECT_EQ(layout.client.right, (layout.ok.right - layout.ok.left) + 2 * margin);
    EXPECT_EQ(test::WindowText(form.Handle()), L"Caption");
  }
}

TEST(MessageFormTest, ShownModallyClosesWithOkAndCopiesOnCtrlC) {
  PutOnClipboard("before");
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                 10, 100, 80, nullptr, nullptr, nullptr, nullptr);
  ::SetActiveWindow(other);
  bool other_enabled = true;
  bool centred = false;
  std::wstring caption;
  test::Watched([&] { ShowMessage("ctrl-c test: ファイル書き込みエラー"); }, [&](test::Watcher& watcher) {
    HWND box = watcher.WaitFor(L"PelmoraMessageForm");
    ASSERT_NE(box, nullptr);
    other_enabled = ::IsWindowEnabled(other) != FALSE;
    caption = test::WindowText(box);
    // On the monitor of the form that was active, in its middle.
    RECT r{};
    ::GetWindowRect(box, &r);
    centred = test::CentredOnMonitorOf(other, r, VerticalPlace::Middle) ==
              DialogOrigin{r.left, r.top};
    test::SaveWindowScreenshot(box, test::BuildPath("screenshots/message_box.png"));
    // Watch the clipboard without opening it, so the box's own opening cannot collide.
    const DWORD sequence = ::GetClipboardSequenceNumber();
    ASSERT_TRUE(test::PressKeys(box, {VK_CONTROL, 'C'}));
    EXPECT_TRUE(test::WaitUntil([&] { return ::GetClipboardSequenceNumber() != sequence; }, 5000));
    // The copy has finished once the clipboard is closed and the box's key handler has
    // returned; an error box would be up by then.
    test::WaitUntil([] { return ::GetOpenClipboardWindow() == nullptr; }, 5000);
    ASSERT_TRUE(test::Click(::GetDlgItem(box, IDOK)));
    ASSERT_TRUE(watcher.WaitGone(box));
    EXPECT_EQ(test::FindThreadWindow(watcher.Thread(), L"#32770"), nullptr) << "an error box came up";
  });
  EXPECT_FALSE(other_enabled);
  EXPECT_TRUE(::IsWindowEnabled(other));
  EXPECT_TRUE(centred);
  EXPECT_EQ(caption, L"dialogs_win_tests");  // the first character stays as it is
  EXPECT_EQ(ClipboardText(),
            MessageBoxClipboardText("dialogs_win_tests", "ctrl-c test: ファイル書き込みエラー",
                                    {"OK"}));
  ::DestroyWindow(other);
}

TEST(MessageFormTest, CtrlCWithClipboardHeldShowsTheErrorAndKeepsTheBox) {
  std::wstring error_text;
  test::Watched([] { ShowMessage("held"); }, [&](test::Watcher& watcher) {
    HWND box = watcher.WaitFor(L"PelmoraMessageForm");
    ASSERT_NE(box, nullptr);
    {
      test::ClipboardHolder holder;
      ASSERT_TRUE(test::PressKeys(box, {VK_CONTROL, 'C'}));
      HWND error = watcher.WaitFor(L"#32770");
      ASSERT_NE(error, nullptr);
      error_text = test::DialogText(error);
      ASSERT_TRUE(test::PressDialogButton(error, IDOK));
      ASSERT_TRUE(watcher.WaitGone(error));
    }
    // The box stays up, and still takes input.
    EXPECT_TRUE(::IsWindowVisible(box));
    ASSERT_TRUE(test::Click(::GetDlgItem(box, IDOK)));
    ASSERT_TRUE(watcher.WaitGone(box));
  });
  EXPECT_EQ(error_text, L"クリップボードを開くことができません.");
}

}  // namespace
}  // namespace pelmora
