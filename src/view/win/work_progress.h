#pragma once
// What the user sees while long work runs on a window's thread: the wait cursor at once,
// and, once the work has taken longer than half a second, a progress bar (the platform's
// progress control) along the bottom of the host window, moved by the work's own reports
// (base/progress.h). The bar is painted as it moves without pumping messages, so nothing
// can re-enter the command that runs the work. Work inside work shows in the outer one.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/progress.h"
#include "base/win/handles.h"

namespace pelmora::win {

class WorkProgress final : public ProgressListener {
 public:
  explicit WorkProgress(HWND host);
  ~WorkProgress();
  WorkProgress(const WorkProgress&) = delete;
  WorkProgress& operator=(const WorkProgress&) = delete;

  void OnProgress(std::uint64_t done, std::uint64_t total) noexcept override;

  // The window class of the bar, for whoever looks for it.
  static const wchar_t* BarClass();

 private:
  void CreateBar() noexcept;

  HWND host_;
  bool outermost_;
  HCURSOR previous_cursor_ = nullptr;
  ULONGLONG started_ = 0;
  UniqueWindow bar_;
  int position_ = -1;
  // Last: reports reach the object only while everything above stands.
  std::optional<ProgressScope> scope_;
};

}  // namespace pelmora::win
