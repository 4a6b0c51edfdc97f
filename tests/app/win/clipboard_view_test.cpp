// The clipboard view against the real clipboard: what the main window shows, how it fits
// pictures and which menu items it offers, for each kind of clipboard content.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <cstring>
#include <string>

#include "app/win/application.h"
#include "app/win/main_form.h"
#include "app/win/panel.h"
#include "base/win/handles.h"
#include "base/win/text.h"
#include "clipboard/image.h"
#include "clipboard/win/bitmap_handle.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/dialog_host.h"
#include "picture/bitmap.h"
#include "picture/jpeg_image.h"
#include "richtext/win/rich_edit.h"
#include "support/win/clipboard_holder.h"
#include "support/win/screenshot.h"
#include "support/win/wait.h"

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
    RegisterClipboardFormats();
    InitJpegImageKind(32);
    TClipboard::SetApplicationWindow(application_.Handle());
    win::SetDialogWindows(application_.Handle(), form_.Handle());
    form_.Show();
    test::PumpMessages(100);
  }
  void TearDown() override {
    TClipboard::SetApplicationWindow(nullptr);
    DoneJpegImageKind();
  }

  bool Shown(const TMenuItem* item) const { return item->Visible(); }
  TRect ImageBounds() { return form_.Image1().BoundsRect(); }
  void ResizeClient(int width, int height) {
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectEx(&outer, ::GetWindowLongW(form_.Handle(), GWL_STYLE), FALSE, 0);
    ::SetWindowPos(form_.Handle(), nullptr, 0, 0, outer.right - outer.left,
                   outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Screenshot(const char* name) {
    test::PumpMessages(200);
    ::RedrawWindow(form_.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpMessages(200);
    EXPECT_TRUE(test::SaveWindowScreenshot(
        form_.Handle(), std::string(PELMORA_BUILD_DIR) + "/screenshots/" + name));
  }

  TApplication application_{::GetModuleHandleW(nullptr)};
  TForm1 form_{application_};
};

TEST_F(ClipboardView, TextIsShownInTheTextViewWithItsCommands) {
  SetClipboard({{CF_TEXT, Text("クリップボードの文字\r\n二行目")}});
  form_.Sub_Clip();
  EXPECT_EQ(form_.ClipboardKind, "TXT");
  EXPECT_TRUE(form_.RichEdit1().Visible());
  EXPECT_FALSE(form_.Image1().Visible());
  EXPECT_TRUE(Shown(form_.N5) && Shown(form_.N1) && Shown(form_.N10));
  EXPECT_TRUE(Shown(form_.N9) && Shown(form_.SaveAs1));
  char text[256] = {};
  ::GetWindowTextA(form_.RichEdit1().Handle(), text, sizeof text);
  EXPECT_EQ(std::string(text), "クリップボードの文字\r\n二行目");
  CHARRANGE caret{};
  ::SendMessageW(form_.RichEdit1().Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.cpMin, 1);
  EXPECT_EQ(caret.cpMax, 1);

  // Text wins over a bitmap.
  SetClipboard({{CF_BITMAP, Bitmap(50, 50)}, {CF_TEXT, Text("both")}});
  form_.Sub_Clip();
  EXPECT_EQ(form_.ClipboardKind, "TXT");
  EXPECT_FALSE(form_.Image1().Visible());
}

TEST_F(ClipboardView, BitmapsAreFittedToThePanelByItsProportions) {
  // Larger than the panel: scaled by the heights, centred.
  SetClipboard({{CF_BITMAP, Bitmap(1000, 800)}});
  form_.Sub_Clip();
  EXPECT_EQ(form_.ClipboardKind, "BIT");
  EXPECT_TRUE(form_.Image1().Visible());
  EXPECT_FALSE(form_.RichEdit1().Visible());
  EXPECT_FALSE(Shown(form_.N5) || Shown(form_.N1) || Shown(form_.N10));
  EXPECT_TRUE(Shown(form_.N9) && Shown(form_.SaveAs1));
  EXPECT_TRUE(form_.Image1().Stretch());
  EXPECT_FALSE(form_.Image1().AutoSize());
  EXPECT_EQ(ImageBounds(), (TRect{73, 5, 73 + 277, 5 + 221}));
  EXPECT_EQ(form_.Image1().Picture().Width(), 1000);

  // Smaller in both directions: its own size, centred.
  SetClipboard({{CF_BITMAP, Bitmap(100, 51)}});
  form_.Sub_Clip();
  EXPECT_FALSE(form_.Image1().Stretch());
  EXPECT_EQ(ImageBounds(), (TRect{162, 90, 262, 141}));

  // A resize refits: the same bitmap on a tall panel is scaled by the widths.
  SetClipboard({{CF_BITMAP, Bitmap(400, 300)}});
  ResizeClient(200, 400);
  test::PumpMessages(100);
  EXPECT_EQ(ImageBounds(), (TRect{4, 128, 4 + 191, 128 + 143}));
}

TEST_F(ClipboardView, ContentItCannotShowLeavesTheViewAsItWas) {
  SetClipboard({{CF_BITMAP, Bitmap(64, 32)}});
  form_.Sub_Clip();
  ASSERT_TRUE(form_.Image1().Visible());

  SetClipboard({{CF_METAFILEPICT, Metafile()}});
  form_.Sub_Clip();
  EXPECT_EQ(form_.ClipboardKind, "META");
  EXPECT_TRUE(form_.Image1().Visible());
  EXPECT_EQ(form_.Image1().Picture().Width(), 64);

  // Emptied: the picture stays; saving is offered, restyling is not.
  SetClipboard({});
  form_.Sub_Clip();
  EXPECT_EQ(form_.ClipboardKind, "");
  EXPECT_TRUE(form_.Image1().Visible());
  EXPECT_TRUE(Shown(form_.SaveAs1));
  EXPECT_FALSE(Shown(form_.N5));
}

// Counts and closes the error boxes shown on this thread.
int g_boxes_seen = 0;
void CALLBACK CloseErrorBoxes(HWND, UINT, UINT_PTR, DWORD) {
  struct Finder {
    static BOOL CALLBACK Each(HWND window, LPARAM found) {
      wchar_t name[16] = {};
      ::GetClassNameW(window, name, 16);
      if (std::wstring_view(name) == L"#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      }
      return TRUE;
    }
  };
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &Finder::Each, reinterpret_cast<LPARAM>(&box));
  if (box && ::GetPropW(box, L"pelmora.counted") == nullptr) {
    ::SetPropW(box, L"pelmora.counted", reinterpret_cast<HANDLE>(1));
    ++g_boxes_seen;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

TEST_F(ClipboardView, AClipboardHeldElsewhereIsReportedOnceNotOnEveryRepaint) {
  SetClipboard({{CF_BITMAP, Bitmap(20, 20)}});
  auto holder = std::make_unique<test::ClipboardHolder>();
  ASSERT_TRUE(holder->Held());

  g_boxes_seen = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseErrorBoxes);
  // A paint looks at the clipboard and fails; closing the box repaints the window, which
  // must not look and fail again while nothing has changed.
  ::InvalidateRect(form_.Handle(), nullptr, FALSE);
  test::PumpMessages(1500);
  ::InvalidateRect(form_.Handle(), nullptr, FALSE);
  test::PumpMessages(500);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_boxes_seen, 1);

  holder.reset();
  // A command asks again and succeeds.
  form_.N8Click();
  EXPECT_EQ(form_.ClipboardKind, "BIT");
}

TEST_F(ClipboardView, ScreenshotsOfAPhotographAndOfRichText) {
  // A photograph, taken through the program's own JPEG decoder.
  TJPEGImage jpeg;
  jpeg.LoadFromFile(std::string(PELMORA_TEST_DATA) + "/jpeg/testorig.jpg");
  std::uint16_t format = 0;
  ClipboardData data;
  jpeg.SaveToClipboardFormat(format, data);
  ASSERT_TRUE(data.image);
  SetClipboard({{CF_BITMAP, win::BitmapHandleFromImage(*data.image).Release()}});
  form_.Sub_Clip();
  ASSERT_TRUE(form_.Image1().Visible());
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
  form_.Sub_Clip();
  ASSERT_TRUE(form_.RichEdit1().Visible());
  CHARFORMATA format_of_start{};
  format_of_start.cbSize = sizeof format_of_start;
  ::SendMessageW(form_.RichEdit1().Handle(), EM_SETSEL, 0, 3);
  ::SendMessageW(form_.RichEdit1().Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format_of_start));
  EXPECT_TRUE(format_of_start.dwEffects & CFE_BOLD);  // the formatting came along
  form_.RichEdit1().SetCaret(1);
  Screenshot("clipboard-rich-text.png");
}

}  // namespace
}  // namespace pelmora
