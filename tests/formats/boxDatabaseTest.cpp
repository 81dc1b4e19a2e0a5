#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/boxDatabase.h"
#include "image/Image.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;
using test::fileExists;
using test::readBytes;
using test::scratchPath;
using test::writeText;

const char* const sectionTail =
    "!!! Fourier Images Complex !!!\n\n!!! Fourier Images Real !!!\n\n"
    "!!! Files with amplitudes and phases !!!\n\n!!! Spectra .com files  !!!\n\n"
    "!!! Miscellaneous Files !!!\n\n!!! Lattice Parameters !!!\n\n";

std::string fileText(const std::string& path) {
    const auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

int readInto(Image& image, const std::string& path, std::string* printed = nullptr) {
    int result = 0;
    const std::string out = captureStdout([&] { result = readBoxDatabase(image, path.c_str()); });
    if (printed != nullptr) *printed = out;
    return result;
}

// A database holding the given lines in its cutouts section.
std::string databaseWith(const std::string& name, const std::string& lines) {
    const std::string path = scratchPath(name);
    writeText(path,
              "!!! Z.T.K. Datbase File !!!\n\n!!! Pickit Cutouts !!!\n" + lines + "\n!!! Real Images !!!\n");
    return path;
}

TEST(BoxList, GrowsBeforeTheFourthBoxAndRemovesInPlace) {
    Image image;
    EXPECT_EQ(image.getBoxCapacity(), 4);
    const char* const names[] = {"b0", "b1", "b2"};
    for (int i = 0; i < 3; i++) EXPECT_EQ(image.addBox(int16_t(i), 2, 3, 4, names[i]), 1);
    EXPECT_EQ(image.getBoxCapacity(), 4);
    EXPECT_EQ(image.addBox(9, 9, 9, 9, nullptr), 1);
    EXPECT_EQ(image.getBoxCapacity(), 12);
    EXPECT_STREQ(image.getBoxes()[3].boxName, "");
    EXPECT_EQ(image.getBoxes()[3].mark1, -1);
    EXPECT_EQ(image.getBoxes()[3].mark2, -1);

    EXPECT_EQ(image.removeBox(0), 3);
    EXPECT_STREQ(image.getBoxes()[0].boxName, "b1");
    EXPECT_EQ(image.getBoxes()[1].x, 2);
    EXPECT_EQ(image.removeBox(3), 3);
    EXPECT_EQ(image.removeBox(-1), 3);
    EXPECT_STREQ(image.getBoxes()[2].boxName, "");
}

TEST(BoxList, LongNamesAreCutTo39Characters) {
    Image image;
    const std::string name(45, 'n');
    image.addBox(1, 2, 3, 4, name.c_str());
    EXPECT_EQ(std::string(image.getBoxes()[0].boxName), name.substr(0, 39));
}

TEST(WriteBoxDatabase, WritesEverySectionWithTheBoxLines) {
    Image image;
    image.addBox(10, 20, 64, 65, "a1");
    image.addBox(-3, 0, 8, -2, "with blank");
    const std::string path = scratchPath("boxes.dat");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(writeBoxDatabase(image, path.c_str()), 1); }), "");
    EXPECT_EQ(fileText(path), std::string("!!! Z.T.K. Datbase File !!!\n\n!!! Pickit Cutouts !!!\n"
                                          "10 20 64 65 0 32 0 0 0 0 2 a1\n"
                                          "-3 0 8 -2 0 32767 0 0 0 0 2 with blank\n"
                                          "\n!!! Real Images !!!\na1\nwith blank\n") +
                                  sectionTail);
}

TEST(WriteBoxDatabase, RefusesNoBoxesAndUnwritableFiles) {
    Image image;
    const std::string path = scratchPath("none.dat");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(writeBoxDatabase(image, path.c_str()), 0); }),
              "No boxes to save!\n");
    EXPECT_FALSE(fileExists(path));
    image.addBox(1, 1, 1, 1, "x");
    const std::string bad = scratchPath("no/such/dir.dat");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(writeBoxDatabase(image, bad.c_str()), 0); }),
              "Unable to open file " + bad + "\n");
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(writeBoxDatabase(image, "/dev/full"), 0); }),
              "Unable to write file /dev/full\n");
}

