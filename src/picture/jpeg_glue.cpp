#include "picture/jpeg_glue.h"

#include <cstring>
#include <new>

#include <jerror.h>

namespace pelmora::jpeg {
namespace {

ErrorManager& ManagerOf(j_common_ptr cinfo) {
  // pub is the first member, so libjpeg's pointer is the manager's address.
  return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

void ExitByJump(j_common_ptr cinfo) { std::longjmp(ManagerOf(cinfo).jump, 1); }

void DropMessage(j_common_ptr) {}

void DropEmittedMessage(j_common_ptr, int) {}

// libjpeg reports progress between the input steps, so a new scan is seen right after its
// header is read.
void LimitScanWork(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  ErrorManager& manager = ManagerOf(cinfo);
  const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number <= manager.counted_scans) return;
  manager.counted_scans = dinfo->input_scan_number;
  for (int i = 0; i < dinfo->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i) {
    const jpeg_component_info* component = dinfo->cur_comp_info[i];
    if (component == nullptr) continue;
    manager.scan_blocks +=
        std::uint64_t{component->width_in_blocks} * component->height_in_blocks;
  }
  if ((manager.max_scans > 0 && manager.counted_scans > manager.max_scans) ||
      (manager.max_scan_blocks > 0 && manager.scan_blocks > manager.max_scan_blocks)) {
    ERREXIT(cinfo, JERR_BAD_PROGRESSION);
  }
}

VectorDestination& DestinationOf(j_compress_ptr cinfo) {
  return *reinterpret_cast<VectorDestination*>(cinfo->dest);
}

void ResetChunk(VectorDestination& destination) {
  destination.pub.next_output_byte = destination.chunk;
  destination.pub.free_in_buffer = sizeof destination.chunk;
}

// Appends the first count bytes of the chunk; false when memory runs out. The exception is
// caught here so that the fatal error is raised outside any catch block.
bool AppendChunk(VectorDestination& destination, std::size_t count) noexcept {
  try {
    destination.out->insert(destination.out->end(), destination.chunk,
                            destination.chunk + count);
    return true;
  } catch (...) {
    return false;
  }
}

void InitDestination(j_compress_ptr cinfo) { ResetChunk(DestinationOf(cinfo)); }

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  VectorDestination& destination = DestinationOf(cinfo);
  if (!AppendChunk(destination, sizeof destination.chunk)) {
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  }
  ResetChunk(destination);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  VectorDestination& destination = DestinationOf(cinfo);
  if (!AppendChunk(destination, sizeof destination.chunk - destination.pub.free_in_buffer)) {
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  }
  ResetChunk(destination);
}

}  // namespace

void InitErrorManager(ErrorManager& manager) {
  jpeg_std_error(&manager.pub);
  manager.pub.error_exit = ExitByJump;
  manager.pub.output_message = DropMessage;
  manager.pub.emit_message = DropEmittedMessage;
  manager.max_scans = 0;
  manager.max_scan_blocks = 0;
  manager.counted_scans = 0;
  manager.scan_blocks = 0;
  manager.progress = {};
}

void LimitScans(ErrorManager& manager, j_decompress_ptr cinfo, int max_scans,
                std::uint64_t max_scan_blocks) {
  manager.max_scans = max_scans;
  manager.max_scan_blocks = max_scan_blocks;
  manager.progress.progress_monitor = LimitScanWork;
  cinfo->progress = &manager.progress;
}

bool RunGuarded(ErrorManager& manager, void (*step)(void* context), void* context) {
  if (setjmp(manager.jump) != 0) return false;
  step(context);
  return true;
}

void InitVectorDestination(VectorDestination& destination, j_compress_ptr cinfo,
                           std::vector<std::uint8_t>& out) {
  destination.pub.init_destination = InitDestination;
  destination.pub.empty_output_buffer = EmptyOutputBuffer;
  destination.pub.term_destination = TermDestination;
  destination.out = &out;
  ResetChunk(destination);
  cinfo->dest = &destination.pub;
}

}  // namespace pelmora::jpeg
