#include "dialogs/win/dialog_host.h"

#include <utility>

#include "base/win/error_display.h"

namespace pelmora::win {
namespace {

HWND g_application = nullptr;
HWND g_main_form = nullptr;

}  // namespace

DialogWindows::DialogWindows(HWND application, HWND main_form)
    : previous_application_(std::exchange(g_application, application)),
      previous_main_form_(std::exchange(g_main_form, main_form)) {}

DialogWindows::~DialogWindows() {
  g_application = previous_application_;
  g_main_form = previous_main_form_;
}

HWND DialogOwner() {
  if (g_application && ::IsWindow(g_application)) return g_application;
  HWND owner = ErrorDisplayOwner();
  return owner && ::IsWindow(owner) ? owner : nullptr;
}

HWND DialogMainForm() { return g_main_form && ::IsWindow(g_main_form) ? g_main_form : nullptr; }

HWND PlacementForm(HWND active) {
  if (active && ::IsWindow(active) && active != DialogOwner()) return active;
  return DialogMainForm();
}

RECT MonitorArea(HWND window) noexcept {
  HMONITOR monitor = window ? ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                            : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) {
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return info.rcMonitor;
}

void CentreOnMonitor(HWND window, HWND form, VerticalPlace place) noexcept {
  RECT bounds{};
  if (!::GetWindowRect(window, &bounds)) return;
  const RECT area = MonitorArea(form);
  const DialogOrigin origin = CentredDialogOrigin(
      area.left, area.top, area.right - area.left, area.bottom - area.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, place);
  ::SetWindowPos(window, nullptr, origin.left, origin.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

}  // namespace pelmora::win
