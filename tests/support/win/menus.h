#pragma once
// Menus as the user reads and uses them.
#include <windows.h>

#include <string>
#include <vector>

#include "support/win/input.h"

namespace pelmora::test {

// The caption at a position (Shift-JIS).
std::string MenuCaption(HMENU menu, UINT position);
bool IsSeparatorAt(HMENU menu, UINT position);
// The captions in order, "-" for a separator.
std::vector<std::string> MenuCaptions(HMENU menu);

}  // namespace pelmora::test
