// The tarnview binary end to end: command lines, messages, exit statuses and PGM bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/testFiles.h"
#include "support/testSupport.h"

using namespace tarnview::test;

namespace {

const std::string usage =
    "tarnview version 0.1\n"
    "Converts MRC, ScansALot or Imagic files to PGM format\n\n"
    "tarnview (-mrc -sal -imagic) [-fft] [-v] [-min <mingray>] [-max <maxgray>] <infile> <outfile>\n";

// The 3 x 2 example: rows (0, 50, 100) and (100, 150, 200).
const std::vector<double> example = {0, 50, 100, 100, 150, 200};

std::string exampleMrc() {
    const std::string path = scratchPath("example.mrc");
    writeBytes(path, mrcFile(3, 2, 1, 2, false, example));
    return path;
}

}  // namespace

TEST(ConverterUsage, IncompleteCommandLinesPrintTheUsageAndExitOne) {
    const std::string in = exampleMrc(), out = scratchPath("usage.pgm");
    const std::vector<std::vector<std::string>> lines = {
        {},                      // no arguments
        {"-mrc", "-v", "-fft"},  // only options
        {"-mrc", in},            // no output file
        {in, out},               // no type option
        {"-mrcx", in, out},      // an extension of an option is not it
        {"-m", in, out},         // nor is a prefix
        {"-MRC", in, out},       // nor another case
        {"-mrc", "-min"},        // -min with nothing to read
        {"-mrc", "-max"},
        {"-mrc", "-min", "5", in},  // the value is consumed: one file left
    };
    for (const auto& line : lines) {
        const RunResult r = runTarnview(line);
        EXPECT_EQ(r.out, usage);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 1);
    }
    EXPECT_FALSE(fileExists(out));
}

TEST(ConverterConversion, MrcExampleGivesTheDocumentedBody) {
    const std::string in = exampleMrc(), out = scratchPath("example.pgm");
    const RunResult r = runTarnview({"-mrc", "-min", "0", "-max", "200", in, out});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    const std::string header = pgmHeader(3, 2);
    std::vector<uint8_t> expected(header.begin(), header.end());
    for (uint8_t b : {127, 191, 255, 0, 63, 127}) expected.push_back(b);
    EXPECT_EQ(readBytes(out), expected);
}

TEST(ConverterConversion, EveryRealMrcModeInBothByteOrders) {
    // A 5 x 3 image per mode; the stored numbers and the floats the reader makes of them.
    const int nx = 5, ny = 3;
    for (int mode : {0, 1, 2}) {
        for (bool big : {false, true}) {
            std::vector<double> stored, value;
            for (int i = 0; i < nx * ny; i++) {
                const double s = mode == 0 ? 17 * i : mode == 1 ? 4000 * i + 5 : -3.5 + 1.25 * i;
                stored.push_back(s);
                value.push_back(mode == 0 ? double(float(s / 100.0)) : s);
            }
            const std::string in = scratchPath("mode" + std::to_string(mode) + (big ? "be" : "le") + ".mrc");
            const std::string out = in + ".pgm";
            writeBytes(in, mrcFile(nx, ny, 1, mode, big, stored));
            const float lo = float(value[2]), hi = float(value[12]);
            const RunResult r =
                runTarnview({"-mrc", "-min", std::to_string(lo), "-max", std::to_string(hi), in, out});
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(readBytes(out), expectedPgm(nx, ny, value, std::stof(std::to_string(lo)),
                                                  std::stof(std::to_string(hi))))
                << "mode " << mode << (big ? " big-endian" : " little-endian");
        }
    }
}

