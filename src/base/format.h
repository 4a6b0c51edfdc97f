#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pelmora {

// One argument of a message pattern: text for %s, a number for %d, or a file name for %s,
// which keeps its own form (any script) in the pieces of the message.
using FormatArg =
    std::variant<std::string_view, std::int64_t, std::reference_wrapper<const std::filesystem::path>>;

// A filled-in pattern in pieces: Shift-JIS text, and file names as they were given.
using MessagePiece = std::variant<std::string, std::filesystem::path>;

// Fills a pattern of the string table: each %s or %d takes the next argument in turn
// (a mismatched kind is written as its own form), "%%" gives "%", any other "%" stays.
std::vector<MessagePiece> FormatPieces(std::string_view pattern,
                                       std::initializer_list<FormatArg> args = {});

// The pieces as one Shift-JIS text; a file name's characters without a Shift-JIS form
// become "?".
std::string NarrowMessage(const std::vector<MessagePiece>& pieces);

// FormatPieces as one Shift-JIS text.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args = {});

}  // namespace pelmora
