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
#include "formats/InputFile.h"
#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/pathName.h"
#include "image/Image.h"
#include "image/MrcHeader.h"
#include "image/imageMessages.h"
#include "image/progress.h"
#include "image/sampleLimit.h"

namespace tarnview {

namespace {

constexpr int headerBytes = 1024;
constexpr int64_t chunkBytes = int64_t(4) << 20;  // bytes of rows read at once
constexpr int headerWords = 56;                   // words 0 to 55: everything before the labels
constexpr int mapTagOffset = 208;                 // word 52: "MAP " in files of the newer kind
// Mode 0 stores each sample as a byte of 100 times its value.
constexpr double mode0Divisor = 100.0;
static_assert(offsetof(MrcHeader, labels) == 4 * headerWords, "the labels follow word 55");
static_assert(offsetof(MrcHeader, nsymbt) == 92, "word 23 holds the extended header size");

// Compressed files are refused when the command "zcat -- <path>" would not fit in this
// many bytes with its end (the decompressor reads the file from its standard input, but
// the limit on names stays).
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

// How a stored sample becomes a float.
enum class SampleKind { unsigned8, unsigned16, half, float32 };

struct SampleMode {
    int mode;   // the header's mode word
    int bytes;  // file bytes per float of the image
    SampleKind kind;
    bool complexSamples;
    const char* readingMessage;
};

// Modes 0 to 4 are those of the two-dimensional files; 6 (unsigned 16-bit) and 12 (IEEE
// half precision) are read by the section reader only.
constexpr SampleMode sampleModes[] = {
    {0, 1, SampleKind::unsigned8, false, "Reading 8 bit data..."},
    {1, 2, SampleKind::unsigned16, false, "Reading 16 bit data..."},
    {2, 4, SampleKind::float32, false, "Reading float data..."},
    {3, 2, SampleKind::unsigned16, true, "Reading complex 16 bit data..."},
    {4, 4, SampleKind::float32, true, "Reading complex float data..."},
    {6, 2, SampleKind::unsigned16, false, "Reading 16 bit data..."},
    {12, 2, SampleKind::half, false, "Reading half float data..."},
};

// The modes a reader accepts.
enum class ModeSet { twoDimensional, sections };

// The mode's entry, or null when the reader does not read that mode.
const SampleMode* findMode(int mode, ModeSet modes) {
    if (modes == ModeSet::twoDimensional && (mode < 0 || mode > 4)) return nullptr;
    for (const SampleMode& m : sampleModes)
        if (m.mode == mode) return &m;
    return nullptr;
}

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
    unsigned char dropped[65536];
    while (count > 0) {
        const size_t want = count < int64_t(sizeof dropped) ? size_t(count) : sizeof dropped;
        const size_t got = std::fread(dropped, 1, want, in);
        if (got < want) return;
        count -= int64_t(got);
    }
}

// (re, im) pairs become (amplitude, phase). The amplitude is hypot(re, im) / nx * ny *
// nz evaluated left to right: divided by the row length in floats, then multiplied by
// the rows and sections of the image read (one section: nz is 1 also for a section of a
// stack or volume, which thus reads as the same section written as a 2-D file).
void toAmplitudePhase(float* data, int64_t count, int nx, int ny, int nz) {
    for (int64_t i = 0; i + 1 < count; i += 2) {
        const double re = data[i];
        const double im = data[i + 1];
        data[i] = float(std::hypot(re, im) / nx * ny * nz);
        data[i + 1] = float(std::atan2(im, re));
    }
}

// What the header's raw bytes say beyond its words: the file's byte order and whether
// it carries the "MAP " tag of the newer kind of file.
struct HeaderFacts {
    ByteOrder fileOrder;
    bool mapTag;
};

// The samples' layout in the stream, decided from the decoded header.
struct RowLayout {
    const SampleMode* sampleMode;
    int64_t nx;             // floats per row: the header's nx, doubled for complex modes
    int64_t ny;             // rows of a section
    int64_t nz;             // sections in the file
    int64_t rowBytes;       // stream bytes per row
    int64_t sampleBytes;    // stream bytes of the rows of one section
    int64_t sectionsBytes;  // stream bytes of every section
};

// Reads the 1024-byte header into header, decoded to host order. False, without a
// message, when the stream ends before it.
bool readHeader(std::FILE* in, MrcHeader& header, HeaderFacts& facts) {
    unsigned char bytes[headerBytes];
    if (std::fread(bytes, 1, headerBytes, in) != size_t(headerBytes)) return false;
    // An nx below 65536 written big-endian starts with two zero bytes.
    facts.fileOrder = bytes[0] == 0 && bytes[1] == 0 ? ByteOrder::bigEndian : ByteOrder::littleEndian;
    // Tested on the bytes as they are in the file: decoding reverses them.
    facts.mapTag = std::memcmp(bytes + mapTagOffset, "MAP ", 4) == 0;
    decodeHeader(bytes, facts.fileOrder, header);
    return true;
}

// The 2-D reader's own refusals: files of one row, and files of other than one section.
// False after the message.
bool refuseOtherThanTwoDimensional(const MrcHeader& header) {
    if (header.ny == 1) {
        printOneDimensionalFile();
        return false;
    }
    if (header.nz != 1) {
        printThreeDimensionalFile();
        return false;
    }
    return true;
}

// Fills layout from the header as the file stores it (nx not yet doubled) when mode is
// known and the sizes describe sections of at most 2^31 - 1 floats (the image operations
// index samples with int) whose bytes, all sections together, fit in a file offset.
bool describeSamples(const MrcHeader& header, const SampleMode* mode, RowLayout& layout) {
    if (mode == nullptr) return false;
    const int64_t nx = int64_t(header.nx) * (mode->complexSamples ? 2 : 1);
    const int64_t ny = header.ny, nz = header.nz;
    if (nx <= 0 || ny <= 0 || nz <= 0 || nx * ny > INT32_MAX) return false;
    const int64_t rowBytes = nx * mode->bytes;
    const int64_t sampleBytes = rowBytes * ny;
    if (nz > INT64_MAX / 2 / sampleBytes) return false;
    layout = {mode, nx, ny, nz, rowBytes, sampleBytes, sampleBytes * nz};
    return true;
}

// Prepares the kept header: nx doubled for the complex modes, the start warning, zero
// cell sizes replaced by 1.
void tidyHeader(MrcHeader& header, const SampleMode* mode) {
    if (mode != nullptr && mode->complexSamples) {
        const int64_t nx = int64_t(header.nx) * 2;
        if (nx <= INT32_MAX && nx >= INT32_MIN) header.nx = int32_t(nx);
    }
    if (header.nxStart != 0 || header.nyStart != 0 || header.nzStart != 0) printStartNotZero();
    if (header.cellX == 0.0f) header.cellX = 1.0f;
    if (header.cellY == 0.0f) header.cellY = 1.0f;
    if (header.cellZ == 0.0f) header.cellZ = 1.0f;
}

// Checks that the header describes samples of a mode in modes, prepares the kept header
// and fills layout; false after "Bad MRC file" (which follows the start warning).
bool prepareHeader(MrcHeader& header, ModeSet modes, RowLayout& layout) {
    const SampleMode* mode = findMode(header.mode, modes);
    const bool described = describeSamples(header, mode, layout);
    tidyHeader(header, mode);
    if (!described) printBadMrcFile();
    return described;
}

// Reads the rows straight into their places in buffer, in file order, in chunks of about
// 4 MiB. A short read ends the chunk at the row it reached and prints "Incomplete data
// read"; with keepShortRows (the buffer then starts zeroed) the missing bytes stay zero
// and every later row is tried, and reported, alone (once the stream has ended, without
// a read: a tall image cut short costs no system call per missing row). Returns the end of the bytes that
// arrived (every byte beyond it is untouched), or -1 after a short read without
// keepShortRows.
int64_t readRows(std::FILE* in, unsigned char* buffer, const RowLayout& layout, bool keepShortRows) {
    const int64_t rowBytes = layout.rowBytes, ny = layout.ny;
    const char* message = layout.sampleMode->readingMessage;
    int64_t chunkRows = rowBytes >= chunkBytes ? 1 : chunkBytes / rowBytes;
    int64_t r = 0, delivered = 0;
    bool ended = false;  // the stream is at its end or failed: later rows are not read
    while (r < ny) {
        const int64_t rows = std::min(chunkRows, ny - r);
        const size_t want = size_t(rows * rowBytes);
        const size_t got = ended ? 0 : std::fread(buffer + r * rowBytes, 1, want, in);
        if (got > 0) delivered = r * rowBytes + int64_t(got);
        const int64_t whole = int64_t(got) / rowBytes;
        for (int64_t k = 0; k < whole; k++, r++)
            reportProgress(progressFigure(r * rowBytes), progressFigure(layout.sampleBytes), message);
        if (got == want) continue;
        printIncompleteDataRead(0, int(ny));
        if (!keepShortRows) return -1;
        ended = std::feof(in) || std::ferror(in);
        reportProgress(progressFigure(r * rowBytes), progressFigure(layout.sampleBytes), message);
        r++;
        chunkRows = 1;
    }
    return delivered;
}

// The samples as read become floats in place: 4-byte samples byte-reversed when the
// file's order is not the host's, 1- and 2-byte samples widened. delivered is the end of
// the bytes read; 1-byte samples from there on are zero bytes whose floats, at four times
// their offset, lie beyond every byte written: they are 0.0 already and are not touched.
void convertSamples(float* data, const RowLayout& layout, ByteOrder fileOrder, int64_t delivered) {
    const int64_t count = layout.nx * layout.ny;
    const int64_t total = layout.sampleBytes;
    const SampleKind kind = layout.sampleMode->kind;
    if (kind == SampleKind::float32) {
        if (fileOrder == hostByteOrder()) return;
        reportProgress(progressFigure(total), progressFigure(total), "Swapping byte order");
        swapWords(data, count);
        return;
    }
    reportProgress(progressFigure(total), progressFigure(total), "Converting to float");
    if (kind == SampleKind::unsigned8)
        widen8BitSamples(data, delivered, mode0Divisor);
    else if (kind == SampleKind::half)
        widenHalfSamples(data, count, fileOrder);
    else
        widen16BitSamples(data, count, fileOrder);
}

// The last steps of a read: complex pairs to (amplitude, phase), sampling from the
// parameters, statistics.
void finishImage(Image& image, const RowLayout& layout) {
    const int64_t count = layout.nx * layout.ny;
    if (layout.sampleMode->complexSamples)
        toAmplitudePhase(image.getData(), count, int(layout.nx), int(layout.ny), 1);
    image.setSamplingFromParameters();
    reportProgress(1, 1, "Updating statistics");
    image.updateStatistics();
    reportProgress(-1, 0, nullptr);
}

// Reads section `section` (checked to be one of the file's) of the stream whose header
// was read into facts and prepared into layout, after the size limit; streamBytes as for
// readMrcStream. Returns 1 or 0 after the message.
int readSection(Image& image, std::FILE* in, int64_t streamBytes, const HeaderFacts& facts,
                const RowLayout& layout, int section) {
    if (!withinSampleLimit(layout.nx, layout.ny, 1)) return 0;
    const MrcHeader& header = *image.getMrcHeader();
    const int mode = header.mode;
    const int nx = int(layout.nx), ny = int(layout.ny);
    const int64_t extension =
        extendedHeaderBytes(header.nsymbt, facts.mapTag, streamBytes, layout.sectionsBytes);
    const int64_t sectionStart = extension + section * layout.sampleBytes;  // from the header's end
    // A regular file too short for the section's samples fails before the buffer is
    // allocated; mode 0 reads what there is.
    if (mode != 0 && streamBytes >= 0 && streamBytes < headerBytes + sectionStart + layout.sampleBytes) {
        printIncompleteDataRead(0, ny);
        return 0;
    }
    // Mode 0 succeeds with zeros for the rows that never arrive: its buffer starts zeroed
    // by the allocator, so a header that declares far more than the data delivers costs
    // no writes beyond the rows that came.
    const bool zeroFill = mode == 0;
    if (!(zeroFill ? image.resizeZeroed(nx, ny, 1) : image.resize(nx, ny, 1))) {
        printImageOutOfMemory(nx, ny, 1);
        return 0;
    }
    // The other sections are passed over: a seek on a regular file, read and dropped on a pipe.
    skipBytes(in, sectionStart, streamBytes >= 0);

    const int flags = image.getFlags();
    image.setFlags(layout.sampleMode->complexSamples ? flags | complexFlag : flags & ~complexFlag);
    // Mode 4 alone clears the stream's error state before its rows and fails, without a
    // message, when an error is set after them; the other modes have no such step. No
    // file reads differently for it: a read that fails comes back short, which readRows
    // has already reported, and failed for modes 1 to 4.
    if (mode == 4) std::clearerr(in);
    const int64_t delivered =
        readRows(in, reinterpret_cast<unsigned char*>(image.getData()), layout, zeroFill);
    if (delivered < 0) return 0;
    convertSamples(image.getData(), layout, facts.fileOrder, delivered);
    if (mode == 4 && std::ferror(in)) return 0;
    finishImage(image, layout);
    return 1;
}

// The stream an MRC file is read from: the file itself, or zcat's output for a
// compressed name (zcat then reads the file opened here). Closed when it goes out of scope.
struct MrcSource {
    InputFile file;
    CommandPipe pipe;
    std::FILE* stream = nullptr;
    int64_t streamBytes = -1;  // bytes of a regular file; -1 for a pipe or a device
    MrcSource() = default;
    MrcSource(const MrcSource&) = delete;
    MrcSource& operator=(const MrcSource&) = delete;
    ~MrcSource() {
        if (pipe.stream != nullptr) closeCommandPipe(pipe);
    }
};

enum class Opened { yes, noMessage, no };

// Opens path as readMrc does. noMessage: a compressed file that cannot be opened (as zcat
// would give no data); no: after "Cannot open file\n" or the refusal of a name too long
// for the decompressor command.
Opened openMrcSource(const char* path, MrcSource& source) {
    if (hasEnding(path, ".gz") || hasEnding(path, ".Z")) {
        if (sizeof commandPrefix - 1 + std::strlen(path) >= commandBytes) {
            printNameTooLongForDecompressor();
            return Opened::no;
        }
        // zcat decompresses its standard input, the file opened here: no name reaches a
        // command line, and a FIFO without a writer fails after a bounded wait instead of
        // blocking zcat's own open. A file that cannot be opened gives no data, as from zcat.
        if (!source.file.open(path, false))
            return source.file.failureReported() ? Opened::no : Opened::noMessage;
        const char* const argv[] = {"zcat", nullptr};
        source.pipe = openCommandPipe(argv, fileno(source.file.get()));
        if (source.pipe.stream == nullptr) {
            printCannotOpenFile();
            return Opened::no;
        }
        source.stream = source.pipe.stream;
        return Opened::yes;
    }
    // Unbuffered: every row is one read straight into the image's buffer, with no copy
    // through the stream's buffer (which the 1024-byte header would leave misaligned).
    if (!source.file.open(path, false)) {
        if (!source.file.failureReported()) printCannotOpenFile();
        return Opened::no;
    }
    source.stream = source.file.get();
    struct stat status;
    if (fstat(fileno(source.stream), &status) == 0 && S_ISREG(status.st_mode))
        source.streamBytes = int64_t(status.st_size);
    return Opened::yes;
}

// Opens path for the section reader and its count: every failure has a message.
bool openWithMessage(const char* path, MrcSource& source) {
    const Opened opened = openMrcSource(path, source);
    if (opened == Opened::noMessage) printCannotOpenFile();
    return opened == Opened::yes;
}

}  // namespace

