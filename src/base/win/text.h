#pragma once
// Conversion between the program's Shift-JIS strings and the UTF-16 of the W functions.
// The code page is fixed at 932, whatever the system's own code page is.
#include <string>
#include <string_view>

namespace pelmora::win {

inline constexpr unsigned kShiftJisCodePage = 932;

std::wstring WideFromSjis(std::string_view text);
// Characters without a Shift-JIS form become "?".
std::string SjisFromWide(std::wstring_view text);

}  // namespace pelmora::win
