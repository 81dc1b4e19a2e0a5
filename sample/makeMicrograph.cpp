// Writes a synthetic electron micrograph as a float MRC file (mode 2, host byte order):
// a carbon-film texture of several octaves of smooth noise, a scatter of ring-shaped
// particles with dense cores, and shot noise on top.
//
//   tarnview-make-sample [-ctf] <nx> <ny> <out.mrc> [seed]
//
// With -ctf the specimen (film, particles and a fine amorphous-carbon grain) is imaged
// through the contrast transfer function of a 300 kV microscope at 1 A per pixel, about
// 1.5 um underfocus with 0.08 um of astigmatism, before the shot noise is added: its
// power spectrum shows Thon rings.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "fourier/fftSizes.h"
#include "fourier/imageFourier.h"
#include "image/Image.h"

namespace {

// The microscope of -ctf, lengths in angstroms.
constexpr double pi = 3.14159265358979323846;
constexpr double wavelength = 0.019687;        // 300 kV: 12.2643 / sqrt(V (1 + 0.978466e-6 V))
constexpr double meanDefocus = 15000;          // underfocus, 1.5 um
constexpr double astigmatism = 800;            // defocus difference of the two axes, 0.08 um
constexpr double astigmatismAngle = 0.5;       // direction of the larger defocus, radians
constexpr double sphericalAberration = 2.7e7;  // 2.7 mm
constexpr double amplitudeContrast = 0.07;
constexpr double envelopeB = 50;  // B-factor of the envelope exp(-B k^2 / 4), A^2
constexpr double ctfGain = 2;     // image contrast per unit of specimen density

// The contrast transfer at spatial frequency (kx, ky) in 1/A, envelope included.
double contrastTransfer(double kx, double ky) {
    const double k2 = kx * kx + ky * ky;
    const double defocus =
        meanDefocus + astigmatism / 2 * std::cos(2 * (std::atan2(ky, kx) - astigmatismAngle));
    const double chi =
        pi * wavelength * defocus * k2 - pi / 2 * sphericalAberration * std::pow(wavelength, 3) * k2 * k2;
    const double phase = std::sqrt(1 - amplitudeContrast * amplitudeContrast) * std::sin(chi) +
                         amplitudeContrast * std::cos(chi);
    return -phase * std::exp(-envelopeB * k2 / 4);
}

// The smallest side at least n that the image transforms accept (even when asked), or
// -1 when there is none.
int transformSide(int n, bool even) {
    for (int t = n; t <= tarnview::fftLargestSize; t++)
        if (tarnview::isFftSize(t) && (!even || t % 2 == 0)) return t;
    return -1;
}

// Images the field (its mean removed) through the contrast transfer function, in place:
// the field's Fourier coefficients are multiplied by it and transformed back. The field
// is periodic in its own size w x h, which the transforms accept.
bool imageThroughCtf(std::vector<float>& field, int w, int h) {
    tarnview::Image specimen;
    if (!specimen.resize(w, h, 1)) return false;
    double sum = 0;
    for (float v : field) sum += v;
    const float mean = float(sum / double(field.size()));
    for (size_t i = 0; i < field.size(); i++) specimen.getData()[i] = field[i] - mean;
    std::unique_ptr<tarnview::Image> spectrum(tarnview::fft(specimen, 1));
    if (!spectrum) return false;
    const int width = w + 2;
    for (int r = 0; r < h; r++)
        for (int u = 0; u <= w / 2; u++) {
            float* pair = spectrum->getData() + int64_t(r) * width + 2 * u;
            const double transfer = contrastTransfer(double(u) / w, double(r - h / 2) / h);
            pair[0] = float(pair[0] * transfer);
            pair[1] = float(pair[1] * transfer);
        }
    std::unique_ptr<tarnview::Image> imaged(tarnview::ift(*spectrum, 1));
    if (!imaged) return false;
    const double scale = ctfGain / (double(w) * h);
    for (size_t i = 0; i < field.size(); i++) field[i] = float(mean + scale * imaged->getData()[i]);
    return true;
}

// Adds white Gaussian noise: the fine grain of amorphous carbon, which gives the rings
// power at every frequency.
void addGrain(std::vector<float>& field, float sigma, std::mt19937& rng) {
    std::normal_distribution<float> grain(0.0f, sigma);
    for (float& v : field) v += grain(rng);
}

// Smooth noise: random values on a grid of the given spacing, interpolated with a
// smoothstep in both directions, added into field with the given amplitude.
void addSmoothNoise(std::vector<float>& field, int nx, int ny, int spacing, float amplitude,
                    std::mt19937& rng) {
    const int gx = nx / spacing + 2, gy = ny / spacing + 2;
    std::normal_distribution<float> normal(0.0f, 1.0f);
    std::vector<float> grid(size_t(gx) * gy);
    for (float& g : grid) g = normal(rng);
    for (int y = 0; y < ny; y++) {
        const int j = y / spacing;
        float fy = float(y % spacing) / float(spacing);
        fy = fy * fy * (3 - 2 * fy);
        for (int x = 0; x < nx; x++) {
            const int i = x / spacing;
            float fx = float(x % spacing) / float(spacing);
            fx = fx * fx * (3 - 2 * fx);
            const float* row0 = &grid[size_t(j) * gx + i];
            const float* row1 = row0 + gx;
            const float top = row0[0] + (row0[1] - row0[0]) * fx;
            const float bottom = row1[0] + (row1[1] - row1[0]) * fx;
            field[size_t(y) * nx + x] += amplitude * (top + (bottom - top) * fy);
        }
    }
}

// A particle: a protein shell of radius r with a few dense blobs inside, darkening the
// image where it projects.
void addParticle(std::vector<float>& field, int nx, int ny, float cx, float cy, float r, std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    struct Blob {
        float x, y, r;
    };
    std::vector<Blob> blobs;
    for (int k = 0; k < 5; k++) {
        const float a = 6.2831853f * unit(rng), d = 0.5f * r * unit(rng);
        blobs.push_back({cx + d * std::cos(a), cy + d * std::sin(a), r * (0.12f + 0.15f * unit(rng))});
    }
    const int x0 = std::max(0, int(cx - r - 2)), x1 = std::min(nx - 1, int(cx + r + 2));
    const int y0 = std::max(0, int(cy - r - 2)), y1 = std::min(ny - 1, int(cy + r + 2));
    const float shell = 0.12f * r;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            const float dx = float(x) - cx, dy = float(y) - cy, d = std::sqrt(dx * dx + dy * dy);
            float density = 0;
            if (d < r) {
                // Projected thickness of a spherical shell: the chord through it.
                const float outer = std::sqrt(r * r - d * d);
                const float ri = r - shell;
                const float inner = d < ri ? std::sqrt(ri * ri - d * d) : 0.0f;
                density += 0.35f * (outer - inner);
            }
            for (const Blob& b : blobs) {
                const float bx = float(x) - b.x, by = float(y) - b.y, e = bx * bx + by * by;
                if (e < b.r * b.r) density += 0.5f * std::sqrt(b.r * b.r - e);
            }
            field[size_t(y) * nx + x] -= density;
        }
}

