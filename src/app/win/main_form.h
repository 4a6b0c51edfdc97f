#pragma once
// The main window: the panel that fills its client area with the image view and the text
// view inside it, and the context menu through which every command is reached.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "app/inspection_guard.h"
#include "app/win/popup_menu.h"
#include "base/win/handles.h"
#include "dialogs/win/file_dialog.h"
#include "dialogs/win/font_dialog.h"
#include "dialogs/win/save_picture_dialog.h"

namespace pelmora {

class TApplication;
class TForm2;
class TImage;
class TPanel;
class TRichEdit;
class ImageViewChild;

class TForm1 {
 public:
  // Creates the window hidden; Show puts it on the screen.
  explicit TForm1(TApplication& application);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  HWND Handle() const { return window_.Get(); }
  void Show(int show_command = SW_SHOWNORMAL);
  // Closes the window as its close box does: the program ends.
  void Close();
  // The window shown by the "about" command.
  void SetAboutForm(TForm2* about) { about_ = about; }

  TPanel& Panel1() { return *panel1_; }
  TImage& Image1() { return *image1_; }
  TRichEdit& RichEdit1() { return *rich_edit1_; }
  TPopupMenu& PopupMenu1() { return popup_menu1_; }
  // The form's font ("ＭＳ Ｐゴシック", 12 pixels at 96 pixels per inch, Shift-JIS).
  HFONT Font() const { return font_.Get(); }
  // The scale the window is drawn at: the pixels per inch of its monitor.
  int PixelsPerInch() const { return pixels_per_inch_; }

  // The context menu's items.
  TMenuItem* N5 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N8 = nullptr;
  TMenuItem* N10 = nullptr;
  TMenuItem* N9 = nullptr;
  TMenuItem* SaveAs1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* Help1 = nullptr;
  TMenuItem* N7 = nullptr;

  // What the last look at the clipboard found ("TXT", "BIT", ...); empty at first.
  std::string ClipboardKind;

  // Events.
  void FormCreate();
  void FormPaint();
  void FormResize();
  // The window came to a monitor of another scale: it takes the size the system suggests
  // and draws at the new scale from now on.
  void FormDpiChanged(int pixels_per_inch, const RECT& suggested);
  // Commands of the context menu.
  void N5Click();
  void N8Click();
  void N10Click();
  void SaveAs1Click();
  void N3Click();
  void Help1Click();
  void N7Click();
  // Looks at the clipboard and shows what it holds.
  void Sub_Clip();
  // Shows the clipboard's text in the text view.
  void Clip_Copy_Moji();
  // Shows the clipboard's bitmap in the image view, fitted to the panel.
  void Clip_Copy();
  // Empties both views (the picture's memory is given back) and shows the panel's caption
  // for content of that kind that is not shown.
  void ShowNothing(const std::string& kind);

  // The dialogs, which keep their settings and last result from one use to the next.
  TSavePictureDialog SavePictureDialog1;
  TSaveDialog SaveDialog1;
  TOpenDialog OpenDialog1;
  TFontDialog FontDialog1;

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void CreateMenu();
  // Fonts and the text view's zoom for pixels_per_inch.
  void ApplyScale(int pixels_per_inch);
  void CreateDialogs();
  // Looks at the clipboard when it has changed since the last look, unless the window is
  // minimised or disabled (it looks again when it is shown or enabled).
  void FollowClipboard();
  // Asks for FollowClipboard from the message loop, outside the handler that notices the
  // need (activation, showing, enabling, restoring), so that no error box is raised inside
  // the platform's work.
  void PostFollowClipboard();
  // Places the held picture of w x h on the panel: at its own size or scaled to fit.
  void FitImage1ToPanel(int w, int h);
  SIZE PanelSize() const;
  void CreateChildren(HWND window);
  void OpenContextMenu(POINT screen_point);

  TApplication& application_;
  InspectionGuard inspection_guard_;
  bool minimized_ = false;
  TForm2* about_ = nullptr;
  std::exception_ptr creation_error_;
  int pixels_per_inch_;
  win::UniqueFont font_;
  TPopupMenu popup_menu1_;
  // The panel goes before the views inside it, so they are destroyed first.
  std::unique_ptr<TPanel> panel1_;
  std::unique_ptr<TImage> image1_;
  std::unique_ptr<ImageViewChild> image1_child_;
  std::unique_ptr<TRichEdit> rich_edit1_;
  win::UniqueWindow window_;
};

}  // namespace pelmora
