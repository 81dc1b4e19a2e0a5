#include "formats/salImagicMessages.h"

#include <cstdio>

namespace tarnview {

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

void printIncompleteRowRead(int blocksRead, int blocksWanted) {
    std::printf("Incomplete data read %d/%d blocks\n", blocksRead, blocksWanted);
}

void printImagicCannotOpen(const char* fileName) {
    std::printf("ERROR: cannot open %s\n", fileName);
}

void printImagicUnknownType(const char* type) {
    std::printf("Unknown type %4.4s.\n", type);
}

void printBadImageSize(int nx, int ny, int nz) {
    std::printf("Bad image size %dx%dx%d\n", nx, ny, nz);
}

void printImageOutOfMemory(int nx, int ny, int nz) {
    std::printf("Not enough memory for a %dx%dx%d image\n", nx, ny, nz);
}

void printImageListOutOfMemory() {
    std::printf("Not enough memory for the image list\n");
}

}  // namespace tarnview
