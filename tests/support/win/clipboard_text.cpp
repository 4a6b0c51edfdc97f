#include "support/win/clipboard_text.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string_view>

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

static bool Put(UINT format, const void* data, std::size_t size) {
  if (!OpenClipboardSoon()) return false;
  ::EmptyClipboard();
  bool placed = false;
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size)) {
    std::memcpy(::GlobalLock(memory), data, size);
    ::GlobalUnlock(memory);
    placed = ::SetClipboardData(format, memory) != nullptr;
    if (!placed) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  return placed;
}

bool PutClipboardText(const std::string& text) {
  return Put(CF_TEXT, text.c_str(), text.size() + 1);
}

bool PutClipboardWideText(const std::wstring& text) {
  return Put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

std::string ClipboardRtf() {
  if (!OpenClipboardSoon()) return "<clipboard busy>";
  std::string rtf = Read<char>(::RegisterClipboardFormatW(L"Rich Text Format"));
  ::CloseClipboard();
  return rtf;
}

namespace {

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  auto& rest = *reinterpret_cast<std::string_view*>(cookie);
  const std::size_t n = std::min(rest.size(), static_cast<std::size_t>(count));
  std::memcpy(buffer, rest.data(), n);
  rest.remove_prefix(n);
  *done = static_cast<LONG>(n);
  return 0;
}

}  // namespace

std::wstring TextOfRtf(const std::string& rtf) {
  ::LoadLibraryW(L"Msftedit.dll");
  HWND reader = ::CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE, 0, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
  if (reader == nullptr) return L"<no rich-edit control>";
  std::string_view rest(rtf);
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rest), 0, &ReadRtf};
  ::SendMessageW(reader, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  std::wstring text(rtf.size() + 1, L'\0');
  GETTEXTEX request{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200,
                    nullptr, nullptr};
  text.resize(static_cast<std::size_t>(::SendMessageW(reader, EM_GETTEXTEX,
                                                      reinterpret_cast<WPARAM>(&request),
                                                      reinterpret_cast<LPARAM>(text.data()))));
  ::DestroyWindow(reader);
  return text;
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
