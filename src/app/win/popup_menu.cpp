#include "app/win/popup_menu.h"

#include "base/win/system_error.h"
#include "base/win/text.h"

namespace pelmora {

void TMenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (visible) {
    menu_.Show(*this);
  } else {
    menu_.Hide(*this);
  }
  visible_ = visible;
}

void TMenuItem::Click() {
  if (on_click_) on_click_();
}

TPopupMenu::TPopupMenu() : menu_(::CreatePopupMenu()) {
  if (!menu_) win::RaiseOutOfResources();
}

TMenuItem& TPopupMenu::Add(UINT command, std::string caption, bool visible,
                           TMenuItem::ClickHandler on_click) {
  items_.push_back(std::unique_ptr<TMenuItem>(
      new TMenuItem(*this, std::move(caption), command, std::move(on_click))));
  TMenuItem& item = *items_.back();
  item.SetVisible(visible);
  return item;
}

TMenuItem& TPopupMenu::AddSeparator(bool visible) { return Add(0, std::string(), visible); }

UINT TPopupMenu::PositionOf(const TMenuItem& item) const {
  UINT position = 0;
  for (const auto& other : items_) {
    if (other.get() == &item) break;
    if (other->Visible()) ++position;
  }
  return position;
}

void TPopupMenu::Show(const TMenuItem& item) {
  const std::wstring caption = win::WideFromSjis(item.Caption());
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE;
  info.wID = item.Command();
  if (item.IsSeparator()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.fType = MFT_STRING;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  }
  if (!::InsertMenuItemW(menu_.Get(), PositionOf(item), TRUE, &info)) win::RaiseLastOSError();
}

void TPopupMenu::Hide(const TMenuItem& item) { ::RemoveMenu(menu_.Get(), PositionOf(item), MF_BYPOSITION); }

void TPopupMenu::Popup(HWND owner, POINT screen_point) {
  // The owner must be the foreground window, or the menu would not close when the user
  // clicks elsewhere.
  ::SetForegroundWindow(owner);
  ::TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen_point.x,
                   screen_point.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

bool TPopupMenu::DispatchCommand(UINT command) {
  for (const auto& item : items_) {
    if (command != 0 && item->Command() == command) {
      item->Click();
      return true;
    }
  }
  return false;
}

}  // namespace pelmora
