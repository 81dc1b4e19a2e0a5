#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "formats/mrcReader.h"
#include "image/Image.h"
#include "image/progress.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::putF32;
using test::putU16;
using test::putU32;
using test::scratchPath;
using test::writeBytes;

using test::mrcBytes;
using test::MrcFile;

struct ReadResult {
    int result = -1;
    std::string printed;
};

ReadResult readFile(Image& image, const std::vector<uint8_t>& bytes, const std::string& name = "in.mrc") {
    const std::string path = scratchPath(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeBytes(path, bytes);
    ReadResult r;
    r.printed = captureStdout([&] { r.result = readMrc(image, path.c_str()); });
    return r;
}

// The stream parser fed from memory; streamBytes -1 reads it as a pipe of unknown length.
ReadResult readMemory(Image& image, std::vector<uint8_t> bytes, bool knownLength) {
    std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
    EXPECT_NE(in, nullptr);
    ReadResult r;
    r.printed =
        captureStdout([&] { r.result = readMrcStream(image, in, knownLength ? int64_t(bytes.size()) : -1); });
    std::fclose(in);
    return r;
}

// Distinct sample values for a mode, with the extremes each mode must keep apart.
std::vector<double> samplesFor(int mode, int count) {
    std::vector<double> v;
    for (int i = 0; i < count; i++) {
        switch (mode) {
            case 0:
                v.push_back(double((i * 37 + 11) % 256));
                break;
            case 1:
            case 3:
                v.push_back(double((i * 4099 + 17) % 65536));
                break;
            default:
                v.push_back((i - 7) * 1.25 + (i % 3) * 0.015625);
        }
    }
    if (mode == 0) v[0] = 255, v[1] = 0;
    if (mode == 1) v[0] = 65535, v[1] = 1, v[2] = 256;  // FF FF is 65535, never -1
    if (mode == 3 || mode == 4) v[0] = 3, v[1] = 4;     // the pair (3, 4)
    return v;
}

// The floats the image must hold, computed from the file values and the mode's rule.
std::vector<float> expectedSamples(int mode, const std::vector<double>& s, int nx, int ny) {
    std::vector<float> out;
    for (size_t i = 0; i < s.size(); i++) {
        if (mode == 0) out.push_back(float(s[i] / 100.0));
        if (mode == 1 || mode == 2) out.push_back(float(s[i]));
        if ((mode == 3 || mode == 4) && i % 2 == 0) {
            double re = mode == 3 ? s[i] : double(float(s[i]));
            double im = mode == 3 ? s[i + 1] : double(float(s[i + 1]));
            out.push_back(float(std::sqrt(re * re + im * im) / nx * ny));  // nx: floats per row
            out.push_back(float(std::atan2(im, re)));
        }
    }
    return out;
}

class MrcModeMatrix : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(MrcModeMatrix, ReadsTheSameImageFromEitherByteOrder) {
    const auto [mode, big] = GetParam();
    const bool complexMode = mode >= 3;
    MrcFile f;
    f.mode = mode;
    f.nx = 5;
    f.ny = 3;
    f.samples = samplesFor(mode, f.nx * f.ny * (complexMode ? 2 : 1));
    const int nx = complexMode ? 2 * f.nx : f.nx;

    Image image;
    image.setFlags(realImagFlag | (complexMode ? 0 : complexFlag));  // other bits are kept
    const ReadResult r = readFile(image, mrcBytes(f, big), "dir.name/matrix.mrc");
    ASSERT_EQ(r.result, 1) << r.printed;
    EXPECT_EQ(r.printed, "");

    EXPECT_EQ(image.getNx(), nx);
    EXPECT_EQ(image.getNy(), 3);
    EXPECT_EQ(image.getNz(), 1);
    EXPECT_EQ(image.getFlags(), realImagFlag | (complexMode ? complexFlag : 0));
    const std::vector<float> want = expectedSamples(mode, f.samples, nx, f.ny);
    ASSERT_EQ(want.size(), size_t(nx * 3));
    for (size_t i = 0; i < want.size(); i++) EXPECT_EQ(image.getData()[i], want[i]) << "sample " << i;
    if (mode == 1) {
        EXPECT_EQ(image.getData()[0], 65535.0f);
    }
    if (mode == 0) {
        EXPECT_EQ(image.getData()[0], 2.55f);
    }

    // The kept header, in host order, with nx doubled and zero cell sizes made 1.
    const MrcHeader* h = image.getMrcHeader();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->nx, nx);
    EXPECT_EQ(h->ny, 3);
    EXPECT_EQ(h->nz, 1);
    EXPECT_EQ(h->mode, mode);
    EXPECT_EQ(h->words7to9[0], 7);
    EXPECT_EQ(h->words7to9[2], 9);
    EXPECT_EQ(h->cellX, 1.0f);
    EXPECT_EQ(h->cellY, 2.5f);
    EXPECT_EQ(h->cellZ, 1.0f);
    EXPECT_EQ(h->cellGamma, 90.0f);
    EXPECT_EQ(h->mapSection, 3);
    EXPECT_EQ(h->dataMin, -1.0f);
    EXPECT_EQ(h->words24to54[0], 24);
    EXPECT_EQ(h->labelCount, 1);
    EXPECT_STREQ(h->labels[0], "written by the test");

    EXPECT_STREQ(image.getName(), "matrix.mrc");
    EXPECT_EQ(std::string(image.getPath()), scratchPath("dir.name/matrix.mrc"));
    EXPECT_EQ(image.getMag(), 30.0f);
    EXPECT_FLOAT_EQ(image.getDeltaX(), 8.333333f);
    EXPECT_EQ(progressMessage(), nullptr);

    // Statistics over the counted samples (amplitudes of a complex image).
    double sum = 0;
    float lowest = INFINITY, highest = -INFINITY;
    const size_t step = complexMode ? 2 : 1;
    for (size_t i = 0; i < want.size(); i += step) {
        sum += want[i];
        lowest = std::min(lowest, want[i]);
        highest = std::max(highest, want[i]);
    }
    EXPECT_NEAR(image.getMeanDouble(), sum / double(want.size() / step), 1e-9 * (1 + std::fabs(sum)));
    EXPECT_EQ(image.getMin(), lowest);
    EXPECT_EQ(image.getMax(), highest);
    EXPECT_NE(image.getGreyLow(), greyUnset);

    // A stream of unknown length (a pipe) gives the same samples.
    Image piped;
    const ReadResult p = readMemory(piped, mrcBytes(f, big), false);
    ASSERT_EQ(p.result, 1) << p.printed;
    for (size_t i = 0; i < want.size(); i++) EXPECT_EQ(piped.getData()[i], want[i]);
}

