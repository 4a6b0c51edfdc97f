#pragma once
// The main window: the clipboard view that fills its client area, and the context menu
// through which every command is reached.
#include <windows.h>

#include <exception>
#include <memory>

#include "app/clipboard_kind.h"
#include "app/menu_command.h"
#include "app/win/popup_menu.h"
#include "base/win/handles.h"
#include "dialogs/win/font_dialog.h"

namespace pelmora {

class AboutWindow;
class ClipboardView;
class FileCommands;
class TApplication;

class MainWindow {
 public:
  // Creates the window hidden; Show puts it on the screen. The about command shows about.
  MainWindow(TApplication& application, AboutWindow& about);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return window_.Get(); }
  void Show(int show_command = SW_SHOWNORMAL);
  // Closes the window as its close box does: the program ends.
  void Close();

  // What fills the window: the views and what they show.
  ClipboardView& View() { return *view_; }
  const ClipboardView& View() const { return *view_; }
  // The context menu as the platform shows it: its visible items only.
  HMENU ContextMenu() const { return context_menu_.Handle(); }

  // The window procedure's entry: one dispatch per message to the handlers below.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct MenuItems {
    TMenuItem* restyle_text;
    TMenuItem* restyle_separator;
    TMenuItem* copy_selection;
    TMenuItem* save_separator;
    TMenuItem* save_shown;
  };
  void CreateMenu();

  // Window events.
  LRESULT OnCreate(HWND window);
  void OnDestroy(HWND window);
  void OnSize(HWND window, WPARAM kind);
  void OnPaint(HWND window);
  void OnDpiChanged(int pixels_per_inch, const RECT& suggested);
  bool OnContextMenu(HWND window, LPARAM at);
  bool OnCommand(WPARAM wparam, LPARAM lparam);
  bool OnSysCommand(WPARAM command);
  // The view shows content of this kind: the menu offers what it offers for it.
  void OnShown(ClipboardKind kind);

  // The commands of the context menu that are the window's own.
  void RestyleText();
  void ShowAbout();

  // Looks at the clipboard when it has changed since the last look, unless the window is
  // minimised or disabled (it looks again when it is shown or enabled).
  void FollowClipboard();
  // Asks for FollowClipboard from the message loop, outside the handler that notices the
  // need (a paint, activation, showing, enabling, restoring), so that no error box is
  // raised inside the platform's work.
  void PostFollowClipboard();
  void OpenContextMenu(POINT screen_point);
  // The views' fonts and the text view's zoom for pixels_per_inch.
  void ApplyScale(int pixels_per_inch);

  TApplication& application_;
  AboutWindow& about_;
  // The scale the window is drawn at: the pixels per inch of its monitor.
  int pixels_per_inch_;
  bool minimized_ = false;
  std::exception_ptr creation_error_;
  TPopupMenu context_menu_;
  MenuItems items_{};
  TFontDialog font_dialog_;
  std::unique_ptr<ClipboardView> view_;
  std::unique_ptr<FileCommands> file_commands_;
  win::UniqueWindow window_;
};

}  // namespace pelmora
