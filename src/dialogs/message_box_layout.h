#pragma once
// The short message box's geometry and its clipboard text, computed from what the shell
// measured with the box's font, so the rules are testable without a screen.
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

// What the shell measures with the message box's font.
struct MessageBoxFontMetrics {
  int letters_width = 0;    // width of "A".."Z" followed by "a".."z" (52 letters)
  int letters_height = 0;   // height of the same text
  int ok_caption_width = 0; // width of the button caption "OK"
};

// The measures every part of the box is placed by, in pixels.
struct MessageBoxMeasures {
  int average_char_width = 0;  // X
  int char_height = 0;         // Y
  int horizontal_margin = 0;
  int vertical_margin = 0;
  int vertical_spacing = 0;
  int button_width = 0;
  int button_height = 0;
};

struct MessageBoxRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const MessageBoxRect&) const = default;
};

struct MessageBoxLayout {
  int client_width = 0;
  int client_height = 0;
  MessageBoxRect message;  // the text label
  MessageBoxRect button;   // the OK button
};

MessageBoxMeasures MeasureMessageBox(const MessageBoxFontMetrics& metrics);

// The width the message is wrapped in: half the screen's width.
int MessageWrapWidth(int screen_width);

// Places the label and the button around a message that, wrapped in MessageWrapWidth,
// took text_width x text_height pixels.
MessageBoxLayout LayOutMessageBox(const MessageBoxMeasures& measures, int text_width,
                                  int text_height);

// The text Ctrl+C puts on the clipboard: dash lines framing the caption, the message and
// the button captions ("&" removed, each followed by three spaces), every line ended by
// CR LF.
std::string MessageBoxClipboardText(std::string_view caption, std::string_view message,
                                    const std::vector<std::string>& button_captions);

}  // namespace pelmora
