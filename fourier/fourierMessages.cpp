#include "fourier/fourierMessages.h"

#include <cstdio>

namespace tarnview {

void printCannotFftOfFft() {
    std::printf("Cannot do FFT of FFT\n");
}

void printInvalidFftSize() {
    std::printf("Invalid FFT size!\n");
}

void printCannotIftOfReal() {
    std::printf("Cannot do IFT of real\n");
}

void printMustPadEven() {
    std::printf("Must pad an even number of pixels\n");
}

void printCannotPadSmaller(int nx, int ny, int newNx, int newNy) {
    std::printf("Cannot pad a %d x %d image to %d x %d: padding only enlarges an image.\n", nx, ny, newNx,
                newNy);
}

}  // namespace tarnview
