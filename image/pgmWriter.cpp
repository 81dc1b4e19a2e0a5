#include "image/pgmWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "image/Image.h"
#include "image/chunkedWrite.h"
#include "image/imageMessages.h"
#include "image/render.h"

namespace tarnview {

int writePgm(Image& image, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        printCannotOpenForWriting();
        return 0;
    }
    const int nx = image.getNx();
    const int ny = image.getNy();
    const bool headerWritten = std::fprintf(file, "P5\n%d %d\n255\n", nx, ny) > 0;
    // Rows are rendered one at a time (rendering row y alone draws exactly what rendering
    // the whole image draws in that row), file row k being image row ny - 1 - k.
    auto renderRows = [&](unsigned char* chunk, int64_t first, int64_t rows) -> const void* {
        std::memset(chunk, 0, size_t(rows * nx));
        for (int64_t k = 0; k < rows; k++)
            renderGrey(image, chunk + k * nx, 0, int(ny - 1 - (first + k)), nx, 1, nx, 1.0f, 0, 255);
        return chunk;
    };
    const RowWrite rows = headerWritten ? writeRowsInChunks(file, ny, nx, renderRows) : RowWrite::failed;
    if (rows == RowWrite::noMemory) {
        std::fclose(file);
        printNoMemoryToWrite(path);
        return 0;
    }
    if (!closeWrittenFile(file, rows == RowWrite::written)) {
        printCannotWritePgm(path);
        return 0;
    }
    return 1;
}

}  // namespace tarnview
