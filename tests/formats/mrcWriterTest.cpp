// MRC files written by writeMrc, checked byte by byte against the header words and sample
// formulas computed here, and read back with readMrc.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "formats/byteOrder.h"
#include "formats/mrcReader.h"
#include "formats/mrcWriter.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

// The history stamp of the minute t, as written in a label.
std::string stampAt(std::time_t t, const std::string& name) {
    std::tm l{};
    localtime_r(&t, &l);
    const int yy = l.tm_year % 100;
    const std::string stamp = "lorikit: " + std::to_string(l.tm_mon + 1) + "/" + std::to_string(l.tm_mday) +
                              "/" + (yy < 10 ? "0" : "") + std::to_string(yy) + " " +
                              std::to_string(l.tm_hour) + ":" + (l.tm_min < 10 ? "0" : "") +
                              std::to_string(l.tm_min) + " " + name;
    return stamp.substr(0, 79);  // the label slot's 80 bytes end with a zero
}

struct Written {
    int result = -1;
    std::string printed, stampBefore, stampAfter;  // the minute may roll over during the write
    std::vector<uint8_t> bytes;
    // The file is in the host's byte order.
    int32_t word(int w) const { return load<int32_t>(4 * size_t(w)); }
    int sample16(size_t i) const { return load<uint16_t>(1024 + 2 * i); }
    template <class T>
    T load(size_t offset) const {
        T v;
        std::memcpy(&v, bytes.data() + offset, sizeof v);
        return v;
    }
    float real(int w) const { return std::bit_cast<float>(word(w)); }
    std::string label(int i) const { return reinterpret_cast<const char*>(bytes.data() + 224 + 80 * i); }
    bool stamped(int i) const { return label(i) == stampBefore || label(i) == stampAfter; }
};

Written write(Image& image, const std::string& path, int sixteenBit, const std::string& name = "no name") {
    Written w;
    w.stampBefore = stampAt(std::time(nullptr), name);
    w.printed = captureStdout([&] { w.result = writeMrc(image, path.c_str(), sixteenBit); });
    w.stampAfter = stampAt(std::time(nullptr), name);
    if (w.result == 1) w.bytes = test::readBytes(path);
    return w;
}

// A real 100 x 50 image with min 10, max 20 and a 15 at (3, 0).
std::vector<float> tenToTwenty() {
    std::vector<float> v(5000);
    for (int i = 0; i < 5000; i++) v[size_t(i)] = 10.0f + float((i * 7) % 101) * 0.1f;
    v[3] = 15.0f;
    return v;
}

TEST(WriteMrc, NewRealImageAsFloatsHasEveryHeaderWordAndTheSamplesUnchanged) {
    const std::vector<float> samples = tenToTwenty();
    Image image;
    setRealData(image, samples.data(), 100, 50, 1);
    const Written w = write(image, scratchPath("real.mrc"), 0);
    ASSERT_EQ(w.result, 1) << w.printed;
    EXPECT_EQ(w.printed, "");
    ASSERT_EQ(w.bytes.size(), 1024u + 20000u);
    // Words 0-54: sizes, mode, start, cell, angles, axes, statistics; all else 0.
    std::vector<int32_t> want(55, 0);
    const int32_t head[] = {100, 50, 1, 2, 0, 0, 0, 0, 0, 0};
    const float cell[] = {100, 50, 1, 90, 90, 90};
    std::copy(std::begin(head), std::end(head), want.begin());
    for (int i = 0; i < 6; i++) want[size_t(10 + i)] = std::bit_cast<int32_t>(cell[i]);
    want[16] = 1, want[17] = 2, want[18] = 3;
    const float stats[] = {image.getMin(), image.getMax(), image.getMean()};
    for (int i = 0; i < 3; i++) want[size_t(19 + i)] = std::bit_cast<int32_t>(stats[i]);
    for (int i = 0; i < 55; i++) EXPECT_EQ(w.word(i), want[size_t(i)]) << "word " << i;
    EXPECT_EQ(w.word(55), 1);
    EXPECT_TRUE(w.stamped(0)) << w.label(0);
    for (size_t b = 224 + w.label(0).size(); b < 1024; b++) ASSERT_EQ(w.bytes[b], 0) << "byte " << b;
    EXPECT_EQ(std::memcmp(w.bytes.data() + 1024, samples.data(), 20000), 0);
    EXPECT_EQ(std::memcmp(image.getData(), samples.data(), 20000), 0);
    ASSERT_NE(image.getMrcHeader(), nullptr);  // the kept header is the one written
    EXPECT_EQ(std::memcmp(image.getMrcHeader(), w.bytes.data(), 1024), 0);
}

