#pragma once
// The picture save dialog: the platform's save dialog with a preview of the selected file
// beside its own controls, in the space the "DLGTEMPLATE" child dialog leaves right of
// control 1119.
#include <windows.h>

#include <memory>
#include <string>

#include "base/win/handles.h"
#include "dialogs/win/file_dialog.h"
#include "picture/picture.h"

namespace pelmora {

class TPreviewPanel;

class TSavePictureDialog : public TSaveDialog {
 public:
  // Control ids of the preview: the picture panel is a child of the template dialog, the
  // label, the button and the paint panel are children of the picture panel.
  static constexpr int kPicturePanelId = 2001;
  static constexpr int kPictureLabelId = 2002;
  static constexpr int kPreviewButtonId = 2003;
  static constexpr int kPaintPanelId = 2004;

  TSavePictureDialog();
  ~TSavePictureDialog() override;

  void OnInitDone(HWND hook_window) override;
  void OnSelectionChange(HWND hook_window) override;
  void OnDestroy(HWND hook_window) override;
  void OnResized(HWND hook_window) override;
  void OnDpiChanged(HWND hook_window) override;

 protected:
  void PrepareRecord(OPENFILENAMEW& record) override;

 private:
  void CreatePreviewControls(HWND template_dialog);
  void CreatePaintPanel(const RECT& bounds, HFONT font);
  void CreatePreviewButton(HWND template_dialog, const RECT& bounds, HFONT font);
  void LayOutPreviewControls(const RECT& panel_bounds);
  void LoadGlyph();
  void DestroyPreviewControls();
  void ShowFile(const std::wstring& path);
  void ShowNoPicture();
  void OpenPreviewWindow();

  TPicture picture_;
  std::wstring remembered_path_;
  int pixels_per_inch_ = 96;
  std::unique_ptr<TPreviewPanel> picture_panel_;
  std::unique_ptr<TPreviewPanel> paint_panel_;
  HWND label_ = nullptr;
  HWND button_ = nullptr;
  win::UniqueWindow tooltip_;
  win::UniqueBitmap glyph_;
};

}  // namespace pelmora
