#include "base/format.h"

namespace pelmora {

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out += c;
      continue;
    }
    char spec = pattern[i + 1];
    if (spec == '%') {
      out += '%';
      ++i;
    } else if ((spec == 's' || spec == 'd') && next != args.end()) {
      if (auto text = std::get_if<std::string_view>(&*next)) {
        out += *text;
      } else {
        out += std::to_string(std::get<std::int64_t>(*next));
      }
      ++next;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace pelmora
