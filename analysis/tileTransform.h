#pragma once
// The forward 2-D transform of square real tiles, for the averaged power spectrum. It
// computes what fftRealToComplex2d (rows) followed by fftComplex2d (columns) computes,
// but runs both passes as batches of adjacent transforms (the engine's vectorised path):
// the tile is written with its rows as columns of packed pairs, transformed, and the
// row coefficients separated straight into the usual layout.
#include <cstdint>
#include <vector>

namespace tarnview {

class TileTransform {
  public:
    /// Tiles of side n: even, with n/2 and n valid transform lengths (fftAcceptsSize).
    /// Allocates its buffers (std::bad_alloc when memory runs out).
    explicit TileTransform(int n);

    /// The transform with kernel exp(+2 pi i ...) of (tile - offset) x windowX[x] x
    /// windowY[y], tile being n rows of n floats stride floats apart, into out: n rows
    /// (natural order) of n/2 + 1 coefficients (n + 2 floats). Returns the sum of the n x n
    /// samples of tile, in double.
    double forward(const float* tile, int64_t stride, float offset, const float* windowX,
                   const float* windowY, float* out);

  private:
    int n;
    std::vector<float> packed;   // n/2 rows of n complex values: row j holds pair j of every tile row
    std::vector<float> twiddle;  // cos, sin of 2 pi k / n for k = 0 ... n/2
};

}  // namespace tarnview
