#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/convertedReader.h"
#include "image/Image.h"
#include "support/testSupport.h"
#include "testStreams.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::fileExists;
using test::readBytes;
using test::runProgram;
using test::scratchPath;
using test::writeBytes;
using test::writeText;

// A 4 x 3 picture, top row first, with every value different so that flips show.
const std::vector<uint8_t> picture = {0, 17, 34, 51, 85, 102, 119, 136, 170, 187, 221, 255};

std::vector<uint8_t> withHeader(const std::string& header, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    return bytes;
}

// Runs a netpbm or libjpeg tool (found on PATH) and writes its standard output to out.
void runTool(const std::vector<std::string>& args, const std::string& out) {
    std::vector<std::string> argv = {"/usr/bin/env"};
    argv.insert(argv.end(), args.begin(), args.end());
    const test::RunResult r = runProgram(argv);
    ASSERT_EQ(r.status, 0) << args[0] << ": " << r.err;
    writeBytes(out, std::vector<uint8_t>(r.out.begin(), r.out.end()));
}

// The raw PGM of the test picture, written once.
std::string picturePgm() {
    const std::string path = scratchPath("picture.pgm");
    if (!fileExists(path)) writeBytes(path, withHeader("P5\n4 3\n255\n", picture));
    return path;
}

// Reads path with readConverted; the output it printed goes to printed.
int read(Image& image, const std::string& path, std::string* printed = nullptr) {
    int result = 0;
    const std::string out = captureStdout([&] { result = readConverted(image, path.c_str()); });
    if (printed != nullptr) *printed = out;
    return result;
}

void expectSameSamples(const Image& a, const Image& b, float tolerance = 0.0f) {
    ASSERT_EQ(a.getNx(), b.getNx());
    ASSERT_EQ(a.getNy(), b.getNy());
    for (int i = 0; i < a.getNx() * a.getNy(); i++)
        EXPECT_NEAR(a.getData()[i], b.getData()[i], tolerance) << i;
}

// PATH is replaced for one test by a scratch directory of this process, holding the
// given shims, followed by the system's directories unless alone is set.
class PathGuard {
  public:
    explicit PathGuard(bool alone = false) : saved(std::getenv("PATH")) {
        dir = scratchPath(alone ? "emptyBin" : "bin");
        std::filesystem::create_directories(dir);
        const std::string value = alone ? dir : dir + ":" + saved;
        setenv("PATH", value.c_str(), 1);
    }
    ~PathGuard() { setenv("PATH", saved.c_str(), 1); }
    // A shell script shim named name running body.
    void shim(const std::string& name, const std::string& body) {
        const std::string path = dir + "/" + name;
        writeText(path, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
    }

  private:
    std::string saved;
    std::string dir;
};

// Tests that make their pictures with the netpbm and libjpeg tools and read them through
// the converters; they skip when a tool is not installed.
class ReadConvertedPictures : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"pamdepth", "pnmtotiff", "tifftopnm", "pgmtoppm", "ppmtopcx", "pcxtoppm",
                                 "pamtogif", "giftopnm", "pnmtoplainpnm", "ppmtopgm", "cjpeg", "djpeg"})
            if (!test::haveProgram(tool)) GTEST_SKIP() << tool << " is not installed";
    }
};

TEST(ReadConverted, RawPgmIsReadFlippedWithoutAConverter) {
    const PathGuard noPrograms(true);
    Image image;
    std::string printed;
    ASSERT_EQ(read(image, picturePgm(), &printed), 1);
    EXPECT_EQ(printed, "div=255.000000\n");
    ASSERT_EQ(image.getNx(), 4);
    ASSERT_EQ(image.getNy(), 3);
    EXPECT_EQ(image.getNz(), 1);
    EXPECT_EQ(image.getFlags(), 0);
    // The top row (0, 17, 34, 51) is the image's last; 255 becomes 1.
    EXPECT_FLOAT_EQ(image.getPixel(1, 2), 17.0f / 255.0f);
    EXPECT_FLOAT_EQ(image.getPixel(0, 1), 85.0f / 255.0f);
    EXPECT_EQ(image.getPixel(3, 0), 1.0f);
    EXPECT_STREQ(image.getName(), "picture.pgm");
    EXPECT_EQ(std::string(image.getPath()), picturePgm());
    EXPECT_FLOAT_EQ(image.getMax(), 1.0f);
}

