#pragma once
// Keeps a failed look at the clipboard from repeating for ever. A look that fails during a
// paint or a resize shows an error box; closing the box repaints the window, which would
// look again and fail again. After such a failure, paints and resizes skip the look until
// the clipboard's content (its sequence number) or the window's size has changed. A
// command that asks for a look always gets one.
#include <cstdint>
#include <optional>

namespace pelmora {

struct InspectionState {
  std::uint32_t clipboard_sequence = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const InspectionState&, const InspectionState&) = default;
};

class InspectionGuard {
 public:
  // Whether a paint or resize in this state should look at the clipboard.
  bool ShouldInspect(const InspectionState& now) const { return !failed_in_ || *failed_in_ != now; }
  void Failed(const InspectionState& state) { failed_in_ = state; }
  void Succeeded() { failed_in_.reset(); }

 private:
  std::optional<InspectionState> failed_in_;
};

}  // namespace pelmora
