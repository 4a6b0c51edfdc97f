#pragma once
// The clipboard-format registry: which graphic kind a picture makes from a clipboard
// format. One process-wide list, created on first use with its three built-in pairs.
// GUI thread only; not locked.
#include <cstdint>
#include <vector>

#include "picture/graphic.h"

namespace pelmora {

// The platform's standard metafile clipboard formats (the bitmap's, kCfBitmap, comes with
// the bitmap).
inline constexpr std::uint16_t kCfMetafilePict = 3;
inline constexpr std::uint16_t kCfEnhMetafile = 14;

struct ClipboardFormat {
  std::uint16_t format;
  const GraphicClass* graphic_class;
};

class TClipboardFormats {
 public:
  // A list holding the built-in pairs: metafile picture and enhanced metafile to the
  // metafile kind, bitmap to the bitmap kind. The program uses the one from Instance().
  TClipboardFormats();

  // The process-wide list, created on the first call.
  static TClipboardFormats& Instance();

  void Add(std::uint16_t format, const GraphicClass& kind);
  // The kind of the last pair with this format, or none.
  const GraphicClass* Find(std::uint16_t format) const;
  // Removes every pair whose kind is kind or derives from it.
  void Remove(const GraphicClass& kind);

  const std::vector<ClipboardFormat>& Entries() const { return entries_; }

 private:
  std::vector<ClipboardFormat> entries_;
};

// Whether a picture can be loaded from this clipboard format: the process-wide registry
// has a pair for it.
bool CanLoadClipboardFormat(std::uint16_t format);

}  // namespace pelmora
