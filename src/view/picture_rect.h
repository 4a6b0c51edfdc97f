#pragma once
// Where the image view draws its picture inside its own bounds.
#include "picture/graphic.h"

namespace pelmora {

struct PictureRectParams {
  int picture_width = 0, picture_height = 0;  // w, h
  int view_width = 0, view_height = 0;        // cw, ch
  bool stretch = false;
  bool proportional = false;
  bool center = false;
};

// The destination rectangle: the picture's own size unless it is stretched, or shrunk
// proportionally because it is larger than the view; the aspect ratio is a 64-bit float and
// the products and quotients are formed in extended precision, truncated toward zero, so
// a 100 x 300 picture in a 150 x 150 view is 49 pixels wide, not 50.
TRect PictureRect(const PictureRectParams& p);

}  // namespace pelmora