INSTANTIATE_TEST_SUITE_P(ModesAndByteOrders, MrcModeMatrix,
                         testing::Combine(testing::Range(0, 5), testing::Bool()), [](const auto& param) {
                             return "Mode" + std::to_string(std::get<0>(param.param)) +
                                    (std::get<1>(param.param) ? "BigEndian" : "LittleEndian");
                         });

TEST(ReadMrc, ComplexPairThreeFourBecomesAmplitudeAndPhase) {
    for (int mode : {3, 4}) {
        MrcFile f;
        f.mode = mode;
        f.nx = 3;  // complex values per row: nx becomes 6
        f.ny = 2;
        f.samples.assign(12, 0.0);
        f.samples[0] = 3, f.samples[1] = 4;
        Image image;
        ASSERT_EQ(readFile(image, mrcBytes(f, false)).result, 1);
        EXPECT_EQ(image.getNx(), 6);
        EXPECT_EQ(image.getMrcHeader()->nx, 6);
        EXPECT_EQ(image.isComplex(), 1);
        // 5 / 6 * 2 * 1, not 5 / (6 * 2 * 1).
        EXPECT_FLOAT_EQ(image.getData()[0], 1.6666667f);
        EXPECT_FLOAT_EQ(image.getData()[1], 0.9272952f);
    }
}

