#pragma once
// The preview window of the picture save dialog: a modal sizing tool window "プレビュー"
// centred on the monitor of the dialog it is asked from, showing a copy of the picture stretched with its proportions
// kept. Esc closes it; it is destroyed when closed.
#include <windows.h>

namespace pelmora {

class TPicture;

// Shows a copy of picture until the user closes the window; owner is disabled meanwhile.
void ShowPicturePreview(HWND owner, const TPicture& picture);

// The preview window's client extent along one axis: the picture plus the panel's frame and
// its borders on both sides, at most three quarters of the monitor. Unchanged for a picture
// of no width.
int PreviewClientExtent(int monitor_extent, int client_extent, int picture_extent,
                        int panel_client_extent, int borders, int picture_width);

}  // namespace pelmora
