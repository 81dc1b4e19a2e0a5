#include "image/chunkedWrite.h"

#include <algorithm>
#include <cstdlib>

namespace tarnview {

RowWrite writeRowsInChunks(std::FILE* file, int64_t rowCount, int64_t rowBytes, const RowSource& source) {
    if (rowCount <= 0 || rowBytes <= 0) return RowWrite::written;
    const int64_t chunkRows =
        std::min(rowCount, rowBytes >= writeChunkBytes ? 1 : writeChunkBytes / rowBytes);
    auto* chunk = static_cast<unsigned char*>(std::malloc(size_t(chunkRows * rowBytes)));
    if (chunk == nullptr) return RowWrite::noMemory;
    RowWrite result = RowWrite::written;
    for (int64_t first = 0; first < rowCount; first += chunkRows) {
        const int64_t rows = std::min(chunkRows, rowCount - first);
        const void* bytes = source(chunk, first, rows);
        const size_t want = size_t(rows * rowBytes);
        if (std::fwrite(bytes, 1, want, file) != want) {
            result = RowWrite::failed;
            break;
        }
    }
    std::free(chunk);
    return result;
}

int closeWrittenFile(std::FILE* file, bool written) {
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 1 : 0;
}

}  // namespace tarnview