TEST(ConverterConversion, ComplexMrcShowsTheCentredAmplitudes) {
    // Mode 4, 3 complex values per row and 2 rows: nx = 6 floats. Amplitudes are
    // hypot(re, im) / 6 * 2; the view shows nx - 2 = 4 pixels a row.
    for (bool big : {false, true}) {
        std::vector<double> pairs;
        std::vector<float> amplitude;
        for (int i = 0; i < 6; i++) {
            const double re = 3 * (i + 1), im = 4 * (i + 1);
            pairs.push_back(re);
            pairs.push_back(im);
            amplitude.push_back(float(std::hypot(re, im) / 6 * 2));
        }
        const std::string in = scratchPath(big ? "complexbe.mrc" : "complexle.mrc"), out = in + ".pgm";
        writeBytes(in, mrcFile(3, 2, 1, 4, big, pairs));
        const RunResult r = runTarnview({"-mrc", "-min", "0", "-max", "40", "-v", in, out});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.substr(0, 21), "\nThis image is 6 x 2\n");
        const std::vector<uint8_t> pgm = readBytes(out);
        const std::string header = pgmHeader(6, 2);
        ASSERT_EQ(pgm.size(), header.size() + 12);
        EXPECT_EQ(std::string(pgm.begin(), pgm.begin() + long(header.size())), header);
        // half = 3. PGM row `row` shows source row y = 1 - row. Pixel x < 3 reads element
        // 2 - x of row 1 - y; x = 3 reads element 1 of row y + 1 when that row exists,
        // else of row 0.
        auto element = [&](int row, int e) { return amplitude[size_t(row) * 3 + e]; };
        for (int row = 0; row < 2; row++) {
            const int y = 1 - row;
            for (int x = 0; x < 4; x++) {
                const float a = x < 3 ? element(1 - y, 2 - x) : element(y + 1 < 2 ? y + 1 : 0, 1);
                EXPECT_EQ(pgm[header.size() + size_t(row) * 6 + x], greyOf(a, 0, 40)) << row << "," << x;
            }
            // The two columns the view does not draw are written as 0.
            EXPECT_EQ(pgm[header.size() + size_t(row) * 6 + 4], 0);
            EXPECT_EQ(pgm[header.size() + size_t(row) * 6 + 5], 0);
        }
    }
}

TEST(ConverterConversion, SalScanOfSixteenBitSamples) {
    const int nx = 6, ny = 4;
    std::vector<uint16_t> samples;
    std::vector<double> value;
    for (int i = 0; i < nx * ny; i++) {
        samples.push_back(uint16_t(2700 * i));
        value.push_back(2700.0 * i);
    }
    const std::string dir = scratchPath("salscan");
    std::filesystem::create_directories(dir);
    writeSalScan(dir + "/scan", nx, ny, samples);
    const std::string out = scratchPath("sal.pgm");
    const RunResult r = runTarnview({"-sal", "-min", "1000", "-max", "60000", dir + "/scan.img", out});
    EXPECT_EQ(r.out, dir + "/scan.hdr is 6x4\nBlock length=512 x 4\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), expectedPgm(nx, ny, value, 1000, 60000));
}

TEST(ConverterConversion, ImagicTakesTheFirstImageOfTheStack) {
    const int nx = 4, ny = 3;
    std::vector<double> first, second;
    for (int i = 0; i < nx * ny; i++) {
        first.push_back(10.0 * i);
        second.push_back(1000.0 - i);
    }
    for (bool big : {false, true}) {
        const std::string stem = scratchPath(big ? "stackbe" : "stackle"), out = stem + ".pgm";
        writeImagicStack(stem, nx, ny, {first, second}, false, big);
        const RunResult r = runTarnview({"-imagic", "-v", stem + ".hed", out});
        // The reader sets the limits to the image's min and max.
        EXPECT_EQ(r.out,
                  "\nThis image is 4 x 3\n"
                  "greyscale:  min=    0 max=  110 mean=   55 sigma= 34.5\n"
                  "default greyscale limits     0 to   110\n");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(readBytes(out), expectedPgm(nx, ny, first, 0, 110));
    }
}

TEST(ConverterReport, VerboseBeforeTheFilesReportsAfterThemIsIgnored) {
    // Zeros: mean 0, sigma 0, max widened to 0.0001, limits 0.0001 * 2/256 and * 3/256.
    const std::string in = scratchPath("zeros.mrc"), out = scratchPath("zeros.pgm");
    writeBytes(in, mrcFile(4, 3, 1, 2, true, std::vector<double>(12, 0.0)));
    const std::string report =
        "\nThis image is 4 x 3\n"
        "greyscale:  min=    0 max=0.0001 mean=    0 sigma=    0\n"
        "default greyscale limits 7.81e-07 to 1.17e-06\n";
    RunResult r = runTarnview({"-v", "-mrc", in, out});
    EXPECT_EQ(r.out, report);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), expectedPgm(4, 3, std::vector<double>(12, 0.0), 1, 2));  // all black
    r = runTarnview({"-mrc", in, out, "-v"});
    EXPECT_EQ(r.out, "");
    r = runTarnview({"-mrc", "-x", "--", "-fftx", in, out});  // unknown options are skipped
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    r = runTarnview({"-sal", "-imagic", "-mrc", in, out});  // the last type option counts
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
}