TEST(WriteMrc, SixteenBitSamplesAreOnTheScaleToFourThousandNinetyFive) {
    const std::vector<float> samples = tenToTwenty();
    Image image;
    setRealData(image, samples.data(), 100, 50, 1);
    image.setName("scaled");
    const Written w = write(image, scratchPath("short.mrc"), 1, "scaled");
    ASSERT_EQ(w.result, 1) << w.printed;
    ASSERT_EQ(w.bytes.size(), 1024u + 10000u);
    EXPECT_EQ(w.word(3), 1);
    EXPECT_EQ(w.real(19), 0.0f);
    EXPECT_EQ(w.real(20), 4095.0f);
    EXPECT_EQ(w.real(21), float((image.getMeanDouble() - 10.0) * 409.5));
    EXPECT_TRUE(w.stamped(0)) << w.label(0);
    for (size_t i = 0; i < samples.size(); i++) {
        const uint16_t want = uint16_t(int((double(samples[i]) - 10.0) * 409.5));
        ASSERT_EQ(w.sample16(size_t(i)), want) << "sample " << i;
    }
    EXPECT_EQ(w.sample16(3), 2047);        // 15 becomes 2047 in the file
    EXPECT_EQ(image.getData()[3], 15.0f);  // and stays 15 in memory
    EXPECT_EQ(std::memcmp(image.getData(), samples.data(), 20000), 0);
    Image back;
    ASSERT_EQ(readMrc(back, scratchPath("short.mrc").c_str()), 1);
    EXPECT_EQ(back.getMin(), 0.0f);
    EXPECT_EQ(back.getMax(), 4095.0f);
    EXPECT_EQ(back.getData()[3], 2047.0f);
}

TEST(WriteMrc, SixteenBitPackingOfNanInfinitiesValuesBelowMinAndAnUnusableScale) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    Image image;
    setRealData(image, std::vector<float>{0, 1, 0, 1, 0, 1}.data(), 6, 1, 1);  // min 0, max 1
    const float packed[] = {0, 1, nan, inf, -inf, -1};
    std::memcpy(image.getData(), packed, sizeof packed);  // the statistics stay as they were
    Written w = write(image, scratchPath("packing.mrc"), 1);
    ASSERT_EQ(w.result, 1) << w.printed;
    // 1 -> 4095; NaN -> 0; +inf and -inf clamp to the int32 range, keeping their low 16
    // bits (FFFF and 0000); -1 -> -4095 wraps to 65536 - 4095.
    const int want[] = {0, 4095, 0, 0xFFFF, 0, 65536 - 4095};
    for (int i = 0; i < 6; i++) EXPECT_EQ(w.sample16(size_t(i)), want[i]) << i;

    // No usable scale (an all-NaN image): every sample and statistic is 0.
    Image flat;
    captureStdout([&] { setRealData(flat, std::vector<float>(4, nan).data(), 2, 2, 1); });
    w = write(flat, scratchPath("flat.mrc"), 1);
    ASSERT_EQ(w.result, 1);
    for (int i = 19; i <= 21; i++) EXPECT_EQ(w.real(i), 0.0f);
    for (size_t b = 1024; b < w.bytes.size(); b++) ASSERT_EQ(w.bytes[b], 0);
    EXPECT_TRUE(std::isnan(flat.getData()[1]));
}

// Complex 33 x 4 (nx 66): amplitude/phase pairs a_k = 1 + k / 8, p_k = k / 5 - 2.
std::vector<float> amplitudePhase() {
    std::vector<float> v;
    for (int k = 0; k < 33 * 4; k++) v.push_back(1.0f + float(k) / 8), v.push_back(float(k) / 5 - 2);
    return v;
}

TEST(WriteMrc, ComplexImagesAreWrittenAsRealImaginaryPairsWithHalfTheirRowLength) {
    const std::vector<float> ap = amplitudePhase();
    Image image;
    setComplexData(image, ap.data(), 66, 4, 1);
    const std::string path = scratchPath("complex.mrc");
    const Written w = write(image, path, 0);
    ASSERT_EQ(w.result, 1) << w.printed;
    ASSERT_EQ(w.bytes.size(), 1024u + 66 * 4 * 4);
    EXPECT_EQ(w.word(0), 33);
    EXPECT_EQ(w.word(3), 4);
    EXPECT_EQ(w.real(10), 66.0f);
    for (size_t i = 0; i < ap.size(); i += 2) {
        const double a = ap[i], p = ap[i + 1];
        ASSERT_NEAR(w.real(256 + int(i)), a * std::cos(p), 2e-6 * a) << i;
        ASSERT_NEAR(w.real(257 + int(i)), a * std::sin(p), 2e-6 * a) << i;
    }
    EXPECT_EQ(std::memcmp(image.getData(), ap.data(), ap.size() * 4), 0);
    Image back;  // the reader divides by the row length in floats and multiplies by ny
    ASSERT_EQ(readMrc(back, path.c_str()), 1);
    for (size_t i = 0; i < ap.size(); i += 2) {
        ASSERT_NEAR(back.getData()[i], ap[i] * 4.0 / 66.0, 2e-6 * ap[i]) << i;
        ASSERT_NEAR(std::remainder(back.getData()[i + 1] - ap[i + 1], 2 * M_PI), 0.0, 2e-6) << i;
    }
    EXPECT_EQ(write(image, path, 1).word(3), 3);
    EXPECT_EQ(std::memcmp(image.getData(), ap.data(), ap.size() * 4), 0);

    image.setFlags(complexFlag | fourierFlag | realImagFlag);  // pairs already (re, im)
    const Written asIs = write(image, path, 0);
    ASSERT_EQ(asIs.result, 1);
    EXPECT_EQ(std::memcmp(asIs.bytes.data() + 1024, ap.data(), ap.size() * 4), 0);
}

