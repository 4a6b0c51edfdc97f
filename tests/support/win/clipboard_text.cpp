#include "support/win/clipboard_text.h"

#include <windows.h>

#include <cstring>

#include "support/win/wait.h"

namespace pelmora::test {
namespace {

// Made again when the thread that made it has ended, which takes its windows along.
HWND ClipboardOwner() {
  static HWND owner = nullptr;
  if (!::IsWindow(owner)) {
    owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
  }
  return owner;
}

template <typename Char>
std::basic_string<Char> Read(UINT format) {
  std::basic_string<Char> text;
  if (HANDLE data = ::GetClipboardData(format)) {
    if (const Char* chars = static_cast<const Char*>(::GlobalLock(data))) {
      const std::size_t limit = ::GlobalSize(data) / sizeof(Char);
      std::size_t n = 0;
      while (n < limit && chars[n] != 0) ++n;
      text.assign(chars, n);
      ::GlobalUnlock(data);
    }
  }
  return text;
}

}  // namespace

bool OpenClipboardSoon() {
  return WaitUntil([] { return ::OpenClipboard(ClipboardOwner()) != FALSE; }, 2000);
}

bool PutClipboardText(const std::string& text) {
  if (!OpenClipboardSoon()) return false;
  ::EmptyClipboard();
  bool placed = false;
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    placed = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!placed) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  return placed;
}

std::string ClipboardText() {
  if (!OpenClipboardSoon()) return "<clipboard busy>";
  std::string text = Read<char>(CF_TEXT);
  ::CloseClipboard();
  return text;
}

std::wstring ClipboardWideText() {
  if (!OpenClipboardSoon()) return L"<clipboard busy>";
  std::wstring text = Read<wchar_t>(CF_UNICODETEXT);
  ::CloseClipboard();
  return text;
}

}  // namespace pelmora::test