TEST(ReadConverted, CommentLinesBeforeTheWidthAreSkipped) {
    Image plain, commented;
    ASSERT_EQ(read(plain, picturePgm()), 1);
    const std::string path = scratchPath("comment.pgm");
    writeBytes(path,
               withHeader("P5\n# made by hand\n#" + std::string(300, 'x') + " 9 9 9\n4\n3 255\n", picture));
    ASSERT_EQ(read(commented, path), 1);
    expectSameSamples(plain, commented);
}

TEST(ReadConverted, BytesAboveTheMaximumAreListedWithFlippedIndices) {
    Image image;
    const std::string path = scratchPath("max15.pgm");
    writeBytes(path, withHeader("P5 2 2 15\n", {30, 15, 0, 3}));
    std::string printed;
    ASSERT_EQ(read(image, path, &printed), 1);
    // 30 / 15 = 2 lands at index 2 (last row, first column); 15 / 15 is not above 1.
    EXPECT_EQ(printed, "div=15.000000\n2,2\n");
}

TEST(ReadConverted, MaximumBelowOneOrBeyond16BitsDividesBy255) {
    for (const char* maximum : {"0", "0.5", "-4", "65536", "1e9"}) {
        Image image;
        const std::string path = scratchPath("max.pgm");
        writeBytes(path, withHeader(std::string("P5\n2 1\n") + maximum + "\n", {51, 255}));
        std::string printed;
        ASSERT_EQ(read(image, path, &printed), 1) << maximum;
        char expected[64];
        std::snprintf(expected, sizeof expected, "div=%f\n", double(std::strtof(maximum, nullptr)));
        EXPECT_EQ(printed, expected);
        EXPECT_FLOAT_EQ(image.getPixel(0, 0), 0.2f);
        EXPECT_EQ(image.getPixel(1, 0), 1.0f);
    }
}

TEST(ReadConverted, NonWholeMaximumKeepsOneByteSamples) {
    Image image;
    const std::string path = scratchPath("half.pgm");
    writeBytes(path, withHeader("P5\n2 1\n300.5\n", {1, 2}));
    ASSERT_EQ(read(image, path), 1);
    EXPECT_FLOAT_EQ(image.getPixel(1, 0), 2.0f / 300.5f);
}

TEST_F(ReadConvertedPictures, SixteenBitTiffReadsTwoBytesPerSample) {
    const std::string deep = scratchPath("deep.pgm"), tiff = scratchPath("deep.tif");
    runTool({"pamdepth", "65535", picturePgm()}, deep);
    runTool({"pnmtotiff", deep}, tiff);
    Image image, reference;
    std::string printed;
    ASSERT_EQ(read(image, tiff, &printed), 1);
    EXPECT_EQ(printed, "div=65535.000000\n");
    ASSERT_EQ(read(reference, picturePgm()), 1);
    expectSameSamples(image, reference, 1e-6f);
    // The raw 16-bit PGM reads the same without the converter.
    Image direct;
    ASSERT_EQ(read(direct, deep), 1);
    expectSameSamples(direct, reference, 1e-6f);
}

TEST_F(ReadConvertedPictures, TiffPcxPpmAndGifMatchTheRawPgm) {
    PathGuard path;
    path.shim("giftoppm", "exec giftopnm \"$@\"");
    Image reference;
    ASSERT_EQ(read(reference, picturePgm()), 1);
    const std::string colour = scratchPath("colour.ppm");
    runTool({"pgmtoppm", "white", picturePgm()}, colour);
    struct Case {
        std::vector<std::string> tool;
        std::string name;
    };
    const Case cases[] = {
        {{"pnmtotiff", colour}, "pic.tif"},      {{"pnmtotiff", picturePgm()}, "pic.TIF"},
        {{"pnmtotiff", colour}, "pic.tiff"},     {{"ppmtopcx", colour}, "pic.pcx"},
        {{"pamtogif", picturePgm()}, "pic.gif"}, {{"pamtogif", picturePgm()}, "pic.GIF"},
        {{"pnmtoplainpnm", colour}, "pic.ppm"},  {{"pnmtoplainpnm", colour}, "pic.jpeg"},
    };
    for (const Case& c : cases) {
        const std::string file = scratchPath(c.name);
        runTool(c.tool, file);
        Image image;
        ASSERT_EQ(read(image, file), 1) << c.name;
        expectSameSamples(image, reference);
        EXPECT_STREQ(image.getName(), c.name.c_str());
    }
}

