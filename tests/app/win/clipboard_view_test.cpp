// The clipboard view against the real clipboard: what the main window shows, how it fits
// pictures and which menu items it offers, for each kind of clipboard content.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/clipboard_kind.h"
#include "app/win/clipboard_view.h"
#include "app/win/main_window.h"
#include "app/win/program.h"
#include "base/win/handles.h"
#include "base/win/text.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/dialog_host.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "richtext/win/rich_edit.h"
#include "support/test_paths.h"
#include "support/unicode_samples.h"
#include "support/win/clipboard_holder.h"
#include "support/win/clipboard_notices.h"
#include "support/win/clipboard_text.h"
#include "support/win/delayed_clipboard_owner.h"
#include "support/win/input.h"
#include "support/win/menus.h"
#include "support/win/modal_watcher.h"
#include "support/win/platform_dialog.h"
#include "support/win/screenshot.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"
#include "view/image.h"
#include "view/win/panel.h"
#include "view/win/work_progress.h"

namespace pelmora {
namespace {

HGLOBAL Block(const void* bytes, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(::GlobalLock(block), bytes, size);
  ::GlobalUnlock(block);
  return block;
}

// Replaces the clipboard's content with the given formats, as another program would.
void SetClipboard(std::initializer_list<std::pair<UINT, HANDLE>> formats) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  for (const auto& [format, handle] : formats) ::SetClipboardData(format, handle);
  ::CloseClipboard();
}

// The same from another thread, as a program beside Pelmora does while its window stays
// untouched.
void SetClipboardFromAnotherProgram(std::initializer_list<std::pair<UINT, HANDLE>> formats) {
  std::thread other([&] {
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    for (const auto& [format, handle] : formats) ::SetClipboardData(format, handle);
    ::CloseClipboard();
  });
  other.join();
}

HANDLE Text(const std::string& sjis) { return Block(sjis.c_str(), sjis.size() + 1); }

HANDLE Bitmap(int width, int height) {
  win::WindowDc screen(nullptr);
  return ::CreateCompatibleBitmap(screen.Get(), width, height);
}

HANDLE Metafile() {
  HDC recorder = ::CreateMetaFileW(nullptr);
  ::Rectangle(recorder, 0, 0, 10, 10);
  METAFILEPICT picture{MM_ANISOTROPIC, 100, 100, ::CloseMetaFile(recorder)};
  return Block(&picture, sizeof picture);
}

class ClipboardView : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.Show();
    // Shown and painted: the first look at the clipboard is done.
    test::WaitUntil([&] { return ::GetUpdateRect(form_.Handle(), nullptr, FALSE) == FALSE; });
    test::DrainMessages();
  }

  std::string ShownText() const {
    HWND view = form_.View().TextView().Handle();
    // The length may count characters, not bytes: room for two bytes each.
    const int room = 2 * ::GetWindowTextLengthA(view) + 1;
    std::string text(static_cast<std::size_t>(room), '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(view, text.data(), room)));
    return text;
  }
  CHARRANGE Selection() {
    CHARRANGE range{};
    ::SendMessageW(form_.View().TextView().Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
  }
  int FirstVisibleLine() {
    return static_cast<int>(::SendMessageW(form_.View().TextView().Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  TRect ImageBounds() { return form_.View().ImageView().BoundsRect(); }
  void ResizeClient(int width, int height) {
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectEx(&outer, ::GetWindowLongW(form_.Handle(), GWL_STYLE), FALSE, 0);
    ::SetWindowPos(form_.Handle(), nullptr, 0, 0, outer.right - outer.left,
                   outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Screenshot(const char* name) {
    test::DrainMessages();
    EXPECT_TRUE(test::SaveWindowScreenshot(
        form_.Handle(), test::BuildPath("screenshots/" + std::string(name))));
  }

  Program program_{::GetModuleHandleW(nullptr)};
  MainWindow& form_ = program_.Window();
};

TEST_F(ClipboardView, TextIsShownInTheTextViewWithItsCommands) {
  SetClipboard({{CF_TEXT, Text("クリップボードの文字\r\n二行目")}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
  EXPECT_TRUE(form_.View().TextView().Visible());
  EXPECT_FALSE(form_.View().ImageView().Visible());
  EXPECT_EQ(test::MenuCaptions(form_.ContextMenu()),
            (std::vector<std::string>{"文字編集", "-", "内容確認/貼り付け", "Ｃｏｐｙ", "-",
                                      "名前を付けて保存", "-", "ファイルの読込み", "-",
                                      "ソフトに付いて", "終　了"}));
  char text[256] = {};
  ::GetWindowTextA(form_.View().TextView().Handle(), text, sizeof text);
  EXPECT_EQ(std::string(text), "クリップボードの文字\r\n二行目");
  CHARRANGE caret{};
  ::SendMessageW(form_.View().TextView().Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.cpMin, 1);
  EXPECT_EQ(caret.cpMax, 1);

  // Text wins over a bitmap.
  SetClipboard({{CF_BITMAP, Bitmap(50, 50)}, {CF_TEXT, Text("both")}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
  EXPECT_FALSE(form_.View().ImageView().Visible());
}

TEST_F(ClipboardView, BitmapsAreFittedToThePanelByItsProportions) {
  // Larger than the panel: scaled by the heights, centred.
  SetClipboard({{CF_BITMAP, Bitmap(1000, 800)}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  EXPECT_TRUE(form_.View().ImageView().Visible());
  EXPECT_FALSE(form_.View().TextView().Visible());
  EXPECT_EQ(test::MenuCaptions(form_.ContextMenu()),
            (std::vector<std::string>{"内容確認/貼り付け", "-", "名前を付けて保存", "-",
                                      "ファイルの読込み", "-", "ソフトに付いて", "終　了"}));
  EXPECT_TRUE(form_.View().ImageView().Stretch());
  EXPECT_FALSE(form_.View().ImageView().AutoSize());
  EXPECT_EQ(ImageBounds(), (TRect{73, 5, 73 + 277, 5 + 221}));
  EXPECT_EQ(form_.View().ImageView().Picture().Width(), 1000);

  // Smaller in both directions: its own size, centred.
  SetClipboard({{CF_BITMAP, Bitmap(100, 51)}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  EXPECT_FALSE(form_.View().ImageView().Stretch());
  EXPECT_EQ(ImageBounds(), (TRect{162, 90, 262, 141}));
}

TEST_F(ClipboardView, FollowsWhatAnotherProgramCopiesWithoutBeingTouched) {
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("よそで写した文字")}});
  EXPECT_TRUE(test::WaitUntil([&] { return ShownText() == "よそで写した文字"; }, 5000));
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);

  SetClipboardFromAnotherProgram({{CF_BITMAP, Bitmap(100, 51)}});
  EXPECT_TRUE(test::WaitUntil([&] { return form_.View().ImageView().Visible(); }, 5000));
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  EXPECT_FALSE(form_.View().TextView().Visible());
  EXPECT_EQ(ImageBounds(), (TRect{162, 90, 262, 141}));

  // Minimised, or disabled under a box or dialog, the window waits; shown and enabled
  // again, it follows.
  ::ShowWindow(form_.Handle(), SW_MINIMIZE);
  test::ClipboardNotices notices;
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("later")}});
  EXPECT_TRUE(notices.WaitForNext());
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  ::EnableWindow(form_.Handle(), FALSE);
  ::ShowWindow(form_.Handle(), SW_RESTORE);
  test::DrainMessages();
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Bitmap);
  ::EnableWindow(form_.Handle(), TRUE);
  EXPECT_TRUE(test::WaitUntil([&] { return ShownText() == "later"; }, 5000));
  EXPECT_EQ(ImageBounds(), (TRect{162, 90, 262, 141}));
}

TEST_F(ClipboardView, TheUsersPlaceInTheTextSurvivesRepaintsAndActivation) {
  std::string text;
  for (int line = 1; line <= 200; ++line) text += "行 " + std::to_string(line) + " word\r\n";
  SetClipboardFromAnotherProgram({{CF_TEXT, Text(text)}});
  ASSERT_TRUE(test::WaitUntil([&] { return ShownText() == text; }));

  // Scrolled to the end, a few characters near it selected.
  HWND view = form_.View().TextView().Handle();
  ::SendMessageW(view, EM_SETSEL, 0, -1);
  const LONG end = Selection().cpMax;
  ::SendMessageW(view, EM_SETSEL, end - 9, end - 5);
  ::SendMessageW(view, EM_SCROLLCARET, 0, 0);
  test::WaitUntil([&] { return FirstVisibleLine() > 100; });
  const CHARRANGE selected = Selection();
  ASSERT_EQ(selected.cpMin, end - 9);
  const int scrolled_to = FirstVisibleLine();
  ASSERT_GT(scrolled_to, 100);

  // Another window passes over the main window and takes the activation, then goes.
  {
    win::UniqueWindow cover(::CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE,
                                              0, 0, 2000, 2000, nullptr, nullptr, nullptr,
                                              nullptr));
    ::SetActiveWindow(cover.Get());
    test::WaitUntil([&] { return ::GetActiveWindow() == cover.Get(); });
    test::DrainMessages();
  }
  ::SetActiveWindow(form_.Handle());
  ::RedrawWindow(form_.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // The activation's request to look again is handled with the messages queued with it.
  test::DrainMessages();
  EXPECT_EQ(FirstVisibleLine(), scrolled_to);
  EXPECT_EQ(Selection().cpMin, selected.cpMin);
  EXPECT_EQ(Selection().cpMax, selected.cpMax);

  // A new copy is shown from its start.
  SetClipboardFromAnotherProgram({{CF_TEXT, Text(text + "new\r\n")}});
  EXPECT_TRUE(test::WaitUntil([&] { return ShownText().ends_with("new\r\n"); }));
  EXPECT_EQ(FirstVisibleLine(), 0);
  EXPECT_EQ(Selection().cpMin, 1);
}

TEST_F(ClipboardView, AResizeRefitsTheHeldPictureWithoutReadingTheClipboard) {
  SetClipboardFromAnotherProgram({{CF_BITMAP, Bitmap(6000, 4000)}});
  ASSERT_TRUE(test::WaitUntil([&] { return form_.View().ImageView().Picture().Width() == 6000; }));
  EXPECT_EQ(ImageBounds(), (TRect{46, 5, 46 + 332, 5 + 221}));
  // Each read of the clipboard's bitmap replaces the picture's graphic by a new one.
  const TGraphic* held = form_.View().ImageView().Picture().Graphic();

  // A tall panel: the widths decide.
  ResizeClient(200, 400);
  test::DrainMessages();
  EXPECT_EQ(ImageBounds(), (TRect{4, 136, 4 + 192, 136 + 128}));
  // Large enough for the picture's own size no more: back to scaled by the heights.
  ResizeClient(600, 300);
  test::DrainMessages();
  EXPECT_EQ(ImageBounds(), (TRect{84, 6, 84 + 431, 6 + 287}));
  EXPECT_TRUE(form_.View().ImageView().Stretch());
  EXPECT_EQ(form_.View().ImageView().Picture().Graphic(), held);
}

// The process's private bytes: its commit charge, which the platform reports as the page
// file usage (Wine fills in only that one).
std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

HANDLE Files() {
  const wchar_t names[] = L"C:\\a.txt\0C:\\b.txt\0";
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  block.append(reinterpret_cast<const char*>(names), sizeof names);
  return Block(block.data(), block.size());
}

TEST_F(ClipboardView, ContentItCannotShowClearsWhatWasShown) {
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("shown before")}});
  ASSERT_TRUE(test::WaitUntil([&] { return ShownText() == "shown before"; }, 5000));

  // Files copied in the file manager: the text goes, and nothing of it can be saved.
  SetClipboardFromAnotherProgram({{CF_HDROP, Files()}});
  EXPECT_TRUE(test::WaitUntil([&] { return !form_.View().TextView().Visible(); }, 5000));
  EXPECT_EQ(ShownText(), "");
  EXPECT_FALSE(form_.View().ImageView().Visible());
  EXPECT_EQ(form_.View().Panel().Caption(), "No Data");
  EXPECT_EQ(test::MenuCaptions(form_.ContextMenu()),
            (std::vector<std::string>{"内容確認/貼り付け", "-", "ファイルの読込み", "-",
                                      "ソフトに付いて", "終　了"}));
  test::RunMenuCommand(form_.Handle(), MenuCommand::SaveShown);  // with nothing shown it opens no dialog and returns

  // A large picture, then an emptied clipboard, then a metafile: the picture's memory is
  // given back.
  SetClipboardFromAnotherProgram({{CF_BITMAP, Bitmap(4000, 3000)}});
  ASSERT_TRUE(test::WaitUntil([&] { return form_.View().ImageView().Picture().Width() == 4000; }));
  const std::size_t holding = PrivateBytes();

  SetClipboardFromAnotherProgram({});
  EXPECT_TRUE(test::WaitUntil([&] { return !form_.View().ImageView().Visible(); }, 5000));
  EXPECT_EQ(form_.View().ImageView().Picture().Graphic(), nullptr);
  EXPECT_GT(holding - PrivateBytes(), 4000u * 3000u * 3u);
  EXPECT_FALSE(test::MenuOffers(form_.ContextMenu(), MenuCommand::SaveShown));

  SetClipboard({{CF_BITMAP, Bitmap(64, 32)}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  SetClipboard({{CF_METAFILEPICT, Metafile()}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Metafile);
  EXPECT_FALSE(form_.View().ImageView().Visible());
  EXPECT_EQ(form_.View().ImageView().Picture().Graphic(), nullptr);
}

TEST_F(ClipboardView, WithheldContentIsNeitherReadNorShown) {
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("shown before")}});
  ASSERT_TRUE(test::WaitUntil([&] { return ShownText() == "shown before"; }, 5000));

  // A password manager's copy: the text is only promised, and marked as not to be shown.
  const UINT withheld = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  {
    test::DelayedClipboardOwner owner({withheld}, {CF_UNICODETEXT, CF_TEXT},
                                      L"correct horse battery staple");
    ASSERT_TRUE(owner.Placed());
    EXPECT_TRUE(test::WaitUntil([&] { return form_.View().Kind() == ClipboardKind::Withheld; }, 5000));
    EXPECT_EQ(ShownText(), "");
    EXPECT_FALSE(form_.View().TextView().Visible() || form_.View().ImageView().Visible());
    EXPECT_EQ(form_.View().Panel().Caption(), "Protected Data");
    EXPECT_FALSE(test::MenuOffers(form_.ContextMenu(), MenuCommand::RestyleText) || test::MenuOffers(form_.ContextMenu(), MenuCommand::CopySelection) || test::MenuOffers(form_.ContextMenu(), MenuCommand::SaveShown));
    test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);  // looking again asks for nothing either
    Screenshot("clipboard-withheld.png");
    EXPECT_EQ(owner.RenderRequests(), 0);
  }

  // Ordinary content afterwards shows as usual.
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("ordinary")}});
  EXPECT_TRUE(test::WaitUntil([&] { return ShownText() == "ordinary"; }, 5000));
  EXPECT_EQ(form_.View().Panel().Caption(), "No Data");
}

