#pragma once
// The C side of the JPEG codec: everything that runs inside libjpeg's frames. libjpeg's
// fatal-error exit longjmps back to RunGuarded, which reports the failure by its return
// value, so no C++ exception ever unwinds through libjpeg; the caller raises EJPEG once
// libjpeg's frames are gone. Decoding reads from memory through libjpeg's own memory
// source; encoding appends to a growable buffer.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace pelmora::jpeg {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  // Decoding stops with a fatal error once a file has more scans than max_scans, or its
  // scans together cover more blocks than max_scan_blocks (0: no limit).
  int max_scans;
  std::uint64_t max_scan_blocks;
  int counted_scans;
  std::uint64_t scan_blocks;
  jpeg_progress_mgr progress;
};

// Fills the manager: fatal errors longjmp, warnings and traces are dropped. Call before
// jpeg_CreateCompress or jpeg_CreateDecompress, then point cinfo->err at manager.pub.
void InitErrorManager(ErrorManager& manager);

// Makes decoding fail with JERR_BAD_PROGRESSION once a file passes either limit; the check
// runs as each scan begins, before it is decoded.
void LimitScans(ErrorManager& manager, j_decompress_ptr cinfo, int max_scans,
                std::uint64_t max_scan_blocks);

// Runs step(context); returns true when it ran to its end, false when libjpeg's fatal-error
// exit was taken (manager.pub.msg_code then holds libjpeg's message code). step must not
// own anything with a destructor: a fatal error skips the rest of it. After false the
// libjpeg object may only be destroyed.
bool RunGuarded(ErrorManager& manager, void (*step)(void* context), void* context);

// Appends libjpeg's output to a growable buffer; running out of memory is libjpeg's
// out-of-memory error.
struct VectorDestination {
  jpeg_destination_mgr pub;
  std::vector<std::uint8_t>* out;
  JOCTET chunk[64 * 1024];
};

void InitVectorDestination(VectorDestination& destination, j_compress_ptr cinfo,
                           std::vector<std::uint8_t>& out);

}  // namespace pelmora::jpeg
