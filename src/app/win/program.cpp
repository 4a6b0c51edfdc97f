#include "app/win/program.h"

#include "base/win/program_file.h"
#include "picture/jpeg_image.h"
#include "raster/win/screen_facts.h"

namespace pelmora {

Program::Registries::Registries() {
  RegisterClipboardFormats();
  InitJpegImageKind(raster::Screen().Depth());
}

Program::Registries::~Registries() { DoneJpegImageKind(); }

Program::Program(HINSTANCE instance)
    : screen_(ReadScreenFacts()),
      application_(instance),
      error_display_owner_(application_.Handle(), application_.Title()),
      clipboard_owner_(application_.Handle()),
      about_window_(application_),
      main_window_(application_, about_window_),
      dialog_windows_(application_.Handle(), main_window_.Handle()) {}

int Program::Run(int show_command) {
  main_window_.Show(show_command);
  return application_.Run();
}

int RunProgram(HINSTANCE instance, int show_command) {
  try {
    Program program(instance);
    return program.Run(show_command);
    // Everything start-up made is undone here, in reverse order.
  } catch (...) {
    // A failure while the windows are made: nothing of the program is left to own the box.
    const win::ErrorDisplayOwnership titled(nullptr, win::ApplicationTitle());
    win::ShowCurrentException();
    return 0;
  }
}

}  // namespace pelmora
