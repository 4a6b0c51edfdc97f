#pragma once
// The line-break conversion of the rich-text view's reader, done over a whole text at once:
// what the reader must give, however the control's requests and the file's reads split it.
#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora::test {

inline std::string ConvertLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      result += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace pelmora::test
