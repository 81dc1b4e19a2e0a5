// The converter on inputs made to be malicious. Every case must end with a message and
// the converter's exit status (0 or 1): never a signal, a hang (each run has a time
// limit), an allocation beyond the memory limit, output on standard error (where the
// sanitizers report) or a file made by an injected command.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "limitedRun.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview::test {
namespace {

namespace fs = std::filesystem;

// A fresh directory for one test, named after it.
std::string testDirectory() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string dir =
        scratchPath(std::string("hostile-") + info->test_suite_name() + "-" + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Standard error without the lines the sanitizer runtime itself writes when it refuses an
// allocation above the run's limit (it returns null, which the converter then reports on
// standard output like any allocation failure).
std::string converterErrors(const std::string& err) {
    if (!sanitizedBuild()) return err;
    std::string kept;
    size_t start = 0;
    while (start < err.size()) {
        size_t end = err.find('\n', start);
        end = end == std::string::npos ? err.size() : end + 1;
        const std::string line = err.substr(start, end - start);
        if (line.find("WARNING: AddressSanitizer failed to allocate") == std::string::npos) kept += line;
        start = end;
    }
    return kept;
}

void expectHandled(const LimitedRun& run, int status, const std::string& message) {
    EXPECT_FALSE(run.timedOut) << "hung";
    EXPECT_EQ(run.signal, 0) << "ended by a signal";
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(converterErrors(run.err), "");
    EXPECT_NE(run.out.find(message), std::string::npos) << run.out.substr(0, 600);
}

// The mode's bytes per stored value.
int valueBytes(int mode) {
    return mode == 0 ? 1 : mode == 1 || mode == 3 ? 2 : 4;
}

// An nx x ny MRC file of the mode, nx counting complex values in modes 3 and 4.
std::vector<uint8_t> smallMrc(int nx, int ny, int mode, bool bigEndian) {
    const int perValue = mode >= 3 ? 2 : 1;
    std::vector<double> values(size_t(nx) * ny * perValue);
    for (size_t i = 0; i < values.size(); i++) values[i] = double(i % 200);
    return mrcFile(nx, ny, 1, mode, bigEndian, values);
}

// Overwrites the 32-bit word w of an MRC or IMAGIC header.
void setWord(std::vector<uint8_t>& bytes, int w, int32_t value, bool bigEndian) {
    std::vector<uint8_t> word;
    putU32(word, uint32_t(value), bigEndian);
    std::memcpy(bytes.data() + 4 * w, word.data(), 4);
}

// Writes bytes into a FIFO from another thread: it opens the FIFO before the converter
// runs (so that the converter finds a writer there), writes all the bytes and then, when
// endless, zero bytes until the reader goes away or the time is up.
class FifoFeeder {
  public:
    FifoFeeder(const std::string& fifo, std::vector<uint8_t> bytes, bool endless, double seconds)
        : path(fifo), thread([=, this] { feed(bytes, endless, seconds); }) {}
    ~FifoFeeder() {
        // A writer still waiting for a reader is released by one that leaves at once.
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
        thread.join();
    }

  private:
    void feed(const std::vector<uint8_t>& bytes, bool endless, double seconds) {
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);  // a gone reader gives EPIPE
        const int fd = open(path.c_str(), O_WRONLY);       // waits for a reader
        if (fd < 0) return;
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        const std::vector<uint8_t> zeros(65536, 0);
        size_t done = 0;
        while (std::chrono::steady_clock::now() < deadline && (done < bytes.size() || endless)) {
            pollfd out = {fd, POLLOUT, 0};
            if (poll(&out, 1, 100) <= 0) continue;
            const bool fromBytes = done < bytes.size();
            const ssize_t n = fromBytes ? write(fd, bytes.data() + done, bytes.size() - done)
                                        : write(fd, zeros.data(), zeros.size());
            if (n < 0 && errno != EAGAIN) break;
            if (n > 0 && fromBytes) done += size_t(n);
        }
        close(fd);
    }
    std::string path;
    std::thread thread;
};

TEST(HostileMrc, TruncatedAtManyOffsetsFailsOrZeroFills) {
    const std::string dir = testDirectory();
    for (int mode = 0; mode <= 4; mode++)
        for (bool bigEndian : {false, true}) {
            const std::vector<uint8_t> whole = smallMrc(8, 6, mode, bigEndian);
            const size_t rowBytes = size_t(8 * valueBytes(mode) * (mode >= 3 ? 2 : 1));
            for (size_t cut :
                 {size_t(0), size_t(1), size_t(4), size_t(511), size_t(1023), size_t(1024), size_t(1025),
                  1024 + rowBytes - 1, 1024 + rowBytes, 1024 + 3 * rowBytes + 1, whole.size() - 1}) {
                SCOPED_TRACE("mode " + std::to_string(mode) + (bigEndian ? " big" : " little") + " cut at " +
                             std::to_string(cut));
                writeBytes(dir + "/cut.mrc", std::vector<uint8_t>(whole.begin(), whole.begin() + long(cut)));
                const LimitedRun run = runTarnview({"-mrc", "cut.mrc", "out.pgm"}, dir);
                if (cut < 1024)
                    expectHandled(run, 1, "Cannot read cut.mrc as a MRC file.\n");
                else if (mode == 0)
                    expectHandled(run, 0, "Incomplete data read 0/6 blocks\n");
                else
                    expectHandled(run, 1,
                                  "Incomplete data read 0/6 blocks\nCannot read cut.mrc as a MRC file.\n");
            }
        }
}

TEST(HostileMrc, DegenerateAndOverflowingSizesAreRefused) {
    const std::string dir = testDirectory();
    struct Case {
        int nx, ny, nz, mode;
        const char* message;
    };
    const Case cases[] = {
        {0, 5, 1, 2, "Bad MRC file\n"},
        {5, 0, 1, 2, "Bad MRC file\n"},
        {-1, 5, 1, 2, "Bad MRC file\n"},
        {5, -3, 1, 0, "Bad MRC file\n"},
        {-65535, 5, 1, 1, "Bad MRC file\n"},
        {5, 1, 1, 2, "This appears to be a 1d file. I only read 2d files.\n"},
        {5, 5, 0, 2, "This appears to be a 3d file. I only read 2d files.\n"},
        {5, 5, -1, 2, "This appears to be a 3d file. I only read 2d files.\n"},
        {5, 5, INT_MAX, 2, "This appears to be a 3d file. I only read 2d files.\n"},
        {INT_MAX, 2, 1, 2, "Bad MRC file\n"},        // 2^32 samples
        {46341, 46341, 1, 0, "Bad MRC file\n"},      // just beyond 2^31 samples
        {65537, 65537, 1, 2, "Bad MRC file\n"},      // beyond 2^32
        {INT_MAX, INT_MAX, 1, 4, "Bad MRC file\n"},  // doubled nx beyond 32 bits, bytes beyond 64
        {(1 << 30) + 1, 8, 1, 3, "Bad MRC file\n"},  // doubled nx beyond 2^31
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nx) + " x " + std::to_string(c.ny) + " x " + std::to_string(c.nz) +
                     " mode " + std::to_string(c.mode));
        // Little-endian, but for nx = 0, which only big-endian bytes can give.
        writeBytes(dir + "/size.mrc", mrcFile(c.nx, c.ny, c.nz, c.mode, c.nx == 0, {1, 2, 3, 4}));
        expectHandled(runTarnview({"-mrc", "size.mrc", "out.pgm"}, dir), 1, c.message);
    }
    // A single column is an image.
    writeBytes(dir + "/column.mrc", mrcFile(1, 5, 1, 2, false, {1, 2, 3, 4, 5}));
    expectHandled(runTarnview({"-mrc", "-v", "column.mrc", "out.pgm"}, dir), 0, "This image is 1 x 5\n");
}

