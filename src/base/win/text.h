#pragma once
// Conversion between the program's Shift-JIS strings and the UTF-16 of the W functions.
// The code page is fixed at 932, whatever the system's own code page is.
#include <windows.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelmora::win {

inline constexpr unsigned kShiftJisCodePage = 932;

// Both are inline: the file stream of the portable library uses them too.
inline std::wstring WideFromSjis(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long");
  const int in = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), in, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(kShiftJisCodePage, 0, text.data(), in, wide.data(), n);
  return wide;
}

// Characters without a Shift-JIS form become "?".
inline std::string SjisFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long");
  const int in = static_cast<int>(text.size());
  const int n =
      ::WideCharToMultiByte(kShiftJisCodePage, 0, text.data(), in, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string narrow(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(kShiftJisCodePage, 0, text.data(), in, narrow.data(), n, nullptr,
                        nullptr);
  return narrow;
}

}  // namespace pelmora::win
