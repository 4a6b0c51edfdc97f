#pragma once
// Text on the clipboard, as the tests put it there and read it back. The clipboard is shared
// with everything else on the display, so opening it is retried for a bounded time.
#include <string>

namespace pelmora::test {

// Opens the clipboard for the test, owned by a message-only window of the tests (a
// clipboard emptied while opened without an owner refuses new data); the caller closes it.
bool OpenClipboardSoon();

// Replaces the clipboard's content with CF_TEXT bytes (Shift-JIS); false when the clipboard
// could not be opened or the text not placed.
bool PutClipboardText(const std::string& text);

// The clipboard's CF_TEXT bytes up to their terminator; "<clipboard busy>" when it could
// not be opened.
std::string ClipboardText();

// The clipboard's CF_UNICODETEXT.
std::wstring ClipboardWideText();

// Replaces the clipboard's content with CF_UNICODETEXT, as another program would.
bool PutClipboardWideText(const std::wstring& text);

// The clipboard's "Rich Text Format" bytes up to their terminator.
std::string ClipboardRtf();

// The text that a rich-edit control of another program reads from RTF.
std::wstring TextOfRtf(const std::string& rtf);

}  // namespace pelmora::test
