// Accuracy and speed of the two rotation measurements on pairs of images made of
// Gaussian blobs (sigma 3 px) rendered analytically, the second with the blobs turned by
// a random angle in -40 ... 40 degrees about the geometric centre ((n - 1)/2, (n - 1)/2),
// the point rotate turns about. The expected result is minus that angle. Before Google
// Benchmark's table the program prints, for 128 x 128 and 256 x 256 pairs without noise
// and with Gaussian noise of the signal's variance on each image (SNR 1),
//   rms <n> <noise> (<pairs> pairs) measureRotation <deg> alignRotation <deg>
// and after it the time ratio measureRotation/alignRotation per size (CPU time).
// alignRotation prints two lines and writes "test.rcf.dat": it runs in a scratch
// directory with standard output sent to /dev/null.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "analysis/rotationalAlignment.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

constexpr double blobSigma = 3;
constexpr double maxTurn = 40;  // degrees

struct Pair {
    std::unique_ptr<Image> reference;
    std::unique_ptr<Image> other;
    double expected;  // degrees
};

// Blobs (x, y, height) in a disc of 0.4 n about the centre, 40 per 128 x 128.
std::vector<double> randomBlobs(int n, std::mt19937& generator) {
    std::uniform_real_distribution<double> unit(0, 1), height(0.5, 1.5);
    std::vector<double> blobs;
    const int count = 40 * n * n / (128 * 128);
    for (int b = 0; b < count; b++) {
        const double r = 0.4 * n * std::sqrt(unit(generator)), a = 2 * M_PI * unit(generator);
        blobs.insert(blobs.end(), {r * std::cos(a), r * std::sin(a), height(generator)});
    }
    return blobs;
}

// The blobs turned by degrees about the centre, rendered at n x n, plus noise of the given
// sigma (none when 0).
std::unique_ptr<Image> render(int n, const std::vector<double>& blobs, double degrees, double noise,
                              std::mt19937& generator) {
    auto image = std::make_unique<Image>();
    image->resize(n, n, 1);
    const double c = (n - 1) / 2.0, t = degrees * M_PI / 180, ct = std::cos(t), st = std::sin(t);
    std::normal_distribution<double> gauss(0, 1);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            double v = 0;
            for (size_t b = 0; b < blobs.size(); b += 3) {
                const double bx = c + blobs[b] * ct - blobs[b + 1] * st,
                             by = c + blobs[b] * st + blobs[b + 1] * ct;
                const double dx = x - bx, dy = y - by;
                v += blobs[b + 2] * std::exp(-(dx * dx + dy * dy) / (2 * blobSigma * blobSigma));
            }
            image->getData()[y * n + x] = float(v + (noise > 0 ? noise * gauss(generator) : 0));
        }
    image->updateStatistics();
    return image;
}

// A pair at side n; snr 0 means without noise.
Pair makePair(int n, double snr, unsigned seed) {
    std::mt19937 generator(seed);
    const std::vector<double> blobs = randomBlobs(n, generator);
    const double turn = std::uniform_real_distribution<double>(-maxTurn, maxTurn)(generator);
    Pair p;
    p.reference = render(n, blobs, 0, 0, generator);
    double noise = 0;
    if (snr > 0) {
        noise = p.reference->getSigmaDouble() / std::sqrt(snr);
        p.reference = render(n, blobs, 0, noise, generator);
    }
    p.other = render(n, blobs, turn, noise, generator);
    p.expected = -turn;
    return p;
}

double degrees(float radians) {
    return double(radians) * 180 / M_PI;
}

// Standard output goes to /dev/null while alignRotation runs.
float quietAlignRotation(const Image& reference, const Image& other) {
    std::fflush(stdout);
    const int saved = dup(1), null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    const float angle = tarnview::alignRotation(reference, &other);
    std::fflush(stdout);
    dup2(saved, 1);
    close(null);
    close(saved);
    return angle;
}

void printAccuracy(int n, double snr, int pairs) {
    double measureSum = 0, alignSum = 0;
    for (int i = 0; i < pairs; i++) {
        const Pair p = makePair(n, snr, 1000u * unsigned(n) + unsigned(i) + (snr > 0 ? 500u : 0u));
        const double m = degrees(tarnview::measureRotation(*p.reference, *p.other).angle) - p.expected;
        const double a = degrees(quietAlignRotation(*p.reference, *p.other)) - p.expected;
        measureSum += m * m;
        alignSum += a * a;
    }
    std::printf("rms %d %s (%d pairs) measureRotation %.4f alignRotation %.4f\n", n,
                snr > 0 ? "SNR-1" : "noise-free", pairs, std::sqrt(measureSum / pairs),
                std::sqrt(alignSum / pairs));
    std::fflush(stdout);
}

const Pair& timedPair(int n) {
    static const Pair small = makePair(128, 0, 1), large = makePair(256, 0, 2);
    return n == 128 ? small : large;
}

void measureRotation(benchmark::State& state) {
    const Pair& p = timedPair(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::measureRotation(*p.reference, *p.other));
}

void alignRotation(benchmark::State& state) {
    const Pair& p = timedPair(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(quietAlignRotation(*p.reference, *p.other));
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("tarnview-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch);
    printAccuracy(128, 0, 40);
    printAccuracy(256, 0, 20);
    printAccuracy(128, 1, 40);
    printAccuracy(256, 1, 20);
    benchmark::RegisterBenchmark("measureRotation", measureRotation)
        ->Arg(128)
        ->Arg(256)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("alignRotation", alignRotation)
        ->Arg(128)
        ->Arg(256)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* n : {"128", "256"})
        std::printf("ratio %s (cpu time) measureRotation/alignRotation %.2f\n", n,
                    reporter.cpuTime(std::string("measureRotation/") + n) /
                        reporter.cpuTime(std::string("alignRotation/") + n));
    benchmark::Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
    return 0;
}
