#include "formats/mrcMessages.h"

#include <cstdio>

namespace tarnview {

void printCannotOpenFile() { std::printf("Cannot open file\n"); }

void printNameTooLongForDecompressor() { std::printf("File name too long for the decompressor command\n"); }

void printOneDimensionalFile() { std::printf("This appears to be a 1d file. I only read 2d files.\n"); }

void printThreeDimensionalFile() { std::printf("This appears to be a 3d file. I only read 2d files.\n"); }

void printStartNotZero() { std::printf("WARNING: nx/y/z start not zero\n"); }

void printBadMrcFile() { std::printf("Bad MRC file\n"); }

void printIncompleteDataRead(int got, int expected) {
    std::printf("Incomplete data read %d/%d blocks\n", got, expected);
}

void printNoMemoryForImage(int nx, int ny) { std::printf("Not enough memory for a %d x %d image\n", nx, ny); }

}  // namespace tarnview
