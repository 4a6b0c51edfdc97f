#pragma once
// What the clipboard holds, as the clipboard view classifies it, and which context-menu
// items it shows for each kind.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pelmora {

inline constexpr std::uint16_t kClipboardText = 1;       // CF_TEXT
inline constexpr std::uint16_t kClipboardBitmap = 2;     // CF_BITMAP
inline constexpr std::uint16_t kClipboardMetafile = 3;   // CF_METAFILEPICT

// "TXT", "BIT", "META", "PIC", "COMPO" or empty: the first available format in that order
// wins, and formats after it are not asked about.
std::string ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                              std::uint16_t picture_format, std::uint16_t component_format);

// Visibility of the menu items that the clipboard view changes. "Ｃｏｐｙ" is left as it
// was (nullopt) for the kinds that show nothing new.
struct ClipboardMenuState {
  bool edit_text;             // N5 "文字編集"
  bool edit_separator;        // N1
  std::optional<bool> copy;   // N10 "Ｃｏｐｙ"
  bool save_separator;        // N9
  bool save_as;               // SaveAs1 "名前を付けて保存"
};
ClipboardMenuState MenuStateFor(const std::string& kind);

bool ShowsText(const std::string& kind);
bool ShowsBitmap(const std::string& kind);

}  // namespace pelmora
