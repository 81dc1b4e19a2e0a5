#pragma once
// Messages printed by the Fourier subsystem, each in one place with its exact text.

namespace tarnview {

/// "Cannot do FFT of FFT\n"
void printCannotFftOfFft();
/// "Invalid FFT size!\n"
void printInvalidFftSize();
/// "Cannot do IFT of real\n"
void printCannotIftOfReal();
/// "Must pad an even number of pixels\n"
void printMustPadEven();
/// A padding request smaller than the image, or margins that do not fit.
void printCannotPadSmaller(int nx, int ny, int newNx, int newNy);

}  // namespace tarnview
