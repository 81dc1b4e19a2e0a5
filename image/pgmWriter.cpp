#include "image/pgmWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/Image.h"
#include "image/imageMessages.h"
#include "image/render.h"

namespace tarnview {

namespace {
constexpr int64_t chunkBytes = int64_t(1) << 20;  // bytes of PGM rows written at once
}

int writePgm(Image& image, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        printCannotOpenForWriting();
        return 0;
    }
    const int nx = image.getNx();
    const int ny = image.getNy();
    // Rows are rendered one at a time (rendering row y alone draws exactly what rendering
    // the whole image draws in that row) into a chunk of about 1 MiB, written at once.
    const int64_t rowBytes = nx > 0 ? nx : 1;
    const int64_t chunkRows = rowBytes >= chunkBytes ? 1 : chunkBytes / rowBytes;
    auto* chunk = static_cast<unsigned char*>(std::malloc(size_t(chunkRows * rowBytes)));
    if (chunk == nullptr) {
        std::fclose(file);
        printNoMemoryForPgm(path);
        return 0;
    }
    bool written = std::fprintf(file, "P5\n%d %d\n255\n", nx, ny) > 0;
    for (int y = ny - 1; y >= 0 && written && nx > 0;) {
        const int64_t rows = std::min<int64_t>(chunkRows, int64_t(y) + 1);
        std::memset(chunk, 0, size_t(rows * nx));
        for (int64_t k = 0; k < rows; k++, y--)
            renderGrey(image, chunk + k * nx, 0, y, nx, 1, nx, 1.0f, 0, 255);
        written = std::fwrite(chunk, 1, size_t(rows * nx), file) == size_t(rows * nx);
    }
    std::free(chunk);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        printCannotWritePgm(path);
        return 0;
    }
    return 1;
}

}  // namespace tarnview
