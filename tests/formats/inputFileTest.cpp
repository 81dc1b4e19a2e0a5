#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "formats/InputFile.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

// Opens path for writing after a delay (the open itself waits for the reader) and writes
// text, then closes it.
std::thread lateWriter(const std::string& path, int milliseconds, const std::string& text) {
    return std::thread([=] {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        const int fd = open(path.c_str(), O_WRONLY);
        if (fd < 0) return;
        if (!text.empty()) {
            EXPECT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
        }
        close(fd);
    });
}

std::string fifo(const char* name) {
    const std::string path = test::scratchPath(name);
    unlink(path.c_str());
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path;
}

// A plain open would wait for a writer for ever; a first read without waiting would see
// no writer and an empty stream.
TEST(InputFile, FifoWaitsBoundedForItsFirstDataOrItsWritersEnd) {
    const std::string path = fifo("late.fifo");
    for (bool buffered : {true, false}) {
        std::thread writer = lateWriter(path, 200, "abc");
        InputFile file(path.c_str(), buffered);
        ASSERT_TRUE(file);
        char text[4] = {};
        EXPECT_EQ(std::fread(text, 1, 4, file.get()), 3u);
        EXPECT_STREQ(text, "abc");
        writer.join();
    }
    std::thread closer = lateWriter(path, 100, "");
    InputFile empty(path.c_str());
    ASSERT_TRUE(empty);
    EXPECT_EQ(std::fgetc(empty.get()), EOF);
    closer.join();
    InputFile nobody;
    const std::string out = test::captureStdout([&] { EXPECT_EQ(nobody.open(path.c_str(), true, 150), 0); });
    EXPECT_EQ(out, "Nothing was written to " + path + " within 0.15 s\n");
    EXPECT_TRUE(nobody.failureReported());
    EXPECT_FALSE(nobody);
}

TEST(InputFile, ReadsRegularFilesAndRefusesMissingOnes) {
    const std::string path = test::scratchPath("plain.bin");
    test::writeText(path, "abc");
    InputFile file(path.c_str());
    ASSERT_TRUE(file);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 4, file.get()), 3u);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(file.open(test::scratchPath("missing.bin").c_str()), 0);
    EXPECT_FALSE(file);
    EXPECT_FALSE(file.failureReported());
}

}  // namespace
}  // namespace tarnview
