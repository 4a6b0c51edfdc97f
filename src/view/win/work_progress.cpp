#include "view/win/work_progress.h"

#include <commctrl.h>

#include <algorithm>

#include "base/muldiv.h"
#include "base/win/display_scale.h"

namespace pelmora::win {
namespace {

// Work that ends sooner shows only the wait cursor: a bar that flashes up is noise.
constexpr ULONGLONG kBarDelayMs = 500;
// The bar's range: fine enough for a smooth bar on any screen.
constexpr int kBarRange = 1000;
// At 96 pixels per inch: the bar's height and its margin to the host's edges.
constexpr int kBarHeight = 16;
constexpr int kBarMargin = 8;

thread_local const WorkProgress* g_outermost = nullptr;

}  // namespace

WorkProgress::WorkProgress(HWND host) : host_(host), outermost_(g_outermost == nullptr) {
  if (!outermost_) return;
  g_outermost = this;
  previous_cursor_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  started_ = ::GetTickCount64();
  scope_.emplace(*this);
}

WorkProgress::~WorkProgress() {
  if (!outermost_) return;
  scope_.reset();
  bar_.Reset();
  ::SetCursor(previous_cursor_);
  g_outermost = nullptr;
}

const wchar_t* WorkProgress::BarClass() { return PROGRESS_CLASSW; }

void WorkProgress::OnProgress(std::uint64_t done, std::uint64_t total) noexcept {
  if (total == 0) return;
  if (!bar_) {
    if (::GetTickCount64() - started_ < kBarDelayMs) return;
    CreateBar();
    if (!bar_) return;
  }
  const int position = static_cast<int>(std::min(done, total) * kBarRange / total);
  if (position == position_) return;
  position_ = position;
  ::SendMessageW(bar_.Get(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
  // Painted now, straight to the bar's window procedure: the message loop is not run.
  ::UpdateWindow(bar_.Get());
}

void WorkProgress::CreateBar() noexcept {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&classes);
  RECT client{};
  ::GetClientRect(host_, &client);
  const int pixels_per_inch = WindowPixelsPerInch(host_);
  const int height = ScaledMeasure(kBarHeight, pixels_per_inch);
  const int margin = ScaledMeasure(kBarMargin, pixels_per_inch);
  const int width = std::max<int>(client.right - client.left - 2 * margin, 1);
  bar_.Reset(::CreateWindowExW(0, PROGRESS_CLASSW, nullptr,
                               WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH, margin,
                               client.bottom - margin - height, width, height, host_, nullptr,
                               nullptr, nullptr));
  if (!bar_) return;  // the work goes on without a bar
  ::SendMessageW(bar_.Get(), PBM_SETRANGE32, 0, kBarRange);
  // Above the host's other children (the text view), where the user looks.
  ::SetWindowPos(bar_.Get(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace pelmora::win
