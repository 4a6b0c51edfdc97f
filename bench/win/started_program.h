#pragma once
// The program for the Windows benchmarks, started as the program starts it and its main
// window shown; put away at the end.
#include <windows.h>

#include "app/win/clipboard_view.h"
#include "app/win/main_window.h"
#include "app/win/program.h"

#include "measure.h"

namespace pelmora::bench {

class StartedProgram {
 public:
  StartedProgram() {
    program_.Window().Show();
    PumpMessages();
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  MainWindow& window() { return program_.Window(); }

 private:
  Program program_{::GetModuleHandleW(nullptr)};
};

}  // namespace pelmora::bench
