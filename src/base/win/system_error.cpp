#include "base/win/system_error.h"

#include <windows.h>

#include "base/errors.h"
#include "base/sjis.h"
#include "base/strings.h"
#include "base/win/text.h"

namespace pelmora::win {
namespace {

constexpr std::size_t kMaxSystemTextBytes = 256;

// The longest prefix of at most limit bytes that does not end inside a double-byte character.
std::size_t WholeCharacterPrefix(std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t step = CharSizeAt(text, i);
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

}  // namespace

std::string SystemErrorText(std::uint32_t code) {
  if (code == 0) return {};
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer),
      0, nullptr);
  if (n == 0 || buffer == nullptr) return {};
  std::wstring wide(buffer, n);
  ::LocalFree(buffer);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' ||
                           wide.back() == L'\t')) {
    wide.pop_back();
  }
  std::string text = SjisFromWide(wide);
  text.resize(WholeCharacterPrefix(text, kMaxSystemTextBytes));
  return text;
}

void RaiseLastOSError() {
  const DWORD code = ::GetLastError();
  throw EOSError(code, SystemErrorText(code));
}

void RaiseOutOfResources() {
  std::string text = SystemErrorText(::GetLastError());
  if (text.empty()) text = strings::kOutOfResources;
  throw EOutOfResources(std::move(text));
}

}  // namespace pelmora::win
