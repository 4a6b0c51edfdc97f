#include "support/win/menus.h"

#include "base/win/text.h"

namespace pelmora::test {

std::string MenuCaption(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  const int n = ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return win::SjisFromWide(std::wstring_view(text, n > 0 ? n : 0));
}

bool IsSeparatorAt(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return ::GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

std::vector<std::string> MenuCaptions(HMENU menu) {
  std::vector<std::string> captions;
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
    const UINT position = static_cast<UINT>(i);
    captions.push_back(IsSeparatorAt(menu, position) ? "-" : MenuCaption(menu, position));
  }
  return captions;
}

}  // namespace pelmora::test
