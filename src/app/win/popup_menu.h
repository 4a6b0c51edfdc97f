#pragma once
// The context menu: items with a command identifier, a caption (or a separator line), a
// visible flag and a click handler. A hidden item is taken out of the platform menu and put back
// at its own place among the visible items when shown again.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win/handles.h"

namespace pelmora {

class TPopupMenu;

class TMenuItem {
 public:
  using ClickHandler = std::function<void()>;

  const std::string& Caption() const { return caption_; }
  bool IsSeparator() const { return caption_.empty(); }
  UINT Command() const { return command_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // Runs the click handler, if there is one.
  void Click();

 private:
  friend class TPopupMenu;
  TMenuItem(TPopupMenu& menu, std::string caption, UINT command, ClickHandler on_click)
      : menu_(menu), caption_(std::move(caption)), command_(command),
        on_click_(std::move(on_click)) {}

  TPopupMenu& menu_;
  std::string caption_;  // empty for a separator
  UINT command_;
  ClickHandler on_click_;
  bool visible_ = false;
};

class TPopupMenu {
 public:
  TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // Appends an item that sends command (not 0) when chosen; the reference stays valid for
  // the menu's life.
  TMenuItem& Add(UINT command, std::string caption, bool visible,
                 TMenuItem::ClickHandler on_click = {});
  TMenuItem& AddSeparator(bool visible);
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }

  HMENU Handle() const { return menu_.Get(); }

  // Opens the menu at a screen point; the chosen item's command is posted to owner as
  // WM_COMMAND, which passes it on to DispatchCommand.
  void Popup(HWND owner, POINT screen_point);
  // Runs the click of the item with this command; false when none has it.
  bool DispatchCommand(UINT command);

 private:
  friend class TMenuItem;
  void Show(const TMenuItem& item);
  void Hide(const TMenuItem& item);
  // Where the item stands among the visible items.
  UINT PositionOf(const TMenuItem& item) const;

  win::UniqueMenu menu_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace pelmora
