#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace pelmora {

// One argument of a message pattern: text for %s, a number for %d.
using FormatArg = std::variant<std::string_view, std::int64_t>;

// Fills a pattern of the string table: each %s or %d takes the next argument in turn
// (a mismatched kind is written as its own form), "%%" gives "%", any other "%" stays.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args = {});

}  // namespace pelmora
