// The text view's text to and from the clipboard, in the user's own characters: rich text
// with its formatting, and UTF-16 exactly as shown. The view does this itself rather than
// leaving it to the control's own clipboard messages, so that the clipboard is read in the
// program's order (rich text, else UTF-16, else the system code page) and written as rich
// text plus CF_UNICODETEXT, whatever the control would choose.
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "base/strings.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {
namespace {

constexpr wchar_t kLineBreak[] = L"\r\n";

bool IsDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

void TRichEdit::Paste() {
  HandleNeeded();
  Paste(TakeClipboardText(Clipboard()));
}

void TRichEdit::Paste(const ClipboardText& text) {
  HandleNeeded();
  const bool whole = TextLength() == 0;
  if (!text.rtf.empty()) {
    if (StreamIn(whole ? SF_RTF : (SF_RTF | SFF_SELECTION), text.rtf)) return;
    // Rich text the control cannot read: the same content as plain text, if it is there.
    Paste(ClipboardText{{}, TakeClipboardPlainText(Clipboard())});
    return;
  }
  // Streamed in pieces rather than set at once, so that a long text reports its progress.
  const std::u16string_view plain(reinterpret_cast<const char16_t*>(text.text.data()),
                                  text.text.size());
  if (!StreamTextIn(plain, !whole)) throw EOutOfResources(strings::kStreamInFailed);
}

void TRichEdit::Copy() {
  HandleNeeded();
  CHARRANGE selection{0, 0};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  if (selection.cpMin == selection.cpMax) return;
  const std::string rtf = StreamOut(SF_RTF | SFF_SELECTION);
  const std::string bytes = StreamOut(SF_TEXT | SF_UNICODE | SFF_SELECTION);
  std::wstring_view text(reinterpret_cast<const wchar_t*>(bytes.data()),
                         bytes.size() / sizeof(wchar_t));
  // A selection that takes in the closing paragraph mark (select all does) would add a line
  // break the text does not have.
  if (selection.cpMax > TextLength() && text.ends_with(kLineBreak)) {
    text.remove_suffix(std::size(kLineBreak) - 1);
  }
  PlaceClipboardText(Clipboard(), rtf, text);
}

void TRichEdit::Cut() {
  Copy();
  Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

bool TRichEdit::HandleClipboardKey(WPARAM key) {
  const bool ctrl = IsDown(VK_CONTROL), shift = IsDown(VK_SHIFT), alt = IsDown(VK_MENU);
  if (alt) return false;
  if ((ctrl && !shift && key == 'C') || (ctrl && !shift && key == VK_INSERT)) {
    Copy();
  } else if ((ctrl && !shift && key == 'X') || (shift && !ctrl && key == VK_DELETE)) {
    Cut();
  } else if ((ctrl && !shift && key == 'V') || (shift && !ctrl && key == VK_INSERT)) {
    Paste();
  } else {
    return false;
  }
  return true;
}

}  // namespace pelmora
