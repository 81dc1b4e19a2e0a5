#include "support/testFiles.h"

#include <cstring>

#include "support/testSupport.h"

namespace tarnview::test {

std::vector<uint8_t> mrcFile(int nx, int ny, int nz, int mode, bool bigEndian,
                             const std::vector<double>& values) {
    std::vector<uint8_t> out;
    const uint32_t words[] = {uint32_t(nx), uint32_t(ny), uint32_t(nz), uint32_t(mode)};
    for (uint32_t w : words) putU32(out, w, bigEndian);
    for (int w = 4; w < 10; w++) putU32(out, 0, bigEndian);
    putF32(out, float(nx), bigEndian);
    putF32(out, float(ny), bigEndian);
    putF32(out, float(nz), bigEndian);
    for (int w = 13; w < 16; w++) putF32(out, 90.0f, bigEndian);
    for (uint32_t axis = 1; axis <= 3; axis++) putU32(out, axis, bigEndian);
    out.resize(1024, 0);
    for (double v : values) {
        switch (mode) {
            case 0:
                out.push_back(uint8_t(v));
                break;
            case 1:
            case 3:
                putU16(out, uint16_t(v), bigEndian);
                break;
            default:
                putF32(out, float(v), bigEndian);
        }
    }
    return out;
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

}  // namespace tarnview::test
