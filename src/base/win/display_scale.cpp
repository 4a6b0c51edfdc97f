#include "base/win/display_scale.h"

#include "base/muldiv.h"
#include "base/win/handles.h"

namespace pelmora::win {
namespace {

// The functions that tell a window's or a monitor's scale, where the system has them:
// user32's since Windows 10 1607, shcore's GetDpiForMonitor since Windows 8.1.
struct ScaleFunctions {
  UINT(WINAPI* dpi_for_window)(HWND) = nullptr;
  BOOL(WINAPI* adjust_window_rect_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* parameters_for_dpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
  HRESULT(WINAPI* dpi_for_monitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
};

template <typename Function>
void Look(HMODULE module, const char* name, Function& function) {
  if (!module) return;
  // Through the generic function pointer type, to which any function pointer converts.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

const ScaleFunctions& Functions() {
  static const ScaleFunctions functions = [] {
    ScaleFunctions f;
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    Look(user, "GetDpiForWindow", f.dpi_for_window);
    Look(user, "AdjustWindowRectExForDpi", f.adjust_window_rect_for_dpi);
    Look(user, "SystemParametersInfoForDpi", f.parameters_for_dpi);
    if (!f.dpi_for_window) {
      // Loaded for the life of the process, from the system folder only.
      HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
      Look(shcore, "GetDpiForMonitor", f.dpi_for_monitor);
    }
    return f;
  }();
  return functions;
}

int UsablePixelsPerInch(int ppi) { return ppi > 0 ? ppi : kDesignedPixelsPerInch; }

}  // namespace

int SystemPixelsPerInch() {
  WindowDc screen(nullptr);
  return UsablePixelsPerInch(screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0);
}

int WindowPixelsPerInch(HWND window) {
  const ScaleFunctions& f = Functions();
  if (f.dpi_for_window) return UsablePixelsPerInch(static_cast<int>(f.dpi_for_window(window)));
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (f.dpi_for_monitor &&
      SUCCEEDED(f.dpi_for_monitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                  kEffectiveDpi, &x, &y))) {
    return UsablePixelsPerInch(static_cast<int>(y));
  }
  return SystemPixelsPerInch();
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, int pixels_per_inch) {
  RECT frame{0, 0, client.cx, client.cy};
  const ScaleFunctions& f = Functions();
  if (!f.adjust_window_rect_for_dpi ||
      !f.adjust_window_rect_for_dpi(&frame, style, FALSE, ex_style,
                                    static_cast<UINT>(pixels_per_inch))) {
    ::AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  }
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

bool MessageFontAt(int pixels_per_inch, LOGFONTW& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  const ScaleFunctions& f = Functions();
  if (f.parameters_for_dpi &&
      f.parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                           static_cast<UINT>(pixels_per_inch))) {
    font = metrics.lfMessageFont;
    return true;
  }
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return false;
  }
  // Told at the session's scale, and brought to the one asked for.
  font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, pixels_per_inch, SystemPixelsPerInch());
  return true;
}

}  // namespace pelmora::win
