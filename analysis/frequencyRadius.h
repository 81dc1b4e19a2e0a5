#pragma once
// Spatial frequency of a coefficient of a Fourier image.
#include <cmath>
#include <cstdint>

namespace tarnview {

/// The spatial frequency hypot(u, v) of coefficient (u, v), rounded to single precision.
/// For |u| and |v| below 2^26 (any image size) the sum of squares is exact in double,
/// and its square root rounded to double and then to float is the correctly rounded
/// float of the exact frequency (53 bits suffice for a square root to round twice
/// safely); unlike hypotf this form vectorises.
inline float frequencyRadius(int u, int v) {
    return float(std::sqrt(double(u) * double(u) + double(v) * double(v)));
}

}  // namespace tarnview
