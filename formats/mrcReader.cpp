// MRC reader. The header is read as bytes and decoded word by word in the file's byte
// order; the samples are read row by row into the front of the image's float buffer and
// widened there in place, from the last sample to the first, so that no second buffer of
// the image's size is needed.
#include "formats/mrcReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "formats/commandPipe.h"
#include "formats/mrcMessages.h"
#include "image/Image.h"
#include "image/MrcHeader.h"
#include "image/progress.h"

namespace tarnview {

namespace {

constexpr int headerBytes = 1024;
constexpr int64_t chunkBytes = int64_t(4) << 20;  // bytes of rows read at once
constexpr int headerWords = 56;  // words 0 to 55: everything before the labels
static_assert(offsetof(MrcHeader, labels) == 4 * headerWords, "the labels follow word 55");
static_assert(offsetof(MrcHeader, nsymbt) == 92, "word 23 holds the extended header size");

// The decompressor command "zcat -- <path>" must fit in this many bytes with its end.
constexpr size_t commandBytes = 800;
constexpr char commandPrefix[] = "zcat -- ";

bool hostIsBigEndian() {
    const uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 0;
}

// Decodes the 4-byte words of file bytes in the file's byte order, whatever the host's.
class ByteReader {
public:
    ByteReader(const unsigned char* fileBytes, bool fileBigEndian) : bytes(fileBytes), bigEndian(fileBigEndian) {}
    uint32_t u32(size_t offset) const {
        const unsigned char* b = bytes + offset;
        if (bigEndian) return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
        return uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
    }

private:
    const unsigned char* bytes;
    bool bigEndian;
};

// The kept header is in host byte order: words 0 to 55 decoded (integers and floats
// alike are 4-byte words), the labels copied as text.
void decodeHeader(const unsigned char* bytes, bool bigEndian, MrcHeader& header) {
    const ByteReader reader(bytes, bigEndian);
    auto* fields = reinterpret_cast<unsigned char*>(&header);
    for (int w = 0; w < headerWords; w++) {
        const uint32_t word = reader.u32(4 * size_t(w));
        std::memcpy(fields + 4 * w, &word, 4);
    }
    std::memcpy(fields + 4 * headerWords, bytes + 4 * headerWords, headerBytes - 4 * headerWords);
}

struct SampleMode {
    int bytes;  // file bytes per float of the image
    bool complexSamples;
    const char* readingMessage;
};

constexpr SampleMode sampleModes[5] = {
    {1, false, "Reading 8 bit data..."},          {2, false, "Reading 16 bit data..."},
    {4, false, "Reading float data..."},          {2, true, "Reading complex 16 bit data..."},
    {4, true, "Reading complex float data..."},
};

// Bytes of extended header to skip between the header and the samples. Files that say
// they are of the newer kind ("MAP " at byte 208) skip nsymbt bytes when the file can
// hold them; other files only when their length is exactly header, extension and samples.
int64_t extendedHeaderBytes(int32_t nsymbt, bool mapTag, int64_t streamBytes, int64_t sampleBytes) {
    if (nsymbt <= 0) return 0;
    const int64_t withExtension = headerBytes + int64_t(nsymbt) + sampleBytes;
    if (mapTag && (streamBytes < 0 || streamBytes >= withExtension)) return nsymbt;
    if (streamBytes >= 0 && streamBytes == withExtension) return nsymbt;
    return 0;
}

// Skips count bytes: a seek on a regular file, reading and dropping them on a pipe. A
// pipe that ends early leaves the rows to find the end.
void skipBytes(std::FILE* in, int64_t count, bool seekable) {
    if (count <= 0) return;
    if (seekable && fseeko(in, off_t(count), SEEK_CUR) == 0) return;
    unsigned char dropped[4096];
    while (count > 0) {
        const size_t want = count < int64_t(sizeof dropped) ? size_t(count) : sizeof dropped;
        const size_t got = std::fread(dropped, 1, want, in);
        if (got < want) return;
        count -= int64_t(got);
    }
}

// Widening in place, from the last sample to the first: float i occupies bytes 4i to
// 4i + 3, at or behind the bytes of sample i, so no sample is overwritten before it has
// been converted.
void widenBytes(float* data, int64_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (int64_t i = count - 1; i >= 0; i--) data[i] = float(bytes[i] / 100.0);
}

void widenUnsigned16(float* data, int64_t count, bool bigEndian) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (int64_t i = count - 1; i >= 0; i--) {
        const unsigned high = bigEndian ? bytes[2 * i] : bytes[2 * i + 1];
        const unsigned low = bigEndian ? bytes[2 * i + 1] : bytes[2 * i];
        data[i] = float(high << 8 | low);
    }
}

void reverseWordBytes(float* data, int64_t count) {
    for (int64_t i = 0; i < count; i++) {
        uint32_t v;
        std::memcpy(&v, data + i, 4);
        v = v >> 24 | (v >> 8 & 0xff00u) | (v << 8 & 0xff0000u) | v << 24;
        std::memcpy(data + i, &v, 4);
    }
}

// (re, im) pairs become (amplitude, phase). The amplitude is hypot(re, im) / nx * ny *
// nz evaluated left to right: divided by the row length in floats, then multiplied by
// the rows and sections.
void toAmplitudePhase(float* data, int64_t count, int nx, int ny, int nz) {
    for (int64_t i = 0; i + 1 < count; i += 2) {
        const double re = data[i];
        const double im = data[i + 1];
        data[i] = float(std::hypot(re, im) / nx * ny * nz);
        data[i + 1] = float(std::atan2(im, re));
    }
}

void setNameAndPath(Image& image, const char* path) {
    const char* slash = std::strrchr(path, '/');
    image.setName(slash != nullptr ? slash + 1 : path);
    image.setPath(path);
}

bool hasSuffix(const char* path, size_t length, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return length >= n && std::memcmp(path + length - n, suffix, n) == 0;
}

}  // namespace

