#pragma once
// The tarnview converter: read one image, optionally replace it by its Fourier
// transform, optionally report it, and write it as an 8-bit PGM.

namespace tarnview {

/// Runs the converter on the argument vector and returns the process's exit status:
/// 0 after the PGM step (also when the output cannot be written) or after the -fft
/// refusal of a non-square image; 1 for the usage text and every other failure (among them
/// a "-z" whose value is not a section number, or "-z" without "-mrc"). With "-z N" the
/// MRC input is read with readMrcSection, section N; without it, with readMrc.
int runConverter(int argc, const char* const* argv);

}  // namespace tarnview
