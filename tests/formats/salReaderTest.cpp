// ScansALot scans written here byte by byte: names, header keys, record tails, serpentine
// and axis-exchanged scans, the corner reader and every failure message.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/salReader.h"
#include "image/Image.h"
#include "support/testSupport.h"
#include "testStreams.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

// The sample a test scan holds at (x, y): different along both axes.
uint16_t sampleAt(int x, int y) {
    return uint16_t((x * 3 + y * 1001 + 7) % 65536);
}

struct Scan {
    int nx = 4;
    int ny = 3;
    int recordLength = 512;
    bool recordLine = false;  // write a FILE REC line
    bool serpentine = false;  // store odd rows right to left and say so
    std::string extraLines;
};

// Bytes per stored row: the row's bytes rounded up to whole records.
int64_t blockBytes(const Scan& s) {
    return (2 * int64_t(s.nx) + s.recordLength - 1) / s.recordLength * s.recordLength;
}

std::string headerText(const Scan& s) {
    std::string t = " NXP = " + std::to_string(s.nx) + "\n NYP = " + std::to_string(s.ny) + "\n";
    if (s.recordLine) t += " FILE REC = " + std::to_string(s.recordLength) + "\n";
    if (s.serpentine) t += " SCAN TYPE = 'RASTER'\n";
    return t + s.extraLines;
}

// Rows of little-endian samples, odd rows reversed for serpentine scans, each followed by
// filler bytes 0xEE up to the block length.
std::vector<uint8_t> dataBytes(const Scan& s) {
    std::vector<uint8_t> out;
    for (int y = 0; y < s.ny; y++) {
        size_t start = out.size();
        for (int i = 0; i < s.nx; i++) {
            int x = s.serpentine && y % 2 == 1 ? s.nx - 1 - i : i;
            test::putU16(out, sampleAt(x, y), false);
        }
        out.resize(start + size_t(blockBytes(s)), 0xEE);
    }
    return out;
}

// Writes stem + headerExt and stem + dataExt; returns stem.
std::string writeScan(const std::string& stem, const Scan& s, const char* headerExt = ".HDR",
                      const char* dataExt = ".IMG") {
    test::writeText(stem + headerExt, headerText(s));
    test::writeBytes(stem + dataExt, dataBytes(s));
    return stem;
}

void expectScanSamples(const Image& image, int width, int height) {
    ASSERT_EQ(image.getNx(), width);
    ASSERT_EQ(image.getNy(), height);
    EXPECT_EQ(image.getNz(), 1);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            ASSERT_EQ(image.getPixel(x, y), float(sampleAt(x, y))) << x << "," << y;
}

TEST(ReadSal, ReadsRowsAndDropsRecordTails) {
    struct Case {
        int nx, recordLength;
        bool recordLine;
        int block;
    };
    // 1000 samples fill 2000 bytes, 2048 with 512-byte records; a row of 8 samples has a
    // tail three times its own length, which must land nowhere.
    const Case cases[] = {{1000, 512, false, 2048}, {1000, 4096, true, 4096}, {256, 512, false, 512},
                          {8, 512, false, 512},     {3, 1, true, 6},          {5, 7, true, 14}};
    for (const Case& c : cases) {
        Scan s;
        s.nx = c.nx;
        s.ny = 3;
        s.recordLength = c.recordLength;
        s.recordLine = c.recordLine;
        std::string stem =
            writeScan(scratchPath("tails" + std::to_string(c.nx) + "_" + std::to_string(c.block)), s);
        Image image;
        int result = 0;
        std::string out = captureStdout([&] { result = readSal(image, (stem + ".IMG").c_str()); });
        ASSERT_EQ(result, 1) << out;
        EXPECT_EQ(out, stem + ".HDR is " + std::to_string(c.nx) +
                           "x3\nBlock length=" + std::to_string(c.block) + " x 3\n");
        expectScanSamples(image, c.nx, 3);
        EXPECT_EQ(image.getFlags(), 0);
    }
}

