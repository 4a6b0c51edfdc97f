#include "richtext/win/faithful_rtf.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "richtext/rtf_text_escapes.h"

namespace pelmora::win {
namespace {

class PlatformCodePages final : public CodePages {
 public:
  bool IsLeadByte(unsigned code_page, std::uint8_t byte) const override {
    return ::IsDBCSLeadByteEx(code_page, byte) != FALSE;
  }
  std::u16string Decode(unsigned code_page, std::string_view bytes) const override {
    wchar_t units[4] = {};
    const int n = ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        units, static_cast<int>(std::size(units)));
    return std::u16string(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(std::max(n, 0)));
  }
};

}  // namespace

std::string FaithfulRtf(std::string rtf, std::wstring_view text) {
  // Text in ASCII alone is written exactly by every control.
  if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; })) return rtf;
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
  std::optional<std::string> faithful =
      EscapeUnfaithfulCharacters(rtf, units, PlatformCodePages());
  return faithful ? std::move(*faithful) : std::move(rtf);
}

}  // namespace pelmora::win
