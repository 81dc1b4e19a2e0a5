#include "app/displayOptions.h"

#include <optional>

#include "analysis/binning.h"
#include "analysis/powerSpectrum.h"
#include "image/contrastRules.h"

namespace tarnview {

namespace {

// The saturation a power spectrum is shown with when no rule is given: the rings are a
// small modulation around the background, which the histogram-peak limits clip.
constexpr double spectrumSaturation = 1.0;

}  // namespace

bool binAsRead(const DisplayOptions& options, std::unique_ptr<Image>& image) {
    if (options.bin == 1) return true;
    Image* binned = binImage(*image, options.bin);
    if (binned == nullptr) return false;
    image.reset(binned);
    return true;
}

bool replaceByPowerSpectrum(const DisplayOptions& options, std::unique_ptr<Image>& image) {
    Image* spectrum = powerSpectrum(*image, options.tile);
    if (spectrum == nullptr) return false;
    image.reset(spectrum);
    return true;
}

bool applyContrastRule(const DisplayOptions& options, Image& image) {
    std::optional<GreyLimits> limits;
    if (options.rule == sigmaRule)
        limits = sigmaGreyLimits(image, options.ruleValue);
    else if (options.rule == saturateRule || options.psd)
        limits = percentileGreyLimits(image,
                                      options.rule == saturateRule ? options.ruleValue : spectrumSaturation);
    else
        return true;
    if (!limits) return false;
    image.setGreyLimits(limits->low, limits->high);
    return true;
}

}  // namespace tarnview