TEST_F(ReadConvertedPictures, JpegMatchesDjpegsOwnGreymap) {
    const std::string jpeg = scratchPath("pic.jpg"), grey = scratchPath("djpeg.pgm");
    runTool({"cjpeg", "-grayscale", picturePgm()}, jpeg);
    runTool({"djpeg", "-grayscale", "-pnm", jpeg}, grey);
    Image image, reference;
    ASSERT_EQ(read(image, jpeg), 1);
    ASSERT_EQ(read(reference, grey), 1);
    expectSameSamples(image, reference);
    EXPECT_NEAR(image.getPixel(0, 2), 0.0f, 0.03f);  // lossy, but close to the picture
    EXPECT_NEAR(image.getPixel(3, 0), 1.0f, 0.03f);
}

TEST_F(ReadConvertedPictures, FourLetterJpegEndingFallsToPpmtopgm) {
    const std::string jpeg = scratchPath("pic.jpg"), renamed = scratchPath("photo.jpeg");
    runTool({"cjpeg", picturePgm()}, jpeg);
    std::rename(jpeg.c_str(), renamed.c_str());
    Image image;
    std::string printed;
    EXPECT_EQ(read(image, renamed, &printed), 0);
    EXPECT_EQ(printed, "Sorry, I do not recognize this file type.\n");
}

TEST_F(ReadConvertedPictures, MissingFileOrConverterFails) {
    PathGuard path;
    const std::string marker = scratchPath("started");
    path.shim("giftoppm", "touch '" + marker + "'");
    Image image;
    std::string printed;
    const std::string missing = scratchPath("missing.gif");
    EXPECT_EQ(read(image, missing, &printed), 0);
    EXPECT_EQ(printed, "Cannot open file " + missing + "\n");
    EXPECT_FALSE(fileExists(marker));

    const std::string gif = scratchPath("there.gif");
    runTool({"pamtogif", picturePgm()}, gif);
    EXPECT_EQ(read(image, gif, &printed), 0);  // the shim writes nothing
    EXPECT_EQ(printed, "Sorry, I do not recognize this file type.\n");
    EXPECT_TRUE(fileExists(marker));

    const PathGuard noPrograms(true);
    for (const char* name : {"there.gif", "there.tif", "there.jpg", "there.pcx", "there.ppm"}) {
        writeText(scratchPath(name), "not a picture");
        EXPECT_EQ(read(image, scratchPath(name), &printed), 0);
        EXPECT_EQ(printed, "Sorry, I do not recognize this file type.\n") << name;
    }
}

TEST_F(ReadConvertedPictures, ShellCharactersAndALeadingDashStayInTheName) {
    PathGuard path;
    path.shim("giftoppm", "exec giftopnm \"$@\"");
    Image reference;
    ASSERT_EQ(read(reference, picturePgm()), 1);
    const std::string names[] = {"with space.gif", "quote'\"s.tif", "semi;colon.gif", "$(touch injected).tif",
                                 "`touch injected`.pcx"};
    std::string colour = scratchPath("colour.ppm");
    runTool({"pgmtoppm", "white", picturePgm()}, colour);
    for (const std::string& name : names) {
        const std::string file = scratchPath(name);
        const std::string ending = name.substr(name.size() - 4);
        runTool({ending == ".gif" ? "pamtogif" : ending == ".tif" ? "pnmtotiff" : "ppmtopcx", colour}, file);
        Image image;
        ASSERT_EQ(read(image, file), 1) << name;
        expectSameSamples(image, reference);
    }
    EXPECT_FALSE(fileExists("injected"));
    EXPECT_FALSE(fileExists(scratchPath("injected")));

    // A relative name beginning with "-" is no option to the converter.
    char* cwd = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(scratchPath("").c_str()), 0);
    for (const char* name : {"-dash.gif", "-dash.jpg", "-dash.ppm"}) {
        const std::string ending = std::string(name).substr(5);
        runTool({ending == ".gif"   ? "pamtogif"
                 : ending == ".jpg" ? "cjpeg"
                                    : "pnmtoplainpnm",
                 picturePgm()},
                name);
        Image image;
        std::string printed;
        EXPECT_EQ(read(image, name, &printed), 1) << name << printed;
        EXPECT_STREQ(image.getName(), name);
    }
    ASSERT_EQ(chdir(cwd), 0);
    std::free(cwd);
}

