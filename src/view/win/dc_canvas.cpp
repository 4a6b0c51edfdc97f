#include "view/win/dc_canvas.h"

#include <vector>

#include "base/win/display_scale.h"
#include "base/win/handles.h"
#include "raster/win/dib.h"

namespace pelmora::win {

namespace {

UniquePalette MakePalette(const raster::Palette& palette) {
  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(palette.Count());
  for (int i = 0; i < palette.Count(); ++i) {
    const raster::Rgb& c = palette.Entries()[static_cast<std::size_t>(i)];
    log->palPalEntry[i] = {c.red, c.green, c.blue, 0};
  }
  return UniquePalette(::CreatePalette(log));
}

}  // namespace

int DcCanvas::PixelsPerInch() const {
  HWND window = ::WindowFromDC(dc_);
  return window != nullptr ? WindowPixelsPerInch(window) : SystemPixelsPerInch();
}

int DcCanvas::DeviceDepth() const {
  return ::GetDeviceCaps(dc_, BITSPIXEL) * ::GetDeviceCaps(dc_, PLANES);
}

void DcCanvas::StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                            const raster::Palette* palette) {
  if (image.Width() == 0 || image.Height() == 0) return;

  UniquePalette logical;
  HPALETTE old_palette = nullptr;
  if (palette != nullptr && palette->Count() > 0) {
    logical = MakePalette(*palette);
    if (logical) {
      old_palette = ::SelectPalette(dc_, logical.Get(), TRUE);
      ::RealizePalette(dc_);
    }
  }
  int old_mode = 0;
  POINT old_origin{};
  if (mode == StretchMode::Halftone) {
    ::GetBrushOrgEx(dc_, &old_origin);
    old_mode = ::SetStretchBltMode(dc_, HALFTONE);
    ::SetBrushOrgEx(dc_, 0, 0, nullptr);
  } else if (mode == StretchMode::ColorOnColor) {
    old_mode = ::SetStretchBltMode(dc_, COLORONCOLOR);
  }

  DibInfo info(image);
  ::StretchDIBits(dc_, dest.left, dest.top, dest.Width(), dest.Height(), 0, 0, image.Width(),
                  image.Height(), image.Bits(), info.Get(), DIB_RGB_COLORS, SRCCOPY);

  if (old_mode != 0) ::SetStretchBltMode(dc_, old_mode);
  if (mode == StretchMode::Halftone) ::SetBrushOrgEx(dc_, old_origin.x, old_origin.y, nullptr);
  if (logical) ::SelectPalette(dc_, old_palette, TRUE);
}

}  // namespace pelmora::win
