#include "dialogs/win/file_dialog.h"

#include <array>

#include "base/sjis.h"
#include "base/win/modal_scope.h"
#include "base/win/text.h"
#include "dialogs/win/dialog_host.h"

namespace pelmora {
namespace {

// Posted to the hook's own window when the dialog's size changes.
constexpr UINT kResizedMessage = WM_APP + 1;

// The file-name buffer's capacity in characters, terminator included, and its size.
constexpr DWORD kFileNameCapacity = 260;
constexpr std::size_t kFileNameBufferSize = 262;

}  // namespace

namespace win {

std::wstring PlatformFilter(std::string_view filter) {
  std::wstring wide;
  for (std::string_view part : FilterParts(filter)) {
    wide += WideFromSjis(part);
    wide += L'\0';
  }
  return wide;
}

}  // namespace win

bool TOpenDialog::Execute() {
  std::array<wchar_t, kFileNameBufferSize> buffer{};
  const std::wstring& name = file_name_.native();
  name.copy(buffer.data(), std::min<std::size_t>(name.size(), kFileNameCapacity));
  const std::wstring filter = win::PlatformFilter(filter_);
  const std::wstring default_ext = win::WideFromSjis(default_ext_);

  OPENFILENAMEW record{};
  record.lStructSize = sizeof(OPENFILENAMEW);
  record.hInstance = ::GetModuleHandleW(nullptr);
  record.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  record.nFilterIndex = static_cast<DWORD>(filter_index_);
  record.lpstrFile = buffer.data();
  record.nMaxFile = kFileNameCapacity;
  record.Flags = OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  record.FlagsEx = 0;
  record.lpstrDefExt = default_ext.empty() ? nullptr : default_ext.c_str();
  record.lpfnHook = &win::DialogHookProc<TOpenDialog>;
  PrepareRecord(record);

  BOOL confirmed = FALSE;
  {
    win::ModalScope modal;
    placement_form_ = win::PlacementForm(modal.PreviouslyActive());
    record.hwndOwner = win::DialogOwner();
    win::RunningDialog<TOpenDialog> running(this);
    confirmed = RunPlatformDialog(record);
  }
  if (!confirmed) return false;

  buffer.back() = L'\0';
  file_name_ = pelmora::FileName(std::wstring(buffer.data()));
  filter_index_ = static_cast<int>(record.nFilterIndex);
  return true;
}

void TOpenDialog::PrepareRecord(OPENFILENAMEW&) {}

BOOL TOpenDialog::RunPlatformDialog(OPENFILENAMEW& record) { return ::GetOpenFileNameW(&record); }

BOOL TSaveDialog::RunPlatformDialog(OPENFILENAMEW& record) { return ::GetSaveFileNameW(&record); }

void TOpenDialog::OnInitDone(HWND hook_window) {
  // The hook belongs to the child dialog inside the platform's dialog.
  win::CentreOnMonitor(::GetParent(hook_window), placement_form_, VerticalPlace::UpperThird);
}

void TOpenDialog::OnSelectionChange(HWND) {}

void TOpenDialog::OnDestroy(HWND) {}

void TOpenDialog::OnResized(HWND) {}
void TOpenDialog::OnDpiChanged(HWND) {}

UINT_PTR TOpenDialog::HookMessage(HWND window, UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    // FALSE leaves the focus where the platform put it, in the file-name box; TRUE would
    // move it to the first control after the hook's child dialog, the file-type list.
    case WM_INITDIALOG: return FALSE;
    case WM_NOTIFY: return OnNotify(window, reinterpret_cast<const OFNOTIFYW*>(lparam));
    case WM_SIZE: return OnSize(window);
    case kResizedMessage: OnResized(window); return TRUE;
    case WM_DPICHANGED_AFTERPARENT: OnDpiChanged(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return 0;
  }
}

UINT_PTR TOpenDialog::OnNotify(HWND hook_window, const OFNOTIFYW* notify) {
  if (notify == nullptr) return 0;
  if (notify->hdr.code == CDN_INITDONE) OnInitDone(hook_window);
  if (notify->hdr.code == CDN_SELCHANGE) OnSelectionChange(hook_window);
  return 0;
}

UINT_PTR TOpenDialog::OnSize(HWND hook_window) {
  // The platform resizes the child dialog before or after moving the controls in it,
  // depending on the version; a posted message comes after both.
  ::PostMessageW(hook_window, kResizedMessage, 0, 0);
  return 0;
}

}  // namespace pelmora
