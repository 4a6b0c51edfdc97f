#pragma once
#include <string>
#include <string_view>

namespace pelmora {

// The application title, derived from the program file's full path (Shift-JIS): the name
// after the last "\", cut at its first ".", with every character after the first
// lower-cased ("C:\Tools\VIEWER.EXE" gives "Viewer"). Only ASCII letters change; the first
// character stays as it is, a double-byte one included.
std::string ApplicationTitleFromPath(std::string_view path);

}  // namespace pelmora
