#pragma once
// Stops an error box from bringing itself back. When reading the clipboard throws during a
// paint, the box appears; closing it repaints the main window, which would read the
// clipboard again and throw again. So a paint or resize skips the read while the clipboard
// sequence number and the client size are those of the read that threw. Commands read
// unconditionally.
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