TEST(ReadSal, SerpentineScansComeOutInRowOrder) {
    Scan s;
    s.nx = 5;
    s.ny = 4;
    s.recordLength = 16;  // 10 bytes of samples, 6 of filler per row
    s.recordLine = true;
    s.serpentine = true;
    std::string stem = writeScan(scratchPath("serpentine"), s);
    Image image;
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    expectScanSamples(image, 5, 4);

    // Like the axis mark, the serpentine mark is only set: a later line does not clear it.
    s.extraLines = " SCAN TYPE = 'LINE'\n";
    stem = writeScan(scratchPath("serpentineline"), s);
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    expectScanSamples(image, 5, 4);

    // A scan of several hundred kilobytes, with record tails, is read in several pieces;
    // a piece may begin on an odd row.
    s.nx = 1000;
    s.ny = 301;
    s.recordLength = 512;
    s.extraLines.clear();
    stem = writeScan(scratchPath("serpentinelarge"), s);
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    expectScanSamples(image, 1000, 301);

    // A word that does not begin with R is a plain scan: odd rows stay as stored.
    s.nx = 5;
    s.ny = 4;
    s.recordLength = 16;
    s.serpentine = false;
    s.extraLines = " SCAN TYPE = 'LINE'\n";
    stem = writeScan(scratchPath("line"), s);
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    expectScanSamples(image, 5, 4);
}

TEST(ReadSal, AxscanYExchangesTheAxes) {
    // The file holds rows of the exchanged width: 200 samples, 300 rows.
    Scan stored;
    stored.nx = 200;
    stored.ny = 300;
    std::string stem = scratchPath("axscan");
    test::writeText(stem + ".HDR", " NXP = 300\n NYP = 200\n AXSCAN = 'Y'\n AXSCAN = 'X'\n");
    test::writeBytes(stem + ".IMG", dataBytes(stored));
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    EXPECT_EQ(out, stem + ".HDR is 200x300\nBlock length=512 x 300\n");
    expectScanSamples(image, 200, 300);
}

TEST(ReadSal, HeaderLinesThatDoNotParseChangeNothing) {
    std::string stem = scratchPath("unparsed");
    Scan s;  // 4 x 3
    s.extraLines =
        "'AXSCAN = Y\n"              // its only quote is its first character
        " AXSCAN = Y\n"              // no quote at all
        " SCAN TYPE = RASTER\n"      // no quote
        " SCAN TYPE = '   \n"        // no word after the quote
        " NXP 17\n"                  // no "="
        " NYP = many\n"              // no number
        " FILE REC = 99999999999\n"  // beyond an int
        " DELTAX = x\n"
        "DELTAX = 21.0\n"  // the key in the first character is not seen
        "\n";
    writeScan(stem, s);
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    EXPECT_EQ(out, stem + ".HDR is 4x3\nBlock length=512 x 3\n");
    expectScanSamples(image, 4, 3);
    EXPECT_FLOAT_EQ(image.getDeltaX(), 8.333333f);
    EXPECT_FLOAT_EQ(image.getMag(), 30.0f);
}

TEST(ReadSal, DeltaxLineGivesAThirdOfItsValue) {
    Scan s;
    s.extraLines = " DELTAX = 21.0\n";
    std::string stem = writeScan(scratchPath("deltax"), s);
    Image image;
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    EXPECT_EQ(image.getDeltaX(), 7.0f);
}

TEST(ReadSal, LongLinesAreReadInPiecesOf79Characters) {
    // The second piece of the long line starts with " NYP", so its key is seen.
    std::string stem = scratchPath("pieces");
    Scan s;
    test::writeText(stem + ".HDR", " NXP = 4\n" + std::string(79, 'x') + " NYP = 3\n");
    test::writeBytes(stem + ".IMG", dataBytes(s));
    Image image;
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    expectScanSamples(image, 4, 3);
}

TEST(ReadSal, SamplesAreUnsignedLittleEndian) {
    std::string stem = scratchPath("bytes");
    test::writeText(stem + ".HDR", " NXP = 4\n NYP = 1\n FILE REC = 8\n");
    test::writeBytes(stem + ".IMG", {0x34, 0x12, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x00});
    Image image;
    captureStdout([&] { EXPECT_EQ(readSal(image, stem.c_str()), 1); });
    EXPECT_EQ(image.getPixel(0, 0), 4660.0f);
    EXPECT_EQ(image.getPixel(1, 0), 65535.0f);
    EXPECT_EQ(image.getPixel(2, 0), 32768.0f);
    EXPECT_EQ(image.getPixel(3, 0), 1.0f);
}

