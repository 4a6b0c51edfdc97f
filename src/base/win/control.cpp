#include "base/win/control.h"

#include "base/win/system_error.h"

namespace pelmora::win {

HWND CreateControlIfPossible(const ControlArgs& args) {
  const RECT& r = args.bounds;
  HWND control = ::CreateWindowExW(0, args.window_class, args.text,
                                   WS_CHILD | WS_VISIBLE | args.style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, args.parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                   ::GetModuleHandleW(nullptr), args.create_param);
  if (control != nullptr && args.font) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  }
  return control;
}

HWND CreateControl(const ControlArgs& args) {
  HWND control = CreateControlIfPossible(args);
  if (control == nullptr) RaiseLastOSError();
  return control;
}

LRESULT StaticControlColors(WPARAM dc, int text_color, int background) {
  HDC context = reinterpret_cast<HDC>(dc);
  ::SetTextColor(context, ::GetSysColor(text_color));
  ::SetBkColor(context, ::GetSysColor(background));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
}

}  // namespace pelmora::win
