#pragma once
// Writing a file's rows through a buffer of about 1 MiB that is filled chunk by chunk, so
// that a writer that converts its samples needs no second buffer of the image's size, and
// closing with detection of the write and close errors (a full disk) that stdio reports
// late.
#include <cstdint>
#include <cstdio>
#include <functional>

namespace tarnview {

/// Bytes of the buffer writeRowsInChunks fills at once (one row when a row is longer).
inline constexpr int64_t writeChunkBytes = int64_t(1) << 20;

/// Produces rows first ... first + rows - 1 of a file's row block and returns where their
/// rows x rowBytes bytes are: in chunk (which the function fills) or in memory that already
/// holds them in file order (then chunk is left alone).
using RowSource = std::function<const void*(unsigned char* chunk, int64_t first, int64_t rows)>;

/// What writeRowsInChunks achieved.
enum class RowWrite {
    written,   // every row was handed to the stream
    failed,    // a write came back short; later rows were not produced
    noMemory,  // the chunk could not be allocated; nothing was written
};

/// Writes rowCount rows of rowBytes bytes to file, in file order, asking source for as
/// many whole rows at a time as fit in writeChunkBytes (at least one). The buffer is
/// released before returning. Prints nothing; the caller reports a failure.
RowWrite writeRowsInChunks(std::FILE* file, int64_t rowCount, int64_t rowBytes, const RowSource& source);

/// Closes file and returns 1 when written is true and the close, which writes what stdio
/// still holds, succeeded; otherwise 0 (the file is closed either way). Prints nothing.
int closeWrittenFile(std::FILE* file, bool written);

}  // namespace tarnview
