#pragma once
// What the clipboard holds, as the clipboard view classifies it, and what the view offers
// for each kind: the context-menu items it shows and the panel's caption.
#include <cstdint>
#include <functional>
#include <string>

namespace pelmora {

inline constexpr std::uint16_t kClipboardText = 1;       // CF_TEXT
inline constexpr std::uint16_t kClipboardBitmap = 2;     // CF_BITMAP
inline constexpr std::uint16_t kClipboardMetafile = 3;   // CF_METAFILEPICT

// The registered formats the classification asks about besides the standard ones.
struct ClassifiedFormats {
  std::uint16_t picture;    // "Quorel Picture" (or anything a picture can be loaded from)
  std::uint16_t component;  // "Quorel Component"
  std::uint16_t withheld;   // "ExcludeClipboardContentFromMonitorProcessing"
};

// The kind of content marked as not to be read or shown by clipboard monitors and viewers.
inline constexpr char kWithheldKind[] = "WITHHELD";

// kWithheldKind when the clipboard carries the withheld format, whatever else it holds;
// otherwise "TXT", "BIT", "META", "PIC", "COMPO" or empty: the first available format in
// that order wins. Formats after the deciding one are not asked about, and only whether a
// format is there is asked, never its data.
std::string ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                              const ClassifiedFormats& formats);

// Visibility of the menu items that follow what the view shows.
struct ClipboardMenuState {
  bool edit_text;        // N5 "文字編集"
  bool edit_separator;   // N1
  bool copy;             // N10 "Ｃｏｐｙ"
  bool save_separator;   // N9
  bool save_as;          // SaveAs1 "名前を付けて保存"
};
// Text offers restyling, copying and saving, a picture saving; content the view does not
// show (withheld included) offers none of them, since nothing of it is there to act on.
ClipboardMenuState MenuStateFor(const std::string& kind);

bool ShowsText(const std::string& kind);
bool ShowsBitmap(const std::string& kind);

// The panel's caption, seen while neither view covers it: "Protected Data" for withheld
// content, "No Data" otherwise.
const char* PanelCaptionFor(const std::string& kind);

}  // namespace pelmora
