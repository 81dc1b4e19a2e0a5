// Image Fourier transform of square real images against FFTW's single-precision 2-D
// real-to-complex plans of the same size (FFTW_MEASURE and FFTW_ESTIMATE, one thread,
// planning excluded), all in the same run. The transform itself (rows, then columns, into
// a buffer allocated once) is what is compared; the amplitude/phase conversion (against
// plain library hypot and atan2 calls), the statistics of the result and the whole
// fft(image, 0) are timed separately. After Google Benchmark's table the program prints
//   ratio r2c-<side> <ours/FFTW_MEASURE> <ours/FFTW_ESTIMATE>
//   parts fft0-<side> ... (milliseconds)
// from the medians (or the single runs without repetitions).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "MedianReporter.h"
#include "fourier/amplitudePhase.h"
#include "fourier/fftEngine.h"
#include "fourier/fftReal.h"
#include "fourier/imageFourier.h"
#include "image/Image.h"

namespace {

using tarnview::Image;

// 2184 is the padded side of a 2048 x 2048 micrograph under the converter's -fft option.
const int sides[] = {1008, 2184, 2520, 5040};

std::unique_ptr<Image> randomImage(int side) {
    auto image = std::make_unique<Image>();
    image->resize(side, side, 1);
    std::mt19937 generator{unsigned(side)};
    std::normal_distribution<float> noise(100.0f, 20.0f);
    float* data = image->getData();
    for (int64_t i = 0; i < int64_t(side) * side; i++) data[i] = noise(generator);
    image->updateStatistics();
    return image;
}

void oursTransform(benchmark::State& state) {
    const int side = int(state.range(0));
    auto source = randomImage(side);
    Image result;
    result.resize(side + 2, side, 1);
    for (auto _ : state) {
        tarnview::fftRealToComplex2d(1, 1, side, side, source->getData(), result.getData());
        tarnview::fftComplex2d(1, 2, side / 2 + 1, side, result.getData());
        benchmark::DoNotOptimize(result.getData());
    }
}

// FFTW plans live for the whole run: FFTW_MEASURE planning of the large sizes takes long.
struct FftwCase {
    float* in = nullptr;
    fftwf_complex* out = nullptr;
    fftwf_plan plan = nullptr;
};

FftwCase& fftwCase(int side, unsigned flags) {
    static std::map<std::pair<int, unsigned>, FftwCase> cases;
    FftwCase& c = cases[{side, flags}];
    if (!c.plan) {
        c.in = fftwf_alloc_real(size_t(side) * side);
        c.out = fftwf_alloc_complex(size_t(side) * (side / 2 + 1));
        c.plan = fftwf_plan_dft_r2c_2d(side, side, c.in, c.out, flags);
        auto image = randomImage(side);
        std::copy(image->getData(), image->getData() + int64_t(side) * side, c.in);
    }
    return c;
}

void fftw(benchmark::State& state, unsigned flags) {
    FftwCase& c = fftwCase(int(state.range(0)), flags);
    for (auto _ : state) {
        fftwf_execute(c.plan);
        benchmark::DoNotOptimize(c.out);
    }
}
void fftwMeasure(benchmark::State& state) {
    fftw(state, FFTW_MEASURE);
}
void fftwEstimate(benchmark::State& state) {
    fftw(state, FFTW_ESTIMATE);
}

// The conversion runs again and again on the same buffer; the values stay finite.
std::unique_ptr<Image> transformed(int side) {
    auto image = randomImage(side);
    return std::unique_ptr<Image>(tarnview::fft(*image, 1));
}

void amplitudePhase(benchmark::State& state) {
    const int side = int(state.range(0));
    auto fourier = transformed(side);
    for (auto _ : state) {
        tarnview::toAmplitudePhase(fourier->getData(), int64_t(side / 2 + 1) * side, side);
        benchmark::DoNotOptimize(fourier->getData());
    }
}

void libraryAmplitudePhase(benchmark::State& state) {
    const int side = int(state.range(0));
    auto fourier = transformed(side);
    for (auto _ : state) {
        float* p = fourier->getData();
        for (int64_t i = 0; i < int64_t(side / 2 + 1) * side; i++) {
            double re = p[2 * i], im = p[2 * i + 1];
            p[2 * i] = float(std::hypot(re, im) / side);
            p[2 * i + 1] = float(std::atan2(im, re));
        }
        benchmark::DoNotOptimize(p);
    }
}

void statistics(benchmark::State& state) {
    auto fourier = transformed(int(state.range(0)));
    for (auto _ : state) fourier->updateStatistics();
}

void wholeFft(benchmark::State& state) {
    auto image = randomImage(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<Image> result(tarnview::fft(*image, 0));
        benchmark::DoNotOptimize(result.get());
    }
}

// The median real time of a case at a side, in milliseconds (NaN when it did not run).
double medianAt(const MedianReporter& reporter, const std::string& name, int side) {
    return reporter.realTime(name + "/" + std::to_string(side) + "/real_time");
}

void registerAll() {
    const std::pair<const char*, void (*)(benchmark::State&)> cases[] = {
        {"oursTransform", oursTransform},
        {"fftwMeasure", fftwMeasure},
        {"fftwEstimate", fftwEstimate},
        {"amplitudePhase", amplitudePhase},
        {"libraryAmplitudePhase", libraryAmplitudePhase},
        {"statistics", statistics},
        {"wholeFft", wholeFft},
    };
    for (auto [name, function] : cases)
        for (int side : sides)
            benchmark::RegisterBenchmark(name, function)
                ->Arg(side)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int side : sides) {
        double ours = medianAt(reporter, "oursTransform", side);
        if (std::isnan(ours)) continue;
        std::printf("ratio r2c-%d %.2f %.2f\n", side, ours / medianAt(reporter, "fftwMeasure", side),
                    ours / medianAt(reporter, "fftwEstimate", side));
    }
    for (int side : sides) {
        double whole = medianAt(reporter, "wholeFft", side);
        if (std::isnan(whole)) continue;
        std::printf(
            "parts fft0-%d whole %.1f ms: transform %.1f, amplitude/phase %.1f (library hypot/atan2 %.1f), "
            "statistics %.1f\n",
            side, whole, medianAt(reporter, "oursTransform", side),
            medianAt(reporter, "amplitudePhase", side), medianAt(reporter, "libraryAmplitudePhase", side),
            medianAt(reporter, "statistics", side));
    }
    benchmark::Shutdown();
    return 0;
}
