#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "formats/CommandPipe.h"

namespace tarnview {
namespace {

std::string drain(CommandPipe& pipe) {
    std::string out;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.stream)) > 0) out.append(buffer, n);
    return out;
}

// No child of this process is left unwaited for.
bool noChildLeft() {
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(CommandPipeline, SecondProgramReadsTheFirstsOutputAndArgumentsStayWhole) {
    const char* const first[] = {"printf", "%s", "$(no) `shell`; 'here' *", nullptr};
    const char* const second[] = {"tr", "a-z", "A-Z", nullptr};
    CommandPipe pipe = openCommandPipeline(first, second);
    ASSERT_NE(pipe.stream, nullptr);
    EXPECT_EQ(drain(pipe), "$(NO) `SHELL`; 'HERE' *");
    EXPECT_EQ(closeCommandPipe(pipe), 1);
    EXPECT_TRUE(noChildLeft());
}

TEST(CommandPipeline, StandardInputIsEmpty) {
    // cat alone would otherwise wait on this process's own standard input.
    const char* const cat[] = {"cat", nullptr};
    CommandPipe pipe = openCommandPipe(cat);
    ASSERT_NE(pipe.stream, nullptr);
    EXPECT_EQ(drain(pipe), "");
    EXPECT_EQ(closeCommandPipe(pipe), 1);
}

TEST(CommandPipeline, AProgramThatCannotStartLeavesNoneRunning) {
    const char* const missing[] = {"no-such-program-here", nullptr};
    const char* const cat[] = {"cat", nullptr};
    const char* const endless[] = {"yes", nullptr};
    CommandPipe pipe = openCommandPipeline(missing, cat);
    EXPECT_EQ(pipe.stream, nullptr);
    pipe = openCommandPipeline(endless, missing);
    EXPECT_EQ(pipe.stream, nullptr);
    EXPECT_TRUE(noChildLeft());
}

TEST(CommandPipeline, FailureOfEitherProgramIsReportedAtClose) {
    const char* const fails[] = {"false", nullptr};
    const char* const cat[] = {"cat", nullptr};
    CommandPipe pipe = openCommandPipeline(fails, cat);
    ASSERT_NE(pipe.stream, nullptr);
    EXPECT_EQ(drain(pipe), "");
    EXPECT_EQ(closeCommandPipe(pipe), 0);
    // A reader that stops early ends an endless writer through the closed pipe.
    const char* const endless[] = {"yes", nullptr};
    pipe = openCommandPipeline(endless, cat);
    ASSERT_NE(pipe.stream, nullptr);
    char two[2];
    EXPECT_EQ(std::fread(two, 1, 2, pipe.stream), 2u);
    closeCommandPipe(pipe);
    EXPECT_TRUE(noChildLeft());
}

}  // namespace
}  // namespace tarnview
