#pragma once
// The commands of the context menu, in the menu's order, each with the command identifier
// its item sends in WM_COMMAND (clear of the system's own command range).
namespace pelmora {

enum class MenuCommand : unsigned {
  RestyleText = 0x100,
  LookAgain,
  CopySelection,
  SaveShown,
  LoadFile,
  ShowAbout,
  Quit,
};

constexpr unsigned CommandIdOf(MenuCommand command) { return static_cast<unsigned>(command); }

}  // namespace pelmora
