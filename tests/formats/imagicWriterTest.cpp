// IMAGIC stacks made and appended to by writeImagic: the record words against the table
// of values computed here, the data rows, read-backs through readImagic, the refusals
// and failed appends that must leave both files as they were.
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/ImageList.h"
#include "formats/imagicReader.h"
#include "formats/imagicWriter.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::readBytes;
using test::scratchPath;

// A 6 x 4 image whose sample (x, y) is k * 100 + y * 10 + x.
std::vector<float> samplesOf(int k) {
    std::vector<float> v;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++) v.push_back(float(k * 100 + y * 10 + x));
    return v;
}

struct Appended {
    int result = -1;
    std::string printed;
};

Appended append(Image& image, const std::string& path) {
    Appended a;
    a.printed = captureStdout([&] { a.result = writeImagic(image, path.c_str()); });
    return a;
}

// Word w of the record at byte offset, in the host's order (the writer's).
int32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset, int w) {
    int32_t v;
    std::memcpy(&v, bytes.data() + offset + 4 * size_t(w), 4);
    return v;
}
float realAt(const std::vector<uint8_t>& bytes, size_t offset, int w) {
    return std::bit_cast<float>(wordAt(bytes, offset, w));
}

TEST(WriteImagic, ANewStackHoldsTheRecordOfTheTableAndTheRowsLastFirst) {
    Image image;
    const std::vector<float> s = samplesOf(0);
    setRealData(image, s.data(), 6, 4, 1);
    image.setName("six by four");
    const std::string stem = scratchPath("new");
    const std::time_t before = std::time(nullptr);
    const Appended a = append(image, stem + ".img");
    ASSERT_EQ(a.result, 1) << a.printed;
    EXPECT_EQ(a.printed, "");
    const std::vector<uint8_t> hed = readBytes(stem + ".hed"), img = readBytes(stem + ".img");
    ASSERT_EQ(hed.size(), 1024u);
    ASSERT_EQ(img.size(), 6u * 4 * 4);
    // Words 0-16 (the date, words 4-6, is checked below) and 69-97.
    const std::vector<std::pair<int, int32_t>> words = {
        {0, 1},  {1, 0},  {2, 0},  {3, 1},   {10, 24}, {11, 24}, {12, 4}, {13, 6},  {15, 0},
        {16, 0}, {69, 6}, {70, 1}, {71, 4},  {72, 0},  {73, -1}, {74, 0}, {75, -1}, {76, 1},
        {77, 0}, {78, 8}, {79, 3}, {80, 12}, {81, 7},  {82, -1}, {83, 1}, {84, -1}, {85, -1},
        {86, 1}, {87, 6}, {88, 6}, {89, 12}, {90, -1}, {96, 1},  {97, 3}};
    for (auto [w, v] : words) EXPECT_EQ(wordAt(hed, 0, w), v) << "word " << w;
    std::tm t{};
    localtime_r(&before, &t);  // the minute may roll over: compare to the hour
    EXPECT_EQ(wordAt(hed, 0, 4), t.tm_mday);
    EXPECT_EQ(wordAt(hed, 0, 5), t.tm_mon);  // counted from 0
    EXPECT_EQ(wordAt(hed, 0, 6), t.tm_year + 1900);
    EXPECT_EQ(std::memcmp(hed.data() + 56, "REAL", 4), 0);
    EXPECT_EQ(realAt(hed, 0, 17), image.getMean());
    EXPECT_EQ(realAt(hed, 0, 21), 35.0f);
    EXPECT_EQ(realAt(hed, 0, 22), 0.0f);
    EXPECT_STREQ(reinterpret_cast<const char*>(hed.data() + 116), "six by four");
    for (int y = 0; y < 4; y++)  // file row k is image row 3 - k
        EXPECT_EQ(std::memcmp(img.data() + 24 * y, s.data() + 6 * (3 - y), 24), 0) << y;
    ASSERT_NE(image.getImagicHeader(), nullptr);  // the record stays in the image
    EXPECT_EQ(std::memcmp(image.getImagicHeader(), hed.data(), 1024), 0);
}

TEST(WriteImagic, AppendsRaiseTheFirstRecordsCountAndReadBack) {
    const std::string stem = scratchPath("three");
    for (int k = 0; k < 3; k++) {
        Image image;
        setRealData(image, samplesOf(k).data(), 6, 4, 1);
        const char* names[] = {".hed", ".img", ".xyz"};  // any three-letter extension
        ASSERT_EQ(append(image, stem + names[k]).result, 1);
        const std::vector<uint8_t> hed = readBytes(stem + ".hed");
        ASSERT_EQ(hed.size(), 1024u * (k + 1));
        EXPECT_EQ(wordAt(hed, 0, 1), k);                     // the first record's imagesFollowing
        EXPECT_EQ(wordAt(hed, 1024 * size_t(k), 0), k + 1);  // the new record's imageNumber
    }
    ImageList* list = nullptr;
    captureStdout([&] { list = readImagic((stem + ".hed").c_str()); });
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(count(list), 3);
    for (int k = 0; k < 3; k++)
        EXPECT_EQ(std::memcmp(imageAt(list, k)->getData(), samplesOf(k).data(), 96), 0) << k;
    destroyWithImages(list);
    // A four-letter extension, or a path of four characters, is kept.
    Image image;
    setRealData(image, samplesOf(0).data(), 6, 4, 1);
    ASSERT_EQ(append(image, stem + ".long").result, 1);
    EXPECT_TRUE(test::fileExists(stem + ".long.hed"));
}

