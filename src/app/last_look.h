#pragma once
// The clipboard state the view last looked at. A look pastes the text anew (the user's
// scroll position and selection go) and copies the whole bitmap, and a look that failed
// would bring its error box back at every paint. So paints, activations and clipboard
// notifications look only when the clipboard's sequence number differs from the one the
// last look started from, whether that look succeeded or failed. Commands look
// unconditionally and note the number they saw, so the notification of a change the
// program made itself shows nothing a second time.
#include <cstdint>
#include <optional>

namespace pelmora {

class LastLook {
 public:
  // Whether the clipboard in this state is yet to be looked at.
  bool IsBefore(std::uint32_t clipboard_sequence) const {
    return !seen_ || *seen_ != clipboard_sequence;
  }
  // The clipboard in this state has been looked at, or the view already shows it.
  void Note(std::uint32_t clipboard_sequence) { seen_ = clipboard_sequence; }

 private:
  std::optional<std::uint32_t> seen_;
};

}  // namespace pelmora
