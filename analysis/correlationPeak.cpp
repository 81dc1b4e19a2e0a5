#include "analysis/correlationPeak.h"

#include <cmath>
#include <cstdint>

namespace tarnview {

namespace {

constexpr int firstCell = 3;
constexpr int lastCell = 56;
constexpr int massRadius = 3;

// The mathematical modulo: in 0 ... n - 1 for any a and n > 0.
int64_t wrap(int64_t a, int64_t n) {
    const int64_t r = a % n;
    return r < 0 ? r + n : r;
}

struct Extremes {
    int x = -1;
    int y = -1;
    float largest = -1e20f;
    float smallest = 1e20f;
};

Extremes findExtremes(const CorrelationWindow& window) {
    Extremes e;
    for (int i = firstCell; i <= lastCell; i++)
        for (int j = firstCell; j <= lastCell; j++) {
            const float v = window.cells[i][j];
            if (v > e.largest) {
                e.largest = v;
                e.x = i;
                e.y = j;
            }
            if (v < e.smallest) e.smallest = v;
        }
    return e;
}

}  // namespace

void fillCorrelationWindow(const Image& ccf, int zeroCell, int negate, CorrelationWindow& window) {
    const int64_t nx = ccf.getNx(), ny = ccf.getNy();
    const float* data = ccf.getData();
    for (int i = 0; i < correlationWindowSide; i++) {
        const int64_t x = wrap(i - zeroCell, nx);
        for (int j = 0; j < correlationWindowSide; j++) {
            const float v = data[wrap(j - zeroCell, ny) * nx + x];
            window.cells[i][j] = negate ? -v : v;
        }
    }
}

int findWindowPeak(const CorrelationWindow& window, int singleY, WindowPeak& peak) {
    const Extremes e = findExtremes(window);
    if (e.x < 0) return 0;
    double sx = 0, sum = 0, sy = 0;
    float syFloat = 0;
    for (int i = e.x - massRadius; i <= e.x + massRadius; i++)
        for (int j = e.y - massRadius; j <= e.y + massRadius; j++) {
            const float w = window.cells[i][j] - e.smallest;
            sx += double(i) * w;
            sy += double(j) * w;
            syFloat += float(j) * w;
            sum += w;
        }
    if (!(sum > 0)) return 0;
    const float dx = float(sx / sum - 30);
    const float dy = float((singleY ? double(syFloat) : sy) / sum - 30);
    if (!std::isfinite(dx) || !std::isfinite(dy)) return 0;
    peak.x = e.x;
    peak.y = e.y;
    peak.dx = dx;
    peak.dy = dy;
    return 1;
}

}  // namespace tarnview
