#include "support/win/window_query.h"

#include <string_view>

#include <vector>

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/text.h"

namespace pelmora::test {
namespace {

struct Search {
  DWORD process_id;
  const wchar_t* class_name;
  bool visible_only;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM search_pointer) {
  auto* search = reinterpret_cast<Search*>(search_pointer);
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  if (process_id != search->process_id) return TRUE;
  if (search->visible_only && !::IsWindowVisible(window)) return TRUE;
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  if (std::wstring_view(name) != search->class_name) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only) {
  Search search{process_id, class_name, visible_only};
  ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildWindow(HWND parent, const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found;
  } search{class_name, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wstring_view(name) != s.class_name) return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowTextSjis(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  const int n = ::GetWindowTextW(window, text.data(), length + 1);
  return win::SjisFromWide(std::wstring_view(text.data(), n > 0 ? n : 0));
}

SIZE ClientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

DialogOrigin CentredOnMonitorOf(HWND form, const RECT& bounds, VerticalPlace place) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(form ? ::MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST)
                         : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &info);
  const RECT& m = info.rcMonitor;
  return CentredDialogOrigin(m.left, m.top, m.right - m.left, m.bottom - m.top,
                             bounds.right - bounds.left, bounds.bottom - bounds.top, place);
}

int Scaled(int designed) { return ScaledMeasure(designed, win::SystemPixelsPerInch()); }

}  // namespace pelmora::test
