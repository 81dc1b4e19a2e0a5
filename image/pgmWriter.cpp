#include "image/pgmWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/Image.h"
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
    // One row at a time: rendering row y alone draws exactly what rendering the whole
    // image draws in that row.
    auto* row = static_cast<unsigned char*>(std::malloc(nx > 0 ? size_t(nx) : 1));
    if (row == nullptr) {
        std::fclose(file);
        printNoMemoryForPgm(path);
        return 0;
    }
    bool written = std::fprintf(file, "P5\n%d %d\n255\n", nx, ny) > 0;
    for (int y = ny - 1; y >= 0 && written && nx > 0; y--) {
        std::memset(row, 0, size_t(nx));
        renderGrey(image, row, 0, y, nx, 1, nx, 1.0f, 0, 255);
        written = std::fwrite(row, 1, size_t(nx), file) == size_t(nx);
    }
    std::free(row);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        printCannotWritePgm(path);
        return 0;
    }
    return 1;
}

}  // namespace tarnview
