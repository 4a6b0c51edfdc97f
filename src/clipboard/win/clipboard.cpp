#include "clipboard/win/clipboard.h"

#include <utility>

#include "base/errors.h"
#include "base/strings.h"
#include "picture/picture.h"

namespace pelmora {

std::uint16_t PictureClipboardFormat = 0;
std::uint16_t ComponentClipboardFormat = 0;
std::uint16_t WithheldClipboardFormat = 0;
std::uint16_t PngClipboardFormat = 0;

namespace {

HWND g_application_window = nullptr;

}  // namespace

void RegisterClipboardFormats() {
  PictureClipboardFormat = static_cast<std::uint16_t>(::RegisterClipboardFormatA("Quorel Picture"));
  ComponentClipboardFormat =
      static_cast<std::uint16_t>(::RegisterClipboardFormatA("Quorel Component"));
  WithheldClipboardFormat = static_cast<std::uint16_t>(
      ::RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"));
  PngClipboardFormat = static_cast<std::uint16_t>(::RegisterClipboardFormatA("PNG"));
}

ClipboardOwnerWindow::ClipboardOwnerWindow(HWND window)
    : previous_(std::exchange(g_application_window, window)) {}

ClipboardOwnerWindow::~ClipboardOwnerWindow() { g_application_window = previous_; }

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

void TClipboard::Open() {
  if (open_count_ == 0) {
    owner_ = g_application_window;
    if (owner_ == nullptr) {
      private_window_.Reset(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, ::GetModuleHandleW(nullptr), nullptr));
      owner_ = private_window_.Get();
    }
    if (!::OpenClipboard(owner_)) {
      private_window_.Reset();
      owner_ = nullptr;
      throw Exception(strings::kCannotOpenClipboard);
    }
    emptied_ = false;
  }
  ++open_count_;
}

void TClipboard::Close() {
  if (open_count_ == 0) return;
  if (--open_count_ > 0) return;
  ::CloseClipboard();
  private_window_.Reset();
  owner_ = nullptr;
}

void TClipboard::EmptyBeforePlacing() {
  if (open_count_ == 0 || emptied_) return;
  ClipboardOpening opening(*this);
  ::EmptyClipboard();
  emptied_ = true;
}

bool TClipboard::FormatAvailable(std::uint16_t format) {
  if (::IsClipboardFormatAvailable(format)) return true;
  if (format != PictureClipboardFormat || format == 0) return false;
  ClipboardOpening opening(*this);
  for (UINT f = ::EnumClipboardFormats(0); f != 0; f = ::EnumClipboardFormats(f)) {
    if (TPicture::CanLoadClipboardFormat(static_cast<std::uint16_t>(f))) return true;
  }
  return false;
}

HANDLE TClipboard::DataHandle(std::uint16_t format) {
  ClipboardOpening opening(*this);
  return ::GetClipboardData(format);
}

bool TClipboard::PlaceHandle(std::uint16_t format, HANDLE handle) {
  ClipboardOpening opening(*this);
  EmptyBeforePlacing();
  return ::SetClipboardData(format, handle) != nullptr;
}

}  // namespace pelmora
