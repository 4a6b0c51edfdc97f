#include "app/clipboard_kind.h"

#include "base/strings.h"

namespace pelmora {

ClipboardKind ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                                const ClassifiedFormats& formats) {
  using enum ClipboardKind;
  if (formats.withheld != 0 && format_available(formats.withheld)) return Withheld;
  if (format_available(kClipboardText)) return Text;
  if (format_available(kClipboardBitmap) || (formats.png != 0 && format_available(formats.png))) {
    return Bitmap;
  }
  if (format_available(kClipboardMetafile)) return Metafile;
  if (format_available(formats.picture)) return Picture;
  if (format_available(formats.component)) return Component;
  return Nothing;
}

bool ShowsText(ClipboardKind kind) { return kind == ClipboardKind::Text; }
bool ShowsPicture(ClipboardKind kind) {
  return kind == ClipboardKind::Bitmap || kind == ClipboardKind::Picture;
}

ClipboardMenuState MenuStateFor(ClipboardKind kind) {
  if (ShowsText(kind)) return {true, true, true, true, true};
  if (ShowsPicture(kind)) return {false, false, false, true, true};
  return {false, false, false, false, false};
}

const char* PanelCaptionFor(ClipboardKind kind) {
  return kind == ClipboardKind::Withheld ? strings::kWithheldCaption : strings::kNoDataCaption;
}

}  // namespace pelmora
