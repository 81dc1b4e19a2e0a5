// IMAGIC stacks written here in either byte order, REAL and INTG.
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats/ImageList.h"
#include "formats/byteOrder.h"
#include "formats/imagicReader.h"
#include "formats/sampleLoaders.h"
#include "image/Image.h"
#include "support/testSupport.h"
#include "testStreams.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

// Samples of image k at (x, y); the 16-bit ones go above 32767 to catch signed reads.
float floatSample(int k, int x, int y) {
    return float(k * 100 + y * 10 + x) + 0.25f;
}
uint16_t intSample(int k, int x, int y) {
    return uint16_t((k * 7919 + y * 331 + x * 17 + 40000) % 65536);
}

struct Size {
    int nx, ny;
};

struct Stack {
    std::vector<Size> sizes;
    bool bigEndian = false;
    bool integers = false;
    int64_t imagesFollowing = -2;  // -2: the number of sizes minus one
    const char* type = nullptr;    // default: "REAL" or "INTG"
};

void putWord(std::vector<uint8_t>& record, int w, uint32_t v, bool bigEndian) {
    std::vector<uint8_t> bytes;
    test::putU32(bytes, v, bigEndian);
    std::memcpy(record.data() + 4 * w, bytes.data(), 4);
}

std::vector<uint8_t> headerBytes(const Stack& s) {
    std::vector<uint8_t> out;
    for (size_t k = 0; k < s.sizes.size(); k++) {
        std::vector<uint8_t> record(1024, 0);
        const Size z = s.sizes[k];
        putWord(record, 0, uint32_t(k + 1), s.bigEndian);
        int64_t following = s.imagesFollowing == -2 ? int64_t(s.sizes.size()) - 1 : s.imagesFollowing;
        putWord(record, 1, k == 0 ? uint32_t(following) : 0, s.bigEndian);
        putWord(record, 3, 1, s.bigEndian);
        putWord(record, 12, uint32_t(z.ny), s.bigEndian);
        putWord(record, 13, uint32_t(z.nx), s.bigEndian);
        std::memcpy(record.data() + 56, s.type ? s.type : (s.integers ? "INTG" : "REAL"), 4);
        putWord(record, 17, std::bit_cast<uint32_t>(1.5f), s.bigEndian);
        std::string title = "title " + std::to_string(k);
        std::memcpy(record.data() + 116, title.c_str(), title.size() + 1);
        putWord(record, 60, 0x01020304u + uint32_t(k), s.bigEndian);
        putWord(record, 255, uint32_t(-7), s.bigEndian);
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

// Each image from its last row to its first.
std::vector<uint8_t> dataBytes(const Stack& s) {
    std::vector<uint8_t> out;
    for (size_t k = 0; k < s.sizes.size(); k++)
        for (int y = s.sizes[k].ny - 1; y >= 0; y--)
            for (int x = 0; x < s.sizes[k].nx; x++) {
                if (s.integers)
                    test::putU16(out, intSample(int(k), x, y), s.bigEndian);
                else
                    test::putF32(out, floatSample(int(k), x, y), s.bigEndian);
            }
    return out;
}

std::string writeStack(const std::string& stem, const Stack& s) {
    test::writeBytes(stem + ".hed", headerBytes(s));
    test::writeBytes(stem + ".img", dataBytes(s));
    return stem;
}

// The image holds the samples of stack image k, in image row order.
void expectStackImage(const Image* image, int k, Size z, bool integers) {
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getNx(), z.nx);
    ASSERT_EQ(image->getNy(), z.ny);
    for (int y = 0; y < z.ny; y++)
        for (int x = 0; x < z.nx; x++) {
            float want = integers ? float(intSample(k, x, y)) : floatSample(k, x, y);
            ASSERT_EQ(image->getPixel(x, y), want) << "image " << k << " at " << x << "," << y;
        }
}

ImageList* readQuietly(const std::string& path, std::string* out = nullptr) {
    ImageList* list = nullptr;
    std::string text = captureStdout([&] { list = readImagic(path.c_str()); });
    if (out) *out = text;
    return list;
}

TEST(ReadImagic, BothByteOrdersAndSampleTypesGiveTheSameImages) {
    const std::vector<Size> sizes = {{4, 3}, {5, 2}, {3, 3}};
    for (bool integers : {false, true})
        for (bool bigEndian : {false, true}) {
            Stack s{sizes, bigEndian, integers};
            std::string stem = writeStack(
                scratchPath(std::string("order") + (bigEndian ? "B" : "L") + (integers ? "I" : "R")), s);
            std::string out;
            ImageList* list = readQuietly(stem + ".img", &out);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(out, "");
            ASSERT_EQ(count(list), 3);
            for (int k = 0; k < 3; k++) {
                const Image* image = imageAt(list, k);
                expectStackImage(image, k, sizes[size_t(k)], integers);
                EXPECT_EQ(std::string(image->getName()), stem.substr(stem.rfind('/') + 1) + ".img");
                EXPECT_EQ(image->getGreyLow(), image->getMin());
                EXPECT_EQ(image->getGreyHigh(), image->getMax());
                const ImagicRecord* r = image->getImagicHeader();
                ASSERT_NE(r, nullptr);
                EXPECT_EQ(r->imageNumber, k + 1);
                EXPECT_EQ(r->imagesFollowing, k == 0 ? 2 : 0);
                EXPECT_EQ(r->lines, sizes[size_t(k)].ny);
                EXPECT_EQ(r->pixelsPerLine, sizes[size_t(k)].nx);
                EXPECT_EQ(r->mean, 1.5f);
                EXPECT_EQ(r->words49to255[60 - 49], int32_t(0x01020304 + k));
                EXPECT_EQ(r->words49to255[255 - 49], -7);
                EXPECT_EQ(std::memcmp(r->type, integers ? "INTG" : "REAL", 4), 0);
                EXPECT_STREQ(r->imageTitle, ("title " + std::to_string(k)).c_str());
            }
            destroyWithImages(list);
        }
}

TEST(ReadImagic, SixteenBitSamplesAreUnsignedInTheFilesOrder) {
    std::string stem = scratchPath("fffe");
    Stack s{{{1, 1}}, false, true};
    test::writeBytes(stem + ".hed", headerBytes(s));
    test::writeBytes(stem + ".img", {0xFF, 0xFE});
    ImageList* list = readQuietly(stem);
    ASSERT_EQ(count(list), 1);
    EXPECT_EQ(imageAt(list, 0)->getPixel(0, 0), 65279.0f);
    destroyWithImages(list);

    s.bigEndian = true;
    test::writeBytes(stem + ".hed", headerBytes(s));
    list = readQuietly(stem);
    ASSERT_EQ(count(list), 1);
    EXPECT_EQ(imageAt(list, 0)->getPixel(0, 0), 65534.0f);
    destroyWithImages(list);
}

TEST(ReadImagic, StemIsCutAtTheLastDot) {
    Stack s{{{2, 2}}};
    std::string stem = writeStack(scratchPath("pair"), s);
    for (const char* ending : {".img", ".hed", ".whatever"}) {
        ImageList* list = readQuietly(stem + ending);
        EXPECT_EQ(count(list), 1) << ending;
        destroyWithImages(list);
    }

    // The only "." lies in a directory name.
    writeStack(scratchPath("dir"), s);
    ImageList* list = readQuietly(scratchPath("dir.d/stack"));
    EXPECT_EQ(count(list), 1);
    destroyWithImages(list);

    // No "." at all, and no "/": the extensions go after the whole path and the images
    // stay unnamed.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(scratchPath("").c_str()), 0);
    writeStack("bare", s);
    list = readQuietly("bare");
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_EQ(count(list), 1);
    EXPECT_STREQ(imageAt(list, 0)->getName(), "na");
    destroyWithImages(list);
}

TEST(ReadImagic, RefusesMissingFilesAndUnknownTypes) {
    std::string out;
    std::string missing = scratchPath("missing");
    EXPECT_EQ(readQuietly(missing, &out), nullptr);
    EXPECT_EQ(out, "ERROR: cannot open " + missing + ".hed\n");

    Stack s{{{2, 2}}};
    test::writeBytes(missing + ".hed", headerBytes(s));
    EXPECT_EQ(readQuietly(missing, &out), nullptr);
    EXPECT_EQ(out, "ERROR: cannot open " + missing + ".img\n");

    s.type = "CPLX";
    std::string stem = writeStack(scratchPath("cplx"), s);
    EXPECT_EQ(readQuietly(stem, &out), nullptr);
    EXPECT_EQ(out, "Unknown type CPLX.\n");

    // A header file shorter than one record reads as zeros: an empty type.
    test::writeBytes(stem + ".hed", std::vector<uint8_t>(10, 1));
    EXPECT_EQ(readQuietly(stem, &out), nullptr);
    EXPECT_EQ(out, "Unknown type     .\n");
}

TEST(ReadImagic, ShortDataDropsTheImagesItCannotHold) {
    const std::vector<Size> sizes = {{4, 3}, {4, 3}, {4, 3}};
    Stack s{sizes};
    std::string stem = writeStack(scratchPath("shortdata"), s);
    std::vector<uint8_t> data = dataBytes(s);

    // Cut inside the last image: it alone is dropped.
    test::writeBytes(stem + ".img", std::vector<uint8_t>(data.begin(), data.end() - 20));
    std::string out;
    ImageList* list = readQuietly(stem, &out);
    EXPECT_EQ(out, "Incomplete data read 0/3 blocks\n");
    ASSERT_EQ(count(list), 2);
    expectStackImage(imageAt(list, 1), 1, sizes[1], false);
    destroyWithImages(list);

    // Cut inside the middle image: the rest of the file is used up by it, so the last one
    // finds nothing either. A stream of unknown length ends the same way.
    std::vector<uint8_t> cut(data.begin(), data.begin() + 48 + 20);
    test::writeBytes(stem + ".img", cut);
    list = readQuietly(stem, &out);
    EXPECT_EQ(out, "Incomplete data read 0/3 blocks\nIncomplete data read 0/3 blocks\n");
    EXPECT_EQ(count(list), 1);
    destroyWithImages(list);

    FILE* header = test::fileStreamOf(headerBytes(s));
    FILE* pipeData = test::pipeStreamOf(cut);
    ASSERT_NE(header, nullptr);
    ASSERT_NE(pipeData, nullptr);
    out = captureStdout([&] { list = readImagicStreams(header, pipeData, "x/y.img"); });
    std::fclose(header);
    std::fclose(pipeData);
    EXPECT_EQ(out, "Incomplete data read 0/3 blocks\nIncomplete data read 0/3 blocks\n");
    ASSERT_EQ(count(list), 1);
    expectStackImage(imageAt(list, 0), 0, sizes[0], false);
    EXPECT_STREQ(imageAt(list, 0)->getName(), "y.img");
    destroyWithImages(list);
}

TEST(ReadImagic, ImageCountsAreBoundedByTheHeaderFile) {
    Stack s{{{2, 2}, {2, 2}}};
    for (int64_t following : {int64_t(INT_MAX), int64_t(5)}) {
        s.imagesFollowing = following;
        std::string stem = writeStack(scratchPath("count"), s);
        ImageList* list = readQuietly(stem);
        EXPECT_EQ(count(list), 2) << following;
        destroyWithImages(list);
    }
    for (int64_t following : {int64_t(-1), int64_t(-5), int64_t(INT_MIN)}) {
        s.imagesFollowing = following;
        std::string stem = writeStack(scratchPath("count"), s);
        ImageList* list = readQuietly(stem);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(count(list), 0) << following;
        destroyWithImages(list);
    }
}

TEST(ReadImagic, ImagesWithBadSizesAreDropped) {
    // The bad images have no samples in the data file; the good ones follow each other.
    Stack s{{{4, 0}, {3, 3}, {-2, 5}, {65536, 65536}, {2, 2}}};
    std::string stem = scratchPath("badsize");
    test::writeBytes(stem + ".hed", headerBytes(s));
    Stack good{{{3, 3}, {2, 2}}};
    test::writeBytes(stem + ".img", dataBytes(good));
    std::string out;
    ImageList* list = readQuietly(stem, &out);
    EXPECT_EQ(out, "Bad image size 4x0x1\nBad image size -2x5x1\nBad image size 65536x65536x1\n");
    ASSERT_EQ(count(list), 2);
    expectStackImage(imageAt(list, 0), 0, {3, 3}, false);
    expectStackImage(imageAt(list, 1), 1, {2, 2}, false);
    destroyWithImages(list);
}

TEST(ReadImagic, ParticleStacksOfThousandsOfImagesReadCompletely) {
    // Beyond 2147 images the progress figures (k x 1000000) leave the int range.
    Stack s;
    s.sizes.assign(2200, Size{1, 1});
    std::string stem = writeStack(scratchPath("particles"), s);
    ImageList* list = readQuietly(stem);
    ASSERT_EQ(count(list), 2200);
    EXPECT_EQ(imageAt(list, 2199)->getPixel(0, 0), floatSample(2199, 0, 0));
    destroyWithImages(list);
}

}  // namespace
}  // namespace tarnview
