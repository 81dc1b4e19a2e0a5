// MRC writer. The header is built in a copy of the image's kept header and written as it
// is (the kept header is in host order, the order the file is written in). The samples
// go to the file a chunk of rows at a time: real floats straight from the image, complex
// and 16-bit ones converted into the chunk, so that the image's samples are never touched.
#include "formats/mrcWriter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "formats/byteOrder.h"
#include "formats/formatsMessages.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "image/MrcHeader.h"
#include "image/chunkedWrite.h"
#include "image/imageMessages.h"

namespace tarnview {

namespace {

static_assert(offsetof(MrcHeader, mapTag) == 208, "\"MAP \" is word 52");
static_assert(offsetof(MrcHeader, machineStamp) == 212, "the machine stamp is word 53");

// How the samples go to the file.
struct SampleForm {
    bool toRealImag;   // amplitude/phase pairs written as (a cos p, a sin p)
    bool sixteenBit;   // written as (v - offset) x scale in 16 bits
    double offset;     // the image's min
    double scale;      // 4095 / (max - min), in double
    bool scaleUsable;  // finite and positive; otherwise every 16-bit sample is 0
};

SampleForm sampleFormOf(const Image& image, bool sixteenBit) {
    SampleForm form{};
    form.toRealImag = image.isComplex() && !(image.getFlags() & realImagFlag);
    form.sixteenBit = sixteenBit;
    form.offset = image.getMin();
    form.scale = 4095.0 / (double(image.getMax()) - form.offset);
    form.scaleUsable = std::isfinite(form.scale) && form.scale > 0;
    return form;
}

// The 16-bit file sample of v: (v - offset) x scale truncated toward zero, keeping its
// low 16 bits. NaN gives 0 and values beyond the int32 range are clamped first, so that
// no float is converted to an integer it cannot be.
uint16_t pack16(float v, const SampleForm& form) {
    if (!form.scaleUsable || std::isnan(v)) return 0;
    const double t = std::clamp((double(v) - form.offset) * form.scale, double(INT32_MIN), double(INT32_MAX));
    return uint16_t(uint32_t(int32_t(t)));
}

// File value i of a chunk, as a float or a 16-bit integer.
template <bool sixteenBit>
void putValue(unsigned char* out, int64_t i, float v, const SampleForm& form) {
    if constexpr (sixteenBit) {
        const uint16_t u = pack16(v, form);
        std::memcpy(out + 2 * i, &u, 2);
    } else {
        std::memcpy(out + 4 * i, &v, 4);
    }
}

template <bool sixteenBit>
void convertValues(const float* in, int64_t count, const SampleForm& form, unsigned char* out) {
    if (!form.toRealImag) {
        for (int64_t i = 0; i < count; i++) putValue<sixteenBit>(out, i, in[i], form);
        return;
    }
    for (int64_t i = 0; i + 1 < count; i += 2) {
        const double a = in[i], p = in[i + 1];
        putValue<sixteenBit>(out, i, float(a * std::cos(p)), form);
        putValue<sixteenBit>(out, i + 1, float(a * std::sin(p)), form);
    }
}

// The statistics words: the image's values, or the same on the 16-bit scale.
void setStatistics(MrcHeader& header, const Image& image, const SampleForm& form) {
    if (!form.sixteenBit) {
        header.dataMin = image.getMin();
        header.dataMax = image.getMax();
        header.dataMean = image.getMean();
    } else if (!form.scaleUsable) {
        header.dataMin = header.dataMax = header.dataMean = 0.0f;
    } else {
        header.dataMin = float((double(image.getMin()) - form.offset) * form.scale);
        header.dataMax = float((double(image.getMax()) - form.offset) * form.scale);
        header.dataMean = float((image.getMeanDouble() - form.offset) * form.scale);
    }
}

// A header that says it is of the newer kind gets "MAP " and this host's machine stamp;
// one read from a file of the other byte order holds both reversed.
void setMapTag(MrcHeader& header) {
    if (std::memcmp(header.mapTag, "MAP ", 4) != 0 && std::memcmp(header.mapTag, " PAM", 4) != 0) return;
    std::memcpy(header.mapTag, "MAP ", 4);
    const unsigned char stamp = hostIsBigEndian() ? 0x11 : 0x44;
    const unsigned char bytes[4] = {stamp, stamp, 0, 0};
    std::memcpy(header.machineStamp, bytes, 4);
}

// The history stamp goes into label labelCount while fewer than 10 labels are in use; a
// longer stamp is cut to 79 characters and its terminating zero.
void addHistoryLabel(MrcHeader& header, const char* name, const std::tm& t) {
    if (header.labelCount < 0 || header.labelCount > 9) return;
    std::snprintf(header.labels[header.labelCount], sizeof header.labels[0], "lorikit: %d/%d/%02d %d:%02d %s",
                  t.tm_mon + 1, t.tm_mday, t.tm_year % 100, t.tm_hour, t.tm_min, name);
    header.labelCount++;
}

MrcHeader headerFor(const Image& image, const SampleForm& form, const std::tm& now) {
    MrcHeader header = image.getMrcHeader() != nullptr ? *image.getMrcHeader() : MrcHeader{};
    const bool complex = image.isComplex();
    header.nx = complex ? image.getNx() / 2 : image.getNx();
    header.ny = image.getNy();
    header.nz = image.getNz();
    header.mode = complex ? (form.sixteenBit ? 3 : 4) : (form.sixteenBit ? 1 : 2);
    header.nxStart = header.nyStart = header.nzStart = 0;
    header.cellX = float(image.getNx());
    header.cellY = float(image.getNy());
    header.cellZ = float(image.getNz());
    if (header.cellAlpha == 0.0f) header.cellAlpha = header.cellBeta = header.cellGamma = 90.0f;
    header.mapColumn = 1, header.mapRow = 2, header.mapSection = 3;
    setStatistics(header, image, form);
    header.nsymbt = 0;  // no extended header is written
    setMapTag(header);
    const bool named = std::strcmp(image.getName(), "na") != 0;
    addHistoryLabel(header, named ? image.getName() : "no name", now);
    return header;
}

// Writes the header and the samples; returns the result of the row writes.
RowWrite writeFile(std::FILE* file, const Image& image, const MrcHeader& header, const SampleForm& form) {
    if (std::fwrite(&header, sizeof header, 1, file) != 1) return RowWrite::failed;
    const int64_t nx = image.getNx();
    const float* data = image.getData();
    auto rows = [&](unsigned char* chunk, int64_t first, int64_t count) -> const void* {
        const float* in = data + first * nx;
        if (!form.toRealImag && !form.sixteenBit) return in;
        if (form.sixteenBit)
            convertValues<true>(in, count * nx, form, chunk);
        else
            convertValues<false>(in, count * nx, form, chunk);
        return chunk;
    };
    const int64_t rowCount = int64_t(image.getNy()) * image.getNz();
    return writeRowsInChunks(file, rowCount, nx * (form.sixteenBit ? 2 : 4), rows);
}

}  // namespace

int writeMrc(Image& image, const char* path, int sixteenBit) {
    const std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    if (!checkImageSize(image.getNx(), image.getNy(), image.getNz())) return 0;
    if (image.isComplex() && image.getNx() % 2 != 0) {
        printOddComplexRow(image.getNx());
        return 0;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        printCannotOpenForWriting();
        return 0;
    }
    const SampleForm form = sampleFormOf(image, sixteenBit != 0);
    const MrcHeader header = headerFor(image, form, now);
    const RowWrite rows = writeFile(file, image, header, form);
    if (rows == RowWrite::noMemory) {
        std::fclose(file);
        printNoMemoryToWrite(path);
        return 0;
    }
    if (!closeWrittenFile(file, rows == RowWrite::written)) {
        printCannotWriteMrc(path);
        return 0;
    }
    if (image.getMrcHeader() != nullptr)
        *image.getMrcHeader() = header;
    else
        image.setMrcHeader(new MrcHeader(header));
    return 1;
}

}  // namespace tarnview
