#include "clipboard/win/clipboard_text.h"

#include <richedit.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/win/system_error.h"

namespace pelmora {
namespace {

UINT RichTextFormat() {
  static const UINT format = ::RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}

// The characters of a clipboard block up to its first 0 or its end, whichever comes first.
template <typename Char>
std::basic_string<Char> ReadBlock(HANDLE data) {
  if (data == nullptr) return {};
  win::GlobalLockGuard lock(static_cast<HGLOBAL>(data));
  if (!lock) return {};
  const auto* chars = static_cast<const Char*>(lock.Data());
  const std::size_t limit = ::GlobalSize(static_cast<HGLOBAL>(data)) / sizeof(Char);
  return std::basic_string<Char>(std::basic_string_view<Char>(chars, limit).substr(
      0, std::basic_string_view<Char>(chars, limit).find(Char{0})));
}

std::wstring WideFromSystemCodePage(const std::string& text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int in = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), in, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), in, wide.data(), n);
  return wide;
}

std::wstring TakePlainText(TClipboard& clipboard) {
  if (clipboard.FormatAvailable(CF_UNICODETEXT)) {
    return ReadBlock<wchar_t>(clipboard.DataHandle(CF_UNICODETEXT));
  }
  return WideFromSystemCodePage(ReadBlock<char>(clipboard.DataHandle(CF_TEXT)));
}

}  // namespace

ClipboardText TakeClipboardText(TClipboard& clipboard) {
  ClipboardOpening opening(clipboard);
  ClipboardText text;
  if (clipboard.FormatAvailable(static_cast<std::uint16_t>(RichTextFormat()))) {
    text.rtf = ReadBlock<char>(clipboard.DataHandle(static_cast<std::uint16_t>(RichTextFormat())));
  }
  if (text.rtf.empty()) text.text = TakePlainText(clipboard);
  return text;
}

std::wstring TakeClipboardPlainText(TClipboard& clipboard) {
  ClipboardOpening opening(clipboard);
  return TakePlainText(clipboard);
}

void PlaceClipboardText(TClipboard& clipboard, std::string_view rtf, std::wstring_view text) {
  // Both blocks are made before the clipboard is emptied, so a failure leaves it as it was.
  win::UniqueGlobal rich = TerminatedCopy(rtf);
  win::UniqueGlobal plain = TerminatedCopy(text);
  ClipboardOpening opening(clipboard);
  if (clipboard.PlaceHandle(static_cast<std::uint16_t>(RichTextFormat()), rich.Get())) {
    rich.Release();
  }
  if (clipboard.PlaceHandle(CF_UNICODETEXT, plain.Get())) plain.Release();
}

win::UniqueGlobal GlobalCopy(const void* data, std::size_t size) {
  win::UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) win::RaiseOutOfResources();
  win::GlobalLockGuard lock(memory.Get());
  if (!lock) win::RaiseOutOfResources();
  std::memcpy(lock.Data(), data, size);
  return memory;
}

namespace {

template <typename Char>
win::UniqueGlobal CopyWithTerminator(std::basic_string_view<Char> text) {
  if (text.size() >= SIZE_MAX / sizeof(Char)) win::RaiseOutOfResources();
  win::UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(Char)));
  if (!memory) win::RaiseOutOfResources();
  win::GlobalLockGuard lock(memory.Get());
  if (!lock) win::RaiseOutOfResources();
  auto* chars = static_cast<Char*>(lock.Data());
  std::memcpy(chars, text.data(), text.size() * sizeof(Char));
  chars[text.size()] = Char{0};
  return memory;
}

}  // namespace

win::UniqueGlobal TerminatedCopy(std::string_view text) { return CopyWithTerminator(text); }
win::UniqueGlobal TerminatedCopy(std::wstring_view text) { return CopyWithTerminator(text); }

}  // namespace pelmora
