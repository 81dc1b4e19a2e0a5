#include "support/testFiles.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/testSupport.h"

namespace tarnview::test {

std::vector<uint8_t> mrcBytes(const MrcFile& f, bool big) {
    std::vector<uint8_t> out;
    auto word = [&](int32_t v) { putU32(out, uint32_t(v), big); };
    auto real = [&](float v) { putF32(out, v, big); };
    word(f.nx), word(f.ny), word(f.nz), word(f.mode);
    for (int32_t s : f.start) word(s);
    word(7), word(8), word(9);  // not interpreted, kept
    for (float c : f.cell) real(c);
    real(90), real(90), real(90);
    word(1), word(2), word(3);
    real(-1), real(1), real(0);
    word(0);
    word(f.nsymbt);
    for (int w = 24; w < 52; w++) word(w);
    if (f.mapTag)
        out.insert(out.end(), {'M', 'A', 'P', ' '});
    else
        word(52);
    word(53), word(54);
    word(f.labelCount);
    std::vector<uint8_t> labels(800, 0);
    std::memcpy(labels.data(), f.label.data(), f.label.size());
    out.insert(out.end(), labels.begin(), labels.end());
    EXPECT_EQ(out.size(), 1024u);
    out.insert(out.end(), f.extension.begin(), f.extension.end());
    for (double v : f.samples) {
        switch (f.mode) {
            case 0:
                out.push_back(uint8_t(v));
                break;
            case 1:
            case 3:
            case 6:
            case 12:  // the half's bit pattern
                putU16(out, uint16_t(v), big);
                break;
            default:
                real(float(v));
        }
    }
    return out;
}

std::vector<uint8_t> mrcFile(int nx, int ny, int nz, int mode, bool bigEndian,
                             const std::vector<double>& values) {
    MrcFile f;
    f.nx = nx;
    f.ny = ny;
    f.nz = nz;
    f.mode = mode;
    f.cell[0] = float(nx);
    f.cell[1] = float(ny);
    f.cell[2] = float(nz);
    f.samples = values;
    return mrcBytes(f, bigEndian);
}

void writeSalScan(const std::string& stem, int nx, int ny, const std::vector<uint16_t>& samples,
                  int recordLength, const std::string& extraLines, bool upperCase) {
    std::string header = " NXP = " + std::to_string(nx) + "\n NYP = " + std::to_string(ny) +
                         "\n FILE REC = " + std::to_string(recordLength) + "\n" + extraLines;
    writeText(stem + (upperCase ? ".HDR" : ".hdr"), header);
    const size_t block = (size_t(2 * nx - 1) / size_t(recordLength) + 1) * size_t(recordLength);
    std::vector<uint8_t> data;
    for (int r = 0; r < ny; r++) {
        const size_t start = data.size();
        for (int x = 0; x < nx; x++) putU16(data, samples[size_t(r) * nx + x], false);
        data.resize(start + block, 0xEE);  // filler that must never show in the image
    }
    writeBytes(stem + (upperCase ? ".IMG" : ".img"), data);
}

void writeImagicStack(const std::string& stem, int nx, int ny, const std::vector<std::vector<double>>& images,
                      bool integer, bool bigEndian) {
    std::vector<uint8_t> header, data;
    for (size_t k = 0; k < images.size(); k++) {
        std::vector<uint8_t> record;
        putU32(record, uint32_t(k + 1), bigEndian);
        putU32(record, k == 0 ? uint32_t(images.size() - 1) : 0u, bigEndian);
        putU32(record, 0, bigEndian);
        putU32(record, 1, bigEndian);  // small positive: its first two bytes tell the order
        for (int w = 4; w < 10; w++) putU32(record, 0, bigEndian);
        putU32(record, uint32_t(nx * ny), bigEndian);
        putU32(record, uint32_t(nx * ny), bigEndian);
        putU32(record, uint32_t(ny), bigEndian);
        putU32(record, uint32_t(nx), bigEndian);
        for (char c : std::string(integer ? "INTG" : "REAL")) record.push_back(uint8_t(c));
        record.resize(116, 0);
        const std::string title = "image " + std::to_string(k);
        for (char c : title) record.push_back(uint8_t(c));
        record.resize(1024, 0);
        header.insert(header.end(), record.begin(), record.end());
        for (int r = ny - 1; r >= 0; r--)
            for (int x = 0; x < nx; x++) {
                const double v = images[k][size_t(r) * nx + x];
                if (integer)
                    putU16(data, uint16_t(v), bigEndian);
                else
                    putF32(data, float(v), bigEndian);
            }
    }
    writeBytes(stem + ".hed", header);
    writeBytes(stem + ".img", data);
}

uint8_t greyOf(float v, float lo, float hi) {
    if (!(v > lo)) return 0;
    if (v >= hi) return 255;
    const float factor = 255.0f / (hi - lo);
    return uint8_t(int((v - lo) * factor));
}

std::string pgmHeader(int w, int h) {
    return "P5\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
}

std::vector<uint8_t> expectedPgm(int nx, int ny, const std::vector<double>& v, float lo, float hi) {
    const std::string header = pgmHeader(nx, ny);
    std::vector<uint8_t> out(header.begin(), header.end());
    for (int y = ny - 1; y >= 0; y--)
        for (int x = 0; x < nx; x++) out.push_back(greyOf(float(v[size_t(y) * nx + x]), lo, hi));
    return out;
}

}  // namespace tarnview::test
