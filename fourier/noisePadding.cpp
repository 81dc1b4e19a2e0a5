#include "fourier/noisePadding.h"

#include <cstdint>
#include <cstring>

#include "fourier/fourierMessages.h"
#include "fourier/random.h"
#include "image/imageMessages.h"

namespace tarnview {

int padWithNoise(Image& image, int noise, int newNx, int newNy) {
    const int64_t dx = int64_t(newNx) - image.getNx();
    const int64_t dy = int64_t(newNy) - image.getNy();
    // Any odd difference, also a negative one, is refused with the even-padding message.
    if (dx % 2 != 0 || dy % 2 != 0) {
        printMustPadEven();
        return 0;
    }
    if (dx < 0 || dy < 0) {
        printCannotPadSmaller(image.getNx(), image.getNy(), newNx, newNy);
        return 0;
    }
    return padWithNoiseAt(image, noise, newNx, newNy, int(dx / 2), int(dy / 2));
}

int padWithNoiseAt(Image& image, int noise, int newNx, int newNy, int left, int below) {
    const int nx = image.getNx(), ny = image.getNy();
    const int64_t dx = int64_t(newNx) - nx, dy = int64_t(newNy) - ny;
    if (dx < 0 || dy < 0 || left < 0 || below < 0 || left > dx || below > dy) {
        printCannotPadSmaller(nx, ny, newNx, newNy);
        return 0;
    }
    // The fill values come from the statistics as they stand, converted to float.
    const float mean = image.getMean(), sigma = image.getSigma();
    if (!image.resize(newNx, newNy, 1)) {
        printImageOutOfMemory(newNx, newNy, 1);
        return 0;
    }
    float* data = image.getData();
    const int right = int(dx) - left;
    const int above = int(dy) - below;

    // Move the picture into place from its last row to its first: every row moves to
    // an equal or later address, so nothing is overwritten before it is read.
    for (int64_t y = ny - 1; y >= 0; y--)
        std::memmove(data + (below + y) * newNx + left, data + y * nx, size_t(nx) * sizeof(float));

    auto fill = [&](float* p, int64_t count) {
        for (int64_t i = 0; i < count; i++) p[i] = noise ? gaussianRandom(mean, sigma) : mean;
    };
    for (int64_t y = below; y < below + ny; y++) {
        fill(data + y * newNx, left);
        fill(data + y * newNx + newNx - right, right);
    }
    fill(data, int64_t(below) * newNx);
    fill(data + (int64_t(below) + ny) * newNx, int64_t(above) * newNx);

    image.updateStatistics();
    return 1;
}

}  // namespace tarnview