TEST(ConverterLimits, MinMaxWordsCrossedLimitsAndTheNotGivenValue) {
    const std::string in = exampleMrc(), out = scratchPath("limits.pgm");
    // Crossed limits render everything black.
    RunResult r = runTarnview({"-mrc", "-min", "300", "-max", "200", in, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), expectedPgm(3, 2, std::vector<double>(6, 0.0), 1, 2));

    // A word after -min is consumed and leaves the default lower limit: the same PGM as
    // with -max alone.
    r = runTarnview({"-mrc", "-max", "150", in, out});
    const std::vector<uint8_t> maxOnly = readBytes(out);
    r = runTarnview({"-mrc", "-min", "abc", "-max", "150", in, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), maxOnly);

    // 1e10 and above mean "not given": the same PGM as with no limits at all.
    r = runTarnview({"-mrc", in, out});
    const std::vector<uint8_t> plain = readBytes(out);
    r = runTarnview({"-mrc", "-min", "1e10", "-max", "3e10", in, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out), plain);

    // Infinite and NaN limits render without trouble.
    for (const char* value : {"-inf", "inf", "nan"}) {
        r = runTarnview({"-mrc", "-min", value, "-max", "100", in, out});
        EXPECT_EQ(r.status, 0) << value;
        EXPECT_EQ(readBytes(out).size(), pgmHeader(3, 2).size() + 6) << value;
    }
}

TEST(ConverterFailures, EachReaderSaysWhatItCouldNotRead) {
    const std::string missing = scratchPath("missing");
    const std::string out = scratchPath("never.pgm");
    RunResult r = runTarnview({"-mrc", missing + ".mrc", out});
    EXPECT_EQ(r.out, "Cannot open file\nCannot read " + missing + ".mrc as a MRC file.\n");
    EXPECT_EQ(r.status, 1);
    r = runTarnview({"-sal", missing + ".img", out});
    EXPECT_EQ(r.out,
              "Cannot open " + missing + ".hdr\nCannot read " + missing + ".img as a ScansALot file.\n");
    EXPECT_EQ(r.status, 1);
    r = runTarnview({"-imagic", missing + ".hed", out});
    EXPECT_EQ(r.out,
              "ERROR: cannot open " + missing + ".hed\nCannot read " + missing + ".hed as an IMAGIC file.\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fileExists(out));

    // A one-dimensional MRC file: the reader's message, then the converter's.
    const std::string line = scratchPath("line.mrc");
    writeBytes(line, mrcFile(4, 1, 1, 2, false, std::vector<double>(4, 1.0)));
    r = runTarnview({"-mrc", line, out});
    EXPECT_EQ(r.out, "This appears to be a 1d file. I only read 2d files.\nCannot read " + line +
                         " as a MRC file.\n");
    EXPECT_EQ(r.status, 1);
}

TEST(ConverterFailures, UnwritableOutputStillExitsZero) {
    const std::string in = exampleMrc();
    const RunResult r = runTarnview({"-mrc", in, scratchPath("no-such-dir/out.pgm")});
    EXPECT_EQ(r.out, "Cannot open file for writing\n");
    EXPECT_EQ(r.status, 0);
}

TEST(ConverterSection, MinusZConvertsOneSectionAndRefusesWhatIsNoSection) {
    // A mode-6 stack of three 3 x 2 sections; section z holds 1000 z + 10 i.
    std::vector<double> stored;
    for (int k = 0; k < 18; k++) stored.push_back(1000 * (k / 6) + 10 * (k % 6));
    const std::string in = scratchPath("sections.mrcs"), out = scratchPath("section.pgm");
    writeBytes(in, mrcFile(3, 2, 3, 6, true, stored));
    const RunResult r = runTarnview({"-mrc", "-z", "2", "-min", "2000", "-max", "2050", in, out});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(out),
              expectedPgm(3, 2, std::vector<double>(stored.begin() + 12, stored.end()), 2000, 2050));

    const std::string cannot = "Cannot read " + in + " as a MRC file.\n";
    auto notNumber = [](const std::string& w) {
        return "The section after -z must be a number from 0 on, not \"" + w + "\"\n";
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"-mrc", "-z", "3", in, out}, "There is no section 3: the file's sections are 0 to 2\n" + cannot},
        {{"-mrc", "-z", "-1", in, out}, notNumber("-1")},
        {{"-mrc", "-z", "99999999999", in, out}, notNumber("99999999999")},
        {{"-sal", "-z", "0", in, out}, "-z selects a section of an MRC file: use it with -mrc\n"},
        {{"-mrc", in, out}, "This appears to be a 3d file. I only read 2d files.\n" + cannot},  // no -z
    };
    for (const auto& [args, printed] : refused) {
        const RunResult bad = runTarnview(args);
        EXPECT_EQ(bad.out, printed);
        EXPECT_EQ(bad.status, 1);
    }
    EXPECT_EQ(runTarnview({"-mrc", "-z", in, out}).out, usage);  // -z consumed the input file
}
