#pragma once
// Menus as the user reads and uses them.
#include <windows.h>

#include <string>
#include <vector>

namespace pelmora::test {

// The caption at a position (Shift-JIS).
std::string MenuCaption(HMENU menu, UINT position);
bool IsSeparatorAt(HMENU menu, UINT position);
// The captions in order, "-" for a separator.
std::vector<std::string> MenuCaptions(HMENU menu);

// Opens a window's context menu with a real right click at a point of its client area and
// chooses an item with the real keyboard: the last item for 0, the one above it for 1, and
// so on (separators are skipped, as the keyboard skips them). False when no menu came up.
bool ChooseFromContextMenu(HWND window, POINT client_point, int from_bottom);

}  // namespace pelmora::test