TEST(ReadMrc, LittleEndianNxWithTwoZeroLowBytesIsTakenAsBigEndian) {
    MrcFile f;
    f.nx = 65536;  // little-endian bytes 00 00 01 00
    f.ny = 2;
    Image image;
    const ReadResult r = readFile(image, mrcBytes(f, false));
    EXPECT_EQ(r.result, 0);
    // Read big-endian: nx 256, ny 2 << 24 and nz 1 << 24, so the file looks 3-D.
    EXPECT_EQ(r.printed, "This appears to be a 3d file. I only read 2d files.\n");
    EXPECT_EQ(image.getMrcHeader()->nx, 256);
    EXPECT_EQ(image.getMrcHeader()->nz, 1 << 24);
}

TEST(ReadMrc, RefusesFilesItCannotRead) {
    // Some headers can only be written in one byte order: the order is told by the first
    // two bytes, so a little-endian nx with two zero low bytes reads as big-endian and a
    // big-endian negative nx as little-endian.
    enum Orders { both, littleOnly, bigOnly };
    struct Case {
        const char* what;
        int32_t nx, ny, nz, mode;
        bool startSet;
        Orders orders;
        const char* printed;
    };
    const Case cases[] = {
        {"1-D before the mode", 5, 1, 5, 7, false, both,
         "This appears to be a 1d file. I only read 2d files.\n"},
        {"3-D", 5, 3, 2, 2, false, both, "This appears to be a 3d file. I only read 2d files.\n"},
        {"no sections", 5, 3, 0, 2, false, both, "This appears to be a 3d file. I only read 2d files.\n"},
        {"mode 5", 5, 3, 1, 5, false, both, "Bad MRC file\n"},
        {"mode 6", 5, 3, 1, 6, false, both, "Bad MRC file\n"},
        {"mode -1", 5, 3, 1, -1, true, both, "WARNING: nx/y/z start not zero\nBad MRC file\n"},
        {"nx 0", 0, 3, 1, 2, false, bigOnly, "Bad MRC file\n"},
        {"nx negative", -4, 3, 1, 0, true, littleOnly, "WARNING: nx/y/z start not zero\nBad MRC file\n"},
        {"ny 0", 5, 0, 1, 2, false, both, "Bad MRC file\n"},
        {"ny negative", 5, -3, 1, 2, false, both, "Bad MRC file\n"},
        {"over 2^31 - 1 samples", 46341, 46341, 1, 0, false, both, "Bad MRC file\n"},
        {"doubled nx over 2^31 - 1", (1 << 30) + 1, 2, 1, 4, false, littleOnly, "Bad MRC file\n"},
        {"doubled nx times ny over 2^31 - 1", (1 << 29) + 1, 2, 1, 3, false, littleOnly, "Bad MRC file\n"},
    };
    for (const Case& c : cases) {
        for (bool big : {false, true}) {
            if ((c.orders == littleOnly && big) || (c.orders == bigOnly && !big)) continue;
            MrcFile f;
            f.nx = c.nx, f.ny = c.ny, f.nz = c.nz, f.mode = c.mode;
            if (c.startSet) f.start[1] = -12;
            f.samples.assign(64, 1.0);
            Image image;
            const ReadResult r = readFile(image, mrcBytes(f, big));
            EXPECT_EQ(r.result, 0) << c.what;
            EXPECT_EQ(r.printed, c.printed) << c.what << (big ? " big-endian" : " little-endian");
        }
    }
}

TEST(ReadMrc, StartValuesWarnAndReadingGoesOn) {
    MrcFile f;
    f.start[2] = 3;
    f.samples = samplesFor(2, 15);
    Image image;
    const ReadResult r = readFile(image, mrcBytes(f, true));
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.printed, "WARNING: nx/y/z start not zero\n");
    EXPECT_EQ(image.getData()[14], float(f.samples[14]));
}

TEST(ReadMrc, ShortHeaderFailsWithoutMessage) {
    std::vector<uint8_t> bytes = mrcBytes(MrcFile{}, false);
    bytes.resize(1000);
    Image image;
    const ReadResult r = readFile(image, bytes);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.printed, "");
}

