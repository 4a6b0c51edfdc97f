#include "richtext/win/rich_edit.h"

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "richtext/win/rich_edit_fixture.h"
#include "support/win/clipboard_text.h"

namespace pelmora::test {
namespace {

constexpr DWORD kStyleEffects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT;

TEST_F(RichEditTest, FirstUseCreatesTheConfiguredControl) {
  EXPECT_FALSE(view_->HandleAllocated());
  view_->Clear();
  ASSERT_TRUE(view_->HandleAllocated());
  HWND control = Control();
  EXPECT_EQ(::GetParent(control), parent_);

  const UINT class_style = static_cast<UINT>(::GetClassLongPtrA(control, GCL_STYLE));
  EXPECT_EQ(class_style & (CS_HREDRAW | CS_VREDRAW), 0u);

  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(control, GWL_STYLE));
  // The scroll bars come and go with the text, so they are not looked for here.
  const DWORD wanted = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(style & (ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY | WS_BORDER | WS_VISIBLE), 0u);
  const DWORD ex_style = static_cast<DWORD>(::GetWindowLongPtrA(control, GWL_EXSTYLE));
  EXPECT_NE(ex_style & WS_EX_CLIENTEDGE, 0u);

  RECT bounds{};
  ::GetWindowRect(control, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 424);
  EXPECT_EQ(bounds.bottom - bounds.top, 231);

  EXPECT_EQ(Send(EM_GETEVENTMASK), 0x002C0001);
  EXPECT_FALSE(view_->Modified());
  // The background was set to the window colour: setting it again answers the old one.
  EXPECT_EQ(static_cast<COLORREF>(Send(EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3))),
            ::GetSysColor(COLOR_WINDOW));

  const CHARFORMAT2W format = Format(0);
  EXPECT_EQ(std::wstring(format.szFaceName), L"ＭＳ ゴシック");
  EXPECT_EQ(format.yHeight, 200) << "13 pixels at 96 pixels per inch are 10 points";
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_NE(format.dwEffects & CFE_AUTOCOLOR, 0u);
  EXPECT_EQ(format.dwEffects & kStyleEffects, 0u);
}

TEST_F(RichEditTest, VisibleAndBoundsFollowTheView) {
  view_->SetVisible(true);
  view_->SetBounds(RECT{5, 6, 105, 56});
  view_->Clear();
  EXPECT_NE(::GetWindowLongPtrA(Control(), GWL_STYLE) & WS_VISIBLE, 0);
  RECT bounds{};
  ::GetWindowRect(Control(), &bounds);
  ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 5);
  EXPECT_EQ(bounds.top, 6);
  EXPECT_EQ(bounds.right, 105);

  view_->SetVisible(false);
  EXPECT_EQ(::GetWindowLongPtrA(Control(), GWL_STYLE) & WS_VISIBLE, 0);
  view_->SetBounds(RECT{0, 0, 200, 100});
  ::GetWindowRect(Control(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 200);
}

TEST_F(RichEditTest, FontMessagesSetTheDefaultFormat) {
  view_->Clear();
  {
    // WM_SETFONT is answered with the view's own font; the control never sees the handle.
    CHARFORMAT2W other{};
    other.cbSize = sizeof(other);
    other.dwMask = CFM_BOLD | CFM_SIZE | CFM_FACE;
    other.dwEffects = CFE_BOLD;
    other.yHeight = 480;
    std::wcscpy(other.szFaceName, L"Courier New");
    Send(EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&other));
    ASSERT_EQ(Format(0).yHeight, 480);

    Send(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), TRUE);
    const CHARFORMAT2W format = Format(0);
    EXPECT_EQ(std::wstring(format.szFaceName), L"ＭＳ ゴシック");
    EXPECT_EQ(format.yHeight, 200);
    EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
  }
  {
    // A changed font is sent at once; a face longer than the record holds is cut at its 31
    // characters.
    TFont font = TRichEdit::DefaultFont();
    font.name = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ０１２３４５６７８９";
    font.height = -16;
    font.style = fsItalic;
    font.color = RGB(0, 128, 0);
    view_->SetFont(font);
    const CHARFORMAT2W format = Format(0);
    EXPECT_EQ(std::wstring(format.szFaceName), win::WideFromSjis(font.name).substr(0, 31));
    EXPECT_EQ(format.yHeight, 240);
    EXPECT_NE(format.dwEffects & CFE_ITALIC, 0u);
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_EQ(format.crTextColor, RGB(0, 128, 0));
  }
}

