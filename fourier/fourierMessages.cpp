#include "fourier/fourierMessages.h"

#include <cstdio>

namespace tarnview {

void printCannotFftOfFft() { std::printf("Cannot do FFT of FFT\n"); }

void printInvalidFftSize() { std::printf("Invalid FFT size!\n"); }

void printCannotIftOfReal() { std::printf("Cannot do IFT of real\n"); }

}  // namespace tarnview
