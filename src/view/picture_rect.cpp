#include "view/picture_rect.h"

#include "base/muldiv.h"

namespace pelmora {

TRect PictureRect(const PictureRectParams& p) {
  const int w = p.picture_width, h = p.picture_height;
  const int cw = p.view_width, ch = p.view_height;
  int width = w, height = h;

  if (p.stretch || (p.proportional && (w > cw || h > ch))) {
    if (p.proportional && w > 0 && h > 0) {
      const double aspect = static_cast<double>(w) / h;
      const long double a = aspect;
      if (w > h) {
        width = cw;
        height = TruncSaturated(cw / a);
        if (height > ch) {
          height = ch;
          width = TruncSaturated(ch * a);
        }
      } else {
        height = ch;
        width = TruncSaturated(ch * a);
        if (width > cw) {
          width = cw;
          height = TruncSaturated(cw / a);
        }
      }
    } else {
      width = cw;
      height = ch;
    }
  }

  TRect rect{0, 0, width, height};
  if (p.center) {
    const int dx = (cw - width) / 2, dy = (ch - height) / 2;
    rect = {dx, dy, width + dx, height + dy};
  }
  return rect;
}

}  // namespace pelmora