TEST(ReadSal, FileNamesAndImageNames) {
    Scan s;
    Image image;

    // Only lower-case files: the upper-case header fails the access test.
    std::string lower = writeScan(scratchPath("lowercase"), s, ".hdr", ".img");
    std::string out = captureStdout([&] { EXPECT_EQ(readSal(image, (lower + ".hdr").c_str()), 1); });
    EXPECT_EQ(out, lower + ".hdr is 4x3\nBlock length=512 x 3\n");
    EXPECT_STREQ(image.getName(), "lowercase.hdr");
    EXPECT_EQ(image.getPath(), lower + ".hdr");

    // The only "." is in a directory name: the stem is cut there.
    std::string dir = scratchPath("old.scans");
    mkdir(dir.c_str(), 0755);
    writeScan(scratchPath("old"), s);
    out = captureStdout([&] { EXPECT_EQ(readSal(image, (dir + "/scan").c_str()), 1); });
    EXPECT_EQ(out, scratchPath("old.HDR") + " is 4x3\nBlock length=512 x 3\n");
    EXPECT_STREQ(image.getName(), "scan");
    EXPECT_EQ(image.getPath(), dir + "/scan");

    // A path without "/" names the image "SAL File" and leaves its path alone.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(scratchPath("").c_str()), 0);
    writeScan("here", s);
    Image fresh;
    out = captureStdout([&] { EXPECT_EQ(readSal(fresh, "here"), 1); });
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(out, "here.HDR is 4x3\nBlock length=512 x 3\n");
    EXPECT_STREQ(fresh.getName(), "SAL File");
    EXPECT_STREQ(fresh.getPath(), "unknown");
}

TEST(ReadSal, HeadersWithoutAUsableSizeAreRefusedBeforeSizing) {
    struct Case {
        const char* header;
        const char* sizeLine;
    };
    const Case cases[] = {
        {" NYP = 3\n", "-1x3"},
        {" NXP = 4\n", "4x-1"},
        {"garbage\n", "-1x-1"},
        {" NXP = 0\n NYP = 3\n", "0x3"},
        {" NXP = -1\n NYP = 3\n", "-1x3"},
        {" NXP = 4\n NYP = 3\n FILE REC = 0\n", "4x3"},
        {" NXP = 4\n NYP = 3\n FILE REC = -512\n", "4x3"},
        {" NXP = 65536\n NYP = 65536\n", "65536x65536"},                            // 2^32 samples
        {" NXP = 1073741824\n NYP = 1\n", "1073741824x1"},                          // block length 2^31
        {" NXP = 1073741823\n NYP = 1\n FILE REC = 1073741825\n", "1073741823x1"},  // block beyond an int
    };
    for (const Case& c : cases) {
        std::string stem = scratchPath("refused");
        test::writeText(stem + ".HDR", c.header);
        test::writeBytes(stem + ".IMG", std::vector<uint8_t>(64, 0));
        Image image;
        int result = 1;
        std::string out = captureStdout([&] { result = readSal(image, stem.c_str()); });
        EXPECT_EQ(result, 0) << c.header;
        EXPECT_EQ(out, stem + ".HDR is " + c.sizeLine + "\nProblem reading header.") << c.header;
        EXPECT_EQ(image.getNx(), 0);
    }
}