int readMrcStream(Image& image, std::FILE* in, int64_t streamBytes) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcHeader& header = *image.getMrcHeader();

    unsigned char bytes[headerBytes];
    if (std::fread(bytes, 1, headerBytes, in) != size_t(headerBytes)) return 0;
    // An nx below 65536 written big-endian starts with two zero bytes.
    const bool fileBigEndian = bytes[0] == 0 && bytes[1] == 0;
    const bool swapFloats = fileBigEndian != hostIsBigEndian();
    // Tested on the bytes as they are in the file: decoding reverses them.
    const bool mapTag = std::memcmp(bytes + 208, "MAP ", 4) == 0;
    decodeHeader(bytes, fileBigEndian, header);

    if (header.ny == 1) {
        printOneDimensionalFile();
        return 0;
    }
    if (header.nz != 1) {
        printThreeDimensionalFile();
        return 0;
    }
    const int mode = header.mode;
    const bool knownMode = mode >= 0 && mode <= 4;
    int64_t nx = header.nx;
    if (knownMode && sampleModes[mode].complexSamples) {
        nx *= 2;
        if (nx <= INT32_MAX && nx >= INT32_MIN) header.nx = int32_t(nx);
    }
    if (header.nxStart != 0 || header.nyStart != 0 || header.nzStart != 0) printStartNotZero();
    if (header.cellX == 0.0f) header.cellX = 1.0f;
    if (header.cellY == 0.0f) header.cellY = 1.0f;
    if (header.cellZ == 0.0f) header.cellZ = 1.0f;

    // The image operations index samples with int: at most 2^31 - 1 of them.
    const int64_t ny = header.ny;
    if (!knownMode || nx <= 0 || ny <= 0 || nx * ny > INT32_MAX) {
        printBadMrcFile();
        return 0;
    }
    const SampleMode& sampleMode = sampleModes[mode];
    const int64_t count = nx * ny;
    const int64_t rowBytes = nx * sampleMode.bytes;
    const int64_t sampleBytes = rowBytes * ny;
    const int64_t extension = extendedHeaderBytes(header.nsymbt, mapTag, streamBytes, sampleBytes);
    // A regular file too short for its samples fails before the buffer is allocated;
    // mode 0 reads what there is.
    if (mode != 0 && streamBytes >= 0 && streamBytes < headerBytes + extension + sampleBytes) {
        printIncompleteDataRead(0, int(ny));
        return 0;
    }
    if (!image.resize(int(nx), int(ny), 1)) {
        printNoMemoryForImage(int(nx), int(ny));
        return 0;
    }
    skipBytes(in, extension, streamBytes >= 0);

    const int flags = image.getFlags();
    image.setFlags(sampleMode.complexSamples ? flags | complexFlag : flags & ~complexFlag);
    if (mode == 4) std::clearerr(in);
    float* data = image.getData();
    auto* buffer = reinterpret_cast<unsigned char*>(data);
    // Rows are read in chunks of about 4 MiB straight into their places: the buffer holds
    // them in file order. A short read ends the chunk at the row it reached, which is
    // completed with zeros (mode 0); every later row is then tried, and reported, alone.
    int64_t chunkRows = rowBytes >= chunkBytes ? 1 : chunkBytes / rowBytes;
    int64_t r = 0;
    while (r < ny) {
        const int64_t rows = std::min(chunkRows, ny - r);
        const size_t want = size_t(rows * rowBytes);
        const size_t got = std::fread(buffer + r * rowBytes, 1, want, in);
        const int64_t whole = int64_t(got) / rowBytes;
        for (int64_t k = 0; k < whole; k++, r++)
            reportProgress(progressFigure(r * rowBytes), progressFigure(sampleBytes), sampleMode.readingMessage);
        if (got == want) continue;
        printIncompleteDataRead(0, int(ny));
        if (mode != 0) return 0;
        const size_t part = got - size_t(whole * rowBytes);
        std::memset(buffer + r * rowBytes + part, 0, size_t(rowBytes) - part);
        reportProgress(progressFigure(r * rowBytes), progressFigure(sampleBytes), sampleMode.readingMessage);
        r++;
        chunkRows = 1;
    }

    if (sampleMode.bytes == 4) {
        if (swapFloats) {
            reportProgress(progressFigure(sampleBytes), progressFigure(sampleBytes), "Swapping byte order");
            reverseWordBytes(data, count);
        }
    } else {
        reportProgress(progressFigure(sampleBytes), progressFigure(sampleBytes), "Converting to float");
        if (sampleMode.bytes == 1)
            widenBytes(data, count);
        else
            widenUnsigned16(data, count, fileBigEndian);
    }
    if (mode == 4 && std::ferror(in)) return 0;

    if (sampleMode.complexSamples) toAmplitudePhase(data, count, int(nx), int(ny), 1);
    image.setSamplingFromParameters();
    reportProgress(1, 1, "Updating statistics");
    image.updateStatistics();
    reportProgress(-1, 0, nullptr);
    return 1;
}

