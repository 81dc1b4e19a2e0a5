#include "analysis/crossCorrelation.h"

#include <cmath>
#include <cstdint>
#include <memory>

#include "analysis/analysisMessages.h"
#include "analysis/spectrumProduct.h"
#include "fourier/imageFourier.h"

namespace tarnview {

Image* crossCorrelate(const Image& image, const Image* other) {
    if (other && (other->getNx() != image.getNx() || other->getNy() != image.getNy())) {
        printCcfSizeMismatch();
        return nullptr;
    }
    std::unique_ptr<Image> fa(fft(image, 1));
    if (!fa) return nullptr;
    std::unique_ptr<Image> fb;
    if (other) {
        fb.reset(fft(*other, 1));
        if (!fb) return nullptr;
    }
    // The normalisation: the first image's statistics in double, the second's as floats.
    const double n = double(fa->getNx()) * fa->getNy();
    const double a = image.getMeanDouble(), sa = image.getSigmaDouble();
    double factor = 0;
    if (other) {
        const double b = other->getMean(), sb = other->getSigma();
        factor = (std::fabs(a) + sa) * (n * n) * (std::fabs(b) + sb);
    } else {
        factor = (a + sa) * (a + sa) * (n * n);
    }
    const int64_t pairs = int64_t(fa->getNx() / 2) * fa->getNy();
    multiplySpectra(fa->getData(), other ? fb->getData() : fa->getData(), pairs, usableFactor(factor),
                    other ? 1 : 0);
    std::unique_ptr<Image> ccf(ift(*fa, 1));
    if (!ccf) return nullptr;
    ccf->setName("CCF");
    ccf->setPath("/tmp/lorikit.ccf");
    return ccf.release();
}

}  // namespace tarnview
