// How long the main window takes to show large text that another program placed, against
// the bare rich-edit control 4.1 pasting the same clipboard in a plain window: 10 MB of
// mixed Japanese and Latin text (200,000 lines) as CF_UNICODETEXT, and 1 MB of rich text.
// Each timed piece runs from the moment the clipboard holds the text to the text drawn, and
// ends with GdiFlush. Also the peak memory of the 10 MB case above the idle program. Run by
// hand under Wine:
//   scripts/wine-exec build/windows/bench/clipboard_text_bench.exe
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/win/main_window.h"
#include "richtext/win/rich_edit.h"

#include "measure.h"
#include "started_program.h"

namespace {

using namespace pelmora;

using bench::PumpMessages;

// Three runs of a large text make a median; each run's time is shown as it ends.
double Measure(const std::function<void()>& work, const std::function<void()>& prepare) {
  return bench::Measure(work, prepare, 3, true);
}

// The process's commit charge now and at its peak (Wine reports the present value for both).
struct Commit {
  double now_mb;
  double peak_mb;
};
Commit CommitCharge() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return {counters.PagefileUsage / 1048576.0, counters.PeakPagefileUsage / 1048576.0};
}

std::wstring MixedText(int lines, int variant) {
  const std::wstring words[] = {L"クリップボード", L"viewer ", L"日本語の文章 ", L"Latin text ",
                                L"漢字かな交じり", L"12345 "};
  std::wstring text;
  for (int line = 0; line < lines; ++line) {
    for (int w = 0; w < 3; ++w) text += words[(line + w + variant) % 6];
    text += std::to_wstring(line) + L"\r\n";
  }
  return text;
}

std::string RichText(std::size_t bytes, int variant) {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fcharset128 MS Gothic;}"
                    "{\\f1 Arial;}}{\\colortbl;\\red200\\green0\\blue0;\\red0\\green90\\blue160;}";
  for (int run = variant; rtf.size() < bytes; ++run) {
    rtf += "\\f" + std::to_string(run % 2) + "\\cf" + std::to_string(run % 3) +
           (run % 4 == 0 ? "\\b " : "\\b0 ") + "run " + std::to_string(run) +
           " \\'83\\'4e\\'83\\'8a\\'83\\'62\\'83\\'76 \\u24403?\\u26412? rich text\\par\n";
  }
  return rtf + "}";
}

HGLOBAL Block(const void* data, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(::GlobalLock(block), data, size);
  ::GlobalUnlock(block);
  return block;
}

// Places text as another program does: plain text, or rich text with its plain form.
void Place(const std::wstring& text, const std::string& rtf) {
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  if (!rtf.empty()) {
    ::SetClipboardData(::RegisterClipboardFormatW(L"Rich Text Format"),
                       Block(rtf.c_str(), rtf.size() + 1));
  }
  ::SetClipboardData(CF_UNICODETEXT, Block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
  ::CloseClipboard();
}

}  // namespace

int main(int argc, char** argv) {
  // A smaller text for a quick look: clipboard_text_bench.exe <lines>
  const int lines = argc > 1 ? std::atoi(argv[1]) : 200000;
  bench::StartedProgram program;
  MainWindow& form = program.window();

  // The bare control in a plain window of the same size, pasting as the user asks it to.
  ::LoadLibraryW(L"Msftedit.dll");
  HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 432,
                                 258, nullptr, nullptr, nullptr, nullptr);
  HWND bare = nullptr;
  PumpMessages();

  auto drawn = [](HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::GdiFlush();
  };
  // The window follows the clipboard by itself: the text shows once its notice is handled,
  // in one step that takes the new text in a new window of the control.
  HWND before = nullptr;
  auto shown = [&] {
    while (form.View().TextView().Handle() == before) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
      PumpMessages();
    }
    drawn(form.Handle());
  };
  // A new control for each paste, as the view takes new text in a new window: some versions
  // of the control (Wine's) take time in the square of the paragraphs to empty one. Its
  // predecessor goes before, untimed; the view's old window goes inside its timed step.
  auto pasted_bare = [&] {
    bare = ::CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                             WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0, 424, 231,
                             plain, nullptr, nullptr, nullptr);
    ::SendMessageW(bare, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    ::SendMessageW(bare, WM_PASTE, 0, 0);
    drawn(plain);
  };

  // The plain text's label tells its size as given: 200,000 lines make about 10 MB.
  char lines_label[64];
  std::snprintf(lines_label, sizeof lines_label, "%d lines of text, %.1f MB", lines,
                static_cast<double>(MixedText(lines, 0).size() * sizeof(wchar_t)) / 1048576.0);
  struct Case {
    const char* name;
    std::function<std::wstring(int)> text;
    std::function<std::string(int)> rtf;
  };
  const Case cases[] = {
      {lines_label, [&](int v) { return MixedText(lines, v); },
       [](int) { return std::string(); }},
      {"1 MB of rich text", [](int v) { return MixedText(100, v); },
       [](int v) { return RichText(1 << 20, v); }},
  };
  for (const Case& c : cases) {
    int variant = 0;
    std::wstring text;
    // The view holds text before each run; the new text comes in its place.
    ::ShowWindow(form.Handle(), SW_SHOW);
    Place(L"text before", "");
    while (::GetWindowTextLengthW(form.View().TextView().Handle()) == 0) PumpMessages();
    const Commit idle = CommitCharge();
    const double ours = Measure(shown, [&] {
      text = c.text(++variant);
      before = form.View().TextView().Handle();
      Place(text, c.rtf(variant));
    });
    const Commit showing = CommitCharge();
    // The window is hidden while the bare control pastes, so it does not follow the clipboard.
    ::ShowWindow(form.Handle(), SW_HIDE);
    PumpMessages();
    Commit bare_before{}, bare_holding{};
    const double theirs = Measure(
        [&] {
          bare_before = CommitCharge();
          pasted_bare();
          bare_holding = CommitCharge();
        },
        [&] {
          if (bare) ::DestroyWindow(bare);
          bare = nullptr;
          text = c.text(++variant);
          Place(text, c.rtf(variant));
        });
    ::DestroyWindow(bare);
    bare = nullptr;
    std::printf("%-30s shown %8.1f ms  bare control's paste %8.1f ms  %5.2fx\n", c.name, ours,
                theirs, ours / theirs);
    // The placing side (this process, standing for the other program) holds the text and its
    // clipboard block: two UTF-16 copies of it. The bare control's own share is what it
    // adds to the commit charge when it holds the same text.
    if (!c.rtf(0).empty()) continue;  // memory is reported for the plain text
    const double utf16_mb = static_cast<double>(text.size() * sizeof(wchar_t)) / 1048576.0;
    const double view_mb = std::max(showing.now_mb, showing.peak_mb) - idle.now_mb - 2 * utf16_mb;
    const double control_mb = bare_holding.now_mb - bare_before.now_mb;
    std::printf("  text %.1f MB as UTF-16; the program holding it %.1f MB above idle (%.2fx); "
                "the bare control alone %.1f MB (%.2fx); the program beyond the control %.1f MB "
                "(%.2fx)\n",
                utf16_mb, view_mb, view_mb / utf16_mb, control_mb, control_mb / utf16_mb,
                view_mb - control_mb, (view_mb - control_mb) / utf16_mb);
  }
  ::DestroyWindow(plain);
  return 0;
}
