#include "analysis/translationalAlignment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "analysis/analysisMessages.h"
#include "analysis/correlationPeak.h"
#include "analysis/spectrumProduct.h"
#include "analysis/translation.h"
#include "fourier/imageFourier.h"

namespace tarnview {

namespace {

// With peakSign 0, chooses the sign from the correlation k and reports it: positive only
// when the maximum lies strictly further from the mean than the minimum.
int decidePeakSign(const Image& k) {
    printCcfRange(k.getMax(), k.getMean(), k.getMin());
    if (k.getMax() - k.getMean() > k.getMean() - k.getMin()) {
        printPositiveCcf();
        return 1;
    }
    printNegativeCcf();
    return -1;
}

}  // namespace

void alignTranslation(const Image& reference, Image* other, int peakSign) {
    peakSign = std::clamp(peakSign, -1, 1);
    if (!other) return;
    if (other->getNx() != reference.getNx() || other->getNy() != reference.getNy()) {
        printAlignSizeMismatch();
        return;
    }
    std::unique_ptr<Image> fa(fft(reference, 1));
    if (!fa) return;
    std::unique_ptr<Image> fb(fft(*other, 1));
    if (!fb) return;
    // Divided by |G|: with signed means G is negative when a mean lies below minus its
    // sigma, which would turn the correlation upside down.
    const double n = double(fa->getNx()) * fa->getNy();
    const double g = (reference.getMeanDouble() + reference.getSigmaDouble()) * (n * n) *
                     (double(other->getMean()) + other->getSigma());
    const int64_t pairs = int64_t(fa->getNx() / 2) * fa->getNy();
    multiplySpectra(fa->getData(), fb->getData(), pairs, std::fabs(usableFactor(g)), 1);
    std::unique_ptr<Image> k(ift(*fa, 1));
    if (!k) return;
    printAlignStart();
    if (peakSign == 0) peakSign = decidePeakSign(*k);
    CorrelationWindow window;
    fillCorrelationWindow(*k, 30, peakSign != 1, window);
    WindowPeak peak;
    if (!findWindowPeak(window, 1, peak)) {
        printNoUsablePeak();
        return;
    }
    printTranslate(peak.dx, peak.dy);
    translateTransformInto(*fb, peak.dx, peak.dy, *other);
}

int alignTranslationPrecise(const Image& reference, Image* other, int upsampling, int phaseNormalised,
                            MeasuredShift* applied) {
    if (!other) return 0;
    MeasuredShift shift;
    if (!measureShift(reference, *other, upsampling, phaseNormalised, shift)) return 0;
    if (!translateImage(*other, shift.dx, shift.dy)) return 0;
    if (applied) *applied = shift;
    return 1;
}

}  // namespace tarnview
