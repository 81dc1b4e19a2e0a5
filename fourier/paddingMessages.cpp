#include "fourier/paddingMessages.h"

#include <cstdio>

namespace tarnview {

void printMustPadEven() { std::printf("Must pad an even number of pixels\n"); }

void printCannotPadSmaller(int nx, int ny, int newNx, int newNy) {
    std::printf("Cannot pad a %d x %d image to %d x %d: padding only enlarges an image.\n", nx, ny, newNx, newNy);
}

void printCannotAllocate(int nx, int ny) {
    std::printf("Out of memory: cannot make an image of %d x %d.\n", nx, ny);
}

}  // namespace tarnview
