#include "app/fftOption.h"

#include "app/appMessages.h"
#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "fourier/noisePadding.h"

namespace tarnview {

int converterFftSide(int n) {
    int side = fftSizeAtLeast(n);
    while (side > 0 && side % 2 != 0) {
        const int next = fftSizeAtLeast(side + 1);
        if (next <= side) return -1;
        side = next;
    }
    return side >= n ? side : -1;
}

FftOutcome replaceByFourierTransform(std::unique_ptr<Image>& image) {
    const int n = image->getNx();
    if (n != image->getNy()) {
        printNotSquare();
        return FftOutcome::notSquare;
    }
    const int side = converterFftSide(n);
    if (side > 0 && side != n) {
        printPaddedToValidSize(side);
        // An odd difference (odd side) puts the extra column and row after the picture.
        const int margin = (side - n) / 2;
        padWithNoiseAt(*image, 1, side, side, margin, margin);
    }
    Image* transform = fft(*image, 0);
    if (transform == nullptr) {
        printFftUnsuccessful();
        return FftOutcome::failed;
    }
    image.reset(transform);
    return FftOutcome::transformed;
}

}  // namespace tarnview
