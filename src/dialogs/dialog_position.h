#pragma once
// Where a dialog or box of the program goes on its monitor: centred across, and down by
// half or by a third of the free height.
namespace pelmora {

// How far down the free height a window goes.
enum class VerticalPlace {
  Middle,      // half: the message box and the preview window, centred as a box is
  UpperThird,  // a third: the platform's file and font dialogs, tall windows that sit high
};

struct DialogOrigin {
  int left = 0;
  int top = 0;
  friend bool operator==(const DialogOrigin&, const DialogOrigin&) = default;
};

// Integer division toward zero, so a window larger than the monitor moves up and left by
// half (a third) of the excess.
constexpr DialogOrigin CentredDialogOrigin(int monitor_left, int monitor_top, int monitor_width,
                                           int monitor_height, int dialog_width,
                                           int dialog_height, VerticalPlace place) {
  const int down = place == VerticalPlace::Middle ? 2 : 3;
  return {monitor_left + (monitor_width - dialog_width) / 2,
          monitor_top + (monitor_height - dialog_height) / down};
}

}  // namespace pelmora
