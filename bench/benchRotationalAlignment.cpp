// Rotational alignment of two 256 x 256 images and its two parts, in the same run: the
// ring sampling (both images' profiles on every ring, with the sampler's direction table
// kept and, as a peer, rebuilt for every profile by ringProfile) and the transforms (two
// forward real transforms of 1440, the conjugate product and the inverse, per ring).
// alignRotation prints two lines and writes "test.rcf.dat": it runs in a scratch
// directory with standard output sent to /dev/null. After Google Benchmark's table the
// program prints, from the medians (or the single runs without repetitions),
//   parts alignRotation-256 (<clock> time) whole <ms>: ring sampling <ms> (<M samples/s>), ...
//   ratio (<clock> time) sampling/whole <r> transforms/whole <r> tabled/untabled sampling <r>
// for real and for CPU time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MedianReporter.h"
#include "analysis/RingSampler.h"
#include "analysis/rotation.h"
#include "analysis/rotationalAlignment.h"
#include "fourier/fftReal.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

constexpr int side = 256;
constexpr int bins = 1440;

// Smooth random blobs on a plateau, and the same turned by 10 degrees.
struct Pair {
    std::unique_ptr<Image> reference;
    std::unique_ptr<Image> other;
};

const Pair& images() {
    static Pair pair = [] {
        Pair p;
        p.reference = std::make_unique<Image>();
        p.reference->resize(side, side, 1);
        std::mt19937 generator{7};
        std::uniform_real_distribution<double> where(-80, 80), size(4, 12), height(1, 5);
        std::vector<double> blobs;
        for (int b = 0; b < 12; b++)
            blobs.insert(blobs.end(),
                         {where(generator), where(generator), size(generator), height(generator)});
        for (int y = 0; y < side; y++)
            for (int x = 0; x < side; x++) {
                double v = 10;
                for (size_t b = 0; b < blobs.size(); b += 4) {
                    const double dx = x - side / 2 - blobs[b], dy = y - side / 2 - blobs[b + 1];
                    v += blobs[b + 3] * std::exp(-(dx * dx + dy * dy) / (2 * blobs[b + 2] * blobs[b + 2]));
                }
                p.reference->getData()[y * side + x] = float(v);
            }
        p.reference->updateStatistics();
        p.other.reset(tarnview::rotate(*p.reference, 10));
        return p;
    }();
    return pair;
}

// The ring radii alignRotation uses for a reference of this width.
std::vector<int> radii() {
    std::vector<int> r;
    for (int radius = 12; radius < side / 2 - 10; radius += 6) r.push_back(radius);
    return r;
}

// Sample positions visited by one profile of radius r: m + 1 angles per bin, five radii.
double samplesPerProfile(int r) {
    int m = int(2 * std::ceil(2 * M_PI * r / bins));
    if (m == 0) m = 2;
    return double(bins) * (m + 1) * 5;
}

void ringSampling(benchmark::State& state, bool keepTable) {
    const Pair& p = images();
    std::vector<float> a(2 * bins + 2), b(2 * bins + 2);
    tarnview::RingSampler sampler;
    double samples = 0;
    for (int r : radii()) samples += 2 * samplesPerProfile(r);
    for (auto _ : state) {
        for (int r : radii()) {
            if (keepTable) {
                sampler.profile(*p.reference, a.data(), bins, r);
                sampler.profile(*p.other, b.data(), bins, r);
            } else {
                tarnview::ringProfile(*p.reference, a.data(), bins, r);
                tarnview::ringProfile(*p.other, b.data(), bins, r);
            }
            benchmark::DoNotOptimize(a.data());
            benchmark::DoNotOptimize(b.data());
        }
    }
    state.counters["samples"] = benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
}

void tabledSampling(benchmark::State& state) {
    ringSampling(state, true);
}
void untabledSampling(benchmark::State& state) {
    ringSampling(state, false);
}

void transforms(benchmark::State& state) {
    const Pair& p = images();
    std::vector<float> a(2 * bins + 2), b(2 * bins + 2), pa(bins + 2), pb(bins + 2);
    tarnview::ringProfile(*p.reference, a.data(), bins, 60);
    tarnview::ringProfile(*p.other, b.data(), bins, 60);
    const size_t rings = radii().size();
    for (auto _ : state) {
        for (size_t ring = 0; ring < rings; ring++) {
            std::copy(a.begin() + bins, a.begin() + 2 * bins, pa.begin());
            std::copy(b.begin() + bins, b.begin() + 2 * bins, pb.begin());
            tarnview::fftRealToComplex(-1, bins, pa.data(), pa.data());
            tarnview::fftRealToComplex(-1, bins, pb.data(), pb.data());
            for (int k = 0; k <= bins / 2; k++) {
                const float pr = pa[2 * k], pi = pa[2 * k + 1], qr = pb[2 * k], qi = pb[2 * k + 1];
                pa[2 * k] = pr * qr + pi * qi;
                pa[2 * k + 1] = qr * pi - pr * qi;
            }
            tarnview::fftComplexToReal(+1, bins, pa.data(), pa.data());
            benchmark::DoNotOptimize(pa.data());
        }
    }
}

void measureRotation(benchmark::State& state) {
    const Pair& p = images();
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::measureRotation(*p.reference, *p.other));
}

// Standard output goes to /dev/null while alignRotation runs.
void alignRotation(benchmark::State& state) {
    const Pair& p = images();
    std::fflush(stdout);
    const int saved = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    for (auto _ : state) benchmark::DoNotOptimize(tarnview::alignRotation(*p.reference, p.other.get()));
    std::fflush(stdout);
    dup2(saved, 1);
    close(null);
    close(saved);
}

// The median real or CPU time of a benchmark, in milliseconds.
double median(const MedianReporter& reporter, const std::string& name, bool cpu) {
    const std::string run = name + "/real_time";
    return cpu ? reporter.cpuTime(run) : reporter.realTime(run);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("tarnview-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch);
    images();
    const std::pair<const char*, void (*)(benchmark::State&)> cases[] = {
        {"alignRotation", alignRotation},   {"measureRotation", measureRotation},
        {"tabledSampling", tabledSampling}, {"untabledSampling", untabledSampling},
        {"transforms", transforms},
    };
    for (auto [name, function] : cases)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double samples = 0;
    for (int r : radii()) samples += 2 * samplesPerProfile(r);
    // On a loaded machine the CPU times are the steadier figures: both are printed.
    for (bool cpu : {false, true}) {
        const char* clock = cpu ? "cpu" : "real";
        const double whole = median(reporter, "alignRotation", cpu),
                     sampling = median(reporter, "tabledSampling", cpu);
        const double fft = median(reporter, "transforms", cpu),
                     untabled = median(reporter, "untabledSampling", cpu);
        std::printf(
            "parts alignRotation-%d (%s time) whole %.3f ms: ring sampling %.3f ms (%.1f M samples/s), "
            "transforms %.3f ms, measureRotation %.3f ms\n",
            side, clock, whole, sampling, samples / sampling / 1e3, fft,
            median(reporter, "measureRotation", cpu));
        std::printf(
            "ratio (%s time) sampling/whole %.2f transforms/whole %.2f tabled/untabled sampling %.2f\n",
            clock, sampling / whole, fft / whole, sampling / untabled);
    }
    benchmark::Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
    return 0;
}
