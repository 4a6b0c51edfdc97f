#pragma once
// The image view: a windowless child of the panel that holds a picture and draws it into a
// rectangle of its own bounds. The host (the panel) is told which parts of it to repaint
// and paints the view with the origin moved to the view's top-left corner.
#include <functional>

#include "picture/picture.h"
#include "view/picture_rect.h"

namespace pelmora {

class TImage {
 public:
  // Asks the host to repaint a rectangle in its own coordinates (no background erase: the
  // panel paints its whole background itself).
  using InvalidateCallback = std::function<void(const TRect& rect)>;

  TImage();
  TImage(const TImage&) = delete;
  TImage& operator=(const TImage&) = delete;

  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  TRect BoundsRect() const { return bounds_; }
  // Every change of bounds passes the size check: while AutoSize is on, the picture's size
  // replaces the requested one (0 x 0 for an empty picture).
  void SetBounds(int left, int top, int width, int height);

  bool AutoSize() const { return auto_size_; }
  // Switching it on re-applies the current bounds at once; switching it off changes
  // nothing until the next change of bounds.
  void SetAutoSize(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // Covers its whole rectangle, so the panel need not paint under it. Computed only when
  // the picture or a drawing setting changes, not when the bounds change.
  bool Opaque() const { return opaque_; }

  // Where the picture is drawn, in the view's own coordinates.
  TRect DestRect() const;
  // Draws the picture on a canvas whose origin is the view's top-left corner.
  void Paint(TCanvas& canvas);

  void SetOnInvalidate(InvalidateCallback callback) { on_invalidate_ = std::move(callback); }

  // Runs when the picture reports a change, and when a drawing setting takes a new value.
  void PictureModified();

 private:
  void Invalidate() const;

  TPicture picture_;
  TRect bounds_{6, 6, 16, 16};
  bool auto_size_ = false;
  bool stretch_ = false;
  bool proportional_ = true;
  bool transparent_ = false;
  bool visible_ = false;
  bool opaque_ = false;
  bool painting_ = false;  // while Paint runs: a change the drawing causes asks no repaint
  InvalidateCallback on_invalidate_;
};

}  // namespace pelmora
