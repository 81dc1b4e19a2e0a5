#include "formats/formatsMessages.h"

#include <cstdio>

namespace tarnview {

void printIncompleteDataRead(int got, int expected) {
    std::printf("Incomplete data read %d/%d blocks\n", got, expected);
}

void printBadImageSize(int nx, int ny, int nz) {
    std::printf("Bad image size %dx%dx%d\n", nx, ny, nz);
}

void printCannotOpenFile() {
    std::printf("Cannot open file\n");
}

void printNameTooLongForDecompressor() {
    std::printf("File name too long for the decompressor command\n");
}

void printOneDimensionalFile() {
    std::printf("This appears to be a 1d file. I only read 2d files.\n");
}

void printThreeDimensionalFile() {
    std::printf("This appears to be a 3d file. I only read 2d files.\n");
}

void printStartNotZero() {
    std::printf("WARNING: nx/y/z start not zero\n");
}

void printBadMrcFile() {
    std::printf("Bad MRC file\n");
}

void printSalCannotOpen(const char* fileName) {
    std::printf("Cannot open %s\n", fileName);
}

void printSalSize(const char* headerName, int nx, int ny) {
    std::printf("%s is %dx%d\n", headerName, nx, ny);
}

void printSalHeaderProblem() {
    std::printf("Problem reading header.");
}

void printSalBlockLength(int blockLength, int ny) {
    std::printf("Block length=%d x %d\n", blockLength, ny);
}

void printSalSwapping() {
    std::printf("Swapping\n");
}

void printSalCornerBlockLength(int blockLength, int ny, int x0, int y0, int width, int height) {
    std::printf("Block length=%d x %d (%d,%d %d,%d)\n", blockLength, ny, x0, y0, width, height);
}

void printSalSeekError() {
    std::printf("Seek error!!!\n");
}

void printImagicCannotOpen(const char* fileName) {
    std::printf("ERROR: cannot open %s\n", fileName);
}

void printImagicUnknownType(const char* type) {
    std::printf("Unknown type %4.4s.\n", type);
}

void printImageListOutOfMemory() {
    std::printf("Not enough memory for the image list\n");
}

void printOddComplexRow(int nx) {
    std::printf("Cannot write a complex image whose rows hold an odd number (%d) of floats\n", nx);
}

void printCannotWriteMrc(const char* path) {
    std::printf("Error writing %s: the MRC file is incomplete.\n", path);
}

void printImagicWrongByteOrder() {
    std::printf("File exists and has wrong byte order!\n");
}

void printImagicCannotWrite(const char* fileName) {
    std::printf("Cannot write to %s!\n", fileName);
}

void printImagicNoFirstRecord(const char* headerName) {
    std::printf("Cannot append to %s: it does not hold a whole first record\n", headerName);
}

void printImagicNotReal(const char* headerName, const char* type) {
    std::printf("Cannot append to %s: its images are of type %4.4s, not REAL\n", headerName, type);
}

void printImagicBadCount(const char* headerName, int imagesFollowing) {
    std::printf("Cannot append to %s: its image count (%d following) cannot be raised\n", headerName,
                imagesFollowing);
}

void printImagicAppendFailed(const char* headerName) {
    std::printf("Error writing the stack %s: nothing was appended.\n", headerName);
}

void printImagicRestoreFailed(const char* headerName) {
    std::printf("Error writing the stack %s: its files could not be put back and may be damaged.\n",
                headerName);
}

void printCannotOpenPicture(const char* path) {
    std::printf("Cannot open file %s\n", path);
}

void printUnknownFileType() {
    std::printf("Sorry, I do not recognize this file type.\n");
}

void printInvalidFile() {
    std::printf("Invalid file\n");
}

void printDivisor(float maximum) {
    std::printf("div=%f\n", double(maximum));
}

void printSampleOutOfRange(int index, float value) {
    std::printf("%d,%g\n", index, double(value));
}

void printNameTooLongForConverter() {
    std::printf("File name too long for the converter command\n");
}

void printNoBoxesToSave() {
    std::printf("No boxes to save!\n");
}

void printUnableToOpenFile(const char* path) {
    std::printf("Unable to open file %s\n", path);
}

void printUnableToWriteFile(const char* path) {
    std::printf("Unable to write file %s\n", path);
}

void printBoxCount(int count) {
    std::printf("%d boxes for this image\n", count);
}

}  // namespace tarnview
