#include "base/sjis.h"

namespace pelmora {

std::size_t CharSizeAt(std::string_view text, std::size_t index) {
  if (index + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[index])) &&
      text[index + 1] != '\0') {
    return 2;
  }
  return 1;
}

std::size_t LastCharStart(std::string_view text) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharSizeAt(text, i)) last = i;
  return last;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  for (std::size_t i = from; i < text.size(); i += CharSizeAt(text, i)) {
    if (text[i] == c && CharSizeAt(text, i) == 1) return i;
  }
  return std::string_view::npos;
}

std::size_t LastDelimiter(std::string_view text, std::string_view delimiters) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t size = CharSizeAt(text, i);
    if (size == 1 && delimiters.find(text[i]) != std::string_view::npos) last = i;
    i += size;
  }
  return last;
}

namespace {

std::string MapAsciiLetters(std::string_view text, char from_first, char from_last,
                            char to_first) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t size = CharSizeAt(out, i);
    if (size == 1 && out[i] >= from_first && out[i] <= from_last) {
      out[i] = static_cast<char>(out[i] - from_first + to_first);
    }
    i += size;
  }
  return out;
}

}  // namespace

std::string UpperCaseAscii(std::string_view text) { return MapAsciiLetters(text, 'a', 'z', 'A'); }

std::string LowerCaseAscii(std::string_view text) { return MapAsciiLetters(text, 'A', 'Z', 'a'); }

std::vector<std::string_view> FilterParts(std::string_view filter) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t bar; (bar = FindChar(filter, '|', start)) != std::string_view::npos;
       start = bar + 1) {
    parts.push_back(filter.substr(start, bar - start));
  }
  parts.push_back(filter.substr(start));
  return parts;
}


}  // namespace pelmora
