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

// The index of the extension's dot, or npos when the name has no extension.
std::size_t ExtensionDot(std::string_view file_name) {
  std::size_t i = LastDelimiter(file_name, ".\\:");
  return i != std::string_view::npos && file_name[i] == '.' ? i : std::string_view::npos;
}

}  // namespace

std::string UpperCaseAscii(std::string_view text) { return MapAsciiLetters(text, 'a', 'z', 'A'); }

std::string LowerCaseAscii(std::string_view text) { return MapAsciiLetters(text, 'A', 'Z', 'a'); }

std::string ExtractFileExt(std::string_view file_name) {
  std::size_t dot = ExtensionDot(file_name);
  return dot == std::string_view::npos ? std::string() : std::string(file_name.substr(dot));
}

std::string ExtractPictureExtension(std::string_view file_name) {
  std::size_t dot = ExtensionDot(file_name);
  return dot == std::string_view::npos ? std::string() : std::string(file_name.substr(dot + 1));
}

// Converters are looked up by the text after the last "."; that text can only equal a
// table entry ("txt", "rtf") when no "\" or ":" follows the dot, so the picture's rule
// finds the same converter for every name.
std::string ConverterExtension(std::string_view file_name) {
  return LowerCaseAscii(ExtractPictureExtension(file_name));
}

std::string ConvertFilter(std::string_view filter) {
  std::string list(filter);
  list += '\0';
  for (std::size_t i = 0; i < list.size();) {
    std::size_t size = CharSizeAt(list, i);
    if (size == 1 && list[i] == '|') list[i] = '\0';
    i += size;
  }
  return list;
}

}  // namespace pelmora