TEST_F(ClipboardView, TextInEveryScriptIsShownAndCopiedBackUnitForUnit) {
  ASSERT_TRUE(test::Activate(form_.Handle()));
  auto copied_with = [&](const std::function<void()>& copy) {
    const DWORD before = ::GetClipboardSequenceNumber();
    copy();
    test::WaitUntil([&] { return ::GetClipboardSequenceNumber() != before; }, 5000);
    return test::ClipboardWideText();
  };
  for (const test::UnicodeSample& sample : test::UnicodeSamples()) {
    const std::wstring text(sample.text.begin(), sample.text.end());
    ASSERT_TRUE(test::PutClipboardWideText(text));
    EXPECT_TRUE(test::WaitUntil([&] { return test::SameUnits(form_.View().TextView().Text(), text); }, 5000))
        << sample.name;
    // Ctrl+A and Ctrl+C in the view, as the user presses them.
    HWND view = form_.View().TextView().Handle();
    ::SetFocus(view);
    ASSERT_TRUE(test::PressKeys(view, {VK_CONTROL, 'A'}));
    EXPECT_TRUE(test::SameUnits(
        copied_with([&] { ASSERT_TRUE(test::PressKeys(view, {VK_CONTROL, 'C'})); }), text))
        << sample.name;
    // The view follows the clipboard's rich text that the copy placed: the same text again.
    EXPECT_TRUE(test::WaitUntil([&] { return test::SameUnits(form_.View().TextView().Text(), text); }, 5000))
        << sample.name;
  }

  // The whole table at once: "Ｃｏｐｙ" of everything, chosen in the real menu.
  const std::u16string all16 = test::AllUnicodeSamples();
  const std::wstring all(all16.begin(), all16.end());
  ASSERT_TRUE(test::PutClipboardWideText(all));
  ASSERT_TRUE(test::WaitUntil([&] { return test::SameUnits(form_.View().TextView().Text(), all); }, 5000));
  HWND view = form_.View().TextView().Handle();
  ::SetFocus(view);
  ASSERT_TRUE(test::PressKeys(view, {VK_CONTROL, 'A'}));
  // The right click opens the menu in this thread's loop; the watcher chooses the item.
  const UINT copy = CommandIdOf(MenuCommand::CopySelection);
  EXPECT_TRUE(test::SameUnits(copied_with([&] {
                                test::Watched(
                                    [&] {
                                      const DWORD before = ::GetClipboardSequenceNumber();
                                      EXPECT_TRUE(test::ClickAt(view, POINT{40, 40}, true));
                                      test::WaitUntil(
                                          [&] { return ::GetClipboardSequenceNumber() != before; },
                                          test::kStandTimeoutMs);
                                    },
                                    [&](test::Watcher& watcher) {
                                      ASSERT_TRUE(test::ChooseInOpenMenu(watcher.Thread(), copy));
                                    });
                              }),
                              all));
  EXPECT_TRUE(test::SameUnits(test::TextOfRtf(test::ClipboardRtf()), all));
  form_.View().TextView().SetCaret(0);
  Screenshot("clipboard-every-script.png");
}