TEST(ReadSal, MissingFilesAndShortDataFail) {
    Scan s;
    Image image;
    std::string missing = scratchPath("nothing");
    std::string out = captureStdout([&] { EXPECT_EQ(readSal(image, missing.c_str()), 0); });
    EXPECT_EQ(out, "Cannot open " + missing + ".hdr\n");

    std::string headerOnly = scratchPath("headeronly");
    test::writeText(headerOnly + ".HDR", headerText(s));
    out = captureStdout([&] { EXPECT_EQ(readSal(image, headerOnly.c_str()), 0); });
    EXPECT_EQ(out, headerOnly + ".HDR is 4x3\nCannot open " + headerOnly + ".img\n");

    // Every sample is there but the last row's filler is cut short.
    std::string shortStem = writeScan(scratchPath("short"), s);
    std::vector<uint8_t> bytes = dataBytes(s);
    bytes.resize(bytes.size() - 1);
    test::writeBytes(shortStem + ".IMG", bytes);
    out = captureStdout([&] { EXPECT_EQ(readSal(image, shortStem.c_str()), 0); });
    EXPECT_EQ(out, shortStem + ".HDR is 4x3\nBlock length=512 x 3\nIncomplete data read 0/3 blocks\n");

    // The same from a stream whose length is not known beforehand.
    SalHeader header;
    header.nx = 4;
    header.ny = 3;
    FILE* stream = test::pipeStreamOf(bytes);
    ASSERT_NE(stream, nullptr);
    out = captureStdout([&] { EXPECT_EQ(readSalData(image, stream, header), 0); });
    std::fclose(stream);
    EXPECT_EQ(out, "Block length=512 x 3\nIncomplete data read 0/3 blocks\n");
}

TEST(ReadSal, StreamsOfUnknownLengthReadLikeFiles) {
    Scan s;
    s.nx = 9;
    s.ny = 5;
    s.recordLength = 8;
    s.serpentine = true;
    SalHeader header;
    header.nx = 9;
    header.ny = 5;
    header.recordLength = 8;
    header.serpentine = true;
    FILE* stream = test::pipeStreamOf(dataBytes(s));
    ASSERT_NE(stream, nullptr);
    Image image;
    captureStdout([&] { EXPECT_EQ(readSalData(image, stream, header), 1); });
    std::fclose(stream);
    expectScanSamples(image, 9, 5);
}

TEST(ReadSalCorner, WideScanGivesTheTopLeft1040Square) {
    Scan s;
    s.nx = 1100;
    s.ny = 1050;
    std::string stem = writeScan(scratchPath("wide"), s);
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSalCorner(image, stem.c_str()), 1); });
    EXPECT_EQ(out, stem + ".HDR is 1100x1050\nBlock length=2560 x 1050 (0,0 1040,1040)\n");
    expectScanSamples(image, 1040, 1040);
}

TEST(ReadSalCorner, NarrowScanLosesItsLastColumnAndRow) {
    Scan s;
    s.nx = 8;
    s.ny = 6;
    std::string stem = writeScan(scratchPath("narrow"), s);
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSalCorner(image, stem.c_str()), 1); });
    EXPECT_EQ(out, stem + ".HDR is 8x6\nBlock length=512 x 6 (0,0 7,5)\n");
    expectScanSamples(image, 7, 5);
}

TEST(ReadSalCorner, SerpentineRowsWithTailsAreNotShifted) {
    // 1000 samples in 2048-byte blocks: reversing the whole block would shift odd rows
    // by the 24-sample tail.
    Scan s;
    s.nx = 1000;
    s.ny = 4;
    s.serpentine = true;
    std::string stem = writeScan(scratchPath("cornerserp"), s);
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSalCorner(image, stem.c_str()), 1); });
    EXPECT_EQ(out, stem + ".HDR is 1000x4\nSwapping\nBlock length=2048 x 4 (0,0 999,3)\n");
    expectScanSamples(image, 999, 3);
}

TEST(ReadSalCorner, ShortDataReportsTheRowReached) {
    Scan s;
    s.nx = 8;
    s.ny = 6;
    std::string stem = writeScan(scratchPath("cornershort"), s);
    std::vector<uint8_t> bytes = dataBytes(s);
    bytes.resize(2 * 512 + 100);
    test::writeBytes(stem + ".IMG", bytes);
    Image image;
    std::string out = captureStdout([&] { EXPECT_EQ(readSalCorner(image, stem.c_str()), 0); });
    EXPECT_EQ(out, stem + ".HDR is 8x6\nBlock length=512 x 6 (0,0 7,5)\nIncomplete data read 2/6 blocks\n");
}

}  // namespace
}  // namespace tarnview
