#include "support/win/clipboard_holder.h"

#include <windows.h>

namespace pelmora::test {

ClipboardHolder::ClipboardHolder()
    : thread_([this] {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
        held_ = ::OpenClipboard(window) != FALSE;
        ready_ = true;
        for (int i = 0; i < 1000 && !release_; ++i) ::Sleep(10);
        if (held_) ::CloseClipboard();
        ::DestroyWindow(window);
      }) {
  for (int i = 0; i < 500 && !ready_; ++i) ::Sleep(10);
}

ClipboardHolder::~ClipboardHolder() {
  release_ = true;
  thread_.join();
}

}  // namespace pelmora::test
