// Rows written through writeRowsInChunks: whole rows per chunk, in file order, from the
// chunk or from memory the source points to. Write errors are tested through the writers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "image/chunkedWrite.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

TEST(WriteRowsInChunks, AsksForWholeRowsThatFitAChunkAndWritesThemInOrder) {
    for (const int64_t rowBytes : {int64_t(300000), writeChunkBytes + 5}) {
        const int64_t rows = 4, perChunk = rowBytes > writeChunkBytes ? 1 : writeChunkBytes / rowBytes;
        std::vector<unsigned char> rowsInMemory(size_t(rows * rowBytes));
        for (size_t i = 0; i < rowsInMemory.size(); i++) rowsInMemory[i] = (unsigned char)(i * 7 % 251);
        std::vector<std::pair<int64_t, int64_t>> asked;
        auto source = [&](unsigned char* chunk, int64_t first, int64_t count) -> const void* {
            asked.emplace_back(first, count);
            const unsigned char* rowsAt = rowsInMemory.data() + first * rowBytes;
            if (asked.size() % 2 == 0) return rowsAt;  // every other chunk straight from memory
            std::memcpy(chunk, rowsAt, size_t(count * rowBytes));
            return chunk;
        };
        const std::string path = test::scratchPath("rows.bin");
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_EQ(writeRowsInChunks(file, rows, rowBytes, source), RowWrite::written);
        ASSERT_EQ(closeWrittenFile(file, true), 1);
        EXPECT_EQ(test::readBytes(path), rowsInMemory);
        ASSERT_EQ(asked.size(), size_t((rows + perChunk - 1) / perChunk)) << rowBytes;
        for (size_t k = 0; k < asked.size(); k++) {
            EXPECT_EQ(asked[k].first, int64_t(k) * perChunk);
            EXPECT_EQ(asked[k].second, std::min(perChunk, rows - asked[k].first));
        }
    }
}

}  // namespace
}  // namespace tarnview
