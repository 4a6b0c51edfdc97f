#include "base/win/error_display.h"

#include <exception>

#include "base/error_text.h"
#include "base/errors.h"
#include "base/strings.h"
#include "base/win/task_windows.h"
#include "base/win/text.h"

namespace pelmora::win {
namespace {

struct OwnerState {
  HWND window = nullptr;
  std::string title = "Error";
};

OwnerState& Owner() {
  static OwnerState state;
  return state;
}

}  // namespace

void SetErrorDisplayOwner(HWND owner, std::string title) {
  Owner().window = owner;
  Owner().title = std::move(title);
}

HWND ErrorDisplayOwner() { return Owner().window; }

void ShowErrorMessage(std::string_view message) noexcept {
  try {
    const std::wstring text = WideFromSjis(ErrorDisplayText(message));
    const std::wstring caption = WideFromSjis(Owner().title);
    HWND owner = Owner().window;
    if (owner && !::IsWindow(owner)) owner = nullptr;

    HWND active = ::GetActiveWindow();
    HWND focus = ::GetFocus();
    {
      DisabledTaskWindows disabled(owner);
      ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    if (active && ::IsWindow(active)) ::SetActiveWindow(active);
    if (focus && ::IsWindow(focus)) ::SetFocus(focus);
  } catch (...) {
    // Out of memory while building the box: there is nothing left to show it with.
  }
}

void ShowCurrentException() noexcept {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& error) {
    ShowErrorMessage(error.Message());
  } catch (const std::exception& error) {
    ShowErrorMessage(error.what());
  } catch (...) {
    ShowErrorMessage(strings::kUnknownError);
  }
}

}  // namespace pelmora::win
