// The converted-image reader against inputs that arrive late or never end: a FIFO whose
// writer comes after the read began, and converters (shell shims on PATH) that never end,
// write without end or linger after their picture.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "formats/convertedReader.h"
#include "formats/convertedReaderBounds.h"
#include "image/Image.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

// PATH starts with a scratch directory of shims for the life of the object.
class Shims {
  public:
    Shims() : saved(std::getenv("PATH")), dir(scratchPath("boundShims")) {
        std::filesystem::create_directories(dir);
        setenv("PATH", (dir + ":" + saved).c_str(), 1);
    }
    ~Shims() { setenv("PATH", saved.c_str(), 1); }
    void shim(const std::string& name, const std::string& body) {
        test::writeText(dir + "/" + name, "#!/bin/sh\n" + body + "\n");
        chmod((dir + "/" + name).c_str(), 0755);
    }

  private:
    std::string saved;
    std::string dir;
};

struct Outcome {
    int result;
    std::string printed;
    double seconds;
};

Outcome readWithin(const std::string& path, RunBounds bounds) {
    Image image;
    Outcome o{};
    const auto start = std::chrono::steady_clock::now();
    o.printed = captureStdout([&] { o.result = readConvertedWithin(image, path.c_str(), bounds); });
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return o;
}

// No program started by the reader is left running or unreaped.
void expectNoChildren() {
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// A picture that is not a raw PGM, so that its converter runs.
std::string notPgm(const std::string& name) {
    const std::string path = scratchPath(name);
    test::writeText(path, "P6\n1 1\n255\nabc");
    return path;
}

TEST(ReadConvertedBounds, FifoWithALateWriterIsRead) {
    const std::string path = scratchPath("late.pgm");
    unlink(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int fd = open(path.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(write(fd, "P5\n2 1\n255\n\x33\xff", 13), 13);
        close(fd);
    });
    Image image;
    int result = 0;
    EXPECT_EQ(captureStdout([&] { result = readConverted(image, path.c_str()); }), "div=255.000000\n");
    writer.join();
    ASSERT_EQ(result, 1);
    ASSERT_EQ(image.getNx(), 2);
    EXPECT_FLOAT_EQ(image.getPixel(0, 0), 51.0f / 255.0f);
    EXPECT_EQ(image.getPixel(1, 0), 1.0f);
}

// Alone (ppmtopgm) and as a pipeline (giftoppm | ppmtopgm): both programs are killed.
TEST(ReadConvertedBounds, ConverterThatNeverEndsIsStoppedAtTheTimeBound) {
    Shims shims;
    shims.shim("ppmtopgm", "exec sleep 30");
    shims.shim("giftoppm", "exec sleep 30");
    for (const char* name : {"never.ppm", "never.gif"}) {
        const Outcome o = readWithin(notPgm(name), {300, 1 << 20});
        EXPECT_EQ(o.result, 0);
        const std::string program = std::string(name).ends_with(".ppm") ? "ppmtopgm" : "giftoppm";
        EXPECT_EQ(o.printed, "The converter " + program + " was stopped after 0.3 s\n");
        EXPECT_LT(o.seconds, 10);
        expectNoChildren();
    }
}

TEST(ReadConvertedBounds, ConverterWritingBeyondTheOutputBoundIsStopped) {
    Shims shims;
    shims.shim("ppmtopgm", "printf 'P5\\n64 64\\n255\\n'; exec cat /dev/zero");
    const Outcome o = readWithin(notPgm("endless.ppm"), {20000, 1000});
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.printed, "The converter ppmtopgm was stopped: its output is larger than 1000 bytes\n");
    expectNoChildren();
}

// A converter that keeps running after its picture is ended when the time is up; the
// picture stands.
TEST(ReadConvertedBounds, ConverterLingeringAfterItsPictureIsEnded) {
    Shims shims;
    shims.shim("ppmtopgm", "printf 'P5\\n2 1\\n255\\n\\063\\377'; exec sleep 30");
    const Outcome o = readWithin(notPgm("linger.ppm"), {300, 1 << 20});
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.printed, "div=255.000000\n");
    EXPECT_LT(o.seconds, 10);
    expectNoChildren();
    EXPECT_EQ(converterBounds.milliseconds, 60000);
}

}  // namespace
}  // namespace tarnview
