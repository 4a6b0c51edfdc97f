#pragma once
// A drawing surface. The Windows shell implements it over a device context; TImageCanvas
// draws into an engine image (tests, previews, anything without a window).
#include <memory>

#include "picture/graphic.h"
#include "raster/image.h"
#include "raster/operations.h"
#include "raster/palette.h"
#include "raster/screen.h"

namespace pelmora {

using raster::StretchMode;

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Draws the whole image stretched into `dest`. With a palette, the palette is selected as
  // a background palette and realised for the drawing and deselected afterwards. Mode
  // Unchanged keeps the surface's own stretch mode.
  virtual void StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                           const raster::Palette* palette) = 0;

  // The surface's depth in bits per pixel times planes; a screen surface has the screen's.
  virtual int DeviceDepth() const { return raster::Screen().Depth(); }
  // The scale the surface is drawn at, in pixels per inch (96 unscaled).
  virtual int PixelsPerInch() const { return 96; }
};

// A surface over an image of our own.
class TImageCanvas final : public TCanvas {
 public:
  explicit TImageCanvas(std::shared_ptr<raster::Image> target) : target_(std::move(target)) {}

  void StretchDraw(const raster::Image& image, const TRect& dest, StretchMode mode,
                   const raster::Palette* palette) override;
  int DeviceDepth() const override { return target_->BitCount(); }

 private:
  std::shared_ptr<raster::Image> target_;
  StretchMode mode_ = StretchMode::ColorOnColor;
};

}  // namespace pelmora
