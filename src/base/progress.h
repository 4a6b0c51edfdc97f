#pragma once
// Progress of long work, reported from inside it (the text view's stream callbacks, the
// picture writers' rows) to whatever shows it, without either knowing the other. The work
// calls ReportProgress as it goes, which costs a look at one thread-local pointer when
// nothing listens; a ProgressScope makes a listener hear every report made on its thread
// for the scope's life. Work in stages reports each stage from 0 to its own total.
#include <cstdint>

namespace pelmora {

class ProgressListener {
 public:
  virtual void OnProgress(std::uint64_t done, std::uint64_t total) noexcept = 0;

 protected:
  ~ProgressListener() = default;
};

class ProgressScope {
 public:
  explicit ProgressScope(ProgressListener& listener);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  ProgressListener* previous_;
};

// done of total units of the work under way; nothing happens while no scope listens.
void ReportProgress(std::uint64_t done, std::uint64_t total) noexcept;

}  // namespace pelmora
