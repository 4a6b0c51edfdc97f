#pragma once
// How the clipboard view fits a bitmap into the panel.

namespace pelmora {

struct ClipboardFit {
  int left = 0, top = 0, width = 0, height = 0;
  bool stretch = false;  // drawn scaled into width x height, auto-size off
};

// Places a picture of w x h on a panel of W x H. A picture smaller than the panel in both
// directions keeps its size and is centred. Any other is scaled by
// r = (W < H ? W / w : H / h) * 0.96, formed in extended precision and kept as a 32-bit
// float: the panel's proportions choose the side. Where that scale would make the picture
// wider or taller than the panel, the other side's scale is taken instead, so a scaled
// picture always lies wholly inside the panel with the same margin.
ClipboardFit FitPictureToPanel(int panel_width, int panel_height, int picture_width,
                               int picture_height);

}  // namespace pelmora
