#pragma once
// Another program holding the clipboard open, played by a thread of the test.
#include <atomic>
#include <thread>

#include "base/win/handles.h"

namespace pelmora::test {

// Opens the clipboard from its own thread and keeps it open until destroyed (or for at
// most ten seconds). The constructor returns once the clipboard is held or the attempt
// failed.
class ClipboardHolder {
 public:
  ClipboardHolder();
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool Held() const { return held_; }

 private:
  win::UniqueKernelHandle tried_;
  win::UniqueKernelHandle release_;
  std::atomic<bool> held_{false};
  std::thread thread_;
};

}  // namespace pelmora::test
