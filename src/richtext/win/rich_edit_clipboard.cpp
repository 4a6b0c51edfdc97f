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
#include "richtext/win/faithful_rtf.h"
#include "richtext/win/rich_edit.h"

namespace pelmora {
namespace {

constexpr wchar_t kLineBreak[] = L"\r\n";

struct StringSink {
  std::string bytes;
};

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) noexcept {
  auto& sink = *reinterpret_cast<StringSink*>(cookie);
  *done = 0;
  if (count <= 0) return 0;
  try {
    sink.bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    *done = count;
    return 0;
  } catch (...) {
    return 1;  // out of memory: the control stops and reports it
  }
}

struct BytesSource {
  std::string_view rest;
};

DWORD CALLBACK ReadFromBytes(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) noexcept {
  auto& source = *reinterpret_cast<BytesSource*>(cookie);
  const std::size_t n = std::min(source.rest.size(), static_cast<std::size_t>(std::max(count, 0L)));
  std::memcpy(buffer, source.rest.data(), n);
  source.rest.remove_prefix(n);
  *done = static_cast<LONG>(n);
  return 0;
}

bool IsDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

LONG TRichEdit::TextLength() {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<LONG>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query)));
}

std::wstring TRichEdit::Text() {
  HandleNeeded();
  return TextOf(GT_USECRLF);
}

std::wstring TRichEdit::TextOf(DWORD flags) {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  if (flags & GT_USECRLF) query.flags |= GTL_USECRLF;
  const LRESULT length = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  request.flags = flags;
  request.codepage = 1200;
  const LRESULT got =
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  return text;
}

std::string TRichEdit::StreamOut(WPARAM format) {
  StringSink sink;
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&sink);
  record.pfnCallback = &WriteToString;
  Send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&record));
  if (record.dwError != 0) throw EOutOfResources(strings::kStreamOutFailed);
  if ((format & 0xFF) != SF_RTF) return std::move(sink.bytes);
  // What the RTF is checked against: the same content as text, each paragraph ended by CR.
  std::wstring text;
  if (format & SFF_SELECTION) {
    const std::string bytes = StreamOut(SF_TEXT | SF_UNICODE | SFF_SELECTION);
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::erase(text, L'\n');
  } else {
    text = TextOf(GT_DEFAULT);
  }
  return win::FaithfulRtf(std::move(sink.bytes), text);
}

bool TRichEdit::StreamRtfIn(std::string_view rtf, bool whole) {
  BytesSource source{rtf};
  EDITSTREAM record{};
  record.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  record.pfnCallback = &ReadFromBytes;
  Send(EM_STREAMIN, whole ? SF_RTF : (SF_RTF | SFF_SELECTION), reinterpret_cast<LPARAM>(&record));
  return record.dwError == 0;
}

void TRichEdit::Paste() {
  HandleNeeded();
  Paste(TakeClipboardText(Clipboard()));
}

void TRichEdit::Paste(const ClipboardText& text) {
  HandleNeeded();
  const bool whole = TextLength() == 0;
  if (!text.rtf.empty()) {
    if (StreamRtfIn(text.rtf, whole)) return;
    // Rich text the control cannot read: the same content as plain text, if it is there.
    Paste(ClipboardText{{}, TakeClipboardPlainText(Clipboard())});
    return;
  }
  SETTEXTEX mode{static_cast<DWORD>(whole ? ST_DEFAULT : ST_SELECTION), 1200};
  Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&mode), reinterpret_cast<LPARAM>(text.text.c_str()));
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
