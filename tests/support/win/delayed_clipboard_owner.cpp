#include "support/win/delayed_clipboard_owner.h"

#include <cstring>

namespace pelmora::test {
namespace {

constexpr wchar_t kOwnerClass[] = L"PelmoraTestDelayedOwner";

HGLOBAL TextBlock(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block) {
    std::memcpy(::GlobalLock(block), text.c_str(), bytes);
    ::GlobalUnlock(block);
  }
  return block;
}

}  // namespace

DelayedClipboardOwner::DelayedClipboardOwner(std::vector<UINT> present,
                                             std::vector<UINT> on_request, std::wstring text)
    : present_(std::move(present)),
      on_request_(std::move(on_request)),
      text_(std::move(text)),
      ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] { Run(); }) {
  ::WaitForSingleObject(ready_.Get(), 5000);
}

DelayedClipboardOwner::~DelayedClipboardOwner() {
  if (const DWORD id = thread_id_) ::PostThreadMessageW(id, WM_QUIT, 0, 0);
  thread_.join();
}

LRESULT CALLBACK DelayedClipboardOwner::WindowProc(HWND window, UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
  auto* self = reinterpret_cast<DelayedClipboardOwner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_RENDERFORMAT) {
    ++self->render_requests_;
    ::SetClipboardData(static_cast<UINT>(wparam), TextBlock(self->text_));
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

void DelayedClipboardOwner::Run() {
  thread_id_ = ::GetCurrentThreadId();
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = kOwnerClass;
  ::RegisterClassW(&window_class);  // fails harmlessly when an earlier owner registered it
  HWND window = ::CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (window && ::OpenClipboard(window)) {
    ::EmptyClipboard();
    bool all = true;
    for (UINT format : present_) all &= ::SetClipboardData(format, TextBlock(L"1")) != nullptr;
    // A promise: the data is made when a reader asks for it.
    for (UINT format : on_request_) ::SetClipboardData(format, nullptr);
    ::CloseClipboard();
    placed_ = all;
  }
  ::SetEvent(ready_.Get());
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  // Gone without rendering the rest: what was only promised is dropped from the clipboard.
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
}

}  // namespace pelmora::test