TEST(HostileMrc, ModesOutOfRangeAreRefused) {
    const std::string dir = testDirectory();
    for (int mode : {5, 6, -1, 16, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(mode);
        writeBytes(dir + "/mode.mrc", mrcFile(4, 4, 1, mode, false, std::vector<double>(16, 1.0)));
        expectHandled(runTarnview({"-mrc", "mode.mrc", "out.pgm"}, dir), 1, "Bad MRC file\n");
    }
}

// An extended header larger than the file is not skipped: the samples follow the header.
TEST(HostileMrc, ExtendedHeaderBeyondTheFileIsIgnored) {
    const std::string dir = testDirectory();
    for (int32_t extension : {INT_MAX, INT_MIN, -1, 1 << 30}) {
        SCOPED_TRACE(extension);
        std::vector<uint8_t> bytes = smallMrc(8, 8, 2, false);
        setWord(bytes, 23, extension, false);
        std::memcpy(bytes.data() + 208, "MAP ", 4);
        writeBytes(dir + "/ext.mrc", bytes);
        expectHandled(runTarnview({"-mrc", "-v", "ext.mrc", "out.pgm"}, dir), 0, "This image is 8 x 8\n");
    }
}

TEST(HostileMrc, NanAndInfiniteSamplesConvert) {
    const std::string dir = testDirectory();
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> images = {
        {nan, 1, 2, 3, inf, -inf, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
        std::vector<double>(16, nan),
        std::vector<double>(16, inf),
        {inf, -inf, inf, -inf, inf, -inf, inf, -inf, inf, -inf, inf, -inf, inf, -inf, inf, -inf},
        {3e38, -3e38, 3e38, -3e38, 3e38, -3e38, 3e38, -3e38, 1, 2, 3, 4, 5, 6, 7, 8},
    };
    const std::vector<std::vector<std::string>> options = {
        {"-v"}, {"-fft", "-v"}, {"-min", "nan", "-max", "inf"}, {"-min", "-inf"}, {"-max", "1e39"}};
    int index = 0;
    for (const auto& values : images) {
        for (int mode : {2, 4}) {
            const int nx = mode == 4 ? 2 : 4;
            writeBytes(dir + "/odd.mrc", mrcFile(nx, 4, 1, mode, false, values));
            for (const auto& extra : options) {
                SCOPED_TRACE("image " + std::to_string(index) + " mode " + std::to_string(mode) + " " +
                             extra[0]);
                std::vector<std::string> args = {"-mrc"};
                args.insert(args.end(), extra.begin(), extra.end());
                args.insert(args.end(), {"odd.mrc", "out.pgm"});
                const LimitedRun run = runTarnview(args, dir);
                EXPECT_FALSE(run.timedOut);
                EXPECT_EQ(run.signal, 0);
                EXPECT_EQ(run.err, "");
                // A complex image has no -fft: "Cannot do FFT of FFT".
                EXPECT_EQ(run.status, mode == 4 && extra[0] == "-fft" ? 1 : 0) << run.out;
            }
        }
        index++;
    }
}

// Resident pages of this process, from /proc/self/statm.
long residentPages() {
    long size = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident;
}

// Whether reading memory that was never written maps the kernel's shared zero page (so
// it costs nothing) rather than fresh pages, as on kernels booted without it.
bool readingUntouchedMemoryIsFree() {
    const size_t bytes = size_t(64) << 20;
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return false;
    const long before = residentPages();
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 4096) sum += static_cast<volatile unsigned char*>(p)[i];
    const long grown = residentPages() - before;
    munmap(p, bytes);
    return sum == 0 && grown * 4096 < long(bytes / 4);
}

// A byte image declared far larger than its data is a success with zero fill; the rows
// that never arrive cost no memory but the pages the statistics and the rendering read,
// and an image beyond the memory limit is refused.
TEST(HostileMrc, LargeDeclaredByteImageWithoutDataIsBounded) {
    const std::string dir = testDirectory();
    writeBytes(dir + "/huge.mrc", mrcFile(32768, 32768, 1, 0, false, {}));
    writeBytes(dir + "/large.mrc", mrcFile(8192, 8192, 1, 0, false, {}));

    Limits tight;  // 1 GiB: the 4 GiB of floats of the first cannot be had, the second fits
    expectHandled(runTarnview({"-mrc", "huge.mrc", "/dev/null"}, dir, tight), 1,
                  "Not enough memory for a 32768x32768x1 image\n");
    tight.seconds = sanitizedBuild() ? 120 : 30;
    expectHandled(runTarnview({"-mrc", "-v", "large.mrc", "/dev/null"}, dir, tight), 0,
                  "This image is 8192 x 8192\n");

    // Without the zero page, reading the zeros commits them: 4 GiB, too much to check.
    if (!readingUntouchedMemoryIsFree()) return;
    Limits roomy;
    roomy.addressSpaceMb = 6144;
    roomy.allocationMb = 6144;
    roomy.rssMb = 768;
    roomy.seconds = sanitizedBuild() ? 300 : 60;
    const LimitedRun run = runTarnview({"-mrc", "-v", "huge.mrc", "/dev/null"}, dir, roomy);
    expectHandled(run, 0, "This image is 32768 x 32768\n");
    EXPECT_LT(run.peakRssMb, 768);
}

TEST(HostileImagic, HugeAndNegativeRecordCounts) {
    const std::string dir = testDirectory();
    writeImagicStack(dir + "/stack", 4, 3, {std::vector<double>(12, 1.5)}, false, false);
    std::vector<uint8_t> header = readBytes(dir + "/stack.hed");
    for (int32_t following : {INT_MAX, INT_MAX - 1, 1000000, -1, -5, INT_MIN}) {
        SCOPED_TRACE(following);
        setWord(header, 1, following, false);
        writeBytes(dir + "/stack.hed", header);
        const LimitedRun run = runTarnview({"-imagic", "stack.hed", "out.pgm"}, dir);
        if (following >= 0)
            expectHandled(run, 0, "");
        else
            expectHandled(run, 1, "Cannot read stack.hed as an IMAGIC file.\n");
    }
}

TEST(HostileImagic, BadSizesAndShortFilesAreRefused) {
    const std::string dir = testDirectory();
    writeImagicStack(dir + "/stack", 4, 3, {std::vector<double>(12, 2.0)}, true, true);
    const std::vector<uint8_t> header = readBytes(dir + "/stack.hed");
    const std::vector<uint8_t> data = readBytes(dir + "/stack.img");
    struct Case {
        int32_t lines, pixels;
        const char* message;
    };
    const Case cases[] = {
        {0, 4, "Bad image size 4x0x1\n"},
        {3, -4, "Bad image size -4x3x1\n"},
        {INT_MIN, INT_MIN, "Bad image size"},
        {INT_MAX, 2, "Bad image size"},
        {65536, 65536, "Bad image size"},
        {30000, 30000, "Incomplete data read"},  // 1.8 GB declared, 24 bytes there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " x " + std::to_string(c.pixels));
        std::vector<uint8_t> bad = header;
        setWord(bad, 12, c.lines, true);
        setWord(bad, 13, c.pixels, true);
        writeBytes(dir + "/stack.hed", bad);
        expectHandled(runTarnview({"-imagic", "stack.hed", "out.pgm"}, dir), 1, c.message);
    }
    writeBytes(dir + "/stack.hed", header);
    for (size_t cut : {size_t(0), size_t(1), data.size() / 2, data.size() - 1}) {
        SCOPED_TRACE(cut);
        writeBytes(dir + "/stack.img", std::vector<uint8_t>(data.begin(), data.begin() + long(cut)));
        expectHandled(runTarnview({"-imagic", "stack.img", "out.pgm"}, dir), 1, "Incomplete data read");
    }
    writeBytes(dir + "/stack.img", data);
    for (size_t cut : {size_t(0), size_t(13), size_t(57), size_t(1023)}) {
        SCOPED_TRACE(cut);
        writeBytes(dir + "/stack.hed", std::vector<uint8_t>(header.begin(), header.begin() + long(cut)));
        expectHandled(runTarnview({"-imagic", "stack", "out.pgm"}, dir), 1,
                      "Cannot read stack as an IMAGIC file.\n");
    }
}

TEST(HostileSal, UnusableHeaderValuesAreRefused) {
    const std::string dir = testDirectory();
    const std::string cases[] = {
        " NXP = 8\n NYP = 4\n FILE REC = 0\n",
        " NXP = 8\n NYP = 4\n FILE REC = -512\n",
        " NXP = 0\n NYP = 4\n",
        " NXP = -1\n NYP = 4\n",
        " NXP = 8\n NYP = -2147483648\n",
        " NXP = 2147483647\n NYP = 2\n",
        " NXP = 65536\n NYP = 65536\n",
        " NXP = 99999999999\n NYP = 4\n",
        " NXP = 1073741824\n NYP = 1\n FILE REC = 2147483647\n",  // block length beyond an int
        " NXP = 8\n",
        "",
    };
    writeBytes(dir + "/scan.img", std::vector<uint8_t>(4096, 7));
    for (const std::string& header : cases) {
        SCOPED_TRACE(header);
        writeText(dir + "/scan.hdr", header);
        expectHandled(runTarnview({"-sal", "scan.hdr", "out.pgm"}, dir), 1, "Problem reading header.");
    }
    // A valid size whose data the file cannot hold.
    writeText(dir + "/scan.hdr", " NXP = 1000000\n NYP = 1000\n FILE REC = 2147483647\n");
    expectHandled(runTarnview({"-sal", "scan.hdr", "out.pgm"}, dir), 1,
                  "Incomplete data read 0/1000 blocks\n");
}

TEST(HostileSal, EndlessHeaderStreamsAreCut) {
    const std::string dir = testDirectory();
    writeBytes(dir + "/scan.img", std::vector<uint8_t>(4096, 7));
    fs::create_symlink("/dev/zero", dir + "/scan.hdr");
    expectHandled(runTarnview({"-sal", "scan.hdr", "out.pgm"}, dir), 1, "Problem reading header.");

    // A FIFO streaming a size, then NUL bytes without end.
    fs::remove(dir + "/scan.hdr");
    ASSERT_EQ(mkfifo((dir + "/scan.hdr").c_str(), 0600), 0);
    const std::string size = " NXP = 8\n NYP = 4\n";
    FifoFeeder feeder(dir + "/scan.hdr", std::vector<uint8_t>(size.begin(), size.end()), true, 20);
    expectHandled(runTarnview({"-sal", "scan.hdr", "out.pgm"}, dir), 1, "Problem reading header.");
}

TEST(HostileSal, UnreadableUpperCaseHeaderFallsBackToLowerCase) {
    if (geteuid() == 0) GTEST_SKIP() << "read permission is not enforced for root";
    const std::string dir = testDirectory();
    writeSalScan(dir + "/scan", 4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    writeText(dir + "/scan.HDR", " NXP = 4\n NYP = 2\n");
    chmod((dir + "/scan.HDR").c_str(), 0);
    expectHandled(runTarnview({"-sal", "scan", "out.pgm"}, dir), 0, "scan.hdr is 4x2\n");
    // Neither header readable.
    chmod((dir + "/scan.hdr").c_str(), 0);
    expectHandled(runTarnview({"-sal", "scan", "out.pgm"}, dir), 1, "Cannot open scan.hdr\n");
}

// Each reader given a directory, a FIFO nobody writes to, a FIFO that delivers a valid
// file, and /dev/zero, as its input or as the second file of a pair.
TEST(HostilePaths, DirectoriesFifosAndDevicesAsInput) {
    const std::string dir = testDirectory();
    writeBytes(dir + "/image.mrc", smallMrc(8, 8, 2, false));
    writeSalScan(dir + "/scan", 4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    writeImagicStack(dir + "/stack", 4, 3, {std::vector<double>(12, 1.0)}, false, false);
    struct Case {
        const char* type;
        const char* input;
        const char* replaced;  // the file made special
        int status;
    };
    const Case cases[] = {
        {"-mrc", "x.mrc", "x.mrc", 1},        {"-mrc", "x.mrc.gz", "x.mrc.gz", 1},
        {"-sal", "scan", "scan.hdr", 1},      {"-sal", "scan", "scan.img", 1},
        {"-imagic", "stack", "stack.hed", 1}, {"-imagic", "stack", "stack.img", 1},
    };
    const std::string saved = dir + "/saved";
    for (const Case& c : cases)
        for (const char* kind : {"directory", "fifo", "zero"}) {
            SCOPED_TRACE(std::string(c.type) + " " + c.replaced + " as " + kind);
            const std::string special = dir + "/" + c.replaced;
            if (fs::exists(special)) fs::rename(special, saved);
            if (std::strcmp(kind, "directory") == 0) fs::create_directory(special);
            if (std::strcmp(kind, "fifo") == 0) {
                ASSERT_EQ(mkfifo(special.c_str(), 0600), 0);
            }
            if (std::strcmp(kind, "zero") == 0) fs::create_symlink("/dev/zero", special);
            const LimitedRun run = runTarnview({c.type, c.input, "out.pgm"}, dir);
            EXPECT_FALSE(run.timedOut);
            EXPECT_EQ(run.signal, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.status, c.status) << run.out;
            EXPECT_NE(run.out.find("Cannot read"), std::string::npos) << run.out;
            fs::remove_all(special);
            if (fs::exists(saved)) fs::rename(saved, special);
        }
}

TEST(HostilePaths, FifoDeliveringAFileIsReadAsAStream) {
    const std::string dir = testDirectory();
    ASSERT_EQ(mkfifo((dir + "/piped.mrc").c_str(), 0600), 0);
    FifoFeeder feeder(dir + "/piped.mrc", smallMrc(8, 8, 1, true), false, 20);
    expectHandled(runTarnview({"-mrc", "-v", "piped.mrc", "out.pgm"}, dir), 0, "This image is 8 x 8\n");
}

// Names of existing compressed files that a shell would take apart: the decompressor
// must get each as one argument, and no command hidden in it may run.
TEST(HostilePaths, CompressedNamesWithShellCharactersRunNoCommand) {
    const std::string gzip = fs::exists("/usr/bin/gzip") ? "/usr/bin/gzip" : "/bin/gzip";
    if (!fs::exists(gzip) || !haveProgram("zcat")) GTEST_SKIP() << "gzip and zcat are needed";
    const std::string dir = testDirectory();
    writeBytes(dir + "/plain.mrc", smallMrc(8, 8, 2, false));
    const RunResult packed = runProgram({gzip, "-c", dir + "/plain.mrc"});
    ASSERT_EQ(packed.status, 0);
    const std::vector<uint8_t> bytes(packed.out.begin(), packed.out.end());
    const std::string names[] = {
        "a;touch INJECTED;.mrc.gz",
        "$(touch INJECTED).mrc.gz",
        "`touch INJECTED`.mrc.gz",
        "q'u\"ote.mrc.gz",
        "sp ace && touch INJECTED.gz",
        "x|touch INJECTED.Z",
        "new\nline.mrc.gz",
        "*.gz",
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        writeBytes(dir + "/" + name, bytes);
        expectHandled(runTarnview({"-mrc", "-v", name, "out.pgm"}, dir), 0, "This image is 8 x 8\n");
        EXPECT_FALSE(fs::exists(dir + "/INJECTED"));
        fs::remove(dir + "/" + name);
    }
    // A leading "-" makes an option, never an input; the output may begin with one.
    writeBytes(dir + "/-n.mrc.gz", bytes);
    expectHandled(runTarnview({"-mrc", "-n.mrc.gz", "out.pgm"}, dir), 1, "Converts MRC");
    expectHandled(runTarnview({"-mrc", "./-n.mrc.gz", "-out.pgm"}, dir), 0, "");
    EXPECT_TRUE(fs::exists(dir + "/-out.pgm"));
}

TEST(HostilePaths, PathsLongerThan800Bytes) {
    const std::string dir = testDirectory();
    // No "." in the directories: the ScansALot and IMAGIC names are cut at the last one.
    std::string deep = std::string(200, 'a');
    for (int i = 1; i < 5; i++) deep += "/" + std::string(200, char('a' + i));
    fs::create_directories(dir + "/" + deep);
    ASSERT_GT(deep.size(), 800u);
    writeBytes(dir + "/" + deep + "/image.mrc", smallMrc(8, 8, 2, false));
    writeSalScan(dir + "/" + deep + "/scan", 4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    writeImagicStack(dir + "/" + deep + "/stack", 4, 3, {std::vector<double>(12, 1.0)}, false, false);
    expectHandled(runTarnview({"-mrc", deep + "/image.mrc", deep + "/out.pgm"}, dir), 0, "");
    expectHandled(runTarnview({"-sal", deep + "/scan", "out.pgm"}, dir), 0, "is 4x2\n");
    expectHandled(runTarnview({"-imagic", deep + "/stack", "out.pgm"}, dir), 0, "");
    expectHandled(runTarnview({"-mrc", deep + "/image.mrc.gz", "out.pgm"}, dir), 1,
                  "File name too long for the decompressor command\n");
    // Beyond the system's limit on a path.
    std::string tooLong = deep;
    while (tooLong.size() < 5000) tooLong += "/" + std::string(200, 'z');
    expectHandled(runTarnview({"-mrc", tooLong + "/image.mrc", "out.pgm"}, dir), 1, "Cannot open file\n");
    expectHandled(runTarnview({"-sal", tooLong + "/scan", "out.pgm"}, dir), 1, "Cannot open");
    expectHandled(runTarnview({"-imagic", tooLong + "/stack", "out.pgm"}, dir), 1, "ERROR: cannot open");
}

TEST(HostilePaths, OutputThatCannotBeWritten) {
    const std::string dir = testDirectory();
    writeBytes(dir + "/image.mrc", smallMrc(8, 8, 2, false));
    fs::create_directory(dir + "/adir");
    for (const char* output : {"missing/dir/out.pgm", "adir", ""}) {
        SCOPED_TRACE(output);
        expectHandled(runTarnview({"-mrc", "image.mrc", output}, dir), 0, "Cannot open file for writing\n");
    }
}

}  // namespace
}  // namespace tarnview::test
