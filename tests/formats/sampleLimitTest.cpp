// The size limit of the readers: each reader refuses a declared image beyond it, before
// allocating, and reads one at the limit.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "formats/ImageList.h"
#include "formats/convertedReader.h"
#include "formats/imagicReader.h"
#include "formats/mrcReader.h"
#include "formats/salReader.h"
#include "image/Image.h"
#include "image/sampleLimit.h"
#include "support/testFiles.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::scratchPath;

// Sets the limit while it lives; the default (none) afterwards.
struct LimitFor {
    explicit LimitFor(int64_t samples) { setMaxImageSamples(samples); }
    ~LimitFor() { setMaxImageSamples(0); }
};

TEST(SampleLimit, EveryReaderRefusesAnImageBeyondItAndReadsOneAtIt) {
    // A 5 x 3 image in each format: 15 samples.
    const std::string mrc = scratchPath("limit.mrc"), stem = scratchPath("limit"),
                      pgm = scratchPath("limit.pgm");
    test::writeBytes(mrc, test::mrcFile(5, 3, 1, 2, false, std::vector<double>(15, 1.0)));
    test::writeSalScan(stem + "sal", 5, 3, std::vector<uint16_t>(15, 7));
    test::writeImagicStack(stem + "stack", 5, 3, {std::vector<double>(15, 2.0)}, false, false);
    test::writeText(pgm, "P5\n5 3\n255\n" + std::string(15, 'a'));
    auto readAll = [&](Image& image) {
        ImageList* list = readImagic((stem + "stack.hed").c_str());
        const int stackImages = count(list);
        destroyWithImages(list);
        return readMrc(image, mrc.c_str()) + readMrcSection(image, mrc.c_str(), 0) +
               readSal(image, (stem + "sal").c_str()) + stackImages + readConverted(image, pgm.c_str());
    };
    const std::string refusal = "Image of 5x3x1 samples exceeds the limit of 14 samples\n";
    Image image;
    {
        const LimitFor limit(14);
        int read = -1;
        const std::string printed = captureStdout([&] { read = readAll(image); });
        EXPECT_EQ(read, 0);
        size_t refusals = 0;
        for (size_t at = printed.find(refusal); at != std::string::npos; at = printed.find(refusal, at + 1))
            refusals++;
        EXPECT_EQ(refusals, 5u) << printed;
    }
    const LimitFor limit(15);
    captureStdout([&] { EXPECT_EQ(readAll(image), 5); });
}

// Reads a 1 KiB header declaring 40000 x 40000 bytes (fewer than 2^31 samples, but 6.4 GB
// as floats) with the limit at 2^30 and, outside the sanitizer build, the address space
// limited to 1 GiB; exits 0 when both readers refused it with the limit's message and left
// the image as it was.
[[noreturn]] void readHugeHeader(const std::string& path) {
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit oneGiB{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &oneGiB);
#endif
    setMaxImageSamples(int64_t(1) << 30);
    const std::string refusal = "Image of 40000x40000x1 samples exceeds the limit of 1073741824 samples\n";
    bool refused = false;
    {  // released before the exit, which the leak checker watches
        Image image;
        int results = 0;
        const std::string printed = captureStdout(
            [&] { results = readMrc(image, path.c_str()) + readMrcSection(image, path.c_str(), 0); });
        refused = results == 0 && printed == refusal + refusal && image.getNx() == 0;
    }
    std::exit(refused ? 0 : 1);
}

TEST(SampleLimit, AHugeDeclaredImageIsRefusedBeforeItIsAllocated) {
    const std::string path = scratchPath("huge-declared.mrc");
    test::writeBytes(path, test::mrcFile(40000, 40000, 1, 0, false, {}));
    EXPECT_EXIT(readHugeHeader(path), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tarnview
