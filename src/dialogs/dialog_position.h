#pragma once
// Where a dialog goes on a monitor: centred across, a third of the free height down.
namespace pelmora {

struct DialogOrigin {
  int left = 0;
  int top = 0;
  friend bool operator==(const DialogOrigin&, const DialogOrigin&) = default;
};

// Integer division toward zero, so a dialog larger than the monitor moves up and left by
// half (a third) of the excess.
constexpr DialogOrigin CentredDialogOrigin(int monitor_left, int monitor_top, int monitor_width,
                                           int monitor_height, int dialog_width,
                                           int dialog_height) {
  return {monitor_left + (monitor_width - dialog_width) / 2,
          monitor_top + (monitor_height - dialog_height) / 3};
}

}  // namespace pelmora
