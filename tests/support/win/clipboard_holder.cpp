#include "support/win/clipboard_holder.h"

#include <windows.h>

namespace pelmora::test {

ClipboardHolder::ClipboardHolder()
    : tried_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_([this] {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
        held_ = ::OpenClipboard(window) != FALSE;
        ::SetEvent(tried_.Get());
        ::WaitForSingleObject(release_.Get(), 10000);
        if (held_) ::CloseClipboard();
        ::DestroyWindow(window);
      }) {
  ::WaitForSingleObject(tried_.Get(), 5000);
}

ClipboardHolder::~ClipboardHolder() {
  ::SetEvent(release_.Get());
  thread_.join();
}

}  // namespace pelmora::test
