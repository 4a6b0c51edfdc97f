#include "base/file_name.h"

#include <type_traits>

namespace pelmora {
namespace {

using Native = FileName::string_type;

// In UTF-16 and in UTF-8 no unit of a non-ASCII character equals an ASCII one, so a plain
// backwards scan finds the separators.
std::size_t ExtensionDot(const Native& name) {
  const std::size_t found = name.find_last_of(Native{'.', '\\', ':'});
  if (found == Native::npos || name[found] != '.') return Native::npos;
  return found;
}

}  // namespace

FileName ExtractFileExt(const FileName& file_name) {
  const Native& name = file_name.native();
  const std::size_t dot = ExtensionDot(name);
  return dot == Native::npos ? FileName() : FileName(name.substr(dot));
}

FileName ExtractPictureExtension(const FileName& file_name) {
  const Native& name = file_name.native();
  const std::size_t dot = ExtensionDot(name);
  return dot == Native::npos ? FileName() : FileName(name.substr(dot + 1));
}

std::string AsciiExtensionKey(const FileName& extension) {
  std::string key;
  for (const auto unit : extension.native()) {
    const auto code = static_cast<std::make_unsigned_t<FileName::value_type>>(unit);
    if (code >= 0x80) {
      key += '\x7F';
    } else {
      char c = static_cast<char>(code);
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      key += c;
    }
  }
  return key;
}

}  // namespace pelmora
