#include "formats/imagicReader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "formats/ImageList.h"
#include "formats/InputFile.h"
#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/ImagicRecord.h"
#include "image/progress.h"

namespace tarnview {

namespace {

constexpr int recordBytes = 1024;
constexpr int orderCodeOffset = 12;       // word 3
constexpr int imagesFollowingOffset = 4;  // word 1
constexpr int typeOffset = 56;            // word 14
// The progress of a stack counts this much per image.
constexpr int64_t progressPerImage = 1000000;

// Text words that are stored as characters and never reordered: `type` and `imageTitle`.
bool isTextWord(int w) {
    return w == 14 || (w >= 29 && w <= 48);
}

// The record with every numeric word in the host's order and the text words as stored.
void decodeRecord(const unsigned char* raw, ByteOrder order, ImagicRecord& record) {
    unsigned char host[recordBytes];
    std::memcpy(host, raw, recordBytes);
    for (int w = 0; w < recordBytes / 4; w++) {
        if (isTextWord(w)) continue;
        const uint32_t v = decodeWord(raw + 4 * w, order);
        std::memcpy(host + 4 * w, &v, 4);
    }
    std::memcpy(&record, host, recordBytes);
}

// What the first record says for the whole stack, and the record itself: it is also the
// first image's, kept rather than read again, since a header from a pipe cannot rewind.
struct StackFacts {
    ByteOrder order;
    bool floats;     // "REAL" samples; "INTG" otherwise
    int64_t images;  // imagesFollowing + 1
    unsigned char first[recordBytes];
    bool firstWhole;  // the header file held a whole first record
};

// Reads the first record. A header file shorter than a record reads as zeros beyond its
// end. False after "Unknown type %4.4s.\n".
bool readStackFacts(FILE* header, StackFacts& facts) {
    unsigned char* first = facts.first;
    std::memset(first, 0, recordBytes);
    facts.firstWhole = std::fread(first, 1, recordBytes, header) == size_t(recordBytes);
    // orderCode (word 3) is small: written big-endian, its first two bytes are zero.
    const unsigned char* order = first + orderCodeOffset;
    facts.order = order[0] == 0 && order[1] == 0 ? ByteOrder::bigEndian : ByteOrder::littleEndian;
    const char* type = reinterpret_cast<const char*>(first + typeOffset);
    facts.floats = std::memcmp(type, "REAL", 4) == 0;
    if (!facts.floats && std::memcmp(type, "INTG", 4) != 0) {
        printImagicUnknownType(type);
        return false;
    }
    facts.images = int64_t(int32_t(decodeWord(first + imagesFollowingOffset, facts.order))) + 1;
    return true;
}

enum class StackRead { appended, skipped, noMoreRecords, outOfMemory };

// Reads the record of image k (the kept first record for k = 0) and the image, read on
// from where the previous image ended in the data file, and appends the image (named
// name when that is not null) to list. An image whose samples cannot be loaded is
// released with its record and skipped (the loader printed why). Out of memory is left
// to the caller to report.
StackRead readStackImage(FILE* header, FILE* data, const StackFacts& facts, int64_t k, const char* name,
                         ImageList* list) {
    unsigned char raw[recordBytes];
    if (k == 0 && !facts.firstWhole) return StackRead::noMoreRecords;
    if (k == 0)
        std::memcpy(raw, facts.first, recordBytes);
    else if (std::fread(raw, 1, recordBytes, header) != size_t(recordBytes))
        return StackRead::noMoreRecords;
    std::unique_ptr<ImagicRecord> record(new (std::nothrow) ImagicRecord());
    std::unique_ptr<Image> image(new (std::nothrow) Image());
    if (!record || !image) return StackRead::outOfMemory;
    decodeRecord(raw, facts.order, *record);

    const int nx = record->pixelsPerLine, ny = record->lines;
    const int loaded = facts.floats ? readFloatRows(*image, data, nx, ny, 1, facts.order)
                                    : read16BitRows(*image, data, nx, ny, 1, facts.order);
    if (!loaded) return StackRead::skipped;

    if (name != nullptr) image->setName(name);
    image->setGreyLimits(image->getMin(), image->getMax());
    image->setImagicHeader(record.release());
    if (!append(list, image.get())) return StackRead::outOfMemory;
    image.release();
    return StackRead::appended;
}

}  // namespace

ImageList* readImagic(const char* path) {
    std::string stem = path;
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    const std::string headerName = stem + ".hed";
    const std::string dataName = stem + ".img";

    InputFile header(headerName.c_str());
    if (!header) {
        if (!header.failureReported()) printImagicCannotOpen(headerName.c_str());
        return nullptr;
    }
    InputFile data(dataName.c_str());
    if (!data) {
        if (!data.failureReported()) printImagicCannotOpen(dataName.c_str());
        return nullptr;
    }
    return readImagicStreams(header.get(), data.get(), dataName.c_str());
}

ImageList* readImagicStreams(FILE* header, FILE* data, const char* dataName) {
    ImageList* list = createImageList();
    if (list == nullptr) {
        printImageListOutOfMemory();
        return nullptr;
    }
    StackFacts facts;
    if (!readStackFacts(header, facts)) {
        destroy(list, 1);
        return nullptr;
    }
    const char* slash = std::strrchr(dataName, '/');
    const char* name = slash != nullptr ? slash + 1 : nullptr;
    for (int64_t k = 0; k < facts.images; k++) {
        if (facts.images > 1)
            reportProgress(progressFigure(k * progressPerImage),
                           progressFigure(facts.images * progressPerImage), "Reading multiple images");
        const StackRead outcome = readStackImage(header, data, facts, k, name, list);
        if (outcome == StackRead::noMoreRecords) break;
        if (outcome == StackRead::outOfMemory) {
            printImageListOutOfMemory();
            destroyWithImages(list);
            return nullptr;
        }
    }
    if (facts.images > 1) reportProgress(-1, 0, nullptr);
    return list;
}

}  // namespace tarnview
