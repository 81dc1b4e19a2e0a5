// The Image object: construction, names and paths, headers, geometry and region copies.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <type_traits>
#include <vector>

#include "image/Image.h"
#include "image/parameters.h"
#include "image/progress.h"
#include "support/testSupport.h"

using namespace tarnview;

namespace {

// An image whose sample (x, y) holds 100 * y + x, so every copied value names its origin.
void fillCoordinates(Image& image, int nx, int ny) {
    ASSERT_EQ(image.resize(nx, ny, 1), 1);
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) image.getData()[x + y * nx] = float(100 * y + x);
}

}  // namespace

static_assert(!std::is_copy_constructible_v<Image>, "an Image must not be copied by accident");
static_assert(!std::is_copy_assignable_v<Image>, "an Image must not be assigned by accident");

TEST(ImageConstruction, NewImageHasTheDocumentedDefaults) {
    Image image;
    EXPECT_STREQ(image.getName(), "na");
    EXPECT_STREQ(image.getPath(), "unknown");
    EXPECT_EQ(image.getMag(), 30.0f);
    EXPECT_EQ(image.getDeltaX(), 8.333333f);
    EXPECT_EQ(image.getGreyLow(), -999.0f);
    EXPECT_EQ(image.getGreyHigh(), -999.0f);
    EXPECT_EQ(image.getBoxCount(), 0);
    EXPECT_EQ(image.getBoxCapacity(), 4);
    EXPECT_EQ(image.isComplex(), 0);
    EXPECT_EQ(image.getFlags(), 0);
    EXPECT_EQ(image.getNx(), 0);
    EXPECT_EQ(image.getNy(), 0);
    EXPECT_EQ(image.getNz(), 0);
    EXPECT_EQ(image.getMrcHeader(), nullptr);
    EXPECT_EQ(image.getImagicHeader(), nullptr);
    EXPECT_EQ(image.getProfile(), nullptr);
    EXPECT_EQ(image.getProfileKind(), -1);
    EXPECT_EQ(image.hasExtraParams(), 0);
    EXPECT_NE(image.getData(), nullptr);
    EXPECT_EQ(image.getDataPlusOne(), image.getData() + 1);
    for (int j = 0; j < 257; j++) EXPECT_EQ(image.getHistogram()[j], 0.0f);
}

TEST(ImageConstruction, MetadataCopyKeepsOnlyHeaderMagSamplingNameAndPath) {
    Image source;
    source.setName("particle");
    source.setPath("/data/particle.mrc");
    source.setMag(40.0f);
    source.setDeltaX(2.5f);
    source.setFlags(3);
    source.setGreyLimits(-1.0f, 1.0f);
    source.setTag(7);
    ASSERT_EQ(source.resize(512, 512, 1), 1);
    auto* header = new MrcHeader{};
    header->nx = 512;
    std::strcpy(header->labels[0], "label");
    source.setMrcHeader(header);

    Image copy(metadataCopy, source);
    EXPECT_STREQ(copy.getName(), "particle");
    EXPECT_STREQ(copy.getPath(), "/data/particle.mrc");
    EXPECT_EQ(copy.getMag(), 40.0f);
    EXPECT_EQ(copy.getDeltaX(), 2.5f);
    EXPECT_EQ(copy.getNx(), 0);
    EXPECT_EQ(copy.getNy(), 0);
    EXPECT_EQ(copy.getNz(), 0);
    EXPECT_EQ(copy.getFlags(), 0);
    EXPECT_EQ(copy.getTag(), 0);
    EXPECT_EQ(copy.getGreyLow(), -999.0f);
    EXPECT_EQ(copy.getGreyHigh(), -999.0f);
    ASSERT_NE(copy.getMrcHeader(), nullptr);
    EXPECT_NE(copy.getMrcHeader(), source.getMrcHeader());
    EXPECT_EQ(std::memcmp(copy.getMrcHeader(), source.getMrcHeader(), sizeof(MrcHeader)), 0);
    EXPECT_EQ(copy.getImagicHeader(), nullptr);
}

TEST(ImageConstruction, MetadataCopyOfUnnamedImageStaysUnnamed) {
    Image source;
    Image copy(metadataCopy, source);
    EXPECT_STREQ(copy.getName(), "na");
    EXPECT_STREQ(copy.getPath(), "unknown");
    EXPECT_EQ(copy.getMrcHeader(), nullptr);
}

TEST(ImageNames, NaAndUnknownMeanUnset) {
    Image image;
    image.setName("na");
    EXPECT_STREQ(image.getName(), "na");
    image.setName("nanometre grid");
    EXPECT_STREQ(image.getName(), "nanometre grid");
    image.setName(nullptr);
    EXPECT_STREQ(image.getName(), "na");

    EXPECT_EQ(image.setPath("unknown"), 0);
    EXPECT_STREQ(image.getPath(), "unknown");
    EXPECT_EQ(image.setPath(nullptr), 0);
    image.setPath("/tmp/x.mrc");
    EXPECT_STREQ(image.getPath(), "/tmp/x.mrc");
    EXPECT_EQ(image.setPath("unknown"), 0);
    EXPECT_STREQ(image.getPath(), "unknown");
}