TEST_F(ReadConvertedPictures, CommandLongerThanItsBufferIsRefused) {
    // "ppmtopgm " and the path fill 799 bytes: it fits; one more does not.
    runTool({"pnmtoplainpnm", picturePgm()}, scratchPath("long.ppm"));
    for (size_t length : {790u, 791u}) {
        std::string dots;
        while (scratchPath("").size() + dots.size() + 2 + 8 <= length) dots += "./";
        std::string path = scratchPath("") + dots + "long.ppm";
        if (path.size() < length) path = "/" + path;
        ASSERT_EQ(path.size(), length);
        Image image;
        std::string printed;
        EXPECT_EQ(read(image, path, &printed), length == 790u ? 1 : 0) << length;
        if (length == 791u) {
            EXPECT_EQ(printed, "File name too long for the converter command\n");
        }
    }
}

// readPgmStream on bad headers and short data, from a file and from a pipe.
TEST(ReadPgmStream, BadHeadersAreInvalidFiles) {
    const std::string invalid = "Invalid file\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"P5\n0 3\n255\n", invalid},
        {"P5\n4 -3\n255\n", invalid},
        {"P5\n4\n", invalid},
        {"P5\nx 3 255\n", invalid},
        {"P5\n4 3\n", invalid},
        {"P5\n4 3 nan\n", invalid},
        {"P5\n4 3 inf\n", invalid},
        {"P5\n4 3 1e999\n", invalid},
        {"P5\n4 3 1e39\n", invalid},
        {"P5\n4 3 2..5\n", invalid},
        {"P5\n99999999999 3 255\n", invalid},
        {"P5\n65536 32768 255\n", invalid},
        {"P5\n\n#late comment\n4 3 255\n", invalid},
        {"P5\n" + std::string(70000, '\n') + "4 3 255\n", invalid},
        {"P5\n" + std::string(70000, '#') + "\n4 3 255\n", invalid},
        {"P6\n4 3 255\n", "Sorry, I do not recognize this file type.\n"},
        {"P5\n4 3 255\n" + std::string(11, 'a'), "Incomplete data read 0/3 blocks\n"},
        {"P5\n4 3 300\n" + std::string(23, 'a'), "Incomplete data read 0/3 blocks\n"},
    };
    for (const auto& [text, message] : cases) {
        for (bool pipe : {false, true}) {
            if (pipe && text.size() > 60000) continue;
            const std::vector<uint8_t> bytes(text.begin(), text.end());
            FILE* in = pipe ? test::pipeStreamOf(bytes) : test::fileStreamOf(bytes);
            Image image;
            int result = 1;
            EXPECT_EQ(captureStdout([&] { result = readPgmStream(image, in); }), message)
                << text.substr(0, 30);
            EXPECT_EQ(result, 0);
            std::fclose(in);
        }
    }
}

TEST(ReadPgmStream, LargestSizeAndSeparatorRule) {
    // One separator after the maximum value: the blank after it is a sample.
    const std::string text = "P5 3 1 255  \x01\x02";
    FILE* in = test::fileStreamOf(std::vector<uint8_t>(text.begin(), text.end()));
    Image image;
    int result = 0;
    captureStdout([&] { result = readPgmStream(image, in); });
    std::fclose(in);
    ASSERT_EQ(result, 1);
    EXPECT_FLOAT_EQ(image.getPixel(0, 0), 32.0f / 255.0f);
    EXPECT_FLOAT_EQ(image.getPixel(2, 0), 2.0f / 255.0f);
}

}  // namespace
}  // namespace tarnview
