#include "support/win/window_query.h"

#include <string_view>

#include <algorithm>

#include "base/muldiv.h"
#include "base/win/display_scale.h"
#include "base/win/text.h"

namespace pelmora::test {
namespace {

// What a window must be to be found: of the class, of the process unless that is 0,
// visible when asked, and not except.
struct Search {
  const wchar_t* class_name;
  DWORD process_id = 0;
  bool visible_only = false;
  HWND except = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM search_pointer) {
  auto& search = *reinterpret_cast<Search*>(search_pointer);
  if (window == search.except) return TRUE;
  if (search.visible_only && !::IsWindowVisible(window)) return TRUE;
  if (search.process_id != 0) {
    DWORD process_id = 0;
    ::GetWindowThreadProcessId(window, &process_id);
    if (process_id != search.process_id) return TRUE;
  }
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  if (std::wstring_view(name) != search.class_name) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only) {
  Search search{.class_name = class_name, .process_id = process_id, .visible_only = visible_only};
  ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindThreadWindow(DWORD thread, const wchar_t* class_name, HWND except) {
  Search search{.class_name = class_name, .visible_only = true, .except = except};
  ::EnumThreadWindows(thread, &Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildWindow(HWND parent, const wchar_t* class_name) {
  Search search{.class_name = class_name};
  ::EnumChildWindows(parent, &Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(0, ::GetWindowTextW(window, text.data(), length + 1))));
  return text;
}

std::string ClassOf(HWND window) {
  if (window == nullptr) return "no window";
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return AsciiOf(name);
}

std::string AsciiOf(const wchar_t* text) {
  std::string ascii;
  for (; *text; ++text) ascii += *text < 0x80 ? static_cast<char>(*text) : '?';
  return ascii;
}

std::string WindowTextSjis(HWND window) { return win::SjisFromWide(WindowText(window)); }

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