TEST(ReadMrc, ModesOneToFourFailOnMissingSamples) {
    for (int mode = 1; mode <= 4; mode++) {
        MrcFile f;
        f.mode = mode;
        f.nx = 4, f.ny = 6;
        f.samples.assign(f.nx * f.ny * (mode >= 3 ? 2 : 1) - 1, 2.0);  // one value short
        Image image;
        ASSERT_EQ(image.resize(3, 2, 1), 1);
        // A regular file: refused before the image is resized.
        ReadResult r = readFile(image, mrcBytes(f, mode % 2 == 0));
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.printed, "Incomplete data read 0/6 blocks\n");
        EXPECT_EQ(image.getNx(), 3) << mode;
        EXPECT_EQ(image.getNy(), 2) << mode;
        // A pipe: the last row comes back short.
        Image piped;
        r = readMemory(piped, mrcBytes(f, false), false);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.printed, "Incomplete data read 0/6 blocks\n");
    }
    // A header declaring a huge image over a few bytes is refused at once.
    MrcFile huge;
    huge.nx = 46340, huge.ny = 46340;
    huge.samples.assign(4, 1.0);
    Image image;
    ASSERT_EQ(image.resize(3, 2, 1), 1);
    const ReadResult r = readFile(image, mrcBytes(huge, false));
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.printed, "Incomplete data read 0/46340 blocks\n");
    EXPECT_EQ(image.getNx() * image.getNy(), 6);
}

TEST(ReadMrc, TruncatedByteFileReadsWithZerosForTheMissingRows) {
    MrcFile f;
    f.mode = 0;
    f.nx = 5, f.ny = 4;
    f.samples = {10, 20, 30, 40, 50, 60, 70};  // one row and two bytes of the next
    for (bool knownLength : {true, false}) {
        Image image;
        const ReadResult r = readMemory(image, mrcBytes(f, false), knownLength);
        EXPECT_EQ(r.result, 1);
        EXPECT_EQ(r.printed,
                  "Incomplete data read 0/4 blocks\nIncomplete data read 0/4 blocks\n"
                  "Incomplete data read 0/4 blocks\n");
        const float want[20] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f};
        for (int i = 0; i < 20; i++) EXPECT_EQ(image.getData()[i], want[i]) << i;
        EXPECT_NEAR(image.getMeanDouble(), (0.1 + 0.2 + 0.3 + 0.4 + 0.5 + 0.6 + 0.7) / 20, 1e-7);
    }
    // Cut short right after the header: one message per row, every sample 0.
    f.samples.clear();
    Image image;
    const ReadResult r = readFile(image, mrcBytes(f, true));
    EXPECT_EQ(r.result, 1);
    std::string four;
    for (int i = 0; i < 4; i++) four += "Incomplete data read 0/4 blocks\n";
    EXPECT_EQ(r.printed, four);
    for (int i = 0; i < 20; i++) EXPECT_EQ(image.getData()[i], 0.0f);
}

