#include "dialogs/win/dialog_host.h"

#include "base/win/error_display.h"
#include "dialogs/dialog_position.h"

namespace pelmora::win {
namespace {

HWND g_application = nullptr;
HWND g_main_form = nullptr;

}  // namespace

void SetDialogWindows(HWND application, HWND main_form) {
  g_application = application;
  g_main_form = main_form;
}

HWND DialogOwner() {
  if (g_application && ::IsWindow(g_application)) return g_application;
  HWND owner = ErrorDisplayOwner();
  return owner && ::IsWindow(owner) ? owner : nullptr;
}

HWND DialogMainForm() { return g_main_form && ::IsWindow(g_main_form) ? g_main_form : nullptr; }

ModalDialogRun::ModalDialogRun() : active_(::GetActiveWindow()), focus_(::GetFocus()) {
  disabled_.emplace();
}

ModalDialogRun::~ModalDialogRun() {
  disabled_.reset();
  if (active_ && ::IsWindow(active_)) ::SetActiveWindow(active_);
  if (focus_ && ::IsWindow(focus_)) ::SetFocus(focus_);
}

HWND ModalDialogRun::PlacementForm() const {
  if (active_ && ::IsWindow(active_) && active_ != DialogOwner()) return active_;
  return DialogMainForm();
}

void CentreDialogOnMonitor(HWND dialog, HWND form) noexcept {
  HMONITOR monitor = form ? ::MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST)
                          : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT bounds{};
  if (!::GetMonitorInfoW(monitor, &info) || !::GetWindowRect(dialog, &bounds)) return;
  const RECT& area = info.rcMonitor;
  const DialogOrigin origin = CentredDialogOrigin(
      area.left, area.top, area.right - area.left, area.bottom - area.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top);
  ::SetWindowPos(dialog, nullptr, origin.left, origin.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

}  // namespace pelmora::win
