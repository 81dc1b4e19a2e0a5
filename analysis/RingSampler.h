#pragma once
// Ring profiles: a real image sampled on an annulus around its centre pixel
// (nx/2, ny/2), averaged into n angular bins.
#include <vector>

#include "image/Image.h"

namespace tarnview {

/// Fills buffer (2n floats) from the first section of image for ring radius r: floats
/// 0 ... n - 1 get the bin angles D i (D = 2 pi/n in single precision, radians), floats
/// n ... 2n - 1 the mean pixel of each bin, 0 for a bin without samples. Bin i is sampled
/// at m + 1 angles from D i - D/2 to D i + D/2 in steps of D/m (m = 2 ceil(2 pi r/n)),
/// each at the radii r - 2 ... r + 2; a sample at offset (x, y) (truncated toward zero)
/// counts when -(nx/2) <= x < nx/2 and -(ny/2) <= y < ny/2. Angles are atan2(y, x), the
/// sense in which rotate turns an image by a positive angle. Does nothing when r or n is
/// not positive. Prints nothing.
void ringProfile(const Image& image, float* buffer, int n, int r);

/// ringProfile with its table of sample directions kept between calls, so that profiles
/// of many rings and images reuse it (the table depends only on n and m).
class RingSampler {
  public:
    /// As ringProfile(image, buffer, n, r). Allocates only when n or m differs from the
    /// previous call's.
    void profile(const Image& image, float* buffer, int n, int r);

  private:
    void prepare(int n, int m);

    int tableBins = 0;
    int tableSteps = 0;
    std::vector<double> directions;  // cos, sin of the m + 1 angles of each bin
};

}  // namespace tarnview
