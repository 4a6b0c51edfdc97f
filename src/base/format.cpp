#include "base/format.h"

#include "base/file_name.h"

namespace pelmora {

std::vector<MessagePiece> FormatPieces(std::string_view pattern,
                                       std::initializer_list<FormatArg> args) {
  std::vector<MessagePiece> pieces;
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
      } else if (auto number = std::get_if<std::int64_t>(&*next)) {
        out += std::to_string(*number);
      } else {
        if (!out.empty()) pieces.emplace_back(std::move(out));
        out.clear();
        pieces.emplace_back(std::get<2>(*next).get());
      }
      ++next;
      ++i;
    } else {
      out += c;
    }
  }
  if (!out.empty() || pieces.empty()) pieces.emplace_back(std::move(out));
  return pieces;
}

std::string NarrowMessage(const std::vector<MessagePiece>& pieces) {
  std::string text;
  for (const MessagePiece& piece : pieces) {
    if (const auto* narrow = std::get_if<std::string>(&piece)) {
      text += *narrow;
    } else {
      text += NarrowFileName(std::get<std::filesystem::path>(piece));
    }
  }
  return text;
}

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  return NarrowMessage(FormatPieces(pattern, args));
}

}  // namespace pelmora
