#include "formats/salReader.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "formats/InputFile.h"
#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/imageMessages.h"
#include "image/progress.h"
#include "image/sampleLimit.h"

namespace tarnview {

namespace {

// The corner reader's region: at most this many columns and rows from the top left.
constexpr int cornerLimit = 1040;
// Bytes of blocks that readSal reads at a time: few system calls, and the rows are still
// in the cache when they are widened.
constexpr int64_t runTargetBytes = int64_t(256) << 10;
// The conversion step is reported only for images of more than this many bytes of floats
// (10000 samples): smaller ones are converted too fast for a progress report to be seen.
constexpr int64_t reportedConversionBytes = 40000;

bool keyIs(const char* line, const char* key) {
    return std::strncmp(line + 1, key, std::strlen(key)) == 0;
}

const char* skipSpace(const char* p) {
    while (*p != 0 && std::isspace(static_cast<unsigned char>(*p))) p++;
    return p;
}

// The text after the line's first "=" and the spaces that follow it; null without "=".
const char* textAfterEquals(const char* line) {
    const char* eq = std::strchr(line, '=');
    return eq == nullptr ? nullptr : skipSpace(eq + 1);
}

// The integer after the line's first "=". False (value untouched) when there is no "="
// or no integer that fits an int.
bool intAfterEquals(const char* line, int& value) {
    const char* p = textAfterEquals(line);
    if (p == nullptr) return false;
    char* end;
    errno = 0;
    long long v = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    value = int(v);
    return true;
}

// The real number after the line's first "=".
bool floatAfterEquals(const char* line, float& value) {
    const char* p = textAfterEquals(line);
    if (p == nullptr) return false;
    char* end;
    float v = std::strtof(p, &end);
    if (end == p) return false;
    value = v;
    return true;
}

// Reads one stored block of blockLength bytes: skip bytes are passed over, the next take
// bytes go to dst and the rest is passed over. False when the block is not all there.
bool readBlock(FILE* stream, unsigned char* dst, int64_t skip, int64_t take, int64_t blockLength) {
    unsigned char scratch[4096];
    auto pass = [&](int64_t n) {
        while (n > 0) {
            size_t piece = size_t(std::min<int64_t>(n, int64_t(sizeof scratch)));
            if (std::fread(scratch, 1, piece, stream) != piece) return false;
            n -= int64_t(piece);
        }
        return true;
    };
    if (!pass(skip)) return false;
    if (take > 0 && std::fread(dst, size_t(take), 1, stream) != 1) return false;
    return pass(blockLength - skip - take);
}

// Reads the next piece of a header like fgets: up to and including a line end, at most
// 79 bytes (NUL bytes included), terminated. Adds the bytes read to consumed. False at
// the end of the stream with nothing read.
bool readHeaderPiece(FILE* stream, char (&line)[80], int64_t& consumed) {
    int n = 0;
    while (n < 79) {
        const int c = getc(stream);
        if (c == EOF) break;
        line[n++] = char(c);
        if (c == '\n') break;
    }
    line[n] = 0;
    consumed += n;
    return n > 0;
}

// The path cut at its last "." with upperExt appended; when that file is not readable,
// the stem with lowerExt, which is not tested again.
std::string salFileName(const std::string& path, const char* upperExt, const char* lowerExt) {
    std::string stem = path;
    size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    std::string name = stem + upperExt;
    if (access(name.c_str(), R_OK) != 0) name = stem + lowerExt;
    return name;
}

// The steps both readers share: names and sampling, the header, the size line and its
// check, and the data file, opened into data (with a stdio buffer when buffered).
// Returns false after the failure's message.
bool openSalScan(Image& image, const char* path, SalHeader& header, InputFile& data, bool buffered) {
    const std::string headerName = salFileName(path, ".HDR", ".hdr");
    if (const char* slash = std::strrchr(path, '/')) {
        image.setName(slash + 1);
        image.setPath(path);
    } else {
        image.setName("SAL File");
    }
    image.setSamplingFromParameters();

    InputFile headerFile(headerName.c_str());
    if (!headerFile) {
        if (!headerFile.failureReported()) printSalCannotOpen(headerName.c_str());
        return false;
    }
    header = parseSalHeader(headerFile.get());
    if (header.hasDeltaX) image.setDeltaX(header.deltaX);
    if (header.exchangeAxes) std::swap(header.nx, header.ny);

    printSalSize(headerName.c_str(), header.nx, header.ny);
    if (salBlockLength(header) < 0) {
        printSalHeaderProblem();
        return false;
    }

    const std::string dataName = salFileName(headerName, ".IMG", ".img");
    if (data.open(dataName.c_str(), buffered)) return true;
    if (!data.failureReported()) printSalCannotOpen(dataName.c_str());
    return false;
}

// Opens the scan at path and reads its samples with readData.
int readScan(Image& image, const char* path, int (*readData)(Image&, FILE*, const SalHeader&),
             bool buffered) {
    SalHeader header;
    InputFile data;
    return openSalScan(image, path, header, data, buffered) ? readData(image, data.get(), header) : 0;
}

// salBlockLength, or -1 after the header problem message.
int64_t checkedBlockLength(const SalHeader& header) {
    const int64_t blockLength = salBlockLength(header);
    if (blockLength < 0) printSalHeaderProblem();
    return blockLength;
}

// Sizes the image for a scan of nx x ny read from data, within the size limit. A file known to be too short
// fails as reading it would, before the image is sized. False after the message.
bool sizeScanImage(Image& image, FILE* data, int nx, int ny, int64_t blockLength) {
    if (!withinSampleLimit(nx, ny, 1)) return false;
    const int64_t left = bytesLeft(data);
    if (left >= 0 && left < blockLength * ny) {
        printIncompleteDataRead(0, ny);
        return false;
    }
    if (!image.resize(nx, ny, 1)) {
        printImageOutOfMemory(nx, ny, 1);
        return false;
    }
    return true;
}

// Reads the next rows of the scan to place, their 2-byte samples packed row after row,
// with room bytes from place to the end of the buffer. A run of whole blocks (about
// runBytes) is read in one go and its rows moved together over the filler. A run must
// end inside the buffer, which the last row's filler would overrun: when no whole block
// fits, one row is read with its filler passed over. Returns the rows read, 0 after a
// short read (no message).
int readStagedRows(FILE* data, unsigned char* place, int64_t room, int64_t runBytes, int64_t blockLength,
                   int64_t rowBytes) {
    const int rows = int(std::min(room, runBytes) / blockLength);
    if (rows == 0) return readBlock(data, place, 0, rowBytes, blockLength) ? 1 : 0;
    if (std::fread(place, size_t(rows * blockLength), 1, data) != 1) return 0;
    if (blockLength != rowBytes)
        for (int j = 1; j < rows; j++)
            std::memmove(place + j * rowBytes, place + j * blockLength, size_t(rowBytes));
    return rows;
}

// A serpentine scan stores its odd rows right to left: reverses the nx samples of each
// odd row among rows first to end - 1.
void reverseOddRows(float* samples, int nx, int first, int end) {
    for (int j = first % 2 == 1 ? first : first + 1; j < end; j += 2) {
        float* row = samples + int64_t(j) * nx;
        std::reverse(row, row + nx);
    }
}

}  // namespace

SalHeader parseSalHeader(FILE* stream) {
    SalHeader header;
    char line[80];  // pieces of at most 79 characters
    int64_t consumed = 0;
    while (readHeaderPiece(stream, line, consumed)) {
        if (consumed > salHeaderByteLimit) {
            header.nx = header.ny = -1;  // no usable size: refused as a header problem
            break;
        }
        if (line[0] == 0) continue;
        // The first character of every line is not looked at.
        if (keyIs(line, "NXP")) {
            intAfterEquals(line, header.nx);
        } else if (keyIs(line, "NYP")) {
            intAfterEquals(line, header.ny);
        } else if (keyIs(line, "AXSCAN")) {
            // The axis letter stands just before the line's last quote; the mark is only set.
            const char* quote = std::strrchr(line, '\'');
            if (quote != nullptr && quote > line && quote[-1] == 'Y') header.exchangeAxes = true;
        } else if (keyIs(line, "FILE REC")) {
            intAfterEquals(line, header.recordLength);
        } else if (keyIs(line, "SCAN TYPE")) {
            // The first word after the line's first quote; "R..." marks a serpentine scan.
            // Like the axis mark, it is only ever set.
            const char* quote = std::strchr(line, '\'');
            if (quote != nullptr && *skipSpace(quote + 1) == 'R') header.serpentine = true;
        } else if (keyIs(line, "DELTAX")) {
            float value;
            if (floatAfterEquals(line, value)) {
                header.deltaX = float(double(value) / 3.0);
                header.hasDeltaX = true;
            }
        }
    }
    return header;
}

int64_t salBlockLength(const SalHeader& header) {
    if (header.nx <= 0 || header.ny <= 0 || header.recordLength <= 0) return -1;
    if (int64_t(header.nx) * header.ny > INT_MAX) return -1;
    const uint64_t record = uint64_t(header.recordLength);
    const uint64_t block = ((2 * uint64_t(header.nx) - 1) / record + 1) * record;
    return block > uint64_t(INT_MAX) ? -1 : int64_t(block);
}

// readSal reads runs of whole blocks straight into the image: no stdio buffer.
int readSal(Image& image, const char* path) {
    return readScan(image, path, readSalData, false);
}

int readSalData(Image& image, FILE* data, const SalHeader& header) {
    const int64_t blockLength = checkedBlockLength(header);
    if (blockLength < 0) return 0;
    const int nx = header.nx, ny = header.ny;
    printSalBlockLength(int(blockLength), ny);
    if (!sizeScanImage(image, data, nx, ny, blockLength)) return 0;

    // The 16-bit samples are staged in the back half of the float buffer: row r at byte
    // 2 count + r x rowBytes. Each run of rows is widened forward into its float rows
    // while it is still in the cache; the float rows end before the staged rows that are
    // still to come.
    const int64_t count = int64_t(nx) * ny;
    const int64_t rowBytes = 2 * int64_t(nx);
    const int64_t totalBytes = rowBytes * ny;
    float* samples = image.getData();
    unsigned char* staged = reinterpret_cast<unsigned char*>(samples) + 2 * count;
    const int64_t runBytes = std::max(blockLength, runTargetBytes);
    for (int r = 0; r < ny;) {
        unsigned char* place = staged + r * rowBytes;
        const int64_t room = rowBytes * (ny - r);  // bytes from place to the buffer's end
        const int rows = readStagedRows(data, place, room, runBytes, blockLength, rowBytes);
        if (rows == 0) {
            printIncompleteDataRead(0, ny);
            return 0;
        }
        for (int j = r; j < r + rows; j++)
            reportProgress(progressFigure(j * rowBytes), progressFigure(totalBytes),
                           "Reading 16 bit data...");
        widen16BitSamplesForward(samples + int64_t(r) * nx, place, int64_t(rows) * nx,
                                 ByteOrder::littleEndian);
        if (header.serpentine) reverseOddRows(samples, nx, r, r + rows);
        r += rows;
    }

    if (4 * count > reportedConversionBytes)
        reportProgress(progressFigure(totalBytes), progressFigure(totalBytes), "Converting to float");
    image.updateStatistics();
    reportProgress(-1, 0, nullptr);
    return 1;
}

// The corner reader reads each block in pieces: through the stdio buffer.
int readSalCorner(Image& image, const char* path) {
    return readScan(image, path, readSalCornerData, true);
}

int readSalCornerData(Image& image, FILE* data, const SalHeader& header) {
    const int64_t blockLength = checkedBlockLength(header);
    if (blockLength < 0) return 0;
    const int nx = header.nx, ny = header.ny;
    // A scan narrower than the limit gives nx - 1 columns, not nx; likewise for rows.
    const int width = nx >= cornerLimit ? cornerLimit : nx - 1;
    const int height = ny >= cornerLimit ? cornerLimit : ny - 1;

    if (header.serpentine) printSalSwapping();
    printSalCornerBlockLength(int(blockLength), ny, 0, 0, width, height);
    if (!withinSampleLimit(width, height, 1)) return 0;
    if (!image.resize(width, height, 1)) {
        printImageOutOfMemory(width, height, 1);
        return 0;
    }
    if (fseeko(data, 0, SEEK_SET) != 0) printSalSeekError();

    // Row i's samples are staged at the front of its own float row and widened there. A
    // serpentine odd row is stored right to left: its region is the block's last `width`
    // samples of the row, reversed.
    float* samples = image.getData();
    for (int i = 0; i < height; i++) {
        float* row = samples + int64_t(i) * width;
        const bool reversed = header.serpentine && i % 2 == 1;
        const int64_t skip = reversed ? 2 * int64_t(nx - width) : 0;
        if (!readBlock(data, reinterpret_cast<unsigned char*>(row), skip, 2 * int64_t(width), blockLength)) {
            printIncompleteDataRead(i, ny);
            return 0;
        }
        widen16BitSamples(row, width, ByteOrder::littleEndian);
        if (reversed) std::reverse(row, row + width);
        reportProgress(progressFigure(2 * int64_t(i) * nx), progressFigure(2 * int64_t(nx) * ny),
                       "Reading 16 bit data...");
    }
    image.updateStatistics();
    reportProgress(-1, 0, nullptr);
    return 1;
}

}  // namespace tarnview
