// Every message of the formats folder, byte for byte.
#include <gtest/gtest.h>

#include "formats/formatsMessages.h"
#include "support/testSupport.h"

namespace tarnview {
namespace {

using test::captureStdout;

TEST(FormatsMessages, SharedTextsAreExact) {
    EXPECT_EQ(captureStdout([] { printIncompleteDataRead(0, 512); }), "Incomplete data read 0/512 blocks\n");
    EXPECT_EQ(captureStdout([] { printBadImageSize(-1, 2, 3); }), "Bad image size -1x2x3\n");
}

TEST(FormatsMessages, MrcTextsAreExact) {
    EXPECT_EQ(captureStdout(printCannotOpenFile), "Cannot open file\n");
    EXPECT_EQ(captureStdout(printOneDimensionalFile),
              "This appears to be a 1d file. I only read 2d files.\n");
    EXPECT_EQ(captureStdout(printThreeDimensionalFile),
              "This appears to be a 3d file. I only read 2d files.\n");
    EXPECT_EQ(captureStdout(printStartNotZero), "WARNING: nx/y/z start not zero\n");
    EXPECT_EQ(captureStdout(printBadMrcFile), "Bad MRC file\n");
    EXPECT_EQ(captureStdout(printNameTooLongForDecompressor),
              "File name too long for the decompressor command\n");
    EXPECT_EQ(captureStdout(printShortMrcHeader), "The file ends before its 1024-byte MRC header\n");
    EXPECT_EQ(captureStdout([] { printNoSuchSection(7, 5); }),
              "There is no section 7: the file's sections are 0 to 4\n");
}

TEST(FormatsMessages, SalTextsAreExact) {
    EXPECT_EQ(captureStdout([] { printSalCannotOpen("a.HDR"); }), "Cannot open a.HDR\n");
    EXPECT_EQ(captureStdout([] { printSalSize("a.HDR", -1, 7); }), "a.HDR is -1x7\n");
    EXPECT_EQ(captureStdout(printSalHeaderProblem), "Problem reading header.");
    EXPECT_EQ(captureStdout([] { printSalBlockLength(2048, 3); }), "Block length=2048 x 3\n");
    EXPECT_EQ(captureStdout(printSalSwapping), "Swapping\n");
    EXPECT_EQ(captureStdout([] { printSalCornerBlockLength(2048, 9, 0, 0, 999, 8); }),
              "Block length=2048 x 9 (0,0 999,8)\n");
    EXPECT_EQ(captureStdout(printSalSeekError), "Seek error!!!\n");
}

TEST(FormatsMessages, ImagicTextsAreExact) {
    EXPECT_EQ(captureStdout([] { printImagicCannotOpen("s.hed"); }), "ERROR: cannot open s.hed\n");
    // The type field has no terminator: at most its 4 bytes are printed, padded to 4.
    const char type[6] = {'A', 'B', 'C', 'D', 'E', 0};
    EXPECT_EQ(captureStdout([&] { printImagicUnknownType(type); }), "Unknown type ABCD.\n");
    EXPECT_EQ(captureStdout([] { printImagicUnknownType("AB\0\0"); }), "Unknown type   AB.\n");
    EXPECT_EQ(captureStdout(printImageListOutOfMemory), "Not enough memory for the image list\n");
}

TEST(FormatsMessages, WriterTextsAreExact) {
    EXPECT_EQ(captureStdout([] { printOddComplexRow(5); }),
              "Cannot write a complex image whose rows hold an odd number (5) of floats\n");
    EXPECT_EQ(captureStdout([] { printCannotWriteMrc("a.mrc"); }),
              "Error writing a.mrc: the MRC file is incomplete.\n");
    EXPECT_EQ(captureStdout(printImagicWrongByteOrder), "File exists and has wrong byte order!\n");
    EXPECT_EQ(captureStdout([] { printImagicCannotWrite("s.img"); }), "Cannot write to s.img!\n");
    EXPECT_EQ(captureStdout([] { printImagicNoFirstRecord("s.hed"); }),
              "Cannot append to s.hed: it does not hold a whole first record\n");
    EXPECT_EQ(captureStdout([] { printImagicNotReal("s.hed", "INTGxx"); }),
              "Cannot append to s.hed: its images are of type INTG, not REAL\n");
    EXPECT_EQ(captureStdout([] { printImagicBadCount("s.hed", -1); }),
              "Cannot append to s.hed: its image count (-1 following) cannot be raised\n");
    EXPECT_EQ(captureStdout([] { printImagicAppendFailed("s.hed"); }),
              "Error writing the stack s.hed: nothing was appended.\n");
    EXPECT_EQ(captureStdout([] { printImagicRestoreFailed("s.hed"); }),
              "Error writing the stack s.hed: its files could not be put back and may be damaged.\n");
}

TEST(FormatsMessages, ConvertedImageTextsAreExact) {
    EXPECT_EQ(captureStdout([] { printCannotOpenPicture("a b.gif"); }), "Cannot open file a b.gif\n");
    EXPECT_EQ(captureStdout(printUnknownFileType), "Sorry, I do not recognize this file type.\n");
    EXPECT_EQ(captureStdout(printInvalidFile), "Invalid file\n");
    EXPECT_EQ(captureStdout([] { printDivisor(0.0f); }), "div=0.000000\n");
    EXPECT_EQ(captureStdout([] { printDivisor(65535.0f); }), "div=65535.000000\n");
    EXPECT_EQ(captureStdout([] { printSampleOutOfRange(11, 2.0f); }), "11,2\n");
    EXPECT_EQ(captureStdout([] { printSampleOutOfRange(0, 1.0666667f); }), "0,1.06667\n");
    EXPECT_EQ(captureStdout(printNameTooLongForConverter), "File name too long for the converter command\n");
    EXPECT_EQ(captureStdout([] { printConverterTooSlow("djpeg", 0.25); }),
              "The converter djpeg was stopped after 0.25 s\n");
    EXPECT_EQ(captureStdout([] { printConverterOutputTooLarge("ppmtopgm", 1073741824LL); }),
              "The converter ppmtopgm was stopped: its output is larger than 1073741824 bytes\n");
    EXPECT_EQ(captureStdout([] { printNothingWrittenToFifo("in.fifo", 3); }),
              "Nothing was written to in.fifo within 3 s\n");
}

TEST(FormatsMessages, BoxDatabaseTextsAreExact) {
    EXPECT_EQ(captureStdout(printNoBoxesToSave), "No boxes to save!\n");
    EXPECT_EQ(captureStdout([] { printUnableToOpenFile("b.dat"); }), "Unable to open file b.dat\n");
    EXPECT_EQ(captureStdout([] { printUnableToWriteFile("b.dat"); }), "Unable to write file b.dat\n");
    EXPECT_EQ(captureStdout([] { printBoxCount(3); }), "3 boxes for this image\n");
}

}  // namespace
}  // namespace tarnview
