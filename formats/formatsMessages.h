#pragma once
// Messages printed by the readers and writers of the formats folder, each in one place
// with its exact text. An image whose samples cannot be allocated is reported with
// printImageOutOfMemory (image/imageMessages.h).

namespace tarnview {

// Shared by the readers.

/// "Incomplete data read %d/%d blocks\n": a short read of image rows or blocks; the
/// count of rows, items or blocks that arrived, and the count expected.
void printIncompleteDataRead(int got, int expected);
/// "Bad image size %dx%dx%d\n": sizes of 0 or below, or more than 2^31 - 1 samples.
void printBadImageSize(int nx, int ny, int nz);

/// "Nothing was written to %s within %g s\n": a FIFO that gave no data and no end of
/// its writer within the wait (in seconds).
void printNothingWrittenToFifo(const char* path, double seconds);

// MRC reader.

/// "Cannot open file\n"
void printCannotOpenFile();
/// A compressed file whose name is too long for the decompressor command.
void printNameTooLongForDecompressor();
/// "This appears to be a 1d file. I only read 2d files.\n"
void printOneDimensionalFile();
/// "This appears to be a 3d file. I only read 2d files.\n"
void printThreeDimensionalFile();
/// "WARNING: nx/y/z start not zero\n"
void printStartNotZero();
/// "Bad MRC file\n"
void printBadMrcFile();
/// "The file ends before its 1024-byte MRC header\n": the section reader and the section
/// count (the 2-D reader fails silently there).
void printShortMrcHeader();
/// "There is no section %d: the file's sections are 0 to %d\n": a section index outside
/// the file's nz sections (the second number is nz - 1).
void printNoSuchSection(int section, int nz);

// ScansALot reader.

/// "Cannot open %s\n": a scan's header or data file cannot be opened.
void printSalCannotOpen(const char* fileName);
/// "%s is %dx%d\n": the scan's header file name and size (-1 when not given).
void printSalSize(const char* headerName, int nx, int ny);
/// "Problem reading header." without a line end: the header gives no usable size.
void printSalHeaderProblem();
/// "Block length=%d x %d\n": bytes per stored row and the number of rows.
void printSalBlockLength(int blockLength, int ny);
/// "Swapping\n": the corner reader found a serpentine scan.
void printSalSwapping();
/// "Block length=%d x %d (%d,%d %d,%d)\n": the corner reader's block length, rows and
/// region (first column, first row, width, height).
void printSalCornerBlockLength(int blockLength, int ny, int x0, int y0, int width, int height);
/// "Seek error!!!\n": the corner reader cannot seek to the region's first row.
void printSalSeekError();

// IMAGIC reader and image list.

/// "ERROR: cannot open %s\n": a stack's header or data file cannot be opened.
void printImagicCannotOpen(const char* fileName);
/// "Unknown type %4.4s.\n": the stack's type field (4 bytes, not terminated) is neither
/// REAL nor INTG.
void printImagicUnknownType(const char* type);
/// "Not enough memory for the image list\n".
void printImageListOutOfMemory();

// MRC and IMAGIC writers.

/// A complex image whose rows hold an odd number of floats, which no MRC header describes.
void printOddComplexRow(int nx);
/// An MRC file whose bytes could not all be written or whose file could not be closed.
void printCannotWriteMrc(const char* path);
/// "File exists and has wrong byte order!\n"
void printImagicWrongByteOrder();
/// "Cannot write to %s!\n": a stack's header or data file cannot be opened for writing.
void printImagicCannotWrite(const char* fileName);
/// An existing stack header file too short to hold its first record.
void printImagicNoFirstRecord(const char* headerName);
/// An existing stack whose type (4 bytes, not terminated) is not REAL.
void printImagicNotReal(const char* headerName, const char* type);
/// An existing stack whose image count is negative or cannot be raised.
void printImagicBadCount(const char* headerName, int imagesFollowing);
/// A failed append whose files were put back as they were.
void printImagicAppendFailed(const char* headerName);
/// A failed append whose files could not all be put back.
void printImagicRestoreFailed(const char* headerName);

// Converted-image reader.

/// "Cannot open file %s\n": the picture to convert cannot be opened.
void printCannotOpenPicture(const char* path);
/// "Sorry, I do not recognize this file type.\n": neither the file nor its converter's
/// output is a raw PGM.
void printUnknownFileType();
/// "Invalid file\n": the PGM header gives no usable size or maximum value.
void printInvalidFile();
/// "div=%f\n": the PGM's maximum value, as read.
void printDivisor(float maximum);
/// "%d,%g\n": a sample outside 0 ... 1 (a byte above the maximum value) and its value.
void printSampleOutOfRange(int index, float value);
/// A picture whose name is too long for its converter command.
void printNameTooLongForConverter();
/// "The converter %s was stopped after %g s\n": it had not delivered its picture
/// within the time its run is given.
void printConverterTooSlow(const char* program, double seconds);
/// "The converter %s was stopped: its output is larger than %lld bytes\n"
void printConverterOutputTooLarge(const char* program, long long bytes);

// Box database.

/// "No boxes to save!\n"
void printNoBoxesToSave();
/// "Unable to open file %s\n": the box database cannot be created or opened.
void printUnableToOpenFile(const char* path);
/// A box database that could not be written completely.
void printUnableToWriteFile(const char* path);
/// "%d boxes for this image\n": the boxes in the list after reading a box database.
void printBoxCount(int count);

}  // namespace tarnview
