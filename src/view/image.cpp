#include "view/image.h"

#include "picture/icon.h"
#include "picture/metafile.h"

namespace pelmora {

TImage::TImage() {
  picture_.SetOnChange([this](TPicture&) { PictureModified(); });
}

void TImage::SetBounds(int left, int top, int width, int height) {
  if (auto_size_) {
    width = picture_.Width();
    height = picture_.Height();
  }
  const TRect bounds{left, top, left + width, top + height};
  if (bounds == bounds_) return;
  Invalidate();
  bounds_ = bounds;
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  if (auto_size_) SetBounds(Left(), Top(), Width(), Height());
}

#define PELMORA_DRAWING_SETTING(Setter, field) \
  void TImage::Setter(bool value) {            \
    if (value == field) return;                \
    field = value;                             \
    PictureModified();                         \
  }
PELMORA_DRAWING_SETTING(SetStretch, stretch_)
PELMORA_DRAWING_SETTING(SetProportional, proportional_)
PELMORA_DRAWING_SETTING(SetTransparent, transparent_)
#undef PELMORA_DRAWING_SETTING

void TImage::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Invalidate();
}

TRect TImage::DestRect() const {
  return PictureRect({.picture_width = picture_.Width(),
                      .picture_height = picture_.Height(),
                      .view_width = Width(),
                      .view_height = Height(),
                      .stretch = stretch_,
                      .proportional = proportional_});
}

void TImage::PictureModified() {
  if (auto_size_ && picture_.Width() > 0 && picture_.Height() > 0) {
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  }
  if (TGraphic* graphic = picture_.Graphic()) {
    const GraphicClass& kind = graphic->Class();
    if (!kind.InheritsFrom(TMetafile::StaticClass()) && !kind.InheritsFrom(TIcon::StaticClass())) {
      graphic->SetTransparent(transparent_);
    }
    const TRect r = DestRect();
    opaque_ = !graphic->Transparent() && r.left <= 0 && r.top <= 0 && r.right >= Width() &&
              r.bottom >= Height();
  } else {
    opaque_ = false;
  }
  if (!painting_) Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
  struct DrawingFlag {
    bool& flag;
    explicit DrawingFlag(bool& f) : flag(f) { flag = true; }
    ~DrawingFlag() { flag = false; }
  } drawing(painting_);
  if (TGraphic* graphic = picture_.Graphic()) graphic->Draw(canvas, DestRect());
}

void TImage::Invalidate() const {
  if (on_invalidate_) on_invalidate_(bounds_);
}

}  // namespace pelmora
