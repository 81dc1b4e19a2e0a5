// measureRotation: the angle between two real images from their interpolated ring
// profiles. Every ring of radius 2 px up to 0.45 of the smaller side about the centre of
// rotation is sampled at 1440 angles (bilinear interpolation, several samples averaged per
// angle on rings longer than 720 px), the cross spectra of the two profiles are summed
// with the radius as weight, and the peak of the correlation that sum describes is found
// on the 1440 angles and then refined by Newton steps on the continuous Fourier series.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "analysis/analysisMessages.h"
#include "analysis/rotationalAlignment.h"
#include "fourier/fftReal.h"

namespace tarnview {

namespace {

constexpr int angles = 1440;  // samples per ring, 0.25 degree apart
constexpr int halfAngles = angles / 2;
constexpr double innerRadius = 2;         // px; the rings inside hold too few pixels
constexpr double outerFraction = 0.45;    // of the smaller side
constexpr double subSampleSpacing = 0.5;  // px along the ring, at most
constexpr int newtonSteps = 4;

struct Ring {
    double cx, cy, radius;
};

// Bilinear interpolation at (x, y), 0 <= x <= nx - 1, 0 <= y <= ny - 1 (nx, ny >= 2): the
// cell's corner is clamped so that the last column and row use the cell before them.
double bilinear(const float* data, int64_t nx, int64_t ny, double x, double y) {
    const int64_t ix = std::min(int64_t(x), nx - 2), iy = std::min(int64_t(y), ny - 2);
    const double fx = x - double(ix), fy = y - double(iy);
    const float* p = data + iy * nx + ix;
    return (1 - fy) * ((1 - fx) * p[0] + fx * p[1]) + fy * ((1 - fx) * p[nx] + fx * p[nx + 1]);
}

// Sample directions (cos, sin) of a ring with perAngle samples per angle: sample s of
// angle i lies at D (i + (s + 0.5)/perAngle - 0.5), spread evenly over the 0.25-degree
// interval centred on angle i D (D = 2 pi/1440).
void fillDirections(int perAngle, std::vector<double>& directions) {
    const double delta = 2 * M_PI / angles;
    directions.resize(size_t(angles) * size_t(perAngle) * 2);
    double* d = directions.data();
    for (int i = 0; i < angles; i++)
        for (int s = 0; s < perAngle; s++) {
            const double theta = delta * (i + (s + 0.5) / perAngle - 0.5);
            *d++ = std::cos(theta);
            *d++ = std::sin(theta);
        }
}

// Samples per angle on a ring: enough to keep them at most subSampleSpacing apart.
int samplesPerAngle(double radius) {
    return std::max(1, int(std::ceil(radius * (2 * M_PI / angles) / subSampleSpacing)));
}

// The profile of image on ring: value i is the mean of the perAngle samples of angle i,
// at offsets (r cos, r sin) from the centre, the sense of atan2 in which rotate turns.
void sampleRing(const Image& image, const Ring& ring, const std::vector<double>& directions, int perAngle,
                float* profile) {
    const int64_t nx = image.getNx(), ny = image.getNy();
    const float* data = image.getData();
    const double* d = directions.data();
    for (int i = 0; i < angles; i++) {
        double sum = 0;
        for (int s = 0; s < perAngle; s++, d += 2) {
            const double x = ring.cx + ring.radius * d[0], y = ring.cy + ring.radius * d[1];
            sum += bilinear(data, nx, ny, std::clamp(x, 0.0, double(nx - 1)),
                            std::clamp(y, 0.0, double(ny - 1)));
        }
        profile[i] = float(sum / perAngle);
    }
}

// The largest ring radius about (cx, cy): 0.45 of the smaller side, and no ring leaves
// the grid. Below innerRadius when no ring fits.
double outerRadius(const Image& image, double cx, double cy) {
    const double nx = image.getNx(), ny = image.getNy();
    if (nx < 2 || ny < 2) return 0;
    const double edge = std::min({cx, cy, nx - 1 - cx, ny - 1 - cy});
    return std::min(outerFraction * std::min(nx, ny), edge);
}

// The radius-weighted sum over the rings of P_k conj(Q_k), k = 0 ... 720, with P and Q the
// transforms of the reference's and the other's profiles. Returns the number of rings.
int sumCrossSpectra(const Image& reference, const Image& other, double cx, double cy,
                    std::vector<std::complex<double>>& spectrum) {
    std::vector<float> p(angles + 2), q(angles + 2);
    spectrum.assign(halfAngles + 1, 0.0);
    const double outer = outerRadius(reference, cx, cy);
    std::vector<double> directions;
    int tabled = 0;  // samples per angle of the directions table
    int rings = 0;
    for (double r = innerRadius; r <= outer; r += 1, rings++) {
        const int perAngle = samplesPerAngle(r);
        if (perAngle != tabled) fillDirections(perAngle, directions);
        tabled = perAngle;
        sampleRing(reference, {cx, cy, r}, directions, perAngle, p.data());
        sampleRing(other, {cx, cy, r}, directions, perAngle, q.data());
        fftRealToComplex(-1, angles, p.data(), p.data());
        fftRealToComplex(-1, angles, q.data(), q.data());
        for (int k = 0; k <= halfAngles; k++)
            spectrum[k] += r * std::complex<double>(p[2 * k], p[2 * k + 1]) *
                           std::complex<double>(q[2 * k], -double(q[2 * k + 1]));
    }
    spectrum[0] = 0;  // the profiles' means carry no angle
    return rings;
}

// The correlation c(phi) = sum_k w_k Re(S_k e^{i k phi}) (w_k = 2, 1 for k = 720) and its
// first two derivatives. The powers of e^{i phi} come from a recurrence in double.
struct SeriesValue {
    double value = 0, slope = 0, curvature = 0;
};

SeriesValue evaluateSeries(const std::vector<std::complex<double>>& spectrum, double phi) {
    SeriesValue result;
    const std::complex<double> step = std::polar(1.0, phi);
    std::complex<double> turn = 1;
    for (int k = 0; k <= halfAngles; k++, turn *= step) {
        const double w = k == halfAngles ? 1 : 2;
        const std::complex<double> term = w * spectrum[k] * turn;
        result.value += term.real();
        result.slope -= k * term.imag();
        result.curvature -= double(k) * k * term.real();
    }
    return result;
}

// The correlation on the 1440 angles: entry j stands for the angle j D (mod 2 pi).
std::vector<float> sampledCorrelation(const std::vector<std::complex<double>>& spectrum) {
    std::vector<float> curve(angles + 2);
    for (int k = 0; k <= halfAngles; k++) {
        curve[2 * k] = float(spectrum[k].real());
        curve[2 * k + 1] = float(spectrum[k].imag());
    }
    fftComplexToReal(+1, angles, curve.data(), curve.data());
    curve.resize(angles);
    return curve;
}

// Newton steps on c'(phi) = 0 from the grid peak; a step that leaves the grid peak's
// interval or meets a non-negative curvature keeps the start.
double refinePeak(const std::vector<std::complex<double>>& spectrum, double start) {
    const double delta = 2 * M_PI / angles;
    double phi = start;
    for (int i = 0; i < newtonSteps; i++) {
        const SeriesValue v = evaluateSeries(spectrum, phi);
        if (!(v.curvature < 0)) return start;
        phi -= v.slope / v.curvature;
        if (!(std::fabs(phi - start) <= delta)) return start;
    }
    return phi;
}

double wrapAngle(double angle) {
    angle = std::remainder(angle, 2 * M_PI);
    return angle >= M_PI ? angle - 2 * M_PI : angle;
}

}  // namespace

RotationMeasure measureRotation(const Image& reference, const Image& other) {
    return measureRotation(reference, other, (reference.getNx() - 1) / 2.0, (reference.getNy() - 1) / 2.0);
}

RotationMeasure measureRotation(const Image& reference, const Image& other, double centreX, double centreY) {
    const bool sameGrid = reference.getNx() == other.getNx() && reference.getNy() == other.getNy();
    std::vector<std::complex<double>> spectrum;
    const int rings = sameGrid && std::isfinite(centreX) && std::isfinite(centreY)
                          ? sumCrossSpectra(reference, other, centreX, centreY, spectrum)
                          : 0;
    const char* reason = nullptr;
    std::vector<float> curve;
    if (rings == 0) {
        reason = sameGrid ? "no ring fits inside the image" : "images of different sizes";
    } else {
        curve = sampledCorrelation(spectrum);
        if (!std::all_of(curve.begin(), curve.end(), [](float v) { return std::isfinite(v); }))
            reason = "curve not finite";
        else if (std::all_of(curve.begin(), curve.end(), [&](float v) { return v == curve[0]; }))
            reason = "flat curve";
    }
    if (reason) {
        printNoRotationPeak(reason);
        return {0, 0, 0};
    }
    const int peak = int(std::max_element(curve.begin(), curve.end()) - curve.begin());
    const double phi = refinePeak(spectrum, peak * (2 * M_PI / angles));
    const double lowest = *std::min_element(curve.begin(), curve.end());
    const double height = std::max(evaluateSeries(spectrum, phi).value, double(curve[peak])) - lowest;
    return {float(wrapAngle(phi)), float(height), 1};
}

}  // namespace tarnview
