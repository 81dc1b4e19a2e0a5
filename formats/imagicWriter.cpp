// IMAGIC writer. Both files are opened (and an existing stack checked) before anything is
// written; the record and the rows are appended and flushed before the count in the
// first record is raised, so a stack never claims an image it does not hold. A failed
// append puts both files back to their lengths (and the first record back) as they were.
#include "formats/imagicWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/ImagicRecord.h"
#include "image/chunkedWrite.h"
#include "image/imageMessages.h"

namespace tarnview {

namespace {

constexpr int recordBytes = sizeof(ImagicRecord);

// The two files of a stack, and what they were before the append so that a failed one
// can be undone. Records are read and written as they are: only stacks in the host's
// byte order are appended to.
struct Stack {
    std::string headerName, dataName;
    std::FILE* header = nullptr;
    std::FILE* data = nullptr;
    bool headerExisted = false, dataExisted = false;
    int64_t headerLength = 0, dataLength = 0;
    ImagicRecord first{};         // an existing stack's first record as read
    bool firstRewritten = false;  // its count has been (or was being) raised
    ~Stack() {
        if (header != nullptr) std::fclose(header);
        if (data != nullptr) std::fclose(data);
    }
};

int64_t lengthOf(std::FILE* file) {
    struct stat status;
    return fstat(fileno(file), &status) == 0 ? int64_t(status.st_size) : 0;
}

// Reads the first record of an existing header file and checks that an image can be
// appended: a whole record, the host's byte order by the writer's rule (an imageNumber
// of 1 in the other order has zero low bits) and by the reader's (bytes 12 and 13 zero
// mean big-endian), type REAL (the reader takes the first type for every image), and a
// count that can be raised.
bool checkFirstRecord(Stack& s) {
    unsigned char raw[recordBytes];
    const char* name = s.headerName.c_str();
    if (std::fread(raw, 1, recordBytes, s.header) != size_t(recordBytes)) {
        printImagicNoFirstRecord(name);
        return false;
    }
    std::memcpy(&s.first, raw, recordBytes);
    const bool fileBigEndian = raw[12] == 0 && raw[13] == 0;
    if ((s.first.imageNumber & 0xfff) == 0 || fileBigEndian != hostIsBigEndian()) {
        printImagicWrongByteOrder();
        return false;
    }
    if (std::memcmp(s.first.type, "REAL", 4) != 0) {
        printImagicNotReal(name, s.first.type);
        return false;
    }
    // The new record's number is the raised count plus one.
    if (s.first.imagesFollowing < 0 || s.first.imagesFollowing > INT32_MAX - 2) {
        printImagicBadCount(name, s.first.imagesFollowing);
        return false;
    }
    return true;
}

// Opens (or creates) both files; an existing header file must pass checkFirstRecord.
// Nothing is written, and a file created here is removed again when the other fails.
bool openStack(Stack& s) {
    s.header = std::fopen(s.headerName.c_str(), "r+b");
    s.headerExisted = s.header != nullptr;
    if (s.headerExisted) {
        s.headerLength = lengthOf(s.header);
        if (!checkFirstRecord(s)) return false;
    } else {
        if (errno == ENOENT) s.header = std::fopen(s.headerName.c_str(), "wb");
        if (s.header == nullptr) {
            printImagicCannotWrite(s.headerName.c_str());
            return false;
        }
    }
    struct stat status;
    s.dataExisted = stat(s.dataName.c_str(), &status) == 0;
    s.data = std::fopen(s.dataName.c_str(), "ab");
    if (s.data == nullptr) {
        printImagicCannotWrite(s.dataName.c_str());
        if (!s.headerExisted) {
            std::fclose(s.header);
            s.header = nullptr;
            std::remove(s.headerName.c_str());
        }
        return false;
    }
    s.dataLength = lengthOf(s.data);
    return true;
}

// Words 69-97: the fixed geometry values of an nx x ny image.
void setGeometryWords(ImagicRecord& r, int32_t nx, int32_t ny) {
    const struct {
        int word;
        int32_t value;
    } geometry[] = {{69, nx},     {70, 1},  {71, ny},     {72, 0},      {73, -1}, {75, -1},
                    {76, 1},      {78, 8},  {79, nx / 2}, {80, 2 * nx}, {81, 7},  {82, -1},
                    {83, 1},      {84, -1}, {85, -1},     {86, 1},      {87, nx}, {88, nx},
                    {89, 2 * nx}, {90, -1}, {96, 1},      {97, nx / 2}};
    for (const auto& g : geometry) r.words49to255[g.word - 49] = g.value;
}

// The record of the appended image: the image's own with the words of a REAL image of
// its size, the date (month counted from 0) and time, statistics and title.
ImagicRecord recordFor(const Image& image, int32_t imageNumber, const std::tm& t) {
    ImagicRecord r = image.getImagicHeader() != nullptr ? *image.getImagicHeader() : ImagicRecord{};
    const int32_t nx = image.getNx(), ny = image.getNy();
    r.imageNumber = imageNumber;
    r.imagesFollowing = 0;
    r.word2 = 0;
    r.orderCode = 1;
    r.day = t.tm_mday, r.month = t.tm_mon, r.year = t.tm_year + 1900;
    r.hour = t.tm_hour, r.minute = t.tm_min, r.second = t.tm_sec;
    r.pixelCount[0] = r.pixelCount[1] = nx * ny;  // at most 2^31 - 1: checked by the caller
    r.lines = ny;
    r.pixelsPerLine = nx;
    std::memcpy(r.type, "REAL", 4);
    r.words15to16[0] = r.words15to16[1] = 0;
    r.mean = image.getMean();
    r.word18 = r.word20 = 0.0f;
    r.max = image.getMax();
    r.min = image.getMin();
    if (std::strcmp(image.getName(), "na") != 0) {
        // A longer name is cut to 79 characters and the terminating zero.
        const size_t n = std::min(std::strlen(image.getName()), sizeof r.imageTitle - 1);
        std::memcpy(r.imageTitle, image.getName(), n);
        r.imageTitle[n] = '\0';
    }
    setGeometryWords(r, nx, ny);
    return r;
}

bool writeRecord(std::FILE* file, const ImagicRecord& record, int whence) {
    return fseeko(file, 0, whence) == 0 && std::fwrite(&record, recordBytes, 1, file) == 1 &&
           std::fflush(file) == 0;
}

// Appends the record and the first section's rows (last row first), flushes both, then
// raises the count in an existing stack's first record.
RowWrite appendImage(Stack& s, const ImagicRecord& record, const Image& image) {
    if (!writeRecord(s.header, record, SEEK_END)) return RowWrite::failed;
    const int64_t nx = image.getNx(), ny = image.getNy();
    const float* data = image.getData();
    auto lastRowFirst = [&](unsigned char* chunk, int64_t first, int64_t rows) -> const void* {
        for (int64_t k = 0; k < rows; k++)
            std::memcpy(chunk + k * nx * 4, data + (ny - 1 - (first + k)) * nx, size_t(nx) * 4);
        return chunk;
    };
    const RowWrite rows = writeRowsInChunks(s.data, ny, nx * 4, lastRowFirst);
    if (rows != RowWrite::written) return rows;
    if (std::fflush(s.data) != 0) return RowWrite::failed;
    if (!s.headerExisted) return RowWrite::written;  // the record appended is the first
    ImagicRecord first = s.first;
    first.imagesFollowing++;
    s.firstRewritten = true;
    return writeRecord(s.header, first, SEEK_SET) ? RowWrite::written : RowWrite::failed;
}

// A file back to its length before the append, or removed when the append created it.
bool putBack(const std::string& name, bool existed, int64_t length) {
    if (!existed) return std::remove(name.c_str()) == 0;
    struct stat status;
    if (stat(name.c_str(), &status) != 0) return false;
    return int64_t(status.st_size) == length || truncate(name.c_str(), off_t(length)) == 0;
}

// Undoes a failed append once both files are closed.
bool restoreStack(const Stack& s) {
    bool restored = putBack(s.headerName, s.headerExisted, s.headerLength);
    restored = putBack(s.dataName, s.dataExisted, s.dataLength) && restored;
    if (!s.firstRewritten) return restored;
    const int fd = open(s.headerName.c_str(), O_WRONLY);
    if (fd < 0) return false;
    restored = pwrite(fd, &s.first, recordBytes, 0) == recordBytes && restored;
    return close(fd) == 0 && restored;
}

}  // namespace

int writeImagic(Image& image, const char* path) {
    const std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    const int nx = image.getNx(), ny = image.getNy();
    if (!checkImageSize(nx, ny, image.getNz())) return 0;
    if (nx > INT32_MAX / 2) {  // words 80 and 89 hold 2 nx
        printBadImageSize(nx, ny, 1);
        return 0;
    }

    Stack s;
    std::string stem = path;
    if (stem.size() > 4 && stem[stem.size() - 4] == '.') stem.resize(stem.size() - 4);
    s.headerName = stem + ".hed";
    s.dataName = stem + ".img";
    if (!openStack(s)) return 0;

    const int32_t imageNumber = s.headerExisted ? s.first.imagesFollowing + 2 : 1;
    const ImagicRecord record = recordFor(image, imageNumber, now);
    const RowWrite result = appendImage(s, record, image);
    const int headerClosed = closeWrittenFile(s.header, result == RowWrite::written);
    const int dataClosed = closeWrittenFile(s.data, result == RowWrite::written);
    s.header = s.data = nullptr;
    if (!headerClosed || !dataClosed) {
        if (!restoreStack(s))
            printImagicRestoreFailed(s.headerName.c_str());
        else if (result == RowWrite::noMemory)
            printNoMemoryToWrite(s.dataName.c_str());
        else
            printImagicAppendFailed(s.headerName.c_str());
        return 0;
    }
    if (image.getImagicHeader() != nullptr)
        *image.getImagicHeader() = record;
    else
        image.setImagicHeader(new ImagicRecord(record));
    return 1;
}

}  // namespace tarnview
