#pragma once
// Default greyscale limits chosen from the shape of an image's histogram.

namespace tarnview {

struct GreyLimits {
    float low;
    float high;
};

/// The limits enclosing the run of bins around the histogram's main peak (or a later
/// peak at least a quarter as high) that stay above a tenth of the average of the bins
/// two places either side of it, mapped from bin numbers to values on the 256-step scale
/// of [histMin, histMax]. minSample is the image's smallest sample (the start of the
/// search for a later peak). NaN or |high| > 1e10 gives (-1, 1).
GreyLimits defaultGreyLimits(const float bins[256], float minSample, float histMin, float histMax);

}  // namespace tarnview