TEST_F(ClipboardView, AClipboardHeldElsewhereIsReportedOnceAndTheViewFollowsOnceItIsFree) {
  SetClipboard({{CF_BITMAP, Bitmap(20, 20)}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  // A change is noticed while another program holds the clipboard.
  SetClipboard({{CF_TEXT, Text("not yet")}});
  auto holder = std::make_unique<test::ClipboardHolder>();
  ASSERT_TRUE(holder->Held());

  // The error boxes shown on this thread are counted, and each closed with its OK button.
  std::atomic<int> boxes{0};
  test::Watched(
      [&] {
        // The change is looked at, and reported, from this thread's message loop.
        EXPECT_TRUE(test::WaitUntil(
            [&] {
              return boxes == 1 &&
                     test::FindThreadWindow(::GetCurrentThreadId(), L"#32770") == nullptr;
            },
            test::kStandTimeoutMs));
        test::DrainMessages();
        // Repaints, activation and resizes with nothing changed do not look a second time.
        ::RedrawWindow(form_.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::SendMessageW(form_.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        ResizeClient(300, 200);
        // A box a look raised would come from the messages these queued.
        test::DrainMessages();
      },
      [&](test::Watcher& watcher) {
        while (HWND box = watcher.NextOrEnd({L"#32770"})) {
          ++boxes;
          ASSERT_TRUE(test::PressDialogButton(box, IDOK));
          ASSERT_TRUE(watcher.WaitGone(box));
        }
      });
  EXPECT_EQ(boxes, 1);
  // A clipboard that could not be read is no change: the view keeps what it showed.
  EXPECT_TRUE(form_.View().ImageView().Visible());
  EXPECT_EQ(form_.View().ImageView().Picture().Width(), 20);
  EXPECT_TRUE(test::MenuOffers(form_.ContextMenu(), MenuCommand::SaveShown));

  // Free again: the next change is shown.
  holder.reset();
  SetClipboardFromAnotherProgram({{CF_TEXT, Text("free")}});
  EXPECT_TRUE(test::WaitUntil([&] { return ShownText() == "free"; }, 5000));
}

TEST_F(ClipboardView, LongWorkShowsAProgressBarWhileItRunsAndTakesItAwayAfter) {
  // Text that takes the control well over the half second before the bar comes.
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "progress line " + std::to_string(i) + " of a long log\r\n";
  SetClipboard({{CF_TEXT, Text(text)}});
  HWND panel = form_.View().Panel().Handle();
  std::atomic<bool> look_ended{false};
  std::atomic<bool> bar_seen{false};
  // Watched from another thread: the look runs on this one and pumps no messages, so the
  // watcher asks nothing of this thread's windows.
  std::thread watcher([&] {
    test::WaitUntil([&] {
      HWND bar = ::FindWindowExW(panel, nullptr, win::WorkProgress::BarClass(), nullptr);
      if (bar != nullptr && ::IsWindowVisible(bar)) bar_seen = true;
      return bar_seen || look_ended;
    }, 120000);
  });
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  look_ended = true;
  watcher.join();
  EXPECT_TRUE(bar_seen) << "no progress bar came while the text streamed in";
  EXPECT_EQ(::FindWindowExW(panel, nullptr, win::WorkProgress::BarClass(), nullptr), nullptr)
      << "the bar outlived the work";
  EXPECT_EQ(form_.View().Kind(), ClipboardKind::Text);
  EXPECT_GT(::GetWindowTextLengthW(form_.View().TextView().Handle()), 0);
}

TEST_F(ClipboardView, ScreenshotsOfAPhotographAndOfRichText) {
  // A photograph, taken through the program's own JPEG decoder.
  TJPEGImage jpeg;
  jpeg.LoadFromFile(test::DataPath("jpeg/testorig.jpg"));
  std::uint16_t format = 0;
  ClipboardData data;
  jpeg.SaveToClipboardFormat(format, data);
  ASSERT_TRUE(data.image);
  SetClipboard({{CF_BITMAP, win::BitmapHandleFromImage(*data.image).Release()}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  ASSERT_TRUE(form_.View().ImageView().Visible());
  Screenshot("clipboard-photograph.png");

  // Rich text as a word processor places it.
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset128 "
      "\\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}"
      "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green90\\blue160;}"
      "\\f0\\fs36\\b\\cf1 Pelmora\\b0\\cf0\\fs24  clipboard viewer\\par "
      "\\fs22\\i\\cf2 \\'83\\'4e\\'83\\'8a\\'83\\'62\\'83\\'76\\'83\\'7b\\'81\\'5b\\'83\\'68"
      "\\i0\\cf0  \\ul rich text\\ul0  and \\strike plain\\strike0  text\\par}";
  const UINT rtf_format = ::RegisterClipboardFormatW(L"Rich Text Format");
  SetClipboard({{rtf_format, Block(rtf.c_str(), rtf.size() + 1)},
                {CF_TEXT, Text("Pelmora clipboard viewer")}});
  test::RunMenuCommand(form_.Handle(), MenuCommand::LookAgain);
  ASSERT_TRUE(form_.View().TextView().Visible());
  CHARFORMATA format_of_start{};
  format_of_start.cbSize = sizeof format_of_start;
  ::SendMessageW(form_.View().TextView().Handle(), EM_SETSEL, 0, 3);
  ::SendMessageW(form_.View().TextView().Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format_of_start));
  EXPECT_TRUE(format_of_start.dwEffects & CFE_BOLD);  // the formatting came along
  form_.View().TextView().SetCaret(1);
  Screenshot("clipboard-rich-text.png");
}

}  // namespace
}  // namespace pelmora
