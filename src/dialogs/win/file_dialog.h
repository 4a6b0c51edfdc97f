#pragma once
// The platform's file dialogs, explorer style with a hook. The dialog objects keep their
// settings and last result from one run to the next; on cancel nothing changes.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "base/file_name.h"
#include "dialogs/win/dialog_host.h"

namespace pelmora {

// Asks for a file to open: GetOpenFileNameW. The file name keeps the platform's UTF-16;
// the filter and default extension are Shift-JIS.
class TOpenDialog {
 public:
  TOpenDialog() = default;
  virtual ~TOpenDialog() = default;
  TOpenDialog(const TOpenDialog&) = delete;
  TOpenDialog& operator=(const TOpenDialog&) = delete;

  const pelmora::FileName& FileName() const { return file_name_; }
  void SetFileName(pelmora::FileName name) { file_name_ = std::move(name); }
  // Description and pattern pairs separated by "|".
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string filter) { filter_ = std::move(filter); }
  // 1-based.
  int FilterIndex() const { return filter_index_; }
  void SetFilterIndex(int index) { filter_index_ = index; }
  // Without the dot; empty for none.
  void SetDefaultExt(std::string ext) { default_ext_ = std::move(ext); }

  // Runs the dialog modally. True on confirm: FileName is then the full path the platform
  // returned and FilterIndex the filter last used. False on cancel or close, or when the
  // platform could not show the dialog; then nothing has changed.
  bool Execute();

  // The hook procedure's share of the work, for the dialog running on this thread: the
  // dialog stands (CDN_INITDONE), the selected file changed (CDN_SELCHANGE), the dialog is
  // being destroyed (WM_DESTROY).
  virtual void OnInitDone(HWND hook_window);
  virtual void OnSelectionChange(HWND hook_window);
  virtual void OnDestroy(HWND hook_window);
  // After the user resized the dialog, once the platform has moved its own controls.
  virtual void OnResized(HWND hook_window);
  // After the dialog came to a monitor of another scale and the platform laid out its own
  // controls for it.
  virtual void OnDpiChanged(HWND hook_window);

 protected:
  // Adds what a kind of dialog needs to the record (a template, say).
  virtual void PrepareRecord(OPENFILENAMEW& record);
  virtual BOOL RunPlatformDialog(OPENFILENAMEW& record);

 private:
  friend UINT_PTR CALLBACK win::DialogHookProc<TOpenDialog>(HWND, UINT, WPARAM, LPARAM);
  UINT_PTR HookMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  UINT_PTR OnNotify(HWND hook_window, const OFNOTIFYW* notify);
  UINT_PTR OnSize(HWND hook_window);

  pelmora::FileName file_name_;
  std::string filter_;
  int filter_index_ = 1;
  std::string default_ext_;
  HWND placement_form_ = nullptr;
};

// Asks for a file to save to: GetSaveFileNameW. No overwrite prompt.
class TSaveDialog : public TOpenDialog {
 protected:
  BOOL RunPlatformDialog(OPENFILENAMEW& record) override;
};

namespace win {

// A filter as the platform takes it: every "|" standing as a character of its own becomes a
// 0 and the list ends in two 0s (the wstring's own terminator is the second). Converted
// piece by piece, so no double-byte character is read across a separator.
std::wstring PlatformFilter(std::string_view filter);

}  // namespace win
}  // namespace pelmora
