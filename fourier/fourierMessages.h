#pragma once
// Messages printed by the Fourier subsystem, each in one place with its exact text.

namespace tarnview {

/// "Cannot do FFT of FFT\n"
void printCannotFftOfFft();
/// "Invalid FFT size!\n"
void printInvalidFftSize();
/// "Cannot do IFT of real\n"
void printCannotIftOfReal();

}  // namespace tarnview
