#include "fourier/fourierMessages.h"

#include "image/messageSink.h"

namespace tarnview {

void printCannotFftOfFft() {
    emitMessage("Cannot do FFT of FFT\n");
}

void printInvalidFftSize() {
    emitMessage("Invalid FFT size!\n");
}

void printCannotIftOfReal() {
    emitMessage("Cannot do IFT of real\n");
}

void printMustPadEven() {
    emitMessage("Must pad an even number of pixels\n");
}

void printCannotPadSmaller(int nx, int ny, int newNx, int newNy) {
    emitMessage("Cannot pad a %d x %d image to %d x %d: padding only enlarges an image.\n", nx, ny, newNx,
                newNy);
}

}  // namespace tarnview
