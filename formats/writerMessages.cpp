#include "formats/writerMessages.h"

#include <cstdio>

namespace tarnview {

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

}  // namespace tarnview
