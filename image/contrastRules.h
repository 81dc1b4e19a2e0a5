#pragma once
// Grey-limit rules beside the histogram-peak default (GreyLimits.h): mean +- k sigma, and
// saturated percentiles. Neither changes the image; the caller applies the limits with
// setGreyLimits. Both count the samples the statistics count: every float of a real
// image, the first float of each pair of a complex one.
#include <optional>

#include "image/GreyLimits.h"
#include "image/Image.h"

namespace tarnview {

/// (mean - k sigma, mean + k sigma) from the image's current statistics (mean and sigma
/// in double, each limit rounded to float once). Empty after
/// "Cannot set grey limits at mean +- %g sigma: the factor must be a positive number\n"
/// when k is not a finite number above 0.
std::optional<GreyLimits> sigmaGreyLimits(const Image& image, double k);

/// The samples in a fine histogram of percentileBins bins over the finite samples' range
/// visited in full, give the limits below which percent of the samples lie (low) and
/// above which percent lie (high), interpolated within a bin, so each limit is within
/// one bin width ((max - min) / percentileBins) of the exact order statistic. Samples
/// that are not finite numbers are left out. percent 0 gives the smallest and largest
/// finite samples; equal samples give equal limits. Empty after a message when percent is
/// not from 0 to below 50, or when the image has no finite sample.
std::optional<GreyLimits> percentileGreyLimits(const Image& image, double percent);

/// The bins of percentileGreyLimits' histogram.
inline constexpr int percentileBins = 65536;

}  // namespace tarnview
