#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/shiftMeasurement.h"
#include "tests/analysis/testImages.h"
#include "tests/support/testSupport.h"

namespace tarnview {
namespace {

// f(x) g(y) with every frequency but the Nyquist one present in f and g at comparable
// amplitudes: broad-band (so that the phase correlation is not dominated by rounding
// noise) and exactly shiftable.
struct SeparableImage {
    int nx, ny;
    std::vector<double> ampX, phaseX, ampY, phaseY;

    SeparableImage(int nx_, int ny_, unsigned seed) : nx(nx_), ny(ny_) {
        std::mt19937 generator(seed);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        for (int k = 0; k <= (nx - 1) / 2; k++) ampX.push_back(0.5 + uniform(generator));
        for (int k = 0; k <= (nx - 1) / 2; k++) phaseX.push_back(2 * M_PI * uniform(generator));
        for (int k = 0; k <= (ny - 1) / 2; k++) ampY.push_back(0.5 + uniform(generator));
        for (int k = 0; k <= (ny - 1) / 2; k++) phaseY.push_back(2 * M_PI * uniform(generator));
    }
    static double series(const std::vector<double>& amp, const std::vector<double>& phase, double t, int n) {
        double sum = 0;
        for (size_t k = 0; k < amp.size(); k++)
            sum += amp[k] * std::cos(2 * M_PI * double(k) * t / n + phase[k]);
        return sum;
    }
    std::unique_ptr<Image> moved(double tx, double ty) const {
        return test::imageOf(nx, ny, [&](int x, int y) {
            return series(ampX, phaseX, x - tx, nx) * series(ampY, phaseY, y - ty, ny);
        });
    }
};

// Shifts of reference onto other: other = reference moved by t, so the measured shift is -t.
const double shifts[][2] = {{0.37, -1.52}, {-25.31, 17.45}, {3.005, 0.995}, {-0.5, 0.5}, {11.77, -20.13}};

// The grid of 1/100 pixel bounds the error by 0.005 each way. The empty Nyquist row and
// column hold rounding noise only, which the phase correlation must leave out rather than
// lift to full weight (it would add about 0.003 pixel).
TEST(MeasureShift, FindsKnownSubPixelShiftsToTheUpsampling) {
    for (int phase : {0, 1}) {
        const double largest = 0.0075, rms = 0.005;
        for (auto [nx, ny] : {std::pair{60, 48}, std::pair{16, 45}}) {
            SeparableImage pattern(nx, ny, unsigned(nx * ny + phase));
            auto reference = pattern.moved(0, 0);
            double squares = 0;
            for (const double* t : shifts) {
                const double tx = test::wrapped(t[0], nx), ty = test::wrapped(t[1], ny);
                auto other = pattern.moved(tx, ty);
                MeasuredShift m;
                ASSERT_EQ(measureShift(*reference, *other, 100, phase, m), 1);
                const double ex = test::wrapped(m.dx + tx, nx), ey = test::wrapped(m.dy + ty, ny);
                EXPECT_LT(std::hypot(ex, ey), largest) << phase << " " << nx << "x" << ny << " " << t[0];
                squares += ex * ex + ey * ey;
            }
            EXPECT_LT(std::sqrt(squares / 5), rms) << phase << " " << nx << "x" << ny;
        }
    }
}

TEST(MeasureShift, PeakIsTheCorrelationAtTheShiftAndWholePixelsWithoutUpsampling) {
    SeparableImage pattern(36, 30, 5);
    auto reference = pattern.moved(0, 0), other = pattern.moved(-4.3, 2.2);
    double squares = 0;
    for (int i = 0; i < 36 * 30; i++) squares += double(reference->getData()[i]) * reference->getData()[i];
    MeasuredShift m;
    ASSERT_EQ(measureShift(*reference, *other, 1000, 0, m), 1);
    EXPECT_NEAR(m.peak, squares, 1e-4 * squares);
    EXPECT_NEAR(m.dx, 4.3, 0.001);
    ASSERT_EQ(measureShift(*reference, *other, 1000, 1, m), 1);
    EXPECT_GT(m.peak, 0.9);
    EXPECT_LT(m.peak, 1.0 + 1e-6);
    ASSERT_EQ(measureShift(*reference, *other, 0, 0, m), 1);
    EXPECT_EQ(m.dx, 4);
    EXPECT_EQ(m.dy, -2);
}

TEST(MeasureShift, RefusesMismatchesAndCorrelationsWithoutAPeak) {
    SeparableImage pattern(20, 18, 6);
    auto reference = pattern.moved(0, 0), other = test::imageOf(18, 20, [](int, int) { return 1.0; });
    MeasuredShift m;
    EXPECT_EQ(test::captureStdout([&] { EXPECT_EQ(measureShift(*reference, *other, 10, 0, m), 0); }),
              "Shift: Images must be the same size.\n");
    auto broken = pattern.moved(0, 0);
    broken->getData()[5] = NAN;
    const std::string out =
        test::captureStdout([&] { EXPECT_EQ(measureShift(*reference, *broken, 10, 0, m), 0); });
    const std::string last = "Shift: no usable correlation peak\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last);
}

}  // namespace
}  // namespace tarnview
