// The converter's display options end to end: -sigma, -saturate, -bin, -psd and -tile,
// their precedence, their refusals, and the default path left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/testFiles.h"
#include "support/testSupport.h"

using namespace tarnview::test;

namespace {

// Rows (0, 50, 100) and (100, 150, 200): mean 100, sigma sqrt(25000 / 6).
const std::vector<double> example = {0, 50, 100, 100, 150, 200};

std::string mrcOf(const std::string& name, int nx, int ny, const std::vector<double>& values) {
    const std::string path = scratchPath(name);
    writeBytes(path, mrcFile(nx, ny, 1, 2, false, values));
    return path;
}

std::string pgmHeaderOf(const std::string& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    std::string text(bytes.begin(), bytes.end());
    return text.substr(0, text.find("255\n") + 4);
}

}  // namespace

TEST(ConverterContrastRules, SigmaAndSaturateSetTheLimitsAndMinMaxStillWin) {
    const std::string in = mrcOf("rules.mrc", 3, 2, example), out = scratchPath("rules.pgm");
    const double sigma = std::sqrt(25000.0 / 6);
    struct Case {
        std::vector<std::string> options;
        float lo, hi;
    };
    const std::vector<Case> cases = {
        {{"-sigma", "1"}, float(100 - sigma), float(100 + sigma)},
        {{"-saturate", "0"}, 0.0f, 200.0f},
        {{"-sigma", "1", "-saturate", "0"}, 0.0f, 200.0f},  // the last rule given counts
        {{"-sigma", "1", "-min", "10"}, 10.0f, float(100 + sigma)},
        {{"-max", "120", "-saturate", "0"}, 0.0f, 120.0f},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-mrc"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {in, out});
        const RunResult r = runTarnview(args);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(readBytes(out), expectedPgm(3, 2, example, c.lo, c.hi)) << c.options[0] << c.options[1];
    }
}

TEST(ConverterDisplayOptions, BinAndPowerSpectrumPicturesOfAnyShape) {
    // 6 x 4 binned by 2: block means of 10 y + x are 20 j + 2 i + 5.5.
    std::vector<double> grid;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++) grid.push_back(10 * y + x);
    const std::string in = mrcOf("grid.mrc", 6, 4, grid), out = scratchPath("binned.pgm");
    RunResult r = runTarnview({"-mrc", "-bin", "2", "-min", "0", "-max", "40", in, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), expectedPgm(3, 2, {5.5, 7.5, 9.5, 25.5, 27.5, 29.5}, 0, 40));

    // A 130 x 70 image (not square) in tiles of 36.
    std::vector<double> waves;
    for (int y = 0; y < 70; y++)
        for (int x = 0; x < 130; x++) waves.push_back(std::sin(0.7 * x) + std::cos(1.1 * y) + 0.01 * x * y);
    const std::string wide = mrcOf("wide.mrc", 130, 70, waves), psd = scratchPath("psd.pgm");
    r = runTarnview({"-mrc", "-psd", "-tile", "36", "-v", wide, psd});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 23), "\nThis image is 36 x 36\n");
    EXPECT_EQ(pgmHeaderOf(psd), pgmHeader(36, 36));
    r = runTarnview({"-mrc", "-psd", "-tile", "38", wide, psd});
    EXPECT_EQ(r.out, "Tile 38 is not a valid transform length: 36 used\n");
    EXPECT_EQ(pgmHeaderOf(psd), pgmHeader(36, 36));
}

TEST(ConverterDisplayOptions, RefusedValuesExitOneWithoutWriting) {
    const std::string in = mrcOf("refused.mrc", 3, 2, example), out = scratchPath("refused.pgm");
    struct Case {
        std::vector<std::string> options;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"-fft", "-psd"}, "-fft and -psd cannot be used together\n"},
        {{"-sigma", "x"},
         "Cannot set grey limits at mean +- nan sigma: the factor must be a positive number\n"},
        {{"-sigma", "-2"},
         "Cannot set grey limits at mean +- -2 sigma: the factor must be a positive number\n"},
        {{"-saturate", "60"},
         "Cannot saturate 60% of the samples at each end: the percentage must be from 0 to below 50\n"},
        {{"-bin", "0"}, "Cannot bin a real 3 x 2 image by 0\n"},
        {{"-bin", "3"}, "Cannot bin a real 3 x 2 image by 3\n"},
        {{"-psd", "-tile", "99999999999"}, "Cannot use tiles of 0 pixels: a tile must be 8 to 4096 pixels\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-mrc"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {in, out});
        const RunResult r = runTarnview(args);
        EXPECT_EQ(r.out, c.message);
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(fileExists(out)) << c.options[0];
    }
}
