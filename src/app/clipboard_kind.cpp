#include "app/clipboard_kind.h"

namespace pelmora {

std::string ClassifyClipboard(const std::function<bool(std::uint16_t)>& format_available,
                              std::uint16_t picture_format, std::uint16_t component_format) {
  if (format_available(kClipboardText)) return "TXT";
  if (format_available(kClipboardBitmap)) return "BIT";
  if (format_available(kClipboardMetafile)) return "META";
  if (format_available(picture_format)) return "PIC";
  if (format_available(component_format)) return "COMPO";
  return "";
}

bool ShowsText(const std::string& kind) { return kind == "TXT"; }
bool ShowsBitmap(const std::string& kind) { return kind == "BIT" || kind == "PIC"; }

ClipboardMenuState MenuStateFor(const std::string& kind) {
  if (ShowsText(kind)) return {true, true, true, true, true};
  if (ShowsBitmap(kind)) return {false, false, false, true, true};
  return {false, false, std::nullopt, true, true};
}

}  // namespace pelmora
