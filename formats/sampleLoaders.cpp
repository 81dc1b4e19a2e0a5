#include "formats/sampleLoaders.h"

#include <sys/types.h>

#include <climits>
#include <cstring>

#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "image/Image.h"
#include "image/imageMessages.h"
#include "image/progress.h"
#include "image/sampleLimit.h"

namespace tarnview {

namespace {

// Images at least this many samples wide report their progress; narrower ones (the
// small images of a particle stack) are read too fast for a report to be seen.
constexpr int reportedWidth = 512;

// Reads ny rows of nz items of nx samples of sampleBytes bytes into the front of the
// image's buffer, the stream's first row into row ny - 1. Sizes are already checked.
int readRowsLastFirst(Image& image, FILE* stream, int nx, int ny, int nz, int sampleBytes,
                      const char* stage) {
    const int64_t itemBytes = int64_t(nx) * sampleBytes;
    const int64_t rowBytes = itemBytes * nz;
    const int64_t totalBytes = rowBytes * ny;

    if (!withinSampleLimit(nx, ny, nz)) {
        // Passed over as an image that cannot be allocated is.
        fseeko(stream, off_t(totalBytes), SEEK_CUR);
        return 0;
    }
    // A stream that is known to be too short fails exactly as reading it would, without
    // allocating the image first: the short row gets the items that are there, and the
    // stream is left at its end.
    const int64_t left = bytesLeft(stream);
    if (left >= 0 && left < totalBytes) {
        printIncompleteDataRead(int(left % rowBytes / itemBytes), nz * ny);
        fseeko(stream, 0, SEEK_END);
        return 0;
    }

    if (!image.resize(nx, ny, nz)) {
        // Pass over the image so that a stack's next image is read from its own place.
        printImageOutOfMemory(nx, ny, nz);
        fseeko(stream, off_t(totalBytes), SEEK_CUR);
        return 0;
    }
    unsigned char* bytes = reinterpret_cast<unsigned char*>(image.getData());
    const bool report = nx >= reportedWidth;
    for (int r = ny - 1; r >= 0; r--) {
        size_t got = std::fread(bytes + r * rowBytes, size_t(itemBytes), size_t(nz), stream);
        if (got < size_t(nz)) {
            printIncompleteDataRead(int(got), nz * ny);
            return 0;
        }
        if (report)
            reportProgress(progressFigure((ny - r) * itemBytes), progressFigure(totalBytes / nz), stage);
    }
    return 1;
}

int setData(Image& image, const float* buffer, int nx, int ny, int nz, bool complexSamples) {
    if (!checkImageSize(nx, ny, nz)) return 0;
    const bool own = buffer == image.getData();
    const int flags = complexSamples ? (image.getFlags() | complexFlag) : (image.getFlags() & ~complexFlag);
    if (!image.resize(nx, ny, nz)) {
        printImageOutOfMemory(nx, ny, nz);
        return 0;
    }
    image.setFlags(flags);
    // The image's own samples survive the resize up to the new size.
    if (!own) std::memcpy(image.getData(), buffer, size_t(nx) * size_t(ny) * size_t(nz) * sizeof(float));
    image.updateStatistics();
    return 1;
}

}  // namespace

int checkImageSize(int nx, int ny, int nz) {
    if (nx > 0 && ny > 0 && nz > 0 && int64_t(nx) * ny * nz <= INT_MAX) return 1;
    printBadImageSize(nx, ny, nz);
    return 0;
}

int64_t bytesLeft(FILE* stream) {
    const off_t here = ftello(stream);
    if (here < 0 || fseeko(stream, 0, SEEK_END) != 0) return -1;
    const off_t end = ftello(stream);
    if (fseeko(stream, here, SEEK_SET) != 0 || end < here) return -1;
    return int64_t(end - here);
}

int readFloatRows(Image& image, FILE* stream, int nx, int ny, int nz, ByteOrder fileOrder) {
    if (!checkImageSize(nx, ny, nz)) return 0;
    if (!readRowsLastFirst(image, stream, nx, ny, nz, 4, "Reading float data...")) return 0;
    const int64_t count = int64_t(nx) * ny * nz;
    const bool report = nx >= reportedWidth;
    if (fileOrder != hostByteOrder()) {
        if (report)
            reportProgress(progressFigure(4 * count), progressFigure(4 * count), "Swapping byte order");
        swapWords(image.getData(), count);
    }
    image.updateStatistics();
    if (report) reportProgress(-1, 0, nullptr);
    return 1;
}

int read16BitRows(Image& image, FILE* stream, int nx, int ny, int nz, ByteOrder fileOrder) {
    if (!checkImageSize(nx, ny, nz)) return 0;
    if (!readRowsLastFirst(image, stream, nx, ny, nz, 2, "Reading 16 bit data...")) return 0;
    const int64_t count = int64_t(nx) * ny * nz;
    const bool report = nx >= reportedWidth;
    if (report) reportProgress(progressFigure(2 * count), progressFigure(2 * count), "Converting to float");
    widen16BitSamples(image.getData(), count, fileOrder);
    image.updateStatistics();
    if (report) reportProgress(-1, 0, nullptr);
    return 1;
}

int setRealData(Image& image, const float* buffer, int nx, int ny, int nz) {
    return setData(image, buffer, nx, ny, nz, false);
}

int setComplexData(Image& image, const float* buffer, int nx, int ny, int nz) {
    return setData(image, buffer, nx, ny, nz, true);
}

}  // namespace tarnview
