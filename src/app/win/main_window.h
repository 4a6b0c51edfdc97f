#pragma once
// The main window: the panel that fills its client area with the image view and the text
// view inside it, and the context menu through which every command is reached.
#include <windows.h>

#include <exception>
#include <memory>

#include "app/clipboard_kind.h"
#include "app/inspection_guard.h"
#include "app/win/popup_menu.h"
#include "base/win/handles.h"
#include "dialogs/win/file_dialog.h"
#include "dialogs/win/font_dialog.h"
#include "dialogs/win/save_picture_dialog.h"

namespace pelmora {

class AboutWindow;
class TApplication;
class TImage;
class TPanel;
class TRichEdit;
class ImageViewChild;

// The commands of the context menu, in the menu's order.
enum class MenuCommand { RestyleText, LookAgain, CopySelection, SaveShown, LoadFile, ShowAbout, Quit };

class MainWindow {
 public:
  // Creates the window hidden; Show puts it on the screen.
  explicit MainWindow(TApplication& application);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return window_.Get(); }
  void Show(int show_command = SW_SHOWNORMAL);
  // Closes the window as its close box does: the program ends.
  void Close();
  // The window shown by the "about" command.
  void SetAboutWindow(AboutWindow* about) { about_ = about; }

  // What tests and tools see of the window, as a user sees it: what it shows, which
  // commands its menu offers, and the commands run as choosing them in the menu runs them.
  ClipboardKind ShownKind() const { return shown_kind_; }
  const TPanel& Panel() const { return *panel_; }
  const TImage& ImageView() const { return *image_view_; }
  TRichEdit& TextView() { return *text_view_; }
  HMENU ContextMenu() const { return context_menu_.Handle(); }
  UINT CommandId(MenuCommand command) const { return ItemOf(command).Command(); }
  bool Offers(MenuCommand command) const { return ItemOf(command).Visible(); }
  // Through the window's WM_COMMAND, as the menu's choice comes: a failure goes to the
  // default error display.
  void Run(MenuCommand command) { ::SendMessageW(Handle(), WM_COMMAND, CommandId(command), 0); }
  // The window's font ("ＭＳ Ｐゴシック", 12 pixels at 96 pixels per inch, Shift-JIS).
  HFONT Font() const { return font_.Get(); }
  // The scale the window is drawn at: the pixels per inch of its monitor.
  int PixelsPerInch() const { return pixels_per_inch_; }

  // The window procedure's entry: one dispatch per message to the handlers below.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct MenuItems {
    TMenuItem* restyle_text;
    TMenuItem* restyle_separator;
    TMenuItem* look_again;
    TMenuItem* copy_selection;
    TMenuItem* save_separator;
    TMenuItem* save_shown;
    TMenuItem* load_separator;
    TMenuItem* load_file;
    TMenuItem* about_separator;
    TMenuItem* show_about;
    TMenuItem* quit;
  };
  TMenuItem& ItemOf(MenuCommand command) const;

  // Made once: the menu, the dialogs' settings, the views inside the panel.
  void CreateMenu();
  void CreateDialogs();
  void CreateViews(HWND window);

  // Window events.
  LRESULT OnCreate(HWND window);
  void OnDestroy(HWND window);
  void OnSize(HWND window, WPARAM kind);
  void OnPaint(HWND window);
  void OnDpiChanged(int pixels_per_inch, const RECT& suggested);
  bool OnContextMenu(HWND window, LPARAM at);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  bool OnCommand(WPARAM wparam, LPARAM lparam);
  bool OnSysCommand(WPARAM command);

  // The commands of the context menu.
  void RestyleText();
  void LookAgain();
  void CopySelection();
  void SaveShown();
  void SaveShownText();
  void SaveShownPicture();
  void LoadFile();
  void ShowAbout();
  void Quit();

  // Looks at the clipboard and shows what it holds.
  void ShowClipboard();
  // Shows the clipboard's text in the text view.
  void ShowClipboardText();
  // Shows the clipboard's picture in the image view, fitted to the panel.
  void ShowClipboardPicture();
  // Empties both views (the picture's memory is given back) and shows the panel's caption
  // for content of that kind that is not shown.
  void ShowNothing(ClipboardKind kind);
  // The menu offers what it offers for content of that kind.
  void ShowMenuFor(ClipboardKind kind);
  // Looks at the clipboard when it has changed since the last look, unless the window is
  // minimised or disabled (it looks again when it is shown or enabled).
  void FollowClipboard();
  // Asks for FollowClipboard from the message loop, outside the handler that notices the
  // need (activation, showing, enabling, restoring), so that no error box is raised inside
  // the platform's work.
  void PostFollowClipboard();
  // Places the held picture of w x h on the panel: at its own size or scaled to fit.
  void PlacePicture(int w, int h);
  SIZE PanelSize() const;
  // Fonts and the text view's zoom for pixels_per_inch.
  void ApplyScale(int pixels_per_inch);
  void OpenContextMenu(POINT screen_point);

  TApplication& application_;
  InspectionGuard inspection_guard_;
  ClipboardKind shown_kind_ = ClipboardKind::Nothing;
  bool minimized_ = false;
  AboutWindow* about_ = nullptr;
  std::exception_ptr creation_error_;
  int pixels_per_inch_;
  win::UniqueFont font_;
  TPopupMenu context_menu_;
  MenuItems items_{};
  // The dialogs, which keep their settings and last result from one use to the next.
  TSavePictureDialog save_picture_dialog_;
  TSaveDialog save_text_dialog_;
  TOpenDialog open_dialog_;
  TFontDialog font_dialog_;
  // The panel goes before the views inside it, so they are destroyed first.
  std::unique_ptr<TPanel> panel_;
  std::unique_ptr<TImage> image_view_;
  std::unique_ptr<ImageViewChild> image_view_child_;
  std::unique_ptr<TRichEdit> text_view_;
  win::UniqueWindow window_;
};

}  // namespace pelmora
