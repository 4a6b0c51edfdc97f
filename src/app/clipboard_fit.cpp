#include "app/clipboard_fit.h"

#include "base/muldiv.h"

namespace pelmora {

ClipboardFit FitPictureToPanel(int W, int H, int w, int h) {
  if ((w < W && h < H) || w <= 0 || h <= 0) {
    // An empty picture has nothing to scale (and a ratio over zero would be undefined):
    // it stays at its own size, centred like any small picture.
    return {(W - w) / 2, (H - h) / 2, w, h, false};
  }
  const long double by_widths = static_cast<long double>(W) / w * 0.96L;
  const long double by_heights = static_cast<long double>(H) / h * 0.96L;
  ClipboardFit fit;
  fit.stretch = true;
  auto scale_by = [&](long double ratio) {
    const float r = static_cast<float>(ratio);
    fit.width = TruncSaturated(static_cast<long double>(w) * r);
    fit.height = TruncSaturated(static_cast<long double>(h) * r);
  };
  // The panel's proportions choose the side first; when that scale would push the other
  // side past the panel (a wide picture in a wide panel), the other side's scale is the
  // one that keeps the whole picture in view.
  const bool wide_panel = !(W < H);
  scale_by(wide_panel ? by_heights : by_widths);
  if (fit.width > W || fit.height > H) scale_by(wide_panel ? by_widths : by_heights);
  fit.left = static_cast<int>((static_cast<long long>(W) - fit.width) / 2);
  fit.top = static_cast<int>((static_cast<long long>(H) - fit.height) / 2);
  return fit;
}

}  // namespace pelmora
