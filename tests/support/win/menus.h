#pragma once
// Menus as the user reads and uses them.
#include <windows.h>

#include <string>
#include <vector>

#include "app/menu_command.h"
#include "support/win/input.h"

namespace pelmora::test {

// The caption at a position (Shift-JIS).
std::string MenuCaption(HMENU menu, UINT position);
bool IsSeparatorAt(HMENU menu, UINT position);
// The captions in order, "-" for a separator.
std::vector<std::string> MenuCaptions(HMENU menu);

// Runs a context-menu command of the main window as choosing it in the menu does: through
// the window's WM_COMMAND. A failure goes to the default error display.
inline void RunMenuCommand(HWND window, MenuCommand command) {
  ::SendMessageW(window, WM_COMMAND, CommandIdOf(command), 0);
}

// Whether the menu holds the command's item now.
inline bool MenuOffers(HMENU menu, MenuCommand command) {
  return ::GetMenuState(menu, CommandIdOf(command), MF_BYCOMMAND) != static_cast<UINT>(-1);
}

}  // namespace pelmora::test
