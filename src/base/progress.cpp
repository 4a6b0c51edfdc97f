#include "base/progress.h"

#include <utility>

namespace pelmora {
namespace {

thread_local ProgressListener* g_listener = nullptr;

}  // namespace

ProgressScope::ProgressScope(ProgressListener& listener)
    : previous_(std::exchange(g_listener, &listener)) {}

ProgressScope::~ProgressScope() { g_listener = previous_; }

void ReportProgress(std::uint64_t done, std::uint64_t total) noexcept {
  if (g_listener != nullptr) g_listener->OnProgress(done, total);
}

}  // namespace pelmora
