#include "support/win/clipboard_notices.h"

#include "support/win/wait.h"

namespace pelmora::test {
namespace {

constexpr wchar_t kNoticesClass[] = L"PelmoraTestClipboardNotices";

}  // namespace

ClipboardNotices::ClipboardNotices() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = kNoticesClass;
  ::RegisterClassW(&window_class);  // fails harmlessly once registered
  window_.Reset(::CreateWindowExW(0, kNoticesClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  window_class.hInstance, nullptr));
  ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::AddClipboardFormatListener(window_.Get());
}

ClipboardNotices::~ClipboardNotices() { ::RemoveClipboardFormatListener(window_.Get()); }

bool ClipboardNotices::WaitForNext(DWORD timeout_ms) {
  const bool came = WaitUntil([&] { return received_ > waited_for_; }, timeout_ms);
  waited_for_ = received_;
  DrainMessages();
  return came;
}

LRESULT CALLBACK ClipboardNotices::WindowProc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* self = reinterpret_cast<ClipboardNotices*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_CLIPBOARDUPDATE) ++self->received_;
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace pelmora::test