// An image whose kept header has labelCount labels in use.
Written writeWithLabels(int32_t labelCount, const std::string& name) {
    Image image;
    setRealData(image, std::vector<float>{1, 2, 3, 4}.data(), 2, 2, 1);
    image.setName(name.c_str());
    auto* header = new MrcHeader{};
    header->labelCount = labelCount;
    image.setMrcHeader(header);
    return write(image, scratchPath("labels.mrc"), 0, name);
}

TEST(WriteMrc, TheHistoryLabelGoesToLabelCountWhileFewerThanTenAreInUse) {
    Written w = writeWithLabels(3, "three");
    EXPECT_EQ(w.word(55), 4);
    EXPECT_TRUE(w.stamped(3)) << w.label(3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.bytes.data() + 464)), w.label(3));
    for (int32_t full : {10, 11, -1}) {
        w = writeWithLabels(full, "full");
        EXPECT_EQ(w.word(55), full);
        for (size_t b = 224; b < 1024; b++) ASSERT_EQ(w.bytes[b], 0) << full;
    }
    // A stamp longer than its slot keeps 79 characters and its terminating zero.
    w = writeWithLabels(0, std::string(100, 'n'));
    EXPECT_EQ(w.label(0).size(), 79u);
    EXPECT_TRUE(w.stamped(0)) << w.label(0);
    for (size_t b = 304; b < 1024; b++) ASSERT_EQ(w.bytes[b], 0);
}

TEST(WriteMrc, AHeaderReadFromABigEndianFileTravelsThroughWithItsOwnWords) {
    std::vector<uint8_t> file = test::mrcFile(4, 3, 1, 2, true, std::vector<double>(12, 1.5));
    const uint8_t patch[][2] = {{31, 77}, {52, 0x42}, {53, 0}, {167, 99}};  // words 7, 13 (32.0f), 41
    for (const auto& p : patch) file[p[0]] = p[1];
    std::memcpy(file.data() + 208, "MAP \x11\x11\0\0", 8);
    const std::string path = scratchPath("big.mrc");
    test::writeBytes(path, file);
    Image image;
    ASSERT_EQ(readMrc(image, path.c_str()), 1);
    image.getMrcHeader()->nsymbt = 100;
    const int32_t labels = image.getMrcHeader()->labelCount;
    const Written w = write(image, path, 0, "big.mrc");
    ASSERT_EQ(w.result, 1) << w.printed;
    EXPECT_EQ(w.word(7), 77);
    EXPECT_EQ(w.word(41), 99);
    EXPECT_EQ(w.real(13), 32.0f);
    EXPECT_EQ(w.word(23), 0);
    const uint8_t stamp = hostIsBigEndian() ? 0x11 : 0x44;
    EXPECT_EQ(std::memcmp(w.bytes.data() + 208, "MAP ", 4), 0);
    EXPECT_EQ(w.word(53), std::bit_cast<int32_t>(std::array<uint8_t, 4>{stamp, stamp, 0, 0}));
    EXPECT_EQ(w.word(55), labels + 1);
    EXPECT_TRUE(w.stamped(labels)) << w.label(labels);
}

TEST(WriteMrc, RefusalsAndWriteErrorsPrintAMessageAndLeaveTheKeptHeader) {
    Image image;
    Written w = write(image, scratchPath("empty.mrc"), 0);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.printed, "Bad image size 0x0x0\n");
    EXPECT_FALSE(test::fileExists(scratchPath("empty.mrc")));
    setRealData(image, std::vector<float>(15, 1.0f).data(), 5, 3, 1);
    w = write(image, "/nonexistent/dir/out.mrc", 0);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.printed, "Cannot open file for writing\n");
    EXPECT_EQ(image.getMrcHeader(), nullptr);
    image.setFlags(complexFlag);
    w = write(image, scratchPath("odd.mrc"), 0);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.printed, "Cannot write a complex image whose rows hold an odd number (5) of floats\n");
    if (!test::fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    image.setFlags(0);
    for (int sixteenBit : {0, 1}) {
        w = write(image, "/dev/full", sixteenBit);
        EXPECT_EQ(w.result, 0);
        EXPECT_EQ(w.printed, "Error writing /dev/full: the MRC file is incomplete.\n");
        EXPECT_EQ(image.getMrcHeader(), nullptr);
    }
}

}  // namespace
}  // namespace tarnview
