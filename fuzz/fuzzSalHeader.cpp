// Fuzz target for ScansALot scans: the input is read as the header text and, when the
// header describes a scan, again as its data file, by both the whole-scan and the
// corner reader.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "formats/salReader.h"
#include "image/Image.h"

namespace {

FILE* streamOver(const uint8_t* data, size_t size) {
    return fmemopen(const_cast<uint8_t*>(data), size, "rb");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* text = streamOver(data, size);
    if (text == nullptr) return 0;
    tarnview::SalHeader header = tarnview::parseSalHeader(text);
    std::fclose(text);
    if (header.exchangeAxes) std::swap(header.nx, header.ny);
    if (tarnview::salBlockLength(header) < 0) return 0;

    // The memory stream's known length keeps the whole-scan reader from sizing an image
    // the data cannot fill.
    for (auto read : {tarnview::readSalData, tarnview::readSalCornerData}) {
        FILE* stream = streamOver(data, size);
        if (stream == nullptr) return 0;
        tarnview::Image image;
        read(image, stream, header);
        std::fclose(stream);
    }
    return 0;
}
