#pragma once
// What the clipboard holds, as the clipboard view classifies it, and what the view offers
// for each kind: the context-menu items it shows and the panel's caption.
#include <cstdint>
#include <functional>

namespace pelmora {

inline constexpr std::uint16_t kClipboardText = 1;       // CF_TEXT
inline constexpr std::uint16_t kClipboardBitmap = 2;     // CF_BITMAP
inline constexpr std::uint16_t kClipboardMetafile = 3;   // CF_METAFILEPICT

// The registered formats the classification asks about besides the standard ones.
struct ClassifiedFormats {
  std::uint16_t picture;    // "Quorel Picture" (or anything a picture can be loaded from)
  std::uint16_t component;  // "Quorel Component"
  std::uint16_t withheld;   // "ExcludeClipboardContentFromMonitorProcessing"
  std::uint16_t png;        // "PNG": a picture as programs that keep transparency place it
};

enum class ClipboardKind {
  Nothing,    // empty, or no format the view knows
  Withheld,   // marked as not to be read or shown by clipboard monitors and viewers
  Text,
  Bitmap,     // a bitmap, a DIB or "PNG"
  Metafile,
  Picture,    // the registered picture format, or a format a picture loads from
  Component,  // the registered component format
};

// Withheld when the clipboard carries the withheld format, whatever else it holds;
// otherwise the first available of text, bitmap, metafile, picture and component. Formats
// after the deciding one are not asked about, and only whether a format is there is
// asked, never its data.
ClipboardKind ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                                const ClassifiedFormats& formats);

// Visibility of the menu items that follow what the view shows.
struct ClipboardMenuState {
  bool restyle;            // "文字編集"
  bool restyle_separator;
  bool copy;               // "Ｃｏｐｙ"
  bool save_separator;
  bool save;               // "名前を付けて保存"
};
// Text offers restyling, copying and saving, a picture saving; content the view does not
// show (withheld included) offers none of them, since nothing of it is there to act on.
ClipboardMenuState MenuStateFor(ClipboardKind kind);

bool ShowsText(ClipboardKind kind);
bool ShowsPicture(ClipboardKind kind);

// The panel's caption, seen while neither view covers it: "Protected Data" for withheld
// content, "No Data" otherwise.
const char* PanelCaptionFor(ClipboardKind kind);

}  // namespace pelmora
