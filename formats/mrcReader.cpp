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

#include "formats/CommandPipe.h"
#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/pathName.h"
#include "image/Image.h"
#include "image/MrcHeader.h"
#include "image/imageMessages.h"
#include "image/progress.h"

namespace tarnview {

namespace {

constexpr int headerBytes = 1024;
constexpr int64_t chunkBytes = int64_t(4) << 20;  // bytes of rows read at once
constexpr int headerWords = 56;                   // words 0 to 55: everything before the labels
static_assert(offsetof(MrcHeader, labels) == 4 * headerWords, "the labels follow word 55");
static_assert(offsetof(MrcHeader, nsymbt) == 92, "word 23 holds the extended header size");

// The decompressor command "zcat -- <path>" must fit in this many bytes with its end.
constexpr size_t commandBytes = 800;
constexpr char commandPrefix[] = "zcat -- ";

// The kept header is in host byte order: words 0 to 55 decoded (integers and floats
// alike are 4-byte words), the labels copied as text.
void decodeHeader(const unsigned char* bytes, ByteOrder order, MrcHeader& header) {
    auto* fields = reinterpret_cast<unsigned char*>(&header);
    for (int w = 0; w < headerWords; w++) {
        const uint32_t word = decodeWord(bytes + 4 * w, order);
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
    {1, false, "Reading 8 bit data..."},        {2, false, "Reading 16 bit data..."},
    {4, false, "Reading float data..."},        {2, true, "Reading complex 16 bit data..."},
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

}  // namespace

int readMrcStream(Image& image, std::FILE* in, int64_t streamBytes) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcHeader& header = *image.getMrcHeader();

    unsigned char bytes[headerBytes];
    if (std::fread(bytes, 1, headerBytes, in) != size_t(headerBytes)) return 0;
    // An nx below 65536 written big-endian starts with two zero bytes.
    const ByteOrder fileOrder =
        bytes[0] == 0 && bytes[1] == 0 ? ByteOrder::bigEndian : ByteOrder::littleEndian;
    // Tested on the bytes as they are in the file: decoding reverses them.
    const bool mapTag = std::memcmp(bytes + 208, "MAP ", 4) == 0;
    decodeHeader(bytes, fileOrder, header);

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
        printImageOutOfMemory(int(nx), int(ny), 1);
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
            reportProgress(progressFigure(r * rowBytes), progressFigure(sampleBytes),
                           sampleMode.readingMessage);
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
        if (fileOrder != hostByteOrder()) {
            reportProgress(progressFigure(sampleBytes), progressFigure(sampleBytes), "Swapping byte order");
            swapWords(data, count);
        }
    } else {
        reportProgress(progressFigure(sampleBytes), progressFigure(sampleBytes), "Converting to float");
        if (sampleMode.bytes == 1)
            widen8BitSamples(data, count, 100.0);
        else
            widen16BitSamples(data, count, fileOrder);
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
    if (hasEnding(path, ".gz") || hasEnding(path, ".Z")) {
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
