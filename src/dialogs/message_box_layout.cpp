#include "dialogs/message_box_layout.h"

#include <algorithm>

#include "base/muldiv.h"
#include "base/sjis.h"

namespace pelmora {

MessageBoxMeasures MeasureMessageBox(const MessageBoxFontMetrics& metrics) {
  MessageBoxMeasures m;
  // The average letter width in whole pixels, as the platform's dialog units use it.
  m.average_char_width = metrics.letters_width / 52;
  m.char_height = metrics.letters_height;
  const int x = m.average_char_width;
  const int y = m.char_height;
  m.horizontal_margin = MulDiv(8, x, 4);
  m.vertical_margin = MulDiv(8, y, 8);
  m.vertical_spacing = MulDiv(10, y, 8);
  m.button_height = MulDiv(14, y, 8);
  m.button_width = std::max(MulDiv(50, x, 4), metrics.ok_caption_width + 8);
  return m;
}

int MessageWrapWidth(int screen_width) { return screen_width / 2; }

MessageBoxLayout LayOutMessageBox(const MessageBoxMeasures& m, int text_width,
                                  int text_height) {
  MessageBoxLayout layout;
  layout.client_width = std::max(text_width, m.button_width) + 2 * m.horizontal_margin;
  layout.client_height =
      text_height + m.button_height + m.vertical_spacing + 2 * m.vertical_margin;
  layout.message = {m.horizontal_margin, m.vertical_margin, text_width, text_height};
  layout.button = {(layout.client_width - m.button_width) / 2,
                   text_height + m.vertical_margin + m.vertical_spacing, m.button_width,
                   m.button_height};
  return layout;
}

namespace {

std::string WithoutAmpersands(std::string_view caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size();) {
    std::size_t size = CharSizeAt(caption, i);
    if (size == 2 || caption[i] != '&') out.append(caption.substr(i, size));
    i += size;
  }
  return out;
}

}  // namespace

std::string MessageBoxClipboardText(std::string_view caption, std::string_view message,
                                    const std::vector<std::string>& button_captions) {
  const std::string rule = std::string(27, '-') + "\r\n";
  std::string text = rule;
  text.append(caption).append("\r\n").append(rule);
  text.append(message).append("\r\n").append(rule);
  for (const std::string& button : button_captions) {
    text.append(WithoutAmpersands(button)).append("   ");
  }
  text.append("\r\n").append(rule);
  return text;
}

}  // namespace pelmora
