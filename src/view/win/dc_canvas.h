#pragma once
// A drawing surface over a device context: graphics draw themselves through it.
#include <windows.h>

#include "picture/canvas.h"

namespace pelmora::win {

class DcCanvas final : public TCanvas {
 public:
  explicit DcCanvas(HDC dc) : dc_(dc) {}

  // Stretches the whole image into dest with SRCCOPY from the engine's pixels, with the
  // palette selected as a background palette and realised for the drawing.
  void StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                   const raster::Palette* palette) override;
  int DeviceDepth() const override;
  // That of the monitor the DC's window stands on.
  int PixelsPerInch() const override;

  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace pelmora::win
