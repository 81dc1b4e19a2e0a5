// Writes a synthetic electron micrograph as a float MRC file (mode 2, host byte order):
// a carbon-film texture of several octaves of smooth noise, a scatter of ring-shaped
// particles with dense cores, and shot noise on top.
//
//   tarnview-make-sample <nx> <ny> <out.mrc> [seed]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: tarnview-make-sample <nx> <ny> <out.mrc> [seed]\n");
        return 1;
    }
    const int nx = std::atoi(argv[1]), ny = std::atoi(argv[2]);
    if (nx < 2 || ny < 2 || int64_t(nx) * ny > (int64_t(1) << 31) - 1) {
        std::printf("The size must be at least 2 x 2 and at most 2^31 - 1 samples.\n");
        return 1;
    }
    std::mt19937 rng(argc > 4 ? unsigned(std::atoi(argv[4])) : 2026u);
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