TEST(ReadMrc, SkipsExtendedHeadersOnlyWhenTheFileSaysSoOrFitsExactly) {
    struct Case {
        const char* what;
        bool mapTag;
        bool writeExtension;
        int trailing;  // bytes after the samples
        bool knownLength;
        bool skipped;
    };
    const Case cases[] = {
        {"tagged, exact length", true, true, 0, true, true},
        {"tagged, longer file", true, true, 4, true, true},
        {"tagged, pipe", true, true, 0, false, true},
        {"tagged, file too short to hold it", true, false, 0, true, false},
        {"untagged, exact length", false, true, 0, true, true},
        {"untagged, longer file", false, true, 4, true, false},
        {"untagged, pipe", false, true, 0, false, false},
    };
    for (const Case& c : cases) {
        for (bool big : {false, true}) {
            MrcFile f;
            f.nx = 3, f.ny = 2;
            f.nsymbt = 8;
            f.mapTag = c.mapTag;
            f.samples = {1, 2, 3, 4, 5, 6};
            for (int i = 0; i < c.trailing / 4; i++) f.samples.push_back(99);
            std::vector<uint8_t> bytes = mrcBytes(f, big);
            if (c.writeExtension) {
                std::vector<uint8_t> extension;
                putF32(extension, 100.0f, big);
                putF32(extension, 200.0f, big);
                bytes.insert(bytes.begin() + 1024, extension.begin(), extension.end());
            }
            Image image;
            const ReadResult r = readMemory(image, bytes, c.knownLength);
            ASSERT_EQ(r.result, 1) << c.what << r.printed;
            const std::vector<float> want = c.skipped || !c.writeExtension
                                                ? std::vector<float>{1, 2, 3, 4, 5, 6}
                                                : std::vector<float>{100, 200, 1, 2, 3, 4};
            for (int i = 0; i < 6; i++) EXPECT_EQ(image.getData()[i], want[i]) << c.what << " big " << big;
        }
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// Reads path with the address space limited to 1 GiB and exits 0 when the read failed
// with the allocation message.
[[noreturn]] void readWithLimitedMemory(const std::string& path, const std::string& message) {
    const rlimit limit{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &limit);
    Image image;
    int result = -1;
    const std::string printed = captureStdout([&] { result = readMrc(image, path.c_str()); });
    std::exit(result == 0 && printed == message ? 0 : 1);
}

TEST(ReadMrc, ReportsAnImageThatCannotBeAllocated) {
    // A byte-mode header declaring 46000 x 46000 samples (8.5 GB as floats) over an empty
    // file, read in a child process.
    MrcFile f;
    f.mode = 0;
    f.nx = 46000, f.ny = 46000;
    const std::string path = scratchPath("huge.mrc");
    writeBytes(path, mrcBytes(f, false));
    EXPECT_EXIT(readWithLimitedMemory(path, "Not enough memory for a 46000x46000x1 image\n"),
                testing::ExitedWithCode(0), "");
}
#endif

TEST(ReadMrc, KeepsTheImagesHeaderBlockAndOverwritesIt) {
    auto* block = new MrcHeader{};
    block->labelCount = 9;
    Image image;
    image.setMrcHeader(block);
    MrcFile f;
    f.samples = samplesFor(2, 15);
    ASSERT_EQ(readFile(image, mrcBytes(f, false)).result, 1);
    EXPECT_EQ(image.getMrcHeader(), block);
    EXPECT_EQ(block->labelCount, 1);
}

class ReadMrcCompressed : public testing::Test {
  protected:
    void SetUp() override {
        if (!test::haveProgram("zcat") || !test::haveProgram("gzip")) GTEST_SKIP() << "zcat or gzip missing";
        f.mode = 1;
        f.nx = 7, f.ny = 3;
        f.samples = samplesFor(1, 21);
        bytes = mrcBytes(f, true);
    }
    // Writes the file under name in dir and compresses it with program (gzip or compress).
    std::string compressedFile(const std::string& dir, const std::string& name, const std::string& program,
                               const std::string& suffix) {
        const std::string directory = scratchPath(dir);
        std::filesystem::create_directories(directory);
        const std::string plain = directory + "/" + name;
        writeBytes(plain, bytes);
        const std::string tool = std::string("/usr/bin/") + program;
        const test::RunResult run = test::runProgram({tool, "-f", "--", plain});
        EXPECT_EQ(run.status, 0) << run.err;
        return plain + suffix;
    }
    void expectRead(const std::string& path) {
        Image image;
        ReadResult r;
        r.printed = captureStdout([&] { r.result = readMrc(image, path.c_str()); });
        ASSERT_EQ(r.result, 1) << path << r.printed;
        EXPECT_EQ(r.printed, "");
        for (int i = 0; i < 21; i++) EXPECT_EQ(image.getData()[i], float(f.samples[i]));
        EXPECT_EQ(std::string(image.getPath()), path);
    }
    MrcFile f;
    std::vector<uint8_t> bytes;
};

TEST_F(ReadMrcCompressed, ReadsGzipAndCompressFilesThroughZcat) {
    expectRead(compressedFile("gz", "plain.mrc", "gzip", ".gz"));
    if (!test::haveProgram("compress")) GTEST_SKIP() << "compress missing";
    expectRead(compressedFile("z", "plain.mrc", "compress", ".Z"));
}

TEST_F(ReadMrcCompressed, NamesWithShellCharactersAreReadAndRunNothing) {
    const std::string dir = "we ird;dir $(touch made-by-dir)";
    const std::string name = "a b'c\"d;e$(touch made-by-name)`touch made-by-tick`&|>x.mrc";
    const std::string path = compressedFile(dir, name, "gzip", ".gz");
    expectRead(path);
    for (const char* made : {"made-by-dir", "made-by-name", "made-by-tick"}) {
        EXPECT_FALSE(test::fileExists(made)) << made;
        EXPECT_FALSE(test::fileExists(scratchPath(dir) + "/" + made)) << made;
    }
}

TEST_F(ReadMrcCompressed, ANameBeginningWithDashIsNotAnOption) {
    compressedFile("dash", "-name.mrc", "gzip", ".gz");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(scratchPath("dash").c_str()), 0);
    expectRead("-name.mrc.gz");
    ASSERT_EQ(chdir(previous), 0);
}

TEST(ReadMrc, MissingCompressedFileFailsWithoutCannotOpen) {
    if (!test::haveProgram("zcat")) GTEST_SKIP() << "zcat missing";
    for (const char* name : {"/nonexistent/file.mrc.gz", "/nonexistent/file.Z", ".Z", ".gz"}) {
        Image image;
        ReadResult r;
        r.printed = captureStdout([&] { r.result = readMrc(image, name); });
        EXPECT_EQ(r.result, 0) << name;
        EXPECT_EQ(r.printed, "") << name;
    }
}

TEST(ReadMrc, NamesShorterThanTheSuffixAreOpenedAsFiles) {
    for (const char* name : {"", "Z", "z", "gz", "/nonexistent/file.mrc"}) {
        Image image;
        ReadResult r;
        r.printed = captureStdout([&] { r.result = readMrc(image, name); });
        EXPECT_EQ(r.result, 0) << name;
        EXPECT_EQ(r.printed, "Cannot open file\n") << name;
    }
}

TEST(ReadMrc, RefusesACompressedNameTooLongForTheCommand) {
    // "zcat -- " and the name must fit in 800 bytes with the end of the string.
    const std::string fits = "/nonexistent/" + std::string(791 - 16, 'a') + ".gz";
    const std::string tooLong = "/nonexistent/" + std::string(792 - 16, 'a') + ".gz";
    ASSERT_EQ(fits.size(), 791u);
    Image image;
    ReadResult r;
    r.printed = captureStdout([&] { r.result = readMrc(image, tooLong.c_str()); });
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.printed, "File name too long for the decompressor command\n");
    if (!test::haveProgram("zcat")) return;
    r.printed = captureStdout([&] { r.result = readMrc(image, fits.c_str()); });
    EXPECT_EQ(r.printed, "");  // passed on to zcat, which finds no file
}