// The bytes of a regular file (none for a directory or a device such as /dev/full).
std::vector<uint8_t> contents(const std::string& path) {
    return std::filesystem::is_regular_file(path) ? readBytes(path) : std::vector<uint8_t>{};
}

// Each refused or failed append prints its message and leaves both files as they were.
void expectRefused(const std::string& stem, const std::string& message) {
    const std::vector<uint8_t> hed = contents(stem + ".hed"), img = contents(stem + ".img");
    Image image;
    setRealData(image, samplesOf(5).data(), 6, 4, 1);
    const Appended a = append(image, stem);
    EXPECT_EQ(a.result, 0) << stem;
    EXPECT_EQ(a.printed, message) << stem;
    EXPECT_EQ(contents(stem + ".hed"), hed) << stem;
    EXPECT_EQ(contents(stem + ".img"), img) << stem;
    EXPECT_EQ(image.getImagicHeader(), nullptr) << stem;
}

TEST(WriteImagic, RefusesStacksItCannotAppendToAndLeavesThemAlone) {
    const std::vector<std::vector<double>> two = {std::vector<double>(24, 1.0), std::vector<double>(24, 2.0)};
    const std::string big = scratchPath("big"), intg = scratchPath("intg"), cut = scratchPath("cut");
    test::writeImagicStack(big, 6, 4, two, false, true);
    expectRefused(big, "File exists and has wrong byte order!\n");
    test::writeImagicStack(intg, 6, 4, two, true, false);
    expectRefused(intg, "Cannot append to " + intg + ".hed: its images are of type INTG, not REAL\n");
    test::writeBytes(cut + ".hed", std::vector<uint8_t>(1000, 1));
    expectRefused(cut, "Cannot append to " + cut + ".hed: it does not hold a whole first record\n");
    for (int32_t following : {-1, INT32_MAX - 1}) {
        const std::string stem = scratchPath("count" + std::to_string(following));
        test::writeImagicStack(stem, 6, 4, two, false, false);
        std::vector<uint8_t> hed = readBytes(stem + ".hed");
        std::memcpy(hed.data() + 4, &following, 4);
        test::writeBytes(stem + ".hed", hed);
        expectRefused(stem, "Cannot append to " + stem + ".hed: its image count (" +
                                std::to_string(following) + " following) cannot be raised\n");
    }
}

TEST(WriteImagic, FailedOpensAndWritesLeaveBothFilesAsTheyWere) {
    const std::string stem = scratchPath("failing");
    test::writeImagicStack(stem, 6, 4, {std::vector<double>(24, 1.0)}, false, false);
    std::filesystem::rename(stem + ".img", stem + ".kept");
    std::filesystem::create_directory(stem + ".img");  // the data file cannot be opened
    expectRefused(stem, "Cannot write to " + stem + ".img!\n");
    std::filesystem::remove(stem + ".hed");  // nor is a new header file left behind
    expectRefused(stem, "Cannot write to " + stem + ".img!\n");
    EXPECT_FALSE(test::fileExists(stem + ".hed"));
    if (!test::fileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    test::writeImagicStack(stem, 6, 4, {std::vector<double>(24, 1.0)}, false, false);
    std::filesystem::remove(stem + ".img");
    std::filesystem::create_symlink("/dev/full", stem + ".img");  // a full disk
    expectRefused(stem, "Error writing the stack " + stem + ".hed: nothing was appended.\n");
}

TEST(WriteImagic, RefusesAnImageWithoutSamplesAndWritesTheFirstSectionOnly) {
    Image image;
    const Appended a = append(image, scratchPath("none"));
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(a.printed, "Bad image size 0x0x0\n");
    EXPECT_FALSE(test::fileExists(scratchPath("none.hed")));
    std::vector<float> twoSections = samplesOf(1);
    twoSections.resize(48, 7.0f);
    setRealData(image, twoSections.data(), 6, 4, 2);
    ASSERT_EQ(append(image, scratchPath("thick")).result, 1);
    EXPECT_EQ(readBytes(scratchPath("thick.img")).size(), 96u);
    EXPECT_EQ(wordAt(readBytes(scratchPath("thick.hed")), 0, 12), 4);
}

}  // namespace
}  // namespace tarnview