int readMrc(Image& image, const char* path) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    const size_t length = std::strlen(path);
    if (hasSuffix(path, length, ".gz") || hasSuffix(path, length, ".Z")) {
        if (sizeof commandPrefix - 1 + length >= commandBytes) {
            printNameTooLongForDecompressor();
            return 0;
        }
        // No shell: the path is one argument, after "--" so that a name beginning with
        // "-" is not taken for an option.
        const char* const argv[] = {"zcat", "--", path, nullptr};
        CommandPipe pipe = openCommandPipe(argv);
        if (pipe.stream == nullptr) {
            printCannotOpenFile();
            return 0;
        }
        setNameAndPath(image, path);
        const int result = readMrcStream(image, pipe.stream, -1);
        closeCommandPipe(pipe);
        return result;
    }

    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        printCannotOpenFile();
        return 0;
    }
    // Unbuffered: every row is one read straight into the image's buffer, with no copy
    // through the stream's buffer (which the 1024-byte header would leave misaligned).
    std::setvbuf(file, nullptr, _IONBF, 0);
    setNameAndPath(image, path);
    struct stat status;
    const bool regular = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
    const int result = readMrcStream(image, file, regular ? int64_t(status.st_size) : -1);
    std::fclose(file);
    return result;
}

}  // namespace tarnview