TEST_F(RichEditTest, SelectionAttributesNeedTheWindow) {
  view_->SetSelColor(RGB(255, 0, 0));
  view_->SetSelSize(10);
  view_->SetSelStyle(fsBold);
  EXPECT_FALSE(view_->HandleAllocated()) << "the selection attributes never make the window";
}

TEST_F(RichEditTest, SelectionAttributesReachTheControl) {
  view_->Clear();
  SetText("abcd efgh");
  {
    view_->SelectAll();
    const CHARRANGE all = Selection();
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GE(all.cpMax, 9);
  }
  {
    view_->SetSelColor(RGB(255, 0, 0));
    CHARFORMAT2W format = Format(SCF_SELECTION);
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));

    view_->SetSelColor(clWindowText);
    format = Format(SCF_SELECTION);
    EXPECT_NE(format.dwEffects & CFE_AUTOCOLOR, 0u) << "window-text colour means automatic";

    view_->SetSelColor(clWindow);
    format = Format(SCF_SELECTION);
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_EQ(format.crTextColor, ::GetSysColor(COLOR_WINDOW));
  }
  {
    view_->SetSelSize(10);
    EXPECT_EQ(Format(SCF_SELECTION).yHeight, 200);
    view_->SetSelSize(36);
    EXPECT_EQ(Format(SCF_SELECTION).yHeight, 720);
  }
  {
    view_->SetSelStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
    CHARFORMAT2W format = Format(SCF_SELECTION);
    EXPECT_EQ(format.dwMask & kStyleEffects, kStyleEffects) << "the whole selection agrees";
    EXPECT_EQ(format.dwEffects & kStyleEffects, kStyleEffects);

    view_->SetSelStyle(0);
    format = Format(SCF_SELECTION);
    EXPECT_EQ(format.dwEffects & kStyleEffects, 0u);
  }
  {
    // Only the selection changes; one attribute leaves the others as they were.
    Select(0, 4);
    view_->SetSelStyle(fsUnderline);
    view_->SetSelColor(RGB(0, 0, 255));
    Select(5, 9);
    CHARFORMAT2W rest = Format(SCF_SELECTION);
    EXPECT_EQ(rest.dwEffects & CFE_UNDERLINE, 0u);
    EXPECT_EQ(rest.crTextColor, ::GetSysColor(COLOR_WINDOW));
    Select(0, 4);
    CHARFORMAT2W first = Format(SCF_SELECTION);
    EXPECT_NE(first.dwEffects & CFE_UNDERLINE, 0u);
    EXPECT_EQ(first.crTextColor, RGB(0, 0, 255));
    EXPECT_EQ(first.yHeight, 720);
  }
}

TEST_F(RichEditTest, CaretClearAndModifiedFlag) {
  view_->Clear();
  SetText("first line");
  view_->SetCaret(1);
  CHARRANGE caret = Selection();
  EXPECT_EQ(caret.cpMin, 1);
  EXPECT_EQ(caret.cpMax, 1);

  Send(EM_SETMODIFY, TRUE);
  ASSERT_TRUE(view_->Modified());
  // Cleared, the text is gone for good, and the view keeps the focus.
  ::SetFocus(Control());
  view_->Clear();
  EXPECT_EQ(Text(), "");
  EXPECT_FALSE(view_->Modified());
  EXPECT_FALSE(Send(EM_CANUNDO));
  EXPECT_EQ(::GetFocus(), Control());
  EXPECT_EQ(Send(EM_GETEVENTMASK), 0x002C0001) << "the new window is configured as the first";
  view_->Clear();  // clearing an empty view changes nothing
  EXPECT_EQ(Text(), "");
  EXPECT_FALSE(view_->Modified());
}

TEST_F(RichEditTest, CopyAndPasteGoThroughTheClipboard) {
  view_->Clear();
  SetText("abc あいう");
  {
    ASSERT_TRUE(test::PutClipboardText("kept"));
    view_->SetCaret(2);
    view_->Copy();
    EXPECT_EQ(test::ClipboardText(), "kept") << "an empty selection copies nothing";
    view_->Clear();
    view_->Copy();
    EXPECT_EQ(test::ClipboardText(), "kept") << "nor does an empty view";
    SetText("abc あいう");
  }
  {
    view_->SelectAll();
    view_->Copy();
    EXPECT_EQ(test::ClipboardText(), "abc あいう");
  }
  {
    view_->Clear();
    ASSERT_TRUE(test::PutClipboardText("貼り付け text"));
    view_->Paste();
    EXPECT_EQ(Text(), "貼り付け text");
    // Plain text takes the default format of the cleared view.
    view_->SelectAll();
    const CHARFORMAT2W format = Format(SCF_SELECTION);
    EXPECT_EQ(format.yHeight, 200);
    EXPECT_NE(format.dwEffects & CFE_AUTOCOLOR, 0u);
  }
}

