#pragma once
// Text through the clipboard, in the user's own characters: rich text and UTF-16. Whatever
// another program placed is untrusted: every block is read within its own size, terminated
// or not.
#include <windows.h>

#include <string>
#include <string_view>

#include "base/win/handles.h"
#include "clipboard/win/clipboard.h"

namespace pelmora {

// The clipboard's text in its best form: rich text when it is there, else plain UTF-16.
struct ClipboardText {
  std::string rtf;    // the "Rich Text Format" bytes; empty for plain text
  std::wstring text;  // the plain text, when there is no rich text
};

// Fetches one format, the best there is: "Rich Text Format", else CF_UNICODETEXT, else
// CF_TEXT read in the system code page. Raises "クリップボードを開くことができません" when
// another program holds the clipboard. Nothing there gives empty text.
ClipboardText TakeClipboardText(TClipboard& clipboard);
// The clipboard's plain text alone (CF_UNICODETEXT, else CF_TEXT), for rich text that could
// not be read.
std::wstring TakeClipboardPlainText(TClipboard& clipboard);

// Replaces the clipboard's content with the text as rich text and as CF_UNICODETEXT, from
// which the system makes CF_TEXT for programs that read only that.
void PlaceClipboardText(TClipboard& clipboard, std::string_view rtf, std::wstring_view text);

// A movable global block holding a copy of size bytes, for the clipboard.
win::UniqueGlobal GlobalCopy(const void* data, std::size_t size);
// The same for a text, with a terminating 0 after it.
win::UniqueGlobal TerminatedCopy(std::string_view text);
win::UniqueGlobal TerminatedCopy(std::wstring_view text);

}  // namespace pelmora