int openDescriptors() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (readdir(dir) != nullptr) count++;
    closedir(dir);
    return count;
}

TEST(ReadMrc, ClosesItsStreamOnEveryFailure) {
    std::vector<std::vector<uint8_t>> files;
    MrcFile f;
    f.ny = 1;
    files.push_back(mrcBytes(f, false));  // 1-D
    f.ny = 3, f.nz = 4;
    files.push_back(mrcBytes(f, false));  // 3-D
    f.nz = 1, f.mode = 9;
    files.push_back(mrcBytes(f, false));  // bad mode
    f.mode = 2;
    files.push_back(mrcBytes(f, false));            // no samples
    files.push_back(std::vector<uint8_t>(100, 1));  // short header
    const bool withZcat = test::haveProgram("zcat") && test::haveProgram("gzip");
    const int before = openDescriptors();
    for (size_t i = 0; i < files.size(); i++) {
        Image image;
        EXPECT_EQ(readFile(image, files[i], "failing.mrc").result, 0);
        if (!withZcat) continue;
        const std::string path = scratchPath("failing.mrc");
        test::runProgram({"/usr/bin/gzip", "-f", "--", path});
        ReadResult r;
        r.printed = captureStdout([&] { r.result = readMrc(image, (path + ".gz").c_str()); });
        EXPECT_EQ(r.result, 0);
    }
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace tarnview
