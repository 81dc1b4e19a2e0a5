#include "analysis/centring.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "analysis/analysisMessages.h"
#include "analysis/correlationPeak.h"
#include "analysis/spectrumProduct.h"
#include "analysis/translation.h"
#include "fourier/imageFourier.h"

namespace tarnview {

namespace {

// The self-convolution of the image whose real/imaginary transform is f, divided by
// (mean + sigma)^2 N^2 with the image's signed mean; null when memory runs out.
std::unique_ptr<Image> selfConvolution(const Image& image, const Image& f) {
    auto product = std::make_unique<Image>(metadataCopy, f);
    const int width = f.getNx(), ny = f.getNy();
    if (!product->resize(width, ny, 1)) return nullptr;
    product->setFlags(complexFlag);
    const int64_t floats = int64_t(width) * ny;
    std::memcpy(product->getData(), f.getData(), size_t(floats) * sizeof(float));
    const double n = double(floats);
    const double base = image.getMeanDouble() + image.getSigmaDouble();
    float* data = product->getData();
    multiplySpectra(data, data, floats / 2, usableFactor(base * base * (n * n)), 0);
    return std::unique_ptr<Image>(ift(*product, 1));
}

}  // namespace

void centre(Image& image, int toOrigin) {
    std::unique_ptr<Image> f(fft(image, 1));
    if (!f) return;
    std::unique_ptr<Image> k = selfConvolution(image, *f);
    if (!k) return;
    printCentreStart();
    // A tie counts as a positive peak here.
    const bool negative = k->getMax() - k->getMean() < k->getMean() - k->getMin();
    if (negative) printNegativePeak();
    CorrelationWindow window;
    fillCorrelationWindow(*k, 31, negative, window);
    WindowPeak peak;
    if (!findWindowPeak(window, 0, peak)) {
        printNoUsablePeak();
        return;
    }
    printCentrePeak(peak.x - 30, peak.y - 30);
    printTranslate(peak.dx, peak.dy);
    float tx = -0.5f * peak.dx;
    float ty = -0.5f * peak.dy;
    if (toOrigin) {
        // From the grid centre on to pixel (0, 0), for odd sizes too.
        tx = float(tx - (image.getNx() - 1) / 2.0);
        ty = float(ty - (image.getNy() - 1) / 2.0);
    }
    translateTransformInto(*f, tx, ty, image);
}

}  // namespace tarnview
