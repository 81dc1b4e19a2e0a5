#pragma once
// The converter's -fft option: the image is replaced by its Fourier transform
// (amplitude/phase pairs), after padding it with noise to a valid transform size.
#include <memory>

#include "image/Image.h"

namespace tarnview {

enum class FftOutcome {
    transformed,  // image now holds the transform
    notSquare,    // refused with a message; the converter exits with 0
    failed,       // the transform failed, with its messages; the converter exits with 1
};

/// The side the converter transforms an n x n image at: the smallest side from n up
/// whose square image fft accepts (fftAcceptsSize: a valid transform length, even), or
/// -1 when there is none.
int converterFftSide(int n);

/// Replaces image by its transform, padding it with noise first when its side is not
/// converterFftSide(side). Prints "Sorry, I can only do FFTs of square images.\n", the
/// two padding messages, or "FFT unsuccessful.\n".
FftOutcome replaceByFourierTransform(std::unique_ptr<Image>& image);

}  // namespace tarnview
