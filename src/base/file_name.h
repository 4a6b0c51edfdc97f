#pragma once
// File names as the user gave them, in any script: a std::filesystem::path holds UTF-16 on
// Windows and the system's bytes (UTF-8) on POSIX, so a name never passes through a narrow
// code page between the file dialogs and the file system.
#include <filesystem>
#include <string>
#include <string_view>

namespace pelmora {

using FileName = std::filesystem::path;

// The extension as the file commands see it: from the last "." to the end, dot included,
// provided that "." comes after the last "\" and ":"; otherwise empty. Case is kept.
FileName ExtractFileExt(const FileName& file_name);

// As ExtractFileExt, but without the dot: the form the picture's format registry and the
// rich-text converters look up.
FileName ExtractPictureExtension(const FileName& file_name);

// The text of an extension for comparing with the program's own ASCII extensions: ASCII
// letters lower-cased, every character outside ASCII as 0x7F (which no extension compared
// with holds), so "ｊｐｇ" or "jpġ" never passes for "jpg".
std::string AsciiExtensionKey(const FileName& extension);

// The name as a Shift-JIS text, for a message that has only a narrow form; characters
// without a Shift-JIS form become "?". On POSIX the name's own bytes.
std::string NarrowFileName(const FileName& file_name);

}  // namespace pelmora
