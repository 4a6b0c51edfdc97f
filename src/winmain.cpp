// The program's entry point: start-up in order, the message loop, the end.
#include <windows.h>

#include "app/win/about_window.h"
#include "app/win/application.h"
#include "app/win/instance_guard.h"
#include "app/win/main_window.h"
#include "app/win/screen_facts.h"
#include "base/win/error_display.h"
#include "clipboard/win/clipboard.h"
#include "dialogs/win/dialog_host.h"
#include "picture/jpeg_image.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  using namespace pelmora;
  // Before any window exists: the display's facts for the images, the program's own
  // clipboard formats, and the JPEG image kind, whose decoded depth follows the screen.
  raster::SetScreen(ReadScreenFacts());
  RegisterClipboardFormats();
  InitJpegImageKind(raster::Screen().Depth());

  const InstanceGuard guard = AcquireInstanceGuard();
  if (guard.another_copy_running) return 0;

  try {
    TApplication application(instance);
    TClipboard::SetApplicationWindow(application.Handle());
    MainWindow main_window(application);
    win::SetDialogWindows(application.Handle(), main_window.Handle());
    AboutWindow about_window(application);
    main_window.SetAboutWindow(&about_window);
    main_window.Show(show_command);
    application.Run();
    // The windows are destroyed here, in reverse order of creation.
  } catch (...) {
    // A failure while the windows are made: shown like any other error, then the end.
    win::ShowCurrentException();
  }
  TClipboard::SetApplicationWindow(nullptr);
  DoneJpegImageKind();
  return 0;
}
