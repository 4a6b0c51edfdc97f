#include "dialogs/win/save_picture_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "base/format.h"
#include "base/muldiv.h"
#include "base/strings.h"
#include "base/win/control.h"
#include "base/win/display_scale.h"
#include "base/win/text.h"
#include "base/win/window.h"
#include "dialogs/win/preview_window.h"
#include "view/win/preview_panel.h"

namespace pelmora {
namespace {

constexpr int kPlatformControlsArea = 1119;  // stc32: where the platform puts its controls
// In pixels at 96 pixels per inch, drawn at the dialog's scale.
constexpr int kPicturePanelTop = 4;
constexpr int kPicturePanelBorder = 6;
constexpr int kLabelHeight = 23;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kGlyphSize = 16;
constexpr DWORD kPathBufferSize = 261;

// A child window's bounds in its template dialog's client coordinates.
RECT BoundsIn(HWND template_dialog, HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, template_dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The picture panel takes the template dialog's client area from left on, a little down.
RECT PicturePanelBoundsFrom(HWND template_dialog, LONG left, int pixels_per_inch) {
  RECT bounds{};
  ::GetClientRect(template_dialog, &bounds);
  bounds.left = left;
  bounds.top += ScaledMeasure(kPicturePanelTop, pixels_per_inch);
  return bounds;
}

// At first, and when the dialog changed its scale, the panel stands right of the
// platform's controls.
RECT PicturePanelBounds(HWND template_dialog, int pixels_per_inch) {
  HWND platform_area = ::GetDlgItem(template_dialog, kPlatformControlsArea);
  return PicturePanelBoundsFrom(
      template_dialog, platform_area ? BoundsIn(template_dialog, platform_area).right : 0,
      pixels_per_inch);
}

// When the user resizes the dialog the platform widens its own controls and shifts the
// panel right by as much; the panel keeps that left edge and grows down to the bottom.
RECT ResizedPicturePanelBounds(HWND template_dialog, HWND panel, int pixels_per_inch) {
  return PicturePanelBoundsFrom(template_dialog, BoundsIn(template_dialog, panel).left,
                                pixels_per_inch);
}

RECT NonNegative(RECT r) {
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

// Inside the picture panel: the label along the top, the paint panel below it, the
// preview button at the label's right end.
struct PanelLayout {
  RECT label;
  RECT paint;
  RECT button;
};

PanelLayout LayOutPicturePanel(const RECT& inner, int pixels_per_inch) {
  const auto scaled = [pixels_per_inch](int designed) {
    return ScaledMeasure(designed, pixels_per_inch);
  };
  PanelLayout layout{};
  layout.label = {inner.left, inner.top, inner.right, inner.top + scaled(kLabelHeight)};
  layout.paint = {inner.left, layout.label.bottom, inner.right,
                  std::max(layout.label.bottom, inner.bottom)};
  const int button_left = layout.paint.right - scaled(kButtonWidth) - scaled(2);
  const int button_top = layout.label.top + scaled(1);
  layout.button = {button_left, button_top, button_left + scaled(kButtonWidth),
                   button_top + scaled(kButtonHeight)};
  return layout;
}

}  // namespace

TSavePictureDialog::TSavePictureDialog() = default;
TSavePictureDialog::~TSavePictureDialog() { DestroyPreviewControls(); }

void TSavePictureDialog::PrepareRecord(OPENFILENAMEW& record) {
  record.Flags |= OFN_ENABLETEMPLATE;
  record.lpTemplateName = L"DLGTEMPLATE";
}

void TSavePictureDialog::OnInitDone(HWND hook_window) {
  TSaveDialog::OnInitDone(hook_window);
  DestroyPreviewControls();
  CreatePreviewControls(hook_window);
  picture_.Assign(nullptr);
  remembered_path_.clear();
}

void TSavePictureDialog::CreatePreviewControls(HWND template_dialog) {
  // The platform made the dialog and its font at the scale of the monitor it stands on.
  pixels_per_inch_ = win::WindowPixelsPerInch(template_dialog);
  const HFONT font =
      reinterpret_cast<HFONT>(::SendMessageW(template_dialog, WM_GETFONT, 0, 0));
  const RECT bounds = NonNegative(PicturePanelBounds(template_dialog, pixels_per_inch_));
  TPreviewPanel::Look picture_look;
  picture_look.border_width = ScaledMeasure(kPicturePanelBorder, pixels_per_inch_);
  picture_panel_ = std::make_unique<TPreviewPanel>(template_dialog, bounds, kPicturePanelId,
                                                   picture_look, font);
  picture_panel_->SetOnCommand([this](int id, int code) {
    if (id == kPreviewButtonId && code == BN_CLICKED) OpenPreviewWindow();
  });
  const PanelLayout layout = LayOutPicturePanel(picture_panel_->InnerRect(), pixels_per_inch_);

  // The label and the preview button only show and open the picture; the dialog saves
  // without them, so one the system refuses is left out.
  label_ = win::CreateControlIfPossible({.parent = picture_panel_->Handle(),
                                         .window_class = L"STATIC",
                                         .style = SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS,
                                         .bounds = layout.label,
                                         .id = kPictureLabelId,
                                         .font = font});
  CreatePaintPanel(layout.paint, font);
  CreatePreviewButton(template_dialog, layout.button, font);
}

void TSavePictureDialog::CreatePaintPanel(const RECT& bounds, HFONT font) {
  TPreviewPanel::Look paint_look;
  paint_look.bevels = true;
  paint_panel_ = std::make_unique<TPreviewPanel>(picture_panel_->Handle(), bounds,
                                                 kPaintPanelId, paint_look, font);
  paint_panel_->SetCaption(strings::kPreviewNone);
  paint_panel_->SetPicture(&picture_);
  paint_panel_->SetOnDoubleClick([this] { OpenPreviewWindow(); });
  paint_panel_->SetOnDrawFailure([this] { paint_panel_->SetCaption(strings::kPreviewInvalid); });
}

void TSavePictureDialog::CreatePreviewButton(HWND template_dialog, const RECT& bounds,
                                             HFONT font) {
  button_ = win::CreateControlIfPossible({.parent = picture_panel_->Handle(),
                                          .window_class = L"BUTTON",
                                          .style = BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP,
                                          .bounds = bounds,
                                          .id = kPreviewButtonId,
                                          .font = font});
  if (!button_) return;
  LoadGlyph();
  ::SetWindowPos(button_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::EnableWindow(button_, FALSE);

  // The button's hint, "プレビュー"; the button works without it.
  tooltip_.Reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   template_dialog, nullptr, ::GetModuleHandleW(nullptr),
                                   nullptr));
  if (!tooltip_) return;
  std::wstring hint = win::WideFromSjis(strings::kPreview);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = picture_panel_->Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(button_);
  tool.lpszText = hint.data();
  ::SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TSavePictureDialog::LoadGlyph() {
  // Stretched from its 16 x 16 pixels to the button's scale.
  const int size = ScaledMeasure(kGlyphSize, pixels_per_inch_);
  win::UniqueBitmap glyph(static_cast<HBITMAP>(::LoadImageW(
      ::GetModuleHandleW(nullptr), L"PREVIEWGLYPH", IMAGE_BITMAP, size, size, LR_LOADMAP3DCOLORS)));
  if (!glyph) return;
  ::SendMessageW(button_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph.Get()));
  glyph_ = std::move(glyph);
}

void TSavePictureDialog::LayOutPreviewControls(const RECT& panel_bounds) {
  picture_panel_->SetBounds(NonNegative(panel_bounds));
  const PanelLayout layout = LayOutPicturePanel(picture_panel_->InnerRect(), pixels_per_inch_);
  win::MoveTo(label_, layout.label);
  if (paint_panel_) paint_panel_->SetBounds(layout.paint);
  win::MoveTo(button_, layout.button);
}

void TSavePictureDialog::OnResized(HWND hook_window) {
  if (!picture_panel_) return;
  LayOutPreviewControls(
      ResizedPicturePanelBounds(hook_window, picture_panel_->Handle(), pixels_per_inch_));
}

void TSavePictureDialog::OnDpiChanged(HWND hook_window) {
  if (!picture_panel_) return;
  // The platform has placed its own controls and made the dialog's font for the new scale.
  pixels_per_inch_ = win::WindowPixelsPerInch(hook_window);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hook_window, WM_GETFONT, 0, 0));
  for (HWND control : {label_, button_}) {
    if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  picture_panel_->SetFont(font);
  if (paint_panel_) paint_panel_->SetFont(font);
  picture_panel_->SetBorderWidth(ScaledMeasure(kPicturePanelBorder, pixels_per_inch_));
  if (button_) LoadGlyph();
  LayOutPreviewControls(PicturePanelBounds(hook_window, pixels_per_inch_));
}

void TSavePictureDialog::DestroyPreviewControls() {
  win::ReleaseIfDestroyed(tooltip_);
  if (tooltip_) ::SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
  tooltip_.Reset();
  // The panel's children (label, button, paint panel) go with it.
  paint_panel_.reset();
  picture_panel_.reset();
  label_ = nullptr;
  button_ = nullptr;
  glyph_.Reset();
}

void TSavePictureDialog::OnDestroy(HWND) { DestroyPreviewControls(); }

void TSavePictureDialog::OnSelectionChange(HWND hook_window) {
  std::array<wchar_t, kPathBufferSize + 1> buffer{};
  const LRESULT length = ::SendMessageW(::GetParent(hook_window), CDM_GETFILEPATH,
                                        kPathBufferSize, reinterpret_cast<LPARAM>(buffer.data()));
  // A path that does not fit counts as no file.
  const std::wstring path =
      length > 0 && length <= static_cast<LRESULT>(kPathBufferSize) ? buffer.data() : L"";
  if (path == remembered_path_) return;
  remembered_path_ = path;
  ShowFile(path);
}

void TSavePictureDialog::ShowFile(const std::wstring& path) {
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES
                                        : ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShowNoPicture();
    return;
  }
  try {
    picture_.LoadFromFile(pelmora::FileName(path));
  } catch (...) {
    ShowNoPicture();
    return;
  }
  if (label_) {
    const std::string size = Format(strings::kPreviewSize, {std::int64_t{picture_.Width()},
                                                            std::int64_t{picture_.Height()}});
    ::SetWindowTextW(label_, win::WideFromSjis(size).c_str());
  }
  if (button_) ::EnableWindow(button_, TRUE);
  if (paint_panel_) {
    paint_panel_->SetCaption("");
    ::InvalidateRect(paint_panel_->Handle(), nullptr, FALSE);
  }
}

void TSavePictureDialog::ShowNoPicture() {
  if (label_) ::SetWindowTextW(label_, win::WideFromSjis(strings::kPreviewNoPicture).c_str());
  if (button_) ::EnableWindow(button_, FALSE);
  picture_.Assign(nullptr);
  if (paint_panel_) {
    paint_panel_->SetCaption(strings::kPreviewNone);
    ::InvalidateRect(paint_panel_->Handle(), nullptr, FALSE);
  }
}

void TSavePictureDialog::OpenPreviewWindow() {
  if (picture_.Graphic() == nullptr || picture_.Graphic()->Empty()) return;
  if (tooltip_) ::SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
  HWND dialog = picture_panel_ ? ::GetAncestor(picture_panel_->Handle(), GA_ROOT) : nullptr;
  ShowPicturePreview(dialog, picture_);
}

}  // namespace pelmora
