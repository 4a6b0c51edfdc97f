#include "base/app_title.h"

#include "base/sjis.h"

namespace pelmora {

std::string ApplicationTitleFromPath(std::string_view path) {
  std::size_t slash = LastDelimiter(path, "\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, FindChar(name, '.'));
  if (name.empty()) return {};
  std::size_t first = CharSizeAt(name, 0);
  return std::string(name.substr(0, first)) + LowerCaseAscii(name.substr(first));
}

}  // namespace pelmora
