// The program's entry point: start-up in order, the message loop, the end.
#include <windows.h>

#include "app/win/about_form.h"
#include "app/win/application.h"
#include "app/win/instance_guard.h"
#include "app/win/main_form.h"
#include "base/win/error_display.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  using namespace pelmora;
  // Registration of the program's own clipboard formats and of the JPEG image kind (which
  // fixes its decoded depth from the screen) comes here, before any window exists.

  const InstanceGuard guard = AcquireInstanceGuard();
  if (guard.another_copy_running) return 0;

  try {
    TApplication application(instance);
    TForm1 main_form(application);
    TForm2 about_form(application);
    main_form.SetAboutForm(&about_form);
    main_form.Show(show_command);
    application.Run();
    // The windows are destroyed here, in reverse order of creation; the JPEG image kind
    // unregisters after them.
  } catch (...) {
    // A failure while the windows are made: shown like any other error, then the end.
    win::ShowCurrentException();
  }
  return 0;
}
