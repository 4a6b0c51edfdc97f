#pragma once
// The default error display: what happens to an error that leaves a window-message handler.
// Every window procedure runs its handler through Dispatch, so no exception crosses into
// the platform; EAbort is dropped, anything else is shown in a message box owned by the
// application's hidden window with the application title as caption.
#include <windows.h>

#include <string>
#include <string_view>

namespace pelmora {
class Exception;
}

namespace pelmora::win {

// The window that owns the error boxes and the caption they carry, for the life of the
// object (the program's start-up makes one); the previous owner and caption come back at
// its end. Without one the boxes have no owner and the caption "Error".
class ErrorDisplayOwnership {
 public:
  ErrorDisplayOwnership(HWND owner, std::string title);
  ~ErrorDisplayOwnership();
  ErrorDisplayOwnership(const ErrorDisplayOwnership&) = delete;
  ErrorDisplayOwnership& operator=(const ErrorDisplayOwnership&) = delete;

 private:
  HWND previous_owner_;
  std::string previous_title_;
};
HWND ErrorDisplayOwner();

// Shows one message as the default error display does: ErrorDisplayText of it, OK and the
// error icon, the thread's other windows disabled while the box is up, the active window
// and the focus restored afterwards.
void ShowErrorMessage(std::string_view message) noexcept;

// Shows an error's message as ShowErrorMessage does, with the file names it holds in their
// own script.
void ShowError(const Exception& error) noexcept;

// The error's message as the box shows it: a file name in it keeps every character it has.
std::wstring WideErrorText(const Exception& error);

// The default error display for the exception being handled; call only inside a catch.
void ShowCurrentException() noexcept;

// Runs one message handler; an error leaving it is shown and on_error is returned.
template <typename Handler>
LRESULT Dispatch(Handler&& handler, LRESULT on_error = 0) noexcept {
  try {
    return handler();
  } catch (...) {
    ShowCurrentException();
    return on_error;
  }
}

}  // namespace pelmora::win
