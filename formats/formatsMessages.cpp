#include "formats/formatsMessages.h"

#include "image/messageSink.h"

namespace tarnview {

void printIncompleteDataRead(int got, int expected) {
    emitMessage("Incomplete data read %d/%d blocks\n", got, expected);
}

void printBadImageSize(int nx, int ny, int nz) {
    emitMessage("Bad image size %dx%dx%d\n", nx, ny, nz);
}

void printNothingWrittenToFifo(const char* path, double seconds) {
    emitMessage("Nothing was written to %s within %g s\n", path, seconds);
}

void printCannotOpenFile() {
    emitMessage("Cannot open file\n");
}

void printNameTooLongForDecompressor() {
    emitMessage("File name too long for the decompressor command\n");
}

void printOneDimensionalFile() {
    emitMessage("This appears to be a 1d file. I only read 2d files.\n");
}

void printThreeDimensionalFile() {
    emitMessage("This appears to be a 3d file. I only read 2d files.\n");
}

void printStartNotZero() {
    emitMessage("WARNING: nx/y/z start not zero\n");
}

void printBadMrcFile() {
    emitMessage("Bad MRC file\n");
}

void printShortMrcHeader() {
    emitMessage("The file ends before its 1024-byte MRC header\n");
}

void printNoSuchSection(int section, int nz) {
    emitMessage("There is no section %d: the file's sections are 0 to %d\n", section, nz - 1);
}

void printSalCannotOpen(const char* fileName) {
    emitMessage("Cannot open %s\n", fileName);
}

void printSalSize(const char* headerName, int nx, int ny) {
    emitMessage("%s is %dx%d\n", headerName, nx, ny);
}

void printSalHeaderProblem() {
    emitMessage("Problem reading header.");
}

void printSalBlockLength(int blockLength, int ny) {
    emitMessage("Block length=%d x %d\n", blockLength, ny);
}

void printSalSwapping() {
    emitMessage("Swapping\n");
}

void printSalCornerBlockLength(int blockLength, int ny, int x0, int y0, int width, int height) {
    emitMessage("Block length=%d x %d (%d,%d %d,%d)\n", blockLength, ny, x0, y0, width, height);
}

void printSalSeekError() {
    emitMessage("Seek error!!!\n");
}

void printImagicCannotOpen(const char* fileName) {
    emitMessage("ERROR: cannot open %s\n", fileName);
}

void printImagicUnknownType(const char* type) {
    emitMessage("Unknown type %4.4s.\n", type);
}

void printImageListOutOfMemory() {
    emitMessage("Not enough memory for the image list\n");
}

void printOddComplexRow(int nx) {
    emitMessage("Cannot write a complex image whose rows hold an odd number (%d) of floats\n", nx);
}

void printCannotWriteMrc(const char* path) {
    emitMessage("Error writing %s: the MRC file is incomplete.\n", path);
}

void printImagicWrongByteOrder() {
    emitMessage("File exists and has wrong byte order!\n");
}

void printImagicCannotWrite(const char* fileName) {
    emitMessage("Cannot write to %s!\n", fileName);
}

void printImagicNoFirstRecord(const char* headerName) {
    emitMessage("Cannot append to %s: it does not hold a whole first record\n", headerName);
}

void printImagicNotReal(const char* headerName, const char* type) {
    emitMessage("Cannot append to %s: its images are of type %4.4s, not REAL\n", headerName, type);
}

void printImagicBadCount(const char* headerName, int imagesFollowing) {
    emitMessage("Cannot append to %s: its image count (%d following) cannot be raised\n", headerName,
                imagesFollowing);
}

void printImagicAppendFailed(const char* headerName) {
    emitMessage("Error writing the stack %s: nothing was appended.\n", headerName);
}

void printImagicRestoreFailed(const char* headerName) {
    emitMessage("Error writing the stack %s: its files could not be put back and may be damaged.\n",
                headerName);
}

void printCannotOpenPicture(const char* path) {
    emitMessage("Cannot open file %s\n", path);
}

void printUnknownFileType() {
    emitMessage("Sorry, I do not recognize this file type.\n");
}

void printInvalidFile() {
    emitMessage("Invalid file\n");
}

void printDivisor(float maximum) {
    emitMessage("div=%f\n", double(maximum));
}

void printSampleOutOfRange(int index, float value) {
    emitMessage("%d,%g\n", index, double(value));
}

void printNameTooLongForConverter() {
    emitMessage("File name too long for the converter command\n");
}

void printConverterTooSlow(const char* program, double seconds) {
    emitMessage("The converter %s was stopped after %g s\n", program, seconds);
}

void printConverterOutputTooLarge(const char* program, long long bytes) {
    emitMessage("The converter %s was stopped: its output is larger than %lld bytes\n", program, bytes);
}

void printNoBoxesToSave() {
    emitMessage("No boxes to save!\n");
}

void printUnableToOpenFile(const char* path) {
    emitMessage("Unable to open file %s\n", path);
}

void printUnableToWriteFile(const char* path) {
    emitMessage("Unable to write file %s\n", path);
}

void printBoxCount(int count) {
    emitMessage("%d boxes for this image\n", count);
}

}  // namespace tarnview