TEST(ReadBoxDatabase, ReadsBackWhatWasWrittenAndAddsToTheList) {
    Image written;
    written.addBox(10, 20, 64, 65, "a1");
    written.addBox(5, 6, 7, -2, "with blank");
    const std::string path = scratchPath("back.dat");
    captureStdout([&] { writeBoxDatabase(written, path.c_str()); });

    Image image;
    std::string printed;
    EXPECT_EQ(readInto(image, path, &printed), 1);
    EXPECT_EQ(printed, "2 boxes for this image\n");
    ASSERT_EQ(image.getBoxCount(), 2);
    const BoxRecord& b = image.getBoxes()[0];
    EXPECT_EQ(b.x, 10);
    EXPECT_EQ(b.y, 20);
    EXPECT_EQ(b.width, 64);
    EXPECT_EQ(b.height, 65);
    EXPECT_EQ(b.mark1, -1);
    EXPECT_EQ(b.mark2, -1);
    EXPECT_STREQ(b.boxName, "a1");
    EXPECT_EQ(image.getBoxes()[1].height, -2);
    EXPECT_STREQ(image.getBoxes()[1].boxName, "with");  // read up to the blank

    EXPECT_EQ(readInto(image, path, &printed), 1);
    EXPECT_EQ(printed, "4 boxes for this image\n");
    EXPECT_STREQ(image.getBoxes()[2].boxName, "a1");
}

TEST(ReadBoxDatabase, GrowsAfterCountingTheThirdBox) {
    Image image;
    const std::string path = databaseWith("three.dat",
                                          "1 1 1 1 0 0 0 0 0 0 2 a\n2 2 2 2 0 0 0 0 0 0 2 b\n"
                                          "3 3 3 3 0 0 0 0 0 0 2 c\n");
    readInto(image, path);
    EXPECT_EQ(image.getBoxCount(), 3);
    EXPECT_EQ(image.getBoxCapacity(), 12);
}

TEST(ReadBoxDatabase, SkipsLinesThatDoNotParseOrFit) {
    const std::string longName(45, 'q');
    const std::string lines =
        "# 1 2 3 4 0 0 0 0 0 0 2 comment\n"
        "1 2 3 4 0 0 0 0 0 2 eleven\n"
        "\n"
        "70000 2 3 4 0 0 0 0 0 0 2 tooWide\n"
        "1 2 3 4 0 0 0 0 0 0 99999999999 tooLong\n"
        "1 2 3 4 0 0 0 0 0 0 x notANumber\n"
        "1 2 3 4 0 0 0 0 0 0 2\n"
        // 130 characters: its tail must not be read as a line of its own.
        "#" +
        std::string(117, 'c') + "1 2 3 4 0 0 0 0 0 0 2 tail\n" + "-7 +8 9 10 0 5 0 0 0 0 2 " + longName +
        "\n";
    Image image;
    readInto(image, databaseWith("skips.dat", lines));
    ASSERT_EQ(image.getBoxCount(), 1);
    const BoxRecord& b = image.getBoxes()[0];
    EXPECT_EQ(b.x, -7);
    EXPECT_EQ(b.y, 8);
    EXPECT_EQ(std::string(b.boxName), longName.substr(0, 39));
}

TEST(ReadBoxDatabase, OverlongLinesAreTakenAsTheirFirst118Characters) {
    // A box line padded past the buffer keeps its head; the rest, here a section head,
    // is passed over.
    const std::string head = "4 3 2 1 0 0 0 0 0 0 2 " + std::string(96, 'L');
    ASSERT_EQ(head.size(), 118u);
    Image image;
    readInto(image, databaseWith("overlong.dat", head + "!!! tail\n5 5 5 5 0 0 0 0 0 0 2 next\n"));
    ASSERT_EQ(image.getBoxCount(), 2);
    EXPECT_EQ(std::string(image.getBoxes()[0].boxName), std::string(39, 'L'));
    EXPECT_STREQ(image.getBoxes()[1].boxName, "next");
}

TEST(ReadBoxDatabase, MissingSectionOrFile) {
    Image image;
    const std::string path = scratchPath("plain.txt");
    writeText(path, "1 2 3 4 0 0 0 0 0 0 2 outside\n!!! Real Images !!!\n");
    std::string printed;
    EXPECT_EQ(readInto(image, path, &printed), 1);
    EXPECT_EQ(printed, "0 boxes for this image\n");
    const std::string missing = scratchPath("missing.dat");
    EXPECT_EQ(readInto(image, missing, &printed), 0);
    EXPECT_EQ(printed, "Unable to open file " + missing + "\n");
}

}  // namespace
}  // namespace tarnview
