#include "base/win/error_display.h"

#include <exception>
#include <utility>

#include "base/error_text.h"
#include "base/errors.h"
#include "base/strings.h"
#include "base/win/modal_scope.h"
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

ErrorDisplayOwnership::ErrorDisplayOwnership(HWND owner, std::string title)
    : previous_owner_(std::exchange(Owner().window, owner)),
      previous_title_(std::exchange(Owner().title, std::move(title))) {}

ErrorDisplayOwnership::~ErrorDisplayOwnership() {
  Owner().window = previous_owner_;
  Owner().title = std::move(previous_title_);
}

HWND ErrorDisplayOwner() { return Owner().window; }

namespace {

void ShowErrorText(const std::wstring& text) noexcept {
  try {
    const std::wstring caption = WideFromSjis(Owner().title);
    HWND owner = Owner().window;
    if (owner && !::IsWindow(owner)) owner = nullptr;

    ModalScope scope(owner);
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Out of memory while building the box: there is nothing left to show it with.
  }
}

}  // namespace

void ShowErrorMessage(std::string_view message) noexcept {
  try {
    ShowErrorText(WideFromSjis(ErrorDisplayText(message)));
  } catch (...) {
    // Out of memory while converting the text: nothing is left to show it with.
  }
}

std::wstring WideErrorText(const Exception& error) {
  const std::string& narrow = error.Message();
  if (error.Pieces().empty()) return WideFromSjis(ErrorDisplayText(narrow));
  std::wstring text;
  for (const MessagePiece& piece : error.Pieces()) {
    if (const auto* sjis = std::get_if<std::string>(&piece)) {
      text += WideFromSjis(*sjis);
    } else {
      text += std::get<std::filesystem::path>(piece).native();
    }
  }
  // The full stop the narrow form would get.
  if (ErrorDisplayText(narrow).size() > narrow.size()) text += L'.';
  return text;
}

void ShowError(const Exception& error) noexcept {
  try {
    ShowErrorText(WideErrorText(error));
  } catch (...) {
    // As above.
  }
}

void ShowCurrentException() noexcept {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& error) {
    ShowError(error);
  } catch (const std::exception& error) {
    ShowErrorMessage(error.what());
  } catch (...) {
    ShowErrorMessage(strings::kUnknownError);
  }
}

}  // namespace pelmora::win
