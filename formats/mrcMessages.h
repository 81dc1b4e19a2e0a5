#pragma once
// Messages printed by the MRC reader, each in one place with its exact text.

namespace tarnview {

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
/// "Incomplete data read %d/%d blocks\n": rows the failing read returned, rows expected.
void printIncompleteDataRead(int got, int expected);
/// An image whose samples could not be allocated.
void printNoMemoryForImage(int nx, int ny);

}  // namespace tarnview
