#include "picture/clipboard_formats.h"

#include <algorithm>

#include "picture/bitmap.h"
#include "picture/metafile.h"

namespace pelmora {

TClipboardFormats::TClipboardFormats() {
  Add(kCfMetafilePict, TMetafile::StaticClass());
  Add(kCfEnhMetafile, TMetafile::StaticClass());
  Add(kCfBitmap, TBitmap::StaticClass());
}

TClipboardFormats& TClipboardFormats::Instance() {
  // Never destroyed, so that a kind unregistering itself while the process ends always
  // finds the list.
  static auto* list = new TClipboardFormats;
  return *list;
}

void TClipboardFormats::Add(std::uint16_t format, const GraphicClass& kind) {
  entries_.push_back({format, &kind});
}

const GraphicClass* TClipboardFormats::Find(std::uint16_t format) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->format == format) return it->graphic_class;
  }
  return nullptr;
}

void TClipboardFormats::Remove(const GraphicClass& kind) {
  std::erase_if(entries_, [&](const ClipboardFormat& entry) {
    return entry.graphic_class->InheritsFrom(kind);
  });
}

bool CanLoadClipboardFormat(std::uint16_t format) {
  return TClipboardFormats::Instance().Find(format) != nullptr;
}

}  // namespace pelmora
