#include "app/clipboard_kind.h"

#include "base/strings.h"

namespace pelmora {

std::string ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                              const ClassifiedFormats& formats) {
  if (formats.withheld != 0 && format_available(formats.withheld)) return kWithheldKind;
  if (format_available(kClipboardText)) return "TXT";
  if (format_available(kClipboardBitmap)) return "BIT";
  if (format_available(kClipboardMetafile)) return "META";
  if (format_available(formats.picture)) return "PIC";
  if (format_available(formats.component)) return "COMPO";
  return "";
}

bool ShowsText(const std::string& kind) { return kind == "TXT"; }
bool ShowsBitmap(const std::string& kind) { return kind == "BIT" || kind == "PIC"; }

ClipboardMenuState MenuStateFor(const std::string& kind) {
  if (ShowsText(kind)) return {true, true, true, true, true};
  if (ShowsBitmap(kind)) return {false, false, false, true, true};
  return {false, false, false, false, false};
}

const char* PanelCaptionFor(const std::string& kind) {
  return kind == kWithheldKind ? strings::kWithheldCaption : strings::kNoDataCaption;
}

}  // namespace pelmora
