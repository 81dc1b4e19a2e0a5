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
constexpr int typeOffset = 56;  // word 14

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

}  // namespace

ImageList* readImagic(const char* path) {
    std::string stem = path;
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    const std::string headerName = stem + ".hed";
    const std::string dataName = stem + ".img";

    InputFile header(headerName.c_str());
    if (!header) {
        printImagicCannotOpen(headerName.c_str());
        return nullptr;
    }
    InputFile data(dataName.c_str());
    if (!data) {
        printImagicCannotOpen(dataName.c_str());
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

    // The first record decides the byte order, the sample type and the image count. A
    // header file shorter than a record reads as zeros beyond its end.
    unsigned char first[recordBytes] = {};
    (void)std::fread(first, 1, recordBytes, header);
    std::rewind(header);
    const ByteOrder order = first[12] == 0 && first[13] == 0 ? ByteOrder::bigEndian : ByteOrder::littleEndian;
    const char* type = reinterpret_cast<const char*>(first + typeOffset);
    const bool floats = std::memcmp(type, "REAL", 4) == 0;
    if (!floats && std::memcmp(type, "INTG", 4) != 0) {
        printImagicUnknownType(type);
        destroy(list, 1);
        return nullptr;
    }
    const int64_t images = int64_t(int32_t(decodeWord(first + 4, order))) + 1;  // imagesFollowing + 1

    const char* slash = std::strrchr(dataName, '/');
    for (int64_t k = 0; k < images; k++) {
        if (images > 1)
            reportProgress(progressFigure(k * 1000000), progressFigure(images * 1000000),
                           "Reading multiple images");
        unsigned char raw[recordBytes];
        if (std::fread(raw, 1, recordBytes, header) != size_t(recordBytes)) break;  // no further record

        std::unique_ptr<ImagicRecord> record(new (std::nothrow) ImagicRecord());
        std::unique_ptr<Image> image(new (std::nothrow) Image());
        if (!record || !image) {
            printImageListOutOfMemory();
            destroyWithImages(list);
            return nullptr;
        }
        decodeRecord(raw, order, *record);

        // The data file is read on from where the previous image ended.
        const int nx = record->pixelsPerLine, ny = record->lines;
        const int loaded = floats ? readFloatRows(*image, data, nx, ny, 1, order)
                                  : read16BitRows(*image, data, nx, ny, 1, order);
        if (!loaded) continue;  // the image and its record are released

        if (slash != nullptr) image->setName(slash + 1);
        image->setGreyLimits(image->getMin(), image->getMax());
        image->setImagicHeader(record.release());
        if (!append(list, image.get())) {
            printImageListOutOfMemory();
            destroyWithImages(list);
            return nullptr;
        }
        image.release();
    }
    if (images > 1) reportProgress(-1, 0, nullptr);
    return list;
}

}  // namespace tarnview
