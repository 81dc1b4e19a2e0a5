#include "app/fftOption.h"

#include "app/appMessages.h"
#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "fourier/noisePadding.h"

namespace tarnview {

int converterFftSide(int n) {
    for (int64_t side = n < 1 ? 1 : n; side <= fftLargestSize; side++)
        if (fftAcceptsSize(side, side)) return int(side);
    return -1;
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