TEST(ImageNames, SettingTheImagesOwnStringKeepsIt) {
    Image image;
    image.setName("grid square 12");
    image.setPath("/scans/grid.mrc");
    image.setName(image.getName());
    image.setPath(image.getPath());
    EXPECT_STREQ(image.getName(), "grid square 12");
    EXPECT_STREQ(image.getPath(), "/scans/grid.mrc");
}

TEST(ImageNames, StoredStringsAreCopies) {
    Image image;
    char buffer[] = "first";
    image.setName(buffer);
    image.setPath(buffer);
    std::strcpy(buffer, "other");
    EXPECT_STREQ(image.getName(), "first");
    EXPECT_STREQ(image.getPath(), "first");
}

TEST(ImageHeaders, ReplacingAHeaderReleasesTheOldOneAndSameBlockIsKept) {
    // LeakSanitizer catches a replaced block that is not released.
    Image image;
    image.setMrcHeader(new MrcHeader{});
    auto* second = new MrcHeader{};
    image.setMrcHeader(second);
    image.setMrcHeader(second);
    EXPECT_EQ(image.getMrcHeader(), second);
    image.setImagicHeader(new ImagicRecord{});
    auto* record = new ImagicRecord{};
    image.setImagicHeader(record);
    image.setImagicHeader(record);
    EXPECT_EQ(image.getImagicHeader(), record);
}

TEST(ImageGeometry, ResizeKeepsSamplesUpToTheSmallerSize) {
    Image image;
    fillCoordinates(image, 4, 3);
    ASSERT_EQ(image.resize(2, 2, 1), 1);
    EXPECT_EQ(image.getNx(), 2);
    EXPECT_EQ(image.getNy(), 2);
    EXPECT_EQ(image.getNz(), 1);
    EXPECT_EQ(image.getData()[3], 3.0f);
    ASSERT_EQ(image.resize(8, 8, 2), 1);
    EXPECT_EQ(image.getData()[0], 0.0f);
    EXPECT_EQ(image.getData()[3], 3.0f);
    image.getData()[8 * 8 * 2 - 1] = 5.0f;  // the whole new buffer is writable
}

