#pragma once
// Messages printed by the MRC and IMAGIC writers, each in one place with its exact text.

namespace tarnview {

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

}  // namespace tarnview