// The specimen: carbon film and particles, drawn over w x h.
std::vector<float> specimen(int nx, int ny, std::mt19937& rng) {
    std::vector<float> field(size_t(nx) * ny, 100.0f);

    // Carbon film: coarse to fine octaves of smooth noise.
    float amplitude = 6.0f;
    for (int spacing = 256; spacing >= 2; spacing /= 2, amplitude *= 0.7f)
        if (spacing < nx && spacing < ny) addSmoothNoise(field, nx, ny, spacing, amplitude, rng);

    // Particles of 20 to 60 pixels radius (scaled down for small images).
    const float scale = std::min(nx, ny) / 2048.0f;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const int particles = std::max(3, int(60 * scale * scale * 4 / 4));
    for (int k = 0; k < particles; k++) {
        const float r = std::max(4.0f, (20.0f + 40.0f * unit(rng)) * std::max(scale, 0.25f));
        addParticle(field, nx, ny, unit(rng) * float(nx), unit(rng) * float(ny), r, rng);
    }
    return field;
}

// The centred nx x ny part of a w x h field: the seam where the periodic imaging wraps
// stays outside it.
std::vector<float> cropped(const std::vector<float>& field, int w, int h, int nx, int ny) {
    std::vector<float> out(size_t(nx) * ny);
    const int x0 = (w - nx) / 2, y0 = (h - ny) / 2;
    for (int y = 0; y < ny; y++)
        std::copy_n(field.begin() + (int64_t(y) + y0) * w + x0, nx, out.begin() + int64_t(y) * nx);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool ctf = argc > 1 && std::strcmp(argv[1], "-ctf") == 0;
    if (ctf) {
        argc--;
        argv++;
    }
    if (argc < 4) {
        std::printf("usage: tarnview-make-sample [-ctf] <nx> <ny> <out.mrc> [seed]\n");
        return 1;
    }
    const int nx = std::atoi(argv[1]), ny = std::atoi(argv[2]);
    if (nx < 2 || ny < 2 || int64_t(nx) * ny > (int64_t(1) << 31) - 1) {
        std::printf("The size must be at least 2 x 2 and at most 2^31 - 1 samples.\n");
        return 1;
    }
    std::mt19937 rng(argc > 4 ? unsigned(std::atoi(argv[4])) : 2026u);
    std::vector<float> field;
    if (ctf) {
        // Drawn and imaged over the transform size, then cut to the size asked for.
        const int w = transformSide(nx, true), h = transformSide(ny, false);
        if (w < 0 || h < 0 || int64_t(w) * h > (int64_t(1) << 31) - 1) {
            std::printf("The size is too large for -ctf.\n");
            return 1;
        }
        field = specimen(w, h, rng);
        addGrain(field, 3.0f, rng);
        if (!imageThroughCtf(field, w, h)) {
            std::printf("Not enough memory to image the specimen.\n");
            return 1;
        }
        field = cropped(field, w, h, nx, ny);
    } else {
        field = specimen(nx, ny, rng);
    }

    // Shot noise.
    std::normal_distribution<float> shot(0.0f, 4.0f);
    for (float& v : field) v += shot(rng);

    // Header: 256 words in host order, mode 2, cell = size, axes 1 2 3, statistics.
    int32_t header[256] = {};
    float mn = field[0], mx = field[0];
    double sum = 0;
    for (float v : field) {
        mn = std::min(mn, v);
        mx = std::max(mx, v);
        sum += v;
    }
    const float mean = float(sum / double(field.size()));
    auto setFloat = [&](int word, float v) { std::memcpy(&header[word], &v, 4); };
    header[0] = nx;
    header[1] = ny;
    header[2] = 1;
    header[3] = 2;
    header[7] = nx;
    header[8] = ny;
    header[9] = 1;
    setFloat(10, float(nx));
    setFloat(11, float(ny));
    setFloat(12, 1.0f);
    setFloat(13, 90.0f);
    setFloat(14, 90.0f);
    setFloat(15, 90.0f);
    header[16] = 1;
    header[17] = 2;
    header[18] = 3;
    setFloat(19, mn);
    setFloat(20, mx);
    setFloat(21, mean);
    header[55] = 1;
    std::snprintf(reinterpret_cast<char*>(&header[56]), 80, "synthetic micrograph %d x %d", nx, ny);

    FILE* out = std::fopen(argv[3], "wb");
    if (out == nullptr) {
        std::printf("Cannot open %s for writing.\n", argv[3]);
        return 1;
    }
    bool ok = std::fwrite(header, sizeof header, 1, out) == 1 &&
              std::fwrite(field.data(), sizeof(float), field.size(), out) == field.size();
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        std::printf("Error writing %s.\n", argv[3]);
        return 1;
    }
    return 0;
}
