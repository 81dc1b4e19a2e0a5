#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "formats/InputFile.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

TEST(InputFile, FifoWithoutAWriterOpensAsAnEmptyStream) {
    // A plain open would wait for a writer for ever.
    const std::string path = test::scratchPath("nowriter.fifo");
    unlink(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    for (bool buffered : {true, false}) {
        InputFile file(path.c_str(), buffered);
        ASSERT_TRUE(file);
        EXPECT_EQ(std::fgetc(file.get()), EOF);
    }
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
}

}  // namespace
}  // namespace tarnview
