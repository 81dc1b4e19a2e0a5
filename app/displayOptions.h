#pragma once
// The converter's display options: -bin N as the image is read, -psd (with -tile N) in
// place of the image, and the contrast rules -sigma K and -saturate P before -min/-max.
#include <memory>

#include "app/commandLine.h"
#include "image/Image.h"

namespace tarnview {

/// Replaces image by its n x n binning (binImage) when -bin asked for more than 1.
/// False after the binning's message when it is refused.
bool binAsRead(const DisplayOptions& options, std::unique_ptr<Image>& image);

/// Replaces image by its averaged power spectrum (powerSpectrum with the -tile side).
/// False after the spectrum's messages when it is refused.
bool replaceByPowerSpectrum(const DisplayOptions& options, std::unique_ptr<Image>& image);

/// Sets the image's grey limits by the contrast rule: -sigma, -saturate, or for a power
/// spectrum without either the saturation of 1 % at each end; otherwise the limits stay.
/// False after the rule's message when its value is refused.
bool applyContrastRule(const DisplayOptions& options, Image& image);

}  // namespace tarnview