TEST_F(RichEditTest, NotificationsOfTheViewAreAnswered) {
  view_->Clear();
  NMHDR header{Control(), 0, EN_PROTECTED};
  LRESULT result = -1;
  EXPECT_TRUE(view_->HandleNotify(header, result));
  EXPECT_EQ(result, 1) << "protected text is refused";

  header.code = EN_SAVECLIPBOARD;
  EXPECT_TRUE(view_->HandleNotify(header, result));
  EXPECT_EQ(result, 0) << "the clipboard data stays";

  header.hwndFrom = parent_;
  EXPECT_FALSE(view_->HandleNotify(header, result)) << "another window's notification";
}

TEST_F(RichEditTest, ContextMenuRequestFocusesTheView) {
  ::ShowWindow(parent_, SW_SHOWNOACTIVATE);
  view_->SetVisible(true);
  view_->Clear();
  ::SetFocus(parent_);
  std::vector<POINT> requests;
  view_->SetOnContextMenu([&](POINT point) { requests.push_back(point); });
  Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control()), MAKELPARAM(30, 40));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].x, 30);
  EXPECT_EQ(requests[0].y, 40);
  EXPECT_EQ(::GetFocus(), Control());
}

TEST_F(RichEditTest, WindowCanBeDestroyedAndMadeAgain) {
  view_->Clear();
  SetText("x");
  Send(EM_SETMODIFY, TRUE);
  ::DestroyWindow(Control());
  EXPECT_FALSE(view_->HandleAllocated());
  EXPECT_TRUE(view_->Modified()) << "the new window keeps the modified flag of the old one";
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(Send(EM_GETEVENTMASK), 0x002C0001);
}

// Watches the paints of a control from in front of its window procedure. The background
// is erased from inside the control's paint, so during_paint runs while the view paints.
struct PaintWatch {
  static inline WNDPROC view_proc = nullptr;
  static inline int erases = 0;
  static inline std::function<void()> during_paint;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ERASEBKGND) {
      ++erases;
      if (during_paint) std::exchange(during_paint, nullptr)();
    }
    return ::CallWindowProcA(view_proc, window, message, wparam, lparam);
  }
};

TEST_F(RichEditTest, PaintErasesTheRightEdgeAndIsNotReentered) {
  ::ShowWindow(parent_, SW_SHOWNOACTIVATE);
  view_->SetVisible(true);
  view_->Clear();
  SetText("some text");
  HWND control = Control();
  PaintWatch::view_proc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintWatch::Proc)));
  ::UpdateWindow(parent_);
  ::UpdateWindow(control);
  RECT client{};
  ::GetClientRect(control, &client);
  {
    PaintWatch::erases = 0;
    RECT left{0, 0, 20, 20};
    ::InvalidateRect(control, &left, FALSE);
    ::UpdateWindow(control);
    EXPECT_EQ(PaintWatch::erases, 0) << "away from the right edge nothing is erased";
  }
  {
    PaintWatch::erases = 0;
    RECT edge{client.right - 1, 0, client.right, 20};
    ::InvalidateRect(control, &edge, FALSE);
    ::UpdateWindow(control);
    EXPECT_EQ(PaintWatch::erases, 1) << "the rightmost pixels are erased before the paint";
  }
  {
    // A second view asked to paint from inside the first one's paint only stays invalid.
    TRichEdit other(parent_, RECT{0, 0, 100, 50});
    other.SetVisible(true);
    other.Clear();
    ::UpdateWindow(other.Handle());
    RECT inside_other{};
    PaintWatch::during_paint = [&] {
      ::InvalidateRect(other.Handle(), nullptr, FALSE);
      ::UpdateWindow(other.Handle());
      ::GetUpdateRect(other.Handle(), &inside_other, FALSE);
    };
    ::InvalidateRect(control, nullptr, TRUE);
    ::UpdateWindow(control);
    EXPECT_EQ(PaintWatch::during_paint, nullptr) << "the first view's paint erased nothing";
    EXPECT_FALSE(::IsRectEmpty(&inside_other)) << "painted while the first view was painting";
    ::UpdateWindow(other.Handle());
    RECT after{};
    EXPECT_FALSE(::GetUpdateRect(other.Handle(), &after, FALSE)) << "painted once it could";
  }
  ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintWatch::view_proc));
}

}  // namespace
}  // namespace pelmora::test
