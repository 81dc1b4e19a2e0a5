#include "formats/sampleLoaders.h"

#include <sys/types.h>

#include <climits>
#include <cstring>

#include "formats/byteOrder.h"
#include "formats/salImagicMessages.h"
#include "image/Image.h"
#include "image/progress.h"

namespace tarnview {

namespace {

// Reads ny rows of nz items of nx samples of sampleBytes bytes into the front of the
// image's buffer, the stream's first row into row ny - 1. Sizes are already checked.
int readRowsLastFirst(Image& image, FILE* stream, int nx, int ny, int nz, int sampleBytes,
                      const char* stage) {
    const int64_t itemBytes = int64_t(nx) * sampleBytes;
    const int64_t rowBytes = itemBytes * nz;
    const int64_t totalBytes = rowBytes * ny;

    // A stream that is known to be too short fails exactly as reading it would, without
    // allocating the image first: the short row gets the items that are there, and the
    // stream is left at its end.
    const int64_t left = bytesLeft(stream);
    if (left >= 0 && left < totalBytes) {
        printIncompleteRowRead(int(left % rowBytes / itemBytes), nz * ny);
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
    const bool report = nx >= 512;
    for (int r = ny - 1; r >= 0; r--) {
        size_t got = std::fread(bytes + r * rowBytes, size_t(itemBytes), size_t(nz), stream);
        if (got < size_t(nz)) {
            printIncompleteRowRead(int(got), nz * ny);
            return 0;
        }
        if (report)
            reportProgress(progressFigure((ny - r) * itemBytes), progressFigure(totalBytes / nz), stage);
    }
    return 1;
}

// Samples widened per chunk, staged in a local array so that the conversion loop reads
// memory that the floats it writes cannot alias.
constexpr int64_t widenChunk = 2048;

// Converts n unsigned 16-bit samples at staged (2 bytes each, in the given order) to
// floats at out. Loads in the host's order and swaps where the orders differ, which the
// compiler turns into vector code.
void decode16BitChunk(const unsigned char* staged, float* out, int64_t n, bool bigEndian) {
    if (bigEndian == (hostIsBigEndian() == 1)) {
        for (int64_t j = 0; j < n; j++) {
            uint16_t v;
            std::memcpy(&v, staged + 2 * j, 2);
            out[j] = float(v);
        }
    } else {
        for (int64_t j = 0; j < n; j++) {
            uint16_t v;
            std::memcpy(&v, staged + 2 * j, 2);
            out[j] = float(uint16_t(v >> 8 | v << 8));
        }
    }
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

void widen16BitSamples(float* samples, int64_t count, bool bigEndian) {
    // Chunks from the last to the first: the floats of samples [start, end) cover the
    // 16-bit places of samples [2 start, 2 end), which are either in this chunk (staged
    // before any write) or after it (converted already).
    alignas(16) unsigned char staged[2 * widenChunk];
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(samples);
    for (int64_t end = count; end > 0;) {
        const int64_t start = end > widenChunk ? end - widenChunk : 0;
        std::memcpy(staged, bytes + 2 * start, size_t(2 * (end - start)));
        decode16BitChunk(staged, samples + start, end - start, bigEndian);
        end = start;
    }
}

void widen16BitSamplesForward(float* out, const unsigned char* in, int64_t count, bool bigEndian) {
    // Chunks from the first to the last: the floats of samples [start, end) end at byte
    // 4 end of out, before the 16-bit places of samples from end on (at 2 count + 2 end
    // or later), so nothing is overwritten before it is read.
    alignas(16) unsigned char staged[2 * widenChunk];
    for (int64_t start = 0; start < count;) {
        const int64_t end = count - start > widenChunk ? start + widenChunk : count;
        std::memcpy(staged, in + 2 * start, size_t(2 * (end - start)));
        decode16BitChunk(staged, out + start, end - start, bigEndian);
        start = end;
    }
}

int readFloatRows(Image& image, FILE* stream, int nx, int ny, int nz, int orderCode) {
    if (!checkImageSize(nx, ny, nz)) return 0;
    if (!readRowsLastFirst(image, stream, nx, ny, nz, 4, "Reading float data...")) return 0;
    const int64_t count = int64_t(nx) * ny * nz;
    const bool report = nx >= 512;
    if (orderCode == 1) {
        if (report)
            reportProgress(progressFigure(4 * count), progressFigure(4 * count), "Swapping byte order");
        swapWords(image.getData(), count);
    }
    image.updateStatistics();
    if (report) reportProgress(-1, 0, nullptr);
    return 1;
}

int read16BitRows(Image& image, FILE* stream, int nx, int ny, int nz, int orderCode) {
    if (hostIsBigEndian()) orderCode -= 1;  // now 1 exactly when the file is big-endian
    if (!checkImageSize(nx, ny, nz)) return 0;
    if (!readRowsLastFirst(image, stream, nx, ny, nz, 2, "Reading 16 bit data...")) return 0;
    const int64_t count = int64_t(nx) * ny * nz;
    const bool report = nx >= 512;
    if (report) reportProgress(progressFigure(2 * count), progressFigure(2 * count), "Converting to float");
    widen16BitSamples(image.getData(), count, orderCode == 1);
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