int readMrcStream(Image& image, std::FILE* in, int64_t streamBytes) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcHeader& header = *image.getMrcHeader();
    HeaderFacts facts;
    RowLayout layout;
    if (!readHeader(in, header, facts) || !refuseOtherThanTwoDimensional(header) ||
        !prepareHeader(header, ModeSet::twoDimensional, layout))
        return 0;
    return readSection(image, in, streamBytes, facts, layout, 0);
}

int readMrc(Image& image, const char* path) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcSource source;
    const Opened opened = openMrcSource(path, source);
    // A compressed file that cannot be opened fails as an empty stream from zcat would:
    // without a message, the name and path set.
    if (opened != Opened::no) setNameAndPath(image, path);
    if (opened != Opened::yes) return 0;
    return readMrcStream(image, source.stream, source.streamBytes);
}

int readMrcSectionStream(Image& image, std::FILE* in, int64_t streamBytes, int section) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcHeader& header = *image.getMrcHeader();
    HeaderFacts facts;
    RowLayout layout;
    if (!readHeader(in, header, facts)) {
        printShortMrcHeader();
        return 0;
    }
    if (!prepareHeader(header, ModeSet::sections, layout)) return 0;
    if (section < 0 || section >= layout.nz) {
        printNoSuchSection(section, header.nz);
        return 0;
    }
    return readSection(image, in, streamBytes, facts, layout, section);
}

int readMrcSection(Image& image, const char* path, int section) {
    if (image.getMrcHeader() == nullptr) image.setMrcHeader(new MrcHeader{});
    MrcSource source;
    if (!openWithMessage(path, source)) return 0;
    setNameAndPath(image, path);
    return readMrcSectionStream(image, source.stream, source.streamBytes, section);
}

int readMrcSectionCountStream(std::FILE* in) {
    MrcHeader header;
    HeaderFacts facts;
    RowLayout layout;
    if (!readHeader(in, header, facts)) {
        printShortMrcHeader();
        return -1;
    }
    if (!describeSamples(header, findMode(header.mode, ModeSet::sections), layout)) {
        printBadMrcFile();
        return -1;
    }
    return header.nz;
}

int readMrcSectionCount(const char* path) {
    MrcSource source;
    if (!openWithMessage(path, source)) return -1;
    return readMrcSectionCountStream(source.stream);
}

}  // namespace tarnview