TEST(ImageGeometry, ImpossibleSizesAreRefusedAndChangeNothing) {
    Image image;
    fillCoordinates(image, 3, 3);
    float* before = image.getData();
    EXPECT_EQ(image.resize(-1, 3, 1), 0);
    EXPECT_EQ(image.resize(INT_MAX, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(image.resize(1 << 30, 1 << 30, 1 << 30), 0);
    EXPECT_EQ(image.getNx(), 3);
    EXPECT_EQ(image.getNy(), 3);
    EXPECT_EQ(image.getData(), before);
    EXPECT_EQ(image.getData()[8], 202.0f);
}

TEST(ImageGeometry, GetPixelReadsTheFirstSectionAndZeroOutside) {
    Image image;
    fillCoordinates(image, 5, 4);
    EXPECT_EQ(image.getPixel(2, 3), 302.0f);
    EXPECT_EQ(image.getPixel(5, 0), 0.0f);
    EXPECT_EQ(image.getPixel(0, -1), 0.0f);
    EXPECT_EQ(image.getPixel(-1, 0), 0.0f);
    EXPECT_EQ(image.getPixel(0, 4), 0.0f);
}

TEST(ImageRegions, CopyRegionShiftsTheRectangleInsideTheImage) {
    Image image;
    fillCoordinates(image, 20, 10);
    std::vector<float> dst(10 * 2);
    ASSERT_EQ(image.copyRegion(dst.data(), -5, -2, 10, 2), 1);
    EXPECT_EQ(dst[0], 0.0f);     // column 0 of row 0
    EXPECT_EQ(dst[10], 100.0f);  // row 1 follows with no gap
    ASSERT_EQ(image.copyRegion(dst.data(), 20 - 3, 9, 10, 2), 1);
    EXPECT_EQ(dst[0], 810.0f);  // shifted to column nx - 10 and row ny - 2
    EXPECT_EQ(dst[19], 919.0f);
}

TEST(ImageRegions, CopiesRefuseTheWrongKindAndOversizeRectangles) {
    Image image;
    fillCoordinates(image, 6, 4);
    std::vector<float> dst(64, -1.0f);
    EXPECT_EQ(image.copyComplexRows(dst.data(), 0, 0, 2, 2), 0);
    EXPECT_EQ(image.copyRegion(dst.data(), 0, 0, 7, 2), 0);
    EXPECT_EQ(image.copyRegion(dst.data(), 0, 0, 2, 5), 0);
    EXPECT_EQ(dst[0], -1.0f);
    image.setFlags(complexFlag);
    EXPECT_EQ(image.copyRegion(dst.data(), 0, 0, 2, 2), 0);
    EXPECT_EQ(image.copyComplexRows(dst.data(), 0, 0, 7, 2), 0);
    EXPECT_EQ(dst[0], -1.0f);
}

TEST(ImageRegions, CopyComplexRowsStartsEveryRowAtItsFirstFloat) {
    Image image;
    fillCoordinates(image, 6, 4);
    image.setFlags(complexFlag);
    std::vector<float> dst(4 * 2);
    ASSERT_EQ(image.copyComplexRows(dst.data(), 3, 3, 4, 2), 1);
    EXPECT_EQ(dst[0], 200.0f);  // y0 shifted to ny - h, the column argument ignored
    EXPECT_EQ(dst[3], 203.0f);
    EXPECT_EQ(dst[4], 300.0f);
}

TEST(ImageRegions, CutOutTakesSquareHeaderAndPathButNotName) {
    Image source;
    fillCoordinates(source, 10, 8);
    source.setPath("/data/source.mrc");
    source.setName("source");
    auto* header = new MrcHeader{};
    header->mode = 2;
    source.setMrcHeader(header);

    Image cut;
    cut.setName("cut");
    ASSERT_EQ(cut.cutOutFrom(source, 8, 1, 4), 1);
    EXPECT_EQ(cut.getNx(), 4);
    EXPECT_EQ(cut.getNy(), 4);
    EXPECT_EQ(cut.getData()[0], 106.0f);  // x0 shifted to nx - 4
    EXPECT_EQ(cut.getData()[15], 409.0f);
    EXPECT_STREQ(cut.getPath(), "/data/source.mrc");
    EXPECT_STREQ(cut.getName(), "cut");
    ASSERT_NE(cut.getMrcHeader(), nullptr);
    EXPECT_EQ(cut.getMrcHeader()->mode, 2);
}

TEST(ImageRegions, CutOutWithoutSourceHeaderGetsAZeroHeader) {
    Image source;
    fillCoordinates(source, 4, 4);
    Image cut;
    ASSERT_EQ(cut.cutOutFrom(source, 0, 0, 2), 1);
    ASSERT_NE(cut.getMrcHeader(), nullptr);
    MrcHeader zero{};
    EXPECT_EQ(std::memcmp(cut.getMrcHeader(), &zero, sizeof zero), 0);
    EXPECT_EQ(cut.getData()[3], 101.0f);
}

TEST(ImageRegions, OversizeCutOutIsRefusedAndComplexSourceGivesZeros) {
    Image source;
    fillCoordinates(source, 4, 6);
    Image cut;
    fillCoordinates(cut, 2, 2);
    EXPECT_EQ(cut.cutOutFrom(source, 0, 0, 5), 0);
    EXPECT_EQ(cut.cutOutFrom(source, 0, 0, 0), 0);
    EXPECT_EQ(cut.getNx(), 2);
    EXPECT_EQ(cut.getData()[3], 101.0f);
    EXPECT_EQ(cut.getMrcHeader(), nullptr);

    source.setFlags(complexFlag);
    ASSERT_EQ(cut.cutOutFrom(source, 0, 0, 3), 1);
    for (int i = 0; i < 9; i++) EXPECT_EQ(cut.getData()[i], 0.0f);
}

TEST(ImageAccessors, BoxesTagAndExtraParams) {
    Image image;
    BoxRecord* boxes = image.getBoxes();
    EXPECT_EQ(image.clearBoxes(), 1);
    EXPECT_EQ(image.getBoxCount(), 0);
    EXPECT_EQ(image.getBoxes(), boxes);
    EXPECT_EQ(image.setTag(12), 1);
    EXPECT_EQ(image.getTag(), 12);
    ExtraParams* extra = image.getExtraParams();
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(image.hasExtraParams(), 1);
    EXPECT_EQ(image.getExtraParams(), extra);
    image.setGreyLimits(300.0f, 200.0f);  // crossed limits are kept as given
    EXPECT_EQ(image.getGreyLow(), 300.0f);
    EXPECT_EQ(image.getGreyHigh(), 200.0f);
}

TEST(ImageServices, ProgressRecordIsSilentAndClearedByMinusOne) {
    const std::string out = test::captureStdout([] {
        reportProgress(10, 100, "Reading float data...");
        EXPECT_STREQ(progressMessage(), "Reading float data...");
        EXPECT_NE(progressTime(), 0);
        reportProgress(-1, 0, nullptr);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(progressMessage(), nullptr);
    EXPECT_EQ(progressTime(), 0);
    EXPECT_EQ(progressFigure(5000000000LL), INT_MAX);
    EXPECT_EQ(progressFigure(-1), -1);
}

TEST(ImageServices, ParametersAlwaysAnswerTheirDefault) {
    EXPECT_EQ(getParameter("mag", 7.5f), 7.5f);
    EXPECT_EQ(getParameter("scanres", 25.0f), 25.0f);
    EXPECT_EQ(getParameter("anything", -3.0f), -3.0f);
}
